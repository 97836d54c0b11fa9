// Where the program keeps its data and finds its help: beside the executable when it may write
// there, else in the user's data folder; help beside the executable or in the package's share
// folder.

#include "testregistry.h"

#include "app/programfolders.h"
#include "app/session.h"
#include "data/database.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;

namespace {

void writeFile(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Makes `folder` refuse new files: by its permissions, and for a user the permissions do not
// hold back (root) by the immutable attribute. False when neither works here.
bool makeReadOnly(const QString &folder)
{
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (!folderAcceptsFiles(folder))
        return true;
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0
        && !folderAcceptsFiles(folder);
}

void makeWritable(const QString &folder)
{
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class ProgramFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void portableCopyKeepsEverythingBesideTheExecutable()
    {
        QTemporaryDir root;
        const QString program = QDir(root.path()).filePath(QStringLiteral("program"));
        const QString user = QDir(root.path()).filePath(QStringLiteral("home/veri"));
        writeFile(QDir(program).filePath(QStringLiteral("ygiris")));
        const ProgramFolders folders = chooseProgramFolders(program, user);
        QCOMPARE(folders.data, program);
        QCOMPARE(folders.help, program);
        QVERIFY(!QDir(user).exists()); // nothing made where it is not used
        QVERIFY(QDir(program).entryList(QDir::Files | QDir::Hidden).size() == 1); // probe gone
    }

    void readOnlyInstallUsesTheUserDataFolder()
    {
        QTemporaryDir root;
        const QString prefix = QDir(root.path()).filePath(QStringLiteral("usr"));
        const QString bin = QDir(prefix).filePath(QStringLiteral("bin"));
        const QString user = QDir(root.path()).filePath(QStringLiteral("home/.local/share/L D"));
        writeFile(QDir(prefix).filePath(QStringLiteral("share/lumkar-dorvalen/help/ygiris")),
                  "<html><body>Giriş</body></html>");
        QVERIFY(QDir().mkpath(bin));
        if (!makeReadOnly(bin))
            QSKIP("no way to make a folder read-only for this user here");
        const ProgramFolders folders = chooseProgramFolders(bin, user);
        makeWritable(bin);
        QCOMPARE(folders.data, user);
        QVERIFY(QDir(user).exists());
        QCOMPARE(folders.help, QDir(prefix).filePath(QStringLiteral("share/lumkar-dorvalen/help")));

        // A session there makes its database on the first start and reads help from share.
        test::ScriptedDialogs dialogs;
        Session session(folders.data, dialogs, folders.help);
        QCOMPARE(session.GetPathPath(), user + QLatin1Char('/'));
        QCOMPARE(session.filePath(QStringLiteral("Ayar.ini")),
                 QDir(user).filePath(QStringLiteral("Ayar.ini")));
        QVERIFY(QFile::exists(session.helpFilePath(QStringLiteral("ygiris"))));
        QVERIFY(session.database().open());
        QVERIFY(QFile::exists(QDir(user).filePath(Database::dataFolderName() + QLatin1Char('/')
                                                  + Database::fileName())));
        QVERIFY(dialogs.shown().isEmpty());
    }

    void folderThatCannotHoldFilesIsNotUsed()
    {
        QTemporaryDir root;
        // A path below a plain file: no user can make anything there.
        const QString blocked = QDir(root.path()).filePath(QStringLiteral("dosya"));
        writeFile(blocked);
        const QString bin = QDir(blocked).filePath(QStringLiteral("bin"));
        QVERIFY(!folderAcceptsFiles(bin));
        QVERIFY(!folderAcceptsFiles(blocked));
        QVERIFY(folderAcceptsFiles(root.path()));
        const QString user = QDir(root.path()).filePath(QStringLiteral("veri"));
        const ProgramFolders folders = chooseProgramFolders(bin, user);
        QCOMPARE(folders.data, user);
        // No help anywhere: it is looked for beside the executable, as before.
        QCOMPARE(folders.help, QDir(bin).absolutePath());
    }
};

LUMKAR_TEST(ProgramFoldersTest)
#include "tst_programfolders.moc"
