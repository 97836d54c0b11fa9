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

const QString kUpsert = QStringLiteral(
    " ON CONFLICT (bas) DO UPDATE SET adi = %1.adi + excluded.adi, soyadi = %1.soyadi + "
    "excluded.soyadi, ikisi = %1.ikisi + excluded.ikisi;");

// The server's change of the old and the new row, their keys made once: one statement whose
// beginnings come in their order.
QString addOldAndNew()
{
    return QStringLiteral(
               "DECLARE oa bytea; os bytea; na bytea; ns bytea; BEGIN IF TG_OP <> 'INSERT' THEN "
               "oa := %1; os := %2; END IF; IF TG_OP <> 'DELETE' THEN na := %3; ns := %4; END "
               "IF; INSERT INTO %5 (bas, adi, soyadi, ikisi) ")
               .arg(textsql::sortKey(QStringLiteral("OLD.adi")),
                    textsql::sortKey(QStringLiteral("OLD.soyadi")),
                    textsql::sortKey(QStringLiteral("NEW.adi")),
                    textsql::sortKey(QStringLiteral("NEW.soyadi")), kTable)
        + changes(QStringLiteral("(SELECT oa AS ad, os AS soy, -1 AS s WHERE oa IS NOT NULL UNION "
                                 "ALL SELECT na, ns, 1 WHERE na IS NOT NULL)"))
        + kUpsert.arg(kTable) + QStringLiteral(" RETURN NULL; END");
}

// The file's change of one person (`row` "NEW" or "OLD", counted with `sign`): a statement per
// beginning, which in a trigger costs a small part of what subqueries grouped cost.
QString addEach(const QString &row, int sign)
{
    const QString ad = textsql::sortKey(row + QStringLiteral(".adi"));
    const QString soy = textsql::sortKey(row + QStringLiteral(".soyadi"));
    QString out;
    for (int l = 1; l <= kLongest; ++l) {
        const auto upsert = [&](const QString &key, const QString &counts,
                                const QString &when) -> QString {
            return QStringLiteral("INSERT INTO %1 (bas, adi, soyadi, ikisi) SELECT substr(%2, 1, "
                                  "%3), %4 WHERE length(%2) >= %3%5")
                       .arg(kTable, key)
                       .arg(l)
                       .arg(counts, when)
                + kUpsert.arg(kTable) + QLatin1Char(' ');
        };
        const QString n = QString::number(sign);
        out += upsert(ad, QStringLiteral("%1, 0, 0").arg(n), QString())
            + upsert(soy, QStringLiteral("0, %1, 0").arg(n), QString())
            + upsert(ad, QStringLiteral("0, 0, %1").arg(n),
                     QStringLiteral(" AND substr(%1, 1, %2) = substr(%3, 1, %2)")
                         .arg(ad)
                         .arg(l)
                         .arg(soy));
    }
    return out;
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
    if (server)
        return {create,
                QStringLiteral("CREATE FUNCTION %1_tetik() RETURNS trigger AS $$ %2 $$ LANGUAGE "
                               "plpgsql")
                    .arg(kTable, addOldAndNew()),
                QStringLiteral("CREATE TRIGGER %1_degisim AFTER INSERT OR UPDATE OF adi, soyadi "
                               "OR DELETE ON siciltablo FOR EACH ROW EXECUTE FUNCTION %1_tetik()")
                    .arg(kTable),
                fill};
    const QString added = addEach(QStringLiteral("NEW"), 1);
    const QString deleted = addEach(QStringLiteral("OLD"), -1);
    return {create,
            QStringLiteral("CREATE TRIGGER %1_ekle AFTER INSERT ON siciltablo BEGIN %2 END")
                .arg(kTable, added),
            QStringLiteral("CREATE TRIGGER %1_sil AFTER DELETE ON siciltablo BEGIN %2 END")
                .arg(kTable, deleted),
            QStringLiteral("CREATE TRIGGER %1_degistir AFTER UPDATE OF adi, soyadi ON siciltablo "
                           "BEGIN %2 %3 END")
                .arg(kTable, deleted, added),
            fill};
}

QStringList dropStatements(Engine engine)
{
    QStringList out;
    if (engine == Engine::Postgres)
        out << QStringLiteral("DROP FUNCTION IF EXISTS %1_tetik() CASCADE").arg(kTable);
    else
        for (const char *trigger : {"ekle", "sil", "degistir"})
            out << QStringLiteral("DROP TRIGGER IF EXISTS %1_%2")
                       .arg(kTable, QLatin1String(trigger));
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
