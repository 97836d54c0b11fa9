// The register's rules without windows: the next person code, the person list's filter, the
// step-by-step search and the name-prefix search of the appointment entry.

#include "fixture.h"
#include "persondata.h"
#include "statementcounter.h"
#include "testregistry.h"

#include "data/dataset.h"
#include "data/personcodes.h"
#include "persons/perozluk.h"
#include "persons/personsearch.h"

#include <QSqlQuery>
#include <QTest>
#include <random>
#include <tuple>

using namespace lumkar;
using namespace lumkar::test;

class PersonCodeTest : public QObject {
    Q_OBJECT
private slots:
    void nextCode_data()
    {
        QTest::addColumn<QStringList>("persons");
        QTest::addColumn<QStringList>("appointments");
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<QString>("expected");
        const QStringList none;
        QTest::newRow("nothing anywhere") << none << none << none << none << "1";
        QTest::newRow("largest, not last") << QStringList{"3", "12", "9"} << none << none << none
                                           << "13";
        QTest::newRow("numbers, not text order")
            << QStringList{"9", "10", "100", "99"} << none << none << none << "101";
        QTest::newRow("deleted person's appointments")
            << QStringList{"1", "2"} << QStringList{"1", "7"} << none << none << "8";
        QTest::newRow("deleted person's visits") << QStringList{"1"} << none << QStringList{"9"}
                                                 << none << "10";
        QTest::newRow("deleted person's account lines")
            << none << none << none << QStringList{"4", "15"} << "16";
        QTest::newRow("codes that are not whole numbers are skipped")
            << QStringList{"A5", "12a", "", "-3", "3.5", " 40", "2", "1e9", "٣"} << none << none
            << none << "3";
        QTest::newRow("only codes that are not numbers") << QStringList{"abc", "X1"} << none
                                                         << none << none << "1";
        QTest::newRow("leading zeros read as the number") << QStringList{"007"} << none << none
                                                          << none << "8";
        QTest::newRow("sixteen digits")
            << QStringList{"1234567890123456"} << none << none << none << "1234567890123457";
    }
    void nextCode()
    {
        QFETCH(QStringList, persons);
        QFETCH(QStringList, appointments);
        QFETCH(QStringList, visits);
        QFETCH(QStringList, accounts);
        QFETCH(QString, expected);
        App app;
        for (const QString &code : persons)
            addPerson(app, {code, QStringLiteral("Ad"), QStringLiteral("Soyad")});
        for (const QString &code : appointments)
            app.exec(QStringLiteral("INSERT INTO randevu (sicil_kodu) VALUES (?)"), {code});
        for (const QString &code : visits)
            app.exec(QStringLiteral("INSERT INTO gorusmeler (sicilkodu) VALUES (?)"), {code});
        for (const QString &code : accounts)
            app.exec(QStringLiteral("INSERT INTO cari (sicilkodu) VALUES (?)"), {code});
        QString error;
        QCOMPARE(nextPersonCode(app.db(), &error), expected);
        QVERIFY(error.isEmpty());
    }

    void aCodeThatDoesNotFitIsRefused_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("largest");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("sixteen digits still fit") << "siciltablo" << "sicil_kodu"
                                                  << "999999999999999" << "1000000000000000";
        QTest::newRow("register") << "siciltablo" << "sicil_kodu" << "9999999999999999" << "";
        QTest::newRow("appointments") << "randevu" << "sicil_kodu" << "9999999999999999" << "";
        QTest::newRow("visits") << "gorusmeler" << "sicilkodu" << "99999999999999999" << "";
        QTest::newRow("accounts") << "cari" << "sicilkodu" << "123456789012345678" << "";
    }
    void aCodeThatDoesNotFitIsRefused()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, largest);
        if (usesServer() && largest.size() > 16)
            QSKIP("only the file holds codes longer than the column");
        QFETCH(QString, expected);
        QCOMPARE(personCodeWidth(), 16);
        App app;
        app.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column), {largest});
        QString error;
        const QString code = nextPersonCode(app.db(), &error);
        QCOMPARE(code, expected);
        if (expected.isEmpty()) {
            const QString next = QString::number(largest.toLongLong() + 1);
            const QString message = QStringLiteral("Sıradaki kişi kodu %1 haneli olurdu (%2); "
                                                   "kişi kodu en çok 16 hane olabilir! Yeni "
                                                   "kişi kaydı açılmadı.");
            QCOMPARE(error, message.arg(next.size()).arg(next));
        } else {
            QVERIFY(error.isEmpty());
        }
    }

    void unreadableDatabaseGivesNoCode()
    {
        App app;
        app.exec(QStringLiteral("DROP TABLE cari"));
        QString error;
        QVERIFY(nextPersonCode(app.db(), &error).isEmpty());
        QVERIFY(error.startsWith(QStringLiteral("Yeni kişi kodu bulunamadı: ")));
        QVERIFY(error.contains(QStringLiteral("cari")));
    }
};

