#include "data/inifile.h"

#include "data/codepage.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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
    m_error.clear();
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = key + QLatin1Char('=') + flat;
    QStringList lines;
    if (!load(lines))
        return false;
    int sectionStart = -1;
    int lastInSection = -1; // the last non-empty line of the section
    bool replaced = false;
    for (int i = 0; i < lines.size() && !replaced; ++i) {
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
            replaced = true;
        }
    }
    if (!replaced) {
        if (sectionStart >= 0) {
            lines.insert(lastInSection + 1, entry);
        } else {
            if (!lines.isEmpty())
                lines << QString();
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        }
    }
    QSaveFile file(m_path);
    const bool written = file.open(QIODevice::WriteOnly)
        && file.write((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8()) >= 0
        && file.commit();
    if (!written) {
        m_error = QStringLiteral("Ayar dosyası \"%1\" yazılamadı: %2")
                      .arg(shown(m_path), file.errorString());
        return false;
    }
    return true;
}

} // namespace lumkar
