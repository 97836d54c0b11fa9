// Four desks at once on one database: four processes of this benchmark (it starts itself again
// as workers) book appointments, record visits with payments, collect, cancel, delete visits,
// add persons and change a shared handful of appointments and persons, all through the
// program's own writers (DataSet::post, saveVisit, deleteVisit, writeCollection,
// cancelWaitingAppointment, codeForNewPerson), for 60 seconds ("--seconds N"), first against
// one server, then on one SQLite file. Halfway through, the program's backup is taken and
// checked as a restore would check it. Each worker logs what it saved; at the end the rows are
// checked against the logs: every visit whole (visit, account line, cash or card line,
// appointment link), no duplicate person code, no appointment with two visits, no change lost
// without a conflict told (the changes of each shared row form one chain of values). Prints per
// engine the actions per second, the median and 99th-percentile save time and the conflicts;
// exits 1 on any violation or missed goal. "--engine sqlite|postgresql|both"; "--scale X"
// makes the database filled before the run X times the full size (50,000 persons, 200,000
// appointments, 500,000 account lines).

#include "accounts/collection.h"
#include "appointments/appointmentstate.h"
#include "appointments/booking.h"
#include "backup/backuparchive.h"
#include "benchkit.h"
#include "data/asread.h"
#include "data/database.h"
#include "data/dataset.h"
#include "data/personcodes.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "visits/visitposting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

constexpr int kWorkers = 4;
constexpr int kSharedRows = 6;   // appointments and persons every desk changes
constexpr int kPool = 30;        // the latest waiting appointments the desks visit and cancel
constexpr double kServerMedianGoalMs = 30;
const QString kTakenBy = QStringLiteral("Masa Bench");   // the desks' bookings
const QString kShared = QStringLiteral("Ortak Randevu"); // the shared appointments

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QString optionValue(const QStringList &args, const QString &name, const QString &fallback)
{
    const int at = int(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

QVariantList column(QSqlDatabase db, const QString &sql, const QVariantList &binds = {})
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : binds)
        q.addBindValue(v);
    QVariantList values;
    if (!q.exec())
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
    while (q.next())
        values << q.value(0);
    return values;
}

qlonglong count(QSqlDatabase db, const QString &sql, const QVariantList &binds = {})
{
    return column(db, sql, binds).value(0).toLongLong();
}

// ------------------------------------------------------------------------------ the fill

bool fill(QSqlDatabase db, double scale)
{
    const int persons = std::max(kSharedRows, int(50000 * scale));
    const int appointments = int(200000 * scale);
    const int accountLines = int(500000 * scale);
    Transaction transaction(db);
    if (!addUsers(db))
        return false;
    BulkInsert people(db, s("siciltablo"), s("sicil_kodu, adi, soyadi, tel1, isadresi"));
    for (int i = 1; i <= persons; ++i)
        people << QString::number(i) << s("Ayşe") << s("Yılmaz %1").arg(i)
               << s("(532) 100 %1").arg(i % 10000) << s("ilk");
    if (!people.finish())
        return false;
    if (!addAppointments(db, appointments, [](QRandomGenerator &random, int) {
            return QDate(2024, 1, 1).addDays(random.bounded(1000));
        }))
        return false;
    BulkInsert lines(db, s("cari"), s("sicilkodu, adi, soyadi, tarih, borc, alacak, aciklama"));
    for (int i = 0; i < accountLines; ++i)
        lines << QString::number(1 + i % persons) << s("Ayşe") << s("Yılmaz")
              << QDateTime(QDate(2024, 1, 1).addDays(i % 1000), QTime(0, 0)) << double(i % 500)
              << double(i % 300) << s("Açılış bakiyesi");
    if (!lines.finish())
        return false;
    // The shared appointments, and a pool of waiting ones for the first visits.
    DataSet booked(db);
    booked.setTable(s("randevu"));
    if (!booked.openWith(s("rid = ?"), {-1}))
        return false;
    for (int i = 0; i < kSharedRows + kPool; ++i) {
        EntryAppointment entry;
        entry.sicilKodu = QString::number(1 + i);
        entry.adi = s("Ayşe");
        entry.soyadi = s("Yılmaz %1").arg(1 + i);
        entry.tarih = QDate(2031, 1, 15).toString(s("dd.MM.yyyy"));
        entry.saat = QTime(9, 0).addSecs(600 * i).toString(s("HH:mm"));
        entry.konu = s("ilk");
        entry.tutar = s("400");
        entry.rkime = s("user1");
        entry.rkimeAdSoyad = s("Kullanıcı 1");
        const BookingRow row = bookingRow(
            entry, i < kSharedRows ? kShared : kTakenBy, QDateTime::currentDateTime(), false);
        booked.append();
        for (const auto &field : row.fields)
            booked.setValue(field.first, field.second);
        if (!booked.post())
            return false;
    }
    return endFill(transaction, db);
}

