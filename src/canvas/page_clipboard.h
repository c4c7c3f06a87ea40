#pragma once
// The page on the clipboard: as the bitmap shown, or as a metafile drawn from the files.

class QImage;

namespace nikra {

class PageHost;

void copyPageBitmap(const QImage &page);
// The page, or the part of it the selection box covers, drawn once more on the metafile
// surface; nothing is put on the clipboard when it could not be drawn.
void copyPageMetafile(PageHost &host);

} // namespace nikra
