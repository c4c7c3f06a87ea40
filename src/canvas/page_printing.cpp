#include "canvas/page_printing.h"

#include "canvas/page_host.h"
#include "platform/busy_cursor.h"

#include <QPrinter>

namespace nikra {

QString printPageFromFiles(PageHost &host, QPrinter &printer)
{
    printer.setFullPage(true);
    BusyCursor busy;
    SlotSet slots = host.slots();
    PageJob job{slots, host.view(), host.messenger(), host.header(), host.screenDpi()};
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const PageFile page = writePdfPage(job, printer.outputFileName());
        return page.written ? QString() : messageText(Msg::PageNotWritten, {printer.outputFileName(), page.failure});
    }
    return printPage(job, printer) ? QString() : messageText(Msg::PrintFailed);
}

} // namespace nikra
