#include "backup/serverdata.h"

#include "backup/backuparchive.h"
#include "backup/backuprules.h"
#include "data/database.h"
#include "data/schema.h"
#include "kit/dialogs.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlQuery>

namespace lumkar {

namespace {

const QString kUnchanged = QStringLiteral("\n\rSunucudaki bilgiler değişmedi.");

QString countText(qlonglong n)
{
    return QLocale(QLocale::Turkish, QLocale::Turkey).toString(n);
}

// A zip archive, by its first bytes (or its name, when it cannot be read).
bool isArchive(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.read(4) == QByteArrayLiteral("PK\x03\x04");
    return path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

// The copy's progress on a display of kBackupProgressMaximum steps.
CopyProgress onDisplay(Progress &progress)
{
    return [&progress](qlonglong done, qlonglong total) {
        progress.setValue(total > 0 ? int(done * kBackupProgressMaximum / total) : 0);
        return !progress.wasCanceled();
    };
}

// The desk's data checked under a progress display that is gone when this returns (what is
// told next is told over the window, not under the display).
bool prepareWithProgress(
    DeskData &desk, Dialogs &dialogs, const QString &path, const QString &label)
{
    const std::unique_ptr<Progress> progress = dialogs.startProgress(label, kBackupProgressMaximum);
    const bool prepared = desk.prepare(path, progress.get());
    progress->finish();
    return prepared;
}

TableCopy copyWithProgress(
    const DeskData &desk, Database &server, Dialogs &dialogs, const QString &label)
{
    const std::unique_ptr<Progress> progress = dialogs.startProgress(label, kBackupProgressMaximum);
    const TableCopy copy = copyDeskData(desk, server, onDisplay(*progress));
    progress->finish();
    return copy;
}

} // namespace

DeskData::DeskData() = default;
DeskData::~DeskData() = default;

bool DeskData::prepare(const QString &path, Progress *progress)
{
    m_databasePath.clear();
    m_error.clear();
    m_canceled = false;
    if (isArchive(path)) {
        m_restore = std::make_unique<DatabaseRestore>(QDir::tempPath(), Database::fileName());
        m_restore->setProgress(progress);
        if (!m_restore->prepare(path)) {
            m_canceled = m_restore->canceled();
            m_error = m_restore->errorText();
            return false;
        }
        m_databasePath = m_restore->preparedDatabasePath();
        return true;
    }
    const QString cause = checkProgramDatabase(path, [progress](int done, int total) {
        if (!progress)
            return true;
        progress->setValue(total > 0 ? done * kBackupProgressMaximum / total : 0);
        return !progress->wasCanceled();
    });
    if (!cause.isEmpty()) {
        m_canceled = progress && progress->wasCanceled();
        m_error
            = QStringLiteral("\"%1\" kullanılamaz: %2").arg(QDir::toNativeSeparators(path), cause);
        return false;
    }
    m_databasePath = path;
    return true;
}

QStringList DeskData::leftAside() const
{
    return m_restore ? m_restore->leftAside() : QStringList();
}

TableCopy copyDeskData(const DeskData &desk, Database &server, const CopyProgress &progress)
{
    FileConnection file(desk.databasePath(), true);
    if (!file.open()) {
        TableCopy failed;
        failed.errorText = file.errorText();
        return failed;
    }
    return copyTables(file.db(), server.db(), progress);
}

qlonglong rowsToReplace(QSqlDatabase &server, QSqlError *error)
{
    QVector<TableRows> rows;
    if (!countTableRows(server, rows, error))
        return -1;
    const qlonglong total = totalRows(rows);
    const auto rowsOf = [&rows](const QString &table) {
        for (const TableRows &r : rows)
            if (r.table == table)
                return r.rows;
        return qlonglong(0);
    };
    if (total != 2 || rowsOf(QStringLiteral("master")) != 1 || rowsOf(QStringLiteral("sifre")) != 1)
        return total;
    // The one user is the first start's, still without a password.
    QSqlQuery q(server);
    q.prepare(QStringLiteral("SELECT count(*) FROM sifre WHERE kullanici = ? AND "
                             "COALESCE(sifre, '') = ''"));
    q.addBindValue(schema::defaultUser());
    if (!q.exec() || !q.next()) {
        if (error)
            *error = q.lastError();
        return -1;
    }
    return q.value(0).toInt() == 1 ? 0 : total;
}

QString replaceRowsQuestion(qlonglong rows)
{
    return QStringLiteral("Sunucudaki veritabanında %1 satır var. Bu satırlar silinip yerine "
                          "masaüstü verisi yazılsın mı?")
        .arg(countText(rows));
}

bool moveDeskDataToServer(Database &server, Dialogs &dialogs, const QString &startFolder)
{
    const QString title = programTitle();
    if (server.engine() != Engine::Postgres) {
        dialogs.information(title,
            QStringLiteral("Program bir veritabanı sunucusuna bağlı "
                           "değil; masaüstü verisi zaten bu masada."));
        return false;
    }
    if (!server.open()) {
        dialogs.error(title, server.errorText());
        return false;
    }
    const QString path = dialogs.openFile(QStringLiteral("Masaüstü Verisini Sunucuya Taşı"),
        startFolder, QStringLiteral("Masaüstü verisi (Tovaskel.mdb *.mdb *.zip)"));
    if (path.isEmpty())
        return false;
    const QString notMoved = QStringLiteral("Masaüstü verisi sunucuya taşınmadı: ");
    const QString canceled = QStringLiteral("Taşıma iptal edildi; sunucudaki bilgiler değişmedi.");
    DeskData desk;
    if (!prepareWithProgress(
            desk, dialogs, path, QStringLiteral("Masaüstü verisi denetleniyor..."))) {
        if (desk.canceled())
            dialogs.information(title, canceled);
        else
            dialogs.error(title, notMoved + desk.errorText() + kUnchanged);
        return false;
    }
    QSqlError error;
    const qlonglong present = rowsToReplace(server.db(), &error);
    if (present < 0) {
        server.noteFailure(error);
        dialogs.error(title, notMoved + failureText(error) + kUnchanged);
        return false;
    }
    if (present > 0
        && dialogs.question(title, replaceRowsQuestion(present), Buttons::YesNo, Icon::Warning)
            != Answer::Yes)
        return false;
    const TableCopy copy = copyWithProgress(
        desk, server, dialogs, QStringLiteral("Masaüstü verisi sunucuya yazılıyor..."));
    if (copy.canceled) {
        dialogs.information(title, canceled);
        return false;
    }
    if (!copy.ok) {
        dialogs.error(title, notMoved + copy.errorText + kUnchanged);
        return false;
    }
    dialogs.information(title,
        QStringLiteral("Masaüstü verisi sunucuya taşındı.\n\r") + tableRowsText(copy.copied));
    return true;
}

bool restoreOntoServer(Database &server, Dialogs &dialogs, const QString &archive,
    const QString &backupFolder, const QDateTime &now)
{
    const QString title = programTitle();
    const auto refuse = [&](const QString &cause) {
        dialogs.error(title, restoreRefusedText(cause));
        return false;
    };
    const auto cancel = [&] {
        dialogs.information(title, restoreCanceledText());
        return false;
    };
    if (!server.open())
        return refuse(server.errorText());
    DeskData desk;
    if (!prepareWithProgress(desk, dialogs, archive, QStringLiteral("Yedekten geri yükleniyor...")))
        return desk.canceled() ? cancel() : refuse(desk.errorText());
    // Every desk works on these rows: none may be at work while they are replaced.
    QSqlError error;
    const int others = server.otherConnections(&error);
    if (others < 0)
        return refuse(failureText(error));
    if (others > 0)
        return refuse(QStringLiteral("sunucudaki veritabanına şu anda %1 başka masa bağlı. Geri "
                                     "yükleme bütün masaların bilgilerini değiştirir; önce o "
                                     "masalarda programı kapatın.")
                          .arg(others));

    // The server's rows as they are now, kept first.
    if (!QDir().mkpath(backupFolder))
        return refuse(QStringLiteral("güvenlik yedeği için \"%1\" klasörü oluşturulamadı.")
                          .arg(QDir::toNativeSeparators(backupFolder)));
    const QString safety = QDir(backupFolder).filePath(safetyArchiveName(now));
    BackupWriter writer;
    bool kept = false;
    {
        const std::unique_ptr<Progress> progress = dialogs.startProgress(
            QStringLiteral("Geri yüklemeden önce sunucunun yedeği alınıyor..."),
            kBackupProgressMaximum);
        writer.setProgress(progress.get());
        kept = writer.backupServer(server.db(), Database::fileName(), safety);
        progress->finish();
    }
    if (!kept)
        return writer.canceled()
            ? cancel()
            : refuse(QStringLiteral("geri yüklemeden önceki güvenlik yedeği alınamadı: ")
                + writer.errorText());

    const TableCopy copy = copyWithProgress(
        desk, server, dialogs, QStringLiteral("Yedekteki bilgiler sunucuya yazılıyor..."));
    if (copy.canceled)
        return cancel();
    if (!copy.ok)
        return refuse(copy.errorText);
    dialogs.information(title,
        restoreDoneText({ { Database::fileName(), safety } }, desk.leftAside())
            + QStringLiteral("\n\r") + tableRowsText(copy.copied));
    return true;
}

} // namespace lumkar
