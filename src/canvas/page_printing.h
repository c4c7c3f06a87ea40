#pragma once
// Printing the page: drawn from the files once more, on the printer's own surface.

#include <QString>

class QPrinter;

namespace nikra {

class PageHost;

// The page printed on `printer`, or written into the PDF file it is set to (whole or not at
// all, as the save command writes one). Empty when printed, else the message that says why
// not, for the caller to show once the busy pointer is gone.
QString printPageFromFiles(PageHost &host, QPrinter &printer);

} // namespace nikra
