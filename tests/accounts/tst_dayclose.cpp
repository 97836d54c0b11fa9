// Closing a day of the books without windows: the count and its difference, the day's figures
// and the closing row, and every writer of the books refusing what a closed day holds while
// the balance brought forward to later days stays as it was.

#include "fixture.h"
#include "moneydata.h"
#include "testregistry.h"

#include "accounts/bookwrites.h"
#include "accounts/collection.h"
#include "accounts/dayclose.h"
#include "data/moneytotals.h"
#include "visits/visitposting.h"

#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kClosed(2026, 3, 10);

QString nameOf(const QString &code)
{
    return code == QLatin1String("ali") ? QStringLiteral("Ali Can") : QStringLiteral("Ayşe Kaya");
}

VisitEntry visitOn(const QDate &day, const QString &user, const QString &payment)
{
    VisitEntry e;
    e.sicilkodu = QStringLiteral("7");
    e.adi = QStringLiteral("Zeki");
    e.soyadi = QStringLiteral("Su");
    e.tarih = day;
    e.saat = QTime(11, 0);
    e.islemBorcu = 300;
    e.tahsiledilen = 100;
    e.rkime = user;
    e.gorusenAdSoyad = nameOf(user);
    e.odemesekli = payment;
    return e;
}

// Everything the writers could change, in one line.
QString bookState(App &app)
{
    return app
        .scalar(QStringLiteral(
            "SELECT (SELECT count(*) || '/' || COALESCE(SUM(borc), 0) || '/' || COALESCE(SUM(alacak), 0) FROM kasa) "
            "|| ' ' || (SELECT count(*) || '/' || COALESCE(SUM(borc), 0) FROM kredikart) || ' ' || "
            "(SELECT count(*) || '/' || COALESCE(SUM(borc), 0) || '/' || COALESCE(SUM(alacak), 0) FROM cari) || ' ' || "
            "(SELECT count(*) || '/' || COALESCE(SUM(islem_borcu), 0) FROM gorusmeler)"))
        .toString();
}

// The cash balance brought forward to `firstDay`, of Ayşe or of every user.
double broughtForward(App &app, const QDate &firstDay, bool allUsers)
{
    const moneytotals::Sums sums
        = moneytotals::before(app.db(), cashBook(), firstDay, allUsers, QStringLiteral("ayse"));
    return sums.borc - sums.alacak;
}

// Closes the cash day kClosed for `user` (every user when empty) as the window does.
void closeCashDay(App &app, const QString &user)
{
    DayCloseEntry entry;
    entry.book = cashBook();
    entry.day = kClosed;
    entry.allUsers = user.isEmpty();
    entry.userCode = user;
    entry.figures = readDayFigures(app.db(), entry.book, kClosed, entry.allUsers, user);
    entry.counted = true;
    entry.countedAmount = entry.figures.onHand;
    entry.when = QDateTime(kClosed, QTime(19, 0));
    const DayCloseResult result = writeDayClose(app.db(), entry);
    QVERIFY2(result.ok, qPrintable(result.error));
}

struct Written {
    bool ok = false;
    QDate closedDay;
    QString error;
};

template<typename Result> Written written(const Result &result)
{
    return { result.ok, result.closedDay, result.error };
}

} // namespace

class DayCloseTest : public QObject {
    Q_OBJECT
private slots:
    void countAndDifference_data()
    {
        QTest::addColumn<QVector<int>>("counts"); // 200, 100, 50, 20, 10, 5, 1 TL, 50 ... 5 kr
        QTest::addColumn<double>("onHand");
        QTest::addColumn<double>("counted");
        QTest::addColumn<double>("difference");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("exact, every denomination")
            << QVector<int> { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 } << 386.90 << 386.90 << 0.0
            << "Fark yok"
            << "200 TL x 1, 100 TL x 1, 50 TL x 1, 20 TL x 1, 10 TL x 1, 5 TL x 1, 1 TL x 1, "
               "50 kr x 1, 25 kr x 1, 10 kr x 1, 5 kr x 1";
        QTest::newRow("short by five")
            << QVector<int> { 0, 0, 1, 1 } << 75.0 << 70.0 << -5.0 << "Kasa açığı"
            << "50 TL x 1, 20 TL x 1";
        QTest::newRow("coins over by 5 kr") << QVector<int> { 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 1 }
                                            << 0.85 << 0.90 << 0.05 << "Kasa fazlası"
                                            << "25 kr x 3, 10 kr x 1, 5 kr x 1";
        QTest::newRow("a negative count counts as none")
            << QVector<int> { 2, -3 } << 400.0 << 400.0 << 0.0 << "Fark yok"
            << "200 TL x 2";
        QTest::newRow("many banknotes")
            << QVector<int> { 12345 } << 2469000.01 << 2469000.0 << -0.01 << "Kasa açığı"
            << "200 TL x 12345";
    }
    void countAndDifference()
    {
        QFETCH(QVector<int>, counts);
        QFETCH(double, onHand);
        const double counted = countedAmount(counts);
        QTEST(counted, "counted");
        const double difference = countDifference(counted, onHand);
        QTEST(difference, "difference");
        QTEST(differenceName(difference), "name");
        QTEST(countText(counts), "text");
    }

