#pragma once
// The text of a rich-text (RTF) document: paragraphs, tabs and every letter, without the
// formatting. Enough to show help topics written with a word processor.

#include <QByteArray>
#include <QString>

namespace lumkar {

bool isRtf(const QByteArray &bytes);
QString rtfToPlainText(const QByteArray &bytes);

} // namespace lumkar
