// Times a backup and a restore of a database with 50,000 persons, 200,000 appointments and
// 500,000 person-account lines: the consistent copy, the zip archive at level 9 and its
// read-back check; the archive check, the unpacking, the integrity check and the swap of the
// file with the old one kept beside it. Medians of repeated runs, and the cost per 100 MB of
// database. Goal: under 3 s per 100 MB for each. Exits 1 when a figure misses its goal.
// "--folder DIR" keeps the built database in DIR for later runs; "--archive PATH" keeps the
// last archive at PATH, for a look with other zip tools.

#include "backup/backuparchive.h"
#include "benchkit.h"
#include "data/database.h"
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

bool run(QSqlQuery &q)
{
    if (q.exec())
        return true;
    std::fprintf(stderr, "insert failed\n");
    return false;
}

// Fills the database in one transaction through prepared inserts (fixed random seed).
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
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi, tel1, ceptel, "
                             "isadresi, email) VALUES (?,?,?,?,?,?,?)"));
    for (int i = 1; i <= kPersons; ++i) {
        const QString adi = text(kFirstNames, 12);
        q.addBindValue(QString::number(i));
        q.addBindValue(adi);
        q.addBindValue(text(kSurnames, 12));
        q.addBindValue(phone());
        q.addBindValue(phone());
        q.addBindValue(QStringLiteral("Gül Sokak No: %1\r\nKadıköy İstanbul").arg(1 + pick(200)));
        q.addBindValue(QString(adi.toLower() + QStringLiteral("@ornek.com.tr")));
        if (!run(q))
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO randevu (sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, "
                             "randevutarihi, randevusaati, telefonu, islem_tutari, paketkodu, "
                             "paketadi, pakettutari, randevuyualan) "
                             "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < kAppointments; ++i) {
        q.addBindValue(QString::number(1 + pick(kPersons)));
        q.addBindValue(text(kFirstNames, 12));
        q.addBindValue(text(kSurnames, 12));
        q.addBindValue(QStringLiteral("lumkar"));
        q.addBindValue(QStringLiteral("Lumkar Kullanıcı"));
        q.addBindValue(values::dayKey(first.addDays(pick(1800))));
        q.addBindValue(values::toDatabase(
            values::timeOfDay(QTime(8 + pick(10), 15 * pick(4))), FieldType::DateTime));
        q.addBindValue(phone());
        q.addBindValue(double(50 * (1 + pick(40))));
        q.addBindValue(1 + pick(5));
        q.addBindValue(text(kPackages, 5));
        q.addBindValue(double(500 * (1 + pick(10))));
        q.addBindValue(QStringLiteral("Lumkar Kullanıcı"));
        if (!run(q))
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO cari (sicilkodu, adi, soyadi, tarih, randevuno, borc, "
                             "alacak, odemesekli, aciklama, gorusen, paketadi) "
                             "VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < kAccountLines; ++i) {
        const bool debt = pick(2) == 0;
        q.addBindValue(QString::number(1 + pick(kPersons)));
        q.addBindValue(text(kFirstNames, 12));
        q.addBindValue(text(kSurnames, 12));
        q.addBindValue(values::dayKey(first.addDays(pick(1800))));
        q.addBindValue(1 + pick(kAppointments));
        q.addBindValue(debt ? double(50 * (1 + pick(40))) : 0.0);
        q.addBindValue(debt ? 0.0 : double(50 * (1 + pick(40))));
        q.addBindValue(debt ? QString() : QStringLiteral("Nakit"));
        q.addBindValue(debt ? QStringLiteral("Görüşme ücreti") : QStringLiteral("Tahsilat"));
        q.addBindValue(QStringLiteral("Lumkar Kullanıcı"));
        q.addBindValue(text(kPackages, 5));
        if (!run(q))
            return false;
    }
    const bool committed = db.commit();
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
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
    if (built && !buildDatabase(programFolder))
        return 1;
    const QString dataFolder = database.dataFolder();
    const double megabytes = QFileInfo(database.filePath()).size() / (1024.0 * 1024.0);
    std::printf("database of %d persons, %d appointments, %d account lines: %.1f MB", kPersons,
        kAppointments, kAccountLines, megabytes);
    if (built)
        std::printf(", built in %.1f s\n", setup.elapsed() / 1000.0);
    else
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
    if (failed)
        return 1;
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
    const bool met = backupPer100 < kGoalSecondsPer100Mb && restorePer100 < kGoalSecondsPer100Mb;
    std::printf("%s\n", met ? "every figure met its goal" : "MISSED: a figure missed its goal");
    return met ? 0 : 1;
}
