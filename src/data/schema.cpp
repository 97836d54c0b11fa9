#include "data/schema.h"

#include "data/personcodes.h"
#include "data/textfunctions.h"

#include <QSqlQuery>

namespace lumkar {

const ColumnDef *TableDef::column(const QString &columnName) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

namespace schema {

namespace {

using F = FieldType;

QVector<TableDef> build()
{
    QVector<TableDef> t;
    t.append({QStringLiteral("randevu"),
              {{"rid", F::AutoNumber},        {"sicil_kodu", F::Text, 16},
               {"adi", F::Text, 30},          {"soyadi", F::Text, 40},
               {"RKime", F::Text, 16},        {"Rkimeadsoyad", F::Text, 32},
               {"randevutarihi", F::DateTime}, {"kayittarihi", F::DateTime},
               {"konu", F::Memo},             {"not", F::Text, 100},
               {"randevuyualan", F::Text, 32}, {"gorusmekodu", F::Long},
               {"iptalkodu", F::Long},        {"iptalnedeni", F::Text, 100},
               {"randevusaati", F::DateTime}, {"telefonu", F::Text, 20},
               {"ceptel", F::Text, 20},       {"telefonu2", F::Text, 20},
               {"islem_tutari", F::Double},   {"gorustudiyenkodu", F::Text, 16},
               {"iptaldiyenkodu", F::Text, 16}, {"adresi", F::Memo},
               {"paketkodu", F::Short},       {"paketadi", F::Text, 70},
               {"pakettutari", F::Double},    {"paketprim", F::Double}},
              QStringLiteral("rid")});
    t.append({QStringLiteral("gorusmeler"),
              {{"mid", F::AutoNumber},       {"sicilkodu", F::Text, 16},
               {"adi", F::Text, 30},         {"soyadi", F::Text, 40},
               {"tarih", F::DateTime},       {"saat", F::DateTime},
               {"netice", F::Memo},          {"not", F::Memo},
               {"randevuno", F::Long},       {"randevuyualan", F::Text, 32},
               {"islem_borcu", F::Double},   {"tahsiledilen", F::Double},
               {"odemesekli", F::Text, 15},  {"RKime", F::Text, 16},
               {"gorusenadsoyad", F::Text, 32}, {"adresi", F::Memo},
               {"paketkodu", F::Long},       {"paketadi", F::Text, 70},
               {"pakettutari", F::Double},   {"paketprim", F::Double}},
              QStringLiteral("mid")});
    t.append({QStringLiteral("cari"),
              {{"mid", F::AutoNumber},        {"sicilkodu", F::Text, 16},
               {"adi", F::Text, 30},          {"soyadi", F::Text, 40},
               {"tarih", F::DateTime},        {"islem_vadesi", F::DateTime},
               {"randevuno", F::Long},        {"randevuyualan", F::Text, 32},
               {"r_alan_kodu", F::Long},      {"borc", F::Double},
               {"alacak", F::Double},         {"odemesekli", F::Text, 15},
               {"tahsilatno", F::Long},       {"tahsilat_rand_no", F::Long},
               {"aciklama", F::Memo},         {"gorusen", F::Text, 32},
               {"gorusen_kodu", F::Long},     {"gorusme_no", F::Long},
               {"paketkodu", F::Short},       {"paketadi", F::Text, 70},
               {"pakettutari", F::Double},    {"paketprim", F::Double}},
              QStringLiteral("mid")});
    t.append({QStringLiteral("kasa"),
              {{"kid", F::AutoNumber},     {"tarih", F::DateTime},
               {"borc", F::Double},        {"alacak", F::Double},
               {"tahsilatno", F::Long},    {"aciklama", F::Text, 100},
               {"gorusen", F::Text, 32},   {"gorusen_kodu", F::Text, 16},
               {"gorusme_no", F::Long},    {"paketkodu", F::Short},
               {"paketadi", F::Text, 70},  {"pakettutari", F::Double},
               {"paketprim", F::Double}},
              QStringLiteral("kid")});
    t.append({QStringLiteral("kredikart"),
              {{"kid", F::AutoNumber},     {"tarih", F::DateTime},
               {"borc", F::Double},        {"alacak", F::Double},
               {"tahsilatno", F::Long},    {"gorusen", F::Text, 32},
               {"gorusme_no", F::Long},    {"paketkodu", F::Short},
               {"paketadi", F::Text, 70},  {"pakettutari", F::Double},
               {"paketprim", F::Double},   {"aciklama", F::Text, 100},
               {"gorusen_kodu", F::Text, 16}},
              QStringLiteral("kid")});
    t.append({QStringLiteral("paketler"),
              {{"pid", F::AutoNumber},     {"paketkodu", F::Short},
               {"paketadi", F::Text, 70},  {"aciklama", F::Text, 70},
               {"tutar", F::Double},       {"primoran", F::Double}},
              QStringLiteral("pid")});
    t.append({QStringLiteral("siciltablo"),
              {{"hid", F::AutoNumber},        {"sicil_kodu", F::Text, 16},
               {"adi", F::Text, 30},          {"soyadi", F::Text, 40},
               {"tel1", F::Text, 20},         {"tel2", F::Text, 20},
               {"ceptel", F::Text, 20},       {"ceptel2", F::Text, 20},
               {"fax", F::Text, 20},          {"isadresi", F::Memo},
               {"email", F::Text, 50},        {"web", F::Text, 50},
               {"aciklama1", F::Memo},        {"aciklama2", F::Memo},
               {"aciklama3", F::Memo},        {"kimintavsiyesi", F::Text, 40}},
              QStringLiteral("hid")});
    t.append({QStringLiteral("sifre"),
              {{"sid", F::AutoNumber},        {"kullanici", F::Text, 16},
               {"sifre", F::Text, 16},        {"adi", F::Text, 16},
               {"soyadi", F::Text, 16},       {"firmaadi", F::Text, 50},
               {"firmaadres", F::Text, 70},   {"firmatel", F::Text, 20},
               {"firmafax", F::Text, 20},     {"ekle", F::Text, 1},
               {"degistir", F::Text, 1},      {"herksesigor", F::Text, 1},
               {"herkesidegistir", F::Text, 1}, {"baskasirandevuver", F::Text, 1}},
              QStringLiteral("sid")});
    t.append({QStringLiteral("master"), {{"mids", F::Text, 16}}, QString()});
    t.append({QStringLiteral("gunluknot"),
              {{"gid", F::AutoNumber}, {"tarih", F::DateTime}, {"not", F::Memo},
               {"kodu", F::Text, 16}},
              QStringLiteral("gid")});
    t.append({QStringLiteral("genelnot"),
              {{"gid", F::AutoNumber}, {"tarih", F::DateTime}, {"not", F::Memo},
               {"kodu", F::Text, 16}},
              QStringLiteral("gid")});
    // The appointment reminders sent by e-mail: one row per appointment, address and
    // appointment time, written before the message goes out (`gonderildi` empty) and marked
    // "E" once the mail server took it, so that no reminder goes out twice.
    t.append({QStringLiteral("hatirlatma"),
              {{"hid", F::AutoNumber},        {"randevuno", F::Long},
               {"adres", F::Text, 50},        {"randevutarihi", F::DateTime},
               {"randevusaati", F::DateTime}, {"gonderim", F::DateTime},
               {"gonderildi", F::Text, 1},    {"gonderen", F::Text, 16}},
              QStringLiteral("hid"), true});
    // The closed days of the cash and card books: one row per "Günü Kapat". `kullanici` is
    // empty when the day was closed for every user; the count is empty for the card book.
    t.append({QStringLiteral("gunsonu"),
              {{"gsid", F::AutoNumber},          {"defter", F::Text, 10},
               {"tarih", F::DateTime},           {"tumkullanicilar", F::Text, 1},
               {"kullanici", F::Text, 16},       {"kullaniciadsoyad", F::Text, 32},
               {"nakliyekun", F::Double},        {"tahsilat", F::Double},
               {"odeme", F::Double},             {"mevcut", F::Double},
               {"sayilan", F::Double},           {"fark", F::Double},
               {"sayim", F::Memo},               {"kapatan", F::Text, 16},
               {"kapatanadsoyad", F::Text, 32},  {"kapanistarihi", F::DateTime}},
              QStringLiteral("gsid"), true});
    return t;
}

QString sqlType(const ColumnDef &c, Engine engine)
{
    const bool server = engine == Engine::Postgres;
    switch (c.type) {
    case F::AutoNumber:
        return server ? QStringLiteral("SERIAL PRIMARY KEY")
                      : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case F::Text: return QStringLiteral("VARCHAR(%1)").arg(c.size);
    case F::Long: return QStringLiteral("INTEGER");
    case F::Short: return QStringLiteral("SMALLINT");
    case F::Double: return server ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("DOUBLE");
    case F::DateTime: return server ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME");
    case F::Memo: return QStringLiteral("TEXT");
    }
    return QString();
}

} // namespace

const QVector<TableDef> &tables()
{
    static const QVector<TableDef> all = build();
    return all;
}

const TableDef *table(const QString &name)
{
    for (const TableDef &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

FieldType typeOfColumn(const QString &tableName, const QString &column)
{
    if (const TableDef *t = table(tableName))
        if (const ColumnDef *c = t->column(column))
            return c->type;
    for (const TableDef &t : tables())
        if (const ColumnDef *c = t.column(column))
            return c->type;
    // What the lists compute for every row.
    if (column.compare(QLatin1String("bakiye"), Qt::CaseInsensitive) == 0
        || column.compare(QLatin1String("prim"), Qt::CaseInsensitive) == 0)
        return F::Double;
    if (column.compare(QLatin1String("gorusmesayisi"), Qt::CaseInsensitive) == 0)
        return F::Long;
    return F::Memo;
}

Engine engineOf(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QPSQL") ? Engine::Postgres : Engine::Sqlite;
}

QString quoted(const QString &column)
{
    // Lower case: the file's columns match whatever their case, the server's are made lower
    // case (as unquoted names are read there).
    return QLatin1Char('"') + column.toLower() + QLatin1Char('"');
}

namespace {

// The name search reads code, name and surname from this index alone.
const QString kPersonNameIndex = QStringLiteral(
    "CREATE INDEX IF NOT EXISTS siciltablo_ad_soyad ON siciltablo (adi, soyadi, sicil_kodu)");
// A person's appointments and visits, for what the person has of the packages.
const QString kAppointmentPersonIndex = QStringLiteral(
    "CREATE INDEX IF NOT EXISTS randevu_sicil ON randevu (sicil_kodu)");
const QString kVisitPersonIndex = QStringLiteral(
    "CREATE INDEX IF NOT EXISTS gorusmeler_sicilkodu ON gorusmeler (sicilkodu)");
// The person accounts by first name or surname, and the appointment list counted and paged on
// one index that holds every column its filter asks.
const QStringList kListIndexes = {
    QStringLiteral("CREATE INDEX IF NOT EXISTS cari_adi ON cari (adi)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS cari_soyadi ON cari (soyadi)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS randevu_liste ON randevu (randevutarihi, "
                   "iptalkodu, gorusmekodu, RKime)")};
// The columns a long list is ordered by a title click, read on an index in the Turkish order
// (textfunctions.h) with the key after the column, so that every row has its own place.
struct SortedColumns {
    const char *table;
    const char *key;
    QStringList columns;
};
const QVector<SortedColumns> &sortedColumns()
{
    static const QVector<SortedColumns> all = {
        {"siciltablo", "hid",
         {"sicil_kodu", "adi", "soyadi", "tel1", "ceptel", "fax", "email", "tel2", "ceptel2"}}};
    return all;
}
QString sortIndexName(const char *table, const QString &column)
{
    return QStringLiteral("%1_sira_%2").arg(QLatin1String(table), column);
}
QStringList sortIndexes()
{
    QStringList out;
    for (const SortedColumns &s : sortedColumns())
        for (const QString &column : s.columns)
            out << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3, %4)")
                       .arg(sortIndexName(s.table, column), QLatin1String(s.table),
                            textsql::sortKey(column), QLatin1String(s.key));
    return out;
}
// The indexes an older file or server database may lack, by name.
QStringList addedIndexes()
{
    QStringList out = {QStringLiteral("siciltablo_ad_soyad"), QStringLiteral("randevu_sicil"),
                       QStringLiteral("gorusmeler_sicilkodu"), QStringLiteral("cari_adi"),
                       QStringLiteral("cari_soyadi"), QStringLiteral("randevu_liste")};
    for (const SortedColumns &s : sortedColumns())
        for (const QString &column : s.columns)
            out << sortIndexName(s.table, column);
    return out + personCodeIndexNames();
}

// Runs the statements in one transaction: all of them or none.
QSqlError execAll(QSqlDatabase &db, const QStringList &statements)
{
    if (!db.transaction())
        return db.lastError();
    QSqlQuery q(db);
    for (const QString &sql : statements)
        if (!q.exec(sql)) {
            const QSqlError e = q.lastError();
            db.rollback();
            return e;
        }
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        return e;
    }
    return QSqlError();
}

QString createTable(const TableDef &t, Engine engine)
{
    QStringList cols;
    for (const ColumnDef &c : t.columns) {
        // The file keeps the names as the schema spells them; the server in lower case.
        const QString name = engine == Engine::Postgres ? c.name.toLower() : c.name;
        cols << QLatin1Char('"') + name + QStringLiteral("\" ") + sqlType(c, engine);
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
}

// The indexes of a table added later, made with it.
QStringList laterIndexes(const QString &table)
{
    if (table == QLatin1String("hatirlatma"))
        // One reminder per appointment, address and time, whichever desk sends it.
        return {QStringLiteral("CREATE UNIQUE INDEX hatirlatma_tek ON hatirlatma "
                               "(randevuno, adres, randevutarihi, randevusaati)")};
    if (table == QLatin1String("gunsonu"))
        return {QStringLiteral("CREATE INDEX gunsonu_gun ON gunsonu (defter, tarih)")};
    return {};
}

} // namespace

QStringList createTableStatements(Engine engine)
{
    QStringList out;
    for (const TableDef &t : tables())
        out << createTable(t, engine);
    return out;
}

QStringList createIndexStatements()
{
    QStringList out;
    for (const TableDef &t : tables())
        if (t.addedLater)
            out << laterIndexes(t.name);
    // The indexes the program orders by; the AutoNumber keys are the tables' own row order.
    out << QStringLiteral("CREATE INDEX tarih ON gunluknot (tarih)")
        << QStringLiteral("CREATE INDEX randevutarihi ON master (mids)")
        // Indexes that keep the lists fast on a large database.
        << QStringLiteral("CREATE INDEX randevu_gun ON randevu (randevutarihi, randevusaati)")
        << QStringLiteral("CREATE INDEX genelnot_tarih ON genelnot (tarih)")
        << QStringLiteral("CREATE INDEX siciltablo_kodu ON siciltablo (sicil_kodu)")
        << kPersonNameIndex << kAppointmentPersonIndex << kVisitPersonIndex
        << kListIndexes
        << QStringLiteral("CREATE INDEX paketler_kodu ON paketler (paketkodu)")
        << QStringLiteral("CREATE INDEX gorusmeler_tarih ON gorusmeler (tarih)")
        << QStringLiteral("CREATE INDEX gorusmeler_randevuno ON gorusmeler (randevuno)")
        << QStringLiteral("CREATE INDEX cari_sicilkodu ON cari (sicilkodu)")
        << QStringLiteral("CREATE INDEX cari_tarih ON cari (tarih)")
        << QStringLiteral("CREATE INDEX cari_gorusme ON cari (gorusme_no)")
        << QStringLiteral("CREATE INDEX kasa_tarih ON kasa (tarih)")
        << QStringLiteral("CREATE INDEX kredikart_tarih ON kredikart (tarih)");
    return out;
}

namespace {

// A period's keys are read from its date index alone. The file's indexes hold each row's key
// after the day already; on the server the date index of a table with day totals orders each
// day's rows by their key (a period's first and last key are read there, one entry a day), and
// the index carries the user's column that a list of one user asks.
struct CoveringIndex {
    const char *name;
    const char *table;
    const char *columns;
    const char *carried; // nothing when empty
};
constexpr CoveringIndex kCoveringIndexes[] = {
    {"gorusmeler_tarih", "gorusmeler", "tarih, mid", "gorusenadsoyad"},
    {"cari_tarih", "cari", "tarih, mid", ""},
    {"kasa_tarih", "kasa", "tarih, kid", "gorusen_kodu"},
    {"kredikart_tarih", "kredikart", "tarih, kid", "gorusen_kodu"}};

QString plainDateIndex(const CoveringIndex &c)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (tarih)")
        .arg(QLatin1String(c.name), QLatin1String(c.table));
}

// The index's columns as the server writes them in its definition.
QString coveringColumns(const CoveringIndex &c)
{
    return QStringLiteral("(%1)").arg(QLatin1String(c.columns))
        + (*c.carried ? QStringLiteral(" INCLUDE (%1)").arg(QLatin1String(c.carried)) : QString());
}

QString coveringDateIndex(const CoveringIndex &c)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 ").arg(QLatin1String(c.name), QLatin1String(c.table))
        + coveringColumns(c);
}

// The condition on `pg_indexes` that the index is there as this version makes it.
QString coveringIndexIsCurrent(const CoveringIndex &c)
{
    return QStringLiteral("(indexname = '%1' AND indexdef LIKE '%btree %2')")
        .arg(QLatin1String(c.name), coveringColumns(c));
}

QString coveringIndexesAreCurrent()
{
    QStringList each;
    for (const CoveringIndex &c : kCoveringIndexes)
        each << coveringIndexIsCurrent(c);
    return each.join(QStringLiteral(" OR "));
}

// An older server database's date index made again as this version makes it; once.
QStringList coveringIndexUpgrades()
{
    QStringList out;
    for (const CoveringIndex &c : kCoveringIndexes)
        out << QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_indexes WHERE "
                              "schemaname = current_schema() AND %1) THEN DROP INDEX IF "
                              "EXISTS %2; %3; END IF; END $$")
                   .arg(coveringIndexIsCurrent(c), QLatin1String(c.name), coveringDateIndex(c));
    return out;
}

} // namespace