    // Ayşe: 100 in before the day; on it 250 in (a visit's 10:00 line counts too) and 40 out.
    // Ali: 1000 in on the day. A card receipt never enters the cash figures.
    void dayFigures_data()
    {
        QTest::addColumn<QString>("user"); // empty: every user
        QTest::addColumn<QVector<double>>("figures"); // carried, receipts, payments, on hand
        QTest::newRow("Ayşe") << "ayse" << QVector<double> { 100, 250, 40, 310 };
        QTest::newRow("Ali") << "ali" << QVector<double> { 0, 1000, 0, 1000 };
        QTest::newRow("every user") << "" << QVector<double> { 100, 1250, 40, 1310 };
    }
    void dayFigures()
    {
        QFETCH(QString, user);
        QFETCH(QVector<double>, figures);
        App app;
        addMoneyLine(app, cashBook(), { QDateTime(kClosed.addDays(-3), QTime()), 100, 0 });
        addMoneyLine(app, cashBook(), { QDateTime(kClosed, QTime(10, 0)), 250, 0 });
        addMoneyLine(app, cashBook(), { QDateTime(kClosed, QTime()), 0, 40 });
        addMoneyLine(app, cashBook(),
            { QDateTime(kClosed, QTime()), 1000, 0, QStringLiteral("ali"),
                QStringLiteral("Ali Can") });
        addMoneyLine(app, cashBook(), { QDateTime(kClosed.addDays(1), QTime()), 7, 0 });
        addMoneyLine(app, cardBook(), { QDateTime(kClosed, QTime()), 5000, 0 });
        const DayFigures day = readDayFigures(app.db(), cashBook(), kClosed, user.isEmpty(), user);
        QVERIFY(day.ok);
        QCOMPARE(
            (QVector<double> { day.carried, day.receipts, day.payments, day.onHand }), figures);

        // The closing row keeps the figures and the count; the card book keeps no count.
        DayCloseEntry entry;
        entry.book = cashBook();
        entry.day = kClosed;
        entry.allUsers = user.isEmpty();
        entry.userCode = user;
        entry.figures = day;
        entry.counted = true;
        entry.countedAmount = day.onHand - 2.5;
        entry.countText = QStringLiteral("200 TL x 1");
        entry.closedBy = QStringLiteral("ayse");
        entry.when = QDateTime(kClosed, QTime(19, 5));
        QVERIFY(writeDayClose(app.db(), entry).ok);
        const DayClosing closing = lastClosing(app.db(), cashBook(), kClosed, user.isEmpty(), user);
        QVERIFY(closing.found);
        QCOMPARE(closing.onHand, figures[3]);
        QCOMPARE(closing.counted.toDouble(), figures[3] - 2.5);
        QCOMPARE(closing.difference.toDouble(), -2.5);
        // Ali's day is closed by his own closing or by every user's.
        QCOMPARE(lastClosing(app.db(), cashBook(), kClosed, false, QStringLiteral("ali")).found,
            user != QLatin1String("ayse"));
        QCOMPARE(countRows(app, QStringLiteral("gunsonu"),
                     QStringLiteral("tumkullanicilar = ? AND sayim = '200 TL x 1'"),
                     { user.isEmpty() ? QStringLiteral("E") : QStringLiteral("H") }),
            1);
        // Figures read before another line was written close nothing.
        addMoneyLine(app, cashBook(),
            { QDateTime(kClosed, QTime()), 0, 5, user.isEmpty() ? QStringLiteral("ayse") : user });
        const DayCloseResult stale = writeDayClose(app.db(), entry);
        QVERIFY(!stale.ok);
        QVERIFY(stale.refused);
        QCOMPARE(countRows(app, QStringLiteral("gunsonu")), 1);
        QVERIFY(!dayCloseRefusal(entry, kClosed.addDays(-1)).isEmpty());
        QVERIFY(dayCloseRefusal(entry, kClosed).isEmpty());
    }

