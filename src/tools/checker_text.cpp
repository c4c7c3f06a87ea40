#include "tools/checker_text.h"

namespace nikra {
} // namespace nikra
