// The backup rules without windows or disk: archive names, the stored last-backup day, when
// the automatic backup is due, compression by file name, start folders, and Yedekler.dan.

#include "testregistry.h"

#include "backup/backuprules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;

class BackupRulesTest : public QObject {
    Q_OBJECT
private slots:
    void archiveNamesCarryTheDayWithTwoDigitMonthAndDay()
    {
        QCOMPARE(
            backupArchiveName(QDate(2024, 3, 5)), QStringLiteral("LumkarRandevu_2024_03_05.zip"));
        QCOMPARE(
            backupArchiveName(QDate(2031, 12, 24)), QStringLiteral("LumkarRandevu_2031_12_24.zip"));
    }

    void storedDay_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("plain") << "5"
                               << "3"
                               << "2024" << QDate(2024, 3, 5);
        QTest::newRow("zero padded") << "05"
                                     << "03"
                                     << "2024" << QDate(2024, 3, 5);
        QTest::newRow("other characters dropped") << " 7."
                                                  << "a1b1"
                                                  << "20x25" << QDate(2025, 11, 7);
        QTest::newRow("month 13") << "31"
                                  << "13"
                                  << "2024" << QDate();
        QTest::newRow("day 0") << "0"
                               << "1"
                               << "2024" << QDate();
        QTest::newRow("day 32") << "32"
                                << "1"
                                << "2024" << QDate();
        QTest::newRow("year 1970") << "1"
                                   << "1"
                                   << "1970" << QDate();
        QTest::newRow("first year") << "1"
                                    << "1"
                                    << "1971" << QDate(1971, 1, 1);
        QTest::newRow("last year") << "31"
                                   << "12"
                                   << "2049" << QDate(2049, 12, 31);
        QTest::newRow("year 2050") << "1"
                                   << "1"
                                   << "2050" << QDate();
        QTest::newRow("31 April") << "31"
                                  << "4"
                                  << "2024" << QDate();
        QTest::newRow("29 February of a leap year") << "29"
                                                    << "2"
                                                    << "2024" << QDate(2024, 2, 29);
        QTest::newRow("nothing stored") << ""
                                        << ""
                                        << "" << QDate();
        QTest::newRow("too many digits") << "1"
                                         << "1"
                                         << "99999999999" << QDate();
    }

    void storedDay()
    {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QDate, expected);
        const QDate got = storedBackupDay(day, month, year);
        QCOMPARE(got.isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(got, expected);
    }

    void due_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("due");
        const QDate march5(2024, 3, 5);
        const QDateTime sameDayEvening(march5, QTime(23, 59));
        const QDateTime nextMidnight(QDate(2024, 3, 6), QTime(0, 0));
        QTest::newRow("switched off") << false << "0" << march5 << sameDayEvening << false;
        QTest::newRow("empty box: every end") << true << "" << march5 << sameDayEvening << true;
        QTest::newRow("0: every end")
            << true << "0" << march5 << QDateTime(march5, QTime(0, 0)) << true;
        QTest::newRow("1: not on the same day") << true << "1" << march5 << sameDayEvening << false;
        QTest::newRow("1: from the next midnight") << true << "1" << march5 << nextMidnight << true;
        QTest::newRow("7: a day early")
            << true << "7" << march5 << QDateTime(QDate(2024, 3, 11), QTime(12, 0)) << false;
        QTest::newRow("7: on the day")
            << true << "7" << march5 << QDateTime(QDate(2024, 3, 12), QTime(0, 0)) << true;
        QTest::newRow("letters dropped") << true << "a2" << march5 << nextMidnight << false;
        QTest::newRow("never made: 2012") << true << "999" << QDate(2012, 1, 1)
                                          << QDateTime(QDate(2024, 3, 6), QTime(8, 0)) << true;
    }

    void due()
    {
        QFETCH(bool, on);
        QFETCH(QString, interval);
        QFETCH(QDate, last);
        QFETCH(QDateTime, now);
        QFETCH(bool, due);
        QCOMPARE(automaticBackupDue(on, interval, last, now), due);
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("digits") << "12" << 12;
        QTest::newRow("leading minus") << "-3" << -3;
        QTest::newRow("minus after digits dropped") << "3-1" << 31;
        QTest::newRow("letters") << "x1y0" << 10;
    }

    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(wholeNumberOf(text), number);
    }

    void packedFilesAreStoredWithoutCompression_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("level");
        QTest::newRow("database") << "Tovaskel.mdb" << 9;
        QTest::newRow("no extension") << "Tovaskel" << 9;
        QTest::newRow("zip") << "eski.zip" << 0;
        QTest::newRow("capital GZ") << "a.tar.GZ" << 0;
        QTest::newRow("png") << "logo.png" << 0;
        QTest::newRow("jar") << "a.jar" << 0;
        QTest::newRow("zipx is not zip") << "a.zipx" << 9;
    }

    void packedFilesAreStoredWithoutCompression()
    {
        QFETCH(QString, name);
        QFETCH(int, level);
        QCOMPARE(compressionLevelFor(name), level);
    }

    void startFolders()
    {
        const QString program = QStringLiteral("/opt/lumkar");
        const QString yedek = QDir::toNativeSeparators(QStringLiteral("/opt/lumkar/Yedek/"));
        QCOMPARE(backupStartFolder(program, QString()), yedek);
        QCOMPARE(backupStartFolder(program, QStringLiteral("C")), yedek);
        QCOMPARE(backupStartFolder(program, QStringLiteral("/y/")), QStringLiteral("/y/"));
        QCOMPARE(backupStartFolder(program, QStringLiteral("x"), QStringLiteral("/oto/")),
            QStringLiteral("/oto/"));
        QCOMPARE(backupStartFolder(program, QStringLiteral("/m/"), QStringLiteral("/oto/")),
            QStringLiteral("/m/"));
        QCOMPARE(folderWithSeparator(QStringLiteral("/a/b")),
            QDir::toNativeSeparators(QStringLiteral("/a/b/")));
        QCOMPARE(folderWithSeparator(QStringLiteral("/a/b/")),
            QDir::toNativeSeparators(QStringLiteral("/a/b/")));
    }

    void settingsFileRoundTrip()
    {
        QTemporaryDir dir;
        BackupSettingsFile file(dir.path());
        const BackupSettings empty = file.read();
        QVERIFY(file.errorText().isEmpty());
        QVERIFY(empty.automaticFolder.isEmpty() && empty.intervalText.isEmpty());
        QVERIFY(!empty.automaticOn);
        QVERIFY(!empty.lastAutomaticDay.isValid());
        QVERIFY(!QFile::exists(file.path())); // reading writes nothing

        QVERIFY(file.saveAutomatic(QStringLiteral("/yedek/"), QStringLiteral("7"), true));
        QVERIFY(file.saveLastManualFolder(QStringLiteral("/elle/")));
        QVERIFY(file.saveLastAutomaticDay(QDate(2024, 3, 5)));
        const BackupSettings s = file.read();
        QCOMPARE(s.automaticFolder, QStringLiteral("/yedek/"));
        QCOMPARE(s.intervalText, QStringLiteral("7"));
        QVERIFY(s.automaticOn);
        QCOMPARE(s.lastManualFolder, QStringLiteral("/elle/"));
        QCOMPARE(s.lastAutomaticDay, QDate(2024, 3, 5));

        QFile raw(file.path());
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(raw.readAll());
        QVERIFY(text.contains(QLatin1String("[OtoYedekler]")));
        QVERIFY(text.contains(QLatin1String("[TumYedekler]")));
        QVERIFY(text.contains(QLatin1String("TarihOtoGun=5\r\n")));
        QVERIFY(text.contains(QLatin1String("TarihOtoAy=3\r\n")));
        QVERIFY(text.contains(QLatin1String("YedekAl=1\r\n")));

        QVERIFY(file.saveAutomatic(QStringLiteral("/yedek/"), QString(), false));
        raw.close();
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(raw.readAll()).contains(QLatin1String("YedekAl=2\r\n")));
    }

    void settingsWriteRefusedByTheDiskIsReported()
    {
        QTemporaryDir dir;
        // The settings file's name is taken by a folder: nothing can be written there.
        QVERIFY(QDir(dir.path()).mkdir(BackupSettingsFile::fileName()));
        BackupSettingsFile file(dir.path());
        QVERIFY(!file.saveLastAutomaticDay(QDate(2024, 3, 5)));
        QVERIFY(!file.errorText().isEmpty());
    }
};

LUMKAR_TEST(BackupRulesTest)
#include "tst_backuprules.moc"
