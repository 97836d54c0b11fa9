#include "backup/backuprules.h"

#include "data/inifile.h"

#include <QDir>
#include <QSet>
#include <algorithm>

namespace lumkar {

namespace {

const QString kManualSection = QStringLiteral("TumYedekler");
const QString kAutomaticSection = QStringLiteral("OtoYedekler");

// The number formed by the digits of a text alone; 0 when there are none or too many.
int digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c.unicode() >= '0' && c.unicode() <= '9')
            digits += c;
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : 0;
}

} // namespace

quint64 restoreSpaceNeeded(quint64 bytes)
{
    constexpr quint64 kLeastSpare = quint64(64) << 20;
    const quint64 spare = std::max(bytes / 10, kLeastSpare);
    return bytes > ~quint64(0) - spare ? ~quint64(0) : bytes + spare;
}

QString restoreDoneText(const QVector<RestoredFile> &restored, const QStringList &leftAside)
{
    QString text = QStringLiteral("Yedekten geri yükleme tamamlandı.");
    QStringList names;
    QStringList kept;
    for (const RestoredFile &file : restored) {
        names << file.name;
        if (!file.keptCopy.isEmpty())
            kept << QLatin1Char('"') + QDir::toNativeSeparators(file.keptCopy) + QLatin1Char('"');
    }
    if (names.size() > 1)
        text += QStringLiteral("\n\rGeri yüklenen dosyalar: %1.")
                    .arg(names.join(QStringLiteral(", ")));
    if (kept.size() == 1)
        text += QStringLiteral("\n\rGeri yüklemeden önceki bilgiler %1 dosyasında saklandı.")
                    .arg(kept.first());
    else if (kept.size() > 1)
        text += QStringLiteral("\n\rGeri yüklemeden önceki bilgiler şu dosyalarda saklandı: %1.")
                    .arg(kept.join(QStringLiteral(", ")));
    if (!leftAside.isEmpty())
        text += QStringLiteral("\n\rArşivdeki şu dosyalar veritabanı dosyası olmadığından geri "
                               "yüklenmedi: %1.")
                    .arg(leftAside.join(QStringLiteral(", ")));
    return text;
}

QString restoreCanceledText()
{
    return QStringLiteral("Geri yükleme iptal edildi; mevcut bilgiler değişmedi.");
}

QString restoreRefusedText(const QString &cause)
{
    return QStringLiteral("Yedekten geri yükleme yapılmadı: ") + cause
        + QStringLiteral("\n\rMevcut bilgiler değişmedi.");
}

QString safetyArchiveName(const QDateTime &now)
{
    return QStringLiteral("LumkarRandevu_GeriYuklemeOncesi_")
        + now.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss")) + QStringLiteral(".zip");
}

QString backupArchiveName(const QDate &day)
{
    return QStringLiteral("LumkarRandevu_") + day.toString(QStringLiteral("yyyy_MM_dd"))
        + QStringLiteral(".zip");
}

int wholeNumberOf(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.unicode() >= '0' && c.unicode() <= '9')
            digits += c;
        else if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && digits.isEmpty())
            digits = c;
    }
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : 0;
}

QDate storedBackupDay(const QString &day, const QString &month, const QString &year)
{
    const int d = digitsOf(day);
    const int m = digitsOf(month);
    const int y = digitsOf(year);
    if (d < 1 || d > 31 || m < 1 || m > 12 || y < 1971 || y > 2049)
        return QDate();
    return QDate(y, m, d); // invalid for 31 April and the like
}

bool automaticBackupDue(
    bool switchedOn, const QString &intervalText, const QDate &lastDay, const QDateTime &now)
{
    if (!switchedOn)
        return false;
    const QDateTime due = QDateTime(lastDay, QTime(0, 0)).addDays(wholeNumberOf(intervalText));
    return due <= now;
}

