#include "data/personcodes.h"

#include "data/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

// The largest whole-number value of one column; digits only, short enough for 64 bits.
QString largestCode(const QString &table, const QString &column)
{
    return QStringLiteral("SELECT max(CAST(%2 AS INTEGER)) AS v FROM %1 WHERE %2 <> '' "
                          "AND %2 NOT GLOB '*[^0-9]*' AND length(%2) <= 18")
        .arg(table, column);
}

} // namespace

int personCodeWidth()
{
    return schema::table(QStringLiteral("siciltablo"))->column(QStringLiteral("sicil_kodu"))->size;
}

QString nextPersonCode(const QSqlDatabase &db, QString *error)
{
    const QString sql = QStringLiteral("SELECT max(v) FROM (") + largestCode(
                            QStringLiteral("siciltablo"), QStringLiteral("sicil_kodu"))
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("randevu"), QStringLiteral("sicil_kodu"))
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("gorusmeler"), QStringLiteral("sicilkodu"))
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("cari"), QStringLiteral("sicilkodu")) + QStringLiteral(")");
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        if (error)
            *error = QStringLiteral("Yeni kişi kodu bulunamadı: ") + q.lastError().text();
        return QString();
    }
    const QVariant largest = q.value(0);
    const QString code =
        largest.isNull() ? QStringLiteral("1") : QString::number(largest.toLongLong() + 1);
    if (code.size() > personCodeWidth()) {
        if (error)
            *error = QStringLiteral("Sıradaki kişi kodu %1 haneli olurdu (%2); kişi kodu "
                                    "en çok %3 hane olabilir! Yeni kişi kaydı açılmadı.")
                         .arg(code.size())
                         .arg(code)
                         .arg(personCodeWidth());
        return QString();
    }
    return code;
}

} // namespace lumkar
