#pragma once
// What the benchmarks share: a dialog seam that shows nothing, medians of timed runs, the
// process's peak memory, bulk inserts for the fills, and the choice of engine: each benchmark
// runs its figures on the embedded file, on a PostgreSQL server, or on both side by side.

#include "data/connectionsettings.h"
#include "data/transaction.h"
#include "kit/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

class QRandomGenerator;

namespace lumkar::bench {

// The process of a benchmark: without a display it draws offscreen, Qt's own notices stay out
// of the figures, and numbers and dates follow Turkish conventions.
class BenchApplication {
public:
    BenchApplication(int &argc, char **argv);
    QStringList arguments() const { return QCoreApplication::arguments(); }

private:
    struct Environment {
        Environment();
    };
    Environment m_environment; // set up before the application exists
    QApplication m_application;
};

// Answers every question with Yes. A message is printed; with `stopOnMessage` it also ends
// the benchmark, for runs in which no message may appear.
class SilentDialogs : public Dialogs {
public:
    explicit SilentDialogs(bool stopOnMessage = false) : m_stop(stopOnMessage) {}
    std::unique_ptr<Progress> startProgress(const QString &, int) override;

protected:
    void showInformation(const QString &, const QString &text) override { told(text); }
    void showWarning(const QString &, const QString &text) override { told(text); }
    void showError(const QString &, const QString &text) override { told(text); }
    Answer askQuestion(const QString &, const QString &, Buttons, Icon) override
    {
        return Answer::Yes;
    }
    bool askInput(const QString &, const QString &, QString &) override { return false; }
    QString askOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString askSaveFile(const QString &, const QString &, const QString &,
                        const QString &) override
    {
        return {};
    }
    QString askFolder(const QString &, const QString &) override { return {}; }

private:
    void told(const QString &text) const;
    bool m_stop;
};

double median(QVector<double> samples);

// Runs `prepare` untimed, then `action` timed together with the events it posts, `runs`
// times; the median in milliseconds.
double timeIt(int runs, const std::function<void()> &prepare,
              const std::function<void()> &action);
inline double timeIt(int runs, const std::function<void()> &action)
{
    return timeIt(runs, [] {}, action);
}
// The same for an action whose cost is not known beforehand: at least `minRuns` runs, then
// more up to `maxRuns` while the timed runs together took less than `budgetMs`. The number of
// runs made in `made` when asked.
double timeWithin(int minRuns, int maxRuns, double budgetMs, const std::function<void()> &prepare,
                  const std::function<void()> &action, int *made = nullptr);

// Medians of the wall-clock time and of this process's CPU time, in milliseconds. On a
// machine busy with other work the wall clock also counts their turns; the CPU time does not.
struct Timing {
    double wall = 0;
    double cpu = 0;
};
Timing measure(int runs, const std::function<void()> &action);

// Adds the users user1 to user9 beside "lumkar", all with every right. False when refused.
bool addUsers(QSqlDatabase &db);

// A person of the register as the fills make it.
struct PersonName {
    QString code;
    QString adi;
    QString soyadi;
};
// Adds persons with the codes 1 to `count`, Turkish first names and surnames, phones, an
// address and an e-mail (fixed random seed); their names in `names` when asked. False when
// refused.
bool addPersons(QSqlDatabase &db, int count, QVector<PersonName> *names = nullptr);

// Adds appointments for the ten users with a day from `dayOf` (given the random source and
// the appointment's number): a tenth cancelled, three tenths held, times 09:00 to 17:45. The
// person from `personOf` when given, else a code up to 5,000 with a made-up name. False when
// refused.
bool addAppointments(QSqlDatabase &db, int count,
                     const std::function<QDate(QRandomGenerator &, int)> &dayOf,
                     const std::function<PersonName(QRandomGenerator &)> &personOf = {});

// The peak resident memory of this process in kB, -1 where it cannot be read.
long peakMemoryKb();

// Inserts rows into one table through a prepared statement of many rows, each value bound:
// a few hundred values a statement, within what either engine takes, so that a fill costs a
// statement per hundreds of rows and not per row. Values are added in column order; a row is
// complete after as many values as there are columns ("a, b, c"). The rows still held are sent
// by finish() (or on destruction). The caller holds the transaction.
class BulkInsert {
public:
    BulkInsert(QSqlDatabase db, const QString &table, const QString &columns);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    BulkInsert &operator<<(const QVariant &value);
    // Sends what is held; false when a statement failed (its cause in errorText()).
    bool finish();
    bool ok() const { return m_error.isEmpty(); }
    QString errorText() const { return m_error; }

private:
    QString statement(int rows) const;
    bool send(QSqlQuery &query);

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    QVariantList m_values;
    QSqlQuery m_full; // prepared once for a statement of m_rowsPerStatement rows
    bool m_fullPrepared = false;
    QString m_error;
};

// Ends a fill: commits its transaction, then brings the engine's statistics of the tables up
// to date (schema::refreshStatistics), as after any large load. False when either failed.
bool endFill(Transaction &transaction, QSqlDatabase db);

// A program folder for one run of a benchmark: a temporary folder (inside `parent` when one
// is given). On the server a fresh database is made for it through a maintenance connection
// to the server PostgreSQL's environment names (PGHOST, PGPORT, PGUSER, PGPASSWORD), and the
// folder's Baglanti.ini points at it; the database is dropped with the folder.
class ProgramFolder {
public:
    explicit ProgramFolder(Engine engine, const QString &parent = QString());
    // A kept program folder at `path`, made when missing, with the server's database
    // `database` made when missing (on the file the folder alone); neither is removed
    // afterwards. With `fresh` the database (or the folder's data folder) is made anew.
    ProgramFolder(Engine engine, const QString &path, const QString &database, bool fresh);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    bool isValid() const { return m_error.isEmpty(); }
    QString errorText() const { return m_error; }
    QString path() const { return m_path; }
    Engine engine() const { return m_engine; }

private:
    void writeSettings(const QString &database);

