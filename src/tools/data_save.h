#pragma once
// (to be written)

namespace nikra {
} // namespace nikra
