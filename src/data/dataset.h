#pragma once
// A cursor over the rows of one table or query, as the windows use it: open in an order,
// an optional SQL pre-filter (a superset of what the program filter keeps, so a list reads
// only what it may show), a program-side filter predicate switched on and off, moving,
// locating, reading and writing columns, and append/edit/post/cancel/delete of single rows.
// The rows are those of the moment the data set was opened (loaded).

#include "data/rowstore.h"
#include "data/schema.h"

#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <map>

class QSqlQuery;
class QWidget;

namespace lumkar {

class DataSet;

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false; // the value may be a prefix of the column's text
};

// One row as the filter predicate sees it.
class Record {
public:
    Record(const DataSet &dataSet, int row) : m_dataSet(dataSet), m_row(row) {}
    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    bool isNull(const QString &field) const;
    // A date-time column's day and time of day, read cheaply; false when it is empty.
    bool dayAndTime(const QString &field, QDate &day, QTime &time) const;

private:
    const DataSet &m_dataSet;
    int m_row;
};

class DataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Predicate = std::function<bool(const Record &)>;
    enum class BeforePost { Proceed, Discard };
    // An SQL condition with its bound values.
    struct Condition {
        QString sql;
        QVariantList values;
        // The condition picks few rows through indexes of its own: a list read by pages then
        // reads its rows' keys once, in the list's order, rather than sorting them for the
        // count and again for every page.
        bool fewRows = false;
        // Where the condition may hold many rows: the same rows as a test of each row (read
        // along the list's order, a page's worth of them at a time, when they are many of the
        // table's rows), and a statement that counts them without reading them.
        QString rowTest;
        QVariantList rowTestValues;
        QString count;
        QVariantList countValues;
    };
    using ConditionSource = std::function<Condition()>;
    // Runs before a row is written; may set columns, or discard the row's changes.
    using BeforePostHook = std::function<BeforePost(DataSet &)>;

    DataSet(QSqlDatabase db, QObject *parent = nullptr);

    // A table by name, ordered by the given columns (its key when none are given).
    void setTable(const QString &table, const QStringList &orderBy = {});
    // A select query; its result is writable when it reads one table with its key column.
    // "Select * from <table> [order by ...]" is read as that table in that order.
    void setQuery(const QString &sql, const QString &updateTable = QString());
    // Values for the query's own placeholders, bound before those of the pre-filter. Take
    // effect at the next open.
    void setQueryValues(const QVariantList &values) { m_queryValues = values; }
    QString query() const { return m_sql; }
    Engine engine() const { return schema::engineOf(m_db); }
    const QSqlDatabase &database() const { return m_db; }
    QString tableName() const { return m_table; }

    // An SQL condition with bound values that narrows what is read; it must keep every row the
    // program filter accepts. Takes effect at the next open.
    void setPrefilter(const QString &condition, const QVariantList &values = {});

    // The program filter; while filtered, only rows it accepts are shown.
    void setFilter(Predicate predicate) { m_predicate = std::move(predicate); }
    void setFiltered(bool on);
    void setBeforePost(BeforePostHook hook) { m_beforePost = std::move(hook); }
    bool isFiltered() const { return m_filtered; }

    // Reads a long list a page at a time as its rows come into view, so that it opens, sorts and
    // scrolls alike at any size: the database orders, counts and filters the rows (a table in
    // an order of one direction, text columns in the Turkish order through their sort key,
    // the key last). While filtered, `filter` gives the SQL twin of the program filter; it is
    // asked again whenever the filter is switched on. Set before opening.
    void readByPages(ConditionSource filter);
    bool readsByPages() const { return m_paged; }
    // The row a search stops on: the first row after `row` (from the first when `row` is -1)
    // where `condition` holds, going round once, so `row` itself last; -1 when none holds it.
    // Asked of the database: for a list read by pages.
    int nextWhere(const Condition &condition, int row);

    // A hidden owner window defers reading until the window is shown or a row is asked for.
    void setOwnerWindow(QWidget *window);

    // Open and reopen return false when the rows could not be read: the user has been told
    // (once, through the database's failure handler) and the rows shown stay as they were.
    // The caller stops its action.
    [[nodiscard]] bool open();
    // Closes, sets the pre-filter and opens: the rows of one key, one day, one person.
    [[nodiscard]] bool openWith(const QString &condition, const QVariantList &values);
    // Closes and opens a query that carries its own "?" marks, bound to `values` in order
    // (no pre-filter is added): a query that filters before it groups.
    [[nodiscard]] bool openBound(const QVariantList &values);
    void close();
    // Reads the rows again. A data set whose rows are shown and whose query and pre-filter
    // are those of its last read is read again in place and keeps its rows when the read
    // fails; otherwise it is closed and opened.
    [[nodiscard]] bool reopen();
    bool isOpen() const { return m_state != State::Inactive; }
    bool isLoaded() const { return m_loaded; }
    void ensureLoaded();
    // Reads now the rows of a data set that waits for its hidden window; false when the read
    // failed (the user was told and the data set is closed). Ask before counting rows.
    [[nodiscard]] bool readNow();

    // Moving among the rows shown.
    int recordCount();
    bool isEmpty() { return recordCount() == 0; }
    void first();
    void last();
    void next();
    void prior();
    bool eof();
    bool bof();
    int currentRow(); // 0-based among the rows shown, -1 when there is none
    void moveTo(int row);
    int recNo() { return currentRow() + 1; }

    // Columns.
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &field) const;
    FieldType fieldType(int index) const { return m_types.value(index, FieldType::Memo); }
    QVariant value(const QString &field);
    QString text(const QString &field);
    bool isNull(const QString &field) { return value(field).isNull(); }
    QVariant valueAt(int row, int fieldIndex);

    bool locate(const QString &field, const QVariant &value, LocateOptions options = {});

    // Writing.
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }
    // Values the program sets on a new row are not the user's change.
    void clearModified() { m_modified = false; }
    // Append and edit end a pending change first (written when modified, else dropped), as
    // every move does. Edit on an empty data set appends.
    void append();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    bool post(); // false when the write failed; lastError() tells why
    void cancel();
    bool remove();
    QSqlError lastError() const { return m_error; }

    // While disabled, bound controls and grids are not told about moves.
    void disableControls() { ++m_disabled; }
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

