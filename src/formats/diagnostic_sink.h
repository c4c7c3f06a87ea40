#pragma once

#include "messages.h"

#include <functional>

namespace nikra {

// Where a reader sends the problems it finds, in the order it finds them. The plot pass
// shows them (canvas) or drops them (printer, metafile); tests collect them.
using DiagnosticSink = std::function<void(const Diagnostic &)>;

} // namespace nikra