class PersonFilterTest : public QObject {
    Q_OBJECT
private slots:
    void listFilter_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QStringList>("expected"); // in register order
        const QString noPhone = QStringLiteral("(   )          ");
        const QStringList all{"1", "2", "3", "4", "5", "10", "11", "12", "13"};
        QTest::newRow("all boxes empty") << "" << "" << noPhone << all;
        QTest::newRow("first name, surname, not inside")
            << "" << "ka" << noPhone << QStringList{"1", "2", "3", "5"};
        QTest::newRow("capitals typed")
            << "" << "KA" << noPhone << QStringList{"1", "2", "3", "5"};
        QTest::newRow("full name") << "" << "ali k" << noPhone << QStringList{"5"};
        QTest::newRow("full name, other surname") << "" << "Ali A" << noPhone << QStringList{"4"};
        QTest::newRow("dotless i") << "" << "ışı" << noPhone << QStringList{"10"};
        QTest::newRow("dotted and dotless differ") << "" << "isi" << noPhone << QStringList{};
        QTest::newRow("capital dotted I") << "" << "İ" << noPhone << QStringList{"10"};
        QTest::newRow("capitals in the register") << "" << "ay" << noPhone
                                                  << QStringList{"11", "12"};
        QTest::newRow("trailing blank counts in the length")
            << "" << "ka " << noPhone << QStringList{};
        QTest::newRow("code exact") << "1" << "" << noPhone << QStringList{"1"};
        QTest::newRow("code wins over name") << "1" << "ay" << samplePhone() << QStringList{"1"};
        QTest::newRow("code is case sensitive, no prefix") << "1 " << "" << noPhone
                                                           << QStringList{};
        QTest::newRow("phone in tel1 or mobile") << "" << "" << samplePhone()
                                                 << QStringList{"10", "11"};
        QTest::newRow("phone in fax") << "" << "" << "(212) 555 11 22" << QStringList{"11"};
        QTest::newRow("part of a phone matches nothing")
            << "" << "" << "(532)          " << QStringList{};
        QTest::newRow("all-zero phone is no phone") << "" << "" << "(000) 000 00 00" << all;
        QTest::newRow("name wins over phone") << "" << "Zeki" << samplePhone()
                                              << QStringList{"13"};
    }
    void listFilter()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QFETCH(QStringList, expected);
        App app;
        addSamplePersons(app);
        DataSet persons(app.db());
        persons.setTable(QStringLiteral("siciltablo"));
        const PersonListFilter filter(code, name, phone);
        persons.setFilter([&filter](const Record &row) { return filter.accepts(row); });
        persons.setFiltered(true);
        QVERIFY(persons.open());
        QCOMPARE(codesShown(persons), expected);
        // The list read by pages filters in the database, to the same persons.
        DataSet paged(app.db());
        paged.setTable(QStringLiteral("siciltablo"));
        paged.readByPages([&filter] { return filter.sqlCondition(); });
        paged.setFiltered(true);
        QVERIFY(paged.open());
        QCOMPARE(codesShown(paged), expected);
    }

    // A text that most persons' names begin with is tested person by person along the list's
    // order and counted on the name indexes: the same persons in the same order as the rule
    // keeps, those only the rule's own test finds (a blank before the name) among them, and a
    // count that follows a person added and one deleted.
    void aNameManyBeginWithIsWalked()
    {
        App app;
        // First names Kaan, Ali, KAMİL, " kader", Zeki in turn; surnames Kaya, Demir, Öz.
        app.exec(QStringLiteral(
            "INSERT INTO siciltablo (sicil_kodu, adi, soyadi) WITH RECURSIVE n(i) AS (SELECT 1 "
            "UNION ALL SELECT i + 1 FROM n WHERE i < 4000) SELECT CAST(i AS TEXT), CASE i % 5 "
            "WHEN 0 THEN 'Kaan' WHEN 1 THEN 'Ali' WHEN 2 THEN 'KAMİL' WHEN 3 THEN ' kader' ELSE "
            "'Zeki' END, CASE i % 3 WHEN 0 THEN 'Kaya' WHEN 1 THEN 'Demir' ELSE 'Öz' END FROM n"));
        const PersonListFilter filter(QString(), QStringLiteral("Ka"), QString());
        QVERIFY(!filter.sqlCondition().rowTest.isEmpty());
        DataSet whole(app.db());
        whole.setTable(QStringLiteral("siciltablo"), {QStringLiteral("adi")});
        whole.setFilter([&filter](const Record &row) { return filter.accepts(row); });
        whole.setFiltered(true);
        QVERIFY(whole.open());
        DataSet paged(app.db());
        paged.setTable(QStringLiteral("siciltablo"), {QStringLiteral("adi")});
        paged.readByPages([&filter] { return filter.sqlCondition(); });
        paged.setFiltered(true);
        QVERIFY(paged.open());
        QVERIFY2(whole.recordCount() > 2000, qPrintable(QString::number(whole.recordCount())));
        QCOMPARE(paged.recordCount(), whole.recordCount());
        QCOMPARE(codesShown(paged), codesShown(whole));
        paged.append();
        paged.setValue(QStringLiteral("sicil_kodu"), QStringLiteral("4001"));
        paged.setValue(QStringLiteral("adi"), QStringLiteral("Veli"));
        paged.setValue(QStringLiteral("soyadi"), QStringLiteral("Karaca"));
        QVERIFY(paged.post());
        QVERIFY(paged.locate(QStringLiteral("sicil_kodu"), QStringLiteral("5")));
        QVERIFY(paged.remove());
        QVERIFY(whole.reopen());
        QCOMPARE(paged.recordCount(), whole.recordCount());
        QCOMPARE(codesShown(paged), codesShown(whole));
    }

    // The SQL twins keep exactly the persons their rules keep, and the count of a name
    // filter is the number of them, on names made to find where they could part, some changed
    // and some persons deleted: blanks and control characters before, inside and after a name, both
    // capitals of i, letters of other alphabets first, empty and missing names, and the signs
    // a pattern gives a meaning to; phones with the signs and letters the server's index puts
    // for one another.
    void twinsAgreeOnGeneratedNames()
    {
        App app;
        const QString names = QStringLiteral("aAkKlLiIİıçÇşŞ ö\té-%_\\1");
        const QString phones = QStringLiteral("()q9 -1%");
        std::mt19937 random(11);
        const auto randomText = [&](int longest, const QString &pool) {
            QString text = QStringLiteral("");
            for (int n = int(random() % unsigned(longest + 1)); n > 0; --n)
                text += pool.at(int(random() % unsigned(pool.size())));
            return text;
        };
        for (int i = 1; i <= 400; ++i)
            addPerson(app, {QString::number(i), i % 50 == 0 ? QString() : randomText(5, names),
                            randomText(4, names), randomText(3, names), QString(),
                            randomText(6, phones)});
        // Names changed and persons deleted, as the counts kept by names' beginnings follow.
        for (int i = 1; i <= 400; i += 7)
            app.exec(QStringLiteral("UPDATE siciltablo SET adi = ?, soyadi = ? WHERE sicil_kodu = ?"),
                     {randomText(5, names), i % 3 ? QVariant(randomText(4, names)) : QVariant(),
                      QString::number(i)});
        app.exec(QStringLiteral("DELETE FROM siciltablo WHERE CAST(sicil_kodu AS INTEGER) % 11 = 0"));
        DataSet all(app.db());
        all.setTable(QStringLiteral("siciltablo"));
        DataSet paged(app.db());
        paged.setTable(QStringLiteral("siciltablo"));
        for (int round = 0; round < 60; ++round) {
            const QString typed = randomText(4, names);
            const PersonListFilter filter(QString(), typed, QString());
            all.close();
            all.setFilter([&filter](const Record &row) { return filter.accepts(row); });
            all.setFiltered(true);
            QVERIFY(all.open());
            paged.close();
            paged.readByPages([&filter] { return filter.sqlCondition(); });
            paged.setFiltered(true);
            QVERIFY(paged.open());
            QVERIFY2(codesShown(paged) == codesShown(all), qPrintable(typed));
            // The count a long list takes instead of its rows is theirs.
            if (const DataSet::Condition c = filter.sqlCondition(); !c.count.isEmpty())
                QVERIFY2(app.scalar(c.count, c.countValues).toInt() == all.recordCount(),
                         qPrintable(typed));
            // The search, from each of a few rows, stops where the program's search stops.
            const PersonSearch search(typed, randomText(4, round % 2 ? names : phones));
            all.setFiltered(false);
            paged.setFiltered(false);
            for (int from : {-1, 0, 7, 399})
                QVERIFY2(search.nextHit(paged, from, false) == search.nextHit(all, from, false),
                         qPrintable(typed));
            // Its condition holds the very persons it hits.
            QStringList hit;
            for (int row = 0; row < all.recordCount(); ++row) {
                const auto text = [&](const char *field) {
                    return all.valueAt(row, all.fieldIndex(QLatin1String(field))).toString();
                };
                if (search.hits(text("adi"), text("soyadi"), PersonSearch::joinedPhones(all, row)))
                    hit << text("sicil_kodu");
            }
            paged.close();
            paged.readByPages([&] { return search.sqlCondition(app.db()); });
            paged.setFiltered(true);
            QVERIFY(paged.open());
            QVERIFY2(codesShown(paged) == hit, qPrintable(typed));
        }
    }

    // A list read by pages holds every row where the list read whole holds it, whichever way
    // the pages are reached (on from a page held, back from one, counted from either end), in
    // both directions of the order, with many equal names; finds a row where it is; and keeps
    // the order when a row is deleted and one added through it. A list in the order of its key
    // under a condition holds the keys of its rows instead of counting them.
    void pagesHoldTheRowsOfTheWholeList_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<bool>("fewRows"); // the condition a filter that holds its keys
        QTest::newRow("name, up") << "adi ASC" << "" << false;
        QTest::newRow("name, down") << "adi DESC" << "" << false;
        QTest::newRow("surname, down") << "soyadi DESC" << "" << false;
        QTest::newRow("name, under a condition") << "adi ASC" << "soyadi <> 'Ali'" << false;
        QTest::newRow("key, under a condition") << "hid" << "soyadi <> 'Ali'" << false;
        QTest::newRow("key, down, under a condition") << "hid DESC" << "adi <> 'Zeki'" << false;
        QTest::newRow("name, keys held") << "adi ASC" << "soyadi <> 'Ali'" << true;
        QTest::newRow("surname, down, keys held") << "soyadi DESC" << "adi <> 'Zeki'" << true;
    }
    void pagesHoldTheRowsOfTheWholeList()
    {
        QFETCH(QString, order);
        QFETCH(QString, condition);
        QFETCH(bool, fewRows);
        App app;
        std::mt19937 random(5);
        const QStringList names{"Ali", "ali", "Işık", "İsmail", "Çiğdem", "Zeki", "", "Ömer"};
        for (int i = 1; i <= 700; ++i)
            addPerson(app, {QString::number(i), names[int(random() % names.size())],
                            i % 9 == 0 ? QString() : names[int(random() % names.size())]});
        const QString query = QStringLiteral("Select * from siciltablo order by ") + order;
        DataSet whole(app.db());
        whole.setQuery(query);
        whole.setPrefilter(condition);
        QVERIFY(whole.open());
        QStringList expected = codesShown(whole);
        const int count = int(expected.size());
        QVERIFY(count > 460);
        const int code = whole.fieldIndex(QStringLiteral("sicil_kodu"));
        QVector<int> rows{count - 1, 0, 350, 349, 351, 200};
        for (int row = count - 2; row > 300; row -= 3)
            rows << row; // backwards, page after page
        for (int row = 1; row < count; row += 97)
            rows << row;
        DataSet paged(app.db());
        paged.setQuery(query);
        if (fewRows) {
            paged.readByPages([condition] {
                DataSet::Condition c{condition, {}};
                c.fewRows = true;
                return c;
            });
            paged.setFiltered(true);
        } else {
            paged.setPrefilter(condition);
            paged.readByPages({});
        }
        QVERIFY(paged.open());
        QCOMPARE(paged.recordCount(), count);
        for (int row : rows)
            QVERIFY2(paged.valueAt(row, code).toString() == expected[row],
                     qPrintable(QString::number(row)));
        QCOMPARE(codesShown(paged), expected);
        for (const int row : {0, 127, 128, 455, count - 1}) {
            QVERIFY(paged.locate(QStringLiteral("sicil_kodu"), expected[row]));
            QCOMPARE(paged.currentRow(), row);
        }
        // A row deleted and one added through the list: the list stays the whole list's.
        paged.moveTo(300);
        QVERIFY(paged.remove());
        paged.append();
        paged.setValue(QStringLiteral("sicil_kodu"), QStringLiteral("9000"));
        paged.setValue(QStringLiteral("adi"), QStringLiteral("Işık"));
        paged.setValue(QStringLiteral("soyadi"), QStringLiteral("Ömer"));
        QVERIFY(paged.post());
        QVERIFY(whole.reopen());
        expected = codesShown(whole);
        QCOMPARE(paged.recordCount(), count);
        QCOMPARE(paged.currentRow(), int(expected.indexOf(QStringLiteral("9000"))));
        QCOMPARE(codesShown(paged), expected);
    }

    // A search finds a person as soon as a name or phone is written, changed or deleted; on
    // the file it reads only the persons its index names, never every person.
    void theSearchFollowsEveryWrite()
    {
        App app;
        addSamplePersons(app);
        DataSet persons(app.db());
        persons.setTable(QStringLiteral("siciltablo"), {QStringLiteral("adi")});
        persons.readByPages({});
        const auto found = [&](const QString &name, const QString &phone) {
            if (!persons.reopen())
                return QStringLiteral("?");
            const PersonSearch search(name, phone);
            const int row = search.nextHit(persons, -1, false);
            const auto text = [&](const char *field) {
                return persons.valueAt(row, persons.fieldIndex(QLatin1String(field))).toString();
            };
            return search.hits(text("adi"), text("soyadi"), PersonSearch::joinedPhones(persons, row))
                ? text("sicil_kodu")
                : QString();
        };
        std::unique_ptr<StatementCounter> counter;
        if (!usesServer())
            counter = std::make_unique<StatementCounter>(app.db());
        QCOMPARE(found(QStringLiteral("EYNEP"), QString()), QString());
        app.exec(QStringLiteral("UPDATE siciltablo SET adi = 'Zeynep' WHERE sicil_kodu = '13'"));
        QCOMPARE(found(QStringLiteral("EYNEP"), QString()), QStringLiteral("13"));
        QCOMPARE(found(QString(), QStringLiteral("555 99")), QString());
        app.exec(QStringLiteral("UPDATE siciltablo SET tel2 = '(212) 555 99 00' WHERE "
                                "sicil_kodu = '13'"));
        QCOMPARE(found(QStringLiteral("yok"), QStringLiteral("555 99")), QStringLiteral("13"));
        addPerson(app, {QStringLiteral("20"), QStringLiteral("Ayşe Nur"), QStringLiteral("Işık")});
        QCOMPARE(found(QStringLiteral("e nur ı"), QString()), QStringLiteral("20"));
        app.exec(QStringLiteral("DELETE FROM siciltablo WHERE sicil_kodu = '13'"));
        QCOMPARE(found(QStringLiteral("EYNEP"), QStringLiteral("555 99")), QString());
        if (!counter)
            return;
        const QVector<StatementCounter::Run> reads = counter->runsWith(QStringLiteral("MATCH"));
        QVERIFY(!reads.isEmpty());
        for (const StatementCounter::Run &run : reads)
            QVERIFY2(run.fullScanSteps == 0, qPrintable(run.sql));
    }

    // A list's keys are read from the server straight: a connection lost under that read is
    // told as any other, and the next read finds the server again.
    void aKeyListMeetsALostConnection()
    {
        if (!usesServer())
            QSKIP("the server's connection");
        App app;
        addSamplePersons(app);
        DataSet paged(app.db());
        paged.setTable(QStringLiteral("siciltablo"), {QStringLiteral("adi")});
        const PersonListFilter filter(QString(), QStringLiteral("ka"), QString());
        paged.readByPages([&filter] { return filter.sqlCondition(); });
        paged.setFiltered(true);
        const QString name = QStringLiteral("yan_masa");
        {
            QSqlDatabase side = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            side.setDatabaseName(app.session().database().settings().database);
            QVERIFY(side.open());
            QSqlQuery q(side);
            QVERIFY(q.exec(QStringLiteral(
                "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                "current_database() AND pid <> pg_backend_pid()")));
        }
        QSqlDatabase::removeDatabase(name);
        app.dialogs.expectNotice();
        QVERIFY(!paged.open());
        QVERIFY2(app.dialogs.lastText().contains(
                     QStringLiteral("Veritabanı sunucusuna ulaşılamadı")),
                 qPrintable(app.dialogs.lastText()));
        QCoreApplication::processEvents(); // the end of the failed action: a new connection
        QVERIFY(paged.open());
        QCOMPARE(codesShown(paged), (QStringList{"5", "3", "1", "2"})); // Ali, Kamil, Kaya, Mehmet
    }

    void searchHit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("adi");
        QTest::addColumn<QString>("soyadi");
        QTest::addColumn<QString>("phones"); // the five fields joined
        QTest::addColumn<bool>("hit");
        const QString noPhone = QStringLiteral("(   )          ");
        const QString somePhones = samplePhone() + QStringLiteral("    ");
        QTest::newRow("inside the surname") << "ka" << "" << "Ali" << "Akay" << somePhones << true;
        QTest::newRow("across the blank") << "ail ı" << "" << "İsmail" << "Işık" << somePhones
                                          << true;
        QTest::newRow("capitals on both sides") << "IŞ" << "" << "İSMAİL" << "IŞIK" << somePhones
                                                << true;
        QTest::newRow("no match") << "zz" << "" << "Ali" << "Akay" << somePhones << false;
        QTest::newRow("empty name never hits") << "" << "" << "Ali" << "Akay" << somePhones
                                               << false;
        QTest::newRow("inside a phone number") << "" << "123 45" << "Ali" << "Akay" << somePhones
                                               << true;
        QTest::newRow("empty mask hits an empty mask field")
            << "" << noPhone << "Zeki" << "Su"
            << QStringLiteral("  (   )             ") << true;
        QTest::newRow("empty mask, no empty mask field")
            << "" << noPhone << "Ali" << "Akay" << somePhones << false;
    }
    void searchHit()
    {
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QFETCH(QString, adi);
        QFETCH(QString, soyadi);
        QFETCH(QString, phones);
        QFETCH(bool, hit);
        QCOMPARE(PersonSearch(name, phone).hits(adi, soyadi, phones), hit);
    }

    void searchGoesRoundAndStaysWithoutMatch()
    {
        App app;
        addSamplePersons(app);
        DataSet persons(app.db());
        persons.setTable(QStringLiteral("siciltablo"));
        QVERIFY(persons.open());
        // Rows in register order: 1 Kaya, 2 Mehmet Kaya, 3 Kamil, 4 Ali Akay, 5 Ali Kaya, ...
        const PersonSearch ka(QStringLiteral("ka"), QString());
        QCOMPARE(ka.nextHit(persons, 0, false), 1);
        QCOMPARE(ka.nextHit(persons, 4, false), 0); // wraps round past İsmail, Ayşe, ...
        QCOMPARE(ka.nextHit(persons, 8, true), 0);  // past the end: from the first row
        // Only the row itself matches: the search ends where it started.
        const PersonSearch zeki(QStringLiteral("zek"), QString());
        QCOMPARE(zeki.nextHit(persons, 8, false), 8);
        const PersonSearch nobody(QStringLiteral("xyz"), QString());
        QCOMPARE(nobody.nextHit(persons, 3, false), 3);
        // The empty phone box reaches the person whose tel2 holds the empty mask.
        const PersonSearch emptyMask(QString(), QStringLiteral("(   )          "));
        QCOMPARE(emptyMask.nextHit(persons, 0, false), 8);
        // A list read by pages is searched by the database, with the same stops.
        DataSet paged(app.db());
        paged.setTable(QStringLiteral("siciltablo"));
        paged.readByPages({});
        QVERIFY(paged.open());
        for (const auto &[search, from, pastEnd] :
             {std::tuple{ka, 0, false}, {ka, 4, false}, {ka, 8, true}, {zeki, 8, false},
              {nobody, 3, false}, {emptyMask, 0, false}})
            QCOMPARE(search.nextHit(paged, from, pastEnd), search.nextHit(persons, from, pastEnd));
    }

    void namePrefixSearch_data()
    {
        QTest::addColumn<QString>("adi");
        QTest::addColumn<QString>("soyadi");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first name, any surname") << "ay" << "" << QStringList{"11", "12"};
        QTest::newRow("capitals") << "AY" << "" << QStringList{"11", "12"};
        QTest::newRow("both") << "ali" << "ka" << QStringList{"5"};
        QTest::newRow("first name only") << "ali" << "" << QStringList{"4", "5"};
        QTest::newRow("nothing typed")
            << "" << "" << QStringList{"1", "2", "3", "4", "5", "10", "11", "12", "13"};
        QTest::newRow("Turkish capitals") << "iSMA" << "IŞ" << QStringList{"10"};
        QTest::newRow("surname prefix only") << "" << "kay" << QStringList{"2", "5"};
        QTest::newRow("longer than the name") << "Alican" << "" << QStringList{};
        QTest::newRow("dotless capital") << "ış" << "" << QStringList{};
        QTest::newRow("dotted capital") << "i" << "" << QStringList{"10"};
    }
    void namePrefixSearch()
    {
        if (usesServer())
            QSKIP("the statements are counted in the embedded engine");
        QFETCH(QString, adi);
        QFETCH(QString, soyadi);
        QFETCH(QStringList, expected);
        App app;
        addSamplePersons(app);
        Tozluk *record = app.forms().ozluk;
        // A first search, then the texts change: the data set follows the new texts.
        record->aramaAdi = QStringLiteral("zzz");
        QVERIFY(record->ffQuery4->reopen());
        QCOMPARE(record->ffQuery4->recordCount(), 0);
        record->aramaAdi = adi;
        record->aramaSoyadi = soyadi;
        QVERIFY(record->ffQuery4->reopen());
        QCOMPARE(codesShown(*record->ffQuery4), expected);
        // The SQL twin reads a superset: with it the search shows the same persons, read
        // through the name index and not by walking the whole register when a name is given.
        const NamePrefixSearch rule(adi, soyadi);
        record->ffQuery4->setPrefilter(rule.sqlCondition(), rule.sqlValues());
        const StatementCounter counter(app.db());
        QVERIFY(record->ffQuery4->reopen());
        QCOMPARE(codesShown(*record->ffQuery4), expected);
        const QVector<StatementCounter::Run> reads = counter.runsWith(QStringLiteral("siciltablo"));
        QCOMPARE(reads.size(), 1);
        if (!adi.trimmed().isEmpty()) // the entry form always gives a name
            QCOMPARE(reads[0].fullScanSteps, 0);
    }
};

LUMKAR_TEST(PersonCodeTest)
LUMKAR_TEST(PersonFilterTest)
#include "tst_personrules.moc"
