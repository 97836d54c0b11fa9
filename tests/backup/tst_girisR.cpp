// The backup window: settings read at start and saved, the manual backup with its dialogs and
// messages, the automatic backup at program end, and the restore with its question, its
// refusals and the windows showing the restored data at once.

#include "archivehelpers.h"
#include "fixture.h"
#include "testregistry.h"

#include "backup/backuprules.h"
#include "backup/girisR.h"
#include "data/inifile.h"
#include "appointments/dayview.h"
#include "shell/sifre.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kSuccess
    = QStringLiteral("Yedekleme işlemi başarılı\n\rbir şekilde gerçekleştirildi.");
const QString kMissingFolder = QStringLiteral(
    "Otomatik yedekleme klasörü bulunamadığından\n\rotomatik yedekleme işlemi başarısız oldu!"
    "\n\rOtomatik yedekleme adresini kontrol edin.");
const QString kRestoreQuestion = QStringLiteral(
    "Yedekten yükleme sonucu halihazırda mevcut bilgiler silinecek ve\n\ryedek alınan bilgiler "
    "yüklenecektir. Hali hazırda bilgilere bir daha\n\rulaşmanız mümkün olmayacaktır! İşleme "
    "devam edecekmisiniz?");

const QString kBackupCanceled = QStringLiteral("Yedekleme iptal edildi; hiçbir dosya yazılmadı.");

// The database of an archive, unpacked into a folder.
QString unpackedFrom(const QString &archive, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("acilan.mdb"));
    writeBytes(path, zipEntry(archive, QStringLiteral("Tovaskel.mdb")));
    return path;
}

QString today()
{
    return backupArchiveName(QDate::currentDate());
}

QString settingsPath(App &app)
{
    return QDir(app.folder()).filePath(QStringLiteral("Yedekler.dan"));
}

QString setting(App &app, const QString &section, const QString &key)
{
    IniFile ini(settingsPath(app));
    return ini.read(section, key);
}

} // namespace

class BackupWindowTest : public QObject {
    Q_OBJECT

    TgirisRF *window(App &app) { return app.forms().girisRF; }

    // A manual backup of one appointment into an archive in `target`; the archive's path.
    QString backedUp(App &app, QTemporaryDir &target)
    {
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        window(app)->TumunuYedekle();
        return archive;
    }

    // "Yedekten Geri Yükle" answered Yes with `archive` picked; one notice is expected. Its
    // progress display has ended before anything is told.
    void restoreFrom(App &app, const QString &archive)
    {
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        QTest::mouseClick(window(app)->JvXPButton7, Qt::LeftButton);
        QVERIFY(app.dialogs.progress().last().finished);
        for (const ShownDialog &shown : app.dialogs.shown())
            QVERIFY2(!shown.underProgress, qPrintable(shown.text));
    }

private slots:
    void firstRunWithoutSettingsFile()
    {
        App app;
        TgirisRF *w = window(app);
        QVERIFY(!QFile::exists(settingsPath(app)));
        QCOMPARE(w->windowTitle(), QStringLiteral("Lumkar Vikelmo -  Yedekleme Ayarları"));
        QCOMPARE(w->Edit1->text(), QString());
        QCOMPARE(w->yedekgunEdit->text(), QString());
        QVERIFY(!w->CheckBox1->isChecked());
        QCOMPARE(w->DateTimePicker1->date(), QDate(2012, 1, 1));
        // The program ends without an automatic backup and without a message.
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        app.forms().PasswordDlg->close();
        QCOMPARE(ended.count(), 1);
        QVERIFY(app.dialogs.shown().isEmpty());
        QVERIFY(!QFile::exists(settingsPath(app)));
    }

