#include "data/moneytotals.h"

#include "data/namestarts.h"
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

// A table kept with day totals: per `day` and `user` (and for the appointments, whether each
// is cancelled and whether it was held), the sums of `debit` and `credit` (kept as "borc" and
// "alacak"; none when empty) and the number of rows. The totals' columns have the table's own
// names, so that a condition on the table is one on its totals too.
// The persons, who have no day, are only counted: in sixteen parts by their key (`bucketOf`),
// kept in the place of the user with no day, so that desks adding persons at once seldom
// wait for one another.
struct Totalled {
    const char *table;
    const char *day;
    const char *user;
    const char *debit;
    const char *credit;
    bool states = false;
    const char *bucketOf = "";
    const char *totals = ""; // the totals' table; "<table>_gunluk" when empty
};
constexpr Totalled kTotalled[] = {
    {"kasa", "tarih", "gorusen_kodu", "borc", "alacak"},
    {"kredikart", "tarih", "gorusen_kodu", "borc", "alacak"},
    {"cari", "tarih", "gorusen_kodu", "borc", "alacak"},
    {"gorusmeler", "tarih", "gorusenadsoyad", "islem_borcu", "tahsiledilen"},
    {"randevu", "randevutarihi", "RKime", "", "", true},
    {"siciltablo", "tarih", "kova", "", "", false, "hid", "siciltablo_sayi"}};

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
    const Totalled &t = totalledAs(book);
    if (*t.totals && book == QLatin1String(t.table))
        return QLatin1String(t.totals);
    return book + QStringLiteral("_gunluk");
}

namespace {

// An appointment is kept by class: cancelled or not (`iptalkodu` 1 or empty), and by its visit
// (`gorusmekodu` empty, 0 for a number below 1, 1 for 1 and above). Each of the conditions below
// is as true of the class as of every appointment in it; no other condition on these columns
// is answered by the totals.
const QStringList &stateColumns()
{
    static const QStringList all = {QStringLiteral("iptalkodu"), QStringLiteral("gorusmekodu")};
    return all;
}
const QStringList &stateConditions()
{
    static const QStringList all = {
        QStringLiteral("iptalkodu IS NULL"), QStringLiteral("gorusmekodu IS NULL"),
        QStringLiteral("gorusmekodu < 1"), QStringLiteral("gorusmekodu > 0")};
    return all;
}
QString stateClass(const QString &column, const QString &row)
{
    const QString value = row + column;
    return column == QLatin1String("iptalkodu")
        ? QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE 1 END").arg(value)
        : QStringLiteral("CASE WHEN %1 IS NULL THEN NULL WHEN %1 < 1 THEN 0 ELSE 1 END").arg(value);
}

// The columns the totals are kept by, and the values a row (`row` "NEW.", "OLD." or nothing)
// gives them; the user as text on the server.
QStringList groupColumns(const Totalled &t)
{
    return QStringList{QLatin1String(t.day), QLatin1String(t.user)}
        + (t.states ? stateColumns() : QStringList());
}
QStringList groupValues(const Totalled &t, const QString &row, Engine engine)
{
    if (*t.bucketOf)
        return {QStringLiteral("CAST(NULL AS TIMESTAMP)"),
                QStringLiteral("CAST(%1%2 % 16 AS TEXT)").arg(row, QLatin1String(t.bucketOf))};
    QStringList out{row + QLatin1String(t.day),
                    row + QLatin1String(t.user)
                        + (engine == Engine::Postgres ? QStringLiteral("::text") : QString())};
    if (t.states)
        for (const QString &column : stateColumns())
            out << stateClass(column, row);
    return out;
}
// A row's amount in `column`, empty as 0; 0 for a table without one.
QString amount(const QString &row, const char *column)
{
    return *column ? QStringLiteral("COALESCE(%1%2, 0)").arg(row, QLatin1String(column))
                   : QStringLiteral("0");
}
// The columns whose change moves a row to other totals.
QString watchedColumns(const Totalled &t)
{
    if (*t.bucketOf)
        return QLatin1String(t.bucketOf);
    QStringList out = groupColumns(t);
    for (const char *column : {t.debit, t.credit})
        if (*column)
            out << QLatin1String(column);
    return out.join(QStringLiteral(", "));
}
// "c1 IS v1 AND c2 IS v2 ...": the totals' row of those values, NULL as a value of its own.
QString sameGroup(const QStringList &columns, const QStringList &values)
{
    QStringList terms;
    for (int i = 0; i < columns.size(); ++i)
        terms << QStringLiteral("%1 IS %2").arg(columns[i], values[i]);
    return terms.join(QStringLiteral(" AND "));
}

// The server's function that adds a row's amounts on its day and user (a negative sign takes
// them away). The day and the user are each matched with "=" or "IS NULL", which the index
// serves: "IS NOT DISTINCT FROM" would read every day total at every row written without a
// user (a collection's account line). An appointment's classes follow as `s1` and `s2`.
QString addFunction(const Totalled &t)
{
    const QString totals = totalsTable(QLatin1String(t.table));
    const QString user = QLatin1String(t.user);
    const QString states = t.states
        ? QStringLiteral(" AND iptalkodu IS NOT DISTINCT FROM s1 AND gorusmekodu IS NOT "
                         "DISTINCT FROM s2")
        : QString();
    const QString add = QStringLiteral("UPDATE %1 SET borc = borc + b, alacak = alacak + a, "
                                       "satir = satir + n WHERE %2 %3 AND %4 %5%6;")
                            .arg(totals, QLatin1String(t.day), QStringLiteral("%1"), user,
                                 QStringLiteral("%2"), states);
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1_ekle(d TIMESTAMP, u TEXT, b DOUBLE PRECISION, a "
               "DOUBLE PRECISION, n INTEGER%7) RETURNS void AS $$ BEGIN IF d IS NOT NULL AND u "
               "IS NOT NULL THEN %2 ELSIF d IS NOT NULL THEN %3 ELSIF u IS NOT NULL THEN %4 ELSE "
               "%5 END IF; IF NOT FOUND THEN INSERT INTO %1 (%6, borc, alacak, satir) VALUES "
               "(d, u%8, b, a, n); END IF; END $$ LANGUAGE plpgsql")
        .arg(totals, add.arg(QStringLiteral("= d"), QStringLiteral("= u")),
             add.arg(QStringLiteral("= d"), QStringLiteral("IS NULL")),
             add.arg(QStringLiteral("IS NULL"), QStringLiteral("= u")),
             add.arg(QStringLiteral("IS NULL"), QStringLiteral("IS NULL")),
             groupColumns(t).join(QStringLiteral(", ")),
             t.states ? QStringLiteral(", s1 INTEGER, s2 INTEGER") : QString(),
             t.states ? QStringLiteral(", s1, s2") : QString());
}

} // namespace

