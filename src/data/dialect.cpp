#include "data/dialect.h"

#include "data/schema.h"

#include <QVariant>

namespace lumkar::dialect {

QString rowIdColumn(Engine engine)
{
    return engine == Engine::Postgres ? QStringLiteral("ctid::text") : QStringLiteral("rowid");
}

QString rowIdMatch(Engine engine)
{
    return engine == Engine::Postgres ? QStringLiteral("ctid = ?::tid")
                                      : QStringLiteral("rowid = ?");
}

QString returningKey(Engine engine, const QString &key)
{
    if (engine != Engine::Postgres || key.isEmpty())
        return QString();
    return QStringLiteral(" RETURNING ") + schema::quoted(key);
}

QString returningRowId(Engine engine)
{
    return engine == Engine::Postgres ? QStringLiteral(" RETURNING ctid::text") : QString();
}

QVariant writtenRowId(QSqlQuery &query, Engine engine, bool inserted)
{
    if (engine == Engine::Postgres)
        return query.next() ? query.value(0) : QVariant();
    return inserted ? query.lastInsertId() : QVariant();
}

qlonglong insertedKey(QSqlQuery &query, Engine engine)
{
    if (engine == Engine::Postgres)
        return query.next() ? query.value(0).toLongLong() : -1;
    const QVariant id = query.lastInsertId();
    return id.isValid() ? id.toLongLong() : -1;
}

QString lockForWriting(Engine engine, const QString &table, const QString &key)
{
    // The file has one writer at a time: a write that changes nothing takes its lock.
    return engine == Engine::Postgres
        ? QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table)
        : QStringLiteral("UPDATE %1 SET %2 = %2 WHERE 0 = 1").arg(table, key);
}

QString beginWriting(Engine engine)
{
    return engine == Engine::Postgres ? QString() : QStringLiteral("BEGIN IMMEDIATE");
}

QString sameValue(Engine engine, const QString &column)
{
    return column
        + (engine == Engine::Postgres ? QStringLiteral(" IS NOT DISTINCT FROM ?")
                                      : QStringLiteral(" IS ?"));
}

QString storedDateTime(Engine engine, const QString &column)
{
    if (engine != Engine::Postgres)
        return column;
    return QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS')").arg(column);
}

QString consistentReadStatement(Engine engine)
{
    return engine == Engine::Postgres
        ? QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY")
        : QString();
}

QString emptyTable(Engine engine, const QString &table)
{
    // The server's TRUNCATE leaves no dead rows behind; the file empties a table without
    // triggers in one step.
    return (engine == Engine::Postgres ? QStringLiteral("TRUNCATE %1")
                                       : QStringLiteral("DELETE FROM %1"))
        .arg(table);
}

QString continueKeys(Engine engine, const QString &table, const QString &key)
{
    if (engine != Engine::Postgres || key.isEmpty())
        return QString();
    return QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                          "COALESCE((SELECT max(%3) FROM %1), 0) + 1, false)")
        .arg(table, key.toLower(), schema::quoted(key));
}

QString roundedToCents(const QString &expression)
{
    return QStringLiteral("CAST(ROUND(CAST(%1 AS NUMERIC), 2) AS DOUBLE PRECISION)").arg(expression);
}

} // namespace lumkar::dialect