    void settingsAreReadAtStart_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("onOff");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<bool>("checked");
        QTest::newRow("stored date") << "5"
                                     << "3"
                                     << "2024"
                                     << "1" << QDate(2024, 3, 5) << true;
        QTest::newRow("31 in month 13 is ignored") << "31"
                                                   << "13"
                                                   << "2024"
                                                   << "1" << QDate(2012, 1, 1) << true;
        QTest::newRow("switched off") << "1"
                                      << "2"
                                      << "2025"
                                      << "2" << QDate(2025, 2, 1) << false;
    }

    void settingsAreReadAtStart()
    {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, onOff);
        QFETCH(QDate, shown);
        QFETCH(bool, checked);
        App app;
        IniFile ini(settingsPath(app));
        const QString section = QStringLiteral("OtoYedekler");
        QVERIFY(ini.write(section, QStringLiteral("SonOtoYedek"), QStringLiteral("/yedek/")));
        QVERIFY(ini.write(section, QStringLiteral("YedekGun"), QStringLiteral("7")));
        QVERIFY(ini.write(section, QStringLiteral("YedekAl"), onOff));
        QVERIFY(ini.write(section, QStringLiteral("TarihOtoGun"), day));
        QVERIFY(ini.write(section, QStringLiteral("TarihOtoAy"), month));
        QVERIFY(ini.write(section, QStringLiteral("TarihOtoYil"), year));
        TgirisRF fresh(app.forms(), app.session());
        QCOMPARE(fresh.Edit1->text(), QStringLiteral("/yedek/"));
        QCOMPARE(fresh.yedekgunEdit->text(), QStringLiteral("7"));
        QCOMPARE(fresh.CheckBox1->isChecked(), checked);
        QCOMPARE(fresh.DateTimePicker1->date(), shown);
    }

    void savingTheSettingsAndPickingTheFolder()
    {
        App app;
        TgirisRF *w = window(app);
        QTemporaryDir folder;
        w->CheckBox1->setChecked(true);
        QTest::keyClicks(w->yedekgunEdit, QStringLiteral("1a4"));
        QCOMPARE(w->yedekgunEdit->text(), QStringLiteral("14"));
        app.dialogs.expectFile(folder.path());
        QTest::mouseClick(w->JvXPButton5, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Personel Yedek"));
        QCOMPARE(app.dialogs.shown().last().text,
            QDir::toNativeSeparators(app.folder() + QStringLiteral("/Yedek/")));
        const QString stored = QDir::toNativeSeparators(folder.path()) + QDir::separator();
        QCOMPARE(w->Edit1->text(), stored);
        QCOMPARE(
            setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("SonOtoYedek")), stored);
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("YedekGun")),
            QStringLiteral("14"));
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("YedekAl")),
            QStringLiteral("1"));

        // A cancelled picker keeps the box and still saves what the window shows.
        w->CheckBox1->setChecked(false);
        app.dialogs.expectFile(QString());
        QTest::mouseClick(w->JvXPButton5, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().last().text, stored); // starts in the stored folder
        QCOMPARE(w->Edit1->text(), stored);
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("YedekAl")),
            QStringLiteral("2"));

        w->Edit1->setText(QStringLiteral("/baska/"));
        QTest::mouseClick(w->JvXPButton6, Qt::LeftButton);
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("SonOtoYedek")),
            QStringLiteral("/baska/"));
        QVERIFY(app.dialogs.allConsumed());
    }

    void manualBackupIntoAChosenArchive()
    {
        App app;
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        QTemporaryDir target;
        app.dialogs.expectFile(target.filePath(QStringLiteral("elle")));
        app.dialogs.expectNotice();
        QTest::mouseClick(window(app)->JvXPButton1, Qt::LeftButton);

        const ShownDialog save = app.dialogs.shown().first();
        QCOMPARE(save.kind, QStringLiteral("save"));
        QCOMPARE(save.title, QStringLiteral("Lumkar Yedek"));
        QCOMPARE(save.text,
            QDir::toNativeSeparators(app.folder() + QStringLiteral("/Yedek/")) + QLatin1Char('|')
                + today());
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Vikelmo Programı"));
        QCOMPARE(app.dialogs.lastText(), kSuccess);
        const QString archive = target.filePath(QStringLiteral("elle.zip"));
        QCOMPARE(zipEntryNames(archive), QStringList { QStringLiteral("Tovaskel.mdb") });
        QCOMPARE(setting(app, QStringLiteral("TumYedekler"), QStringLiteral("SonTumYedek")),
            QDir::toNativeSeparators(target.path()) + QDir::separator());

        // The next save dialog starts in that folder; cancelling it writes and says nothing.
        app.dialogs.clear();
        app.dialogs.expectFile(QString());
        QTest::mouseClick(window(app)->JvXPButton1, Qt::LeftButton);
        QVERIFY(
            app.dialogs.shown().first().text.startsWith(QDir::toNativeSeparators(target.path())));
        QCOMPARE(app.dialogs.shown().size(), 1);
    }

    void manualBackupIntoAFolderThatCannotTakeItFails()
    {
        App app;
        app.openDatabase();
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("yok/y.zip"));
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        QTest::mouseClick(window(app)->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("error"));
        QVERIFY(app.dialogs.lastText().startsWith(
            QStringLiteral("Yedekleme işlemi başarısız oldu: yedek klasörü")));
        QVERIFY(!QFile::exists(archive));
        QCOMPARE(
            setting(app, QStringLiteral("TumYedekler"), QStringLiteral("SonTumYedek")), QString());
    }

    void automaticBackupAtProgramEndWithAnEmptyDayBox()
    {
        App app;
        app.openDatabase();
        QTemporaryDir folder;
        TgirisRF *w = window(app);
        w->Edit1->setText(folder.path()); // no separator at the end: one is put in between
        w->yedekgunEdit->clear();
        w->CheckBox1->setChecked(true);
        w->saveAutomaticSettings();
        w->DateTimePicker1->setDate(QDate::currentDate()); // made today already: still due
        QVERIFY(w->automaticBackupDue(QDateTime::currentDateTime()));
        app.forms().PasswordDlg->close();
        QVERIFY(app.dialogs.shown().isEmpty());
        const QString archive = QDir(folder.path()).filePath(today());
        QCOMPARE(zipEntryNames(archive), QStringList { QStringLiteral("Tovaskel.mdb") });
        const QDate now = QDate::currentDate();
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoGun")),
            QString::number(now.day()));
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoAy")),
            QString::number(now.month()));
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoYil")),
            QString::number(now.year()));
    }

    void twoAutomaticBackupsOnOneDayWriteOneArchive()
    {
        App app;
        app.openDatabase();
        QTemporaryDir folder;
        TgirisRF *w = window(app);
        w->Edit1->setText(folder.path() + QLatin1Char('/'));
        w->saveAutomaticSettings();
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        w->TumunuYedekleOto();
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        w->TumunuYedekleOto();
        QVERIFY(app.dialogs.shown().isEmpty());
        QCOMPARE(filesIn(folder.path()), QStringList { today() });
        const QString archive = QDir(folder.path()).filePath(today());
        QCOMPARE(zipEntryNames(archive), QStringList { QStringLiteral("Tovaskel.mdb") });
        const QString unpacked = folder.filePath(QStringLiteral("acilan"));
        QVERIFY(writeBytes(unpacked, zipEntry(archive, QStringLiteral("Tovaskel.mdb"))));
        QCOMPARE(rowCount(unpacked, QStringLiteral("randevu")), 2);
    }

    void missingAutomaticFolderIsToldAndTheDateKept()
    {
        App app;
        app.openDatabase();
        QTemporaryDir folder;
        IniFile ini(settingsPath(app));
        QVERIFY(ini.write(
            QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoGun"), QStringLiteral("4")));
        TgirisRF *w = window(app);
        w->Edit1->setText(folder.filePath(QStringLiteral("silindi/")));
        w->CheckBox1->setChecked(true);
        w->saveAutomaticSettings();
        app.dialogs.expectNotice();
        app.forms().PasswordDlg->close();
        QCOMPARE(app.dialogs.texts(), QStringList { kMissingFolder });
        QCOMPARE(app.dialogs.shown().first().title, QStringLiteral("Lumkar Vikelmo"));
        QCOMPARE(setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoGun")),
            QStringLiteral("4"));
        QCOMPARE(
            setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoAy")), QString());
        QCOMPARE(filesIn(folder.path()), QStringList());
    }

    void failedAutomaticBackupIsToldAndTheDateKept()
    {
        App app;
        app.openDatabase();
        QTemporaryDir folder;
        // Today's archive name is taken by a file that is no archive: it cannot be extended.
        QVERIFY(writeBytes(QDir(folder.path()).filePath(today()), "bozuk"));
        TgirisRF *w = window(app);
        w->Edit1->setText(folder.path() + QLatin1Char('/'));
        w->saveAutomaticSettings();
        app.dialogs.expectNotice();
        w->TumunuYedekleOto();
        QVERIFY(app.dialogs.lastText().startsWith(
            QStringLiteral("Otomatik yedekleme işlemi başarısız oldu: ")));
        QCOMPARE(
            setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoGun")), QString());
        QCOMPARE(fileBytes(QDir(folder.path()).filePath(today())), QByteArray("bozuk"));
        QCOMPARE(filesIn(folder.path()), QStringList { today() });
    }

    void cancelledManualBackupIsToldAndWritesNothing()
    {
        App app;
        for (int i = 0; i < 50; ++i)
            app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("elle.zip"));
        QVERIFY(makeZip(archive, { { QStringLiteral("Tovaskel.mdb"), "dünkü yedek" } }));
        const QByteArray before = fileBytes(archive);
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        app.dialogs.cancelProgressWhen(QStringLiteral("sıkıştırılıyor"));
        QTest::mouseClick(window(app)->JvXPButton1, Qt::LeftButton);

        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("information"));
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Vikelmo Programı"));
        QCOMPARE(app.dialogs.lastText(), kBackupCanceled);
        QCOMPARE(fileBytes(archive), before);
        QCOMPARE(filesIn(target.path()), QStringList { QStringLiteral("elle.zip") });
        QCOMPARE(
            setting(app, QStringLiteral("TumYedekler"), QStringLiteral("SonTumYedek")), QString());
        QCOMPARE(app.dialogs.progress().size(), 1);
        QVERIFY(app.dialogs.progress().first().finished);

        // Not cancelled, the same backup replaces the archive and its display runs full.
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        QTest::mouseClick(window(app)->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(), kSuccess);
        const ShownProgress &shown = app.dialogs.progress().last();
        QVERIFY(!shown.canceled);
        QVERIFY(shown.finished);
        QCOMPARE(shown.values.last(), shown.maximum);
        QVERIFY(std::is_sorted(shown.values.begin(), shown.values.end()));
        QCOMPARE(rowCount(unpackedFrom(archive, target.path()), QStringLiteral("randevu")), 50);
    }

    void cancelledAutomaticBackupKeepsTheDate()
    {
        App app;
        app.openDatabase();
        QTemporaryDir folder;
        TgirisRF *w = window(app);
        w->Edit1->setText(folder.path() + QLatin1Char('/'));
        w->saveAutomaticSettings();
        app.dialogs.expectNotice();
        app.dialogs.cancelProgressWhen(QStringLiteral("denetleniyor"));
        w->TumunuYedekleOto();
        QCOMPARE(app.dialogs.texts(), QStringList { kBackupCanceled });
        QCOMPARE(
            setting(app, QStringLiteral("OtoYedekler"), QStringLiteral("TarihOtoGun")), QString());
        QCOMPARE(filesIn(folder.path()), QStringList());
    }

    void cancelledRestoreChangesNothing()
    {
        App app;
        QTemporaryDir target;
        const QString archive = backedUp(app, target);
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        const QString dataFolder = app.session().database().dataFolder();
        const QStringList filesBefore = filesIn(dataFolder);

        QSignalSpy replaced(window(app), &TgirisRF::databaseReplaced);
        app.dialogs.cancelProgressWhen(QStringLiteral("açılıyor"));
        restoreFrom(app, archive);
        QCOMPARE(app.dialogs.lastText(),
            QStringLiteral("Geri yükleme iptal edildi; mevcut bilgiler değişmedi."));
        QCOMPARE(replaced.count(), 0);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 2);
        QCOMPARE(filesIn(dataFolder), filesBefore);
        QVERIFY(app.dialogs.progress().last().finished);
    }

    void restoreAnsweredNoLeavesTheConnectionUntouched()
    {
        App app;
        app.exec(QStringLiteral("CREATE TEMP TABLE baglanti (x INTEGER)"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(window(app)->JvXPButton7, Qt::LeftButton);
        QCOMPARE(app.dialogs.texts(), QStringList { kRestoreQuestion });
        QCOMPARE(app.dialogs.shown().first().title, QStringLiteral("Lumkar Vikelmo"));
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNo);
        // The same connection is still open: its temporary table is still there.
        QSqlQuery q(app.session().db());
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM baglanti")));
    }

    void restoreShowsTheRestoredDataAtOnce()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        DayLists *lists = app.forms().dayLists;
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        lists->reopenDayLists();
        QCOMPARE(lists->randevuTable->recordCount(), 1);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        app.dialogs.expectFile(archive);
        app.dialogs.expectNotice();
        window(app)->TumunuYedekle();

        // A change after the backup, shown in the main window's lists.
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate(), QTime(10, 0),
            QStringLiteral("Sonra"), QStringLiteral("Eklenen") });
        lists->reopenDayLists();
        QCOMPARE(lists->randevuTable->recordCount(), 2);

        app.dialogs.clear();
        restoreFrom(app, archive);
        // The open dialog starts where the manual backup went.
        QCOMPARE(app.dialogs.shown().at(1).title, QStringLiteral("Lumkar Yedek"));
        QCOMPARE(app.dialogs.shown().at(1).text,
            QDir::toNativeSeparators(target.path()) + QDir::separator());

        QCOMPARE(lists->randevuTable->recordCount(), 1); // no refresh asked for
        QVERIFY(app.session().database().isOpen());
        const QStringList kept = QDir(app.session().database().dataFolder())
                                     .entryList({ QStringLiteral("Tovaskel_*.onceki") });
        QCOMPARE(kept.size(), 1);
        const QString keptPath = QDir(app.session().database().dataFolder()).filePath(kept.first());
        QCOMPARE(app.dialogs.lastText(),
            QStringLiteral("Yedekten geri yükleme tamamlandı.\n\rGeri yüklemeden önceki "
                           "bilgiler \"%1\" dosyasında saklandı.")
                .arg(QDir::toNativeSeparators(keptPath)));
        QCOMPARE(rowCount(keptPath, QStringLiteral("randevu")), 2);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 1);
    }

    void refusedRestoreKeepsTheDatabaseOpenAndUnchanged()
    {
        App app;
        app.addAppointment({ QStringLiteral("lumkar"), QDate::currentDate() });
        app.exec(QStringLiteral("CREATE TEMP TABLE baglanti (x INTEGER)"));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        QVERIFY(makeZip(archive, { { QStringLiteral("../Tovaskel.mdb"), "x" } }));
        restoreFrom(app, archive);
        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("error"));
        QVERIFY(
            app.dialogs.lastText().startsWith(QStringLiteral("Yedekten geri yükleme yapılmadı: ")));
        QVERIFY(app.dialogs.lastText().endsWith(QStringLiteral("\n\rMevcut bilgiler değişmedi.")));
        QSqlQuery q(app.session().db());
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM baglanti")));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 1);
        QCOMPARE(filesIn(app.session().database().dataFolder()),
            QStringList { QStringLiteral("Tovaskel.mdb") });
    }

    void cancelledRestoreDialogChangesNothing()
    {
        App app;
        app.exec(QStringLiteral("CREATE TEMP TABLE baglanti (x INTEGER)"));
        IniFile ini(settingsPath(app));
        QVERIFY(ini.write(
            QStringLiteral("OtoYedekler"), QStringLiteral("SonOtoYedek"), QStringLiteral("/oto/")));
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectFile(QString());
        QTest::mouseClick(window(app)->JvXPButton7, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().last().text, QStringLiteral("/oto/"));
        QSqlQuery q(app.session().db());
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM baglanti")));
    }

    void aSecondProgramIsToldTheFileWasRestoredUnderIt()
    {
        App app;
        QTemporaryDir target;
        const QString archive = backedUp(app, target);
        // A second program on the same file, open and idle while the first one restores.
        Database second(app.folder());
        QVERIFY(second.open());
        restoreFrom(app, archive);
        QVERIFY(
            app.dialogs.lastText().startsWith(QStringLiteral("Yedekten geri yükleme tamamlandı.")));

        QSqlQuery write(second.db());
        QVERIFY(!write.exec(QStringLiteral("INSERT INTO genelnot (\"not\") VALUES ('ikinci')")));
        QCOMPARE(failureText(write.lastError()),
            QStringLiteral("Veritabanı dosyası, program açıkken yedekten geri yüklenerek "
                           "değiştirildi; işlem yapılamadı. Programı kapatıp yeniden açın."));
    }

    void leftoversOfKilledRunsAreRemovedAtStart_data()
    {
        QTest::addColumn<bool>("inTemp"); // else in the data folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        const QString ended = QStringLiteral("2147483000"); // past the highest process number
        QTest::newRow("copy of a killed backup")
            << true << "Tovaskel.mdb.lumkar-" + ended + "-kopya.a1B2c3" << true;
        QTest::newRow("file a killed restore was unpacking")
            << false << "ek.mdb.lumkar-" + ended + "-aciliyor.q1w2e3" << true;
        QTest::newRow("of another running program")
            << false << QStringLiteral("ek.mdb.lumkar-1-aciliyor.q1w2e3") << false;
        QTest::newRow("a name of the user's") << false << "ek.mdb.lumkar-" + ended << false;
    }

    void leftoversOfKilledRunsAreRemovedAtStart()
    {
        QFETCH(bool, inTemp);
        QFETCH(QString, name);
        QFETCH(bool, removed);
        App app;
        const QString path = QDir(inTemp ? QDir::tempPath() : app.session().database().dataFolder())
                                 .filePath(name);
        QVERIFY(writeBytes(path, "yarım"));
        TgirisRF started(app.forms(), app.session());
        QCOMPARE(!QFile::exists(path), removed);
        QFile::remove(path);
    }

    void closeHidesTheWindow()
    {
        App app;
        app.forms().PasswordDlg->show();
        QTest::mouseClick(app.forms().PasswordDlg->JvXPButton1, Qt::LeftButton);
        QVERIFY(window(app)->isVisible());
        QTest::mouseClick(window(app)->JvXPButton4, Qt::LeftButton);
        QVERIFY(!window(app)->isVisible());
    }
};

LUMKAR_FILE_TEST(BackupWindowTest)
#include "tst_girisR.moc"
