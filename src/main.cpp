#include "app/forms.h"
#include "app/programfolders.h"
#include "kit/dialogs.h"
#include "runprogram.h"

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
    return lumkar::runProgram(folders, dialogs);
}
