// Times a backup and a restore of a database with 50,000 persons, 200,000 appointments and
// 500,000 person-account lines: the consistent copy, the zip archive at level 9 and its
// read-back check; the archive check, the unpacking, the integrity check and the swap of the
// file with the old one kept beside it. Medians of repeated runs, and the cost per 100 MB of
// database. Goal: under 3 s per 100 MB for each. Exits 1 when a figure misses its goal.
// "--folder DIR" keeps the built database in DIR for later runs; "--archive PATH" keeps the
// last archive at PATH, for a look with other zip tools. "--engine" is taken as by the other
// benchmarks; the program does not back up a server's data yet, so on a server nothing is
// measured.

#include "backup/backuparchive.h"
#include "benchkit.h"
#include "data/database.h"
#include "data/transaction.h"
#include "data/values.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

constexpr int kPersons = 50000;
constexpr int kAppointments = 200000;
constexpr int kAccountLines = 500000;
constexpr double kGoalSecondsPer100Mb = 3.0;

const char *const kFirstNames[] = { "Ayşe", "Mehmet", "Zeynep", "Ahmet", "Elif", "Mustafa", "Fatma",
    "Emre", "Şule", "İbrahim", "Gül", "Çağrı" };
const char *const kSurnames[] = { "Yılmaz", "Kaya", "Demir", "Şahin", "Çelik", "Yıldız", "Öztürk",
    "Aydın", "Arslan", "Doğan", "Kılıç", "Işık" };
const char *const kPackages[]
    = { "Cilt Bakımı 10 Seans", "Masaj 5 Seans", "Lazer 8 Seans", "Diyet Danışmanlığı", "Manikür" };

bool refused(const BulkInsert &insert)
{
    std::fprintf(stderr, "insert failed: %s\n", qPrintable(insert.errorText()));
    return false;
}

// Fills the database in one transaction through prepared inserts of many rows (fixed random
// seed).
bool buildDatabase(const QString &folder)
{
    Database database(folder);
    if (!database.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(database.errorText()));
        return false;
    }
    std::mt19937 random(20241209u);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    auto text
        = [&pick](const char *const *list, int n) { return QString::fromUtf8(list[pick(n)]); };
    auto phone = [&pick] {
        return QStringLiteral("(532) %1 %2 %3")
            .arg(100 + pick(900))
            .arg(10 + pick(90))
            .arg(10 + pick(90));
    };
    const QDate first(2020, 1, 1);
    QSqlDatabase db = database.db();
    Transaction transaction(db);
    BulkInsert persons(db, QStringLiteral("siciltablo"),
        QStringLiteral("sicil_kodu, adi, soyadi, tel1, ceptel, isadresi, email"));
    for (int i = 1; i <= kPersons; ++i) {
        const QString adi = text(kFirstNames, 12);
        persons << QString::number(i) << adi;
        persons << text(kSurnames, 12);
        persons << phone();
        persons << phone();
        persons << QStringLiteral("Gül Sokak No: %1\r\nKadıköy İstanbul").arg(1 + pick(200));
        persons << QString(adi.toLower() + QStringLiteral("@ornek.com.tr"));
    }
    if (!persons.finish())
        return refused(persons);
    BulkInsert appointments(db, QStringLiteral("randevu"),
        QStringLiteral("sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, "
                       "randevutarihi, randevusaati, telefonu, islem_tutari, "
                       "paketkodu, paketadi, pakettutari, randevuyualan"));
    for (int i = 0; i < kAppointments; ++i) {
        appointments << QString::number(1 + pick(kPersons));
        appointments << text(kFirstNames, 12);
        appointments << text(kSurnames, 12);
        appointments << QStringLiteral("lumkar") << QStringLiteral("Lumkar Kullanıcı");
        appointments << values::dayKey(first.addDays(pick(1800)));
        appointments << values::toDatabase(
            values::timeOfDay(QTime(8 + pick(10), 15 * pick(4))), FieldType::DateTime);
        appointments << phone();
        appointments << double(50 * (1 + pick(40)));
        appointments << 1 + pick(5);
        appointments << text(kPackages, 5);
        appointments << double(500 * (1 + pick(10)));
        appointments << QStringLiteral("Lumkar Kullanıcı");
    }
    if (!appointments.finish())
        return refused(appointments);
    BulkInsert account(db, QStringLiteral("cari"),
        QStringLiteral("sicilkodu, adi, soyadi, tarih, randevuno, borc, alacak, "
                       "odemesekli, aciklama, gorusen, paketadi"));
    for (int i = 0; i < kAccountLines; ++i) {
        const bool debt = pick(2) == 0;
        account << QString::number(1 + pick(kPersons));
        account << text(kFirstNames, 12);
        account << text(kSurnames, 12);
        account << values::dayKey(first.addDays(pick(1800)));
        account << 1 + pick(kAppointments);
        account << (debt ? double(50 * (1 + pick(40))) : 0.0);
        account << (debt ? 0.0 : double(50 * (1 + pick(40))));
        account << (debt ? QString() : QStringLiteral("Nakit"))
                << (debt ? QStringLiteral("Görüşme ücreti") : QStringLiteral("Tahsilat"))
                << QStringLiteral("Lumkar Kullanıcı");
        account << text(kPackages, 5);
    }
    if (!account.finish())
        return refused(account);
    const bool committed = endFill(transaction, db);
    database.close();
    return committed;
}

