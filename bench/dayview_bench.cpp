// Day view benchmark: databases of 20,000 and 200,000 appointments over ten years for ten
// users; medians of a login with its day refresh, the full refresh and a change of working
// date, and the program's peak memory. "--engine sqlite|postgresql|both" chooses the engine;
// "--small" runs the smaller database only.

#include "app/forms.h"
#include "app/session.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "benchkit.h"
#include "data/transaction.h"
#include "kit/dialogs.h"
#include "notes/notespanes.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

const QDate kFirstDay(2017, 1, 1);
const QDate kWorkingDay(2022, 6, 15);
constexpr int kAppointmentsOnTheWorkingDays = 60;

bool fill(QSqlDatabase &db, int appointments)
{
    Transaction transaction(db);
    BulkInsert persons(db, QStringLiteral("siciltablo"),
        QStringLiteral("sicil_kodu, adi, soyadi, tel1, isadresi"));
    for (int p = 1; p <= 5000; ++p)
        persons << QString::number(p) << QStringLiteral("Ad%1").arg(p % 700)
                << QStringLiteral("Soyad%1").arg(p % 900) << QStringLiteral("(212) 555 12 34")
                << QStringLiteral("Bir Mahalle, Bir Sokak No 5\r\nİstanbul\r\n");
    bool ok = addUsers(db) && persons.finish();
    // The working day and the next hold the same 60 appointments at every size, the others
    // fall on the other days of the ten years: the lists show the same rows whatever the size
    // of the table, so the figures tell whether the cost follows the table or the rows shown.
    const int days = int(kFirstDay.daysTo(kFirstDay.addYears(10)));
    ok = ok && addAppointments(db, appointments, [&](QRandomGenerator &random, int index) {
        if (index < kAppointmentsOnTheWorkingDays)
            return kWorkingDay.addDays(index % 2);
        QDate day;
        do
            day = kFirstDay.addDays(random.bounded(days));
        while (day == kWorkingDay || day == kWorkingDay.addDays(1));
        return day;
    });
    return ok && endFill(transaction, db);
}

struct Figures {
    double refresh = 0;
    double refreshAll = 0;
    double peakMb = 0;
};

Figures run(Engine engine, int appointments, Outcome &outcome)
{
    ProgramFolder dir(engine);
    if (!dir.isValid()) {
        outcome.fail(dir.errorText());
        return {};
    }
    SilentDialogs dialogs(true);
    Session session(dir.path(), dialogs);
    std::unique_ptr<Forms> forms = createForms(session);
    forms->PasswordDlg->show();
    if (!forms->PasswordDlg->openConnection(true)) {
        outcome.fail(QStringLiteral("the database did not open"));
        return {};
    }
    QElapsedTimer build;
    build.start();
    if (!fill(session.db(), appointments)) {
        outcome.fail(QStringLiteral("the database could not be filled"));
        return {};
    }
    const double fillSeconds = build.elapsed() / 1000.0;

    Tanamenuf *main = forms->anamenuf;
    auto login = [&] {
        forms->PasswordDlg->kullan->setText(QStringLiteral("lumkar"));
        forms->PasswordDlg->Password->clear();
        forms->PasswordDlg->OKBtnClick();
    };
    login();
    main->setWorkingDate(kWorkingDay);
    main->gunYenile();
    const int shown = main->dayLists()->randevuTable->recordCount()
        + main->dayLists()->ffQuery1->recordCount() + main->dayLists()->ffQuery4->recordCount();
    const double loginMs = timeIt(15, [&] {
        main->N7KullaniciDegistir();
        login();
    });
    main->setWorkingDate(kWorkingDay);
    main->gunYenile();
    const double refreshMs = timeIt(31, [&] { main->JvNavPanelButton10Click(); });
    main->dayLists()->CheckBox2->setChecked(true);
    const double refreshAllMs = timeIt(31, [&] { main->JvNavPanelButton10Click(); });
    const int shownAll = main->dayLists()->randevuTable->recordCount()
        + main->dayLists()->ffQuery1->recordCount() + main->dayLists()->ffQuery4->recordCount();
    main->dayLists()->CheckBox2->setChecked(false);
    int step = 0;
    const double dateMs = timeIt(
        31, [&] { main->dayLists()->JvDateTimePicker1->setDate(kWorkingDay.addDays(++step % 2)); });
    std::printf("%7d appointments (database built in %.1f s), %d rows shown (%d for all users)\n",
                appointments, fillSeconds, shown, shownAll);
    std::printf("  login with day refresh  %7.2f ms\n", loginMs);
    std::printf("  full refresh (own)      %7.2f ms\n", refreshMs);
    std::printf("  full refresh (all)      %7.2f ms\n", refreshAllMs);
    std::printf("  change of working date  %7.2f ms\n", dateMs);
    const double peakMb = peakMemoryKb() / 1024.0;
    std::printf("  peak memory             %7.1f MB\n", peakMb);
    const QString size = QLocale(QLocale::English).toString(appointments);
    outcome.addOther(size + QStringLiteral(": fill"), fillSeconds, QStringLiteral("s"));
    outcome.add(size + QStringLiteral(": login with day refresh"), loginMs);
    outcome.add(size + QStringLiteral(": full refresh (own)"), refreshMs);
    outcome.add(size + QStringLiteral(": full refresh (all)"), refreshAllMs);
    outcome.add(size + QStringLiteral(": change of working date"), dateMs);
    forms.reset();
    return {refreshMs, refreshAllMs, peakMb};
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool smallOnly = args.contains(QStringLiteral("--small"));
    return runOnEngines(args,
        QStringLiteral("refresh under 30 ms and within 2x of 20,000, memory under 150 MB"),
        [&](Engine engine) {
            Outcome outcome(engine);
            const Figures small = run(engine, 20000, outcome);
            if (smallOnly)
                return outcome;
            const Figures large = run(engine, 200000, outcome);
            // The full refresh under 30 ms at 200,000 appointments, growing with the rows shown
            // and not with the table (within twice the figure at 20,000), memory under 150 MB.
            outcome.fileGoal(QStringLiteral("full refresh under 30 ms"),
                large.refresh < 30 && large.refreshAll < 30);
            outcome.fileGoal(QStringLiteral("full refresh within 2x of 20,000"),
                large.refresh < 2 * std::max(small.refresh, 1.0)
                    && large.refreshAll < 2 * std::max(small.refreshAll, 1.0));
            outcome.fileGoal(QStringLiteral("peak memory under 150 MB"), large.peakMb < 150);
            return outcome;
        });
}