QStringList createStatements(Engine engine)
{
    QStringList indexes = createIndexStatements();
    if (engine == Engine::Postgres)
        for (const CoveringIndex &c : kCoveringIndexes)
            indexes.replace(indexes.indexOf(plainDateIndex(c)), coveringDateIndex(c));
    return createTableStatements(engine)
        + (engine == Engine::Postgres ? textsql::serverFunctions() : QStringList())
        + indexes + sortIndexes() + personCodeIndexes(engine);
}

bool hasTable(QSqlDatabase &db, const QString &name, QSqlError *error)
{
    QSqlQuery q(db);
    q.prepare(engineOf(db) == Engine::Postgres
                  ? QStringLiteral("SELECT 1 FROM information_schema.tables WHERE "
                                   "table_schema = current_schema() AND table_name = ?")
                  : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                   "name = ?"));
    q.addBindValue(name);
    if (!q.exec()) {
        if (error)
            *error = q.lastError();
        return false;
    }
    if (error)
        *error = QSqlError();
    return q.next();
}

QStringList upgradeStatements(Engine engine)
{
    if (engine == Engine::Postgres)
        return textsql::serverFunctions() + kListIndexes + sortIndexes()
            + personCodeIndexes(engine) + coveringIndexUpgrades();
    return QStringList{kPersonNameIndex, kAppointmentPersonIndex, kVisitPersonIndex,
                       QStringLiteral("DROP INDEX IF EXISTS siciltablo_adi")}
        + kListIndexes + sortIndexes() + personCodeIndexes(engine);
}

