#include "data/rowstore.h"

#include "data/textorder.h"
#include "data/values.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <sqlite3.h>

namespace lumkar {

namespace {

// A date-time is kept as milliseconds from the Julian day 0, which orders like the stored text.
qint64 momentOf(const QDateTime &dt)
{
    return dt.date().toJulianDay() * qint64(86400000) + dt.time().msecsSinceStartOfDay();
}

QDateTime momentToDateTime(qint64 moment)
{
    return QDateTime(QDate::fromJulianDay(moment / 86400000),
                     QTime::fromMSecsSinceStartOfDay(int(moment % 86400000)));
}

int digits(const char *p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return -1;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

// "yyyy-MM-dd HH:mm:ss" as the program stores it; false for any other text.
bool parseStored(const char *p, int n, qint64 &moment)
{
    if (n != 19 || p[4] != '-' || p[7] != '-' || p[13] != ':' || p[16] != ':')
        return false;
    const QDate d(digits(p, 4), digits(p + 5, 2), digits(p + 8, 2));
    const QTime t(digits(p + 11, 2), digits(p + 14, 2), digits(p + 17, 2));
    if (!d.isValid() || !t.isValid())
        return false;
    moment = d.toJulianDay() * qint64(86400000) + t.msecsSinceStartOfDay();
    return true;
}

int cellSize(const char *c)
{
    switch (c[0]) {
    case 0: return 1;
    case 1:
    case 2:
    case 4: return 9;
    default: {
        quint32 len;
        std::memcpy(&len, c + 1, 4);
        return 5 + int(len);
    }
    }
}

} // namespace

void RowStore::clear(int columns)
{
    m_columns = columns;
    m_arena.clear();
    m_offsets.clear();
}

void RowStore::appendRaw(Tag tag, const void *data, int bytes)
{
    m_arena.push_back(tag);
    const char *p = static_cast<const char *>(data);
    m_arena.insert(m_arena.end(), p, p + bytes);
}

void RowStore::appendText(const char *utf8, int bytes, FieldType type)
{
    if (type == FieldType::DateTime) {
        qint64 moment;
        if (parseStored(utf8, bytes, moment)) {
            appendRaw(Moment, &moment, 8);
            return;
        }
        const QDateTime dt = values::fromDatabase(QString::fromUtf8(utf8, bytes), type)
                                 .toDateTime();
        if (!dt.isValid()) {
            m_arena.push_back(Null);
            return;
        }
        const qint64 m = momentOf(dt);
        appendRaw(Moment, &m, 8);
        return;
    }
    const quint32 len = quint32(bytes);
    m_arena.push_back(Text);
    const char *l = reinterpret_cast<const char *>(&len);
    m_arena.insert(m_arena.end(), l, l + 4);
    m_arena.insert(m_arena.end(), utf8, utf8 + bytes);
}

void RowStore::appendFromStatement(sqlite3_stmt *stmt, const QVector<FieldType> &types)
{
    m_offsets.push_back(quint32(m_arena.size()));
    for (int i = 0; i < m_columns; ++i) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            m_arena.push_back(Null);
            break;
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(stmt, i);
            appendRaw(Integer, &v, 8);
            break;
        }
        case SQLITE_FLOAT: {
            const double v = sqlite3_column_double(stmt, i);
            appendRaw(Real, &v, 8);
            break;
        }
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            appendText(text, sqlite3_column_bytes(stmt, i), types[i]);
        }
        }
    }
}

void RowStore::appendValue(const QVariant &value, FieldType type)
{
    if (value.isNull() || !value.isValid()) {
        m_arena.push_back(Null);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool: {
        const qint64 v = value.toLongLong();
        appendRaw(Integer, &v, 8);
        return;
    }
    case QMetaType::Double: {
        const double v = value.toDouble();
        appendRaw(Real, &v, 8);
        return;
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime dt = value.metaType().id() == QMetaType::QDate
            ? QDateTime(value.toDate(), QTime(0, 0))
            : value.toDateTime();
        if (!dt.isValid()) {
            m_arena.push_back(Null);
            return;
        }
        const qint64 m = momentOf(dt);
        appendRaw(Moment, &m, 8);
        return;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        appendText(utf8.constData(), int(utf8.size()), type);
    }
    }
}

void RowStore::append(const QVector<QVariant> &row, const QVector<FieldType> &types)
{
    m_offsets.push_back(quint32(m_arena.size()));
    for (int i = 0; i < m_columns; ++i)
        appendValue(row.value(i), types.value(i, FieldType::Memo));
}

