#include "data/tablewriter.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/schema.h"
#include "data/values.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace lumkar {

QVariant valueOf(const RowValues &row, const QString &column)
{
    for (const auto &[name, value] : row)
        if (name == column)
            return value;
    return QVariant();
}

namespace {

QVariant stored(const QString &table, const QString &column, const QVariant &value)
{
    return values::toDatabase(value, schema::typeOfColumn(table, column));
}

} // namespace

bool TableWriter::run(QSqlQuery &query, const QString &table, bool prepared)
{
    Database *database = Database::of(m_db);
    if (database && database->isDamaged()) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Veritabanı dosyası bozuk olduğu için kayıt "
                                     "yapılmadı. Son yedeği geri yükleyin.");
        return false;
    }
    // A statement the server could not prepare (a lock it waited for too long, a lost
    // connection) is not run: its own error is the one the user is told.
    if (prepared && query.exec())
        return true;
    // The failure is noted (a damaged file takes no more writes); the caller tells the user.
    if (database)
        database->noteFailure(query.lastError());
    if (m_error.isEmpty())
        m_error = QStringLiteral("\"%1\" tablosuna yazılamadı. %2")
                      .arg(table, failureText(query.lastError()));
    return false;
}

qlonglong TableWriter::insert(const QString &table, const RowValues &row)
{
    QStringList columns;
    QStringList marks;
    for (const auto &[name, value] : row) {
        columns << schema::quoted(name);
        marks << QStringLiteral("?");
    }
    const TableDef *def = schema::table(table);
    const Engine engine = schema::engineOf(m_db);
    QSqlQuery q(m_db);
    const bool prepared
        = q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
            + dialect::returningKey(engine, def ? def->key : QString()));
    for (const auto &[name, value] : row)
        q.addBindValue(stored(table, name, value));
    if (!run(q, table, prepared))
        return -1;
    return dialect::insertedKey(q, engine);
}

bool TableWriter::update(
    const QString &table, const QString &column, const QVariant &value, const RowValues &row)
{
    return row.isEmpty() || updateWhere(table, column, value, QString(), {}, row) >= 0;
}

int TableWriter::updateWhere(const QString &table, const QString &column, const QVariant &value,
    const QString &condition, const QVariantList &conditionValues, const RowValues &row)
{
    QStringList sets;
    for (const auto &[name, v] : row)
        sets << schema::quoted(name) + QStringLiteral("=?");
    QString where = schema::quoted(column) + QStringLiteral("=?");
    if (!condition.isEmpty())
        where += QStringLiteral(" AND (") + condition + QLatin1Char(')');
    QSqlQuery q(m_db);
    const bool prepared = q.prepare(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, sets.join(QLatin1Char(',')), where));
    for (const auto &[name, v] : row)
        q.addBindValue(stored(table, name, v));
    q.addBindValue(stored(table, column, value));
    for (const QVariant &v : conditionValues)
        q.addBindValue(v);
    if (!run(q, table, prepared))
        return -1;
    return q.numRowsAffected();
}

int TableWriter::removeWhere(const QString &table, const QString &column, const QVariant &value,
    const QString &condition, const QVariantList &conditionValues)
{
    QSqlQuery q(m_db);
    const bool prepared = q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2=? AND (%3)")
                                        .arg(table, schema::quoted(column), condition));
    q.addBindValue(stored(table, column, value));
    for (const QVariant &v : conditionValues)
        q.addBindValue(v);
    return run(q, table, prepared) ? q.numRowsAffected() : -1;
}

bool TableWriter::remove(const QString &table, const QString &column, const QVariant &value)
{
    QSqlQuery q(m_db);
    const bool prepared
        = q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(table, schema::quoted(column)));
    q.addBindValue(stored(table, column, value));
    return run(q, table, prepared);
}

QVariant TableWriter::findKey(const QString &table, const QString &column, const QVariant &value)
{
    const TableDef *def = schema::table(table);
    const QString key = def && !def->key.isEmpty() ? schema::quoted(def->key)
                                                   : dialect::rowIdColumn(schema::engineOf(m_db));
    QSqlQuery q(m_db);
    const bool prepared
        = q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3=? ORDER BY %1 LIMIT 1")
                        .arg(key, table, schema::quoted(column)));
    q.addBindValue(stored(table, column, value));
    if (!run(q, table, prepared))
        return QVariant();
    return q.next() ? QVariant(q.value(0).toLongLong()) : QVariant();
}

} // namespace lumkar
