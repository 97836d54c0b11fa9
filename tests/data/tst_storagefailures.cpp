// Reads and writes when the storage underneath fails: a damaged page, another program's lock.
// A failed read is told once per action, shows no part of the rows as if it were all, keeps
// a list on screen as it was, and no write reaches a damaged file.

#include "storagefaults.h"
#include "testregistry.h"

#include "data/database.h"
#include "data/dataset.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// A database in a temporary folder whose failures are collected instead of shown.
struct Store {
    QTemporaryDir dir;
    std::unique_ptr<Database> database;
    QStringList told;

    explicit Store(int persons = 0)
    {
        {
            Database made(dir.path());
            if (!made.open())
                qFatal("%s", qPrintable(made.errorText()));
        }
        if (persons > 0)
            addPersons(path(), persons);
        reopenDatabase();
    }
    QString path() const { return QDir(dir.path()).filePath(QStringLiteral("AnaData/Tovaskel.mdb")); }
    void reopenDatabase()
    {
        database = std::make_unique<Database>(dir.path());
        database->setFailureHandler([this](const QString &text) { told << text; });
        if (!database->open())
            qFatal("%s", qPrintable(database->errorText()));
    }
    int count(const QString &sql)
    {
        QSqlQuery q(database->db());
        return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
    }
};

// What ends one action: control returns to the event loop.
void endAction()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

const QString kLocked = QStringLiteral("Veritabanı başka bir program tarafından kullanılıyor; "
                                       "işlem yapılamadı. Biraz bekleyip yeniden deneyin.");

} // namespace

class StorageFailureTest : public QObject {
    Q_OBJECT
private slots:
    void damagedPageShowsNoPartOfTheRows()
    {
        Store store(3000);
        store.database->close();
        QVERIFY(damagePageHolding(store.path(), personAddressMarker(2000)));
        store.reopenDatabase();

        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        QVERIFY(!persons.open());
        QVERIFY(!persons.isOpen());
        QCOMPARE(persons.recordCount(), 0);
        QVERIFY(!persons.locate(QStringLiteral("sicil_kodu"), QStringLiteral("10")));
        QCOMPARE(store.told.size(), 1);
        QVERIFY2(store.told.first().startsWith(QStringLiteral("Veritabanı dosyası bozuk")),
                 qPrintable(store.told.first()));
        QVERIFY(store.told.first().contains(QStringLiteral("malformed")));
        QVERIFY(store.database->isDamaged());
        QVERIFY(persons.lastError().text().startsWith(QStringLiteral("Veritabanı dosyası bozuk")));
    }

    void damagedFileTakesNoWrite()
    {
        Store store(3000);
        store.database->close();
        QVERIFY(damagePageHolding(store.path(), personAddressMarker(2500)));
        store.reopenDatabase();
        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        QVERIFY(!persons.open());

        // A table that is still readable refuses new rows once the file is known damaged.
        DataSet notes(store.database->db());
        notes.setTable(QStringLiteral("genelnot"));
        QVERIFY(notes.open());
        notes.append();
        notes.setValue(QStringLiteral("not"), QStringLiteral("yazılmamalı"));
        QVERIFY(!notes.post());
        QVERIFY(notes.lastError().text().contains(QStringLiteral("kayıt yapılmadı")));
        QCOMPARE(store.count(QStringLiteral("SELECT count(*) FROM genelnot")), 0);

        // Opened again (after a restore, say), the file is trusted until the next failure.
        store.database->close();
        store.reopenDatabase();
        QVERIFY(!store.database->isDamaged());
    }

    void lockIsToldOncePerActionAndListsKeepTheirRows()
    {
        Store store(5);
        QWidget window;
        window.show();
        DataSet first(store.database->db());
        first.setTable(QStringLiteral("siciltablo"));
        first.setOwnerWindow(&window);
        DataSet second(store.database->db());
        second.setTable(QStringLiteral("siciltablo"));
        second.setOwnerWindow(&window);
        QVERIFY(first.open() && second.open());
        QCOMPARE(first.recordCount(), 5);

        WriteLock lock(store.path());
        QVERIFY(!first.reopen());
        QVERIFY(!second.reopen());
        QCOMPARE(store.told, QStringList{kLocked});
        // The rows on screen are those read before the lock, all of them.
        QVERIFY(first.isOpen() && second.isOpen());
        QCOMPARE(first.recordCount(), 5);
        QCOMPARE(second.recordCount(), 5);

        endAction();
        QVERIFY(!first.reopen()); // a new action is told again
        QCOMPARE(store.told.size(), 2);

        endAction();
        lock.release();
        QVERIFY(first.reopen());
        QCOMPARE(first.recordCount(), 5);
        QCOMPARE(store.told.size(), 2);
    }

