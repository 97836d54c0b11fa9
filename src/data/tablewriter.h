#pragma once
// Single statements of a multi-row action: insert, update, delete and find rows of a table
// with bound values, each value converted by its column's declared type. Meant to run inside
// a Transaction; the first failure is kept in errorText() for the user.

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <utility>

namespace lumkar {

// Column values of one row, in the order they are written.
using RowValues = QVector<std::pair<QString, QVariant>>;

// The value of a column in a row, or an invalid QVariant when the row does not set it.
QVariant valueOf(const RowValues &row, const QString &column);

class TableWriter {
public:
    explicit TableWriter(QSqlDatabase db) : m_db(db) {}

    // Inserts a row; the new AutoNumber key, or -1 on failure.
    qlonglong insert(const QString &table, const RowValues &row);
    // Updates the rows whose `column` equals `value`; false on failure.
    bool update(const QString &table, const QString &column, const QVariant &value,
                const RowValues &row);
    // Updates the rows whose `column` equals `value` and that also meet `condition` (SQL over
    // the table's columns, `conditionValues` bound in order, as stored): the number of rows
    // changed, or -1 on failure. The condition is checked in the same statement as the write.
    int updateWhere(const QString &table, const QString &column, const QVariant &value,
                    const QString &condition, const QVariantList &conditionValues,
                    const RowValues &row);
    // Deletes the rows whose `column` equals `value` and that also meet `condition`: the
    // number deleted, or -1 on failure.
    int removeWhere(const QString &table, const QString &column, const QVariant &value,
                    const QString &condition, const QVariantList &conditionValues);
    // What a write of a row as it was read found.
    enum class AsRead {
        Written,
        Changed, // another desk changed the row since it was read: nothing written
        Gone,    // another desk deleted it: nothing written
        Refused, // as it was read, but the deletion's own condition does not hold
        Failed,
    };
    // Updates the row whose `column` equals `value` only while it holds `asRead` (its columns
    // as the user's form read them; NULL matches NULL). When it no longer does, the row is
    // read again: gone, or changed (errorText() names what it holds now and storedNow() gives
    // its columns of `asRead`), and nothing is written. Values only stored in another form
    // (another program wrote them) are no change. An empty `asRead` matches the key alone.
    AsRead updateAsRead(const QString &table, const QString &column, const QVariant &value,
                        const RowValues &asRead, const RowValues &row);
    // Deletes that row in the same way; with `also` (SQL over the table's columns) only while
    // that holds too: Refused when the row is as it was read but `also` does not hold.
    AsRead removeAsRead(const QString &table, const QString &column, const QVariant &value,
                        const RowValues &asRead, const QString &also = QString());
    // After Changed: the columns of `asRead` as stored now.
    const RowValues &storedNow() const { return m_now; }

    // Deletes the rows whose `column` equals `value` (none is no failure).
    bool remove(const QString &table, const QString &column, const QVariant &value);
    // The table's key of the first row whose `column` equals `value`: an invalid QVariant
    // when there is none. On failure also invalid, with ok() false.
    QVariant findKey(const QString &table, const QString &column, const QVariant &value);

    bool ok() const { return m_error.isEmpty(); }
    QString errorText() const { return m_error; }

private:
    bool run(class QSqlQuery &query, const QString &table, bool prepared);
    // The row found no longer as `asRead` holds it: Gone, Changed, or Written when it holds
    // the same values in another form and `again` (the write by the key alone) succeeds.
    AsRead notAsRead(const QString &table, const QString &column, const QVariant &value,
                     const RowValues &asRead, bool deleting, const std::function<int()> &again);

    QSqlDatabase m_db;
    QString m_error;
    RowValues m_now;
};

} // namespace lumkar
