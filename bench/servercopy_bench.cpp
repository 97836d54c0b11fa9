// Times the copy of a desk's database onto a PostgreSQL server and the server's snapshot back
// into a database file (what a server backup packs), on a database made by
// "bench_backup --folder DIR" (50,000 persons, 200,000 appointments, 500,000 account lines).
// Run it where PGHOST, PGPORT, PGUSER and PGPASSWORD name a server that lets the user create
// databases, for example under pg_virtualenv:
//   pg_virtualenv -- build/bench/bench_servercopy --folder DIR
// Goal: each direction in well under a minute. Exits 1 when a copy fails or misses it.

#include "data/database.h"
#include "data/tablecopy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

using namespace lumkar;

namespace {

constexpr double kGoalSeconds = 30.0;

// Runs a statement on the server's maintenance database.
bool onServer(const QString &sql)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench"));
    db.setDatabaseName(QStringLiteral("postgres"));
    bool ok = db.open() && QSqlQuery(db).exec(sql);
    if (!ok)
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(db.lastError().text()));
    db.close();
    return ok;
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--folder"));
    if (at < 0 || at + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: bench_servercopy --folder DIR (made by bench_backup)\n");
        return 2;
    }
    Database desk(arguments.at(at + 1));
    const QString deskFile = desk.filePath();
    const double megabytes = QFileInfo(deskFile).size() / (1024.0 * 1024.0);

    const QString name = QStringLiteral("lumkar_bench_%1").arg(QCoreApplication::applicationPid());
    if (!onServer(QStringLiteral("CREATE DATABASE %1").arg(name)))
        return 1;
    int result = 0;
    {
        QTemporaryDir programFolder;
        ConnectionSettings settings;
        settings.engine = Engine::Postgres;
        settings.database = name;
        settings.write(programFolder.path());
        Database server(programFolder.path());
        if (!server.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(server.errorText()));
            return 1;
        }
        FileConnection file(deskFile, true);
        if (!file.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(file.errorText()));
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        const TableCopy up = copyTables(file.db(), server.db());
        const double upSeconds = seconds(timer);
        if (!up.ok) {
            std::fprintf(stderr, "copy onto the server failed: %s\n", qPrintable(up.errorText));
            result = 1;
        }
        std::printf("desk file of %.1f MB, %lld rows, onto the server: %.1f s (%.0f rows/s)\n",
            megabytes, totalRows(up.copied), upSeconds, totalRows(up.copied) / upSeconds);

        QTemporaryDir target;
        timer.start();
        const TableCopy down
            = copyIntoNewFile(server.db(), target.filePath(QStringLiteral("Tovaskel.mdb")));
        const double downSeconds = seconds(timer);
        if (!down.ok) {
            std::fprintf(stderr, "snapshot failed: %s\n", qPrintable(down.errorText));
            result = 1;
        }
        std::printf("server's snapshot into a new file with its indexes and day totals: %.1f s\n",
            downSeconds);
        std::printf("%s\n", qPrintable(tableRowsText(down.copied)));
        if (upSeconds > kGoalSeconds || downSeconds > kGoalSeconds) {
            std::printf("goal missed: each direction under %.0f s\n", kGoalSeconds);
            result = 1;
        }
    }
    onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    return result;
}