namespace {

QStringList totalsStatements(const QString &book, Engine engine)
{
    const Totalled &t = totalledAs(book);
    const QString totals = totalsTable(book);
    const QStringList group = groupColumns(t);
    const QString groupList = group.join(QStringLiteral(", "));
    const bool server = engine == Engine::Postgres;
    QStringList columnDefinitions{
        QLatin1String(t.day) + (server ? QStringLiteral(" TIMESTAMP") : QStringLiteral(" DATETIME")),
        QLatin1String(t.user) + QStringLiteral(" TEXT")};
    if (t.states)
        for (const QString &column : stateColumns())
            columnDefinitions << column + QStringLiteral(" INTEGER");
    const QString real = server ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("DOUBLE");
    const QStringList table{
        QStringLiteral("CREATE TABLE %1 (%2, borc %3 NOT NULL, alacak %3 NOT NULL, satir INTEGER "
                       "NOT NULL)")
            .arg(totals, columnDefinitions.join(QStringLiteral(", ")), real),
        QStringLiteral("CREATE INDEX %1_gun ON %1 (%2, %3)")
            .arg(totals, QLatin1String(t.day), QLatin1String(t.user))};
    const QStringList bare = groupValues(t, QString(), engine);
    QStringList places; // grouped by the places of the values (a NULL is no expression to group by)
    for (int i = 1; i <= bare.size(); ++i)
        places << QString::number(i);
    const QString fill
        = QStringLiteral("INSERT INTO %1 (%2, borc, alacak, satir) SELECT %3, SUM(%4), SUM(%5), "
                         "count(*) FROM %6 GROUP BY %7")
              .arg(totals, groupList, bare.join(QStringLiteral(", ")), amount(QString(), t.debit),
                   amount(QString(), t.credit), book, places.join(QStringLiteral(", ")));
    if (server) {
        // A row's part: its group's values, its amounts (negative when taken away), its count.
        const auto part = [&](const QString &row, const QString &sign) {
            QStringList values = groupValues(t, row, engine);
            const QStringList states = values.mid(2);
            values = values.mid(0, 2);
            values << sign + amount(row, t.debit) << sign + amount(row, t.credit)
                   << sign + QStringLiteral("1");
            return QStringLiteral("PERFORM %1_ekle(%2);")
                .arg(totals, (values + states).join(QStringLiteral(", ")));
        };
        // A change takes away from the old row's totals and adds to the new one's, the two in
        // the order of their values whatever way the change goes: two desks moving rows
        // between the same totals each way then wait for each other in turn, never both.
        const auto place = [&](const QString &row) {
            QStringList values;
            for (const QString &value : groupValues(t, row, engine))
                values << QStringLiteral("COALESCE((%1)::text, '')").arg(value);
            return values.join(QStringLiteral(" || '|' || "));
        };
        const QString takeAway = part(QStringLiteral("OLD."), QStringLiteral("-"));
        const QString add = part(QStringLiteral("NEW."), QString());
        return table
            + QStringList{
                addFunction(t),
                QStringLiteral("CREATE FUNCTION %1_tetik() RETURNS trigger AS $$ BEGIN IF TG_OP = "
                               "'INSERT' THEN %3 ELSIF TG_OP = 'DELETE' THEN %2 ELSIF %4 < %5 "
                               "THEN %3 %2 ELSE %2 %3 END IF; RETURN NULL; END $$ LANGUAGE "
                               "plpgsql")
                    .arg(totals, takeAway, add, place(QStringLiteral("NEW.")),
                         place(QStringLiteral("OLD."))),
                QStringLiteral("CREATE TRIGGER %1_degisim AFTER INSERT OR UPDATE OF %2 OR DELETE "
                               "ON %3 FOR EACH ROW EXECUTE FUNCTION %1_tetik()")
                    .arg(totals, watchedColumns(t), book),
                fill};
    }
    // Adds (sign 1) or takes away (sign -1) one row's amounts on its day and user.
    const auto apply = [&](const QString &row, const QString &sign) {
        const QStringList values = groupValues(t, row + QLatin1Char('.'), engine);
        const QString same = sameGroup(group, values);
        return QStringLiteral(
                   "INSERT INTO %1 (%2, borc, alacak, satir) SELECT %3, 0, 0, 0 WHERE NOT EXISTS "
                   "(SELECT 1 FROM %1 WHERE %4); UPDATE %1 SET borc = borc + %5 * %6, alacak = "
                   "alacak + %5 * %7, satir = satir + %5 WHERE %4;")
            .arg(totals, groupList, values.join(QStringLiteral(", ")), same, sign,
                 amount(row + QLatin1Char('.'), t.debit),
                 amount(row + QLatin1Char('.'), t.credit));
    };
    return table
        + QStringList{
            QStringLiteral("CREATE TRIGGER %1_ekle AFTER INSERT ON %2 BEGIN %3 END")
                .arg(totals, book, apply(QStringLiteral("NEW"), QStringLiteral("1"))),
            QStringLiteral("CREATE TRIGGER %1_degistir AFTER UPDATE OF %2 ON %3 BEGIN %4 %5 END")
                .arg(totals, watchedColumns(t), book,
                     apply(QStringLiteral("OLD"), QStringLiteral("-1")),
                     apply(QStringLiteral("NEW"), QStringLiteral("1"))),
            QStringLiteral("CREATE TRIGGER %1_sil AFTER DELETE ON %2 BEGIN %3 END")
                .arg(totals, book, apply(QStringLiteral("OLD"), QStringLiteral("-1"))),
            fill};
}

// The persons (the table counted in parts) are counted by the beginnings of their names too.
bool countsNameStarts(const QString &book)
{
    return *totalledAs(book).bucketOf;
}

} // namespace