// ---------------------------------------------------------------------------- a worker

// One desk: actions chosen at random until the time is up, each save timed; what it saved is
// logged line by line ("visit MID RID", "unvisit MID", "cancel RID", "collect LINE",
// "person CODE", "book RID", "chain KIND KEY BEFORE AFTER", "conflict TEXT", "failed TEXT",
// "time MS").
class Desk {
public:
    // `filled`: the highest appointment number of the fill; the shared appointments follow.
    Desk(QSqlDatabase db, int number, qlonglong filled, QTextStream &log)
        : m_db(db), m_number(number), m_filled(filled), m_log(log),
          m_random(quint32(7919 * (number + 1)))
    {
    }

    void act()
    {
        const int roll = int(m_random.bounded(100));
        static const struct {
            int below;
            const char *name;
        } kActions[] = {{20, "book"}, {42, "visit"}, {52, "collect"}, {60, "cancel"},
                        {68, "delete visit"}, {80, "change appointment"},
                        {92, "change person"}, {100, "new person"}};
        for (const auto &action : kActions)
            if (roll < action.below) {
                m_action = QLatin1String(action.name);
                break;
            }
        if (roll < 20)
            book();
        else if (roll < 42)
            visit();
        else if (roll < 52)
            collect();
        else if (roll < 60)
            cancel();
        else if (roll < 68)
            deleteOwnVisit();
        else if (roll < 80)
            changeShared(s("randevu"), s("rid"), s("konu"));
        else if (roll < 92)
            changeShared(s("siciltablo"), s("sicil_kodu"), s("isadresi"));
        else
            addPerson();
    }

private:
    QString user() const { return s("user%1").arg(m_number + 1); }
    QString userName() const { return s("Kullanıcı %1").arg(m_number + 1); }

    // The time a user takes between reading a row and saving it.
    void think() { QThread::usleep(m_random.bounded(20000)); }

    template<typename Write>
    auto timed(Write write)
    {
        QElapsedTimer timer;
        timer.start();
        auto result = write();
        m_log << "time " << timer.nsecsElapsed() / 1e6 << ' ' << m_action << '\n';
        return result;
    }

    void told(bool refused, const QString &text)
    {
        m_log << (refused ? "conflict " : "failed ") << m_action << ": "
              << QString(text).replace('\n', ' ') << '\n';
    }

    QVariant waitingAppointment()
    {
        const QVariantList pool = column(m_db,
            s("SELECT rid FROM randevu WHERE rid > ? AND randevuyualan = ? AND gorusmekodu IS "
              "NULL AND iptalkodu IS NULL ORDER BY rid DESC LIMIT %1").arg(kPool),
            {m_filled, kTakenBy});
        return pool.isEmpty() ? QVariant() : pool.at(int(m_random.bounded(pool.size())));
    }

