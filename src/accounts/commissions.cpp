#include "accounts/commissions.h"

#include "data/dialect.h"
#include "data/entryrules.h"
#include "data/values.h"

namespace lumkar {

namespace {

// The commission of one visit: the rate is a percentage of the amount charged.
const QString kCommission = dialect::roundedToCents(
    QStringLiteral("COALESCE(islem_borcu, 0) * COALESCE(paketprim, 0) / 100.0"));

QString whereClause(const CommissionFilter &filter)
{
    QString where = QStringLiteral(" WHERE tarih >= ? AND tarih < ?");
    if (!filter.allUsers)
        where += QStringLiteral(" AND RKime = ?");
    return where;
}

} // namespace

QVariantList CommissionFilter::values() const
{
    QVariantList out { values::dayKey(first), values::dayKey(last.addDays(1)) };
    if (!allUsers)
        out << userCode;
    return out;
}

QString commissionLinesQuery(const CommissionFilter &filter)
{
    return QStringLiteral("SELECT mid, tarih, saat, RKime, gorusenadsoyad, sicilkodu, adi, "
                          "soyadi, paketkodu, paketadi, COALESCE(paketprim, 0) AS paketprim, "
                          "COALESCE(islem_borcu, 0) AS islem_borcu, "
                          "COALESCE(tahsiledilen, 0) AS tahsiledilen, %1 AS prim "
                          "FROM gorusmeler")
               .arg(kCommission)
        + whereClause(filter) + QStringLiteral(" ORDER BY RKime, tarih, saat, mid");
}

QString commissionTotalsQuery(const CommissionFilter &filter)
{
    return QStringLiteral("SELECT RKime, MAX(gorusenadsoyad) AS gorusenadsoyad, "
                          "COUNT(*) AS gorusmesayisi, "
                          "SUM(COALESCE(islem_borcu, 0)) AS islem_borcu, "
                          "SUM(COALESCE(tahsiledilen, 0)) AS tahsiledilen, "
                          "SUM(%1) AS prim FROM gorusmeler")
               .arg(kCommission)
        + whereClause(filter) + QStringLiteral(" GROUP BY RKime ORDER BY RKime");
}

CommissionTotals sumCommissionTotals(DataSet &totals)
{
    CommissionTotals sum;
    const int visits = totals.fieldIndex(QStringLiteral("gorusmesayisi"));
    const int charged = totals.fieldIndex(QStringLiteral("islem_borcu"));
    const int collected = totals.fieldIndex(QStringLiteral("tahsiledilen"));
    const int commission = totals.fieldIndex(QStringLiteral("prim"));
    for (int row = 0; row < totals.recordCount(); ++row) {
        sum.visits += totals.valueAt(row, visits).toInt();
        sum.charged += totals.valueAt(row, charged).toDouble();
        sum.collected += totals.valueAt(row, collected).toDouble();
        sum.commission += totals.valueAt(row, commission).toDouble();
    }
    sum.charged = roundToCents(sum.charged);
    sum.collected = roundToCents(sum.collected);
    sum.commission = roundToCents(sum.commission);
    return sum;
}

QString commissionBasisText()
{
    return QStringLiteral("Prim, her görüşmenin paketine ait prim oranı (%) ile görüşmenin "
                          "işlem tutarı üzerinden hesaplanır; tahsil edilen, görüşmede alınan "
                          "tutardır.");
}

} // namespace lumkar