void RowStore::replace(int row, const QVector<QVariant> &values, const QVector<FieldType> &types)
{
    append(values, types);
    m_offsets[size_t(row)] = m_offsets.back();
    m_offsets.pop_back();
}

void RowStore::remove(int row)
{
    m_offsets.erase(m_offsets.begin() + row);
}

const char *RowStore::cell(int row, int column) const
{
    const char *c = m_arena.data() + m_offsets[size_t(row)];
    for (int i = 0; i < column; ++i)
        c += cellSize(c);
    return c;
}

bool RowStore::isNull(int row, int column) const
{
    return *cell(row, column) == Null;
}

bool RowStore::dayAndTime(int row, int column, QDate &day, QTime &time) const
{
    const char *c = cell(row, column);
    if (c[0] != Moment)
        return false;
    qint64 m;
    std::memcpy(&m, c + 1, 8);
    day = QDate::fromJulianDay(m / 86400000);
    time = QTime::fromMSecsSinceStartOfDay(int(m % 86400000));
    return true;
}

QVariant RowStore::value(int row, int column, FieldType type) const
{
    const char *c = cell(row, column);
    switch (c[0]) {
    case Null:
        return QVariant();
    case Integer: {
        qint64 v;
        std::memcpy(&v, c + 1, 8);
        switch (type) {
        case FieldType::Double: return double(v);
        case FieldType::Text:
        case FieldType::Memo: return QString::number(v);
        default: return qlonglong(v);
        }
    }
    case Real: {
        double v;
        std::memcpy(&v, c + 1, 8);
        if (type == FieldType::Text || type == FieldType::Memo)
            return QString::number(v, 'g', 15);
        if (type == FieldType::Double)
            return v;
        return values::fromDatabase(v, type);
    }
    case Moment: {
        qint64 m;
        std::memcpy(&m, c + 1, 8);
        return momentToDateTime(m);
    }
    default: {
        quint32 len;
        std::memcpy(&len, c + 1, 4);
        const QString text = QString::fromUtf8(c + 5, qsizetype(len));
        if (type == FieldType::Text || type == FieldType::Memo)
            return text;
        return values::fromDatabase(text, type);
    }
    }
}

QVector<QVariant> RowStore::row(int row, const QVector<FieldType> &types) const
{
    QVector<QVariant> out(m_columns);
    for (int i = 0; i < m_columns; ++i)
        out[i] = value(row, i, types.value(i, FieldType::Memo));
    return out;
}

void RowStore::sort(const QVector<int> &columns, const QVector<bool> &descending)
{
    if (columns.isEmpty() || m_offsets.size() < 2)
        return;
    // SQLite's order of storage classes: Null, numbers, texts.
    auto rank = [](char tag) { return tag == Null ? 0 : tag == Text ? 2 : 1; };
    auto number = [](const char *c) {
        if (c[0] == Real) {
            double v;
            std::memcpy(&v, c + 1, 8);
            return v;
        }
        qint64 v;
        std::memcpy(&v, c + 1, 8);
        return double(v);
    };
    auto compare = [&](const char *a, const char *b) {
        const int ra = rank(a[0]);
        const int rb = rank(b[0]);
        if (ra != rb)
            return ra < rb ? -1 : 1;
        if (ra == 0)
            return 0;
        if (ra == 1) {
            if (a[0] != Real && b[0] != Real) {
                qint64 x, y;
                std::memcpy(&x, a + 1, 8);
                std::memcpy(&y, b + 1, 8);
                return x < y ? -1 : x > y ? 1 : 0;
            }
            const double x = number(a);
            const double y = number(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        quint32 la, lb;
        std::memcpy(&la, a + 1, 4);
        std::memcpy(&lb, b + 1, 4);
        return compareTurkish(a + 5, la, b + 5, lb);
    };
    // The sort keys' positions, found once per row.
    const size_t n = m_offsets.size();
    std::vector<const char *> keys(n * size_t(columns.size()));
    for (size_t r = 0; r < n; ++r)
        for (int k = 0; k < columns.size(); ++k)
            keys[r * size_t(columns.size()) + size_t(k)] = cell(int(r), columns[k]);
    std::vector<quint32> order(n);
    std::iota(order.begin(), order.end(), 0u);
    const size_t width = size_t(columns.size());
    std::stable_sort(order.begin(), order.end(), [&](quint32 x, quint32 y) {
        for (size_t k = 0; k < width; ++k) {
            int c = compare(keys[x * width + k], keys[y * width + k]);
            if (descending[int(k)])
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    std::vector<quint32> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = m_offsets[order[i]];
    m_offsets.swap(sorted);
}

} // namespace lumkar
