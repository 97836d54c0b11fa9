#include "benchkit.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/values.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <random>

namespace lumkar::bench {

namespace {

// Shows nothing and is never cancelled.
class SilentProgress : public Progress {
public:
    void setValue(int) override {}
    void setLabel(const QString &) override {}
    bool wasCanceled() const override { return false; }
    void setCancelEnabled(bool) override {}
    void finish() override {}
};

} // namespace

std::unique_ptr<Progress> SilentDialogs::startProgress(const QString &, int)
{
    return std::make_unique<SilentProgress>();
}

void SilentDialogs::told(const QString &text) const
{
    std::fprintf(m_stop ? stderr : stdout, "%s: %s\n", m_stop ? "unexpected message" : "message",
                 qPrintable(text));
    if (m_stop)
        std::exit(1);
}

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

BenchApplication::Environment::Environment()
{
    qInstallMessageHandler(quiet);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

BenchApplication::BenchApplication(int &argc, char **argv) : m_application(argc, argv)
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

double median(QVector<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeIt(int runs, const std::function<void()> &prepare,
              const std::function<void()> &action)
{
    return timeWithin(runs, runs, 0, prepare, action);
}

double timeWithin(int minRuns, int maxRuns, double budgetMs, const std::function<void()> &prepare,
                  const std::function<void()> &action, int *made)
{
    QVector<double> samples;
    double spent = 0;
    while (samples.size() < maxRuns && (samples.size() < minRuns || spent < budgetMs)) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        samples << timer.nsecsElapsed() / 1e6;
        spent += samples.last();
    }
    if (made)
        *made = int(samples.size());
    return median(samples);
}

namespace {

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

Timing measure(int runs, const std::function<void()> &action)
{
    QVector<double> wall;
    QVector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        const double cpuStart = cpuMilliseconds();
        timer.start();
        action();
        QCoreApplication::processEvents();
        wall << timer.nsecsElapsed() / 1e6;
        cpu << cpuMilliseconds() - cpuStart;
    }
    return {median(wall), median(cpu)};
}

bool addUsers(QSqlDatabase &db)
{
    BulkInsert users(db, QStringLiteral("sifre"),
        QStringLiteral("kullanici, sifre, adi, soyadi, ekle, degistir, herksesigor, "
                       "herkesidegistir, baskasirandevuver"));
    const QString yes = QStringLiteral("E");
    for (int u = 1; u < 10; ++u)
        users << QStringLiteral("user%1").arg(u) << QStringLiteral("")
              << QStringLiteral("Kullanıcı") << QString::number(u) << yes << yes << yes << yes
              << yes;
    return users.finish();
}

bool addPersons(QSqlDatabase &db, int count, QVector<PersonName> *names)
{
    static const char *const firstNames[] = {
        "Ayşe", "Mehmet", "Zeynep", "Ahmet", "Elif", "Mustafa", "Fatma", "Emre", "Şule",
        "İbrahim", "Gül", "Çağrı", "Özlem", "Ümit", "Hülya", "Kamil", "Kader", "Ali", "Işıl",
        "Deniz", "Burak", "Canan", "Hakan", "Selin", "Oğuz", "Pınar", "Kaya", "Tülay"};
    static const char *const surnames[] = {
        "Yılmaz", "Kaya", "Demir", "Şahin", "Çelik", "Yıldız", "Öztürk", "Aydın", "Arslan",
        "Doğan", "Kılıç", "Aslan", "Çetin", "Koç", "Kurt", "Akay", "Karaca", "Işık", "Ünal",
        "Güneş", "Erdoğan", "Polat", "Kocaman", "Tekin"};
    static const char *const streets[] = {"Bağdat Caddesi", "Moda Cad.", "Atatürk Bulvarı",
                                          "Gül Sokak", "Cumhuriyet Mah.", "İnönü Cad."};
    std::mt19937 random(20240611u);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    auto phone = [&](const char *area) {
        return QStringLiteral("(%1) %2 %3 %4")
            .arg(QLatin1String(area))
            .arg(100 + pick(900))
            .arg(10 + pick(90))
            .arg(10 + pick(90));
    };
    if (names)
        names->reserve(count);
    BulkInsert persons(db, QStringLiteral("siciltablo"),
        QStringLiteral("sicil_kodu, adi, soyadi, tel1, tel2, ceptel, ceptel2, "
                       "fax, isadresi, email"));
    for (int i = 1; i <= count; ++i) {
        const QString adi = QString::fromUtf8(firstNames[pick(std::size(firstNames))]);
        const QString soyadi = QString::fromUtf8(surnames[pick(std::size(surnames))]);
        if (names)
            names->append({QString::number(i), adi, soyadi});
        persons << QString::number(i) << adi << soyadi << phone("212");
        persons << (pick(4) == 0 ? QVariant(phone("216")) : QVariant());
        persons << phone("532") << QStringLiteral("(   )          ");
        persons << (pick(8) == 0 ? QVariant(phone("212")) : QVariant());
        persons << QStringLiteral("%1 No: %2\r\nKadıköy İstanbul\r\n")
                       .arg(QString::fromUtf8(streets[pick(std::size(streets))]))
                       .arg(1 + pick(200));
        persons << QString(adi.toLower() + QStringLiteral("@ornek.com.tr"));
    }
    if (!persons.finish())
        std::fprintf(stderr, "insert failed: %s\n", qPrintable(persons.errorText()));
    return persons.ok();
}

bool addAppointments(QSqlDatabase &db, int count,
                     const std::function<QDate(QRandomGenerator &, int)> &dayOf,
                     const std::function<PersonName(QRandomGenerator &)> &personOf)
{
    QRandomGenerator random(20261209);
    BulkInsert q(db, QStringLiteral("randevu"),
        QStringLiteral("sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, randevutarihi, "
                       "kayittarihi, konu, randevuyualan, gorusmekodu, iptalkodu, "
                       "randevusaati, telefonu, ceptel, islem_tutari, adresi, "
                       "paketkodu, paketadi"));
    for (int i = 0; i < count; ++i) {
        const int user = int(random.bounded(10));
        const QString code = user == 0 ? QStringLiteral("lumkar")
                                       : QStringLiteral("user%1").arg(user);
        const QDate day = dayOf(random, i);
        const int state = int(random.bounded(10));
        const PersonName person = personOf
            ? personOf(random)
            : PersonName{QString::number(random.bounded(5000) + 1),
                         QStringLiteral("Ad%1").arg(i % 700), QStringLiteral("Soyad%1").arg(i % 900)};
        q << person.code << person.adi << person.soyadi << code
          << QStringLiteral("Kullanıcı %1").arg(user) << values::dayKey(day) << values::dayKey(day)
          << QStringLiteral("Randevu açıklaması") << QStringLiteral("Lumkar Yönetici")
          << (state < 3 ? QVariant(i + 1) : QVariant())
          << (state == 9 ? QVariant(999999) : QVariant());
        q << values::toDatabase(
            values::timeOfDay(QTime(9 + int(random.bounded(9)), 15 * int(random.bounded(4)))),
            FieldType::DateTime);
        q << QStringLiteral("(212) 555 12 34") << QStringLiteral("(532) 111 22 33")
          << double(random.bounded(5000)) << QStringLiteral("Adres satırı\r\n")
          << int(random.bounded(20)) << QStringLiteral("Paket");
    }
    return q.finish();
}

long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

BulkInsert::BulkInsert(QSqlDatabase db, const QString &table, const QString &columns)
    : m_db(db),
      m_table(table),
      m_columns(columns.split(QLatin1Char(','), Qt::SkipEmptyParts)),
      // Both engines take 999 bound values in one statement.
      m_rowsPerStatement(std::max(1, 999 / int(m_columns.size()))),
      m_full(db)
{
    for (QString &column : m_columns)
        column = column.trimmed();
    m_values.reserve(m_rowsPerStatement * m_columns.size());
}

BulkInsert::~BulkInsert()
{
    finish();
}

BulkInsert &BulkInsert::operator<<(const QVariant &value)
{
    m_values << value;
    if (m_values.size() == m_rowsPerStatement * m_columns.size()) {
        if (!m_fullPrepared && ok()) {
            m_fullPrepared = true;
            if (!m_full.prepare(statement(m_rowsPerStatement)))
                m_error = m_full.lastError().text();
        }
        if (ok())
            send(m_full);
        m_values.clear();
    }
    return *this;
}

QString BulkInsert::statement(int rows) const
{
    const QString row = QLatin1Char('(')
        + QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
        + QLatin1Char(')');
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(m_table, m_columns.join(QStringLiteral(", ")),
            QStringList(rows, row).join(QLatin1Char(',')));
}

bool BulkInsert::send(QSqlQuery &query)
{
    for (const QVariant &value : std::as_const(m_values))
        query.addBindValue(value);
    if (!query.exec())
        m_error = query.lastError().text();
    return ok();
}

bool BulkInsert::finish()
{
    if (!m_values.isEmpty() && ok()) {
        QSqlQuery rest(m_db);
        if (rest.prepare(statement(int(m_values.size() / m_columns.size()))))
            send(rest);
        else
            m_error = rest.lastError().text();
    }
    m_values.clear();
    return ok();
}

bool endFill(Transaction &transaction, QSqlDatabase db)
{
    if (!transaction.commit()) {
        std::fprintf(stderr, "%s\n", qPrintable(transaction.errorText()));
        return false;
    }
    const QSqlError error = schema::refreshStatistics(db);
    if (error.isValid())
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
    return !error.isValid();
}

namespace {

const QString kMaintenanceConnection = QStringLiteral("lumkar_bench_maintenance");

// Runs one statement on the server's maintenance database "postgres"; the cause of a failure
// in `error`, the first value of its answer in `first` when asked.
bool onServer(const QString &sql, QString *error, QVariant *first = nullptr)
{
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::contains(kMaintenanceConnection)
            ? QSqlDatabase::database(kMaintenanceConnection, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kMaintenanceConnection);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.isValid())
            *error = QStringLiteral("the PostgreSQL driver of Qt (QPSQL) is not installed");
        else if (!db.isOpen() && !db.open())
            *error = QStringLiteral("the server cannot be reached: %1").arg(db.lastError().text());
        else {
            QSqlQuery q(db);
            done = q.exec(sql);
            if (done && first)
                *first = q.next() ? q.value(0) : QVariant();
            if (!done)
                *error = QStringLiteral("%1: %2").arg(sql, q.lastError().text());
        }
    }
    return done;
}

} // namespace

