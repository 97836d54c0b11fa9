#include "kit/rtftext.h"

#include "data/codepage.h"

#include <QHash>
#include <QVector>

namespace lumkar {

bool isRtf(const QByteArray &bytes)
{
    return bytes.trimmed().startsWith("{\\rtf");
}

QString rtfToPlainText(const QByteArray &bytes)
{
    // Groups whose text is not part of the document.
    static const QByteArrayList kHidden = {"fonttbl", "colortbl", "stylesheet", "info",
                                           "pict", "header", "footer", "listtable",
                                           "listoverridetable", "rsidtbl", "generator",
                                           "themedata", "colorschememapping", "latentstyles",
                                           "datastore", "xmlnstbl", "object"};
    // Control words that stand for one character.
    static const QHash<QByteArray, QString> kSymbols = {
        {"emdash", QStringLiteral("—")},    {"endash", QStringLiteral("–")},
        {"bullet", QStringLiteral("•")},    {"lquote", QStringLiteral("‘")},
        {"rquote", QStringLiteral("’")},    {"ldblquote", QStringLiteral("“")},
        {"rdblquote", QStringLiteral("”")}, {"tab", QStringLiteral("\t")},
        {"par", QStringLiteral("\n")},     {"line", QStringLiteral("\n")}};
    struct Group {
        bool hidden = false;
        int skipAfterUnicode = 1;
    };
    QVector<Group> groups{Group{}};
    QString out;
    QByteArray pending; // code-page bytes waiting to be decoded together
    auto flush = [&] {
        if (!pending.isEmpty()) {
            out += fromWindows1254(pending);
            pending.clear();
        }
    };
    auto emitText = [&](const QString &text) {
        if (!groups.last().hidden) {
            flush();
            out += text;
        }
    };
    int skip = 0; // characters to skip after a \u
    // One character of the text, in the code page (unless it stands in for a \u).
    auto takeByte = [&](char byte) {
        if (skip > 0)
            --skip;
        else if (!groups.last().hidden)
            pending.append(byte);
    };
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '{') {
            groups.append(groups.last());
            continue;
        }
        if (c == '}') {
            if (groups.size() > 1)
                groups.removeLast();
            skip = 0;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            takeByte(c);
            continue;
        }
        // A control symbol or a control word.
        if (i + 1 >= n)
            break;
        const char next = bytes[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            ++i;
            takeByte(next);
            continue;
        }
        if (next == '\'') {
            const bool ok = i + 3 < n;
            const int value = ok ? bytes.mid(i + 2, 2).toInt(nullptr, 16) : 0;
            i += ok ? 3 : 1;
            takeByte(char(value));
            continue;
        }
        if (next == '*') {
            groups.last().hidden = true;
            ++i;
            continue;
        }
        if (next == '~') {
            emitText(QStringLiteral("\u00A0"));
            ++i;
            continue;
        }
        if (next == '-' || next == '_') {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && ((bytes[j] >= 'a' && bytes[j] <= 'z') || (bytes[j] >= 'A' && bytes[j] <= 'Z')))
            ++j;
        const QByteArray word = bytes.mid(i + 1, j - i - 1);
        qsizetype k = j;
        if (k < n && (bytes[k] == '-' || (bytes[k] >= '0' && bytes[k] <= '9'))) {
            ++k;
            while (k < n && bytes[k] >= '0' && bytes[k] <= '9')
                ++k;
        }
        const QByteArray digits = bytes.mid(j, k - j);
        const int parameter = digits.toInt();
        if (k < n && bytes[k] == ' ')
            ++k; // the space that ends a control word belongs to it
        i = k - 1;
        if (word.isEmpty())
            continue;
        if (kHidden.contains(word)) {
            groups.last().hidden = true;
        } else if (word == "uc") {
            groups.last().skipAfterUnicode = parameter;
        } else if (word == "u") {
            const int code = parameter < 0 ? parameter + 65536 : parameter;
            emitText(QString(QChar(char16_t(code))));
            skip = groups.last().skipAfterUnicode;
        } else if (const auto symbol = kSymbols.constFind(word); symbol != kSymbols.cend()) {
            emitText(*symbol);
        }
    }
    flush();
    while (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out;
}

} // namespace lumkar
