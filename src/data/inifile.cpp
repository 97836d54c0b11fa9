#include "data/inifile.h"

#include <QDir>
#include <QSettings>

namespace lumkar {

namespace {

QString statusText(QSettings::Status status, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (status) {
    case QSettings::NoError: return QString();
    case QSettings::AccessError:
        return QStringLiteral("Ayar dosyası \"%1\" yazılamadı: dosyaya erişim izni yok.")
            .arg(shown);
    case QSettings::FormatError:
        return QStringLiteral("Ayar dosyası \"%1\" bozuk; okunamadı.").arg(shown);
    }
    return QString();
}

} // namespace

QString IniFile::read(const QString &section, const QString &key)
{
    QSettings ini(m_path, QSettings::IniFormat);
    m_error = statusText(ini.status(), m_path);
    if (!m_error.isEmpty())
        return QString();
    return ini.value(section + QLatin1Char('/') + key).toString();
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    QSettings ini(m_path, QSettings::IniFormat);
    if (ini.status() == QSettings::FormatError) {
        m_error = statusText(ini.status(), m_path);
        return false;
    }
    ini.setValue(section + QLatin1Char('/') + key, value);
    ini.sync();
    m_error = statusText(ini.status(), m_path);
    return m_error.isEmpty();
}

} // namespace lumkar
