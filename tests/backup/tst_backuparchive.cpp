// Backups and restores without windows: what an archive holds, archives extended on the same
// day, writes the disk refuses, archives read back, consistent copies while another
// connection writes, and restores that refuse unsafe or unsound archives and change nothing.

#include "archivehelpers.h"
#include "fixture.h"
#include "fulldisk.h"
#include "storagefaults.h"
#include "testregistry.h"

#include "backup/backuparchive.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kDatabase = QStringLiteral("Tovaskel.mdb");

// A device that takes `room` bytes and then refuses every write, as a full disk does.
class FullDevice : public QBuffer {
public:
    explicit FullDevice(qint64 room) : m_room(room) { }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (pos() + length > m_room) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, length);
    }

private:
    qint64 m_room;
};

// A second connection to the database file, as a second program instance would hold.
class OtherConnection {
public:
    explicit OtherConnection(const QString &path)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        m_db.open();
    }
    ~OtherConnection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        return q.exec(sql);
    }
    bool insertAppointment(const QString &name)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO randevu (adi, soyadi) VALUES (?, 'Kaya')"));
        q.addBindValue(name);
        return q.exec();
    }

private:
    QString m_name = QStringLiteral("other_writer");
    QSqlDatabase m_db;
};

void addAppointments(App &app, int count)
{
    app.exec(QStringLiteral("BEGIN"));
    for (int i = 0; i < count; ++i)
        app.exec(QStringLiteral("INSERT INTO randevu (adi, soyadi, adresi) VALUES (?, ?, ?)"),
            { QStringLiteral("Ad %1").arg(i), QStringLiteral("Soyad"),
                QString(200, QLatin1Char('x')) });
    app.exec(QStringLiteral("COMMIT"));
}

QString unpackDatabase(const QString &archive, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("acilan.mdb"));
    writeBytes(path, zipEntry(archive, kDatabase));
    return path;
}

} // namespace

class BackupArchiveTest : public QObject {
    Q_OBJECT

    QString dataFolder(App &app) { return app.session().database().dataFolder(); }
    QString databasePath(App &app) { return app.session().database().filePath(); }

    // Backs up `rows` appointments into an archive in `target`, then adds `more` and closes
    // the connection, as a restore needs; the archive's path, empty when the backup failed.
    QString backedUpThenChanged(App &app, QTemporaryDir &target, int rows, int more)
    {
        addAppointments(app, rows);
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        BackupWriter writer;
        if (!writer.backupDataFolder(dataFolder(app), kDatabase, archive))
            return QString();
        addAppointments(app, more);
        app.session().database().close();
        return archive;
    }

private slots:
    void backupHoldsEveryDatabaseFileUnderItsBareName()
    {
        App app;
        addAppointments(app, 3);
        QVERIFY(writeBytes(QDir(dataFolder(app)).filePath(QStringLiteral("ek.mdb")), "ek"));
        QVERIFY(writeBytes(QDir(dataFolder(app)).filePath(QStringLiteral("not.txt")), "x"));
        QVERIFY(writeBytes(
            QDir(dataFolder(app)).filePath(QStringLiteral("Tovaskel_2024.onceki")), "eski"));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("LumkarRandevu_2024_03_05.zip"));

