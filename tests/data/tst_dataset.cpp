// The database file, its schema, and the data sets the windows read and write through.

#include "fulldisk.h"
#include "testregistry.h"

#include "backup/backuparchive.h"
#include "data/database.h"
#include "data/dataset.h"
#include "data/codepage.h"
#include "data/inifile.h"
#include "data/schema.h"
#include "data/values.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace lumkar;

namespace {

struct Db {
    QTemporaryDir dir;
    Database database{dir.path()};
    Db()
    {
        if (!database.open())
            qFatal("%s", qPrintable(database.errorText()));
    }
    void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(database.db());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s", qPrintable(sql));
    }
    QVariant scalar(const QString &sql)
    {
        QSqlQuery q(database.db());
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    void person(const QString &code, const QString &adi, const QVariant &soyadi = QVariant())
    {
        exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) VALUES (?,?,?)"),
             {code, adi, soyadi});
    }
};

QStringList column(DataSet &ds, const QString &field)
{
    QStringList out;
    ds.disableControls();
    for (ds.first(); !ds.eof(); ds.next())
        out << ds.text(field);
    ds.enableControls();
    return out;
}

} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesEveryTableInItsOrder()
    {
        Db db;
        QVERIFY(QFile::exists(QDir(db.dir.path()).filePath(QStringLiteral("AnaData/Tovaskel.mdb"))));
        for (const TableDef &t : schema::tables()) {
            QSqlQuery q(db.database.db());
            QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t.name)));
            QStringList names;
            while (q.next())
                names << q.value(1).toString();
            QStringList expected;
            for (const ColumnDef &c : t.columns)
                expected << c.name;
            QCOMPARE(names, expected);
        }
        QCOMPARE(schema::tables().size(), 13);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM master")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT mids FROM master")).toString(), QString());
        QCOMPARE(db.scalar(QStringLiteral("SELECT kullanici || '/' || coalesce(sifre,'') || '/' || "
                                          "ekle || degistir || herksesigor || herkesidegistir || "
                                          "baskasirandevuver FROM sifre")).toString(),
                 QStringLiteral("lumkar//EEEEE"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' "
                                          "AND name IN ('tarih','randevutarihi')")).toInt(), 2);
    }

    void keysAreNeverGivenTwice()
    {
        Db db;
        db.person(QStringLiteral("1"), QStringLiteral("A"));
        db.person(QStringLiteral("2"), QStringLiteral("B"));
        db.exec(QStringLiteral("DELETE FROM siciltablo WHERE hid = 2"));
        db.person(QStringLiteral("3"), QStringLiteral("C"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT max(hid) FROM siciltablo")).toInt(), 3);
    }

    // A file made before the name index existed gets it at the next opening, and the index it
    // replaces goes; a file that cannot be written opens all the same, as it was.
    void anOlderFileGetsTheNewIndexes()
    {
        QTemporaryDir dir;
        const auto indexes = [](Database &database) {
            QStringList names;
            QSqlQuery q(database.db());
            q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                  "tbl_name = 'siciltablo' ORDER BY name"));
            while (q.next())
                names << q.value(0).toString();
            return names;
        };
        QStringList added{"siciltablo_ad_soyad", "siciltablo_kod_degeri", "siciltablo_kodu"};
        for (const char *column : {"adi", "ceptel", "ceptel2", "email", "fax", "sicil_kodu",
                                   "soyadi", "tel1", "tel2"})
            added << QStringLiteral("siciltablo_sira_") + QLatin1String(column);
        // The search index of names and phones: made and filled with the persons there.
        const auto searchIndexFinds = [](Database &database) {
            QSqlQuery q(database.db());
            return q.exec(QStringLiteral("SELECT count(*) FROM siciltablo_ara WHERE ad MATCH "
                                         "'\"ışı\"'"))
                && q.next() && q.value(0).toInt() == 1;
        };
        const auto makeOld = [&] {
            Database database(dir.path());
            QVERIFY(database.open());
            QSqlQuery q(database.db());
            QVERIFY(q.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi) SELECT '1', "
                                          "'IŞIL' WHERE NOT EXISTS (SELECT 1 FROM siciltablo)")));
            QVERIFY(searchIndexFinds(database));
            for (const QString &sql : schema::fileSearchIndexDropStatements())
                QVERIFY(q.exec(sql));
            QVERIFY(q.exec(QStringLiteral("DROP INDEX siciltablo_ad_soyad")));
            QVERIFY(q.exec(QStringLiteral("DROP INDEX randevu_sicil")));
            QVERIFY(q.exec(QStringLiteral("CREATE INDEX siciltablo_adi ON siciltablo (adi)")));
            for (const QString &name : indexes(database))
                if (name.startsWith(QLatin1String("siciltablo_sira_"))
                    || name == QLatin1String("siciltablo_kod_degeri"))
                    QVERIFY(q.exec(QStringLiteral("DROP INDEX ") + name));
            QCOMPARE(indexes(database), (QStringList{"siciltablo_adi", "siciltablo_kodu"}));
        };
        makeOld();
        {
            Database database(dir.path());
            QVERIFY(database.open());
            QCOMPARE(indexes(database), added);
            QVERIFY(searchIndexFinds(database));
            QSqlQuery q(database.db());
            QVERIFY(q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' "
                                          "AND name = 'randevu_sicil'")));
            QVERIFY(q.next());
        }
        makeOld();
        {
            const test::FullDisk full;
            Database noRoom(dir.path());
            QVERIFY2(noRoom.open(), qPrintable(noRoom.errorText()));
            QCOMPARE(indexes(noRoom), (QStringList{"siciltablo_adi", "siciltablo_kodu"}));
            QVERIFY(!searchIndexFinds(noRoom));
        }
        Database later(dir.path());
        QVERIFY(later.open());
        QCOMPARE(indexes(later), added);
        QVERIFY(searchIndexFinds(later));
    }

    // A file made before the reminder log gets it, with its one-reminder-only index, at the
    // next opening; a disk that cannot take it stops the opening with a message.
    void anOlderFileGetsTheReminderLog()
    {
        QTemporaryDir dir;
        {
            Database database(dir.path());
            QVERIFY(database.open());
            QSqlQuery q(database.db());
            QVERIFY(q.exec(QStringLiteral("DROP TABLE hatirlatma")));
        }
        {
            const test::FullDisk full;
            Database noRoom(dir.path());
            QVERIFY(!noRoom.open());
            const QString told = noRoom.errorText();
            QVERIFY2(told.startsWith(QStringLiteral("Veritabanı dosyası \"%1\" hazırlanamadı: ")
                                         .arg(QDir::toNativeSeparators(noRoom.filePath()))),
                     qPrintable(told));
        }
        Database later(dir.path());
        QVERIFY2(later.open(), qPrintable(later.errorText()));
        QSqlQuery q(later.db());
        const QString insert = QStringLiteral(
            "INSERT INTO hatirlatma (randevuno, adres, randevutarihi, randevusaati) VALUES "
            "(1, 'ayse@ornek.com.tr', '2026-12-11 00:00:00', '1899-12-30 10:00:00')");
        QVERIFY(q.exec(insert));
        QVERIFY(!q.exec(insert));
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM hatirlatma")) && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

    // A file made before the day closings existed gets their table when opened, and a backup
    // of it passes the restore's check; a file without one of the first tables is refused by
    // both.
    void aTableAddedLaterIsMadeWhenMissing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("opens");
        QTest::newRow("day closings, added later") << "gunsonu" << true;
        QTest::newRow("cash book") << "kasa" << false;
    }
    void aTableAddedLaterIsMadeWhenMissing()
    {
        QFETCH(QString, table);
        QFETCH(bool, opens);
        Db db;
        db.exec(QStringLiteral("DROP TABLE %1").arg(table));
        db.database.close();
        QCOMPARE(checkProgramDatabase(db.database.filePath()).isEmpty(), opens);
        QCOMPARE(db.database.open(), opens);
        if (!opens) {
            QVERIFY(db.database.errorText().contains(table));
            return;
        }
        db.exec(QStringLiteral("INSERT INTO gunsonu (defter, tarih) VALUES ('kasa', ?)"),
                {QStringLiteral("2026-03-10 00:00:00")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                          "name = 'gunsonu_gun'")).toInt(), 1);
    }

    void aFileThatIsNotThisProgramsIsRefused()
    {
        Db db;
        db.exec(QStringLiteral("ALTER TABLE randevu RENAME COLUMN konu TO baska"));
        db.database.close();
        QVERIFY(!db.database.open());
        QVERIFY(db.database.errorText().contains(QStringLiteral("konu")));
        QVERIFY(db.database.errorText().contains(QDir::toNativeSeparators(db.database.filePath())));
    }

    void datesAndTimesKeepTheirConventions()
    {
        Db db;
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("randevu"));
        QVERIFY(ds.open());
        ds.append();
        ds.setValue(QStringLiteral("randevutarihi"), QDate(2024, 3, 5));
        ds.setValue(QStringLiteral("randevusaati"), values::timeOfDay(QTime(9, 30)));
        ds.setValue(QStringLiteral("islem_tutari"), 1234.5);
        ds.setValue(QStringLiteral("not"), QStringLiteral("anahtar kelime sütun"));
        QVERIFY(ds.post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT randevutarihi FROM randevu")).toString(),
                 QStringLiteral("2024-03-05 00:00:00"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT randevusaati FROM randevu")).toString(),
                 QStringLiteral("1899-12-30 09:30:00"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT \"not\" FROM randevu")).toString(),
                 QStringLiteral("anahtar kelime sütun"));
        QVERIFY(ds.reopen());
        QCOMPARE(ds.value(QStringLiteral("randevutarihi")).toDateTime(),
                 QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
        QCOMPARE(ds.value(QStringLiteral("randevusaati")).toDateTime().time(), QTime(9, 30));
        QCOMPARE(ds.value(QStringLiteral("islem_tutari")).toDouble(), 1234.5);
        QVERIFY(ds.isNull(QStringLiteral("gorusmekodu")));
        QVERIFY(ds.value(QStringLiteral("rid")).toInt() > 0);
    }
};

