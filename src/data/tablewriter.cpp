#include "data/tablewriter.h"

#include "data/asread.h"
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

// A value in the program's own terms, whatever form it was given or stored in.
QVariant inProgramTerms(const QString &table, const QString &column, const QVariant &value)
{
    const FieldType type = schema::typeOfColumn(table, column);
    return values::fromDatabase(values::toDatabase(value, type), type);
}

// The condition that every column of `asRead` holds its value, and the values to bind.
QString asReadCondition(QSqlDatabase db, const QString &table, const RowValues &asRead,
                        QVariantList &binds)
{
    const Engine engine = schema::engineOf(db);
    QStringList parts;
    for (const auto &[name, value] : asRead) {
        parts << dialect::sameValue(engine, schema::quoted(name));
        binds << stored(table, name, value);
    }
    return parts.join(QStringLiteral(" AND "));
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

TableWriter::AsRead TableWriter::updateAsRead(const QString &table, const QString &column,
    const QVariant &value, const RowValues &asRead, const RowValues &row)
{
    QVariantList binds;
    const QString condition = asReadCondition(m_db, table, asRead, binds);
    const int rows = updateWhere(table, column, value, condition, binds, row);
    if (rows != 0)
        return rows > 0 ? AsRead::Written : AsRead::Failed;
    return notAsRead(table, column, value, asRead, false,
                     [&] { return updateWhere(table, column, value, QString(), {}, row); });
}

TableWriter::AsRead TableWriter::removeAsRead(const QString &table, const QString &column,
    const QVariant &value, const RowValues &asRead, const QString &also)
{
    QVariantList binds;
    QString condition = asReadCondition(m_db, table, asRead, binds);
    const QString own = also.isEmpty() ? QStringLiteral("1=1") : QStringLiteral("(%1)").arg(also);
    condition = condition.isEmpty() ? own : condition + QStringLiteral(" AND ") + own;
    const int rows = removeWhere(table, column, value, condition, binds);
    if (rows != 0)
        return rows > 0 ? AsRead::Written : AsRead::Failed;
    bool refused = false;
    const AsRead found = notAsRead(table, column, value, asRead, true, [&] {
        const int again = removeWhere(table, column, value, own, {});
        refused = again == 0;
        return again;
    });
    if (!refused)
        return found;
    m_error.clear(); // a refusal, not a failure: the caller tells why
    return AsRead::Refused;
}

TableWriter::AsRead TableWriter::notAsRead(const QString &table, const QString &column,
    const QVariant &value, const RowValues &asRead, bool deleting,
    const std::function<int()> &again)
{
    m_now.clear();
    QStringList columns;
    for (const auto &[name, v] : asRead)
        columns << schema::quoted(name);
    QSqlQuery q(m_db);
    const bool prepared = q.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
            .arg(columns.isEmpty() ? schema::quoted(column) : columns.join(QLatin1Char(',')),
                 table, schema::quoted(column)));
    q.addBindValue(stored(table, column, value));
    if (!run(q, table, prepared))
        return AsRead::Failed;
    if (!q.next()) {
        m_error = deleting ? deletionOfDeletedText() : deletedMeanwhileText();
        return AsRead::Gone;
    }
    QStringList changed;
    for (int i = 0; i < asRead.size(); ++i) {
        const QString &name = asRead[i].first;
        const FieldType type = schema::typeOfColumn(table, name);
        const QVariant now = values::fromDatabase(q.value(i), type);
        m_now.append({name, now});
        if (now != inProgramTerms(table, name, asRead[i].second))
            changed << QStringLiteral("%1: %2").arg(name, shownValue(now));
    }
    if (!changed.isEmpty()) {
        m_error = deleting ? changedBeforeDeletionText(changed) : changedMeanwhileText(changed);
        return AsRead::Changed;
    }
    // The same values, only stored in another form.
    const int rows = again();
    if (rows > 0)
        return AsRead::Written;
    if (rows == 0 && m_error.isEmpty())
        m_error = deleting ? deletionOfDeletedText() : deletedMeanwhileText();
    return rows == 0 ? AsRead::Gone : AsRead::Failed;
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
