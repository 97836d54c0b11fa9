#include "data/dataset.h"

#include "data/asread.h"
#include "data/dialect.h"
#include "data/moneytotals.h"
#include "data/serverkeys.h"
#include "data/textfunctions.h"

#include "data/database.h"
#include "data/values.h"

#include <QEvent>
#include <QSqlDriver>
#include <sqlite3.h>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QWidget>

namespace lumkar {

namespace {

const QString kRowIdField = QStringLiteral("rowid_");

bool isNumeric(FieldType t)
{
    return t == FieldType::AutoNumber || t == FieldType::Long || t == FieldType::Short
        || t == FieldType::Double;
}

QString asText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    if (v.metaType().id() == QMetaType::Double) {
        return QString::number(v.toDouble(), 'g', 15);
    }
    return v.toString();
}

} // namespace

QVariant Record::value(const QString &field) const
{
    const int i = m_dataSet.fieldIndex(field);
    return i < 0 ? QVariant() : m_dataSet.m_rows.value(m_row, i, m_dataSet.m_types[i]);
}

QString Record::text(const QString &field) const
{
    return asText(value(field));
}

bool Record::isNull(const QString &field) const
{
    const int i = m_dataSet.fieldIndex(field);
    return i < 0 || m_dataSet.m_rows.isNull(m_row, i);
}

bool Record::dayAndTime(const QString &field, QDate &day, QTime &time) const
{
    const int i = m_dataSet.fieldIndex(field);
    return i >= 0 && m_dataSet.m_rows.dayAndTime(m_row, i, day, time);
}

DataSet::DataSet(QSqlDatabase db, QObject *parent) : QObject(parent), m_db(db) {}

void DataSet::setTable(const QString &table, const QStringList &orderBy)
{
    m_sql.clear();
    m_computed.clear();
    m_table = table;
    m_updateTable = table;
    const TableDef *def = schema::table(table);
    m_key = def && !def->key.isEmpty() ? def->key : kRowIdField;
    m_orderBy = orderBy.isEmpty() && def && !def->key.isEmpty() ? QStringList{def->key} : orderBy;
}

void DataSet::setQuery(const QString &sql, const QString &updateTable)
{
    // "SELECT *[, computed columns] FROM table [ORDER BY ...]"
    static const QRegularExpression whole(
        QStringLiteral("^\\s*select\\s+\\*\\s*(?:,\\s*(.+?))?\\s+from\\s+(\\w+)"
                       "(?:\\s+order\\s+by\\s+(.+?))?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch plain = whole.match(sql);
    if (plain.hasMatch() && schema::table(plain.captured(2))) {
        // The whole table in an order, with columns computed from each row: read as a table,
        // so that it is sorted here or read by pages.
        QStringList order;
        for (const QString &part : plain.captured(3).split(QLatin1Char(','), Qt::SkipEmptyParts))
            order << part.simplified();
        setTable(plain.captured(2), order);
        m_computed = plain.captured(1).trimmed();
        m_sql = sql;
        if (!updateTable.isEmpty())
            m_updateTable = updateTable;
        return;
    }
    m_sql = sql;
    m_table.clear();
    m_computed.clear();
    m_orderBy.clear();
    m_updateTable = updateTable;
    const TableDef *def = updateTable.isEmpty() ? nullptr : schema::table(updateTable);
    m_key = def ? def->key : QString();
}

void DataSet::setPrefilter(const QString &condition, const QVariantList &values)
{
    m_prefilter = condition;
    m_prefilterValues = values;
}

void DataSet::setOwnerWindow(QWidget *window)
{
    if (m_owner)
        m_owner->removeEventFilter(this);
    m_owner = window;
    if (window)
        window->installEventFilter(this);
}

bool DataSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Show && isOpen() && !m_loaded)
        ensureLoaded();
    return QObject::eventFilter(watched, event);
}

QString DataSet::selectText() const
{
    if (!m_table.isEmpty()) {
        QString sql = m_key == kRowIdField
            ? QStringLiteral("SELECT %1 AS %2, *%3 FROM %4")
                  .arg(dialect::rowIdColumn(schema::engineOf(m_db)), kRowIdField,
                       computedColumns(), m_table)
            : QStringLiteral("SELECT *%1 FROM %2").arg(computedColumns(), m_table);
        if (!m_prefilter.isEmpty())
            sql += QStringLiteral(" WHERE ") + m_prefilter;
        return sql; // ordered after reading (sortRows)
    }
    if (m_prefilter.isEmpty())
        return m_sql;
    // Put the pre-filter before a trailing ORDER BY of a query that has no WHERE of its own.
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString sql = m_sql.trimmed();
    if (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    if (!sql.contains(where)) {
        QRegularExpressionMatch last;
        auto it = orderBy.globalMatch(sql);
        while (it.hasNext())
            last = it.next();
        const QString condition = QStringLiteral(" WHERE (") + m_prefilter + QStringLiteral(") ");
        if (last.hasMatch())
            return sql.left(last.capturedStart()) + condition + sql.mid(last.capturedStart());
        return sql + condition;
    }
    return QStringLiteral("SELECT * FROM (") + sql + QStringLiteral(") WHERE ") + m_prefilter;
}

bool DataSet::openWith(const QString &condition, const QVariantList &values)
{
    close();
    setPrefilter(condition, values);
    return open();
}

bool DataSet::openBound(const QVariantList &values)
{
    // With no pre-filter the query is read as written, and the values fill its own marks.
    return openWith(QString(), values);
}

bool DataSet::open()
{
    if (isOpen())
        return true;
    m_error = QSqlError();
    m_loaded = false;
    m_rows.clear(0);
    m_shown.clear();
    m_current = -1;
    m_state = State::Browse;
    if (m_owner && !m_owner->isVisible()) {
        notifyReset();
        emit stateChanged();
        return true;
    }
    if (!load()) {
        m_state = State::Inactive;
        notifyReset();
        return false;
    }
    emit stateChanged();
    return true;
}

namespace {

QSqlError sqliteError(sqlite3 *handle)
{
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(handle)),
                     QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(handle)));
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, index, v.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(stmt, index, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    default:
        if (v.isNull()) {
            sqlite3_bind_null(stmt, index);
        } else {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
}

} // namespace

