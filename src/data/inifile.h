#pragma once
// The program's small settings files (Ayar.ini, ayarrand.ayr, Yedekler.dan): plain INI text,
// read key by key, every value written at once.

#include <QString>

namespace lumkar {

class IniFile {
public:
    explicit IniFile(const QString &path) : m_path(path) {}

    QString path() const { return m_path; }
    // A missing file or key reads as empty. A file that cannot be parsed also reads as empty
    // and sets errorText().
    QString read(const QString &section, const QString &key);
    // Writes one value and flushes it to disk; false (with errorText()) when it failed.
    bool write(const QString &section, const QString &key, const QString &value);
    QString errorText() const { return m_error; }

private:
    QString m_path;
    QString m_error;
};

} // namespace lumkar
