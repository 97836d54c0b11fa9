#include "accounts/accountfilters.h"

#include "data/values.h"

namespace lumkar {

namespace {

const QString kTarih = QStringLiteral("tarih");

} // namespace

bool withinDayRange(const Record &row, const QString &field, const QDate &first,
                    const QDate &last)
{
    QDate day;
    QTime time;
    if (!row.dayAndTime(field, day, time) || day < first || day > last)
        return false;
    return day < last || time == QTime(0, 0);
}

bool LedgerFilter::accepts(const Record &row) const
{
    if (!withinDayRange(row, kTarih, first, last))
        return false;
    return allUsers || (!row.isNull(QStringLiteral("gorusen_kodu"))
                        && row.text(QStringLiteral("gorusen_kodu")) == userCode);
}

QString LedgerFilter::sqlCondition() const
{
    return allUsers ? QStringLiteral("tarih >= ? AND tarih <= ?")
                    : QStringLiteral("tarih >= ? AND tarih <= ? AND gorusen_kodu = ?");
}

QVariantList LedgerFilter::sqlValues() const
{
    QVariantList out{values::dayKey(first), values::dayKey(last)};
    if (!allUsers)
        out << userCode;
    return out;
}

bool AccountFilter::accepts(const Record &row) const
{
    bool result = true;
    if (byCode)
        result = !row.isNull(QStringLiteral("sicilkodu"))
            && row.text(QStringLiteral("sicilkodu")) == code;
    else if (byName)
        result = (!row.isNull(QStringLiteral("adi")) && row.text(QStringLiteral("adi")) == adi)
            || (!row.isNull(QStringLiteral("soyadi"))
                && row.text(QStringLiteral("soyadi")) == soyadi);
    if (byDates)
        result = withinDayRange(row, kTarih, first, last);
    return result;
}

QString AccountFilter::sqlCondition() const
{
    if (byDates)
        return QStringLiteral("tarih >= ? AND tarih <= ?");
    if (byCode)
        return QStringLiteral("sicilkodu = ?");
    if (byName)
        return QStringLiteral("(adi = ? OR soyadi = ?)");
    return QString();
}

QVariantList AccountFilter::sqlValues() const
{
    if (byDates)
        return {values::dayKey(first), values::dayKey(last)};
    if (byCode)
        return {code};
    if (byName)
        return {adi, soyadi};
    return {};
}

moneytotals::Sums ledgerSums(QSqlDatabase &db, const QString &book, const LedgerFilter &filter)
{
    return moneytotals::within(db, book, filter.sqlCondition(), filter.sqlValues());
}

moneytotals::Sums accountSums(QSqlDatabase &db, const AccountFilter &filter)
{
    const QString table = QStringLiteral("cari");
    // A period or every line: the day totals; a code or a name: that person's lines.
    if (filter.byDates || (!filter.byCode && !filter.byName))
        return moneytotals::within(db, table, filter.sqlCondition(), filter.sqlValues());
    return moneytotals::ofRows(db, table, filter.sqlCondition(), filter.sqlValues());
}

} // namespace lumkar