bool DataSet::runRead(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    q.setForwardOnly(true);
    const bool prepared = q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (prepared && q.exec())
        return true;
    m_error = q.lastError();
    return false;
}

QVector<FieldType> DataSet::columnTypes(const QStringList &names) const
{
    QVector<FieldType> types;
    const QString typeTable = m_updateTable.isEmpty() ? m_table : m_updateTable;
    for (const QString &name : names)
        types << (name == kRowIdField
                      ? (schema::engineOf(m_db) == Engine::Postgres ? FieldType::Text
                                                                    : FieldType::AutoNumber)
                      : schema::typeOfColumn(typeTable, name));
    return types;
}

// Reads the rows straight through SQLite's own interface into a packed row store; the generic
// query layer is the way for any other database driver. Nothing of the data set changes here:
// rows read before an error are never shown as if they were all.
bool DataSet::readRows(const QString &sql, const QVariantList &values, QStringList &names,
                       QVector<FieldType> &types, RowStore &rows)
{
    if (sqlite3 *handle = sqliteHandle(m_db)) {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr)
            != SQLITE_OK) {
            m_error = sqliteError(handle);
            sqlite3_finalize(stmt);
            return false;
        }
        int index = 1;
        for (const QVariant &v : values)
            bindValue(stmt, index++, v);
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            names << QString::fromUtf8(sqlite3_column_name(stmt, i));
        types = columnTypes(names);
        rows.clear(int(names.size()));
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            rows.appendFromStatement(stmt, types);
        if (rc != SQLITE_DONE)
            m_error = sqliteError(handle);
        sqlite3_finalize(stmt);
        return rc == SQLITE_DONE;
    }
    QSqlQuery q(m_db);
    if (!runRead(q, sql, values))
        return false;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    types = columnTypes(names);
    rows.clear(int(names.size()));
    QVector<QVariant> row(names.size());
    while (q.next()) {
        for (int i = 0; i < names.size(); ++i)
            row[i] = values::fromDatabase(q.value(i), types[i]);
        rows.append(row, types);
    }
    if (q.lastError().isValid()) {
        m_error = q.lastError();
        return false;
    }
    return true;
}

void DataSet::sortRows()
{
    if (m_table.isEmpty() || m_orderBy.isEmpty())
        return;
    QVector<int> columns;
    QVector<bool> descending;
    for (const QString &part : std::as_const(m_orderBy)) {
        const QStringList words = part.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int index = words.isEmpty() ? -1 : fieldIndex(words.first());
        if (index < 0)
            continue;
        columns << index;
        descending << (words.size() > 1
                       && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0);
    }
    m_rows.sort(columns, descending);
}

void DataSet::setFields(const QStringList &names, const QVector<FieldType> &types)
{
    m_fields = names;
    m_types = types;
    m_fieldIndex.clear();
    for (int i = 0; i < names.size(); ++i)
        m_fieldIndex.insert(names[i].toLower(), i);
}

bool DataSet::failRead()
{
    // The user is told once; what was shown stays as it was.
    if (Database *database = Database::of(m_db))
        database->reportFailure(m_error);
    m_error = turkishError(m_error);
    return false;
}

bool DataSet::load()
{
    if (m_paged)
        return loadPages();
    QStringList names;
    QVector<FieldType> types;
    RowStore rows;
    m_error = QSqlError();
    const bool wasLoaded = m_loaded;
    m_loaded = true; // nothing reads again while the failure is being told
    const QString statement = selectText();
    if (!readRows(statement, boundValues(), names, types, rows)) {
        m_loaded = wasLoaded;
        return failRead();
    }
    setFields(names, types);
    m_rows = std::move(rows);
    m_readText = statement;
    m_readValues = boundValues();
    sortRows();
    applyFilter();
    m_current = m_shown.isEmpty() ? -1 : 0;
    m_eof = m_bof = m_shown.isEmpty();
    notifyReset();
    return true;
}

void DataSet::ensureLoaded()
{
    if (!isOpen() || m_loaded)
        return;
    // A deferred read that fails leaves the data set closed, so that the next action tries
    // again instead of showing an empty list as if it were all.
    if (!load())
        close();
}

bool DataSet::readNow()
{
    ensureLoaded();
    return isOpen();
}

void DataSet::close()
{
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_rows.clear(0);
    m_shown.clear();
    forgetPages();
    m_keys.clear();
    m_span = KeySpan();
    m_walked = false;
    m_count = 0;
    m_buffer.clear();
    m_current = -1;
    m_modified = false;
    m_loaded = false;
    m_eof = m_bof = true;
    notifyReset();
    emit stateChanged();
}

bool DataSet::reopen()
{
    // A list on screen is read again in place: when the read fails, it keeps its rows.
    if (!isOpen() || !m_loaded || (m_owner && !m_owner->isVisible())
        || m_readText != selectText() || m_readValues != boundValues()) {
        close();
        return open();
    }
    cancel();
    return load();
}

void DataSet::applyFilter()
{
    m_shown.clear();
    m_shown.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_filtered && m_predicate && !m_predicate(Record(*this, i)))
            continue;
        m_shown.append(i);
    }
}

void DataSet::setFiltered(bool on)
{
    m_filtered = on;
    if (!isOpen() || !m_loaded)
        return;
    checkBrowseMode();
    if (m_paged) {
        (void)loadPages(); // a failure was told; the rows shown stay
        return;
    }
    applyFilter();
    m_current = m_shown.isEmpty() ? -1 : 0;
    m_eof = m_bof = m_shown.isEmpty();
    notifyReset();
}

int DataSet::recordCount()
{
    ensureLoaded();
    return shownCount();
}

int DataSet::insertRowIndex() const
{
    return m_state == State::Insert ? shownCount() : -1;
}

int DataSet::currentRow()
{
    ensureLoaded();
    return m_current;
}

void DataSet::moveTo(int row)
{
    ensureLoaded();
    if (!isOpen())
        return;
    if (!checkBrowseMode())
        return;
    if (shownCount() == 0) {
        m_current = -1;
        m_eof = m_bof = true;
        notifyCurrent();
        return;
    }
    m_current = qBound(0, row, shownCount() - 1);
    m_eof = m_bof = false;
    notifyCurrent();
}