class DataSetTest : public QObject {
    Q_OBJECT
private slots:
    void tablesAreOrderedAndFiltered()
    {
        Db db;
        db.person(QStringLiteral("3"), QStringLiteral("Cem"));
        db.person(QStringLiteral("1"), QStringLiteral("ayla"));
        db.person(QStringLiteral("2"), QStringLiteral("Ali"));
        db.person(QStringLiteral("4"), QString());
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("siciltablo"), {QStringLiteral("adi")});
        QVERIFY(ds.open());
        // Empty first, then the Turkish alphabet, capitals and small letters alike.
        QCOMPARE(column(ds, QStringLiteral("adi")),
                 (QStringList{QString(), QStringLiteral("Ali"), QStringLiteral("ayla"),
                              QStringLiteral("Cem")}));
        ds.setTable(QStringLiteral("siciltablo"), {QStringLiteral("sicil_kodu DESC")});
        QVERIFY(ds.reopen());
        QCOMPARE(column(ds, QStringLiteral("sicil_kodu")),
                 (QStringList{QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"),
                              QStringLiteral("1")}));
        ds.setFilter([](const Record &r) { return r.text(QStringLiteral("adi")).startsWith(u'A'); });
        ds.setFiltered(true);
        QCOMPARE(ds.recordCount(), 1);
        QCOMPARE(ds.text(QStringLiteral("adi")), QStringLiteral("Ali"));
        ds.setFiltered(false);
        QCOMPARE(ds.recordCount(), 4);
    }

    void queriesReadTheirOwnColumns()
    {
        Db db;
        db.person(QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Kaya"));
        DataSet ds(db.database.db());
        ds.setQuery(QStringLiteral("select sicil_kodu, adi || ' ' || soyadi AS tam from siciltablo"));
        QVERIFY(ds.open());
        QCOMPARE(ds.fieldNames(), (QStringList{QStringLiteral("sicil_kodu"), QStringLiteral("tam")}));
        QCOMPARE(ds.text(QStringLiteral("TAM")), QStringLiteral("Ali Kaya"));
        // A query of several columns cannot be written through.
        ds.setValue(QStringLiteral("tam"), QStringLiteral("x"));
        QVERIFY(!ds.post());
        ds.cancel();
        QCOMPARE(db.scalar(QStringLiteral("SELECT adi FROM siciltablo")).toString(),
                 QStringLiteral("Ali"));
    }

    void prefilterNarrowsWhatIsRead()
    {
        Db db;
        for (int day = 1; day <= 3; ++day)
            db.exec(QStringLiteral("INSERT INTO randevu (randevutarihi, adi) VALUES (?, ?)"),
                    {values::dayKey(QDate(2024, 1, day)), QStringLiteral("g%1").arg(day)});
        DataSet ds(db.database.db());
        ds.setQuery(QStringLiteral("select adi, randevutarihi from randevu order by adi DESC"));
        ds.setPrefilter(QStringLiteral("randevutarihi >= ?"), {values::dayKey(QDate(2024, 1, 2))});
        QVERIFY(ds.open());
        QCOMPARE(column(ds, QStringLiteral("adi")),
                 (QStringList{QStringLiteral("g3"), QStringLiteral("g2")}));
        // A value that looks like SQL is only a value.
        ds.close();
        ds.setPrefilter(QStringLiteral("adi = ?"), {QStringLiteral("x' OR '1'='1")});
        QVERIFY(ds.open());
        QCOMPARE(ds.recordCount(), 0);
    }

    void moveAndLocate()
    {
        Db db;
        for (const char *code : {"10", "1", "12", "2"})
            db.person(QString::fromLatin1(code), QStringLiteral("Ad") + QString::fromLatin1(code));
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("siciltablo"));
        QVERIFY(ds.open());
        QVERIFY(!ds.eof());
        ds.last();
        QCOMPARE(ds.text(QStringLiteral("sicil_kodu")), QStringLiteral("2"));
        ds.next();
        QVERIFY(ds.eof());
        ds.first();
        ds.prior();
        QVERIFY(ds.bof());
        QVERIFY(ds.locate(QStringLiteral("sicil_kodu"), QStringLiteral("1")));
        QCOMPARE(ds.recNo(), 2);
        // A prefix search takes the first row that begins with the text.
        QVERIFY(ds.locate(QStringLiteral("sicil_kodu"), QStringLiteral("1"), {true, true}));
        QCOMPARE(ds.recNo(), 1);
        QVERIFY(ds.locate(QStringLiteral("adi"), QStringLiteral("ad12"), {true, false}));
        QCOMPARE(ds.recNo(), 3);
        QVERIFY(!ds.locate(QStringLiteral("adi"), QStringLiteral("yok")));
        QCOMPARE(ds.recNo(), 3); // stays where it was
        QVERIFY(ds.locate(QStringLiteral("hid"), 4));
        QCOMPARE(ds.text(QStringLiteral("sicil_kodu")), QStringLiteral("2"));
        QVERIFY(!ds.locate(QStringLiteral("adi"), QVariant()));
    }

    void editPostCancelAndDelete()
    {
        Db db;
        db.person(QStringLiteral("1"), QStringLiteral("Ali"));
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("siciltablo"));
        QVERIFY(ds.open());
        QSignalSpy fields(&ds, &DataSet::fieldChanged);
        ds.setValue(QStringLiteral("adi"), QStringLiteral("Veli"));
        QCOMPARE(ds.state(), DataSet::State::Edit);
        QVERIFY(ds.isModified());
        QCOMPARE(fields.count(), 1);
        ds.cancel();
        QCOMPARE(ds.text(QStringLiteral("adi")), QStringLiteral("Ali"));
        QCOMPARE(ds.state(), DataSet::State::Browse);

        ds.edit();
        ds.setValue(QStringLiteral("adi"), QStringLiteral("Veli"));
        QVERIFY(ds.post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT adi FROM siciltablo")).toString(),
                 QStringLiteral("Veli"));

        ds.append();
        QCOMPARE(ds.currentRow(), 1);
        ds.setValue(QStringLiteral("sicil_kodu"), QStringLiteral("2"));
        QVERIFY(ds.post());
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(ds.value(QStringLiteral("hid")).toInt(),
                 db.scalar(QStringLiteral("SELECT max(hid) FROM siciltablo")).toInt());

        ds.first();
        QVERIFY(ds.remove());
        QCOMPARE(ds.recordCount(), 1);
        QCOMPARE(ds.text(QStringLiteral("sicil_kodu")), QStringLiteral("2"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM siciltablo")).toInt(), 1);
    }

    void movingWritesAChangeAndDropsAnUntouchedNewRow()
    {
        Db db;
        db.person(QStringLiteral("1"), QStringLiteral("Ali"));
        db.person(QStringLiteral("2"), QStringLiteral("Can"));
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("siciltablo"));
        QVERIFY(ds.open());
        ds.setValue(QStringLiteral("adi"), QStringLiteral("Ali Rıza"));
        ds.next();
        QCOMPARE(db.scalar(QStringLiteral("SELECT adi FROM siciltablo WHERE hid = 1")).toString(),
                 QStringLiteral("Ali Rıza"));
        ds.append();
        ds.append(); // one new row only
        ds.first();
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM siciltablo")).toInt(), 2);
    }

    void editOnAnEmptyTableAppends()
    {
        Db db;
        db.exec(QStringLiteral("DELETE FROM master"));
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("master"));
        QVERIFY(ds.open());
        ds.setValue(QStringLiteral("mids"), QStringLiteral("usta"));
        QCOMPARE(ds.state(), DataSet::State::Insert);
        QVERIFY(ds.post());
        ds.setValue(QStringLiteral("mids"), QStringLiteral("usta2"));
        QVERIFY(ds.post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) || mids FROM master")).toString(),
                 QStringLiteral("1usta2"));
    }

    void beforePostMayStampOrDiscard()
    {
        Db db;
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("genelnot"));
        ds.setBeforePost([](DataSet &d) {
            if (d.text(QStringLiteral("not")).isEmpty())
                return DataSet::BeforePost::Discard;
            d.setValue(QStringLiteral("kodu"), QStringLiteral("yazan"));
            return DataSet::BeforePost::Proceed;
        });
        QVERIFY(ds.open());
        ds.append();
        ds.setValue(QStringLiteral("tarih"), QDate(2024, 1, 1));
        QVERIFY(ds.post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM genelnot")).toInt(), 0);
        ds.append();
        ds.setValue(QStringLiteral("not"), QStringLiteral("Toplantı"));
        QVERIFY(ds.post());
        QCOMPARE(db.scalar(QStringLiteral("SELECT kodu FROM genelnot")).toString(),
                 QStringLiteral("yazan"));
    }

    void aHiddenOwnerDefersReading()
    {
        Db db;
        db.person(QStringLiteral("1"), QStringLiteral("Ali"));
        QWidget owner;
        DataSet ds(db.database.db());
        ds.setTable(QStringLiteral("siciltablo"));
        ds.setOwnerWindow(&owner);
        QVERIFY(ds.open());
        QVERIFY(ds.isOpen());
        QVERIFY(!ds.isLoaded());
        db.person(QStringLiteral("2"), QStringLiteral("Can"));
        owner.show();
        QVERIFY(ds.isLoaded());
        QCOMPARE(ds.recordCount(), 2);
        owner.hide();
        QVERIFY(ds.reopen());
        QVERIFY(!ds.isLoaded());
        QCOMPARE(ds.recordCount(), 2); // asking for rows reads them
        QVERIFY(ds.isLoaded());
    }

    void manyRowsSurviveSortAndChange()
    {
        Db db;
        db.database.db().transaction();
        for (int i = 0; i < 3000; ++i)
            db.person(QString::number(i), QStringLiteral("Ad%1").arg((i * 7919) % 3000, 4, 10,
                                                                      QLatin1Char('0')));
        db.database.db().commit();
        DataSet ds(db.database.db());
        ds.setQuery(QStringLiteral("Select * from siciltablo Order By adi ASC;"));
        QVERIFY(ds.open());
        QCOMPARE(ds.recordCount(), 3000);
        const QStringList names = column(ds, QStringLiteral("adi"));
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(names, sorted);
        ds.moveTo(1500);
        const QString code = ds.text(QStringLiteral("sicil_kodu"));
        ds.setValue(QStringLiteral("isadresi"), QStringLiteral("Çok satırlı\r\nadres"));
        QVERIFY(ds.post());
        QCOMPARE(ds.text(QStringLiteral("sicil_kodu")), code);
        QCOMPARE(ds.text(QStringLiteral("isadresi")), QStringLiteral("Çok satırlı\r\nadres"));
        QCOMPARE(ds.recordCount(), 3000);
    }
};