    void book()
    {
        EntryAppointment entry;
        const int person = 1 + int(m_random.bounded(kSharedRows * 10));
        entry.sicilKodu = QString::number(person);
        entry.adi = s("Ayşe");
        entry.soyadi = s("Yılmaz %1").arg(person);
        entry.tarih = QDate(2031, 1, 15).addDays(m_random.bounded(5)).toString(s("dd.MM.yyyy"));
        entry.saat = QTime(9, 0).addSecs(900 * int(m_random.bounded(36))).toString(s("HH:mm"));
        entry.konu = s("masa %1").arg(m_number);
        entry.tutar = s("400");
        entry.rkime = user();
        entry.rkimeAdSoyad = userName();
        const BookingRow row = bookingRow(entry, kTakenBy, QDateTime::currentDateTime(), false);
        DataSet booked(m_db);
        booked.setTable(s("randevu"));
        if (!booked.openWith(s("rid = ?"), {-1}))
            return told(false, booked.lastError().text());
        think();
        booked.append();
        for (const auto &field : row.fields)
            booked.setValue(field.first, field.second);
        if (!timed([&] { return booked.post(); }))
            return told(false, booked.lastError().text());
        m_log << "book " << booked.value(s("rid")).toLongLong() << '\n';
    }

    void visit()
    {
        const QVariant rid = waitingAppointment();
        if (rid.isNull())
            return book();
        DataSet appointment(m_db);
        appointment.setTable(s("randevu"));
        if (!appointment.openWith(s("rid = ?"), {rid}) || appointment.recordCount() == 0)
            return;
        VisitEntry entry;
        entry.sicilkodu = appointment.text(s("sicil_kodu"));
        entry.adi = appointment.text(s("adi"));
        entry.soyadi = appointment.text(s("soyadi"));
        entry.tarih = appointment.value(s("randevutarihi")).toDate();
        entry.saat = QTime(10, 0);
        entry.netice = s("Seans yapıldı\r\n");
        entry.islemBorcu = 400;
        entry.tahsiledilen = 100 + m_random.bounded(300);
        entry.randevuno = rid;
        entry.randevuyualan = appointment.text(s("randevuyualan"));
        entry.rkime = user();
        entry.gorusenAdSoyad = userName();
        entry.odemesekli = m_random.bounded(2) ? cashPayment() : cardPayment();
        think();
        const WriteResult result = timed([&] { return saveVisit(m_db, entry); });
        if (!result.ok)
            return told(result.refused, result.error);
        m_visits << result.visitNumber;
        m_log << "visit " << result.visitNumber << ' ' << rid.toLongLong() << '\n';
    }

    void deleteOwnVisit()
    {
        if (m_visits.isEmpty())
            return visit();
        const qlonglong mid = m_visits.takeAt(int(m_random.bounded(m_visits.size())));
        DataSet list(m_db);
        list.setTable(s("gorusmeler"));
        if (!list.openWith(s("mid = ?"), {mid}) || list.recordCount() == 0)
            return told(false, s("görüşme %1 okunamadı: %2").arg(mid).arg(list.lastError().text()));
        const RowValues asRead = rowAsRead(list, s("gorusmeler"));
        const QVariant rid = list.value(s("randevuno"));
        think();
        const WriteResult result = timed([&] { return deleteVisit(m_db, mid, rid, asRead); });
        if (!result.ok)
            return told(result.refused, result.error);
        m_log << "unvisit " << mid << '\n';
    }

    void collect()
    {
        CollectionEntry entry;
        const int person = 1 + int(m_random.bounded(kSharedRows));
        entry.sicilkodu = QString::number(person);
        entry.adi = s("Ayşe");
        entry.soyadi = s("Yılmaz %1").arg(person);
        entry.amount = 50;
        entry.islemTarihi = QDate(2031, 1, 15);
        entry.islemVadesi = entry.islemTarihi;
        entry.aciklama = s("Tahsilat");
        entry.odemesekli = m_random.bounded(2) ? s("Nakit") : s("Kredi Kartı");
        entry.userCode = user();
        entry.userName = userName();
        think();
        const CollectionResult result = timed([&] { return writeCollection(m_db, entry); });
        if (!result.ok)
            return told(result.refused, result.error);
        m_log << "collect " << result.accountLine << '\n';
    }

