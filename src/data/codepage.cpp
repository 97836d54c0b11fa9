#include "data/codepage.h"

#include <QStringDecoder>
#include <optional>

namespace lumkar {

QString fromWindows1254(const QByteArray &bytes)
{
    // 0x80..0x9F; unassigned places read as the replacement character.
    static constexpr char16_t kHigh[32] = {
        u'€', 0xFFFD, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š', u'‹', u'Œ', 0xFFFD,
        0xFFFD, 0xFFFD, 0xFFFD, u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'˜', u'™', u'š', u'›',
        u'œ', 0xFFFD, 0xFFFD, u'Ÿ'};
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t c;
        switch (b) {
        case 0xD0: c = u'Ğ'; break;
        case 0xDD: c = u'İ'; break;
        case 0xDE: c = u'Ş'; break;
        case 0xF0: c = u'ğ'; break;
        case 0xFD: c = u'ı'; break;
        case 0xFE: c = u'ş'; break;
        default: c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b); break;
        }
        out.append(QChar(c));
    }
    return out;
}

QString decodeLocalText(const QByteArray &bytes)
{
    if (const std::optional<QStringConverter::Encoding> marked =
            QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked); // drops the byte-order mark
        return decoder.decode(bytes);
    }
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray line = bytes.sliced(start, end - start);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(line);
        text += utf8.hasError() ? fromWindows1254(line) : decoded;
        start = end;
    }
    return text;
}

} // namespace lumkar