class IniFileTest : public QObject {
    Q_OBJECT
private slots:
    void valuesRoundTripAndMissingReadsEmpty()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Ayar.ini")));
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("kul")), QString());
        QVERIFY(ini.errorText().isEmpty());
        QVERIFY(ini.write(QStringLiteral("basla"), QStringLiteral("kul"), QStringLiteral("Şükrü")));
        QCOMPARE(IniFile(ini.path()).read(QStringLiteral("basla"), QStringLiteral("kul")),
                 QStringLiteral("Şükrü"));
        QFile f(ini.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("[basla]"));
    }

    void anUnwritableFileIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        IniFile ini(path);
        QVERIFY(!ini.write(QStringLiteral("basla"), QStringLiteral("kul"), QStringLiteral("x")));
        QVERIFY(ini.errorText().contains(QStringLiteral("Ayar.ini")));
    }

    void handWrittenFilesReadAsTheyStand()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; kendi notum\r\n[Basla]\r\nkul=ali,veli\r\nsif=a;b\r\nCheck1 = 1 \r\n"
                "bozuk satir\r\nyenile=\"30\"\r\n\r\n[baska]\r\nkul=ayse\r\n");
        f.close();
        IniFile ini(path);
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("kul")), QStringLiteral("ali,veli"));
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("sif")), QStringLiteral("a;b"));
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("check1")), QStringLiteral("1"));
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("yenile")), QStringLiteral("30"));
        QCOMPARE(ini.read(QStringLiteral("baska"), QStringLiteral("kul")), QStringLiteral("ayse"));
        QCOMPARE(ini.read(QStringLiteral("basla"), QStringLiteral("yok")), QString());
        QVERIFY(ini.errorText().isEmpty());

        // A known key keeps its line; a new key goes to the end of its section; the rest of
        // the file, comment and other section included, stays as it was.
        QVERIFY(ini.write(QStringLiteral("basla"), QStringLiteral("sif"), QStringLiteral("şĞ,x")));
        QVERIFY(ini.write(QStringLiteral("basla"), QStringLiteral("ycheck"), QStringLiteral("0")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        f.close();
        QCOMPARE(text, QStringLiteral("; kendi notum\r\n[Basla]\r\nkul=ali,veli\r\nsif=şĞ,x\r\n"
                                      "Check1 = 1 \r\nbozuk satir\r\nyenile=\"30\"\r\nycheck=0\r\n"
                                      "\r\n[baska]\r\nkul=ayse\r\n"));
        QCOMPARE(IniFile(path).read(QStringLiteral("basla"), QStringLiteral("sif")),
                 QStringLiteral("şĞ,x"));
    }

    void turkishCodePageFilesAreRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // "Işıl Şahin Ğ İ ğ ş" in code page 1254.
        f.write("[basla]\nkul=I\xfe\xfdl \xde" "ahin \xd0 \xdd \xf0 \xfe\n");
        f.close();
        QCOMPARE(IniFile(path).read(QStringLiteral("basla"), QStringLiteral("kul")),
                 QStringLiteral("Işıl Şahin Ğ İ ğ ş"));
        QCOMPARE(fromWindows1254("\x80\x93" "a\x94"), QStringLiteral("€“a”"));
        QCOMPARE(decodeLocalText("çiçek"), QStringLiteral("çiçek"));
    }
};

LUMKAR_TEST(DatabaseTest)
LUMKAR_TEST(DataSetTest)
LUMKAR_TEST(IniFileTest)
#include "tst_dataset.moc"
