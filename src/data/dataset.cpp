#include "data/dataset.h"

#include "data/asread.h"
#include "data/dialect.h"

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
    m_table = table;
    m_updateTable = table;
    const TableDef *def = schema::table(table);
    m_key = def && !def->key.isEmpty() ? def->key : kRowIdField;
    m_orderBy = orderBy.isEmpty() && def && !def->key.isEmpty() ? QStringList{def->key} : orderBy;
}

void DataSet::setQuery(const QString &sql, const QString &updateTable)
{
    static const QRegularExpression whole(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\w+)(?:\\s+order\\s+by\\s+(.+?))?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch plain = whole.match(sql);
    if (plain.hasMatch() && schema::table(plain.captured(1))) {
        // The whole table in an order: read as a table, so that it is sorted here.
        QStringList order;
        for (const QString &part : plain.captured(2).split(QLatin1Char(','), Qt::SkipEmptyParts))
            order << part.simplified();
        setTable(plain.captured(1), order);
        m_sql = sql;
        if (!updateTable.isEmpty())
            m_updateTable = updateTable;
        return;
    }
    m_sql = sql;
    m_table.clear();
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
            ? QStringLiteral("SELECT %1 AS %2, * FROM %3")
                  .arg(dialect::rowIdColumn(schema::engineOf(m_db)), kRowIdField, m_table)
            : QStringLiteral("SELECT * FROM %1").arg(m_table);
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
bool DataSet::readRows(QStringList &names, QVector<FieldType> &types, RowStore &rows)
{
    const QString sql = selectText();
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
        for (const QVariant &v : boundValues())
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
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        m_error = q.lastError();
        return false;
    }
    for (const QVariant &v : boundValues())
        q.addBindValue(v);
    if (!q.exec()) {
        m_error = q.lastError();
        return false;
    }
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

bool DataSet::load()
{
    QStringList names;
    QVector<FieldType> types;
    RowStore rows;
    m_error = QSqlError();
    const bool wasLoaded = m_loaded;
    m_loaded = true; // nothing reads again while the failure is being told
    const QString statement = selectText();
    if (!readRows(names, types, rows)) {
        // The user is told once; what was shown stays as it was.
        if (Database *database = Database::of(m_db))
            database->reportFailure(m_error);
        m_error = turkishError(m_error);
        m_loaded = wasLoaded;
        return false;
    }
    m_fields = names;
    m_types = types;
    m_fieldIndex.clear();
    for (int i = 0; i < names.size(); ++i)
        m_fieldIndex.insert(names[i].toLower(), i);
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
    applyFilter();
    m_current = m_shown.isEmpty() ? -1 : 0;
    m_eof = m_bof = m_shown.isEmpty();
    notifyReset();
}

int DataSet::recordCount()
{
    ensureLoaded();
    return m_shown.size();
}

int DataSet::insertRowIndex() const
{
    return m_state == State::Insert ? m_shown.size() : -1;
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
    if (m_shown.isEmpty()) {
        m_current = -1;
        m_eof = m_bof = true;
        notifyCurrent();
        return;
    }
    m_current = qBound(0, row, int(m_shown.size()) - 1);
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
    moveTo(m_shown.size() - 1);
}

void DataSet::next()
{
    ensureLoaded();
    if (!isOpen())
        return;
    if (!checkBrowseMode())
        return;
    if (m_current < 0 || m_current >= m_shown.size() - 1) {
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
    return m_eof || m_shown.isEmpty();
}

bool DataSet::bof()
{
    ensureLoaded();
    return m_bof || m_shown.isEmpty();
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
    if (m_current < 0 || m_current >= m_shown.size())
        return QVariant();
    return m_rows.value(m_shown[m_current], i, m_types[i]);
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
    if (row < 0 || row >= m_shown.size())
        return QVariant();
    if (index < 0 || index >= m_types.size())
        return QVariant();
    return m_rows.value(m_shown[row], index, m_types[index]);
}

bool DataSet::locate(const QString &field, const QVariant &value, LocateOptions options)
{
    ensureLoaded();
    const int idx = fieldIndex(field);
    if (idx < 0 || value.isNull())
        return false;
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
    m_current = m_shown.size();
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
    if (m_shown.isEmpty()) {
        append();
        return;
    }
    if (m_current < 0 || m_current >= m_shown.size())
        return;
    m_buffer = m_rows.row(m_shown[m_current], m_types);
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
        m_rows.append(m_buffer, m_types);
        m_shown.append(m_rows.size() - 1);
        m_current = m_shown.size() - 1;
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
        const int rowIndex = m_shown[m_current];
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
            readValues << values::toDatabase(m_rows.value(rowIndex, i, m_types[i]), m_types[i]);
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
                if (i != keyIdx && now.values[i] != m_rows.value(rowIndex, i, m_types[i]))
                    changed << QStringLiteral("%1: %2").arg(m_fields[i], shownValue(now.values[i]));
            if (!changed.isEmpty()) {
                // The row as it is now, with what the user typed over it; what is stored now
                // becomes what was read, so that a second save writes the typing and keeps the
                // other desk's change of a field the user left alone.
                for (int i = 0; i < m_fields.size(); ++i)
                    if (i != keyIdx && m_buffer[i] == m_rows.value(rowIndex, i, m_types[i]))
                        m_buffer[i] = now.values[i];
                m_rows.replace(rowIndex, now.values, m_types);
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
        m_rows.replace(m_shown[m_current], m_buffer, m_types);
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
        m_current = m_shown.isEmpty() ? -1 : int(m_shown.size()) - 1;
        m_eof = m_bof = m_shown.isEmpty();
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
    if (m_current < 0 || m_current >= m_shown.size())
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
    const int rowIndex = m_shown[m_current];
    q.addBindValue(m_rows.value(rowIndex, keyIdx, m_types[keyIdx]));
    if (!prepared || !q.exec()) {
        failWrite(q.lastError());
        return false;
    }
    const bool goneAlready = m_key != kRowIdField && q.numRowsAffected() == 0;
    m_rows.remove(rowIndex);
    m_shown.remove(m_current);
    for (int &s : m_shown)
        if (s > rowIndex)
            --s;
    if (m_current >= m_shown.size())
        m_current = int(m_shown.size()) - 1;
    m_eof = m_bof = m_shown.isEmpty();
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