    // Ayşe's cash day 10.03.2026 is closed (or every user's); a writer then adds, changes or
    // deletes a line of `user` dated `offset` days from it.
    void closedDayGuardsEveryWriter_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closedForAll");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("accepted"); // the user accepted the closed day
        QTest::addColumn<bool>("refused");
        QTest::newRow("outflow on the day") << "outflow" << false << 0 << "ayse" << false << true;
        QTest::newRow("outflow the day before")
            << "outflow" << false << -1 << "ayse" << false << true;
        QTest::newRow("outflow the day after")
            << "outflow" << false << 1 << "ayse" << false << false;
        QTest::newRow("outflow of another user")
            << "outflow" << false << 0 << "ali" << false << false;
        QTest::newRow("another user, every user closed")
            << "outflow" << true << 0 << "ali" << false << true;
        QTest::newRow("outflow, closed day accepted")
            << "outflow" << false << -1 << "ayse" << true << false;
        QTest::newRow("deletion on the day") << "delete" << false << 0 << "ayse" << false << true;
        QTest::newRow("deletion, accepted") << "delete" << false << 0 << "ayse" << true << false;
        QTest::newRow("collection on the day")
            << "collection" << false << 0 << "ayse" << false << true;
        QTest::newRow("collection the day after")
            << "collection" << false << 1 << "ayse" << false << false;
        QTest::newRow("new visit on the day")
            << "new visit" << false << 0 << "ayse" << false << true;
        QTest::newRow("change of a visit of the day")
            << "change visit" << false << 0 << "ayse" << false << true;
        QTest::newRow("change of a visit, accepted")
            << "change visit" << false << 0 << "ayse" << true << false;
        QTest::newRow("visit moved into the day")
            << "move visit" << false << 0 << "ayse" << false << true;
        QTest::newRow("deletion of a visit of the day")
            << "delete visit" << true << -2 << "ali" << false << true;
        QTest::newRow("deletion of a later visit")
            << "delete visit" << false << 1 << "ayse" << false << false;
        QTest::newRow("card visit: the card day is open")
            << "card visit" << false << 0 << "ayse" << false << false;
    }
    void closedDayGuardsEveryWriter()
    {
        QFETCH(QString, action);
        QFETCH(bool, closedForAll);
        QFETCH(int, offset);
        QFETCH(QString, user);
        QFETCH(bool, accepted);
        QFETCH(bool, refused);
        App app;
        const QDate day = kClosed.addDays(offset);
        // What was there before the day was closed.
        addMoneyLine(app, cashBook(), { QDateTime(kClosed.addDays(-5), QTime()), 500, 0 });
        const qlonglong outflow
            = addMoneyLine(app, cashBook(), { QDateTime(day, QTime()), 0, 40, user, nameOf(user) });
        const QDate visitDay = action == QLatin1String("move visit") ? kClosed.addDays(2) : day;
        const WriteResult posted = saveVisit(app.db(), visitOn(visitDay, user, cashPayment()));
        QVERIFY(posted.ok);
        closeCashDay(app, closedForAll ? QString() : QStringLiteral("ayse"));

        const QString before = bookState(app);
        const double carried = broughtForward(app, kClosed.addDays(1), closedForAll);
        const QDate acceptedDay = accepted ? kClosed : QDate();
        VisitEntry change = visitOn(day, user, cashPayment());
        change.changing = posted.visitNumber;
        change.islemBorcu = 350;
        Written result;
        if (action == QLatin1String("outflow"))
            result = written(writeOutflow(app.db(),
                { cashBook(), day, 25, QStringLiteral("Çay"), user, nameOf(user) }, acceptedDay));
        else if (action == QLatin1String("delete"))
            result = written(removeMovement(app.db(), cashBook(), outflow, {}, acceptedDay));
        else if (action == QLatin1String("collection"))
            result = written(writeCollection(app.db(),
                { QStringLiteral("7"), QStringLiteral("Zeki"), QStringLiteral("Su"), 60, day, day,
                    QString(), cashPayment(), user, nameOf(user) },
                acceptedDay));
        else if (action == QLatin1String("new visit"))
            result = written(saveVisit(app.db(), visitOn(day, user, cashPayment()), acceptedDay));
        else if (action == QLatin1String("card visit"))
            result = written(saveVisit(app.db(), visitOn(day, user, cardPayment()), acceptedDay));
        else if (action == QLatin1String("delete visit"))
            result = written(deleteVisit(
                app.db(), posted.visitNumber, QVariant(), posted.written, acceptedDay));
        else
            result = written(saveVisit(app.db(), change, acceptedDay));

        QCOMPARE(result.ok, !refused);
        if (refused) {
            QCOMPARE(result.closedDay, kClosed);
            QCOMPARE(result.error, closedDayRefusal(kClosed));
            QCOMPARE(bookState(app), before);
        } else {
            QVERIFY(!result.closedDay.isValid());
            QVERIFY(bookState(app) != before);
        }
        // Behind a closed day the balance brought forward to the next day never changes for
        // whom the day was closed, unless the closed day itself was accepted.
        if (!accepted)
            QCOMPARE(broughtForward(app, kClosed.addDays(1), closedForAll), carried);
    }
};

LUMKAR_TEST(DayCloseTest)
#include "tst_dayclose.moc"
