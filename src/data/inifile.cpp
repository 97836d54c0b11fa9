#include "data/inifile.h"

#include "data/codepage.h"
#include "data/wholefile.h"

#include <QDir>
#include <QFile>

namespace lumkar {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The name of a "[section]" line; false for any other line.
bool sectionOf(const QString &line, QString *name = nullptr)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')) || t.size() < 2)
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool isSectionNamed(const QString &line, const QString &section)
{
    QString name;
    return sectionOf(line, &name) && name.compare(section, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, empty for anything else (comments included).
QString keyOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return QString();
    const int eq = line.indexOf(QLatin1Char('='));
    return eq > 0 ? line.left(eq).trimmed() : QString();
}

bool hasKey(const QString &line, const QString &key)
{
    const QString k = keyOf(line);
    return !k.isEmpty() && k.compare(key, Qt::CaseInsensitive) == 0;
}

QString valueOf(const QString &line)
{
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2
        && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// A value as its line holds it: on one line, and inside one pair of double quotes when the
// reader would otherwise drop a blank or a quote at either end.
QString encodedValue(const QString &value)
{
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (flat.isEmpty())
        return flat;
    const QChar first = flat.front();
    const QChar last = flat.back();
    if (first.isSpace() || last.isSpace() || isQuote(first) || isQuote(last))
        return QLatin1Char('"') + flat + QLatin1Char('"');
    return flat;
}

// Puts "key=value" into the lines: over the key's line in the section, else after the
// section's last line, else in a new section at the end.
void putEntry(QStringList &lines, const QString &section, const QString &key,
              const QString &entry)
{
    int sectionStart = -1;
    int lastInSection = -1; // the last non-empty line of the section
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (sectionOf(line)) {
            if (sectionStart >= 0)
                break; // the section has ended
            if (isSectionNamed(line, section)) {
                sectionStart = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (!line.trimmed().isEmpty())
            lastInSection = i;
        if (hasKey(line, key)) {
            lines[i] = entry;
            return;
        }
    }
    if (sectionStart >= 0) {
        lines.insert(lastInSection + 1, entry);
        return;
    }
    if (!lines.isEmpty())
        lines << QString();
    lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
}

} // namespace

bool IniFile::load(QStringList &lines)
{
    lines.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Ayar dosyası \"%1\" okunamadı: %2")
                      .arg(shown(m_path), file.errorString());
        return false;
    }
    QString text = decodeLocalText(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return true;
}

QString IniFile::read(const QString &section, const QString &key)
{
    m_error.clear();
    QStringList lines;
    if (!load(lines))
        return QString();
    bool inSection = false;
    for (const QString &line : std::as_const(lines)) {
        if (sectionOf(line)) {
            inSection = isSectionNamed(line, section);
            continue;
        }
        if (inSection && hasKey(line, key))
            return valueOf(line);
    }
    return QString();
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    return write(section, {{key, value}});
}

bool IniFile::write(const QString &section, const QList<QPair<QString, QString>> &values)
{
    m_error.clear();
    QStringList lines;
    if (!load(lines))
        return false;
    for (const auto &[key, value] : values)
        putEntry(lines, section, key, key + QLatin1Char('=') + encodedValue(value));
    return store((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8());
}

bool IniFile::store(const QByteArray &bytes)
{
    auto fail = [this](const QString &cause) {
        m_error = QStringLiteral("Ayarlar kaydedilemedi: \"%1\" dosyası yazılamadı (%2). "
                                 "Dosyadaki önceki ayarlar olduğu gibi duruyor.")
                      .arg(shown(m_path), cause);
        return false;
    };
    // Every byte reaches the disk before the old file is replaced: a full disk never leaves an
    // empty or cut-off file behind.
    QString cause;
    return writeWholeFile(m_path, bytes, &cause) || fail(cause);
}

} // namespace lumkar
