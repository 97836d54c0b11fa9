#include "app/forms.h"
#include "app/programfolders.h"
#include "app/session.h"
#include "kit/dialogs.h"
#include "shell/baglanti.h"
#include "shell/sifre.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>

int main(int argc, char **argv)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("Ekran bulunamadı: programı sanal ekranda başlatmak için "
                   "\"xvfb-run -a ./lumkar\" yazın.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumkar Dorvalen"));
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    // Qt's own texts (file pickers, the progress dialog, the boxes' edit menu) in Turkish.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    lumkar::QtDialogs dialogs;
    // Beside the executable when it may write there, else in the user's data folder.
    const lumkar::ProgramFolders folders = lumkar::chooseProgramFolders(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // Saved connection settings start the program again over the new database: every window
    // and the connection are made anew, so that nothing of the old database stays behind.
    int rc = 0;
    bool again = true;
    while (again) {
        again = false;
        lumkar::Session session(folders.data, dialogs, folders.help);
        std::unique_ptr<lumkar::Forms> forms = lumkar::createForms(session);
        QObject::connect(forms->PasswordDlg, &lumkar::TPasswordDlg::programEnded, &app,
                         &QApplication::quit, Qt::QueuedConnection);
        QObject::connect(
            forms->baglantiF, &lumkar::TbaglantiF::settingsSaved, &app,
            [&again] {
                // Leaves the event loop without closing the windows: quit() would close the
                // login dialog, and that ends the program.
                again = true;
                QApplication::exit(0);
            },
            Qt::QueuedConnection);
        forms->PasswordDlg->show();
        // The database is opened (and made on the very first start) as the login dialog
        // appears, so that a missing or broken file is reported at once; logging in tries
        // again.
        forms->PasswordDlg->openConnection(true);
        rc = app.exec();
        forms.reset();
    }
    return rc;
}
