#include "data/moneytotals.h"

#include "data/schema.h"
#include "data/transaction.h"
#include "data/values.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace lumkar::moneytotals {

const QStringList &books()
{
    static const QStringList all = {QStringLiteral("kasa"), QStringLiteral("kredikart")};
    return all;
}

namespace {

// A table kept with day totals: per day ("tarih") and `user`, the sums of `debit` and `credit`
// (kept as "borc" and "alacak") and the number of rows. The totals' user column has the
// table's own name, so that a condition on the table is one on its totals too.
struct Totalled {
    const char *table;
    const char *user;
    const char *debit;
    const char *credit;
};
constexpr Totalled kTotalled[] = {{"kasa", "gorusen_kodu", "borc", "alacak"},
                                  {"kredikart", "gorusen_kodu", "borc", "alacak"},
                                  {"cari", "gorusen_kodu", "borc", "alacak"},
                                  {"gorusmeler", "gorusenadsoyad", "islem_borcu", "tahsiledilen"}};

const Totalled &totalledAs(const QString &table)
{
    for (const Totalled &t : kTotalled)
        if (table == QLatin1String(t.table))
            return t;
    return kTotalled[0];
}

} // namespace

const QStringList &totalledTables()
{
    static const QStringList all = [] {
        QStringList out;
        for (const Totalled &t : kTotalled)
            out << QLatin1String(t.table);
        return out;
    }();
    return all;
}

QString totalsTable(const QString &book)
{
    return book + QStringLiteral("_gunluk");
}

namespace {

// The server's function that adds a row's amounts on its day and user (a negative sign takes
// them away). The day and the user are each matched with "=" or "IS NULL", which the index
// serves: "IS NOT DISTINCT FROM" would read every day total at every row written without a
// user (a collection's account line).
QString addFunction(const QString &book)
{
    const QString totals = totalsTable(book);
    const QString user = QLatin1String(totalledAs(book).user);
    const QString add = QStringLiteral("UPDATE %1 SET borc = borc + b, alacak = alacak + a, "
                                       "satir = satir + n WHERE tarih %2 AND %3 %4;")
                            .arg(totals, QStringLiteral("%1"), user, QStringLiteral("%2"));
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1_ekle(d TIMESTAMP, u TEXT, b DOUBLE PRECISION, a "
               "DOUBLE PRECISION, n INTEGER) RETURNS void AS $$ BEGIN IF d IS NOT NULL AND u IS "
               "NOT NULL THEN %2 ELSIF d IS NOT NULL THEN %3 ELSIF u IS NOT NULL THEN %4 ELSE %5 "
               "END IF; IF NOT FOUND THEN INSERT INTO %1 (tarih, %6, borc, alacak, "
               "satir) VALUES (d, u, b, a, n); END IF; END $$ LANGUAGE plpgsql")
        .arg(totals, add.arg(QStringLiteral("= d"), QStringLiteral("= u")),
             add.arg(QStringLiteral("= d"), QStringLiteral("IS NULL")),
             add.arg(QStringLiteral("IS NULL"), QStringLiteral("= u")),
             add.arg(QStringLiteral("IS NULL"), QStringLiteral("IS NULL")), user);
}

} // namespace