    void cancel()
    {
        const QVariant rid = waitingAppointment();
        if (rid.isNull())
            return book();
        think();
        const StateResult result = timed([&] {
            return cancelWaitingAppointment(m_db, rid.toLongLong(), user(), s("Vazgeçti"));
        });
        if (result.change != StateChange::Done)
            return told(result.change != StateChange::Failed, result.message());
        m_log << "cancel " << rid.toLongLong() << '\n';
    }

    // A shared row read, a moment of typing, and saved with a value no desk wrote before.
    void changeShared(const QString &table, const QString &key, const QString &field)
    {
        const QVariant which = table == QLatin1String("randevu")
            ? QVariant(m_filled + 1 + m_random.bounded(kSharedRows))
            : QVariant(QString::number(1 + m_random.bounded(kSharedRows)));
        DataSet row(m_db);
        row.setTable(table);
        if (!row.openWith(key + s(" = ?"), {which}) || row.recordCount() != 1)
            return told(false, s("%1 %2 okunamadı: %3")
                                   .arg(table, which.toString(), row.lastError().text()));
        const QString before = row.text(field);
        const QString after = s("m%1-%2").arg(m_number).arg(++m_written);
        think();
        row.edit();
        row.setValue(field, after);
        if (!timed([&] { return row.post(); })) {
            const QString why = row.lastError().text();
            row.cancel();
            return told(why.contains(s("başka bir yerden")), why);
        }
        m_log << "chain " << table << ' ' << which.toString() << ' '
              << before.toUtf8().toPercentEncoding() << ' ' << after << '\n';
    }

    // "Yeni Kişi": the code given when the form opens, the person saved a moment later.
    void addPerson()
    {
        QString error;
        const QString given = nextPersonCode(m_db, &error);
        if (given.isEmpty())
            return told(false, error);
        think();
        const bool saved = timed([&] {
            Transaction transaction(m_db);
            if (!transaction.isActive()) {
                error = transaction.errorText();
                return false;
            }
            bool taken = false;
            const QString code = codeForNewPerson(m_db, given, taken, &error);
            if (code.isEmpty())
                return false;
            DataSet register_(m_db);
            register_.setTable(s("siciltablo"));
            if (!register_.openWith(s("hid = ?"), {-1}))
                return false;
            register_.append();
            register_.setValue(s("sicil_kodu"), code);
            register_.setValue(s("adi"), s("Yeni"));
            register_.setValue(s("soyadi"), s("Kişi %1").arg(m_number));
            if (!register_.post()) {
                error = register_.lastError().text();
                return false;
            }
            if (!transaction.commit()) {
                error = transaction.errorText();
                return false;
            }
            m_log << "person " << code << '\n';
            return true;
        });
        if (!saved)
            told(false, error);
    }

    QSqlDatabase m_db;
    int m_number;
    qlonglong m_filled;
    QTextStream &m_log;
    QRandomGenerator m_random;
    QVector<qlonglong> m_visits;
    int m_written = 0;
    QString m_action; // the action under way, named in the log
};