void DataSet::first()
{
    moveTo(0);
}

void DataSet::last()
{
    ensureLoaded();
    moveTo(shownCount() - 1);
}

void DataSet::next()
{
    ensureLoaded();
    if (!isOpen())
        return;
    if (!checkBrowseMode())
        return;
    if (m_current < 0 || m_current >= shownCount() - 1) {
        m_eof = true;
        return;
    }
    ++m_current;
    m_bof = false;
    notifyCurrent();
}

void DataSet::prior()
{
    ensureLoaded();
    if (!isOpen())
        return;
    if (!checkBrowseMode())
        return;
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    --m_current;
    m_eof = false;
    notifyCurrent();
}

bool DataSet::eof()
{
    ensureLoaded();
    return m_eof || shownCount() == 0;
}

bool DataSet::bof()
{
    ensureLoaded();
    return m_bof || shownCount() == 0;
}

int DataSet::fieldIndex(const QString &field) const
{
    // Most names are asked for as the columns are spelled (lower case): no copy then.
    const auto it = m_fieldIndex.constFind(field);
    if (it != m_fieldIndex.cend())
        return *it;
    return m_fieldIndex.value(field.toLower(), -1);
}

QVariant DataSet::value(const QString &field)
{
    ensureLoaded();
    const int i = fieldIndex(field);
    if (i < 0)
        return QVariant();
    if (isEditing())
        return m_buffer.value(i);
    int index;
    const RowStore *rows = rowAt(m_current, index);
    return rows ? rows->value(index, i, m_types[i]) : QVariant();
}

QString DataSet::text(const QString &field)
{
    return asText(value(field));
}

QVariant DataSet::valueAt(int row, int index)
{
    ensureLoaded();
    if (row == insertRowIndex() || (m_state == State::Edit && row == m_current))
        return m_buffer.value(index);
    if (index < 0 || index >= m_types.size())
        return QVariant();
    int at;
    const RowStore *rows = rowAt(row, at);
    return rows ? rows->value(at, index, m_types[index]) : QVariant();
}

bool DataSet::locate(const QString &field, const QVariant &value, LocateOptions options)
{
    ensureLoaded();
    const int idx = fieldIndex(field);
    if (idx < 0 || value.isNull())
        return false;
    if (m_paged)
        return locateByDatabase(field, value);
    const bool numeric = isNumeric(m_types[idx]) && !options.partialKey;
    const QString wanted = asText(value);
    const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive
                                                           : Qt::CaseSensitive;
    bool wantedNumberOk = false;
    const double wantedNumber = numeric ? value.toDouble(&wantedNumberOk) : 0.0;
    for (int r = 0; r < m_shown.size(); ++r) {
        const QVariant v = m_rows.value(m_shown[r], idx, m_types[idx]);
        if (v.isNull())
            continue;
        bool hit;
        if (numeric && wantedNumberOk)
            hit = v.toDouble() == wantedNumber;
        else if (options.partialKey)
            hit = asText(v).startsWith(wanted, cs);
        else
            hit = asText(v).compare(wanted, cs) == 0;
        if (hit) {
            moveTo(r);
            return m_current == r;
        }
    }
    return false;
}

void DataSet::append()
{
    ensureLoaded();
    if (!isOpen())
        return;
    if (!checkBrowseMode())
        return;
    m_buffer = QVector<QVariant>(m_fields.size());
    m_state = State::Insert;
    m_modified = false;
    m_current = shownCount();
    m_eof = m_bof = false;
    emit stateChanged();
    notifyReset();
}

bool DataSet::checkBrowseMode()
{
    if (!isEditing())
        return true;
    if (m_modified)
        return post();
    cancel();
    return true;
}

void DataSet::edit()
{
    ensureLoaded();
    if (m_state != State::Browse)
        return;
    if (shownCount() == 0) {
        append();
        return;
    }
    int index;
    const RowStore *rows = rowAt(m_current, index);
    if (!rows)
        return;
    m_buffer = rows->row(index, m_types);
    m_state = State::Edit;
    m_modified = false;
    emit stateChanged();
}

void DataSet::setValue(const QString &field, const QVariant &value)
{
    ensureLoaded();
    const int i = fieldIndex(field);
    if (i < 0 || !isOpen())
        return;
    if (m_state == State::Browse)
        edit();
    if (!isEditing())
        return;
    QVariant stored = values::fromDatabase(values::toDatabase(value, m_types[i]), m_types[i]);
    m_buffer[i] = stored;
    m_modified = true;
    emit fieldChanged(m_fields[i]);
    if (!m_disabled)
        emit rowChanged(m_current);
}

bool DataSet::refuseDamaged()
{
    Database *database = Database::of(m_db);
    if (!database || !database->isDamaged())
        return false;
    m_error = QSqlError(QString(),
                        QStringLiteral("Veritabanı dosyası bozuk olduğu için kayıt yapılmadı. "
                                       "Son yedeği geri yükleyin."),
                        QSqlError::StatementError, QString::number(SQLITE_CORRUPT));
    return true;
}

DataSet::Stored DataSet::storedRow(const QString &table, const QVariant &key)
{
    QStringList columns;
    for (const QString &field : std::as_const(m_fields))
        columns << schema::quoted(field);
    QSqlQuery q(m_db);
    Stored stored;
    const bool prepared = q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
                                        .arg(columns.join(QLatin1Char(',')), table,
                                             schema::quoted(m_key)));
    q.addBindValue(key);
    if (!prepared || !q.exec()) {
        failWrite(q.lastError());
        stored.failed = true;
        return stored;
    }
    stored.found = q.next();
    for (int i = 0; stored.found && i < m_fields.size(); ++i)
        stored.values << values::fromDatabase(q.value(i), m_types[i]);
    return stored;
}

void DataSet::failWrite(const QSqlError &error)
{
    if (Database *database = Database::of(m_db))
        database->noteFailure(error);
    m_error = turkishError(error);
}