QStringList createStatements(const QString &book, Engine engine)
{
    const QString totals = totalsTable(book);
    const Totalled &t = totalledAs(book);
    const QString user = QLatin1String(t.user);
    const QString debit = QLatin1String(t.debit);
    const QString credit = QLatin1String(t.credit);
    // The table's columns in a statement: "%u" the user, "%d" and "%c" the sums.
    const auto columns = [&](QString sql) {
        return sql.replace(QStringLiteral("%u"), user)
            .replace(QStringLiteral("%d"), debit)
            .replace(QStringLiteral("%c"), credit);
    };
    if (engine == Engine::Postgres) {
        return { columns(QStringLiteral("CREATE TABLE %1 (tarih TIMESTAMP, %u TEXT, borc DOUBLE "
                                        "PRECISION NOT NULL, alacak DOUBLE PRECISION NOT NULL, "
                                        "satir INTEGER NOT NULL)"))
                     .arg(totals),
            columns(QStringLiteral("CREATE INDEX %1_gun ON %1 (tarih, %u)")).arg(totals),
            addFunction(book),
            columns(QStringLiteral(
                "CREATE FUNCTION %1_tetik() RETURNS trigger AS $$ BEGIN IF TG_OP <> 'INSERT' "
                "THEN PERFORM %1_ekle(OLD.tarih, OLD.%u::text, -COALESCE(OLD.%d, 0), "
                "-COALESCE(OLD.%c, 0), -1); END IF; IF TG_OP <> 'DELETE' THEN PERFORM "
                "%1_ekle(NEW.tarih, NEW.%u::text, COALESCE(NEW.%d, 0), "
                "COALESCE(NEW.%c, 0), 1); END IF; RETURN NULL; END $$ LANGUAGE plpgsql"))
                .arg(totals),
            columns(QStringLiteral("CREATE TRIGGER %1_degisim AFTER INSERT OR UPDATE OF tarih, "
                                   "%u, %d, %c OR DELETE ON %2 FOR EACH ROW EXECUTE "
                                   "FUNCTION %1_tetik()"))
                .arg(totals, book),
            columns(QStringLiteral("INSERT INTO %1 (tarih, %u, borc, alacak, satir) SELECT "
                                   "tarih, %u::text, COALESCE(SUM(%d), 0), "
                                   "COALESCE(SUM(%c), 0), count(*) FROM %2 GROUP BY tarih, %u"))
                .arg(totals, book) };
    }
    // Adds (sign 1) or takes away (sign -1) one movement's amounts on its day and user.
    auto apply = [&](const QString &row, const QString &sign) {
        return columns(QStringLiteral(
                   "INSERT INTO %1 (tarih, %u, borc, alacak, satir) SELECT %2.tarih, "
                   "%2.%u, 0, 0, 0 WHERE NOT EXISTS (SELECT 1 FROM %1 WHERE tarih IS "
                   "%2.tarih AND %u IS %2.%u); "
                   "UPDATE %1 SET borc = borc + %3 * IFNULL(%2.%d, 0), "
                   "alacak = alacak + %3 * IFNULL(%2.%c, 0), satir = satir + %3 "
                   "WHERE tarih IS %2.tarih AND %u IS %2.%u;"))
            .arg(totals, row, sign);
    };
    return {
        columns(QStringLiteral("CREATE TABLE %1 (tarih DATETIME, %u TEXT, borc DOUBLE NOT NULL,"
                               " alacak DOUBLE NOT NULL, satir INTEGER NOT NULL)"))
            .arg(totals),
        columns(QStringLiteral("CREATE INDEX %1_gun ON %1 (tarih, %u)")).arg(totals),
        QStringLiteral("CREATE TRIGGER %1_ekle AFTER INSERT ON %2 BEGIN %3 END")
            .arg(totals, book, apply(QStringLiteral("NEW"), QStringLiteral("1"))),
        columns(QStringLiteral("CREATE TRIGGER %1_degistir AFTER UPDATE OF tarih, %u, %d, "
                               "%c ON %2 BEGIN %3 %4 END"))
            .arg(totals, book, apply(QStringLiteral("OLD"), QStringLiteral("-1")),
                 apply(QStringLiteral("NEW"), QStringLiteral("1"))),
        QStringLiteral("CREATE TRIGGER %1_sil AFTER DELETE ON %2 BEGIN %3 END")
            .arg(totals, book, apply(QStringLiteral("OLD"), QStringLiteral("-1"))),
        columns(QStringLiteral("INSERT INTO %1 (tarih, %u, borc, alacak, satir) SELECT tarih, "
                               "%u, TOTAL(%d), TOTAL(%c), count(*) FROM %2 GROUP BY tarih, %u"))
            .arg(totals, book)};
}

QStringList dropStatements(const QString &book, Engine engine)
{
    const QString totals = totalsTable(book);
    if (engine == Engine::Postgres)
        // The trigger goes with the function it calls.
        return {QStringLiteral("DROP FUNCTION IF EXISTS %1_tetik() CASCADE").arg(totals),
                QStringLiteral("DROP FUNCTION IF EXISTS %1_ekle(TIMESTAMP, TEXT, DOUBLE "
                               "PRECISION, DOUBLE PRECISION)")
                    .arg(totals),
                QStringLiteral("DROP FUNCTION IF EXISTS %1_ekle(TIMESTAMP, TEXT, DOUBLE "
                               "PRECISION, DOUBLE PRECISION, INTEGER)")
                    .arg(totals),
                QStringLiteral("DROP TABLE IF EXISTS %1").arg(totals)};
    return {QStringLiteral("DROP TRIGGER IF EXISTS %1_ekle").arg(totals),
            QStringLiteral("DROP TRIGGER IF EXISTS %1_degistir").arg(totals),
            QStringLiteral("DROP TRIGGER IF EXISTS %1_sil").arg(totals),
            QStringLiteral("DROP TABLE IF EXISTS %1").arg(totals)};
}

bool ensure(QSqlDatabase &db, QString *error)
{
    for (const QString &book : totalledTables()) {
        QSqlQuery q(db);
        // A visit's line is found again, changed and deleted by the visit's number (the
        // person accounts have that index from the start).
        if (books().contains(book)
            && !q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_gorusme ON %1 (gorusme_no)")
                           .arg(book))) {
            if (error)
                *error = QStringLiteral("\"%1\" dizini hazırlanamadı: %2")
                             .arg(book, q.lastError().text());
            return false;
        }
        const Engine engine = schema::engineOf(db);
        QStringList statements = createStatements(book, engine);
        if (schema::hasTable(db, totalsTable(book))) {
            // Totals of an older program, without the rows' count (on a server also with an
            // older function), are made anew once.
            if (q.exec(QStringLiteral("SELECT satir FROM %1 WHERE 1 = 0").arg(totalsTable(book))))
                continue;
            statements = dropStatements(book, engine) + statements;
        }
        q.finish();
        Transaction transaction(db);
        bool ok = transaction.isActive();
        QString cause = transaction.errorText();
        for (const QString &sql : std::as_const(statements)) {
            if (!ok)
                break;
            if (!q.exec(sql)) {
                ok = false;
                cause = q.lastError().text();
            }
        }
        if (ok && !transaction.commit()) {
            ok = false;
            cause = transaction.errorText();
        }
        if (!ok) {
            if (error)
                *error = QStringLiteral("\"%1\" günlük toplamları hazırlanamadı: %2")
                             .arg(book, cause);
            return false;
        }
    }
    return true;
}