        BackupWriter writer;
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        QCOMPARE(zipEntryNames(archive),
            QStringList({ QStringLiteral("Tovaskel.mdb"), QStringLiteral("ek.mdb") }));
        QCOMPARE(zipEntry(archive, QStringLiteral("ek.mdb")), QByteArray("ek"));
        const QString unpacked = unpackDatabase(archive, target.path());
        QCOMPARE(checkProgramDatabase(unpacked), QString());
        QCOMPARE(rowCount(unpacked, QStringLiteral("randevu")), 3);
        QCOMPARE(writer.written().size(), 2);
        QCOMPARE(filesIn(target.path()),
            QStringList(
                { QStringLiteral("LumkarRandevu_2024_03_05.zip"), QStringLiteral("acilan.mdb") }));
    }

    void sameDayArchiveIsExtendedAndItsSameNamedEntryReplaced()
    {
        App app;
        addAppointments(app, 2);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("LumkarRandevu_2024_03_05.zip"));
        QVERIFY(makeZip(archive,
            { { QStringLiteral("Tovaskel.mdb"), "eski veritabanı" },
                { QStringLiteral("notlar.txt"), "saklanır" } }));
        BackupWriter writer;
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        QCOMPARE(zipEntryNames(archive),
            QStringList({ QStringLiteral("notlar.txt"), QStringLiteral("Tovaskel.mdb") }));
        QCOMPARE(zipEntry(archive, QStringLiteral("notlar.txt")), QByteArray("saklanır"));
        QCOMPARE(rowCount(unpackDatabase(archive, target.path()), QStringLiteral("randevu")), 2);
    }

    void existingFileThatIsNoArchiveIsLeftAsItWas()
    {
        App app;
        app.openDatabase();
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("yedek.zip"));
        QVERIFY(writeBytes(archive, "bu bir zip değil"));
        BackupWriter writer;
        QVERIFY(!writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        QVERIFY2(writer.errorText().contains(QStringLiteral("zip arşivi olarak okunamadı")),
            qPrintable(writer.errorText()));
        QCOMPARE(fileBytes(archive), QByteArray("bu bir zip değil"));
        QCOMPARE(filesIn(target.path()), QStringList { QStringLiteral("yedek.zip") });
    }

    void archiveFolderThatCannotTakeTheArchive_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing folder") << "yok/alt"
                                        << "bulunamadı";
        QTest::newRow("a file where the folder should be") << "dosya"
                                                           << "bulunamadı";
    }

    void archiveFolderThatCannotTakeTheArchive()
    {
        QFETCH(QString, folder);
        QFETCH(QString, cause);
        App app;
        app.openDatabase();
        QTemporaryDir target;
        QVERIFY(writeBytes(target.filePath(QStringLiteral("dosya")), "x"));
        const QString archive = QDir(target.filePath(folder)).filePath(QStringLiteral("y.zip"));
        BackupWriter writer;
        QVERIFY(!writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        QVERIFY2(writer.errorText().contains(cause), qPrintable(writer.errorText()));
        QVERIFY(!QFile::exists(archive));
    }

    void fullDiskFailsTheBackup_data()
    {
        QTest::addColumn<qint64>("room");
        QTest::newRow("no room at all") << qint64(0);
        QTest::newRow("room for a header") << qint64(100);
        QTest::newRow("room for part of the data") << qint64(4000);
    }

    void fullDiskFailsTheBackup()
    {
        QFETCH(qint64, room);
        App app;
        addAppointments(app, 200);
        app.session().database().close();
        FullDevice disk(room);
        QVERIFY(disk.open(QIODevice::ReadWrite));
        BackupWriter writer;
        QVERIFY(!writer.writeArchive(disk, QString(), { { kDatabase, databasePath(app) } }));
        QVERIFY2(writer.errorText().contains(QLatin1String("No space left on device")),
            qPrintable(writer.errorText()));
    }

    void verifyRefusesADamagedOrCutArchive_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::newRow("a byte changed in the data") << false;
        QTest::newRow("cut short") << true;
    }

    void verifyRefusesADamagedOrCutArchive()
    {
        QFETCH(bool, cut);
        App app;
        addAppointments(app, 300);
        app.session().database().close();
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::ReadWrite));
        BackupWriter writer;
        QVERIFY(writer.writeArchive(buffer, QString(), { { kDatabase, databasePath(app) } }));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        QVERIFY(writeBytes(archive, buffer.data()));
        QVERIFY2(writer.verify(archive), qPrintable(writer.errorText()));

        QByteArray bytes = buffer.data();
        if (cut)
            bytes.truncate(bytes.size() / 2);
        else
            bytes[bytes.size() / 3] = char(bytes[bytes.size() / 3] ^ 0x5a);
        QVERIFY(writeBytes(archive, bytes));
        QVERIFY(!writer.verify(archive));
        QVERIFY(!writer.errorText().isEmpty());
    }

    void copyWhileAnotherConnectionHoldsAWriteTransaction()
    {
        App app;
        addAppointments(app, 500);
        OtherConnection other(databasePath(app));
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        for (int i = 0; i < 50; ++i)
            QVERIFY(other.insertAppointment(QStringLiteral("yazılmakta")));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        BackupWriter writer;
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        QVERIFY(other.insertAppointment(QStringLiteral("sonra")));
        QVERIFY(other.exec(QStringLiteral("COMMIT")));

        const QString unpacked = unpackDatabase(archive, target.path());
        QCOMPARE(checkProgramDatabase(unpacked), QString());
        QCOMPARE(rowCount(unpacked, QStringLiteral("randevu")), 500);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 551);
    }

    void copyWhileAnotherConnectionKeepsWriting()
    {
        App app;
        addAppointments(app, 3000);
        OtherConnection other(databasePath(app));
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        int steps = 0;
        bool writesWent = true;
        BackupWriter writer;
        // Between the steps of the copy the other connection writes a row each time and
        // commits twice; after the copy it still holds rows it has not committed.
        writer.setBetweenCopySteps([&] {
            ++steps;
            writesWent = writesWent && other.insertAppointment(QStringLiteral("adım"));
            if (steps == 2 || steps == 5)
                writesWent = writesWent && other.exec(QStringLiteral("COMMIT"))
                    && other.exec(QStringLiteral("BEGIN IMMEDIATE"));
        });
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        QVERIFY(writesWent);
        QVERIFY2(steps > 5, "the copy ended before the other connection's second commit");
        QVERIFY(other.exec(QStringLiteral("COMMIT")));

        const QString unpacked = unpackDatabase(archive, target.path());
        QCOMPARE(checkProgramDatabase(unpacked), QString());
        QCOMPARE(rowCount(unpacked, QStringLiteral("randevu")), 3005);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 3000 + steps);
    }

    // In one step (the file's bytes under the read lock): another connection's write under way
    // stays out of the copy, and that connection commits once the copy is done.
    void copyInOneStepHoldsTheLastCommittedState()
    {
        App app;
        addAppointments(app, 300);
        OtherConnection other(databasePath(app));
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QVERIFY(other.insertAppointment(QStringLiteral("yazılıyor")));
        QTemporaryDir target;
        const QString copy = target.filePath(kDatabase);
        QCOMPARE(copyDatabaseFile(databasePath(app), copy), QString());
        QVERIFY(other.exec(QStringLiteral("COMMIT")));
        QCOMPARE(checkProgramDatabase(copy), QString());
        QCOMPARE(rowCount(copy, QStringLiteral("randevu")), 300);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 301);
    }

    void restoreReplacesTheDatabaseAndKeepsTheOldOneBeside()
    {
        App app;
        addAppointments(app, 2);
        QTemporaryDir target;
        // A folder and a name with Turkish letters and a blank, as users name them.
        QVERIFY(QDir(target.path()).mkdir(QStringLiteral("Yedek Şişli")));
        const QString archive = target.filePath(QStringLiteral("Yedek Şişli/yedek ğüç.zip"));
        BackupWriter writer;
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        QCOMPARE(filesIn(target.filePath(QStringLiteral("Yedek Şişli"))),
            QStringList { QStringLiteral("yedek ğüç.zip") });
        addAppointments(app, 5);
        app.session().database().close();
        const QByteArray before = fileBytes(databasePath(app));

        DatabaseRestore restore(dataFolder(app), kDatabase);
        QVERIFY2(restore.prepare(archive), qPrintable(restore.errorText()));
        QCOMPARE(fileBytes(databasePath(app)), before); // nothing touched yet
        const QDateTime now(QDate(2024, 3, 5), QTime(14, 30, 7));
        QVERIFY2(restore.replace(now), qPrintable(restore.errorText()));

        QCOMPARE(restore.keptCopyPath(),
            QDir(dataFolder(app)).filePath(QStringLiteral("Tovaskel_2024_03_05_14_30_07.onceki")));
        QCOMPARE(fileBytes(restore.keptCopyPath()), before);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 2);
        // The persons' search index was left out of the archive; the first opening makes it.
        const QString searchIndex = QStringLiteral("sqlite_master WHERE name = 'siciltablo_ara'");
        QCOMPARE(rowCount(restore.keptCopyPath(), searchIndex), 1);
        QCOMPARE(rowCount(databasePath(app), searchIndex), 0);
        QVERIFY(app.session().database().open());
        app.session().database().close();
        QCOMPARE(rowCount(databasePath(app), searchIndex), 1);
        QCOMPARE(filesIn(dataFolder(app)),
            QStringList({ QStringLiteral("Tovaskel.mdb"),
                QStringLiteral("Tovaskel_2024_03_05_14_30_07.onceki") }));

        // A second restore in the same second keeps both earlier states.
        QVERIFY(restore.prepare(archive));
        QVERIFY(restore.replace(now));
        QCOMPARE(QFileInfo(restore.keptCopyPath()).fileName(),
            QStringLiteral("Tovaskel_2024_03_05_14_30_07_2.onceki"));
    }

    // A backup made before the reminder log existed restores, and gets the log when opened.
    void anOlderBackupWithoutTheReminderLogRestores()
    {
        App app;
        app.exec(QStringLiteral("DROP TABLE hatirlatma"));
        QTemporaryDir target;
        const QString archive = backedUpThenChanged(app, target, 3, 1);
        QVERIFY(!archive.isEmpty());
        DatabaseRestore restore(dataFolder(app), kDatabase);
        QVERIFY2(restore.prepare(archive), qPrintable(restore.errorText()));
        QVERIFY2(restore.replace(QDateTime::currentDateTime()), qPrintable(restore.errorText()));
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("hatirlatma")), -1);
        QVERIFY(app.session().database().open());
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 3);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("hatirlatma")), 0);
    }

    void restoreRepairsADamagedDatabase()
    {
        App app;
        addAppointments(app, 3);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        BackupWriter writer;
        QVERIFY(writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        app.session().database().close();
        const QByteArray damaged(64 * 1024, '\x5a');
        QVERIFY(writeBytes(databasePath(app), damaged));

        DatabaseRestore restore(dataFolder(app), kDatabase);
        QVERIFY2(restore.prepare(archive), qPrintable(restore.errorText()));
        QVERIFY2(restore.replace(QDateTime::currentDateTime()), qPrintable(restore.errorText()));
        QCOMPARE(fileBytes(restore.keptCopyPath()), damaged);
        QCOMPARE(checkProgramDatabase(databasePath(app)), QString());
        QVERIFY(app.session().database().open());
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 3);
    }

    void refusedArchivesChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        QTest::newRow("foreign zip") << "foreign"
                                     << "veritabanı dosyası yok";
        QTest::newRow("entry ../x.mdb") << "dotdot"
                                        << "klasör ya da yol";
        QTest::newRow("absolute entry") << "absolute"
                                        << "klasör ya da yol";
        QTest::newRow("entry in a folder") << "folder"
                                           << "klasör ya da yol";
        QTest::newRow("backslash entry") << "backslash"
                                         << "klasör ya da yol";
        QTest::newRow("truncated archive") << "truncated"
                                           << "zip arşivi olarak okunamadı";
        QTest::newRow("damaged data") << "damaged"
                                      << "";
        QTest::newRow("not a database") << "text"
                                        << "bir veritabanı değil";
        QTest::newRow("a database of another program") << "otherdb"
                                                       << "tablosu yok";
        QTest::newRow("no file at all") << "missing"
                                        << "okunamadı";
    }

    void refusedArchivesChangeNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        App app;
        addAppointments(app, 400);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        BackupWriter writer;
        QVERIFY(writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        const QByteArray good = zipEntry(archive, kDatabase);
        QVERIFY(!good.isEmpty());

        if (kind == QLatin1String("foreign")) {
            QVERIFY(makeZip(archive, { { QStringLiteral("resim.png"), "png" } }));
        } else if (kind == QLatin1String("dotdot")) {
            QVERIFY(
                makeZip(archive, { { kDatabase, good }, { QStringLiteral("../x.mdb"), good } }));
        } else if (kind == QLatin1String("absolute")) {
            QVERIFY(makeZip(archive, { { QStringLiteral("/tmp/Tovaskel.mdb"), good } }));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(makeZip(archive, { { QStringLiteral("AnaData/Tovaskel.mdb"), good } }));
        } else if (kind == QLatin1String("backslash")) {
            QVERIFY(makeZip(archive, { { QStringLiteral("..\\Tovaskel.mdb"), good } }));
        } else if (kind == QLatin1String("truncated")) {
            const QByteArray bytes = fileBytes(archive);
            QVERIFY(writeBytes(archive, bytes.left(bytes.size() / 2)));
        } else if (kind == QLatin1String("damaged")) {
            QByteArray bytes = fileBytes(archive);
            for (int i = 200; i < 260; ++i)
                bytes[i] = char(bytes[i] ^ 0x33);
            QVERIFY(writeBytes(archive, bytes));
        } else if (kind == QLatin1String("text")) {
            QVERIFY(makeZip(archive, { { kDatabase, QByteArray(8192, 'a') } }));
        } else if (kind == QLatin1String("otherdb")) {
            const QString other = target.filePath(QStringLiteral("baska.db"));
            {
                QSqlDatabase db
                    = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("baska"));
                db.setDatabaseName(other);
                QVERIFY(db.open());
                QSqlQuery(db).exec(QStringLiteral("CREATE TABLE kisi (ad TEXT)"));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("baska"));
            QVERIFY(makeZip(archive, { { kDatabase, fileBytes(other) } }));
        } else if (kind == QLatin1String("missing")) {
            QFile::remove(archive);
        }

        app.session().database().close();
        const QByteArray before = fileBytes(databasePath(app));
        const QStringList filesBefore = filesIn(dataFolder(app));
        DatabaseRestore restore(dataFolder(app), kDatabase);
        QVERIFY(!restore.prepare(archive));
        QVERIFY2(restore.errorText().contains(cause), qPrintable(restore.errorText()));
        QVERIFY(!restore.replace(QDateTime::currentDateTime()));
        QCOMPARE(fileBytes(databasePath(app)), before);
        QCOMPARE(filesIn(dataFolder(app)), filesBefore);
        QVERIFY(!QFile::exists(target.filePath(QStringLiteral("x.mdb"))));
    }

    void restoreMeetsWritersAndArchivesTheDiskCannotTake_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("room"); // KiB a file may grow to while unpacking; -1: no limit
        QTest::addColumn<QString>("cause"); // of the refusal; empty: the restore goes through
        QTest::newRow("another program writing") << "live" << -1 << "başka bir program";
        QTest::newRow("killed before its write reached the file") << "early" << -1 << "";
        QTest::newRow("killed after its write reached the file") << "late" << -1 << "";
        QTest::newRow("inflates past its stated size")
            << "deflated bomb" << 8192 << "arşivde yazan boyutundan";
        QTest::newRow("stored data past its stated size")
            << "stored bomb" << 2048 << "arşivde yazan boyutundan";
        QTest::newRow("states more than any disk") << "huge" << 0 << "diskte yer yetmiyor";
        QTest::newRow("disk full while unpacking") << "" << 0 << "diskte yer kalmadı";
    }

    void restoreMeetsWritersAndArchivesTheDiskCannotTake()
    {
        QFETCH(QString, kind);
        QFETCH(int, room);
        QFETCH(QString, cause);
        App app;
        app.openDatabase();
        app.session().database().close();
        addPersons(databasePath(app), 400);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        QVERIFY(BackupWriter().backupDataFolder(dataFolder(app), kDatabase, archive));
        app.exec(QStringLiteral("INSERT INTO genelnot (\"not\") VALUES ('yedekten sonra')"));
        app.session().database().close();
        OtherConnection other(databasePath(app));
        if (kind == QLatin1String("live"))
            QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE"))
                && other.insertAppointment(QStringLiteral("yazılmakta")));
        if (kind == QLatin1String("early") || kind == QLatin1String("late"))
            QVERIFY(leaveKilledWrite(databasePath(app), kind == QLatin1String("late")));
        const QByteArray zeros(kind == QLatin1String("deflated bomb") ? 48 << 20 : 3 << 20, '\0');
        if (kind.endsWith(QLatin1String("bomb")))
            QVERIFY(makeZipStating(archive, kDatabase,
                kind.startsWith(QLatin1Char('d')) ? rawDeflate(zeros) : zeros,
                kind.startsWith(QLatin1Char('d')), 1 << 20));
        if (kind == QLatin1String("huge"))
            QVERIFY(makeZipStating(archive, kDatabase, rawDeflate("x"), true, ~quint64(0)));
        const QByteArray before = fileBytes(databasePath(app));
        const QStringList filesBefore = filesIn(dataFolder(app));

        DatabaseRestore restore(dataFolder(app), kDatabase);
        std::optional<FullDisk> disk;
        if (room >= 0)
            disk.emplace(rlim_t(room) << 10);
        const bool prepared = restore.prepare(archive);
        disk.reset();
        const bool replaced = prepared && restore.replace(QDateTime::currentDateTime());
        QCOMPARE(replaced, cause.isEmpty());
        if (!replaced) {
            QVERIFY2(restore.errorText().contains(cause), qPrintable(restore.errorText()));
            QCOMPARE(fileBytes(databasePath(app)), before);
            QCOMPARE(filesIn(dataFolder(app)), filesBefore); // a writer's journal stays its own
            return;
        }
        QCOMPARE(filesIn(dataFolder(app)).size(), 2); // the database and the kept one
        // The file kept aside holds what was committed, without the killed write.
        QCOMPARE(rowCount(restore.keptCopyPath(), QStringLiteral("genelnot")), 1);
        QCOMPARE(rowCount(restore.keptCopyPath(),
                     QStringLiteral("siciltablo WHERE isadresi LIKE '%yarım'")),
            0);
    }

    void restorePutsBackEveryDatabaseFileInOneSwap()
    {
        App app;
        addAppointments(app, 3);
        const QDir data(dataFolder(app));
        QVERIFY(writeBytes(data.filePath(QStringLiteral("ek.mdb")), "ek, yedekteki"));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        // The archive the backup extends also holds a database file the data folder no longer
        // has, and a note that is no database file.
        QVERIFY(makeZip(archive,
            { { QStringLiteral("eski.mdb"), "eski" }, { QStringLiteral("notlar.txt"), "not" } }));
        QVERIFY(BackupWriter().backupDataFolder(data.path(), kDatabase, archive));
        addAppointments(app, 2);
        QVERIFY(writeBytes(data.filePath(QStringLiteral("ek.mdb")), "ek, sonra"));
        app.session().database().close();

        DatabaseRestore restore(data.path(), kDatabase);
        const QDateTime now(QDate(2024, 3, 5), QTime(9, 15));
        QVERIFY(restore.prepare(archive) && restore.replace(now));
        const QString kept = data.filePath(QStringLiteral("ek_2024_03_05_09_15_00.onceki"));
        QCOMPARE(restoreDoneText(restore.restored(), restore.leftAside()),
            "Yedekten geri yükleme tamamlandı.\n\rGeri yüklenen dosyalar: Tovaskel.mdb, eski.mdb, "
            "ek.mdb.\n\rGeri yüklemeden önceki bilgiler şu dosyalarda saklandı: \""
                + data.filePath(QStringLiteral("Tovaskel_2024_03_05_09_15_00.onceki")) + "\", \""
                + kept
                + "\".\n\rArşivdeki şu dosyalar veritabanı dosyası olmadığından geri "
                  "yüklenmedi: notlar.txt.");
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 3);
        QCOMPARE(rowCount(restore.keptCopyPath(), QStringLiteral("randevu")), 5);
        QCOMPARE(fileBytes(data.filePath(QStringLiteral("ek.mdb"))), QByteArray("ek, yedekteki"));
        QCOMPARE(fileBytes(kept), QByteArray("ek, sonra"));

        // A file that cannot be swapped puts back the ones swapped before it.
        QVERIFY(QFile::remove(data.filePath(QStringLiteral("ek.mdb"))));
        QVERIFY(data.mkdir(QStringLiteral("ek.mdb")));
        const QStringList filesBefore = filesIn(data.path());
        const QByteArray databaseBefore = fileBytes(databasePath(app));
        QVERIFY(restore.prepare(archive));
        QVERIFY(!restore.replace(now.addSecs(60)));
        QCOMPARE(fileBytes(databasePath(app)), databaseBefore);
        QCOMPARE(filesIn(data.path()), filesBefore);
    }

    void fullDiskDuringABackupIsNamed_data()
    {
        QTest::addColumn<int>("room"); // KiB a file may grow to during the backup
        QTest::newRow("no room for the copy of the database") << 0;
        QTest::newRow("no room for the entry kept from the archive") << 1500;
        QTest::newRow("room for part of the kept entry") << 2900;
    }

    void fullDiskDuringABackupIsNamed()
    {
        QFETCH(int, room);
        App app;
        addAppointments(app, 300);
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        // The same day's archive holds 3 MB that do not pack: extending it needs room.
        QByteArray noise(3 << 20, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QVERIFY(makeZip(archive, { { QStringLiteral("ek.bin"), noise } }));
        const QByteArray before = fileBytes(archive);
        BackupWriter writer;
        {
            const FullDisk disk(rlim_t(room) << 10);
            QVERIFY(!writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        }
        const QString full = QDir::toNativeSeparators(room ? target.path() : QDir::tempPath());
        QVERIFY2(writer.errorText().startsWith("diskte yer kalmadı; \"" + full + '"'),
            qPrintable(writer.errorText()));
        QCOMPARE(fileBytes(archive), before);
        QCOMPARE(filesIn(target.path()), QStringList { QStringLiteral("y.zip") });
    }

    void copyOfABackupIsNamedForTheSweepAtStart()
    {
        App app;
        addAppointments(app, 300);
        const QString copies = "Tovaskel.mdb.lumkar-" + QString::number(qApp->applicationPid());
        QStringList seen;
        BackupWriter writer;
        writer.setBetweenCopySteps([&] { seen = QDir::temp().entryList({ copies + "-kopya.*" }); });
        QTemporaryDir target;
        QVERIFY(writer.backupDataFolder(dataFolder(app), kDatabase, target.filePath("y.zip")));
        QCOMPARE(seen.size(), 1);
        QVERIFY(QDir::temp().entryList({ copies + '*' }).isEmpty());
    }

    void cancelledBackupLeavesNoFileAndTheOldArchiveAsItWas_data()
    {
        QTest::addColumn<QString>("label"); // cancel once the display shows this
        QTest::addColumn<int>("value"); // or once it reaches this
        QTest::newRow("during the copy") << "kopyası alınıyor" << -1;
        QTest::newRow("at the start of the packing") << "sıkıştırılıyor" << -1;
        QTest::newRow("in the middle of the packing") << "" << kBackupProgressMaximum / 2;
        QTest::newRow("during the read-back") << "denetleniyor" << -1;
        QTest::newRow("at the end of the read-back") << "" << kBackupProgressMaximum;
    }

    void cancelledBackupLeavesNoFileAndTheOldArchiveAsItWas()
    {
        QFETCH(QString, label);
        QFETCH(int, value);
        App app;
        addAppointments(app, 12000); // several blocks of data to pack
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("LumkarRandevu_2024_03_05.zip"));
        QVERIFY(makeZip(archive, { { kDatabase, "önceki yedek" } }));
        const QByteArray before = fileBytes(archive);

        ScriptedDialogs dialogs;
        if (label.isEmpty())
            dialogs.cancelProgressAt(value);
        else
            dialogs.cancelProgressWhen(label);
        const auto progress
            = dialogs.startProgress(QStringLiteral("Yedek"), kBackupProgressMaximum);
        BackupWriter writer;
        writer.setProgress(progress.get());
        QVERIFY(!writer.backupDataFolder(dataFolder(app), kDatabase, archive));
        QVERIFY2(writer.canceled(), qPrintable(writer.errorText()));
        QVERIFY(progress->wasCanceled());
        QCOMPARE(
            filesIn(target.path()), QStringList { QStringLiteral("LumkarRandevu_2024_03_05.zip") });
        QCOMPARE(fileBytes(archive), before);
        // No copy of the database stays behind either.
        QCOMPARE(filesIn(dataFolder(app)), QStringList { kDatabase });

        // Without a cancel the same backup goes through.
        BackupWriter again;
        QVERIFY2(again.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(again.errorText()));
        QVERIFY(!again.canceled());
        QCOMPARE(
            rowCount(unpackDatabase(archive, target.path()), QStringLiteral("randevu")), 12000);
    }

    void backupProgressRisesThroughEveryPartToTheMaximum()
    {
        App app;
        addAppointments(app, 12000);
        // A second database file: the display keeps rising from one entry to the next.
        QVERIFY(writeBytes(QDir(dataFolder(app)).filePath(QStringLiteral("ek.mdb")),
            QByteArray(3 << 20, 'e')));
        QTemporaryDir target;
        const QString archive = target.filePath(QStringLiteral("y.zip"));
        ScriptedDialogs dialogs;
        const auto progress
            = dialogs.startProgress(QStringLiteral("Yedek"), kBackupProgressMaximum);
        BackupWriter writer;
        writer.setProgress(progress.get());
        QVERIFY2(writer.backupDataFolder(dataFolder(app), kDatabase, archive),
            qPrintable(writer.errorText()));
        const ShownProgress &shown = dialogs.progress().first();
        QVERIFY(std::is_sorted(shown.values.begin(), shown.values.end()));
        QCOMPARE(shown.values.first(), 0);
        QCOMPARE(shown.values.last(), kBackupProgressMaximum);
        // The packing reports block by block, not only at its ends.
        const auto packing = std::count_if(
            shown.values.begin(), shown.values.end(), [](int v) { return v > 150 && v < 850; });
        QVERIFY2(packing >= 3, qPrintable(QString::number(packing)));
        const QString labels = shown.labels.join(QLatin1Char('|'));
        for (const char *part : { "kopyası alınıyor", "sıkıştırılıyor", "denetleniyor" })
            QVERIFY2(labels.contains(QString::fromUtf8(part)), qPrintable(labels));
        QVERIFY(!progress->wasCanceled());
    }

    void cancelledRestoreLeavesTheDatabaseAndNoUnpackedFile_data()
    {
        QTest::addColumn<QString>("label");
        QTest::newRow("during the unpacking") << "açılıyor";
        QTest::newRow("during the check") << "veritabanı denetleniyor";
    }

    void cancelledRestoreLeavesTheDatabaseAndNoUnpackedFile()
    {
        QFETCH(QString, label);
        App app;
        QTemporaryDir target;
        const QString archive = backedUpThenChanged(app, target, 3000, 7);
        QVERIFY(!archive.isEmpty());
        const QByteArray before = fileBytes(databasePath(app));

        ScriptedDialogs dialogs;
        dialogs.cancelProgressWhen(label);
        const auto progress = dialogs.startProgress(QStringLiteral("Geri"), kBackupProgressMaximum);
        DatabaseRestore restore(dataFolder(app), kDatabase);
        restore.setProgress(progress.get());
        QVERIFY(!restore.prepare(archive));
        QVERIFY2(restore.canceled(), qPrintable(restore.errorText()));
        QVERIFY(!restore.replace(QDateTime::currentDateTime()));
        QCOMPARE(fileBytes(databasePath(app)), before);
        QCOMPARE(filesIn(dataFolder(app)), QStringList { kDatabase });
    }

    void theSwapOfARestoreCannotBeCancelled()
    {
        App app;
        QTemporaryDir target;
        const QString archive = backedUpThenChanged(app, target, 20, 5);
        QVERIFY(!archive.isEmpty());

        ScriptedDialogs dialogs;
        dialogs.cancelProgressWhen(QStringLiteral("yerine konuyor"));
        const auto progress = dialogs.startProgress(QStringLiteral("Geri"), kBackupProgressMaximum);
        DatabaseRestore restore(dataFolder(app), kDatabase);
        restore.setProgress(progress.get());
        QVERIFY2(restore.prepare(archive), qPrintable(restore.errorText()));
        QVERIFY(restore.replace(QDateTime::currentDateTime()));
        const ShownProgress &shown = dialogs.progress().first();
        QCOMPARE(shown.cancelEnabled, QVector<bool> { false });
        QVERIFY(!shown.canceled);
        QVERIFY(std::is_sorted(shown.values.begin(), shown.values.end()));
        QCOMPARE(shown.values.last(), kBackupProgressMaximum);
        QCOMPARE(rowCount(databasePath(app), QStringLiteral("randevu")), 20);
    }

    void indexThatDisagreesWithItsTableFailsTheCheck()
    {
        // The file's pages are sound, but an index holds other values than its rows: only
        // the check of the rows against the indexes finds it.
        App app;
        addAppointments(app, 300);
        app.session().database().close();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(
                QStringLiteral("QSQLITE"), QStringLiteral("schema_edit"));
            db.setDatabaseName(databasePath(app));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA writable_schema = ON")));
            QVERIFY(q.exec(QStringLiteral(
                "UPDATE sqlite_master SET sql = 'CREATE INDEX randevu_gun ON randevu (adi, "
                "soyadi)' WHERE name = 'randevu_gun'")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("schema_edit"));
        const QString cause = checkProgramDatabase(databasePath(app));
        QVERIFY2(
            cause.contains(QStringLiteral("bütünlük denetiminden geçmedi")), qPrintable(cause));
    }

    void checkAsksWhetherToGoOnAndStopsWhenTold()
    {
        App app;
        addAppointments(app, 300);
        app.session().database().close();
        // Each time it asks, it tells how many pieces of the check are done, up to all of them.
        QVector<int> done;
        int pieces = 0;
        const auto asked = [&](int piecesDone, int total) {
            done.append(piecesDone);
            pieces = total;
            return true;
        };
        QCOMPARE(checkProgramDatabase(databasePath(app), asked), QString());
        QVERIFY(pieces > 1);
        QVERIFY(std::is_sorted(done.begin(), done.end()));
        QCOMPARE(done.last(), pieces);
        const QString stopped
            = checkProgramDatabase(databasePath(app), [](int, int) { return false; });
        QVERIFY2(stopped.contains(QStringLiteral("yarıda bırakıldı")), qPrintable(stopped));
    }

    void bareNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bare");
        QTest::newRow("database") << "Tovaskel.mdb" << true;
        QTest::newRow("Turkish letters") << "Yedek_şğü.mdb" << true;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("parent path") << "../x.mdb" << false;
        QTest::newRow("folder") << "a/Tovaskel.mdb" << false;
        QTest::newRow("folder entry") << "a/" << false;
        QTest::newRow("absolute") << "/Tovaskel.mdb" << false;
        QTest::newRow("Windows path") << "C:\\Tovaskel.mdb" << false;
        QTest::newRow("drive only") << "C:Tovaskel.mdb" << false;
        QTest::newRow("empty") << "" << false;
    }

    void bareNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, bare);
        QCOMPARE(DatabaseRestore::isBareName(name), bare);
    }
};

LUMKAR_FILE_TEST(BackupArchiveTest)
#include "tst_backuparchive.moc"
