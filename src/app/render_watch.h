#pragma once
// "nikra render --watch": the page written, then written again after every change of the
// files it is read from, until Ctrl-C or SIGTERM.

namespace nikra {

struct RenderOptions;

// Exit status: 1 when the first page could not be written, else 0 once stopped.
int watchRender(const RenderOptions &options);

} // namespace nikra