QString personNamesText(const QString &row)
{
    return textsql::lowered(row + QStringLiteral("adi")) + QStringLiteral(" || ' ' || ")
        + textsql::lowered(row + QStringLiteral("soyadi"));
}

const QStringList &personPhoneFields()
{
    static const QStringList fields = {QStringLiteral("tel1"), QStringLiteral("tel2"),
                                       QStringLiteral("ceptel"), QStringLiteral("ceptel2"),
                                       QStringLiteral("fax")};
    return fields;
}

QString personPhonesText(const QString &row)
{
    QStringList fields;
    for (const QString &field : personPhoneFields())
        fields << QStringLiteral("COALESCE(%1%2, '')").arg(row, field);
    return fields.join(QStringLiteral(" || ' ' || "));
}

namespace {

// The server's trigram index keeps only letters and digits: the blanks and signs of a phone
// are put as letters, so that "(999) 999" is looked up by its parentheses and blanks too.
const QString kPhoneSigns = QStringLiteral(" ()-+./");
const QString kPhoneSignLetters = QStringLiteral("qwxyzjk");

} // namespace

QString personPhonesKey()
{
    return QStringLiteral("translate(%1, '%2', '%3')")
        .arg(personPhonesText(), kPhoneSigns, kPhoneSignLetters);
}