signals:
    void reset();          // rows replaced: opened, closed, filtered, reloaded
    void currentChanged(); // the cursor moved
    void rowChanged(int row);
    void stateChanged();
    void fieldChanged(const QString &field); // a column of the row being edited was set

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class Record;
    bool load();
    bool readRows(const QString &sql, const QVariantList &values, QStringList &names,
                  QVector<FieldType> &types, RowStore &rows);
    bool failRead();
    // Prepares `sql`, binds `values` in order and runs it to read forward; false with the
    // error kept when the database refused.
    bool runRead(QSqlQuery &q, const QString &sql, const QVariantList &values);
    void setFields(const QStringList &names, const QVector<FieldType> &types);
    // The rows shown: the filtered rows read, or every row of the list read by pages.
    int shownCount() const { return m_paged ? m_count : int(m_shown.size()); }
    // Where the row shown at `row` is held: its store and its index there; nullptr when the
    // row is not there or could not be read.
    const RowStore *rowAt(int row, int &index);
    // --- a list read by pages ---
    bool loadPages();
    void forgetPages();
    bool readPage(int page);
    void keepPage(int page, RowStore &&rows);
    // The statement of `rows` rows of a key list from `firstRow` on, with its values.
    QString keyPageSelect(const QVector<qint64> &keys, int firstRow, int rows,
                          QVariantList &values) const;
    QString pagedWhere(QVariantList &values) const;
    // The list's condition and `extra`. A list walked along its key (`m_span`) gives the
    // condition as one to test on each row between its lowest and highest key, unless
    // `toCount`, where the condition's own index counts quicker.
    QString pagedWhere(QVariantList &values, const Condition &extra, bool toCount = false) const;
    QString pagedOrder(bool reversed) const;
    // The list runs in the order of its key alone (the key is always the order's last column).
    bool orderedByKey() const;
    // The rows `offset` on of those where `where` holds, in the list's order or reversed.
    QString pageSelect(const QString &where, bool reversed, int rows, int offset) const;
    QString orderTerm(int i) const;
    bool descendingAt(int i) const;
    // The condition that a row comes after (or with `before`, before) the row whose order
    // values are `at`, in the list's order.
    QString pastRow(const QVector<QVariant> &at, bool before, QVariantList &values) const;
    // The same as alternatives that exclude each other, each with its values.
    QStringList pastRowParts(const QVector<QVariant> &at, bool before,
                             QList<QVariantList> &values) const;
    // The values of the list's order (the key last) in a whole row.
    QVector<QVariant> orderValues(const QVector<QVariant> &row) const;
    // The order values of the first row in order where `where` holds, ordered first by
    // `orderFirst` (an ORDER BY term and a comma, or nothing); empty when none holds; false
    // when the read failed.
    bool firstWhere(const QString &where, const QVariantList &values, const QString &orderFirst,
                    QVector<QVariant> &found);
    // The number of rows shown where `where` holds (-1 on a failure).
    int countWhere(const QString &where, const QVariantList &values);
    int positionOf(const QVector<QVariant> &at);
    bool locateByDatabase(const QString &field, const QVariant &value);
    QVector<FieldType> columnTypes(const QStringList &names) const;
    bool refuseDamaged();
    void failWrite(const QSqlError &error);
    // The row of the update table with the key `key` as it is stored now, in this set's fields.
    struct Stored {
        bool failed = false; // the read failed: the error is set
        bool found = false;
        QVector<QVariant> values;
    };
    Stored storedRow(const QString &table, const QVariant &key);
    void sortRows();
    void applyFilter();
    QString selectText() const;
    bool checkBrowseMode();
    void notifyReset();
    void notifyCurrent();
    int insertRowIndex() const;

    QSqlDatabase m_db;
    QString m_table;
    QString m_updateTable;
    QString m_key;
    QStringList m_orderBy; // columns, each optionally followed by ASC or DESC
    QString m_sql;
    QString m_computed; // columns computed from each row of the table, after its own
    QString computedColumns() const
    {
        return m_computed.isEmpty() ? QString() : QStringLiteral(", ") + m_computed;
    }
    QString m_prefilter;
    QVariantList m_prefilterValues;
    QVariantList m_queryValues;
    Predicate m_predicate;
    bool m_paged = false;
    ConditionSource m_filterSource;
    Condition m_pageFilter;           // the filter in force while filtered
    bool m_walked = false;            // its rows tested one by one along the order
    QStringList m_orderColumns;       // the order, the key last
    QVector<bool> m_orderIsText;
    bool m_descending = false;
    int m_count = 0;                  // the rows shown of a list read by pages
    // A list in the order of its key alone, under a condition, holds the keys of its rows in
    // order: read at once from the condition's index, they count the list and place each page.
    bool m_keyList = false;
    QVector<qint64> m_keys;
    bool readKeys(const QString &where, const QVariantList &values, QVector<qint64> &keys);
    // A list in the order of its key, under a condition the day totals answer, whose rows lie
    // close together among the keys (rows written day by day): counted from the totals and
    // walked along the key from its lowest to its highest, no key list is read.
    struct KeySpan {
        bool on = false;
        qint64 low = 1;
        qint64 high = 0;
    };
    KeySpan m_span;
    // The span of the list under `where` and its number of rows; `span.on` false when the list
    // is not one to walk so. False when the read failed.
    bool readSpan(const QString &where, const QVariantList &values, KeySpan &span, int &count);
    // The whole-number first column of every row of `sql`, by the quickest way the engine has.
    bool readWholeNumbers(const QString &sql, const QVariantList &values, QVector<qint64> &out);
    // The rows shown of a list read by pages, counted again after a write (-1 on a failure).
    int recount();
    // Turns a condition of many rows into its test of each row when its rows are more than a
    // sixteenth of the table's; `count` then holds their number. False when a read failed.
    bool walkCondition(Condition &condition, int &count);
    std::map<int, RowStore> m_pages;  // by page number
    QVector<int> m_pageUse;           // the pages held, the one used last at the end
    BeforePostHook m_beforePost;
    bool m_filtered = false;
    QPointer<QWidget> m_owner;

    QStringList m_fields;
    QHash<QString, int> m_fieldIndex; // lower-case name -> index
    QVector<FieldType> m_types;
    RowStore m_rows;      // everything read, in order
    QVector<int> m_shown; // indices into m_rows that pass the filter
    int m_current = -1;                // index into m_shown
    bool m_loaded = false;
    bool m_eof = true;
    bool m_bof = true;

    State m_state = State::Inactive;
    QVector<QVariant> m_buffer; // the row being edited or inserted
    bool m_modified = false;
    int m_disabled = 0;
    QSqlError m_error;
    QString m_readText;          // the statement of the last successful read
    QVariantList m_readValues;   // and its bound values
    // Every value a read binds, in order: the query's, then the pre-filter's.
    QVariantList boundValues() const { return m_queryValues + m_prefilterValues; }
};

} // namespace lumkar