int runWorker(const QStringList &args)
{
    const QString folder = optionValue(args, s("--folder"), QString());
    const int number = optionValue(args, s("--worker"), s("0")).toInt();
    const double seconds = optionValue(args, s("--seconds"), s("60")).toDouble();
    QFile file(optionValue(args, s("--log"), QString()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return 2;
    QTextStream log(&file);
    Database database(folder);
    if (!database.open()) {
        log << "failed " << database.errorText() << '\n';
        return 1;
    }
    Desk desk(database.db(), number, optionValue(args, s("--filled"), s("0")).toLongLong(), log);
    QElapsedTimer clock;
    clock.start();
    // The events between actions, as a desk's event loop runs them: a lock met in one action
    // does not shorten the waits of the next.
    while (clock.elapsed() < seconds * 1000) {
        desk.act();
        QCoreApplication::processEvents();
    }
    log.flush();
    return 0;
}

// --------------------------------------------------------------------------- the checks

struct Logs {
    QSet<qlonglong> visits, unvisited, cancelled, collections, booked;
    QStringList persons;
    QHash<QString, QVector<QPair<QString, QString>>> chains; // "table key" -> before, after
    QVector<double> times;
    QHash<QString, QVector<double>> timesOf; // per action
    int conflicts = 0;
    int lockRefusals = 0;
    QStringList failures;
    QHash<QString, int> conflictKinds;
};

void readLog(const QString &path, Logs &logs)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        logs.failures << s("no log %1").arg(path);
        return;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QStringList w = line.split(QLatin1Char(' '));
        const QString kind = w.value(0);
        const QString rest = line.mid(kind.size() + 1);
        if (kind == QLatin1String("time")) {
            logs.times << w.value(1).toDouble();
            logs.timesOf[line.section(QLatin1Char(' '), 2)] << w.value(1).toDouble();
        }
        else if (kind == QLatin1String("visit"))
            logs.visits << w.value(1).toLongLong();
        else if (kind == QLatin1String("unvisit"))
            logs.unvisited << w.value(1).toLongLong();
        else if (kind == QLatin1String("cancel"))
            logs.cancelled << w.value(1).toLongLong();
        else if (kind == QLatin1String("collect"))
            logs.collections << w.value(1).toLongLong();
        else if (kind == QLatin1String("book"))
            logs.booked << w.value(1).toLongLong();
        else if (kind == QLatin1String("person"))
            logs.persons << w.value(1);
        else if (kind == QLatin1String("chain"))
            logs.chains[w.value(1) + QLatin1Char(' ') + w.value(2)]
                << qMakePair(QString::fromUtf8(QByteArray::fromPercentEncoding(w.value(3).toUtf8())),
                             w.value(4));
        else if (kind == QLatin1String("conflict")) {
            ++logs.conflicts;
            ++logs.conflictKinds[rest.left(40)];
        } else if (kind == QLatin1String("failed")) {
            // Another desk held the file longer than a save waits: told, nothing written.
            if (rest.contains(s("başka bir program tarafından kullanılıyor"))
                || rest.contains(s("database is locked")))
                ++logs.lockRefusals;
            else
                logs.failures << rest;
        }
    }
}

