#include "tools/conversion.h"

namespace nikra {
} // namespace nikra