QString personPhonesKeyOf(QString phones)
{
    for (qsizetype i = 0; i < kPhoneSigns.size(); ++i)
        phones.replace(kPhoneSigns.at(i), kPhoneSignLetters.at(i));
    return phones;
}

namespace {

// The file's index of the texts a person search looks inside: every three characters of
// them (SQLite's trigram index), the person's key as the row's. It keeps no copy of the texts.
const QString kFileSearchIndex = QStringLiteral("siciltablo_ara");

QStringList fileSearchIndexStatements()
{
    const auto add = [](const QString &row) {
        return QStringLiteral("INSERT INTO %1 (rowid, ad, tel) VALUES (%2hid, %3, %4);")
            .arg(kFileSearchIndex, row, personNamesText(row), personPhonesText(row));
    };
    const auto drop = [](const QString &row) {
        return QStringLiteral("INSERT INTO %1 (%1, rowid, ad, tel) VALUES ('delete', %2hid, %3, "
                              "%4);")
            .arg(kFileSearchIndex, row, personNamesText(row), personPhonesText(row));
    };
    const QString oldRow = QStringLiteral("OLD."), newRow = QStringLiteral("NEW.");
    return {QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(ad, tel, content='', "
                           "tokenize='trigram case_sensitive 1')")
                .arg(kFileSearchIndex),
            QStringLiteral("CREATE TRIGGER %1_ekle AFTER INSERT ON siciltablo BEGIN %2 END")
                .arg(kFileSearchIndex, add(newRow)),
            QStringLiteral("CREATE TRIGGER %1_sil AFTER DELETE ON siciltablo BEGIN %2 END")
                .arg(kFileSearchIndex, drop(oldRow)),
            QStringLiteral("CREATE TRIGGER %1_degistir AFTER UPDATE OF hid, adi, soyadi, %2 ON "
                           "siciltablo BEGIN %3 %4 END")
                .arg(kFileSearchIndex, personPhoneFields().join(QStringLiteral(", ")),
                     drop(oldRow), add(newRow)),
            QStringLiteral("INSERT INTO %1 (rowid, ad, tel) SELECT hid, %2, %3 FROM siciltablo")
                .arg(kFileSearchIndex, personNamesText(), personPhonesText())};
}

bool hasFileSearchIndex(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = '%1'")
                      .arg(kFileSearchIndex))
        && q.next();
}

