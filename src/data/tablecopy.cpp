#include "data/tablecopy.h"

#include "data/textfunctions.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/moneytotals.h"
#include "data/schema.h"
#include "data/transaction.h"

#include <QAtomicInt>
#include <QDir>
#include <QLocale>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

namespace lumkar {

namespace {

QAtomicInt fileConnectionCounter;

// Rows written by one statement: on the server many, to spare round trips; in the file one,
// as it costs no round trip and the driver looks up every value of a statement by its place
// in a list.
constexpr int kRowsPerServerInsert = 5000;
// Rows read from the source at a time, in the order of the key.
constexpr int kRowsPerRead = 5000;
// The progress is told after every so many rows, and after every table.
constexpr int kRowsPerProgress = 2000;

int rowsPerInsert(Engine engine)
{
    return engine == Engine::Postgres ? kRowsPerServerInsert : 1;
}

QString columnList(const TableDef &table, Engine engine, bool reading)
{
    QStringList columns;
    for (const ColumnDef &c : table.columns) {
        const QString name = schema::quoted(c.name);
        columns << (reading && c.type == FieldType::DateTime ? dialect::storedDateTime(engine, name)
                                                             : name);
    }
    return columns.join(QStringLiteral(", "));
}

// The server's type of a column's values in an array.
QString serverArrayType(FieldType type)
{
    switch (type) {
    case FieldType::AutoNumber:
    case FieldType::Long:
        return QStringLiteral("integer[]");
    case FieldType::Short:
        return QStringLiteral("smallint[]");
    case FieldType::Double:
        return QStringLiteral("double precision[]");
    case FieldType::DateTime:
        return QStringLiteral("timestamp[]");
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    return QStringLiteral("text[]");
}

// The statement that writes a batch. The server takes one array per column, each a bound
// value, unnested into rows (one statement for any number of rows); the file one row.
QString insertStatement(const TableDef &table, Engine engine)
{
    QStringList values;
    for (const ColumnDef &c : table.columns)
        values << (engine == Engine::Postgres ? QStringLiteral("?::") + serverArrayType(c.type)
                                              : QStringLiteral("?"));
    return (engine == Engine::Postgres
                ? QStringLiteral("INSERT INTO %1 (%2) SELECT * FROM unnest(%3)")
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)"))
        .arg(table.name, columnList(table, engine, false), values.join(QStringLiteral(", ")));
}

// One value as an element of an array literal of the server: quoted, its quotes and
// backslashes escaped; NULL as NULL.
QString arrayElement(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    // A number with every digit it has; anything else (a text the file holds in a number
    // column) as written, for the server to take or refuse.
    QString text = type == FieldType::Double && value.metaType().id() == QMetaType::Double
        ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
        : value.toString();
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Binds the rows of a batch (the values of row after row) to the statement of insertStatement.
void bindBatch(QSqlQuery &query, const QVariantList &rows, const TableDef &table, Engine engine)
{
    const int width = int(table.columns.size());
    if (engine != Engine::Postgres) {
        for (int v = 0; v < rows.size(); ++v)
            query.bindValue(v, rows.at(v));
        return;
    }
    for (int c = 0; c < width; ++c) {
        QString array = QStringLiteral("{");
        for (int v = c; v < rows.size(); v += width) {
            if (v > c)
                array += QLatin1Char(',');
            array += arrayElement(rows.at(v), table.columns.at(c).type);
        }
        array += QLatin1Char('}');
        query.bindValue(c, array);
    }
}

// A value as the target takes it: texts as texts (the file may hold a number in a text
// column), everything else as read. Date-times arrive as the stored text.
QVariant forTarget(const QVariant &value, FieldType type)
{
    if (value.isNull())
        return QVariant();
    if ((type == FieldType::Text || type == FieldType::Memo)
        && value.metaType().id() != QMetaType::QString)
        return value.toString();
    return value;
}

class Copier {
public:
    Copier(QSqlDatabase &source, QSqlDatabase &target, const CopyProgress &progress)
        : m_source(source),
          m_target(target),
          m_progress(progress),
          m_from(schema::engineOf(source)),
          m_to(schema::engineOf(target))
    {
    }

    TableCopy run()
    {
        Transaction read(m_source);
        if (!read.isActive())
            return failed(m_source.lastError(), read.errorText());
        if (const QString sql = dialect::consistentReadStatement(m_from); !sql.isEmpty())
            if (!exec(m_source, sql))
                return m_result;
        QVector<TableRows> counts;
        QSqlError error;
        if (!countTableRows(m_source, counts, &error))
            return failed(error);
        m_total = totalRows(counts);

        Transaction write(m_target);
        if (!write.isActive())
            return failed(m_target.lastError(), write.errorText());
        m_write = &write;
        for (const QString &book : moneytotals::totalledTables())
            for (const QString &sql : moneytotals::dropStatements(book, m_to))
                if (!exec(m_target, sql))
                    return m_result;
        for (const TableDef &table : schema::tables())
            if (!exec(m_target, dialect::emptyTable(m_to, table.name), table.name))
                return m_result;
        for (int i = 0; i < counts.size(); ++i) {
            const TableDef &table = schema::tables().at(i);
            qlonglong copied = 0;
            if (counts.at(i).rows > 0 && (!copyTable(table, copied) || !tell()))
                return m_result;
            if (const QString sql = dialect::continueKeys(m_to, table.name, table.key);
                !sql.isEmpty() && !exec(m_target, sql, table.name))
                return m_result;
            m_result.copied.append({ table.name, copied });
        }
        for (const QString &book : moneytotals::totalledTables())
            for (const QString &sql : moneytotals::createStatements(book, m_to))
                if (!exec(m_target, sql, moneytotals::totalsTable(book)))
                    return m_result;
        if (!write.commit())
            return failed(m_target.lastError(), write.errorText());
        m_result.ok = true;
        return m_result;
    }

private:
    TableCopy failed(const QSqlError &error, const QString &text = QString())
    {
        // Rolled back at once: the server frees the statements of a failed transaction only
        // after it.
        if (m_write)
            m_write->rollback();
        m_result.ok = false;
        m_result.copied.clear();
        m_result.error = error;
        m_result.errorText = text.isEmpty() ? failureText(error) : text;
        if (Database *database = Database::of(m_target))
            database->noteFailure(error);
        return m_result;
    }

    bool fail(const QSqlError &error, const QString &table)
    {
        failed(error);
        if (!table.isEmpty())
            m_result.errorText
                = QStringLiteral("\"%1\" tablosu aktarılamadı. %2").arg(table, m_result.errorText);
        return false;
    }

    // Tells the progress how far the copy is; false when it was cancelled.
    bool tell()
    {
        if (!m_progress || m_progress(m_done, m_total))
            return true;
        if (m_write)
            m_write->rollback();
        m_result.canceled = true;
        m_result.copied.clear();
        m_result.errorText = QStringLiteral("Aktarma iptal edildi.");
        return false;
    }

    bool exec(QSqlDatabase &db, const QString &sql, const QString &table = QString())
    {
        QSqlQuery q(db);
        return q.exec(sql) || fail(q.lastError(), table);
    }

    bool copyTable(const TableDef &table, qlonglong &copied)
    {
        const int width = int(table.columns.size());
        const int batch = rowsPerInsert(m_to);
        QSqlQuery insert(m_target);
        if (!insert.prepare(insertStatement(table, m_to)))
            return fail(insert.lastError(), table.name);
        QVariantList pending;
        pending.reserve(batch * width);
        const auto flush = [&] {
            bindBatch(insert, pending, table, m_to);
            if (!insert.exec())
                return fail(insert.lastError(), table.name);
            const qlonglong before = m_done;
            m_done += pending.size() / width;
            copied += pending.size() / width;
            pending.clear();
            return m_done / kRowsPerProgress == before / kRowsPerProgress || tell();
        };

        const int keyColumn = table.key.isEmpty() ? -1 : [&] {
            for (int c = 0; c < width; ++c)
                if (table.columns.at(c).name == table.key)
                    return c;
            return -1;
        }();
        // Read a page at a time in the order of the key, each page after the last key read.
        const QString select
            = QStringLiteral("SELECT %1 FROM %2").arg(columnList(table, m_from, true), table.name);
        const QString page = QStringLiteral(" ORDER BY %1 LIMIT %2")
                                 .arg(schema::quoted(table.key))
                                 .arg(kRowsPerRead);
        QSqlQuery first(m_source);
        QSqlQuery next(m_source);
        first.setForwardOnly(true);
        next.setForwardOnly(true);
        if (!first.prepare(keyColumn < 0 ? select : select + page)
            || (keyColumn >= 0
                && !next.prepare(select
                    + QStringLiteral(" WHERE %1 > ?").arg(schema::quoted(table.key)) + page)))
            return fail(
                first.lastError().isValid() ? first.lastError() : next.lastError(), table.name);
        QVariant lastKey;
        for (QSqlQuery *read = &first; read; read = &next) {
            if (read == &next)
                read->bindValue(0, lastKey);
            if (!read->exec())
                return fail(read->lastError(), table.name);
            int rows = 0;
            while (read->next()) {
                ++rows;
                for (int c = 0; c < width; ++c)
                    pending.append(forTarget(read->value(c), table.columns.at(c).type));
                if (keyColumn >= 0)
                    lastKey = read->value(keyColumn);
                if (pending.size() == batch * width && !flush())
                    return false;
            }
            if (read->lastError().isValid())
                return fail(read->lastError(), table.name);
            if (keyColumn < 0 || rows < kRowsPerRead)
                break;
        }
        return pending.isEmpty() || flush();
    }

    QSqlDatabase &m_source;
    QSqlDatabase &m_target;
    const CopyProgress &m_progress;
    Engine m_from;
    Engine m_to;
    qlonglong m_total = 0;
    qlonglong m_done = 0;
    Transaction *m_write = nullptr;
    TableCopy m_result;
};

bool execAll(QSqlDatabase &db, const QStringList &statements, QSqlError &error)
{
    QSqlQuery q(db);
    for (const QString &sql : statements)
        if (!q.exec(sql)) {
            error = q.lastError();
            return false;
        }
    return true;
}

} // namespace

qlonglong totalRows(const QVector<TableRows> &rows)
{
    qlonglong total = 0;
    for (const TableRows &r : rows)
        total += r.rows;
    return total;
}

QString tableRowsText(const QVector<TableRows> &rows)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    QStringList lines;
    for (const TableRows &r : rows)
        lines << QStringLiteral("%1: %2 satır").arg(r.table, turkish.toString(r.rows));
    return lines.join(QLatin1Char('\n'));
}

bool countTableRows(QSqlDatabase &db, QVector<TableRows> &rows, QSqlError *error)
{
    rows.clear();
    QSqlError e;
    QSqlQuery q(db);
    for (const TableDef &table : schema::tables()) {
        const bool present = schema::hasTable(db, table.name, &e);
        if (e.isValid())
            break;
        if (!present) {
            rows.append({ table.name, 0 });
            continue;
        }
        if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table.name)) || !q.next()) {
            e = q.lastError();
            break;
        }
        rows.append({ table.name, q.value(0).toLongLong() });
    }
    if (error)
        *error = e;
    if (e.isValid())
        rows.clear();
    return !e.isValid();
}