int compressionLevelFor(const QString &fileName)
{
    static const QSet<QString> packed { QStringLiteral("gif"), QStringLiteral("png"),
        QStringLiteral("z"), QStringLiteral("zip"), QStringLiteral("zoo"), QStringLiteral("arc"),
        QStringLiteral("lzh"), QStringLiteral("arj"), QStringLiteral("taz"), QStringLiteral("tgz"),
        QStringLiteral("lha"), QStringLiteral("rar"), QStringLiteral("ace"), QStringLiteral("cab"),
        QStringLiteral("gz"), QStringLiteral("gzip"), QStringLiteral("jar") };
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return 9;
    return packed.contains(fileName.mid(dot + 1).toLower()) ? 0 : 9;
}

QString folderWithSeparator(const QString &folder)
{
    QString shown = QDir::toNativeSeparators(folder);
    if (!shown.isEmpty() && !shown.endsWith(QDir::separator()))
        shown += QDir::separator();
    return shown;
}

QString backupStartFolder(const QString &programFolder, const QString &first, const QString &second)
{
    if (first.size() >= 2)
        return first;
    if (second.size() >= 2)
        return second;
    return folderWithSeparator(QDir(programFolder).filePath(QStringLiteral("Yedek")));
}

BackupSettingsFile::BackupSettingsFile(const QString &programFolder)
    : m_path(QDir(programFolder).filePath(fileName()))
{
}

QString BackupSettingsFile::readValue(const QString &section, const QString &key)
{
    IniFile ini(m_path);
    const QString value = ini.read(section, key);
    if (!ini.errorText().isEmpty())
        m_error = ini.errorText();
    return value;
}

bool BackupSettingsFile::writeValue(
    const QString &section, const QString &key, const QString &value)
{
    IniFile ini(m_path);
    if (ini.write(section, key, value))
        return true;
    m_error = ini.errorText();
    return false;
}

BackupSettings BackupSettingsFile::read()
{
    m_error.clear();
    BackupSettings s;
    s.lastManualFolder = readValue(kManualSection, QStringLiteral("SonTumYedek"));
    s.automaticFolder = readValue(kAutomaticSection, QStringLiteral("SonOtoYedek"));
    s.intervalText = readValue(kAutomaticSection, QStringLiteral("YedekGun"));
    s.automaticOn = readValue(kAutomaticSection, QStringLiteral("YedekAl")) == QLatin1String("1");
    s.lastAutomaticDay
        = storedBackupDay(readValue(kAutomaticSection, QStringLiteral("TarihOtoGun")),
            readValue(kAutomaticSection, QStringLiteral("TarihOtoAy")),
            readValue(kAutomaticSection, QStringLiteral("TarihOtoYil")));
    return s;
}

QString BackupSettingsFile::lastManualFolder()
{
    m_error.clear();
    return readValue(kManualSection, QStringLiteral("SonTumYedek"));
}

QString BackupSettingsFile::automaticFolder()
{
    m_error.clear();
    return readValue(kAutomaticSection, QStringLiteral("SonOtoYedek"));
}

bool BackupSettingsFile::saveLastManualFolder(const QString &folder)
{
    m_error.clear();
    return writeValue(kManualSection, QStringLiteral("SonTumYedek"), folder);
}

bool BackupSettingsFile::saveAutomatic(const QString &folder, const QString &intervalText, bool on)
{
    m_error.clear();
    return writeValue(kAutomaticSection, QStringLiteral("SonOtoYedek"), folder)
        && writeValue(kAutomaticSection, QStringLiteral("YedekGun"), intervalText)
        && writeValue(kAutomaticSection, QStringLiteral("YedekAl"),
            on ? QStringLiteral("1") : QStringLiteral("2"));
}

bool BackupSettingsFile::saveLastAutomaticDay(const QDate &day)
{
    m_error.clear();
    return writeValue(kAutomaticSection, QStringLiteral("TarihOtoGun"), QString::number(day.day()))
        && writeValue(kAutomaticSection, QStringLiteral("TarihOtoAy"), QString::number(day.month()))
        && writeValue(
            kAutomaticSection, QStringLiteral("TarihOtoYil"), QString::number(day.year()));
}

} // namespace lumkar