bool DataSet::post()
{
    if (!isEditing())
        return true;
    m_error = QSqlError();
    if (m_beforePost && m_beforePost(*this) == BeforePost::Discard) {
        cancel();
        return true;
    }
    if (refuseDamaged())
        return false;
    const QString table = m_updateTable;
    if (table.isEmpty() || m_key.isEmpty()) {
        m_error = QSqlError(QString(), QStringLiteral("Bu liste üzerinden kayıt yapılamaz."),
                            QSqlError::StatementError);
        return false;
    }
    const int keyIdx = fieldIndex(m_key);
    const Engine engine = schema::engineOf(m_db);
    const QString keyMatch = m_key == kRowIdField ? dialect::rowIdMatch(engine)
                                                  : schema::quoted(m_key) + QStringLiteral("=?");
    QSqlQuery q(m_db);
    QStringList cols;
    QVariantList binds;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (i == keyIdx)
            continue;
        if (m_state == State::Insert && m_buffer[i].isNull())
            continue;
        cols << schema::quoted(m_fields[i]);
        binds << values::toDatabase(m_buffer[i], m_types[i]);
    }
    if (m_state == State::Insert) {
        QString sql;
        if (cols.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList marks(cols.size(), QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        if (keyIdx >= 0)
            sql += m_key == kRowIdField ? dialect::returningRowId(engine)
                                        : dialect::returningKey(engine, m_key);
        const bool prepared = q.prepare(sql);
        for (const QVariant &b : std::as_const(binds))
            q.addBindValue(b);
        if (!prepared || !q.exec()) {
            failWrite(q.lastError());
            return false;
        }
        if (keyIdx >= 0)
            m_buffer[keyIdx] = m_key == kRowIdField ? dialect::writtenRowId(q, engine, true)
                                                    : QVariant(dialect::insertedKey(q, engine));
        if (m_paged) {
            // The new row takes its place in the order the database keeps.
            forgetPages();
            m_count = qMax(0, recount());
            m_current = qBound(-1, positionOf(orderValues(m_buffer)), m_count - 1);
        } else {
            m_rows.append(m_buffer, m_types);
            m_shown.append(m_rows.size() - 1);
            m_current = m_shown.size() - 1;
        }
    } else {
        if (keyIdx < 0) {
            m_error = QSqlError(QString(), QStringLiteral("Kaydın anahtarı okunamadı."),
                                QSqlError::StatementError);
            return false;
        }
        QStringList sets;
        for (const QString &c : std::as_const(cols))
            sets << c + QStringLiteral("=?");
        const bool rowId = m_key == kRowIdField;
        int rowIndex;
        RowStore *held = const_cast<RowStore *>(rowAt(m_current, rowIndex));
        if (!held) {
            m_error = QSqlError(QString(), QStringLiteral("Kayıt okunamadı."),
                                QSqlError::StatementError);
            return false;
        }
        // The number of rows written where `where` holds (with `whereValues` after the key),
        // -1 on a failure.
        const auto update = [&](const QString &where, const QVariantList &whereValues) {
            QSqlQuery u(m_db);
            const bool prepared = u.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                                .arg(table, sets.join(QLatin1Char(',')), where)
                                            + (rowId ? dialect::returningRowId(engine) : QString()));
            for (const QVariant &b : std::as_const(binds))
                u.addBindValue(b);
            u.addBindValue(m_buffer[keyIdx]);
            for (const QVariant &v : whereValues)
                u.addBindValue(v);
            if (!prepared || !u.exec()) {
                failWrite(u.lastError());
                return -1;
            }
            if (rowId && engine == Engine::Postgres)
                m_buffer[keyIdx] = dialect::writtenRowId(u, engine, false);
            return rowId ? 1 : u.numRowsAffected();
        };
        // The row is written only as it was read, so that a change another desk made since is
        // never overwritten without a word (the one row of a table without a key is written
        // as it is).
        QString asRead = keyMatch;
        QVariantList readValues;
        for (int i = 0; i < m_fields.size() && !rowId; ++i) {
            if (i == keyIdx)
                continue;
            asRead += QStringLiteral(" AND ") + dialect::sameValue(engine, schema::quoted(m_fields[i]));
            readValues << values::toDatabase(held->value(rowIndex, i, m_types[i]), m_types[i]);
        }
        int written = update(asRead, readValues);
        if (written == 0 && !rowId) {
            const Stored now = storedRow(table, m_buffer[keyIdx]);
            if (now.failed)
                return false;
            if (!now.found) {
                m_error = QSqlError(QString(), deletedMeanwhileText(), QSqlError::StatementError);
                return false;
            }
            QStringList changed;
            for (int i = 0; i < m_fields.size(); ++i)
                if (i != keyIdx && now.values[i] != held->value(rowIndex, i, m_types[i]))
                    changed << QStringLiteral("%1: %2").arg(m_fields[i], shownValue(now.values[i]));
            if (!changed.isEmpty()) {
                // The row as it is now, with what the user typed over it; what is stored now
                // becomes what was read, so that a second save writes the typing and keeps the
                // other desk's change of a field the user left alone.
                for (int i = 0; i < m_fields.size(); ++i)
                    if (i != keyIdx && m_buffer[i] == held->value(rowIndex, i, m_types[i]))
                        m_buffer[i] = now.values[i];
                held->replace(rowIndex, now.values, m_types);
                if (!m_disabled)
                    emit rowChanged(m_current);
                m_error = QSqlError(
                    QString(), changedMeanwhileText(changed), QSqlError::StatementError);
                return false;
            }
            // The same values, only stored in another form (another program wrote them).
            written = update(keyMatch, {});
        }
        if (written < 0)
            return false;
        held->replace(rowIndex, m_buffer, m_types);
    }
    m_buffer.clear();
    m_state = State::Browse;
    m_modified = false;
    emit stateChanged();
    notifyReset();
    return true;
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    m_buffer.clear();
    m_state = State::Browse;
    m_modified = false;
    if (wasInsert) {
        m_current = shownCount() - 1;
        m_eof = m_bof = shownCount() == 0;
    }
    emit stateChanged();
    notifyReset();
}

