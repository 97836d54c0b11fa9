#include "data/serverkeys.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QTime>
#include <QtEndian>
#include <libpq-fe.h>
#include <memory>

namespace lumkar::serverkeys {

namespace {

constexpr Oid kByteaType = 17;
constexpr Oid kTextType = 25;

PGconn *connectionOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt's driver names the type by the structure's own name.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0
            && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The statement with $1, $2, ... for its ? marks, and NULL written for an empty value as the
// query layer writes it (a parameter of no type the server could not place); a mark inside a
// quoted text or name is kept.
QByteArray numbered(const QString &sql, const QVariantList &values)
{
    QString out;
    out.reserve(sql.size() + 16);
    QChar quote;
    int n = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            const bool empty = n < values.size() && values.at(n).isNull();
            ++n;
            out += empty ? QStringLiteral("NULL") : QLatin1Char('$') + QString::number(n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

// A value as the server reads a parameter given as text (a byte string as bytes).
QByteArray parameterText(const QVariant &v, bool &binary)
{
    binary = false;
    switch (v.metaType().id()) {
    case QMetaType::QByteArray:
        binary = true;
        return v.toByteArray();
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("t") : QByteArrayLiteral("f");
    case QMetaType::Double:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    default:
        return v.toString().toUtf8();
    }
}

QSqlError errorOf(PGconn *conn, const PGresult *result)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    QString code = state ? QString::fromLatin1(state) : QString();
    // A connection lost gives no state of the server's: it is one that failed.
    if (code.isEmpty() && PQstatus(conn) == CONNECTION_BAD)
        code = QStringLiteral("08006");
    const char *message = result ? PQresultErrorMessage(result) : PQerrorMessage(conn);
    return QSqlError(QString(), QString::fromUtf8(message).trimmed(),
                     code.startsWith(QLatin1String("08")) ? QSqlError::ConnectionError
                                                          : QSqlError::StatementError,
                     code);
}

} // namespace

Outcome read(const QSqlDatabase &db, const QString &sql, const QVariantList &values,
             QVector<qint64> &keys, QSqlError &error)
{
    PGconn *conn = connectionOf(db);
    // A result the query layer still reads keeps the connection busy: it reads this one too.
    if (!conn || PQstatus(conn) != CONNECTION_OK || PQisBusy(conn)
        || PQtransactionStatus(conn) == PQTRANS_ACTIVE)
        return Outcome::NotServer;
    QVector<QByteArray> texts;
    QVector<const char *> pointers;
    QVector<int> lengths, formats;
    QVector<Oid> types;
    for (const QVariant &v : values) {
        bool binary = false;
        texts << parameterText(v, binary);
        // An empty value is not referred to (NULL stands in its place): it gets a type, as
        // the server asks of every parameter it is given.
        types << (v.isNull() ? kTextType : binary ? kByteaType : Oid(0));
        formats << (binary ? 1 : 0);
        lengths << int(texts.constLast().size());
    }
    // Each parameter keeps its number; an empty one is written into the statement instead.
    for (int i = 0; i < values.size(); ++i)
        pointers << texts[i].constData();
    const QByteArray statement = numbered(sql, values);
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQexecParams(conn, statement.constData(), int(values.size()), types.constData(),
                     pointers.constData(), lengths.constData(), formats.constData(), 1),
        &PQclear);
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) {
        // Refused before the server saw it (the query layer still reads another result on the
        // connection): the query layer, which finishes that read first, reads this one.
        const char *state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        if (!state && PQstatus(conn) == CONNECTION_OK)
            return Outcome::NotServer;
        error = errorOf(conn, result.get());
        return Outcome::Failed;
    }
    const int rows = PQntuples(result.get());
    keys.reserve(keys.size() + rows);
    for (int row = 0; row < rows; ++row) {
        const char *at = PQgetvalue(result.get(), row, 0);
        switch (PQgetlength(result.get(), row, 0)) {
        case 4:
            keys << qFromBigEndian<qint32>(at);
            break;
        case 8:
            keys << qFromBigEndian<qint64>(at);
            break;
        default:
            keys << 0; // an empty key: no row has one
        }
    }
    return Outcome::Read;
}

} // namespace lumkar::serverkeys
