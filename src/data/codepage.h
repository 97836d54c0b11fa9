#pragma once
// Texts written by older programs of the business: Windows code page 1254 (Turkish).

#include <QByteArray>
#include <QString>

namespace lumkar {

QString fromWindows1254(const QByteArray &bytes);
// UTF-8 when the bytes are valid UTF-8, otherwise code page 1254.
QString decodeLocalText(const QByteArray &bytes);

} // namespace lumkar