bool DataSet::remove()
{
    ensureLoaded();
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    int rowIndex;
    const RowStore *held = rowAt(m_current, rowIndex);
    if (!held)
        return false;
    if (m_state == State::Edit)
        cancel();
    const int keyIdx = fieldIndex(m_key);
    if (m_updateTable.isEmpty() || keyIdx < 0) {
        m_error = QSqlError(QString(), QStringLiteral("Bu liste üzerinden kayıt silinemez."),
                            QSqlError::StatementError);
        return false;
    }
    if (refuseDamaged())
        return false;
    const QString keyMatch = m_key == kRowIdField
        ? dialect::rowIdMatch(schema::engineOf(m_db))
        : schema::quoted(m_key) + QStringLiteral("=?");
    QSqlQuery q(m_db);
    const bool prepared
        = q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_updateTable, keyMatch));
    q.addBindValue(held->value(rowIndex, keyIdx, m_types[keyIdx]));
    if (!prepared || !q.exec()) {
        failWrite(q.lastError());
        return false;
    }
    const bool goneAlready = m_key != kRowIdField && q.numRowsAffected() == 0;
    if (m_paged) {
        forgetPages();
        if (m_keyList)
            m_keys.remove(m_current);
        --m_count;
    } else {
        m_rows.remove(rowIndex);
        m_shown.remove(m_current);
        for (int &s : m_shown)
            if (s > rowIndex)
                --s;
    }
    if (m_current >= shownCount())
        m_current = shownCount() - 1;
    m_eof = m_bof = shownCount() == 0;
    notifyReset();
    if (goneAlready) {
        m_error = QSqlError(QString(), deletionOfDeletedText(), QSqlError::StatementError);
        return false;
    }
    return true;
}

void DataSet::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0)
        notifyReset();
}

void DataSet::notifyReset()
{
    if (!m_disabled)
        emit reset();
}

void DataSet::notifyCurrent()
{
    if (!m_disabled)
        emit currentChanged();
}

} // namespace lumkar

// --- a list read by pages ---

