#include "data/personcodes.h"

#include "data/dialect.h"
#include "data/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

// The largest whole-number value of one column; digits only, short enough for 64 bits.
QString largestCode(const QString &table, const QString &column, Engine engine)
{
    const QString digitsOnly = engine == Engine::Postgres ? QStringLiteral("%1 ~ '^[0-9]+$'")
                                                          : QStringLiteral("%1 NOT GLOB '*[^0-9]*'");
    return QStringLiteral("SELECT max(CAST(%2 AS BIGINT)) AS v FROM %1 WHERE %2 <> '' AND %3 "
                          "AND length(%2) <= 18")
        .arg(table, column, digitsOnly.arg(column));
}

} // namespace

int personCodeWidth()
{
    return schema::table(QStringLiteral("siciltablo"))->column(QStringLiteral("sicil_kodu"))->size;
}

QString nextPersonCode(const QSqlDatabase &db, QString *error)
{
    const Engine engine = schema::engineOf(db);
    const QString sql = QStringLiteral("SELECT max(v) FROM (")
        + largestCode(QStringLiteral("siciltablo"), QStringLiteral("sicil_kodu"), engine)
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("randevu"), QStringLiteral("sicil_kodu"), engine)
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("gorusmeler"), QStringLiteral("sicilkodu"), engine)
        + QStringLiteral(" UNION ALL ")
        + largestCode(QStringLiteral("cari"), QStringLiteral("sicilkodu"), engine)
        + QStringLiteral(") AS codes");
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

QString codeForNewPerson(const QSqlDatabase &db, const QString &given, bool &taken,
                         QString *error)
{
    taken = false;
    QSqlQuery q(db);
    if (!q.exec(dialect::lockForWriting(schema::engineOf(db), QStringLiteral("siciltablo"),
                                        QStringLiteral("hid"))))
        return given;
    q.prepare(QStringLiteral("SELECT count(*) FROM siciltablo WHERE sicil_kodu = ?"));
    q.addBindValue(given);
    if (!q.exec() || !q.next() || q.value(0).toInt() == 0)
        return given;
    taken = true;
    return nextPersonCode(db, error);
}

} // namespace lumkar
