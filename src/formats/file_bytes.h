#pragma once
// A user's file read whole, as bytes.

#include <QByteArray>
#include <QString>

#include <optional>

namespace nikra {

// Nothing when the file cannot be opened or not every byte could be read.
std::optional<QByteArray> readWholeFile(const QString &path);

// Replaces the file with these bytes in one step (a temporary file renamed over it): false,
// with the old file whole, when any of it could not be written.
bool writeWholeFile(const QString &path, QByteArrayView bytes);

} // namespace nikra