namespace lumkar {

namespace {

constexpr int kPageRows = 128;  // rows read at a time
constexpr int kPagesHeld = 64;  // pages kept in memory, the ones used last
constexpr int kWalkedRows = 10000; // a list of more rows than this is walked along its key
// A condition tested row by row is walked from this many rows: reading and ordering the keys
// of a few thousand rows already takes longer than finding a page among sixteen times its rows.
constexpr int kTestedRows = 2000;

QString joined(const QStringList &conditions)
{
    QStringList parts;
    for (const QString &c : conditions)
        if (!c.isEmpty())
            parts << QLatin1Char('(') + c + QLatin1Char(')');
    return parts.join(QStringLiteral(" AND "));
}

QString whereClause(const QString &condition)
{
    return condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}

} // namespace

void DataSet::readByPages(ConditionSource filter)
{
    m_paged = true;
    m_filterSource = std::move(filter);
}

void DataSet::forgetPages()
{
    m_pages.clear();
    m_pageUse.clear();
}

QString DataSet::pagedWhere(QVariantList &values) const
{
    return pagedWhere(values, Condition());
}

QString DataSet::pagedWhere(QVariantList &values, const Condition &extra, bool toCount) const
{
    const bool filtered = m_filtered && !m_pageFilter.sql.isEmpty();
    values = m_prefilterValues;
    if (filtered)
        values += m_pageFilter.values;
    QString own = joined({m_prefilter, filtered ? m_pageFilter.sql : QString()});
    if (m_span.on && !own.isEmpty() && !toCount) {
        // "IS TRUE" keeps the condition from choosing an index of its own: the rows are read
        // along the key and each tested, a page's worth of them and few more.
        own = QStringLiteral("%1 >= ? AND %1 <= ? AND (%2) IS TRUE").arg(m_key, own);
        values = QVariantList{m_span.low, m_span.high} + values;
    }
    values += extra.values;
    return joined({own, extra.sql});
}

bool DataSet::orderedByKey() const
{
    return m_orderColumns.size() == 1;
}

QString DataSet::pagedOrder(bool reversed) const
{
    QStringList terms;
    for (int i = 0; i < m_orderColumns.size(); ++i)
        terms << orderTerm(i) + (descendingAt(i) != reversed ? QStringLiteral(" DESC") : QString());
    return terms.join(QStringLiteral(", "));
}

QString DataSet::pageSelect(const QString &where, bool reversed, int rows, int offset) const
{
    // The page's keys are found first, on the indexes alone; then only its rows are read. Read
    // at once, every row the condition holds would be read before the order chose among them.
    const QString order = pagedOrder(reversed);
    return QStringLiteral("SELECT *%1 FROM %2 WHERE %3 IN (SELECT %3 FROM %2%4 ORDER BY %5 "
                          "LIMIT %6 OFFSET %7) ORDER BY %5")
        .arg(computedColumns(), m_table, m_key, whereClause(where), order)
        .arg(rows)
        .arg(offset);
}

QString DataSet::orderTerm(int i) const
{
    return m_orderIsText[i] ? textsql::sortKey(m_orderColumns[i]) : m_orderColumns[i];
}

bool DataSet::descendingAt(int i) const
{
    // Rows equal in the order keep the order of their keys, whichever way the list runs; a
    // list in the order of its key alone runs the key's way.
    return m_descending && (i < m_orderColumns.size() - 1 || orderedByKey());
}

QVector<QVariant> DataSet::orderValues(const QVector<QVariant> &row) const
{
    QVector<QVariant> out;
    for (const QString &column : m_orderColumns)
        out << row.value(fieldIndex(column));
    return out;
}

QStringList DataSet::pastRowParts(const QVector<QVariant> &at, bool before,
                                  QList<QVariantList> &values) const
{
    // (t1 > v1), (t1 = v1 AND t2 > v2), ...: each ">" turned for a column that runs down.
    QStringList marks;
    QVariantList bound;
    for (int i = 0; i < m_orderColumns.size(); ++i) {
        marks << (m_orderIsText[i] ? textsql::sortKey(QStringLiteral("?")) : QStringLiteral("?"));
        const int field = fieldIndex(m_orderColumns[i]);
        bound << values::toDatabase(at.value(i), field < 0 ? FieldType::Text : m_types[field]);
    }
    QStringList parts;
    for (int i = 0; i < m_orderColumns.size(); ++i) {
        QStringList terms;
        QVariantList termValues;
        for (int j = 0; j < i; ++j) {
            terms << QStringLiteral("%1 = %2").arg(orderTerm(j), marks[j]);
            termValues << bound[j];
        }
        terms << QStringLiteral("%1 %2 %3")
                     .arg(orderTerm(i),
                          descendingAt(i) != before ? QStringLiteral("<") : QStringLiteral(">"),
                          marks[i]);
        termValues << bound[i];
        parts << terms.join(QStringLiteral(" AND "));
        values << termValues;
    }
    return parts;
}

QString DataSet::pastRow(const QVector<QVariant> &at, bool before, QVariantList &values) const
{
    // The parts joined, with "t1 >= v1" in front so that the first column's index finds the
    // rows.
    QList<QVariantList> partValues;
    const QStringList parts = pastRowParts(at, before, partValues);
    values << partValues.constFirst().constLast();
    for (const QVariantList &v : std::as_const(partValues))
        values += v;
    const bool down = descendingAt(0) != before;
    return QStringLiteral("%1 %2= %3 AND (%4)")
        .arg(orderTerm(0), down ? QStringLiteral("<") : QStringLiteral(">"),
             m_orderIsText[0] ? textsql::sortKey(QStringLiteral("?")) : QStringLiteral("?"),
             parts.join(QStringLiteral(" OR ")));
}

int DataSet::countWhere(const QString &where, const QVariantList &values)
{
    // A table with day totals holds its count there: millions of account lines are counted
    // in the few thousand days they fall on.
    if (where.isEmpty() ? moneytotals::totalledTables().contains(m_table)
                        : moneytotals::answers(m_table, where)) {
        const qint64 count = moneytotals::rowCount(m_db, m_table, where, values);
        if (count >= 0)
            return int(count);
    }
    QSqlQuery q(m_db);
    if (!runRead(q, QStringLiteral("SELECT count(*) FROM %1").arg(m_table) + whereClause(where),
                 values))
        return -1;
    return q.next() ? q.value(0).toInt() : -1;
}

bool DataSet::firstWhere(const QString &where, const QVariantList &values,
                         const QString &orderFirst, QVector<QVariant> &found)
{
    found.clear();
    QSqlQuery q(m_db);
    if (!runRead(q,
                 QStringLiteral("SELECT %1 FROM %2")
                         .arg(m_orderColumns.join(QLatin1Char(',')), m_table)
                     + whereClause(where) + QStringLiteral(" ORDER BY ") + orderFirst
                     + pagedOrder(false) + QStringLiteral(" LIMIT 1"),
                 values))
        return false;
    if (q.next())
        for (int i = 0; i < m_orderColumns.size(); ++i) {
            const int field = fieldIndex(m_orderColumns[i]);
            found << values::fromDatabase(q.value(i),
                                          field < 0 ? FieldType::Text : m_types[field]);
        }
    return true;
}

int DataSet::positionOf(const QVector<QVariant> &at)
{
    if (m_span.on) {
        // Counted from the nearer end of the span on the condition's index: a row written last
        // is placed without counting the whole period.
        const qint64 key = at.constLast().toLongLong();
        const bool nearerEnd = (key - m_span.low > m_span.high - key) != m_descending;
        if (nearerEnd) {
            QVariantList values;
            const QString where = pagedWhere(
                values,
                {QStringLiteral("%1 %2= ?").arg(m_key, m_descending ? QStringLiteral("<")
                                                                    : QStringLiteral(">")),
                 {key}},
                true);
            QSqlQuery q(m_db);
            if (!runRead(q, QStringLiteral("SELECT count(*) FROM %1").arg(m_table)
                                + whereClause(where),
                         values))
                return -1;
            return q.next() ? m_count - q.value(0).toInt() : -1;
        }
    }
    if (m_keyList) {
        const qint64 key = at.constLast().toLongLong();
        if (orderedByKey()) {
            const auto place = m_descending
                ? std::lower_bound(m_keys.cbegin(), m_keys.cend(), key, std::greater<>())
                : std::lower_bound(m_keys.cbegin(), m_keys.cend(), key);
            return int(place - m_keys.cbegin());
        }
        // Keys in the order of other columns: a row of the list is found among them; one the
        // list does not hold is counted in its place as below.
        if (const qsizetype place = m_keys.indexOf(key); place >= 0)
            return int(place);
    }
    // The rows before it, counted part by part: each part is one range of the order's index,
    // counted there without reading a row (when no filter asks for more).
    QList<QVariantList> partValues;
    const QStringList parts = pastRowParts(at, true, partValues);
    QStringList counts;
    QVariantList values;
    for (int i = 0; i < parts.size(); ++i) {
        QVariantList whereValues;
        const QString where = pagedWhere(whereValues, {parts[i], partValues[i]}, true);
        counts << QStringLiteral("(SELECT count(*) FROM %1%2)").arg(m_table, whereClause(where));
        values += whereValues;
    }
    QSqlQuery q(m_db);
    if (!runRead(q, QStringLiteral("SELECT ") + counts.join(QStringLiteral(" + ")), values))
        return -1;
    return q.next() ? q.value(0).toInt() : -1;
}

bool DataSet::readWholeNumbers(const QString &sql, const QVariantList &values,
                               QVector<qint64> &out)
{
    if (sqlite3 *handle = sqliteHandle(m_db)) {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        int rc = sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr);
        if (rc == SQLITE_OK) {
            for (int i = 0; i < values.size(); ++i)
                bindValue(stmt, i + 1, values[i]);
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                out << sqlite3_column_int64(stmt, 0);
        }
        if (rc != SQLITE_DONE)
            m_error = sqliteError(handle);
        sqlite3_finalize(stmt);
        return rc == SQLITE_DONE;
    }
    if (const serverkeys::Outcome read = serverkeys::read(m_db, sql, values, out, m_error);
        read != serverkeys::Outcome::NotServer)
        return read == serverkeys::Outcome::Read;
    QSqlQuery q(m_db);
    if (!runRead(q, sql, values))
        return false;
    while (q.next())
        out << q.value(0).toLongLong();
    return true;
}