// What the rows hold that the logs or the program's rules forbid; each violation one line.
QStringList violations(QSqlDatabase db, const Logs &logs, const QHash<QString, QString> &initial)
{
    QStringList found;
    const auto expectNone = [&](const QString &what, const QString &sql) {
        const qlonglong n = count(db, sql);
        if (n != 0)
            found << s("%1: %2").arg(what).arg(n);
    };
    expectNone(s("duplicate person codes"),
               s("SELECT count(*) FROM (SELECT sicil_kodu FROM siciltablo GROUP BY sicil_kodu "
                 "HAVING count(*) > 1) d"));
    expectNone(s("appointments with two visits"),
               s("SELECT count(*) FROM (SELECT randevuno FROM gorusmeler WHERE randevuno IS NOT "
                 "NULL GROUP BY randevuno HAVING count(*) > 1) d"));
    for (const char *book : {"cari", "kasa", "kredikart"})
        expectNone(s("%1 lines of a visit that is gone").arg(QLatin1String(book)),
                   s("SELECT count(*) FROM %1 WHERE gorusme_no > 0 AND gorusme_no NOT IN "
                     "(SELECT mid FROM gorusmeler)").arg(QLatin1String(book)));
    expectNone(s("appointments linked to a visit that is gone"),
               s("SELECT count(*) FROM randevu WHERE randevuyualan = '%1' AND gorusmekodu > 0 "
                 "AND gorusmekodu <> %2 AND gorusmekodu NOT IN (SELECT mid FROM gorusmeler)")
                   .arg(kTakenBy)
                   .arg(schema::appointmentMarker()));
    expectNone(s("visits without their account line"),
               s("SELECT count(*) FROM gorusmeler g WHERE (SELECT count(*) FROM cari c WHERE "
                 "c.gorusme_no = g.mid) <> 1"));
    expectNone(s("visits without their one cash or card line"),
               s("SELECT count(*) FROM gorusmeler g WHERE tahsiledilen > 0 AND (SELECT count(*) "
                 "FROM kasa k WHERE k.gorusme_no = g.mid) + (SELECT count(*) FROM kredikart k "
                 "WHERE k.gorusme_no = g.mid) <> 1"));
    expectNone(s("visits whose appointment does not name them"),
               s("SELECT count(*) FROM gorusmeler g WHERE randevuno IS NOT NULL AND NOT EXISTS "
                 "(SELECT 1 FROM randevu r WHERE r.rid = g.randevuno AND r.gorusmekodu = g.mid)"));
    expectNone(s("cancelled appointments with a visit"),
               s("SELECT count(*) FROM gorusmeler g JOIN randevu r ON r.rid = g.randevuno WHERE "
                 "r.iptalkodu IS NOT NULL"));
    if (logs.visits.isEmpty() && initial.isEmpty())
        return found; // a snapshot: the rows alone
    // The visits saved and not deleted are there, and no other.
    QSet<qlonglong> stored;
    for (const QVariant &v : column(db, s("SELECT mid FROM gorusmeler")))
        stored << v.toLongLong();
    const QSet<qlonglong> expected = QSet<qlonglong>(logs.visits).subtract(logs.unvisited);
    if (stored != expected)
        found << s("visits stored %1, logged as saved and not deleted %2")
                     .arg(stored.size())
                     .arg(expected.size());
    for (qlonglong rid : logs.cancelled)
        if (count(db, s("SELECT count(*) FROM randevu WHERE rid = ? AND iptalkodu IS NOT NULL"),
                  {rid})
            != 1)
            found << s("cancelled appointment %1 not cancelled").arg(rid);
    for (qlonglong rid : logs.booked)
        if (count(db, s("SELECT count(*) FROM randevu WHERE rid = ?"), {rid}) != 1)
            found << s("booked appointment %1 missing").arg(rid);
    for (qlonglong line : logs.collections)
        if (count(db, s("SELECT count(*) FROM cari WHERE mid = ?"), {line})
                + count(db,
                        s("SELECT (SELECT count(*) FROM kasa WHERE tahsilatno = ?) + (SELECT "
                          "count(*) FROM kredikart WHERE tahsilatno = ?)"),
                        {line, line})
            != 2)
            found << s("collection %1 not whole").arg(line);
    for (const QString &code : logs.persons)
        if (count(db, s("SELECT count(*) FROM siciltablo WHERE sicil_kodu = ?"), {code}) != 1)
            found << s("person %1 saved but not stored once").arg(code);
    // Every save of a shared row read the value the save before it wrote: one chain from the
    // first value to the stored one, no two saves over the same value (a change lost).
    for (auto it = initial.cbegin(); it != initial.cend(); ++it) {
        const QStringList parts = it.key().split(QLatin1Char(' '));
        const QString field = parts.at(0) == QLatin1String("randevu") ? s("konu") : s("isadresi");
        const QString key = parts.at(0) == QLatin1String("randevu") ? s("rid") : s("sicil_kodu");
        const QString now = column(db, s("SELECT %1 FROM %2 WHERE %3 = ?").arg(field, parts.at(0), key),
                                   {parts.at(1)})
                                .value(0)
                                .toString();
        QHash<QString, QString> next;
        const auto saves = logs.chains.value(it.key());
        for (const auto &[before, after] : saves) {
            if (next.contains(before))
                found << s("%1: two saves over \"%2\" (a change lost)").arg(it.key(), before);
            next.insert(before, after);
        }
        QString value = it.value();
        int steps = 0;
        while (next.contains(value) && steps <= saves.size()) {
            value = next.value(value);
            ++steps;
        }
        if (steps != saves.size() || value != now)
            found << s("%1: %2 saves logged, %3 chained, stored \"%4\"")
                         .arg(it.key())
                         .arg(saves.size())
                         .arg(steps)
                         .arg(now);
    }
    return found;
}