ProgramFolder::ProgramFolder(Engine engine, const QString &parent)
    : m_engine(engine)
{
    m_dir.emplace(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/lumkar_bench-XXXXXX")
                                   : parent + QStringLiteral("/lumkar_bench-XXXXXX"));
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_dir->errorString());
        return;
    }
    m_path = m_dir->path();
    if (engine != Engine::Postgres)
        return;
    static int made = 0;
    const QString name
        = QStringLiteral("lumkar_bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    if (!onServer(QStringLiteral("CREATE DATABASE %1").arg(name), &m_error))
        return;
    m_database = name;
    writeSettings(name);
}

ProgramFolder::ProgramFolder(Engine engine, const QString &path, const QString &database,
                             bool fresh)
    : m_engine(engine), m_path(path)
{
    const QString data = path + QLatin1Char('/') + Database::dataFolderName();
    if (fresh && engine == Engine::Sqlite && !QDir(data).removeRecursively()) {
        m_error = QStringLiteral("%1 could not be removed").arg(data);
        return;
    }
    if (!QDir().mkpath(path)) {
        m_error = QStringLiteral("%1 could not be made").arg(path);
        return;
    }
    if (engine != Engine::Postgres)
        return;
    QVariant exists;
    if (fresh
        && !onServer(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database), &m_error))
        return;
    if (!onServer(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = '%1'")
                      .arg(database),
                  &m_error, &exists))
        return;
    if (exists.toInt() == 0
        && !onServer(QStringLiteral("CREATE DATABASE %1").arg(database), &m_error))
        return;
    writeSettings(database);
}

