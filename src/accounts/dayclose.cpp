#include "accounts/dayclose.h"

#include "data/entryrules.h"
#include "data/formats.h"
#include "data/moneytotals.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "data/values.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace lumkar {

namespace {

const QString kClosings = QStringLiteral("gunsonu");

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

QDate storedDay(const QVariant &stored)
{
    return values::fromDatabase(stored, FieldType::DateTime).toDate();
}

QString readFailure(const QSqlQuery &q)
{
    return s("Kapatılmış günler okunamadı: %1").arg(q.lastError().text());
}

} // namespace

bool readBookLines(QSqlDatabase db, const QString &book, const QString &column,
    const QVariant &value, QVector<BookLine> &lines, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT tarih, gorusen_kodu FROM %1 WHERE %2 = ?")
                  .arg(book, schema::quoted(column)));
    q.addBindValue(value);
    if (!q.exec()) {
        if (error)
            *error = s("\"%1\" hareketleri okunamadı: %2").arg(book, q.lastError().text());
        return false;
    }
    while (q.next())
        lines.append({ book, q.value(1).toString(), storedDay(q.value(0)) });
    return true;
}

ClosedDayCheck closedDayOf(QSqlDatabase db, const QVector<BookLine> &lines)
{
    ClosedDayCheck check;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT MAX(tarih) FROM gunsonu WHERE defter = ? AND tarih >= ? "
                             "AND (tumkullanicilar = 'E' OR kullanici = ?)"));
    for (const BookLine &line : lines) {
        if (!line.day.isValid())
            continue;
        q.addBindValue(line.book);
        q.addBindValue(values::dayKey(line.day));
        q.addBindValue(line.userCode);
        if (!q.exec() || !q.next()) {
            check.ok = false;
            check.error = readFailure(q);
            return check;
        }
        const QDate closed = q.value(0).isNull() ? QDate() : storedDay(q.value(0));
        if (closed.isValid() && (!check.day.isValid() || closed > check.day))
            check.day = closed;
    }
    return check;
}

QString closedDayRefusal(const QDate &day)
{
    return s("%1 günü kapatılmıştır; o güne ve önceki günlere ait kasa ve kredi kartı "
             "hareketleri değiştirilemez. Kayıt yapılmadı.")
        .arg(dayText(day));
}

QString closedDayQuestion(const QDate &day)
{
    return s("%1 günü kapatılmıştır. Bu değişiklik o günün kapanışındaki mevcudu ve sonraki "
             "günlerin nakli yekününü değiştirir. Yine de devam etmek istediğinize "
             "eminmisiniz?")
        .arg(dayText(day));
}

ClosedDayGate passClosedDays(QSqlDatabase db, const QVector<BookLine> &lines, const QDate &accepted)
{
    ClosedDayGate gate;
    const ClosedDayCheck check = closedDayOf(db, lines);
    if (!check.ok) {
        gate.error = check.error;
        return gate;
    }
    if (check.day.isValid() && check.day != accepted) {
        gate.closedDay = check.day;
        gate.error = closedDayRefusal(check.day);
        return gate;
    }
    gate.passed = true;
    return gate;
}

// --- the count -------------------------------------------------------------------------

const QVector<Denomination> &denominations()
{
    static const QVector<Denomination> all { { 20000, QStringLiteral("200 TL") },
        { 10000, QStringLiteral("100 TL") }, { 5000, QStringLiteral("50 TL") },
        { 2000, QStringLiteral("20 TL") }, { 1000, QStringLiteral("10 TL") },
        { 500, QStringLiteral("5 TL") }, { 100, QStringLiteral("1 TL") },
        { 50, QStringLiteral("50 kr") }, { 25, QStringLiteral("25 kr") },
        { 10, QStringLiteral("10 kr") }, { 5, QStringLiteral("5 kr") } };
    return all;
}

double countedAmount(const QVector<int> &counts)
{
    qint64 kurus = 0;
    const QVector<Denomination> &all = denominations();
    for (qsizetype i = 0; i < counts.size() && i < all.size(); ++i)
        if (counts[i] > 0)
            kurus += qint64(counts[i]) * all[i].kurus;
    return double(kurus) / 100.0;
}

QString countText(const QVector<int> &counts)
{
    QStringList parts;
    const QVector<Denomination> &all = denominations();
    for (qsizetype i = 0; i < counts.size() && i < all.size(); ++i)
        if (counts[i] > 0)
            parts << s("%1 x %2").arg(all[i].name).arg(counts[i]);
    return parts.join(QStringLiteral(", "));
}

double countDifference(double counted, double onHand)
{
    return roundToCents(counted - onHand);
}

QString differenceName(double difference)
{
    if (std::fabs(difference) < 0.005)
        return s("Fark yok");
    return difference > 0 ? s("Kasa fazlası") : s("Kasa açığı");
}

// --- the figures and the closing --------------------------------------------------------