namespace {

// The sums of the day totals whose day meets `condition` (with `days` bound in order), of
// every user or of the one user code.
Sums sumDays(QSqlDatabase &db, const QString &book, const QString &condition,
             const QVariantList &days, bool allUsers, const QString &userCode)
{
    return allUsers ? within(db, book, condition, days)
                    : within(db, book, condition + QStringLiteral(" AND gorusen_kodu = ?"),
                             days + QVariantList{userCode});
}

} // namespace

namespace {

Sums sumsFrom(QSqlDatabase &db, const QString &table, const QString &from,
              const QString &condition, const QVariantList &values)
{
    Sums sums;
    QString sql = QStringLiteral("SELECT COALESCE(SUM(borc), 0), COALESCE(SUM(alacak), 0) FROM %1")
                      .arg(from);
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec() || !q.next()) {
        sums.ok = false;
        sums.error = QStringLiteral("\"%1\" toplamları okunamadı: %2")
                         .arg(table, q.lastError().text());
        return sums;
    }
    sums.borc = q.value(0).toDouble();
    sums.alacak = q.value(1).toDouble();
    return sums;
}

} // namespace

Sums within(QSqlDatabase &db, const QString &table, const QString &condition,
            const QVariantList &values)
{
    return sumsFrom(db, table, totalsTable(table), condition, values);
}

qint64 rowCount(QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COALESCE(SUM(satir), 0) FROM %1").arg(totalsTable(table)))
        || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool answers(const QString &table, const QString &condition)
{
    // Words of SQL and marks are allowed; any other name, or a text written into the
    // condition, is not a column the totals keep.
    if (condition.contains(QLatin1Char('\'')) || condition.contains(QLatin1Char('"')))
        return false;
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    static const QStringList allowed = {
        QStringLiteral("tarih"), QStringLiteral("and"), QStringLiteral("or"),
        QStringLiteral("not"), QStringLiteral("is"), QStringLiteral("null"),
        QStringLiteral("between"), QStringLiteral("in")};
    if (!totalledTables().contains(table))
        return false;
    const QLatin1String user(totalledAs(table).user);
    for (auto it = word.globalMatch(condition); it.hasNext();) {
        const QString name = it.next().captured().toLower();
        if (name != user && !allowed.contains(name))
            return false;
    }
    return true;
}

QString spanSelect(const QString &table, const QString &key, const QString &condition,
                   qint64 longerThan, int *repeats)
{
    // A day's first (last) key is the first entry of that day on the date index, which holds
    // the key after the day; every day of the period is asked once.
    const QString days = QStringLiteral("(SELECT DISTINCT tarih FROM %1 WHERE (%2) AND satir > 0) d")
                             .arg(totalsTable(table), condition);
    const auto edge = [&](const char *extreme, const char *direction) {
        return QStringLiteral("(SELECT %1((SELECT %2 FROM %3 WHERE %3.tarih = d.tarih AND (%4) "
                              "ORDER BY %2%5 LIMIT 1)) FROM %6)")
            .arg(QLatin1String(extreme), key, table, condition, QLatin1String(direction), days);
    };
    // The keys are asked only of a list longer than `longerThan`.
    *repeats = 7;
    const QString rows = QStringLiteral("(SELECT COALESCE(SUM(satir), 0) FROM %1 WHERE (%2))")
                             .arg(totalsTable(table), condition);
    const auto whenLong = [&](const QString &keys) {
        return QStringLiteral("CASE WHEN %1 > %2 THEN %3 END")
            .arg(rows, QString::number(longerThan), keys);
    };
    return QStringLiteral("SELECT %1, %2, %3")
        .arg(rows, whenLong(edge("MIN", "")), whenLong(edge("MAX", " DESC")));
}

Sums ofRows(QSqlDatabase &db, const QString &table, const QString &condition,
            const QVariantList &values)
{
    return sumsFrom(db, table, table, condition, values);
}

Sums before(QSqlDatabase &db, const QString &book, const QDate &firstDay, bool allUsers,
            const QString &userCode)
{
    return sumDays(db, book, QStringLiteral("tarih < ?"), {values::dayKey(firstDay)}, allUsers,
                   userCode);
}

Sums on(QSqlDatabase &db, const QString &book, const QDate &day, bool allUsers,
        const QString &userCode)
{
    return sumDays(db, book, QStringLiteral("tarih >= ? AND tarih < ?"),
                   {values::dayKey(day), values::dayKey(day.addDays(1))}, allUsers, userCode);
}

} // namespace lumkar::moneytotals
