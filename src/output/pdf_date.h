#pragma once
// The date a PDF page carries. The same files must give the same bytes on every run, so
// the creation date is not the moment of writing but a date of what is drawn:
// SOURCE_DATE_EPOCH when it is set (the reproducible-builds convention, seconds since
// 1970), else the newest modification time of the slot files drawn. Always in UTC, so the
// page does not change with the machine's time zone either.

#include "formats/slot_set.h"

#include <QByteArray>
#include <QDateTime>

namespace nikra {

// The page's date in UTC, whole seconds; the present moment when no file of the slots
// exists and SOURCE_DATE_EPOCH is not a whole number of seconds.
QDateTime pageDate(const SlotSet &slots);

} // namespace nikra
