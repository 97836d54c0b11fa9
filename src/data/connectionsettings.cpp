#include "data/connectionsettings.h"

#include "data/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lumkar {

namespace {

const QString kSection = QStringLiteral("baglanti");

QString settingsPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(ConnectionSettings::fileName());
}

} // namespace

bool ownerOnly(const QString &path)
{
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    return QFileInfo::exists(path) && !(QFile::permissions(path) & others);
}

ConnectionSettings ConnectionSettings::read(const QString &programFolder, QString *warning)
{
    ConnectionSettings settings;
    if (warning)
        warning->clear();
    const QString path = settingsPath(programFolder);
    if (!QFileInfo::exists(path))
        return settings;
    IniFile file(path);
    const QString engine = file.read(kSection, QStringLiteral("motor")).trimmed().toLower();
    if (engine != QLatin1String("postgresql"))
        return settings;
    settings.engine = Engine::Postgres;
    settings.host = file.read(kSection, QStringLiteral("sunucu")).trimmed();
    bool ok = false;
    const int port = file.read(kSection, QStringLiteral("port")).trimmed().toInt(&ok);
    if (ok && port > 0 && port < 65536)
        settings.port = port;
    settings.database = file.read(kSection, QStringLiteral("veritabani")).trimmed();
    settings.user = file.read(kSection, QStringLiteral("kullanici")).trimmed();
    const QString password = file.read(kSection, QStringLiteral("sifre"));
    if (!password.isEmpty()) {
        if (ownerOnly(path))
            settings.password = password;
        else if (warning)
            *warning = QStringLiteral("\"%1\" dosyasını başka kullanıcılar da okuyabildiği için "
                                      "içindeki şifre kullanılmadı. Şifreyi PostgreSQL'in şifre "
                                      "dosyasına (~/.pgpass) yazın ya da dosyayı yalnız sizin "
                                      "okuyabileceğiniz hale getirin.")
                           .arg(QDir::toNativeSeparators(path));
    }
    return settings;
}

bool ConnectionSettings::write(const QString &programFolder, QString *error) const
{
    const QString path = settingsPath(programFolder);
    if (!password.isEmpty()) {
        // The file is made private before a password goes into it.
        if (!QFileInfo::exists(path)) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)) {
                if (error)
                    *error = QStringLiteral("\"%1\" dosyası yazılamadı: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString());
                return false;
            }
        }
        if (!QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
            || !ownerOnly(path)) {
            if (error)
                *error = QStringLiteral("\"%1\" dosyası yalnız sahibinin okuyabileceği hale "
                                        "getirilemedi; şifre yazılmadı.")
                             .arg(QDir::toNativeSeparators(path));
            return false;
        }
    }
    IniFile file(path);
    const bool server = engine == Engine::Postgres;
    if (!file.write(kSection, {{QStringLiteral("motor"),
                                server ? QStringLiteral("postgresql") : QStringLiteral("sqlite")},
                               {QStringLiteral("sunucu"), host},
                               {QStringLiteral("port"), port > 0 ? QString::number(port)
                                                                 : QString()},
                               {QStringLiteral("veritabani"), database},
                               {QStringLiteral("kullanici"), user},
                               {QStringLiteral("sifre"), password}})) {
        if (error)
            *error = file.errorText();
        return false;
    }
    // The file is replaced as a whole when written: it keeps no password others can read.
    if (!password.isEmpty() && !ownerOnly(path))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

QString ConnectionSettings::serverText() const
{
    const QString where = (host.isEmpty() ? QStringLiteral("localhost") : host)
        + (port > 0 ? QLatin1Char(':') + QString::number(port) : QString());
    return QStringLiteral("%1/%2").arg(where, database)
        + (user.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(user));
}

bool ConnectionSettings::sameServerAndUser(const ConnectionSettings &other) const
{
    return engine == other.engine && host == other.host && port == other.port
        && user == other.user;
}

QString keptPassword(const ConnectionSettings &stored, const ConnectionSettings &edited,
                     const QString &typed, bool keep)
{
    if (!keep || edited.engine != Engine::Postgres)
        return {};
    if (!typed.isEmpty())
        return typed;
    return edited.sameServerAndUser(stored) ? stored.password : QString();
}

} // namespace lumkar