// The processor time this process has used, in milliseconds: on a shared machine it shows
// the cost apart from the waiting for a processor.
double processorMilliseconds()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

// Runs an action and adds the processor time it took to `samples`.
void onProcessorClock(QVector<double> &samples, const std::function<void()> &action)
{
    const double start = processorMilliseconds();
    action();
    samples << processorMilliseconds() - start;
}

void removeKeptCopies(const QString &dataFolder)
{
    QDir folder(dataFolder);
    for (const QString &name : folder.entryList({ QStringLiteral("*.onceki") }, QDir::Files))
        folder.remove(name);
}

Outcome run(Engine engine)
{
    Outcome outcome(engine);
    if (engine == Engine::Postgres) {
        outcome.notMeasured(QStringLiteral("the program does not back up a server's data yet"));
        return outcome;
    }
    const int runs = 3;
    // "--folder DIR" builds the database in DIR once and uses it again on later runs.
    QTemporaryDir temporary;
    QString programFolder = temporary.path();
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--folder"));
        at >= 0 && at + 1 < arguments.size())
        programFolder = arguments.at(at + 1);
    QTemporaryDir target;
    QElapsedTimer setup;
    setup.start();
    Database database(programFolder);
    const bool built = !QFileInfo::exists(database.filePath());
    if (built && !buildDatabase(programFolder)) {
        outcome.fail(QStringLiteral("the database could not be built"));
        return outcome;
    }
    const QString dataFolder = database.dataFolder();
    const double megabytes = QFileInfo(database.filePath()).size() / (1024.0 * 1024.0);
    std::printf("database of %d persons, %d appointments, %d account lines: %.1f MB", kPersons,
        kAppointments, kAccountLines, megabytes);
    if (built) {
        std::printf(", built in %.1f s\n", setup.elapsed() / 1000.0);
        outcome.addOther(QStringLiteral("fill"), setup.elapsed() / 1000.0, QStringLiteral("s"));
    } else
        std::printf(", built by an earlier run\n");

    const QString archive = target.filePath(QStringLiteral("LumkarRandevu_bench.zip"));
    bool failed = false;
    QVector<double> backupProcessor;
    QVector<double> restoreProcessor;
    const double backup = timeIt(
        runs, [&] { QFile::remove(archive); },
        [&] {
            onProcessorClock(backupProcessor, [&] {
                BackupWriter writer;
                if (!writer.backupDataFolder(dataFolder, Database::fileName(), archive)) {
                    std::fprintf(stderr, "backup failed: %s\n", qPrintable(writer.errorText()));
                    failed = true;
                }
            });
        });
    const double archiveMegabytes = QFileInfo(archive).size() / (1024.0 * 1024.0);
    std::printf("backup (copy, zip at level 9, read back): %.0f ms (processor %.0f ms), "
                "archive %.1f MB\n",
        backup, median(backupProcessor), archiveMegabytes);

    const double restore = timeIt(
        runs, [&] { removeKeptCopies(dataFolder); },
        [&] {
            onProcessorClock(restoreProcessor, [&] {
                DatabaseRestore restorer(dataFolder, Database::fileName());
                if (!restorer.prepare(archive) || !restorer.replace(QDateTime::currentDateTime())) {
                    std::fprintf(stderr, "restore failed: %s\n", qPrintable(restorer.errorText()));
                    failed = true;
                }
            });
        });
    std::printf("restore (check, unpack, integrity check, swap): %.0f ms (processor %.0f ms)\n",
        restore, median(restoreProcessor));
    if (failed) {
        outcome.fail(QStringLiteral("a backup or a restore failed"));
        return outcome;
    }
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--archive"));
        at >= 0 && at + 1 < arguments.size()) {
        QFile::remove(arguments.at(at + 1));
        if (!QFile::copy(archive, arguments.at(at + 1)))
            std::fprintf(stderr, "the archive could not be kept\n");
    }

    const double backupPer100 = backup / 1000.0 / (megabytes / 100.0);
    const double restorePer100 = restore / 1000.0 / (megabytes / 100.0);
    std::printf("backup per 100 MB of database: %.2f s (goal under %.0f s)\n", backupPer100,
        kGoalSecondsPer100Mb);
    std::printf("restore per 100 MB of database: %.2f s (goal under %.0f s)\n", restorePer100,
        kGoalSecondsPer100Mb);
    outcome.addOther(QStringLiteral("backup"), backup);
    outcome.addOther(QStringLiteral("restore"), restore);
    outcome.fileGoal(
        QStringLiteral("backup under 3 s per 100 MB"), backupPer100 < kGoalSecondsPer100Mb);
    outcome.fileGoal(
        QStringLiteral("restore under 3 s per 100 MB"), restorePer100 < kGoalSecondsPer100Mb);
    return outcome;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return runOnEngines(QCoreApplication::arguments(),
        QStringLiteral("backup and restore under 3 s per 100 MB each"), run);
}