DayFigures readDayFigures(
    QSqlDatabase db, const QString &book, const QDate &day, bool allUsers, const QString &userCode)
{
    DayFigures figures;
    const moneytotals::Sums before = moneytotals::before(db, book, day, allUsers, userCode);
    const moneytotals::Sums during = moneytotals::on(db, book, day, allUsers, userCode);
    if (!before.ok || !during.ok) {
        figures.ok = false;
        figures.error = before.ok ? during.error : before.error;
        return figures;
    }
    figures.carried = roundToCents(before.borc - before.alacak);
    figures.receipts = roundToCents(during.borc);
    figures.payments = roundToCents(during.alacak);
    figures.onHand = roundToCents(figures.carried + figures.receipts - figures.payments);
    return figures;
}

QString dayLinesCondition(bool allUsers)
{
    return allUsers ? QStringLiteral("tarih >= ? AND tarih < ?")
                    : QStringLiteral("tarih >= ? AND tarih < ? AND gorusen_kodu = ?");
}

QVariantList dayLinesValues(const QDate &day, bool allUsers, const QString &userCode)
{
    QVariantList out { values::dayKey(day), values::dayKey(day.addDays(1)) };
    if (!allUsers)
        out << userCode;
    return out;
}

QString dayCloseRefusal(const DayCloseEntry &entry, const QDate &today)
{
    if (entry.day > today)
        return s("%1 henüz gelmemiş bir gün; gün kapatılamaz.").arg(dayText(entry.day));
    return QString();
}

RowValues dayCloseRow(const DayCloseEntry &e)
{
    const QVariant none; // the card book is not counted
    return { { s("defter"), e.book }, { s("tarih"), e.day },
        { s("tumkullanicilar"), e.allUsers ? s("E") : s("H") },
        { s("kullanici"), e.allUsers ? QVariant() : QVariant(e.userCode) },
        { s("kullaniciadsoyad"), e.userName }, { s("nakliyekun"), e.figures.carried },
        { s("tahsilat"), e.figures.receipts }, { s("odeme"), e.figures.payments },
        { s("mevcut"), e.figures.onHand },
        { s("sayilan"), e.counted ? QVariant(e.countedAmount) : none },
        { s("fark"),
            e.counted ? QVariant(countDifference(e.countedAmount, e.figures.onHand)) : none },
        { s("sayim"), e.countText }, { s("kapatan"), e.closedBy },
        { s("kapatanadsoyad"), e.closedByName }, { s("kapanistarihi"), e.when } };
}

DayCloseResult writeDayClose(QSqlDatabase db, const DayCloseEntry &e)
{
    DayCloseResult result;
    Transaction transaction(db);
    if (!transaction.isActive()) {
        result.error = transaction.errorText();
        return result;
    }
    const DayFigures now = readDayFigures(db, e.book, e.day, e.allUsers, e.userCode);
    if (!now.ok) {
        result.error = now.error;
        return result;
    }
    if (now.carried != e.figures.carried || now.receipts != e.figures.receipts
        || now.payments != e.figures.payments) {
        result.refused = true;
        result.error = s("Gün bilgileri siz yükledikten sonra değişti. Bilgileri yeniden "
                         "yükleyip kontrol edin; gün kapatılmadı.");
        return result;
    }
    TableWriter writer(db);
    result.number = writer.insert(kClosings, dayCloseRow(e));
    if (result.number < 0) {
        result.error = writer.errorText();
        return result;
    }
    if (!transaction.commit()) {
        result.error = transaction.errorText();
        return result;
    }
    result.ok = true;
    return result;
}

DayClosing lastClosing(
    QSqlDatabase db, const QString &book, const QDate &day, bool allUsers, const QString &userCode)
{
    DayClosing closing;
    QSqlQuery q(db);
    // A user's day is closed by a closing of that user or of every user.
    q.prepare(QStringLiteral("SELECT kapanistarihi, kapatanadsoyad, kullaniciadsoyad, mevcut, "
                             "sayilan, fark FROM gunsonu WHERE defter = ? AND tarih = ? AND "
                             "(tumkullanicilar = 'E' OR (? = 'H' AND kullanici = ?)) "
                             "ORDER BY gsid DESC LIMIT 1"));
    q.addBindValue(book);
    q.addBindValue(values::dayKey(day));
    q.addBindValue(allUsers ? s("E") : s("H"));
    q.addBindValue(userCode);
    if (!q.exec()) {
        closing.ok = false;
        closing.error = readFailure(q);
        return closing;
    }
    if (!q.next())
        return closing;
    closing.found = true;
    closing.when = values::fromDatabase(q.value(0), FieldType::DateTime).toDateTime();
    closing.byName = q.value(1).toString();
    closing.forName = q.value(2).toString();
    closing.onHand = q.value(3).toDouble();
    closing.counted = q.value(4).isNull() ? QVariant() : QVariant(q.value(4).toDouble());
    closing.difference = q.value(5).isNull() ? QVariant() : QVariant(q.value(5).toDouble());
    return closing;
}

QString closingStatus(const DayClosing &c)
{
    if (!c.found)
        return s("Bu gün kapatılmamıştır.");
    QString text = s("Bu gün %1 tarihinde %2 tarafından %3 için kapatıldı; mevcut %4")
                       .arg(c.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")), c.byName,
                           c.forName, formats::amountTotal(c.onHand));
    if (!c.counted.isNull())
        text += s(", sayılan %1, fark %2")
                    .arg(formats::amountTotal(c.counted.toDouble()),
                        formats::amountTotal(c.difference.toDouble()));
    return text + QLatin1Char('.');
}

} // namespace lumkar