void ProgramFolder::writeSettings(const QString &database)
{
    // The server PostgreSQL's environment names; the password stays in the environment.
    ConnectionSettings settings;
    settings.engine = Engine::Postgres;
    settings.host = qEnvironmentVariable("PGHOST");
    settings.port = qEnvironmentVariableIntValue("PGPORT");
    settings.user = qEnvironmentVariable("PGUSER");
    settings.database = database;
    settings.write(m_path, &m_error);
}

ProgramFolder::~ProgramFolder()
{
    QString error;
    if (!m_database.isEmpty()
        && !onServer(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database), &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
}

void Outcome::goal(const QString &what, bool met)
{
    if (!met)
        m_missed << what;
}

void Outcome::fileGoal(const QString &what, bool met)
{
    if (m_engine == Engine::Sqlite)
        goal(what, met);
}

namespace {

QString engineName(Engine engine)
{
    return engine == Engine::Postgres ? QStringLiteral("PostgreSQL server")
                                      : QStringLiteral("SQLite file");
}

constexpr double kServerLimitMs = 50;
constexpr double kServerRatio = 3;

// The server's goals on the figures of a server run, against the file run's when there is one.
void holdServerFigures(Outcome &server, const Outcome *file)
{
    for (const Figure &figure : server.figures()) {
        if (!figure.interactive)
            continue;
        server.goal(
            QStringLiteral("%1 under %2 ms on the server").arg(figure.name).arg(kServerLimitMs),
            figure.value < kServerLimitMs);
        if (!file)
            continue;
        for (const Figure &same : file->figures())
            if (same.name == figure.name)
                server.goal(QStringLiteral("%1 within %2x of the file on the server")
                                .arg(figure.name)
                                .arg(kServerRatio),
                    figure.value <= kServerRatio * same.value);
    }
}

void printSideBySide(const Outcome &file, const Outcome &server)
{
    std::printf("\n%-52s %12s %12s %8s\n", "figure", "SQLite", "server", "ratio");
    for (const Figure &figure : file.figures()) {
        const Figure *other = nullptr;
        for (const Figure &same : server.figures())
            if (same.name == figure.name)
                other = &same;
        const QByteArray unit = figure.unit.toUtf8();
        const QString name = figure.interactive ? figure.name : figure.name + QStringLiteral(" *");
        if (!other) {
            std::printf(
                "%-52s %9.2f %-2s %12s\n", qPrintable(name), figure.value, unit.constData(), "-");
            continue;
        }
        std::printf("%-52s %9.2f %-2s %9.2f %-2s %7.2fx\n", qPrintable(name), figure.value,
            unit.constData(), other->value, unit.constData(),
            figure.value > 0 ? other->value / figure.value : 0.0);
    }
    std::printf("(* held to no goal of the server)\n");
}

} // namespace

QVector<Engine> enginesChosen(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--engine"));
    const QString word = at < 0 ? QStringLiteral("sqlite") : arguments.value(at + 1);
    if (word == QLatin1String("sqlite"))
        return { Engine::Sqlite };
    if (word == QLatin1String("postgresql"))
        return { Engine::Postgres };
    if (word == QLatin1String("both"))
        return { Engine::Sqlite, Engine::Postgres };
    std::fprintf(
        stderr, "--engine takes sqlite, postgresql or both, not \"%s\"\n", qPrintable(word));
    return {};
}

int runOnEngines(const QStringList &arguments, const QString &goals,
                 const std::function<Outcome(Engine)> &run, const QString &serverGoals)
{
    const QVector<Engine> engines = enginesChosen(arguments);
    if (engines.isEmpty())
        return 2;
    QVector<Outcome> outcomes;
    for (Engine engine : engines) {
        if (engines.size() > 1)
            std::printf(
                "%s== %s ==\n", outcomes.isEmpty() ? "" : "\n", qPrintable(engineName(engine)));
        std::fflush(stdout);
        outcomes << run(engine);
        std::fflush(stdout);
    }
    const Outcome *file = nullptr;
    for (const Outcome &outcome : std::as_const(outcomes))
        if (outcome.engine() == Engine::Sqlite)
            file = &outcome;
    for (Outcome &outcome : outcomes)
        if (outcome.engine() == Engine::Postgres && outcome.notMeasuredWhy().isEmpty()
            && serverGoals.isEmpty())
            holdServerFigures(outcome, file);
    if (outcomes.size() == 2 && outcomes[1].notMeasuredWhy().isEmpty())
        printSideBySide(outcomes[0], outcomes[1]);
    bool met = true;
    QStringList judged;
    for (const Outcome &outcome : std::as_const(outcomes)) {
        const QString name = engineName(outcome.engine());
        for (const QString &missed : outcome.missed())
            std::printf("goal missed (%s): %s\n", qPrintable(name), qPrintable(missed));
        met = met && outcome.missed().isEmpty();
        if (!outcome.notMeasuredWhy().isEmpty()) {
            std::printf("%s: not measured yet (%s)\n", qPrintable(name),
                qPrintable(outcome.notMeasuredWhy()));
            judged << QStringLiteral("server: not measured yet");
        } else if (outcome.engine() == Engine::Sqlite)
            judged << QStringLiteral("SQLite: %1").arg(goals);
        else if (!serverGoals.isEmpty())
            judged << QStringLiteral("server: %1").arg(serverGoals);
        else if (file == nullptr)
            judged << QStringLiteral("server: interactive figures under %1 ms; the %2x "
                                     "comparison needs --engine both")
                          .arg(kServerLimitMs)
                          .arg(kServerRatio);
        else
            judged << QStringLiteral("server: interactive figures within %1x of SQLite and "
                                     "under %2 ms")
                          .arg(kServerRatio)
                          .arg(kServerLimitMs);
    }
    std::printf("%s (%s)\n", met ? "every goal met" : "GOAL MISSED",
        qPrintable(judged.join(QStringLiteral("; "))));
    return met ? 0 : 1;
}

} // namespace lumkar::bench
