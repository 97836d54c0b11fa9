#pragma once
// What the benchmarks share: a dialog seam that shows nothing, medians of timed runs and the
// process's peak memory.

#include "kit/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QVector>
#include <functional>

class QRandomGenerator;
class QSqlDatabase;

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

// Medians of the wall-clock time and of this process's CPU time, in milliseconds. On a
// machine busy with other work the wall clock also counts their turns; the CPU time does not.
struct Timing {
    double wall = 0;
    double cpu = 0;
};
Timing measure(int runs, const std::function<void()> &action);

// Adds the users user1 to user9 beside "lumkar", all with every right.
void addUsers(QSqlDatabase &db);
// Adds appointments for the ten users with a day from `dayOf` (given the random source and
// the appointment's number): a tenth cancelled, three tenths held, times 09:00 to 17:45.
void addAppointments(QSqlDatabase &db, int count,
                     const std::function<QDate(QRandomGenerator &, int)> &dayOf);

// The peak resident memory of this process in kB, -1 where it cannot be read.
long peakMemoryKb();

} // namespace lumkar::bench
