#include "canvas/page_clipboard.h"

#include "canvas/page_host.h"
#include "platform/busy_cursor.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace nikra {

void copyPageBitmap(const QImage &page)
{
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setImage(page);
}

void copyPageMetafile(PageHost &host)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool written = false;
    {
        BusyCursor busy;
        SlotSet slots = host.slots();
        PageJob job{slots, host.view(), host.messenger(), host.header(), host.screenDpi()};
        written = writeMetafile(job, host.selection().metaSelection(), &buffer);
    }
    if (written) {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/svg+xml"), buffer.data());
        QGuiApplication::clipboard()->setMimeData(data);
    }
}

} // namespace nikra
