#pragma once
// The date a PDF page carries. The same files must give the same bytes on every run, so
// the creation date is not the moment of writing but a date of what is drawn:
// SOURCE_DATE_EPOCH when it is set (the reproducible-builds convention, seconds since
// 1970), else the newest modification time of the slot files drawn. Always in UTC, so the
// page does not change with the machine's time zone either.

#include "formats/slot_set.h"
#include "output/pdf_edit.h"

#include <QByteArray>
#include <QDateTime>

namespace nikra {

// The page's date in UTC, whole seconds; the present moment when no file of the slots
// exists and SOURCE_DATE_EPOCH is not a whole number of seconds.
QDateTime pageDate(const SlotSet &slots);

// The change that dates a finished PDF `when` in UTC ("D:YYYYMMDDHHmmSSZ"); nothing when
// the document has no /CreationDate.
std::optional<PdfChange> creationDateChange(const QByteArray &pdf, const QDateTime &when);

// Rewrites the /CreationDate of a finished PDF as `when` in UTC ("D:YYYYMMDDHHmmSSZ") and
// moves the cross-reference offsets behind it by the change in length. False, with the
// bytes untouched, when the document has no such date or no cross-reference table of the
// expected form.
bool stampCreationDate(QByteArray &pdf, const QDateTime &when);

} // namespace nikra