// The most persons a search reads from the index rather than along the list.
constexpr int kFewSearchHits = 1000;

// A text the index finds, as a phrase of its query language: at least three characters.
bool indexFinds(const QString &needle)
{
    return needle.toUcs4().size() >= 3;
}

QString phrase(const QString &needle)
{
    QString quoted = needle;
    return QLatin1Char('"') + quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

QStringList fileSearchIndexDropStatements()
{
    QStringList out;
    for (const char *trigger : {"ekle", "sil", "degistir"})
        out << QStringLiteral("DROP TRIGGER IF EXISTS %1_%2").arg(kFileSearchIndex, QLatin1String(trigger));
    return out << QStringLiteral("DROP TABLE IF EXISTS %1").arg(kFileSearchIndex);
}

QString personSearchCandidates(const QSqlDatabase &db, const QString &names,
                               const QString &phones, QVariantList &values)
{
    if (engineOf(db) == Engine::Postgres || (names.isEmpty() && phones.isEmpty())
        || (!names.isEmpty() && !indexFinds(names)) || (!phones.isEmpty() && !indexFinds(phones))
        || !hasFileSearchIndex(db))
        return QString();
    QStringList found;
    QVariantList phrases;
    for (const auto &[column, needle] : {std::pair{QStringLiteral("ad"), names},
                                         std::pair{QStringLiteral("tel"), phones}}) {
        if (needle.isEmpty())
            continue;
        found << QStringLiteral("SELECT rowid FROM %1 WHERE %2 MATCH ?").arg(kFileSearchIndex, column);
        phrases << phrase(needle);
    }
    const QString persons = found.join(QStringLiteral(" UNION "));
    // Many persons hold the text: a walk along the list's order meets the next of them soon,
    // sooner than the index's persons are put in that order.
    QStringList counts;
    for (const QString &each : std::as_const(found))
        counts << QStringLiteral("(SELECT count(*) FROM (%1 LIMIT %2))").arg(each).arg(kFewSearchHits + 1);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT ") + counts.join(QStringLiteral(" + ")));
    for (const QVariant &v : std::as_const(phrases))
        q.addBindValue(v);
    if (!q.exec() || !q.next() || q.value(0).toInt() > kFewSearchHits)
        return QString();
    values += phrases;
    return QStringLiteral("hid IN (%1)").arg(persons);
}

void addSearchIndexes(QSqlDatabase &db)
{
    if (engineOf(db) != Engine::Postgres) {
        // A file that cannot take the index now (read-only, or an SQLite without it) is
        // searched without it, and the next opening tries again.
        if (!hasFileSearchIndex(db))
            (void)execAll(db, fileSearchIndexStatements());
        return;
    }
    const QString names[] = {QStringLiteral("siciltablo_ara_ad"),
                             QStringLiteral("siciltablo_ara_telefon")};
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT count(*) FROM pg_indexes WHERE schemaname = "
                              "current_schema() AND indexname IN ('%1', '%2')")
                   .arg(names[0], names[1]))
        && q.next() && q.value(0).toInt() == 2)
        return;
    q.finish();
    // Each on its own: a server that does not offer the extension refuses the first. A person
    // written goes into the index at once, not into a list of pending entries that would make
    // the server read every person instead until a vacuum has cleared it.
    const QStringList statements = {
        QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON siciltablo USING gin ((%2) gin_trgm_ops) "
                       "WITH (fastupdate = off)")
            .arg(names[0], personNamesText()),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON siciltablo USING gin ((%2) gin_trgm_ops) "
                       "WITH (fastupdate = off)")
            .arg(names[1], personPhonesKey()),
        // An older version's index of the phones as stored, whose lookups met every person
        // with the same digits.
        QStringLiteral("DROP INDEX IF EXISTS siciltablo_ara_tel")};
    for (const QString &sql : statements)
        if (!q.exec(sql))
            return;
}

