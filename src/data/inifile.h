#pragma once
// The program's small settings files (Ayar.ini, ayarrand.ayr, Yedekler.dan): plain INI text,
// read key by key, every value written at once. A value is the text after "=" as it stands
// (commas, semicolons and quotes inside it included), with blanks around it dropped and one
// pair of surrounding quotes taken off; a value that begins or ends with a blank or a quote is
// therefore written inside one pair of double quotes, so that it reads back exactly. Sections
// and keys match whatever their case; a key not yet present is added at the end of its
// section, the other lines keep their place. Files in UTF-8 (or UTF-16 with a byte-order mark)
// and lines in the Turkish Windows code page are read; files are written in UTF-8 with CR LF
// line ends.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace lumkar {

class IniFile {
public:
    explicit IniFile(const QString &path) : m_path(path) {}

    QString path() const { return m_path; }
    // A missing file or key reads as empty. A file that cannot be read also reads as empty
    // and sets errorText(); lines that are not "key=value" are skipped.
    QString read(const QString &section, const QString &key);
    // Writes one value and flushes it to disk; false (with errorText()) when it failed.
    bool write(const QString &section, const QString &key, const QString &value);
    // Writes several values of one section in one go: all of them or, when the disk refuses
    // the write, none (the file keeps what it held), with errorText().
    bool write(const QString &section, const QList<QPair<QString, QString>> &values);
    // Why the last read or write failed, in one Turkish sentence naming the file; empty after
    // a success.
    QString errorText() const { return m_error; }

private:
    bool load(QStringList &lines);
    bool store(const QByteArray &bytes);

    QString m_path;
    QString m_error;
};

} // namespace lumkar
