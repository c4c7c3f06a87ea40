#pragma once

#include <QColor>

namespace nikra {

// The PCL colour table: 16 colours, white for any other value.
QColor pclColour(int PCL);

} // namespace nikra
