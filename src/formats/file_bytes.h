#pragma once
// A user's file read whole, as bytes.

#include <QByteArray>
#include <QString>

#include <optional>

namespace nikra {

// Nothing when the file cannot be opened or not every byte could be read.
std::optional<QByteArray> readWholeFile(const QString &path);

} // namespace nikra