    Engine m_engine;
    std::optional<QTemporaryDir> m_dir; // a temporary folder's
    QString m_path;
    QString m_database; // the server's database made for this folder, dropped with it
    QString m_error;
};

// One timed figure of a run. Interactive figures are what a user waits for at a desk: on the
// server each is held to the server's goals (within 3x of the same figure on the embedded
// file in the same run, and under 50 ms).
struct Figure {
    QString name;
    double value = 0;
    QString unit = QStringLiteral("ms");
    bool interactive = true;
};

// What one run of a benchmark on one engine gives: its figures, and the goals it missed.
class Outcome {
public:
    explicit Outcome(Engine engine) : m_engine(engine) { }
    Engine engine() const { return m_engine; }

    void add(const QString &name, double value, const QString &unit = QStringLiteral("ms"))
    {
        m_figures.append({ name, value, unit });
    }
    // A figure shown side by side but held to no goal of the server (a fill, a batch job).
    void addOther(const QString &name, double value, const QString &unit = QStringLiteral("ms"))
    {
        m_figures.append({ name, value, unit, false });
    }
    // A goal of every engine (what the data must show, a batch job's time).
    void goal(const QString &what, bool met);
    // A goal of the embedded file only (its speed goals, how its cost grows with the size).
    void fileGoal(const QString &what, bool met);
    // The run could not be made (no database, a refused login): a goal missed.
    void fail(const QString &why) { m_missed << why; }
    // The benchmark does not measure this engine yet, for the reason given.
    void notMeasured(const QString &why) { m_notMeasured = why; }

    const QVector<Figure> &figures() const { return m_figures; }
    const QStringList &missed() const { return m_missed; }
    QString notMeasuredWhy() const { return m_notMeasured; }

private:
    Engine m_engine;
    QVector<Figure> m_figures;
    QStringList m_missed;
    QString m_notMeasured;
};

// The engines a benchmark runs on, as the command line chooses with "--engine sqlite"
// (the default), "--engine postgresql" or "--engine both"; empty, with a line on stderr, for
// another word.
QVector<Engine> enginesChosen(const QStringList &arguments);

// The one entry of every benchmark into its figures: runs `run` on each engine the command
// line chooses, prints each run's figures, with both engines a line per figure side by side
// (embedded file, server, their ratio), holds the server's interactive figures to their goals
// and ends with one line saying whether every goal (`goals` names the embedded file's) was
// met. Returns the exit code: 1 when a goal was missed on any engine, 2 for a wrong option.
// A benchmark that holds the server to goals of its own (`serverGoals` names them) sets them
// in its run; the server's shared goals are then not applied.
int runOnEngines(const QStringList &arguments, const QString &goals,
                 const std::function<Outcome(Engine)> &run, const QString &serverGoals = {});

} // namespace lumkar::bench
