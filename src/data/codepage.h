#pragma once
// Texts written by older programs of the business: Windows code page 1254 (Turkish).

#include <QByteArray>
#include <QString>

namespace lumkar {

QString fromWindows1254(const QByteArray &bytes);
// A text file's bytes as text. A byte-order mark names the encoding (UTF-8, UTF-16 or UTF-32,
// either byte order) and is dropped. Without one, each line is read by itself: UTF-8 when it
// is valid UTF-8, otherwise code page 1254, so one older line in a UTF-8 file keeps its
// letters and does not spoil the others.
QString decodeLocalText(const QByteArray &bytes);

} // namespace lumkar
