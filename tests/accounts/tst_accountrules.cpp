// The rules of the money windows without windows: the cash and card period filter, the person
// accounts' filter, the collection's rounding, question and rows.

#include "fixture.h"
#include "moneydata.h"
#include "testregistry.h"

#include "accounts/accountfilters.h"
#include "accounts/collection.h"
#include "accounts/ledger.h"
#include "data/entryrules.h"
#include "data/dataset.h"

#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// The kid values of the rows a filter keeps, in order.
QList<qlonglong> kept(DataSet &dataSet)
{
    QList<qlonglong> out;
    for (int r = 0; r < dataSet.recordCount(); ++r)
        out << dataSet.valueAt(r, dataSet.fieldIndex(QStringLiteral("kid"))).toLongLong();
    return out;
}

} // namespace

class AccountRulesTest : public QObject {
    Q_OBJECT
private slots:
    void ledgerPeriod_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("allUsers");
        QTest::addColumn<bool>("shown");
        const QDate first(2026, 3, 2);
        const QDate last(2026, 3, 4);
        QTest::newRow("first day 00:00") << QDateTime(first, QTime(0, 0)) << "ayse" << false
                                         << true;
        QTest::newRow("day before") << QDateTime(first.addDays(-1), QTime(23, 0)) << "ayse"
                                    << true << false;
        QTest::newRow("last day 00:00") << QDateTime(last, QTime(0, 0)) << "ayse" << false
                                        << true;
        QTest::newRow("last day 10:00 is outside") << QDateTime(last, QTime(10, 0)) << "ayse"
                                                   << true << false;
        QTest::newRow("other user") << QDateTime(first, QTime(0, 0)) << "ali" << false << false;
        QTest::newRow("other user, all users") << QDateTime(first, QTime(0, 0)) << "ali" << true
                                               << true;
        QTest::newRow("user code differs in case") << QDateTime(first, QTime(0, 0)) << "Ayse"
                                                   << false << false;
    }
    void ledgerPeriod()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, user);
        QFETCH(bool, allUsers);
        QFETCH(bool, shown);
        App app;
        const qlonglong kid = addMoneyLine(app, QStringLiteral("kasa"), {moment, 5, 0, user});
        const LedgerFilter filter{QDate(2026, 3, 2), QDate(2026, 3, 4), allUsers,
                                  QStringLiteral("ayse")};
        // The program rule alone, and with its SQL twin narrowing the reading: the same rows.
        DataSet plain(app.db());
        plain.setTable(QStringLiteral("kasa"));
        plain.setFilter([filter](const Record &row) { return filter.accepts(row); });
        plain.setFiltered(true);
        QVERIFY(plain.open());
        DataSet narrowed(app.db());
        narrowed.setTable(QStringLiteral("kasa"));
        narrowed.setPrefilter(filter.sqlCondition(), filter.sqlValues());
        narrowed.readByPages({});
        QVERIFY(narrowed.open());
        const QList<qlonglong> expected = shown ? QList<qlonglong>{kid} : QList<qlonglong>{};
        QCOMPARE(kept(plain), expected);
        QCOMPARE(kept(narrowed), expected);
        // The period's sums come from the day totals: the same movements.
        const moneytotals::Sums sums = ledgerSums(app.db(), QStringLiteral("kasa"), filter);
        QVERIFY2(sums.ok, qPrintable(sums.error));
        QCOMPARE(sums.borc, shown ? 5.0 : 0.0);
    }

    void accountFilter_data()
    {
        QTest::addColumn<bool>("byCode");
        QTest::addColumn<bool>("byName");
        QTest::addColumn<bool>("byDates");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("adi");
        QTest::addColumn<QString>("soyadi");
        QTest::addColumn<QStringList>("expected"); // codes of the lines shown
        const QStringList all{"7", "8", "9", "10", "70"};
        QTest::newRow("nothing chosen") << false << false << false << "" << "" << "" << all;
        QTest::newRow("code is exact") << true << false << false << "7" << "" << ""
                                       << QStringList{"7"};
        QTest::newRow("Ali or Kaya") << false << true << false << "" << "Ali" << "Kaya"
                                     << QStringList{"7", "8", "9"};
        QTest::newRow("names are case-sensitive") << false << true << false << "" << "ali"
                                                  << "kaya" << QStringList{};
        QTest::newRow("dates replace the code") << true << false << true << "7" << "" << ""
                                                << QStringList{"7", "8", "70"};
        QTest::newRow("dates alone") << false << false << true << "" << "" << ""
                                     << QStringList{"7", "8", "70"};
    }
    void accountFilter()
    {
        QFETCH(bool, byCode);
        QFETCH(bool, byName);
        QFETCH(bool, byDates);
        QFETCH(QString, code);
        QFETCH(QString, adi);
        QFETCH(QString, soyadi);
        QFETCH(QStringList, expected);
        App app;
        const QDate in(2026, 3, 3);
        addAccountLine(app, {QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Kaya"),
                             in, 10, 0});
        addAccountLine(app, {QStringLiteral("8"), QStringLiteral("Ali"), QStringLiteral("Demir"),
                             in, 10, 0});
        addAccountLine(app, {QStringLiteral("9"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"),
                             in.addDays(5), 10, 0});
        addAccountLine(app, {QStringLiteral("10"), QStringLiteral("Zeki"), QStringLiteral("Su"),
                             in.addDays(-5), 10, 0});
        addAccountLine(app, {QStringLiteral("70"), QStringLiteral("Can"), QStringLiteral("Ak"),
                             in, 10, 0});
        const AccountFilter filter{byCode, byName, byDates, code, adi, soyadi,
                                   QDate(2026, 3, 1), QDate(2026, 3, 4)};
        // The program rule alone, the SQL twin alone, and the twin read by pages: the same
        // lines; and the sums under the list are theirs (each line owes 10).
        for (const char *way : {"rule", "sql", "pages"}) {
            DataSet lines(app.db());
            lines.setTable(QStringLiteral("cari"));
            if (qstrcmp(way, "rule") == 0) {
                lines.setFilter([filter](const Record &row) { return filter.accepts(row); });
                lines.setFiltered(true);
            } else {
                lines.setPrefilter(filter.sqlCondition(), filter.sqlValues());
            }
            if (qstrcmp(way, "pages") == 0)
                lines.readByPages({});
            QVERIFY(lines.open());
            QStringList codes;
            for (lines.first(); !lines.eof(); lines.next())
                codes << lines.text(QStringLiteral("sicilkodu"));
            QVERIFY2(codes == expected, way);
        }
        const moneytotals::Sums sums = accountSums(app.db(), filter);
        QVERIFY2(sums.ok, qPrintable(sums.error));
        QCOMPARE(sums.borc, 10.0 * expected.size());
        QCOMPARE(sums.alacak, 0.0);
    }

    // Empty amounts count as zero and a line without a day counts among every line, whether the
    // sums come from the lines or from the day totals; a changed and a deleted line move them.
    void sumsCountEmptyAsZero()
    {
        App app;
        addAccountLine(app, {QStringLiteral("1"), {}, {}, QDate(2026, 3, 3), 100.25, 0});
        const qlonglong second =
            addAccountLine(app, {QStringLiteral("1"), {}, {}, QDate(2026, 3, 3), 0, 40});
        app.exec(QStringLiteral("INSERT INTO cari (sicilkodu, alacak) VALUES ('1', 10)"));
        const auto sums = [&](AccountFilter filter) {
            filter.first = filter.last = QDate(2026, 3, 3);
            filter.code = QStringLiteral("1");
            const moneytotals::Sums s = accountSums(app.db(), filter);
            return s.ok ? QPair<double, double>(s.borc, s.alacak) : QPair<double, double>(-1, -1);
        };
        const AccountFilter every{}, byCode{true}, byDates{false, false, true};
        QCOMPARE(sums(every), qMakePair(100.25, 50.0));
        QCOMPARE(sums(byCode), qMakePair(100.25, 50.0));
        QCOMPARE(sums(byDates), qMakePair(100.25, 40.0));
        app.exec(QStringLiteral("UPDATE cari SET alacak = 30, tarih = NULL WHERE mid = ?"), {second});
        QCOMPARE(sums(every), qMakePair(100.25, 40.0));
        QCOMPARE(sums(byDates), qMakePair(100.25, 0.0));
        app.exec(QStringLiteral("DELETE FROM cari WHERE mid = ?"), {second});
        QCOMPARE(sums(every), qMakePair(100.25, 10.0));
        QCOMPARE(sums(byCode), qMakePair(100.25, 10.0));
    }

    // Which book lines the cash and card windows may delete: their own outflows only.
    void postedLines_data()
    {
        QTest::addColumn<QVariant>("gorusmeNo");
        QTest::addColumn<QVariant>("tahsilatNo");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("outflow") << QVariant() << QVariant() << QString();
        QTest::newRow("links of 0, as older files hold") << QVariant(0) << QVariant(0) << "";
        QTest::newRow("a visit's payment") << QVariant(5) << QVariant(0)
            << "Bu satır bir görüşmeden gelmektedir; görüşme listesinden değiştirin.";
        QTest::newRow("a collection") << QVariant() << QVariant(9)
            << "Bu satır bir tahsilattan gelmektedir; kişinin borç-alacak hesabından "
               "değiştirin.";
    }
    void postedLines()
    {
        QFETCH(QVariant, gorusmeNo);
        QFETCH(QVariant, tahsilatNo);
        QTEST(postedLineRefusal(gorusmeNo, tahsilatNo), "refusal");
    }

    void accountDates_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << QDate(2026, 3, 5) << "05.03.2026";
        QTest::newRow("two-digit year") << QDate(26, 11, 30) << "30.11.2026";
        QTest::newRow("none") << QDate() << "";
    }
    void accountDates()
    {
        QFETCH(QDate, day);
        QFETCH(QString, text);
        QCOMPARE(accountDate(day), text);
    }

    void collectionQuestionAndRows()
    {
        CollectionEntry e;
        e.sicilkodu = QStringLiteral("7");
        e.adi = QStringLiteral("Ali");
        e.soyadi = QStringLiteral("Kaya");
        e.amount = roundToCents(150.005);
        e.islemTarihi = QDate(2026, 3, 9);
        e.islemVadesi = QDate(2026, 4, 9);
        e.aciklama = QStringLiteral("Mart taksiti");
        e.odemesekli = QStringLiteral("Nakit");
        e.userCode = QStringLiteral("ayse");
        e.userName = QStringLiteral("Ayşe Kaya");
        QCOMPARE(collectionQuestion(e, QDateTime(QDate(2026, 3, 1), QTime(0, 0))),
                 QStringLiteral("AliKaya na 01.03.2026 tarihli işlemine istinaden 09.03.2026 "
                                "tarihinde 09.04.2026 işlem vadeli 150 tutarında tahsilat "
                                "girilecektir. Devam edilsin mi?"));
        e.amount = 12.5;
        const QString withTime = collectionQuestion(e, QDateTime(QDate(2026, 3, 1), QTime(9, 30)));
        QVERIFY(withTime.startsWith(QStringLiteral("AliKaya na 01.03.2026 09:30:00 tarihli")));
        QVERIFY(withTime.contains(QStringLiteral(" 12,5 tutarında")));
        // An empty list: nothing between the name and the rest.
        QVERIFY(collectionQuestion(e, QVariant())
                    .startsWith(QStringLiteral("AliKaya na  tarihli işlemine")));

        QCOMPARE(collectionBook(QStringLiteral("Nakit")), QStringLiteral("kasa"));
        QCOMPARE(collectionBook(QStringLiteral("Kredi Kartı")), QStringLiteral("kredikart"));
        const RowValues account = collectionAccountRow(e);
        QCOMPARE(valueOf(account, QStringLiteral("alacak")).toDouble(), 12.5);
        QVERIFY(!valueOf(account, QStringLiteral("borc")).isValid());
        QCOMPARE(valueOf(account, QStringLiteral("gorusen")).toString(), e.userName);
        QCOMPARE(valueOf(account, QStringLiteral("islem_vadesi")).toDate(), e.islemVadesi);
        // The money line carries the same amount as the account line.
        const RowValues money = collectionMoneyRow(e, 41);
        QCOMPARE(valueOf(money, QStringLiteral("borc")).toDouble(), 12.5);
        QCOMPARE(valueOf(money, QStringLiteral("tahsilatno")).toLongLong(), 41);
        QCOMPARE(valueOf(money, QStringLiteral("gorusen_kodu")).toString(), e.userCode);
        QCOMPARE(valueOf(money, QStringLiteral("tarih")).toDate(), e.islemTarihi);
    }
};

LUMKAR_TEST(AccountRulesTest)
#include "tst_accountrules.moc"
