// Times the appointment entry over 200,000 appointments, 50,000 persons and 500 packages
// (fixed random seed): saving a new appointment with the waiting list read again, a person
// found by code, a person found by the first letters of the name, a package found by code.
// Medians of repeated runs in milliseconds; the last line says whether every figure met its
// goal, and the exit code is 1 when one did not. "--engine sqlite|postgresql|both" chooses the
// engine.

#include "app/forms.h"
#include "app/session.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "benchkit.h"
#include "data/database.h"
#include "data/transaction.h"
#include "data/values.h"
#include "kit/maskedit.h"
#include "shell/sifre.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>
#include <random>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

const QDate kWorkingDay(2030, 6, 14);

bool buildData(const QString &folder, int persons, int appointments, int packages)
{
    Database database(folder);
    if (!database.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(database.errorText()));
        return false;
    }
    static const char *const firstNames[] = {"Ayşe", "Mehmet", "Zeynep", "Ahmet", "Elif",
                                             "Mustafa", "Fatma", "Emre", "Şule", "İbrahim",
                                             "Gül", "Çağrı", "Özlem", "Ümit", "Hülya", "Kamil"};
    static const char *const surnames[] = {"Yılmaz", "Kaya", "Demir", "Şahin", "Çelik",
                                           "Yıldız", "Öztürk", "Aydın", "Arslan", "Doğan"};
    std::mt19937 random(20300614u);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    QSqlDatabase db = database.db();
    Transaction transaction(db);
    BulkInsert people(
        db, QStringLiteral("siciltablo"), QStringLiteral("sicil_kodu, adi, soyadi, tel1"));
    for (int i = 1; i <= persons; ++i) {
        people << QString::number(i) << QString::fromUtf8(firstNames[pick(std::size(firstNames))]);
        people << QString::fromUtf8(surnames[pick(std::size(surnames))]);
        people << QStringLiteral("(212) 555 %1 %2").arg(10 + pick(90)).arg(10 + pick(90));
    }
    if (!people.finish())
        return false;
    BulkInsert catalogue(
        db, QStringLiteral("paketler"), QStringLiteral("paketkodu, paketadi, tutar, primoran"));
    for (int i = 1; i <= packages; ++i) {
        catalogue << i << QStringLiteral("Paket %1").arg(i);
        catalogue << 50.0 + pick(500);
        catalogue << double(pick(10));
    }
    if (!catalogue.finish())
        return false;
    BulkInsert booked(db, QStringLiteral("randevu"),
        QStringLiteral("sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, "
                       "randevutarihi, randevusaati, islem_tutari"));
    for (int i = 0; i < appointments; ++i) {
        booked << QString::number(1 + pick(persons)) << QStringLiteral("Kişi")
               << QStringLiteral("Soyad") << QStringLiteral("lumkar")
               << QStringLiteral("Lumkar Yönetici");
        booked << values::dayKey(kWorkingDay.addDays(pick(2000) - 1000));
        booked << values::toDatabase(
            values::timeOfDay(QTime(8 + pick(10), 15 * pick(4))), FieldType::DateTime);
        booked << 100.0;
    }
    if (!booked.finish() || !endFill(transaction, db))
        return false;
    database.close();
    return true;
}

Outcome run(Engine engine)
{
    Outcome outcome(engine);
    const int runs = 21;
    ProgramFolder dir(engine);
    if (!dir.isValid()) {
        outcome.fail(dir.errorText());
        return outcome;
    }
    QElapsedTimer setup;
    setup.start();
    if (!buildData(dir.path(), 50000, 200000, 500)) {
        outcome.fail(QStringLiteral("the data could not be built"));
        return outcome;
    }
    outcome.addOther(QStringLiteral("fill"), setup.elapsed() / 1000.0, QStringLiteral("s"));
    std::printf("200,000 appointments, 50,000 persons, 500 packages built in %.0f ms\n",
                setup.elapsed() * 1.0);

    SilentDialogs dialogs(true);
    Session session(dir.path(), dialogs);
    std::unique_ptr<Forms> forms = createForms(session);
    forms->PasswordDlg->kullan->setText(QStringLiteral("lumkar"));
    forms->PasswordDlg->Password->clear();
    forms->PasswordDlg->OKBtnClick();
    if (!forms->PasswordDlg->loggedIn()) {
        outcome.fail(QStringLiteral("login failed"));
        return outcome;
    }
    forms->dayLists->JvDateTimePicker1->setDate(kWorkingDay);
    EntryForm *entry = forms->entryForm;
    const QString day = kWorkingDay.toString(QStringLiteral("dd.MM.yyyy"));
    int person = 0;

    const double save = timeIt(
        runs,
        [&] {
            entry->kisinoedit->setText(QString::number(++person));
            entry->personByCode();
            entry->paketkoduEdit->setText(QString::number(1 + person % 500));
            static_cast<MaskedEdit *>(entry->RTarihiEdit)->setMaskedText(day);
            static_cast<MaskedEdit *>(entry->RSaatiEdit)->setMaskedText(QStringLiteral("09:30"));
        },
        [&] {
            if (!entry->save())
                std::fprintf(stderr, "the save was refused\n");
        });
    std::printf("save a new appointment, waiting list read again (%d shown): %.2f ms\n",
                forms->dayLists->randevuTable->recordCount(), save);

    const double byCode = timeIt(
        runs, [&] { entry->kisinoedit->setText(QString::number(20000 + ++person)); },
        [&] { entry->personByCode(); });
    std::printf("person by code: %.2f ms\n", byCode);

    const double byName = timeIt(
        runs,
        [&] {
            entry->AdiEdit->setText(QStringLiteral("Ze"));
            entry->SoyadiEdit->setText(QStringLiteral("Ka"));
        },
        [&] { entry->personByName(); });
    std::printf("person by the first letters of the name: %.2f ms\n", byName);

    const double package = timeIt(
        runs, [&] { entry->paketkoduEdit->setText(QString::number(1 + ++person % 500)); },
        [&] { entry->packageByCode(); });
    std::printf("package by code: %.2f ms\n", package);

    outcome.add(QStringLiteral("save a new appointment"), save);
    outcome.add(QStringLiteral("person by code"), byCode);
    outcome.add(QStringLiteral("person by the first letters of the name"), byName);
    outcome.add(QStringLiteral("package by code"), package);
    outcome.fileGoal(QStringLiteral("save under 30 ms"), save < 30);
    outcome.fileGoal(
        QStringLiteral("lookups under 10 ms"), byCode < 10 && byName < 10 && package < 10);
    forms.reset();
    return outcome;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    return runOnEngines(
        app.arguments(), QStringLiteral("save under 30 ms, lookups under 10 ms"), run);
}