QSqlError upgrade(QSqlDatabase &db)
{
    const Engine engine = engineOf(db);
    const QStringList wanted = addedIndexes();
    QSqlQuery q(db);
    const QStringList marks(wanted.size(), QStringLiteral("?"));
    QVariantList values(wanted.cbegin(), wanted.cend());
    QString count = (engine == Engine::Postgres
                         ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE schemaname = "
                                          "current_schema() AND indexname IN (%1)")
                         : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                          "'index' AND name IN (%1)"))
                        .arg(marks.join(QStringLiteral(", ")));
    int expected = int(wanted.size());
    if (engine == Engine::Postgres) {
        // The text functions too, each as this version writes it (an older one is replaced).
        count = QStringLiteral("SELECT (%1) + (%2) + (SELECT count(*) FROM pg_indexes WHERE "
                               "schemaname = current_schema() AND (%3))")
                    .arg(count, textsql::currentFunctionsCount(values), coveringIndexesAreCurrent());
        expected += textsql::functionCount() + int(std::size(kCoveringIndexes));
    }
    q.prepare(count);
    for (const QVariant &v : std::as_const(values))
        q.addBindValue(v);
    if (!q.exec())
        return q.lastError();
    const bool complete = q.next() && q.value(0).toInt() == expected;
    q.finish(); // the file takes no change of its indexes while a read of it is open
    return complete ? QSqlError() : execAll(db, upgradeStatements(engine));
}