TableCopy copyTables(QSqlDatabase &source, QSqlDatabase &target, const CopyProgress &progress)
{
    TableCopy copy = Copier(source, target, progress).run();
    // A server plans its reads by what it knows of the rows: after a whole load it learns them
    // anew, or a search by name would read whole tables until it found out by itself. The
    // rows are in; a refusal here only leaves the plans as they were.
    if (copy.ok)
        (void)schema::refreshStatistics(target);
    return copy;
}

TableCopy copyIntoNewFile(QSqlDatabase &source, const QString &path, const CopyProgress &progress)
{
    FileConnection file(path, false);
    if (!file.open()) {
        TableCopy result;
        result.errorText = file.errorText();
        return result;
    }
    QSqlError error;
    // A new file nobody else opens until it is complete: its journal in memory is enough.
    if (!execAll(file.db(),
            QStringList { QStringLiteral("PRAGMA journal_mode=MEMORY"),
                QStringLiteral("PRAGMA synchronous=OFF") }
                + schema::createTableStatements(Engine::Sqlite),
            error)) {
        TableCopy result;
        result.error = error;
        result.errorText = failureText(error);
        return result;
    }
    TableCopy result = copyTables(source, file.db(), progress);
    if (!result.ok)
        return result;
    QString cause;
    if (!execAll(file.db(), schema::createIndexStatements(), error)
        || !moneytotals::ensure(file.db(), &cause)) {
        result.ok = false;
        result.error = error;
        result.errorText = cause.isEmpty() ? failureText(error) : cause;
    }
    return result;
}

FileConnection::FileConnection(const QString &path, bool readOnly)
    : m_name(QStringLiteral("lumkar_dosya_%1").arg(fileConnectionCounter.fetchAndAddRelaxed(1))),
      m_path(path)
{
    installTextFunctions();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    QString options
        = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Database::kBusyWaitMilliseconds);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
}

FileConnection::~FileConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool FileConnection::open()
{
    if (m_db.open())
        return true;
    m_error = QStringLiteral("Veritabanı dosyası \"%1\" açılamadı: %2")
                  .arg(QDir::toNativeSeparators(m_path), failureText(m_db.lastError()));
    return false;
}

} // namespace lumkar