QStringList createStatements(const QString &book, Engine engine)
{
    QStringList out = totalsStatements(book, engine);
    if (countsNameStarts(book))
        out += namestarts::createStatements(engine);
    return out;
}

QStringList dropStatements(const QString &book, Engine engine)
{
    QStringList out = countsNameStarts(book) ? namestarts::dropStatements(engine) : QStringList();
    const QString totals = totalsTable(book);
    if (engine == Engine::Postgres) {
        // The trigger goes with the function it calls; the adding function of each version.
        out << QStringLiteral("DROP FUNCTION IF EXISTS %1_tetik() CASCADE").arg(totals);
        for (const char *parameters :
             {"", ", INTEGER", ", INTEGER, INTEGER, INTEGER"})
            out << QStringLiteral("DROP FUNCTION IF EXISTS %1_ekle(TIMESTAMP, TEXT, DOUBLE "
                                  "PRECISION, DOUBLE PRECISION%2)")
                       .arg(totals, QLatin1String(parameters));
        return out << QStringLiteral("DROP TABLE IF EXISTS %1").arg(totals);
    }
    return out << QStringLiteral("DROP TRIGGER IF EXISTS %1_ekle").arg(totals)
               << QStringLiteral("DROP TRIGGER IF EXISTS %1_degistir").arg(totals)
               << QStringLiteral("DROP TRIGGER IF EXISTS %1_sil").arg(totals)
               << QStringLiteral("DROP TABLE IF EXISTS %1").arg(totals);
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
            // older function, or a trigger that takes a change's two totals in the order of the
            // change), are made anew once.
            const bool current = engine == Engine::Postgres
                ? q.exec(QStringLiteral("SELECT satir FROM %1 WHERE 1 = 0 UNION ALL SELECT 1 FROM "
                                        "pg_proc WHERE proname = '%1_tetik' AND prosrc LIKE "
                                        "'%ELSIF%'")
                             .arg(totalsTable(book)))
                    && q.next()
                : q.exec(QStringLiteral("SELECT satir FROM %1 WHERE 1 = 0").arg(totalsTable(book)));
            // Persons not yet counted by the beginnings of their names are counted anew.
            if (current
                && (!countsNameStarts(book) || schema::hasTable(db, namestarts::table())))
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

qint64 rowCount(QSqlDatabase &db, const QString &table, const QString &condition,
                const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT COALESCE(SUM(satir), 0) FROM %1").arg(totalsTable(table))
              + (condition.isEmpty() ? QString() : QStringLiteral(" WHERE (%1)").arg(condition)));
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool answers(const QString &table, const QString &condition)
{
    // Words of SQL and marks are allowed; any other name, or a text written into the
    // condition, is not a column the totals keep. An appointment's classes answer the
    // conditions on them that they keep exactly, each as a whole.
    if (!totalledTables().contains(table) || condition.contains(QLatin1Char('\''))
        || condition.contains(QLatin1Char('"')))
        return false;
    const Totalled &t = totalledAs(table);
    if (*t.bucketOf)
        return false;
    QString rest = condition;
    if (t.states)
        for (const QString &kept : stateConditions())
            rest.replace(QRegularExpression(QStringLiteral("\\b%1\\b")
                                                .arg(QRegularExpression::escape(kept)),
                                            QRegularExpression::CaseInsensitiveOption),
                         QStringLiteral(" "));
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    static const QStringList allowed = {
        QStringLiteral("and"), QStringLiteral("or"), QStringLiteral("not"), QStringLiteral("is"),
        QStringLiteral("null"), QStringLiteral("between"), QStringLiteral("in")};
    for (auto it = word.globalMatch(rest); it.hasNext();) {
        const QString name = it.next().captured();
        if (!allowed.contains(name.toLower())
            && name.compare(QLatin1String(t.day), Qt::CaseInsensitive) != 0
            && name.compare(QLatin1String(t.user), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

QString spanSelect(const QString &table, const QString &key, const QString &condition,
                   qint64 longerThan, int *repeats)
{
    // A day's first (last) key is the first entry of that day on the date index, which holds
    // the key after the day; every day of the period is asked once.
    const QString day = QLatin1String(totalledAs(table).day);
    const QString days = QStringLiteral("(SELECT DISTINCT %3 FROM %1 WHERE (%2) AND satir > 0) d")
                             .arg(totalsTable(table), condition, day);
    const auto edge = [&](const char *extreme, const char *direction) {
        return QStringLiteral("(SELECT %1((SELECT %2 FROM %3 WHERE %3.%7 = d.%7 AND (%4) "
                              "ORDER BY %2%5 LIMIT 1)) FROM %6)")
            .arg(QLatin1String(extreme), key, table, condition, QLatin1String(direction), days,
                 day);
    };
    // The number is read once; the keys are asked only of a list longer than `longerThan`.
    *repeats = 5;
    const auto whenLong = [&](const QString &keys) {
        return QStringLiteral("CASE WHEN s.n > %1 THEN %2 END").arg(longerThan).arg(keys);
    };
    return QStringLiteral("SELECT s.n, %1, %2 FROM (SELECT COALESCE(SUM(satir), 0) AS n FROM %3 "
                          "WHERE (%4)) s")
        .arg(whenLong(edge("MIN", "")), whenLong(edge("MAX", " DESC")), totalsTable(table),
             condition);
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