// The shared rows and their values before the run: "randevu RID" / "siciltablo CODE".
QHash<QString, QString> sharedRows(QSqlDatabase db)
{
    QHash<QString, QString> rows;
    QSqlQuery q(db);
    q.prepare(s("SELECT rid, konu FROM randevu WHERE randevuyualan = ?"));
    q.addBindValue(kShared);
    q.exec();
    while (q.next())
        rows.insert(s("randevu %1").arg(q.value(0).toLongLong()), q.value(1).toString());
    for (int i = 1; i <= kSharedRows; ++i)
        rows.insert(s("siciltablo %1").arg(i),
                    column(db, s("SELECT isadresi FROM siciltablo WHERE sicil_kodu = ?"),
                           {QString::number(i)})
                        .value(0)
                        .toString());
    return rows;
}

double percentile(QVector<double> samples, double p)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(int(samples.size()) - 1, int(samples.size() * p))];
}

// The backup a user takes while the desks write, then checked as a restore checks it, and
// its database held to the same rules as the live one.
bool backUpDuringRun(Database &database, QString &report)
{
    QTemporaryDir scratch;
    const QString archive = scratch.filePath(s("yedek.zip"));
    BackupWriter writer;
    QSqlDatabase db = database.db();
    QElapsedTimer timer;
    timer.start();
    const bool made = database.engine() == Engine::Postgres
        ? writer.backupServer(db, Database::fileName(), archive)
        : writer.backupDataFolder(database.dataFolder(), Database::fileName(), archive);
    const double seconds = timer.elapsed() / 1000.0;
    if (!made) {
        report = s("backup failed after %1 s: %2").arg(seconds).arg(writer.errorText());
        return false;
    }
    QDir(scratch.path()).mkpath(s("AnaData"));
    DatabaseRestore restore(scratch.filePath(s("AnaData")), Database::fileName());
    if (!restore.prepare(archive)) {
        report = s("backup made in %1 s, refused by the restore check: %2")
                     .arg(seconds)
                     .arg(restore.errorText());
        return false;
    }
    QStringList broken;
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase(s("QSQLITE"), s("desks_backup_check"));
        copy.setDatabaseName(restore.preparedDatabasePath());
        if (copy.open())
            broken = violations(copy, Logs(), {});
        else
            broken << copy.lastError().text();
        copy.close();
    }
    QSqlDatabase::removeDatabase(s("desks_backup_check"));
    report = s("backup in %1 s, archive %2 MB, %3")
                 .arg(seconds, 0, 'f', 2)
                 .arg(QFileInfo(archive).size() / 1e6, 0, 'f', 1)
                 .arg(broken.isEmpty() ? s("checked sound") : broken.join(s("; ")));
    return broken.isEmpty();
}

