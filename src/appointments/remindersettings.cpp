#include "appointments/remindersettings.h"

#include "data/inifile.h"

#include <QDir>
#include <QFile>

namespace lumkar {

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("E") : QStringLiteral("H");
}

// Whether anybody but the file's owner may read it.
bool othersMayRead(const QString &path)
{
    return QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

// Makes the file (empty when new) readable and writable by its owner alone; false when the
// disk does not keep such a permission.
bool ownerOnly(const QString &path)
{
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && !othersMayRead(path);
}

QString passwordNotKept(const QString &path)
{
    return QStringLiteral("E-posta şifresi saklanmadı: \"%1\" dosyası yalnızca sizin "
                          "okuyabileceğiniz biçimde korunamıyor. Şifre, program kapanana dek "
                          "kullanılır.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

QString oneLineText(const QString &text)
{
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QString out;
    for (const QChar c : std::as_const(flat)) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

QString textFromOneLine(const QString &line)
{
    QString out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        const QChar next = i + 1 < line.size() ? line.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && next == QLatin1Char('n')) {
            out += QLatin1Char('\n');
            ++i;
        } else if (c == QLatin1Char('\\') && next == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

ReminderSettings ReminderSettings::read(const QString &path, QString *refusal)
{
    ReminderSettings out;
    IniFile file(path);
    const auto value = [&](const char *key) {
        return file.read(section(), QString::fromLatin1(key));
    };
    if (const QString subject = value("konu"); !subject.isEmpty())
        out.pattern.subject = textFromOneLine(subject);
    if (const QString text = value("metin"); !text.isEmpty())
        out.pattern.text = textFromOneLine(text);
    out.server.host = value("sunucu").trimmed();
    bool ok = false;
    const int port = value("port").trimmed().toInt(&ok);
    if (ok && port >= 1 && port <= 65535)
        out.server.port = port;
    out.server.tls = value("tls").trimmed() != QLatin1String("H");
    out.server.user = value("kullanici").trimmed();
    out.server.sender = value("gonderen").trimmed();
    out.keepPassword = value("sifresakla").trimmed() == QLatin1String("E");
    const QString password = value("sifre");
    if (refusal)
        refusal->clear();
    if (password.isEmpty())
        return out;
    if (othersMayRead(path)) {
        if (refusal)
            *refusal = QStringLiteral("E-posta şifresi kullanılmadı: \"%1\" dosyasını başka "
                                      "kullanıcılar da okuyabiliyor. Şifreyi yeniden girip "
                                      "ayarları kaydedin; dosya yalnızca sizin "
                                      "okuyabileceğiniz biçimde yazılır.")
                           .arg(QDir::toNativeSeparators(path));
        return out;
    }
    out.server.password = password;
    return out;
}

bool ReminderSettings::write(const QString &path, QString *message) const
{
    const bool keep = keepPassword && !server.password.isEmpty();
    const bool guarded = keep && ownerOnly(path);
    const auto values = [&](bool withPassword) {
        return QList<QPair<QString, QString>>{
            {QStringLiteral("konu"), oneLineText(pattern.subject)},
            {QStringLiteral("metin"), oneLineText(pattern.text)},
            {QStringLiteral("sunucu"), server.host.trimmed()},
            {QStringLiteral("port"), QString::number(server.port)},
            {QStringLiteral("tls"), flag(server.tls)},
            {QStringLiteral("kullanici"), server.user.trimmed()},
            {QStringLiteral("gonderen"), server.sender.trimmed()},
            {QStringLiteral("sifresakla"), flag(keepPassword)},
            {QStringLiteral("sifre"), withPassword ? server.password : QString()}};
    };
    IniFile file(path);
    if (message)
        message->clear();
    if (!file.write(section(), values(guarded))) {
        if (message)
            *message = file.errorText();
        return false;
    }
    if (!keep || (guarded && !othersMayRead(path)))
        return true;
    // The written file is open to others after all: the password comes out again.
    if (guarded && !file.write(section(), values(false))) {
        if (message)
            *message = file.errorText();
        return false;
    }
    if (message)
        *message = passwordNotKept(path);
    return true;
}

} // namespace lumkar