    void changedQueryIsNotShownWithOldRows()
    {
        // Reading another day or filter that fails must not leave the old rows standing as if
        // they were the new ones.
        Store store(5);
        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        QVERIFY(persons.open());
        persons.setPrefilter(QStringLiteral("sicil_kodu = ?"), {QStringLiteral("3")});
        WriteLock lock(store.path());
        QVERIFY(!persons.reopen());
        QVERIFY(!persons.isOpen());
        QCOMPARE(persons.recordCount(), 0);
        endAction();
        lock.release();
        QVERIFY(persons.reopen());
        QCOMPARE(persons.recordCount(), 1);
    }

    void deferredReadThatFailsIsTriedAgain()
    {
        Store store(5);
        QWidget window; // hidden: the read waits for it
        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        persons.setOwnerWindow(&window);
        QVERIFY(persons.open());
        {
            WriteLock lock(store.path());
            QVERIFY(!persons.readNow());
            QVERIFY(!persons.isOpen());
            QCOMPARE(store.told.size(), 1);
            endAction();
        }
        QVERIFY(persons.open());
        QVERIFY(persons.readNow());
        QCOMPARE(persons.recordCount(), 5);
    }

    void lockedWriteIsRefusedInTurkishAndKeepsTheTyping()
    {
        Store store(1);
        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        QVERIFY(persons.open());
        persons.edit();
        persons.setValue(QStringLiteral("adi"), QStringLiteral("Yeni Ad"));
        WriteLock lock(store.path());
        QVERIFY(!persons.post());
        QCOMPARE(persons.lastError().text(), kLocked);
        QVERIFY(persons.isEditing());
        QCOMPARE(persons.text(QStringLiteral("adi")), QStringLiteral("Yeni Ad"));
        QVERIFY(store.told.isEmpty()); // the window that wrote tells it
        endAction();
        lock.release();
        QVERIFY(persons.post());
        QCOMPARE(store.count(QStringLiteral("SELECT count(*) FROM siciltablo WHERE adi = "
                                            "'Yeni Ad'")),
                 1);
    }

    void silencedFailuresAreNotTold()
    {
        Store store(1);
        DataSet persons(store.database->db());
        persons.setTable(QStringLiteral("siciltablo"));
        WriteLock lock(store.path());
        {
            const Database::Silence silence(*store.database, true);
            QVERIFY(!persons.open());
        }
        QVERIFY(store.told.isEmpty());
        endAction();
        QVERIFY(!persons.open());
        QCOMPARE(store.told.size(), 1);
    }

    void openingSettlesAJournalLeftByAKilledWrite_data()
    {
        QTest::addColumn<bool>("reachedFile");
        QTest::newRow("killed before its write reached the file") << false;
        QTest::newRow("killed after its write reached the file") << true;
    }

    void openingSettlesAJournalLeftByAKilledWrite()
    {
        QFETCH(bool, reachedFile);
        Store store(400);
        store.database->close();
        const QString journal = store.path() + QStringLiteral("-journal");
        QVERIFY(leaveKilledWrite(store.path(), reachedFile));
        store.reopenDatabase();
        QVERIFY(!QFile::exists(journal));
        QCOMPARE(store.count(QStringLiteral("SELECT count(*) FROM genelnot")), 0);
        // The journal of a program writing now is its own: opening leaves it.
        Database writer(store.dir.path());
        QVERIFY(writer.open());
        QSqlQuery write(writer.db());
        QVERIFY(write.exec(QStringLiteral("BEGIN")));
        QVERIFY(write.exec(QStringLiteral("INSERT INTO genelnot (\"not\") VALUES ('yazılıyor')")));
        store.database->close();
        store.reopenDatabase();
        QVERIFY(QFile::exists(journal));
    }

    void failuresAreClassified_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::newRow("busy") << "5" << "database is locked" << int(StorageFailure::Locked);
        QTest::newRow("busy snapshot") << "517" << "" << int(StorageFailure::Locked);
        QTest::newRow("corrupt") << "11" << "database disk image is malformed"
                                 << int(StorageFailure::Damaged);
        QTest::newRow("not a database") << "26" << "" << int(StorageFailure::Damaged);
        QTest::newRow("full") << "13" << "database or disk is full" << int(StorageFailure::Disk);
        QTest::newRow("io error") << "522" << "" << int(StorageFailure::Disk);
        QTest::newRow("no code, locked text") << "" << "database is locked"
                                              << int(StorageFailure::Locked);
        QTest::newRow("constraint") << "19"
                                    << "UNIQUE constraint failed" << int(StorageFailure::Other);
        QTest::newRow("file put aside under the connection") << "1032"
                                                             << "" << int(StorageFailure::Replaced);
    }

    void failuresAreClassified()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(int, kind);
        const QSqlError error(QString(), text, QSqlError::StatementError, code);
        QCOMPARE(int(classifyFailure(error)), kind);
        const QString told = failureText(error);
        QVERIFY(!told.isEmpty());
        if (kind != int(StorageFailure::Locked) && !text.isEmpty())
            QVERIFY2(told.contains(text), qPrintable(told)); // the engine's cause is named
    }
};

LUMKAR_TEST(StorageFailureTest)
#include "tst_storagefailures.moc"
