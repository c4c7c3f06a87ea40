#include "tools/data_save.h"

namespace nikra {
} // namespace nikra