Outcome run(Engine engine, double seconds, double scale)
{
    Outcome outcome(engine);
    ProgramFolder folder(engine);
    if (!folder.isValid()) {
        outcome.fail(folder.errorText());
        return outcome;
    }
    Database database(folder.path());
    if (!database.open()) {
        outcome.fail(database.errorText());
        return outcome;
    }
    QElapsedTimer fillTimer;
    fillTimer.start();
    if (!fill(database.db(), scale)) {
        outcome.fail(s("the fill failed"));
        return outcome;
    }
    outcome.addOther(s("fill"), fillTimer.elapsed() / 1000.0, s("s"));
    if (engine == Engine::Sqlite)
        outcome.addOther(s("database file"), QFileInfo(database.filePath()).size() / 1e6, s("MB"));
    const QHash<QString, QString> initial = sharedRows(database.db());
    QElapsedTimer codeTimer;
    codeTimer.start();
    nextPersonCode(database.db());
    outcome.addOther(s("next person code, alone"), codeTimer.nsecsElapsed() / 1e6);
    const qlonglong filled
        = count(database.db(), s("SELECT min(rid) FROM randevu WHERE randevuyualan = ?"), {kShared})
        - 1;

    QTemporaryDir logs;
    QVector<QProcess *> workers;
    for (int i = 0; i < kWorkers; ++i) {
        auto *worker = new QProcess;
        worker->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        worker->start(QCoreApplication::applicationFilePath(),
                      {s("--worker"), QString::number(i), s("--folder"), folder.path(),
                       s("--seconds"), QString::number(seconds), s("--filled"),
                       QString::number(filled), s("--log"),
                       logs.filePath(s("desk%1.log").arg(i))});
        workers << worker;
    }
    QThread::msleep(qint64(seconds * 400));
    // The file's copy alone, under the read lock that holds the other desks' commits.
    if (engine == Engine::Sqlite) {
        QTemporaryDir scratch;
        QElapsedTimer copyTimer;
        copyTimer.start();
        const QString copied
            = copyDatabaseFile(database.filePath(), scratch.filePath(Database::fileName()));
        outcome.addOther(s("backup's copy under the read lock"), copyTimer.nsecsElapsed() / 1e6);
        outcome.goal(s("the backup's copy made"), copied.isEmpty());
    }
    QThread::msleep(qint64(seconds * 100));
    QString backupReport;
    const bool backedUp = backUpDuringRun(database, backupReport);
    std::printf("%s\n", qPrintable(backupReport));
    bool workersEnded = true;
    for (QProcess *worker : workers) {
        workersEnded = worker->waitForFinished(int(seconds * 1000) + 120000)
            && worker->exitStatus() == QProcess::NormalExit && worker->exitCode() == 0
            && workersEnded;
        delete worker;
    }
    Logs logged;
    for (int i = 0; i < kWorkers; ++i)
        readLog(logs.filePath(s("desk%1.log").arg(i)), logged);
    const QStringList broken = violations(database.db(), logged, initial);
    const int actions = int(logged.times.size()); // every save tried, kept or told
    outcome.addOther(s("actions per second (4 desks)"), actions / seconds, s("/s"));
    outcome.addOther(s("save, median"), median(logged.times));
    outcome.addOther(s("save, 99th percentile"), percentile(logged.times, 0.99));
    outcome.addOther(s("conflicts told"), logged.conflicts, s(""));
    outcome.addOther(s("visits saved"), logged.visits.size(), s(""));
    outcome.addOther(s("visits deleted"), logged.unvisited.size(), s(""));
    outcome.addOther(s("saves refused for a lock held too long"), logged.lockRefusals, s(""));
    outcome.addOther(s("saves failed otherwise"), logged.failures.size(), s(""));
    for (auto it = logged.conflictKinds.cbegin(); it != logged.conflictKinds.cend(); ++it)
        std::printf("conflict x%d: %s...\n", it.value(), qPrintable(it.key()));
    for (const QString &failure : logged.failures.mid(0, 10))
        std::printf("failed: %s\n", qPrintable(failure));
    for (const QString &violation : broken)
        std::printf("VIOLATION: %s\n", qPrintable(violation));
    for (auto it = logged.timesOf.cbegin(); it != logged.timesOf.cend(); ++it)
        std::printf("  %-20s %5d saves, median %8.2f ms, 99th percentile %8.2f ms, longest "
                    "%8.2f ms\n",
                    qPrintable(it.key()), int(it.value().size()), median(it.value()),
                    percentile(it.value(), 0.99),
                    *std::max_element(it.value().cbegin(), it.value().cend()));
    for (const Figure &figure : outcome.figures())
        std::printf("%-44s %10.2f %s\n", qPrintable(figure.name), figure.value,
                    qPrintable(figure.unit));
    outcome.goal(s("every desk ran to the end"), workersEnded);
    outcome.goal(s("0 violations"), broken.isEmpty());
    outcome.goal(s("no save failed but for a lock, told"), logged.failures.isEmpty());
    outcome.goal(s("the backup during the run completed and is sound"), backedUp);
    if (engine == Engine::Postgres)
        outcome.goal(s("median save under 30 ms on the server"),
                     median(logged.times) < kServerMedianGoalMs);
    return outcome;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains(s("--worker")))
        return runWorker(args);
    const double seconds = optionValue(args, s("--seconds"), s("60")).toDouble();
    const double scale = optionValue(args, s("--scale"), s("1")).toDouble();
    if (seconds <= 0 || scale <= 0) {
        std::fprintf(stderr, "--seconds and --scale take a number above 0\n");
        return 2;
    }
    return runOnEngines(args, s("0 violations; the backup during the run sound"),
                        [&](Engine engine) { return run(engine, seconds, scale); });
}
