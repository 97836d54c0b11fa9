// Times the person list over a register of 50,000 persons (fixed random seed): opening the
// list as the main window opens it, a name filter ("Kısıtlayarak Ara"), one "Peşpeşe Ara" step
// (a near hit and a search through the whole list), a title-click sort, and the code of a new
// person. Medians of repeated runs, in milliseconds. "--engine sqlite|postgresql|both"
// chooses the engine.

#include "app/forms.h"
#include "app/session.h"
#include "benchkit.h"
#include "data/database.h"
#include "data/transaction.h"
#include "kit/dialogs.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

bool buildRegister(const QString &folder, int count)
{
    Database database(folder);
    if (!database.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(database.errorText()));
        return false;
    }
    QSqlDatabase db = database.db();
    Transaction transaction(db);
    const bool added = addPersons(db, count);
    std::mt19937 random(20240611u);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    // Appointments of the persons, so that the new code reads a real appointment table.
    BulkInsert appointments(db, QStringLiteral("randevu"), QStringLiteral("sicil_kodu, adi"));
    for (int i = 0; i < 2 * count; ++i)
        appointments << QString::number(1 + pick(count)) << QStringLiteral("x");
    if (!added || !appointments.finish() || !endFill(transaction, db)) {
        std::fprintf(stderr, "insert failed: %s\n", qPrintable(appointments.errorText()));
        return false;
    }
    database.close();
    return true;
}

Outcome run(Engine engine)
{
    Outcome outcome(engine);
    const int count = 50000;
    const int runs = 15;
    ProgramFolder dir(engine);
    if (!dir.isValid()) {
        outcome.fail(dir.errorText());
        return outcome;
    }
    QElapsedTimer setup;
    setup.start();
    if (!buildRegister(dir.path(), count)) {
        outcome.fail(QStringLiteral("the register could not be built"));
        return outcome;
    }
    outcome.addOther(QStringLiteral("fill"), setup.elapsed() / 1000.0, QStringLiteral("s"));
    std::printf("register of %d persons built in %.0f ms\n", count, setup.elapsed() * 1.0);

    SilentDialogs dialogs;
    Session session(dir.path(), dialogs);
    std::unique_ptr<Forms> forms = createForms(session);
    forms->PasswordDlg->kullan->setText(QStringLiteral("lumkar"));
    forms->PasswordDlg->Password->clear();
    forms->PasswordDlg->OKBtnClick();
    if (!forms->PasswordDlg->loggedIn()) {
        outcome.fail(QStringLiteral("login failed"));
        return outcome;
    }
    Tanamenuf *main = forms->anamenuf;
    Tsicrapor *list = forms->sicrapor;
    auto hideList = [list] { list->hide(); };

    const double open = timeIt(runs, hideList, [main] { main->N2KisiListeleri(); });
    std::printf("open the list (%d rows shown): %.1f ms\n", list->sicrapQuery->recordCount(),
                open);

    const double filter = timeIt(
        runs,
        [list] {
            list->JvDotNetEdit1->setText(QStringLiteral("Ka"));
            list->sicrapQuery->setFiltered(false);
        },
        [list] { list->araButtonClick(); });
    std::printf("name filter \"Ka\" (%d rows pass): %.1f ms\n",
                list->sicrapQuery->recordCount(), filter);

    const double step = timeIt(
        runs,
        [list] {
            list->JvDotNetEdit1->setText(QStringLiteral("Işık"));
            list->sicrapQuery->setFiltered(false);
        },
        [list] { list->SpeedButton1Click(); });
    std::printf("search step \"Işık\" (next hit): %.1f ms\n", step);

    const double whole = timeIt(
        runs,
        [list] {
            list->JvDotNetEdit1->setText(QStringLiteral("Zzq"));
            list->Telefon1Edit->setText(QStringLiteral("(999) 999 99 99"));
        },
        [list] { list->SpeedButton1Click(); });
    std::printf("search step without a match (whole list): %.1f ms\n", whole);

    list->yeniButClick();
    const double sort = timeIt(runs, [] {}, [list] { list->titleClick(2); });
    std::printf("title click sort by surname: %.1f ms\n", sort);

    Tozluk *record = forms->ozluk;
    const double code = timeIt(
        runs, [record] { record->sicilTable->cancel(); }, [record] { record->YeniKisi(); });
    std::printf("new person (next code %s): %.1f ms\n",
                qPrintable(record->JvDotNetDBEdit2->text()), code);
    record->sicilTable->cancel();

    outcome.add(QStringLiteral("open the list"), open);
    outcome.add(QStringLiteral("name filter"), filter);
    outcome.add(QStringLiteral("search step, next hit"), step);
    outcome.add(QStringLiteral("search step without a match"), whole);
    outcome.add(QStringLiteral("title click sort by surname"), sort);
    outcome.add(QStringLiteral("new person's code"), code);
    // Opening the list, the name filter and a search step each under 100 ms.
    outcome.fileGoal(QStringLiteral("open, filter and search step each under 100 ms"),
        open < 100 && filter < 100 && step < 100 && whole < 100);
    forms.reset();
    return outcome;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    return runOnEngines(
        app.arguments(), QStringLiteral("open, filter and search step under 100 ms"), run);
}
