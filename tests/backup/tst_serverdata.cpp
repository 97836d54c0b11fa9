// A desk's data onto the server and archives onto and from the server: the question naming the
// server's rows (No writes nothing), the desk's file or archive arriving table by table, the
// backup window's archive of the server holding the server's rows as a database file, and a
// restore refused while another desk is connected, else kept in a safety archive first.

#include "archivehelpers.h"
#include "fixture.h"
#include "tabledump.h"
#include "testregistry.h"

#include "backup/backuparchive.h"
#include "backup/backuprules.h"
#include "backup/girisR.h"
#include "backup/serverdata.h"
#include "data/tablecopy.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// The rows of an archive's database file, unpacked into `folder`.
TableDump archiveDump(const QString &archive, const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("acilan.mdb"));
    QFile::remove(path);
    writeBytes(path, zipEntry(archive, QStringLiteral("Tovaskel.mdb")));
    if (!checkProgramDatabase(path).isEmpty())
        return {};
    FileConnection file(path, true);
    return file.open() ? dumpTables(file.db()) : TableDump();
}

qlonglong rowsIn(const TableDump &dump)
{
    qlonglong rows = 0;
    for (const auto &table : dump)
        rows += table.size();
    return rows;
}

} // namespace

class ServerDataTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!usesServer())
            QSKIP("the server pass moves data onto a server");
    }

    void movingADeskOntoTheServer_data()
    {
        QTest::addColumn<bool>("archive"); // else the database file itself
        QTest::addColumn<bool>("serverHasRows"); // else only what its first start wrote
        QTest::addColumn<bool>("yes"); // the answer to the question
        QTest::newRow("file onto a new server: nothing to ask") << false << false << true;
        QTest::newRow("archive over the server's rows, Yes") << true << true << true;
        QTest::newRow("file over the server's rows, No") << false << true << false;
    }

    void movingADeskOntoTheServer()
    {
        QFETCH(bool, archive);
        QFETCH(bool, serverHasRows);
        QFETCH(bool, yes);
        const Answer answer = yes ? Answer::Yes : Answer::No;
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Tovaskel.mdb"));
        TableDump desk;
        {
            App made;
            fillEveryTable(made.db(), 3);
            desk = dumpTables(made.db());
            QVERIFY(copyIntoNewFile(made.db(), file).ok);
        }
        QString picked = file;
        if (archive) {
            picked = folder.filePath(QStringLiteral("masa.zip"));
            BackupWriter writer;
            QVERIFY2(writer.backupDataFolder(folder.path(), QStringLiteral("Tovaskel.mdb"), picked),
                qPrintable(writer.errorText()));
        }
        App server;
        if (serverHasRows)
            fillEveryTable(server.db(), 2, 1);
        const TableDump before = dumpTables(server.db());
        server.dialogs.expectFile(picked);
        if (serverHasRows)
            server.dialogs.expectQuestion(answer);
        server.dialogs.expectNotice(answer == Answer::Yes ? 1 : 0);
        const bool moved
            = moveDeskDataToServer(server.session().database(), server.dialogs, folder.path());
        QCOMPARE(moved, answer == Answer::Yes);
        QVERIFY(server.dialogs.allConsumed());
        if (serverHasRows)
            QCOMPARE(server.dialogs.shown().at(1).text,
                QStringLiteral("Sunucudaki veritabanında %1 satır var. Bu satırlar silinip "
                               "yerine masaüstü verisi yazılsın mı?")
                    .arg(rowsIn(before)));
        if (!moved) {
            QCOMPARE(firstDifference(before, dumpTables(server.db())), QString());
            return;
        }
        QCOMPARE(firstDifference(desk, dumpTables(server.db())), QString());
        QVERIFY2(server.dialogs.lastText().startsWith(
                     QStringLiteral("Masaüstü verisi sunucuya taşındı.\n\rrandevu: %1 satır\n")
                         .arg(desk.value(QStringLiteral("randevu")).size())),
            qPrintable(server.dialogs.lastText()));
        for (const ShownDialog &shown : server.dialogs.shown())
            QVERIFY(!shown.underProgress);
    }

    void backupAndRestoreThroughTheBackupWindow()
    {
        QTemporaryDir folder;
        const QString archive = folder.filePath(QStringLiteral("sunucu.zip"));
        TableDump deskRows;
        {
            // A server desk's backup: the server's rows as the program's database file.
            App desk;
            fillEveryTable(desk.db(), 3, 1);
            deskRows = dumpTables(desk.db());
            desk.dialogs.expectFile(archive);
            desk.dialogs.expectNotice();
            desk.forms().girisRF->TumunuYedekle();
            QCOMPARE(desk.dialogs.lastText(),
                QStringLiteral("Yedekleme işlemi başarılı\n\rbir şekilde gerçekleştirildi."));
            QCOMPARE(firstDifference(deskRows, archiveDump(archive, folder.path())), QString());
        }

        App server;
        fillEveryTable(server.db(), 2);
        const TableDump before = dumpTables(server.db());
        TgirisRF *window = server.forms().girisRF;
        QVERIFY(!window->sunucuyaTasiBut->isHidden());
        const QString safetyFolder = QDir(server.folder()).filePath(QStringLiteral("Yedek"));
        QSignalSpy replaced(window, &TgirisRF::databaseReplaced);
        {
            Database other(server.folder());
            QVERIFY(other.open());
            server.dialogs.expectQuestion(Answer::Yes);
            server.dialogs.expectFile(archive);
            server.dialogs.expectNotice();
            QTest::mouseClick(window->JvXPButton7, Qt::LeftButton);
            QCOMPARE(server.dialogs.shown().last().kind, QStringLiteral("error"));
            QVERIFY2(
                server.dialogs.lastText().contains(QStringLiteral("şu anda 1 başka masa bağlı")),
                qPrintable(server.dialogs.lastText()));
            QVERIFY(server.dialogs.lastText().endsWith(QStringLiteral("değişmedi.")));
        }
        QCOMPARE(replaced.count(), 0);
        QCOMPARE(firstDifference(before, dumpTables(server.db())), QString());
        QCOMPARE(filesIn(safetyFolder), QStringList());

        // The other desk has gone (its server process ends a moment after it closed).
        QTRY_COMPARE_WITH_TIMEOUT(server.session().database().otherConnections(), 0, 10000);
        server.dialogs.clear();
        server.dialogs.expectQuestion(Answer::Yes);
        server.dialogs.expectFile(archive);
        server.dialogs.expectNotice();
        QTest::mouseClick(window->JvXPButton7, Qt::LeftButton);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(firstDifference(deskRows, dumpTables(server.db())), QString());
        const QStringList kept = filesIn(safetyFolder);
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.first().startsWith(QStringLiteral("LumkarRandevu_GeriYuklemeOncesi_")));
        const QString safety = QDir(safetyFolder).filePath(kept.first());
        QCOMPARE(firstDifference(before, archiveDump(safety, folder.path())), QString());
        QVERIFY2(server.dialogs.lastText().startsWith(
                     restoreDoneText({ { QStringLiteral("Tovaskel.mdb"), safety } }, {})),
            qPrintable(server.dialogs.lastText()));
    }
};

LUMKAR_TEST(ServerDataTest)
#include "tst_serverdata.moc"
