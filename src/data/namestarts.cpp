#include "data/namestarts.h"

#include "data/textfunctions.h"

namespace lumkar::namestarts {

namespace {

const QString kTable = QStringLiteral("siciltablo_baslar");

// What the persons of `persons` (rows of the keys `ad` and `soy` and a sign `s`, 1 to add a
// person, -1 to take one away) add to each beginning, in the order of the beginnings: two desks
// that change the same beginnings then take them in the same order, and never wait for each
// other both. A beginning nothing changes is left out.
QString changes(const QString &persons)
{
    QStringList lengths;
    for (int l = 1; l <= kLongest; ++l)
        lengths << QStringLiteral("SELECT %1 AS l").arg(l);
    const QString from = QStringLiteral(" FROM %1 r, (%2) n WHERE ")
                             .arg(persons, lengths.join(QStringLiteral(" UNION ALL ")));
    return QStringLiteral(
               "SELECT b, SUM(x), SUM(y), SUM(z) FROM (SELECT substr(r.ad, 1, n.l) AS b, r.s AS "
               "x, 0 AS y, 0 AS z%1length(r.ad) >= n.l UNION ALL SELECT substr(r.soy, 1, n.l), "
               "0, r.s, 0%1length(r.soy) >= n.l UNION ALL SELECT substr(r.ad, 1, n.l), 0, 0, "
               "r.s%1length(r.ad) >= n.l AND length(r.soy) >= n.l AND substr(r.ad, 1, n.l) = "
               "substr(r.soy, 1, n.l)) c WHERE true GROUP BY b HAVING SUM(x) <> 0 OR SUM(y) <> "
               "0 OR SUM(z) <> 0 ORDER BY b")
        .arg(from);
}

// One person of the trigger's row (`row` "NEW" or "OLD"), counted with `sign`.
QString person(const QString &row, int sign)
{
    return QStringLiteral("SELECT %1 AS ad, %2 AS soy, %3 AS s")
        .arg(textsql::sortKey(row + QStringLiteral(".adi")),
             textsql::sortKey(row + QStringLiteral(".soyadi")))
        .arg(sign);
}

QString add(const QStringList &persons)
{
    return QStringLiteral("INSERT INTO %1 (bas, adi, soyadi, ikisi) %2 ON CONFLICT (bas) DO "
                          "UPDATE SET adi = %1.adi + excluded.adi, soyadi = %1.soyadi + "
                          "excluded.soyadi, ikisi = %1.ikisi + excluded.ikisi;")
        .arg(kTable, changes(QLatin1Char('(') + persons.join(QStringLiteral(" UNION ALL "))
                             + QLatin1Char(')')));
}

} // namespace

QString table()
{
    return kTable;
}

QStringList createStatements(Engine engine)
{
    const bool server = engine == Engine::Postgres;
    const QString create
        = QStringLiteral("CREATE TABLE %1 (bas %2 PRIMARY KEY, adi INTEGER NOT NULL, soyadi "
                         "INTEGER NOT NULL, ikisi INTEGER NOT NULL)%3")
              .arg(kTable, server ? QStringLiteral("BYTEA") : QStringLiteral("BLOB"),
                   server ? QString() : QStringLiteral(" WITHOUT ROWID"));
    const QString fill = QStringLiteral("INSERT INTO %1 (bas, adi, soyadi, ikisi) ").arg(kTable)
        + changes(QStringLiteral("(SELECT %1 AS ad, %2 AS soy, 1 AS s FROM siciltablo)")
                      .arg(textsql::sortKey(QStringLiteral("adi")),
                           textsql::sortKey(QStringLiteral("soyadi"))));
    const QString added = add({person(QStringLiteral("NEW"), 1)});
    const QString deleted = add({person(QStringLiteral("OLD"), -1)});
    const QString changed = add({person(QStringLiteral("OLD"), -1), person(QStringLiteral("NEW"), 1)});
    if (server)
        return {create,
                QStringLiteral("CREATE FUNCTION %1_tetik() RETURNS trigger AS $$ BEGIN IF TG_OP "
                               "= 'INSERT' THEN %2 ELSIF TG_OP = 'DELETE' THEN %3 ELSE %4 END "
                               "IF; RETURN NULL; END $$ LANGUAGE plpgsql")
                    .arg(kTable, added, deleted, changed),
                QStringLiteral("CREATE TRIGGER %1_degisim AFTER INSERT OR UPDATE OF adi, soyadi "
                               "OR DELETE ON siciltablo FOR EACH ROW EXECUTE FUNCTION %1_tetik()")
                    .arg(kTable),
                fill};
    return {create,
            QStringLiteral("CREATE TRIGGER %1_ekle AFTER INSERT ON siciltablo BEGIN %2 END")
                .arg(kTable, added),
            QStringLiteral("CREATE TRIGGER %1_sil AFTER DELETE ON siciltablo BEGIN %2 END")
                .arg(kTable, deleted),
            QStringLiteral("CREATE TRIGGER %1_degistir AFTER UPDATE OF adi, soyadi ON siciltablo "
                           "BEGIN %2 END")
                .arg(kTable, changed),
            fill};
}

QStringList dropStatements(Engine engine)
{
    QStringList out;
    if (engine == Engine::Postgres)
        out << QStringLiteral("DROP FUNCTION IF EXISTS %1_tetik() CASCADE").arg(kTable);
    else
        for (const char *trigger : {"ekle", "sil", "degistir"})
            out << QStringLiteral("DROP TRIGGER IF EXISTS %1_%2").arg(kTable, QLatin1String(trigger));
    return out << QStringLiteral("DROP TABLE IF EXISTS %1").arg(kTable);
}

QString personsBeginningWith(const QByteArray &start, QVariantList &values)
{
    if (start.isEmpty() || start.size() > kLongest)
        return QString();
    values << start;
    return QStringLiteral("COALESCE((SELECT adi - ikisi + soyadi FROM %1 WHERE bas = ?), 0)")
        .arg(kTable);
}

} // namespace lumkar::namestarts