bool DataSet::readKeys(const QString &where, const QVariantList &values, QVector<qint64> &keys)
{
    keys.clear();
    // In the order of the key the index order is mostly right already; any other order is
    // the database's to give.
    const bool byKey = orderedByKey();
    const QString sql = QStringLiteral("SELECT %1 FROM %2").arg(m_key, m_table) + whereClause(where)
        + (byKey ? QString() : QStringLiteral(" ORDER BY ") + pagedOrder(false));
    if (!readWholeNumbers(sql, values, keys))
        return false;
    // The index gives them in the condition's order, which for a period of rows written day
    // by day is mostly their own: sorted only when they are not.
    if (byKey && m_descending) {
        if (!std::is_sorted(keys.cbegin(), keys.cend(), std::greater<>()))
            std::sort(keys.begin(), keys.end(), std::greater<>());
    } else if (byKey && !std::is_sorted(keys.cbegin(), keys.cend())) {
        std::sort(keys.begin(), keys.end());
    }
    return true;
}

bool DataSet::readSpan(const QString &where, const QVariantList &values, KeySpan &span,
                       int &count)
{
    span = KeySpan();
    if (!orderedByKey() || where.isEmpty() || !moneytotals::answers(m_table, where))
        return true;
    int repeats = 0;
    const QString sql = moneytotals::spanSelect(m_table, m_key, where, kWalkedRows, &repeats);
    QVariantList bound;
    for (int i = 0; i < repeats; ++i)
        bound += values;
    QSqlQuery q(m_db);
    if (!runRead(q, sql, bound))
        return false;
    if (!q.next()) {
        m_error = q.lastError();
        return false;
    }
    const qint64 rows = q.value(0).toLongLong();
    const qint64 low = q.value(1).toLongLong();
    const qint64 high = q.value(2).toLongLong();
    // Walked when the list is long, and at least one key in sixteen between the ends belongs
    // to it (one user of ten in a period): a page is then read in a few thousand rows at most.
    // The keys of a shorter list are read at once, from the date index alone.
    if (rows == 0 || (rows > kWalkedRows && !q.value(1).isNull() && high >= low
                      && (high - low + 1) / 16 <= rows)) {
        span = rows == 0 ? KeySpan{true, 1, 0} : KeySpan{true, low, high};
        count = int(rows);
    }
    return true;
}

bool DataSet::walkCondition(Condition &condition, int &count)
{
    m_walked = false;
    if (condition.rowTest.isEmpty() || condition.count.isEmpty() || !m_prefilter.isEmpty())
        return true;
    QSqlQuery q(m_db);
    if (!runRead(q, condition.count, condition.countValues) || !q.next())
        return false;
    count = q.value(0).toInt();
    if (count <= kTestedRows)
        return true;
    const int tableRows = countWhere(QString(), {});
    if (tableRows < 0)
        return false;
    if (qint64(count) * 16 < tableRows)
        return true;
    // "IS TRUE" keeps the test from choosing an index of its own: the order's index is read.
    condition.sql = QStringLiteral("(%1) IS TRUE").arg(condition.rowTest);
    condition.values = condition.rowTestValues;
    condition.fewRows = false;
    m_walked = true;
    return true;
}

int DataSet::recount()
{
    QVariantList values;
    if (m_walked) {
        QSqlQuery q(m_db);
        if (!runRead(q, m_pageFilter.count, m_pageFilter.countValues) || !q.next())
            return -1;
        return q.value(0).toInt();
    }
    if (m_span.on) {
        m_span.on = false; // the condition as it is, to find the span again
        int count = -1;
        const QString where = pagedWhere(values);
        if (!readSpan(where, values, m_span, count))
            return -1;
        if (m_span.on)
            return count;
        // No longer one to walk: counted on the condition's index from now on.
        return countWhere(where, values);
    }
    const QString where = pagedWhere(values);
    if (m_keyList)
        return readKeys(where, values, m_keys) ? int(m_keys.size()) : -1;
    return countWhere(where, values);
}

bool DataSet::loadPages()
{
    m_error = QSqlError();
    const bool wasLoaded = m_loaded;
    m_loaded = true; // nothing reads again while a failure is being told
    m_orderColumns.clear();
    m_orderIsText.clear();
    m_descending = false;
    for (const QString &part : std::as_const(m_orderBy)) {
        const QStringList words = part.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || !schema::table(m_table)->column(words.first()))
            continue;
        m_orderColumns << words.first().toLower();
        const FieldType type = schema::typeOfColumn(m_table, words.first());
        m_orderIsText << (type == FieldType::Text || type == FieldType::Memo);
        m_descending = words.size() > 1
            && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    }
    if (!m_orderColumns.contains(m_key.toLower())) {
        m_orderColumns << m_key.toLower();
        m_orderIsText << false;
    }
    m_pageFilter = m_filtered && m_filterSource ? m_filterSource() : Condition{};
    // A condition that holds many of the table's rows is tested row by row along the order:
    // a page is then found among a few times its rows, and none of its keys is read ahead.
    int walkedCount = -1;
    if (!walkCondition(m_pageFilter, walkedCount)) {
        m_loaded = wasLoaded;
        return failRead();
    }
    const KeySpan heldSpan = m_span;
    m_span = KeySpan(); // the condition as it is, to find the span
    QVariantList values;
    const QString where = pagedWhere(values);
    // Without a condition the whole table is counted on its smallest index, which is quicker
    // than reading every key.
    int count = -1;
    if (!readSpan(where, values, m_span, count)) {
        m_span = heldSpan;
        m_loaded = wasLoaded;
        return failRead();
    }
    const bool keyList = !m_span.on && !m_walked && !where.isEmpty()
        && (orderedByKey() || m_pageFilter.fewRows);
    QVector<qint64> keys;
    if (m_walked)
        count = walkedCount;
    else if (!m_span.on)
        count = keyList ? (readKeys(where, values, keys) ? int(keys.size()) : -1)
                        : countWhere(where, values);
    QStringList names;
    QVector<FieldType> types;
    RowStore first;
    QVariantList pageValues;
    const QString firstPage = keyList
        ? keyPageSelect(keys, 0, kPageRows, pageValues)
        : pageSelect(pagedWhere(pageValues), false, kPageRows, 0);
    if (count < 0 || !readRows(firstPage, pageValues, names, types, first)) {
        m_span = heldSpan;
        m_loaded = wasLoaded;
        return failRead();
    }
    m_keyList = keyList;
    m_keys = std::move(keys);
    forgetPages();
    setFields(names, types);
    m_count = count;
    m_pages.emplace(0, std::move(first));
    m_pageUse << 0;
    m_readText = selectText();
    m_readValues = boundValues();
    m_current = m_count > 0 ? 0 : -1;
    m_eof = m_bof = m_count == 0;
    notifyReset();
    return true;
}

