#pragma once
// Printing from the canvas window into a PDF file instead of a printer.

#include "canvas/canvas_window.h"

#include <QPrinter>

#include <memory>

namespace nikra::test {

// The canvas window's next prints go to `pdf`, an A4 page at the printer's high resolution.
inline void printTo(CanvasWindow &canvas, const QString &pdf)
{
    canvas.setPrinterFactory([pdf] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
        return printer;
    });
}

} // namespace nikra::test
