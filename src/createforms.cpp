#include "app/forms.h"
#include "runprogram.h"

#include "app/programfolders.h"
#include "app/session.h"

#include "accounts/cari.h"
#include "accounts/gunsonu.h"
#include "accounts/ledger.h"
#include "accounts/primrapor.h"
#include "appointments/aylik.h"
#include "appointments/entrypanel.h"
#include "appointments/hatirlatma.h"
#include "appointments/iptal.h"
#include "appointments/randevu.h"
#include "backup/girisR.h"
#include "kit/boxnames.h"
#include "kit/controls.h"
#include "kit/grid.h"
#include "notes/genelnot.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "shell/baglanti.h"
#include "shell/sifre.h"
#include "shell/sifreler.h"
#include "shell/yardim.h"
#include "visits/gorusme.h"
#include "visits/paketler.h"

#include <QCoreApplication>

namespace lumkar {

std::unique_ptr<Forms> createForms(Session &session)
{
    auto forms = std::make_unique<Forms>();
    Forms &f = *forms;
    f.PasswordDlg = new TPasswordDlg(f, session);
    f.anamenuf = new Tanamenuf(f, session);
    f.entryForm = f.anamenuf->entryForm();
    f.dayLists = f.anamenuf->dayLists();
    f.notesPanes = f.anamenuf->notesPanes();
    f.sicrapor = new Tsicrapor(f, session);
    f.ozluk = new Tozluk(f, session);
    f.randevuF = new TrandevuF(f, session);
    f.sifrelerF = new TsifrelerF(f, session);
    f.iptalF = new TiptalF(f, session);
    f.gorusmeF = new TgorusmeF(f, session);
    f.aylikF = new TaylikF(f, session);
    f.cariF = new TcariF(f, session);
    f.genelnotF = new TgenelnotF(f, session);
    f.yardimF = new TyardimF(f, session);
    f.help = f.yardimF;
    f.paketlerF = new TpaketlerF(f, session);
    f.kasaF = new TkasaF(f, session);
    f.kkartF = new TkkartF(f, session);
    f.girisRF = new TgirisRF(f, session);
    f.hatirlatmaF = new ThatirlatmaF(f, session);
    f.gunsonuF = new TgunsonuF(f, session);
    f.primF = new TprimF(f, session);
    f.baglantiF = new TbaglantiF(f, session);
    // A login: every window fits itself to the user, the main window (and its parts) last.
    const auto fit = [&f](auto *window) {
        QObject::connect(f.PasswordDlg, &TPasswordDlg::userLoggedIn, window,
                         [window](const LoggedInUser &user) { window->fitToUser(user); });
    };
    fit(f.randevuF);
    fit(f.aylikF);
    fit(f.gorusmeF);
    fit(f.kasaF);
    fit(f.kkartF);
    fit(f.hatirlatmaF);
    fit(f.gunsonuF);
    fit(f.primF);
    fit(f.anamenuf);
    // A person written in the person record goes into the appointment entry's code box.
    QObject::connect(f.ozluk, &Tozluk::personSaved, f.entryForm, &EntryForm::setEntryPersonCode);
    // A restore replaced the database: the windows read their data again.
    QObject::connect(f.girisRF, &TgirisRF::databaseReplaced, f.PasswordDlg,
                     &TPasswordDlg::reopenOpenDataSets);
    // A visit saved from an appointment refreshes the day; a new person asked for by the person
    // accounts is entered as the main window's new-person item does.
    QObject::connect(f.gorusmeF, &TgorusmeF::appointmentHeld, f.anamenuf,
                     [main = f.anamenuf] { main->JvNavPanelButton10Click(); });
    QObject::connect(f.cariF, &TcariF::newPersonWanted, f.anamenuf, &Tanamenuf::N1KisiGiris);
    // The windows opened over others give the keyboard back to their opener when they hide.
    f.keyboardReturn = std::make_unique<KeyboardReturn>(nullptr);
    for (QWidget *window :
         std::initializer_list<QWidget *>{f.sicrapor, f.ozluk, f.randevuF, f.sifrelerF, f.iptalF,
                                          f.gorusmeF, f.aylikF, f.cariF, f.genelnotF, f.yardimF,
                                          f.paketlerF, f.kasaF, f.kkartF, f.girisRF,
                                          f.hatirlatmaF, f.gunsonuF, f.primF, f.baglantiF})
        f.keyboardReturn->watch(window);
    // Every list can go to a spreadsheet; the user list stays inside the program.
    for (QWidget *window : std::initializer_list<QWidget *>{
             f.anamenuf, f.sicrapor, f.ozluk, f.randevuF, f.iptalF, f.gorusmeF, f.aylikF,
             f.cariF, f.genelnotF, f.paketlerF, f.kasaF, f.kkartF, f.hatirlatmaF, f.gunsonuF, f.primF})
        offerGridExports(window, session.dialogs());
    // Every entry box has a name a screen reader says: the caption it sits beside.
    for (QWidget *window : f.windows())
        nameEntryBoxes(window);
    return forms;
}

int runProgram(const ProgramFolders &folders, Dialogs &dialogs,
               const std::function<void(Forms &)> &started)
{
    int rc = 0;
    bool again = true;
    while (again) {
        again = false;
        Session session(folders.data, dialogs, folders.help);
        std::unique_ptr<Forms> forms = createForms(session);
        QObject::connect(forms->PasswordDlg, &TPasswordDlg::programEnded, qApp,
                         &QCoreApplication::quit, Qt::QueuedConnection);
        QObject::connect(
            forms->baglantiF, &TbaglantiF::settingsSaved, qApp,
            [&again] {
                // Leaves the event loop without closing the windows: quit() would close the
                // login dialog, and that ends the program.
                again = true;
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
        forms->PasswordDlg->show();
        // The database is opened (and made on the very first start) as the login dialog
        // appears, so that a missing or broken file is reported at once; logging in tries
        // again.
        forms->PasswordDlg->openConnection(true);
        if (started)
            started(*forms);
        rc = QCoreApplication::exec();
        forms.reset();
    }
    return rc;
}

QList<QWidget *> Forms::windows() const
{
    return {PasswordDlg, anamenuf, sicrapor, ozluk,    randevuF,  sifrelerF, iptalF, gorusmeF,
            aylikF,      cariF,    genelnotF, yardimF, paketlerF, kasaF,     kkartF, girisRF,
            hatirlatmaF, gunsonuF, primF,   baglantiF};
}

Forms::~Forms()
{
    // Destroyed in the reverse order of creation; no window asks anything on the way, and
    // no window is activated on the way.
    keyboardReturn.reset();
    help = nullptr;
    entryForm = nullptr;
    dayLists = nullptr;
    notesPanes = nullptr;
    delete baglantiF;
    delete primF;
    delete gunsonuF;
    delete hatirlatmaF;
    delete girisRF;
    delete kkartF;
    delete kasaF;
    delete paketlerF;
    delete yardimF;
    delete genelnotF;
    delete cariF;
    delete aylikF;
    delete gorusmeF;
    delete iptalF;
    delete sifrelerF;
    delete randevuF;
    delete ozluk;
    delete sicrapor;
    delete anamenuf;
    delete PasswordDlg;
}

} // namespace lumkar