bool DataSet::readPage(int page)
{
    if (m_pages.count(page)) {
        if (m_pageUse.constLast() != page) {
            m_pageUse.removeOne(page);
            m_pageUse << page;
        }
        return true;
    }
    const int firstRow = page * kPageRows;
    const int rows = qMin(kPageRows, m_count - firstRow);
    if (rows <= 0)
        return false;
    QVariantList values;
    if (m_keyList) {
        QStringList names;
        QVector<FieldType> types;
        RowStore read;
        if (!readRows(keyPageSelect(m_keys, firstRow, rows, values), values, names, types,
                      read)) {
            failRead();
            return false;
        }
        keepPage(page, std::move(read));
        return true;
    }
    Condition past;
    bool reversed = false;
    int offset = 0;
    const auto held = [this](int p) {
        const auto it = m_pages.find(p);
        return it != m_pages.end() && it->second.size() > 0 ? &it->second : nullptr;
    };
    // Next to a page held, the rows are read on from its edge through the index; elsewhere
    // counted off from the nearer end of the list.
    if (const RowStore *before = held(page - 1)) {
        past.sql = pastRow(orderValues(before->row(before->size() - 1, m_types)), false,
                           past.values);
    } else if (const RowStore *after = held(page + 1)) {
        past.sql = pastRow(orderValues(after->row(0, m_types)), true, past.values);
        reversed = true;
    } else if (firstRow <= m_count - firstRow - rows) {
        offset = firstRow;
    } else {
        reversed = true;
        offset = m_count - firstRow - rows;
    }
    const QString where = pagedWhere(values, past);
    QStringList names;
    QVector<FieldType> types;
    RowStore read;
    if (!readRows(pageSelect(where, reversed, rows, offset), values, names, types, read)) {
        failRead();
        return false;
    }
    if (reversed) {
        RowStore forward;
        forward.clear(read.columns());
        for (int i = read.size() - 1; i >= 0; --i)
            forward.append(read.row(i, m_types), m_types);
        read = std::move(forward);
    }
    keepPage(page, std::move(read));
    return true;
}

void DataSet::keepPage(int page, RowStore &&rows)
{
    while (m_pageUse.size() >= kPagesHeld)
        m_pages.erase(m_pageUse.takeFirst());
    m_pages.emplace(page, std::move(rows));
    m_pageUse << page;
}

QString DataSet::keyPageSelect(const QVector<qint64> &keys, int firstRow, int rows,
                               QVariantList &values) const
{
    // The rows by their keys: the list's order is the keys' order.
    values.clear();
    for (int i = firstRow; i < firstRow + rows && i < keys.size(); ++i)
        values << keys[i];
    const QStringList marks(qMax<qsizetype>(1, values.size()), QStringLiteral("?"));
    if (values.isEmpty())
        values << QVariant(QMetaType(QMetaType::LongLong));
    const QString order = orderedByKey()
        ? m_key + (m_descending ? QStringLiteral(" DESC") : QString())
        : pagedOrder(false);
    return QStringLiteral("SELECT *%1 FROM %2 WHERE %3 IN (%4) ORDER BY %5")
        .arg(computedColumns(), m_table, m_key, marks.join(QLatin1Char(',')), order);
}

const RowStore *DataSet::rowAt(int row, int &index)
{
    if (!m_paged) {
        if (row < 0 || row >= m_shown.size())
            return nullptr;
        index = m_shown[row];
        return &m_rows;
    }
    if (row < 0 || row >= m_count || !readPage(row / kPageRows))
        return nullptr;
    const RowStore &page = m_pages.at(row / kPageRows);
    index = row % kPageRows;
    return index < page.size() ? &page : nullptr;
}

int DataSet::nextWhere(const Condition &condition, int row)
{
    ensureLoaded();
    if (!isOpen() || shownCount() == 0)
        return -1;
    QVariantList values;
    const QString where = pagedWhere(values, condition);
    // Whether any row holds it at all: read in the table's own order, which stops at the
    // first hit and, without one, reads every row once and no more.
    {
        QVector<qint64> any;
        if (!readWholeNumbers(QStringLiteral("SELECT 1 FROM %1%2 LIMIT 1")
                                  .arg(m_table, whereClause(where)),
                              values, any))
            return failRead(), -1;
        if (any.isEmpty())
            return -1;
    }
    // Then along the order's index: the first hit after the row, else the first of all.
    QVector<QVariant> found;
    int index;
    if (const RowStore *rows = row >= 0 ? rowAt(row, index) : nullptr) {
        Condition after = condition;
        after.sql = joined({condition.sql, pastRow(orderValues(rows->row(index, m_types)), false,
                                                   after.values)});
        QVariantList afterValues;
        const QString afterWhere = pagedWhere(afterValues, after);
        if (!firstWhere(afterWhere, afterValues, QString(), found))
            return failRead(), -1;
    }
    if (found.isEmpty() && !firstWhere(where, values, QString(), found))
        return failRead(), -1;
    if (found.isEmpty())
        return -1;
    const int position = positionOf(found);
    return position < 0 ? (failRead(), -1) : position;
}

bool DataSet::locateByDatabase(const QString &field, const QVariant &value)
{
    const int idx = fieldIndex(field);
    QVector<QVariant> found;
    QVariantList values;
    const QString where = pagedWhere(
        values, {schema::quoted(field) + QStringLiteral(" = ?"),
                 {values::toDatabase(value, m_types[idx])}});
    if (!firstWhere(where, values, QString(), found))
        return failRead();
    if (found.isEmpty())
        return false;
    const int position = positionOf(found);
    if (position < 0)
        return failRead();
    moveTo(position);
    return m_current == position;
}

} // namespace lumkar