QSqlError addLaterTables(QSqlDatabase &db)
{
    const Engine engine = engineOf(db);
    QStringList missing;
    for (const TableDef &t : tables()) {
        if (!t.addedLater)
            continue;
        QSqlError error;
        const bool present = hasTable(db, t.name, &error);
        if (error.isValid())
            return error;
        if (!present)
            missing << createTable(t, engine) << laterIndexes(t.name);
    }
    return missing.isEmpty() ? QSqlError() : execAll(db, missing);
}

QSqlError refreshStatistics(QSqlDatabase &db)
{
    if (engineOf(db) != Engine::Postgres)
        return QSqlError();
    QSqlQuery q(db);
    return q.exec(QStringLiteral("ANALYZE")) ? QSqlError() : q.lastError();
}

QSqlError create(QSqlDatabase &db)
{
    if (!db.transaction())
        return db.lastError();
    QSqlQuery q(db);
    auto fail = [&db](const QSqlError &e) {
        db.rollback();
        return e;
    };
    for (const QString &sql : createStatements(engineOf(db)))
        if (!q.exec(sql))
            return fail(q.lastError());
    if (!q.exec(QStringLiteral("INSERT INTO master (mids) VALUES ('')")))
        return fail(q.lastError());
    q.prepare(QStringLiteral(
        "INSERT INTO sifre (kullanici, sifre, adi, soyadi, ekle, degistir, herksesigor, "
        "herkesidegistir, baskasirandevuver) VALUES (?, '', ?, ?, 'E', 'E', 'E', 'E', 'E')"));
    q.addBindValue(defaultUser());
    q.addBindValue(QStringLiteral("Lumkar"));
    q.addBindValue(QStringLiteral("Yönetici"));
    if (!q.exec())
        return fail(q.lastError());
    if (!db.commit())
        return fail(db.lastError());
    return QSqlError();
}

} // namespace schema
} // namespace lumkar
