#include "data/personcodes.h"

#include "data/dialect.h"
#include "data/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

// The columns that carry person codes.
const QList<std::pair<QString, QString>> &codeColumns()
{
    static const QList<std::pair<QString, QString>> all = {
        {QStringLiteral("siciltablo"), QStringLiteral("sicil_kodu")},
        {QStringLiteral("randevu"), QStringLiteral("sicil_kodu")},
        {QStringLiteral("gorusmeler"), QStringLiteral("sicilkodu")},
        {QStringLiteral("cari"), QStringLiteral("sicilkodu")}};
    return all;
}

// The codes that count: digits only, short enough for 64 bits. The same text in the query
// and in its index, so that the index serves the query.
QString wholeNumber(const QString &column, Engine engine)
{
    const QString digitsOnly = engine == Engine::Postgres ? QStringLiteral("%1 ~ '^[0-9]+$'")
                                                          : QStringLiteral("%1 NOT GLOB '*[^0-9]*'");
    return QStringLiteral("%1 <> '' AND %2 AND length(%1) <= 18")
        .arg(column, digitsOnly.arg(column));
}

QString codeValue(const QString &column)
{
    return QStringLiteral("CAST(%1 AS BIGINT)").arg(column);
}

// The largest whole-number value of one column, read at the end of its index.
QString largestCode(const QString &table, const QString &column, Engine engine)
{
    return QStringLiteral("SELECT max(%1) AS v FROM %2 WHERE %3")
        .arg(codeValue(column), table, wholeNumber(column, engine));
}

} // namespace

int personCodeWidth()
{
    return schema::table(QStringLiteral("siciltablo"))->column(QStringLiteral("sicil_kodu"))->size;
}

QString nextPersonCode(const QSqlDatabase &db, QString *error)
{
    const Engine engine = schema::engineOf(db);
    QStringList eachTable;
    for (const auto &[table, column] : codeColumns())
        eachTable << largestCode(table, column, engine);
    const QString sql = QStringLiteral("SELECT max(v) FROM (")
        + eachTable.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") AS codes");
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

QStringList personCodeIndexNames()
{
    QStringList names;
    for (const auto &[table, column] : codeColumns())
        names << table + QStringLiteral("_kod_degeri");
    return names;
}

QStringList personCodeIndexes(Engine engine)
{
    QStringList statements;
    for (const auto &[table, column] : codeColumns())
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_kod_degeri ON %1 (%2) WHERE %3")
                          .arg(table, codeValue(column), wholeNumber(column, engine));
    return statements;
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
