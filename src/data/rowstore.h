#pragma once
// The rows a data set holds, packed one after another in one block of memory and decoded only
// when a value is asked for, so that a list of many thousands of rows opens at once.

#include "data/schema.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <vector>

struct sqlite3_stmt;

namespace lumkar {

class RowStore {
public:
    void clear(int columns);
    int columns() const { return m_columns; }
    int size() const { return int(m_offsets.size()); }

    // Appends a row read from SQLite, or from values, converted by the declared types.
    void appendFromStatement(sqlite3_stmt *stmt, const QVector<FieldType> &types);
    void append(const QVector<QVariant> &row, const QVector<FieldType> &types);
    // Replaces a row (its old bytes stay unused until the store is cleared).
    void replace(int row, const QVector<QVariant> &values, const QVector<FieldType> &types);
    void remove(int row);

    QVariant value(int row, int column, FieldType type) const;
    QVector<QVariant> row(int row, const QVector<FieldType> &types) const;
    bool isNull(int row, int column) const;
    // A date-time cell's day and time of day without building a local QDateTime (which asks
    // the time zone); false when the cell holds no date-time.
    bool dayAndTime(int row, int column, QDate &day, QTime &time) const;

    // Orders the rows by columns: Null first, numbers by value, texts in the Turkish
    // alphabet (textorder.h); `descending` per column. Rows that compare equal keep their order.
    void sort(const QVector<int> &columns, const QVector<bool> &descending);

private:
    enum Tag : char { Null = 0, Integer = 1, Real = 2, Text = 3, Moment = 4 };
    const char *cell(int row, int column) const;
    void appendValue(const QVariant &value, FieldType type);
    void appendText(const char *utf8, int bytes, FieldType type);
    void appendRaw(Tag tag, const void *data, int bytes);

    int m_columns = 0;
    std::vector<char> m_arena;
    std::vector<quint32> m_offsets;
};

} // namespace lumkar
