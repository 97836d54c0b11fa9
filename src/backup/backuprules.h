#pragma once
// The backup rules that need neither a window nor a disk: archive names, the stored date of
// the last automatic backup, when the automatic backup is due, and which files are stored
// without compression. Also the backup settings file Yedekler.dan.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace lumkar {

// "LumkarRandevu_2024_03_05.zip" for 5 March 2024.
QString backupArchiveName(const QDate &day);
// "LumkarRandevu_GeriYuklemeOncesi_2024_03_05_14_30_00.zip": the archive of a server's rows
// taken before a restore replaced them.
QString safetyArchiveName(const QDateTime &now);

// The whole number formed by a leading sign and the digits of a text; every other character
// is dropped, an empty result is 0.
int wholeNumberOf(const QString &text);

// The day of the last automatic backup from its three stored texts (digits only count); an
// invalid date when the day is not 1 to 31, the month not 1 to 12, the year not 1971 to 2049,
// or the three make no day of the calendar.
QDate storedBackupDay(const QString &day, const QString &month, const QString &year);

// The date the backup window shows when none is stored.
inline QDate noBackupDay()
{
    return QDate(2012, 1, 1);
}

// Due when switched on and `now` is not earlier than the last day at 00:00 plus the interval
// typed in the days box (an empty box gives 0: every program end makes one).
bool automaticBackupDue(
    bool switchedOn, const QString &intervalText, const QDate &lastDay, const QDateTime &now);

// The zip compression level of a file: 0 (stored) for names that are compressed already.
int compressionLevelFor(const QString &fileName);

// A folder text as the settings file keeps it: native separators and one trailing separator.
QString folderWithSeparator(const QString &folder);

// Where a file dialog starts: the first of the stored folders with at least 2 characters,
// else the program folder's "Yedek" folder.
QString backupStartFolder(
    const QString &programFolder, const QString &first, const QString &second = QString());

// The free space a restore needs on the data folder's disk to unpack files of `bytes` in all:
// the files and room to spare (a tenth more, at least 64 MiB), so that the program can go on
// writing after it. The largest number there is when that does not fit in one.
quint64 restoreSpaceNeeded(quint64 bytes);

// A file a restore put back, and the name under which the file it replaced was kept (empty
// when there was none).
struct RestoredFile {
    QString name;
    QString keptCopy;
};

// What the user is told after a restore: that it is done, which files were put back when
// there were several, where the replaced ones were kept, and which entries of the archive
// were left in it.
QString restoreDoneText(const QVector<RestoredFile> &restored, const QStringList &leftAside);
// What the user is told of a restore that was cancelled, or refused for `cause`: nothing
// changed.
QString restoreCanceledText();
QString restoreRefusedText(const QString &cause);

// The backup settings as Yedekler.dan holds them.
struct BackupSettings {
    QString lastManualFolder; // SonTumYedek
    QString automaticFolder; // SonOtoYedek
    QString intervalText; // YedekGun
    bool automaticOn = false; // YedekAl = "1"
    QDate lastAutomaticDay; // TarihOtoGun/Ay/Yil; invalid when none or out of range
};

// Yedekler.dan in the program folder. Every write goes to disk at once; a write the disk
// refused returns false and errorText() says why.
class BackupSettingsFile {
public:
    explicit BackupSettingsFile(const QString &programFolder);
    static QString fileName() { return QStringLiteral("Yedekler.dan"); }
    QString path() const { return m_path; }

    // A missing file reads as all empty; an unreadable one too, with errorText() set.
    BackupSettings read();
    QString lastManualFolder();
    QString automaticFolder();

    bool saveLastManualFolder(const QString &folder);
    bool saveAutomatic(const QString &folder, const QString &intervalText, bool on);
    bool saveLastAutomaticDay(const QDate &day);
    QString errorText() const { return m_error; }

private:
    QString readValue(const QString &section, const QString &key);
    bool writeValue(const QString &section, const QString &key, const QString &value);

    QString m_path;
    QString m_error;
};

} // namespace lumkar
