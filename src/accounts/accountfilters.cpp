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

ColumnSums sumShown(DataSet &dataSet, const QString &firstField, const QString &secondField)
{
    ColumnSums sums;
    const int a = dataSet.fieldIndex(firstField);
    const int b = dataSet.fieldIndex(secondField);
    const int rows = dataSet.recordCount();
    for (int r = 0; r < rows; ++r) {
        sums.first += dataSet.valueAt(r, a).toDouble();
        sums.second += dataSet.valueAt(r, b).toDouble();
    }
    return sums;
}

} // namespace lumkar
