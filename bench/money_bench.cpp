// Money benchmark: 500,000 account lines, 300,000 cash lines, 100,000 card lines and 200,000
// visits over three years for five users, and the same at a tenth. Medians of the cash
// window's period (today, one user and all users) with its balance brought forward, one
// person's account totals, a visit save with its four writes, a visit deletion with its
// postings and the visit list of a month. Goals: each under 30 ms, and the cash period at
// full size within twice its cost at a tenth. Exits 1 when a goal is missed.
// "--engine sqlite|postgresql|both" chooses the engine.

#include "benchkit.h"
#include "accounts/cari.h"
#include "accounts/ledger.h"
#include "data/transaction.h"
#include "data/values.h"
#include "shell/anamenu.h"
#include "app/forms.h"
#include "app/session.h"
#include "shell/sifre.h"
#include "visits/gorusme.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <cstdio>

using namespace lumkar;
using namespace lumkar::bench;

namespace {

constexpr int kUsers = 5;
constexpr int kPersons = 5000;
constexpr int kSaves = 21;
constexpr double kGoalMs = 30.0;

QString userCode(int user)
{
    return user == 0 ? QStringLiteral("lumkar") : QStringLiteral("user%1").arg(user);
}

QString userName(int user)
{
    return user == 0 ? QStringLiteral("Lumkar Yönetici")
                     : QStringLiteral("Kullanıcı %1").arg(user);
}

struct Size {
    int accountLines;
    int cashLines;
    int cardLines;
    int visits;
};

// Three years of books ending yesterday; today holds only what the benchmark writes, and the
// waiting appointments of today that the saves turn into visits.
bool fill(QSqlDatabase &db, const Size &size)
{
    QRandomGenerator random(20261209);
    const QDate today = QDate::currentDate();
    const int days = 3 * 365;
    auto someDay = [&] { return values::dayKey(today.addDays(-1 - int(random.bounded(days)))); };
    Transaction transaction(db);
    const QString yes = QStringLiteral("E");
    BulkInsert users(db, QStringLiteral("sifre"),
        QStringLiteral("kullanici, sifre, adi, soyadi, ekle, degistir, herksesigor, "
                       "herkesidegistir, baskasirandevuver"));
    for (int u = 1; u < kUsers; ++u)
        users << userCode(u) << QStringLiteral("") << QStringLiteral("Kullanıcı")
              << QString::number(u) << yes << yes << yes << yes << yes;
    BulkInsert persons(db, QStringLiteral("siciltablo"), QStringLiteral("sicil_kodu, adi, soyadi"));
    for (int p = 1; p <= kPersons; ++p)
        persons << QString::number(p) << QStringLiteral("Ad%1").arg(p % 700)
                << QStringLiteral("Soyad%1").arg(p % 900);
    bool ok = users.finish() && persons.finish();
    BulkInsert visits(db, QStringLiteral("gorusmeler"),
        QStringLiteral("sicilkodu, adi, soyadi, tarih, saat, netice, randevuno, "
                       "islem_borcu, tahsiledilen, odemesekli, RKime, "
                       "gorusenadsoyad, paketkodu, paketadi"));
    const QVariant nine = values::toDatabase(values::timeOfDay(QTime(9, 0)), FieldType::DateTime);
    for (int v = 1; v <= size.visits; ++v) {
        const int user = int(random.bounded(kUsers));
        visits << QString::number(random.bounded(kPersons) + 1) << QStringLiteral("Ad")
               << QStringLiteral("Soyad");
        visits << someDay();
        visits << nine << QStringLiteral("Görüşme notu\r\n") << v << 400.0 << 100.0
               << QStringLiteral("Nakit") << userCode(user) << userName(user) << 3
               << QStringLiteral("Cilt Bakımı");
    }
    ok = ok && visits.finish();
    BulkInsert account(db, QStringLiteral("cari"),
        QStringLiteral("sicilkodu, adi, soyadi, tarih, islem_vadesi, borc, "
                       "alacak, gorusme_no, gorusen, odemesekli"));
    for (int i = 0; i < size.accountLines; ++i) {
        const bool visit = i < size.visits;
        const QString day = someDay();
        account << QString::number(random.bounded(kPersons) + 1) << QStringLiteral("Ad")
                << QStringLiteral("Soyad") << day << day << (visit ? QVariant(400.0) : QVariant())
                << 100.0 << (visit ? QVariant(i + 1) : QVariant());
        account << userName(int(random.bounded(kUsers))) << QStringLiteral("Nakit");
    }
    ok = ok && account.finish();
    for (const auto &[book, lines] : {std::pair{QStringLiteral("kasa"), size.cashLines},
                                      std::pair{QStringLiteral("kredikart"), size.cardLines}}) {
        BulkInsert movements(db, book,
            QStringLiteral("tarih, borc, alacak, gorusen_kodu, gorusen, "
                           "gorusme_no, aciklama"));
        for (int i = 0; i < lines; ++i) {
            const int user = int(random.bounded(kUsers));
            const bool outflow = random.bounded(10) == 0;
            movements << someDay();
            movements << (outflow ? QVariant() : QVariant(100.0))
                      << (outflow ? QVariant(35.0) : QVariant()) << userCode(user) << userName(user)
                      << (i < size.visits ? QVariant(i + 1) : QVariant())
                      << QStringLiteral("Cilt Bakımı - Ad Soyad");
        }
        ok = ok && movements.finish();
    }
    BulkInsert waiting(db, QStringLiteral("randevu"),
        QStringLiteral("sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, "
                       "randevutarihi, randevusaati, islem_tutari, paketkodu, "
                       "paketadi, paketprim"));
    for (int i = 0; i < kSaves; ++i)
        waiting << QString::number(i + 1) << QStringLiteral("Ad") << QStringLiteral("Soyad")
                << userCode(0) << userName(0) << values::dayKey(today) << nine << 400.0 << 3
                << QStringLiteral("Cilt Bakımı") << 5.0;
    return ok && waiting.finish() && endFill(transaction, db);
}

struct Figures {
    double cashOwn = 0;
    double cashAll = 0;
    double account = 0;
    double save = 0;
    double remove = 0;
    double month = 0;
    double monthCpu = 0;
};

Figures run(Engine engine, const Size &size, const QString &folder, Outcome &outcome)
{
    Figures f;
    ProgramFolder dir(engine, folder);
    if (!dir.isValid()) {
        outcome.fail(dir.errorText());
        return f;
    }
    SilentDialogs dialogs(true);
    Session session(dir.path(), dialogs);
    std::unique_ptr<Forms> forms = createForms(session);
    forms->PasswordDlg->show();
    if (!forms->PasswordDlg->openConnection(true)) {
        outcome.fail(QStringLiteral("the database did not open"));
        return f;
    }
    QElapsedTimer build;
    build.start();
    if (!fill(session.db(), size)) {
        outcome.fail(QStringLiteral("the database could not be filled"));
        return f;
    }
    const double fillSeconds = build.elapsed() / 1000.0;
    forms->PasswordDlg->kullan->setText(QStringLiteral("lumkar"));
    forms->PasswordDlg->Password->clear();
    forms->PasswordDlg->OKBtnClick();
    // What one commit costs on this disk with the program's settings (a full sync).
    const double commitMs = timeIt(11, [&] {
        Transaction transaction(session.db());
        QSqlQuery touch(session.db());
        touch.exec(QStringLiteral("UPDATE master SET mids = mids"));
        transaction.commit();
    });

    // The cash window's period: today, one user and every user.
    TkasaF *cash = forms->kasaF;
    forms->anamenuf->N9Kasa();
    f.cashOwn = timeIt(31, [&] { cash->BitBtn2Click(); });
    cash->CheckBox2->setChecked(true);
    f.cashAll = timeIt(31, [&] { cash->BitBtn2Click(); });
    const QString carried = cash->nakliyekunEdit->text();

    // One person's totals.
    TcariF *accounts = forms->cariF;
    forms->anamenuf->N6Cari();
    accounts->tarihBox->setChecked(false);
    accounts->firmakoduBox->setChecked(true);
    int person = 0;
    f.account = timeIt(31, [&] {
        accounts->setAccountPerson(QString::number(++person % kPersons + 1), QString(), QString());
    });
    const int personLines = accounts->cariTable->recordCount();

    // The user closes the cash and account windows and records visits.
    cash->hide();
    accounts->hide();
    // Visit saves from today's waiting appointments, then their deletions.
    TgorusmeF *visits = forms->gorusmeF;
    visits->CheckBox2->setChecked(true);
    QSqlQuery waiting(session.db());
    waiting.exec(QStringLiteral("SELECT rid FROM randevu ORDER BY rid"));
    QList<qlonglong> rids;
    while (waiting.next())
        rids << waiting.value(0).toLongLong();
    int next = 0;
    f.save = timeIt(kSaves,
                    [&] {
                        visits->startVisit(rids.value(next++));
                        visits->tahsiledilenEdit->setText(QStringLiteral("150"));
                    },
                    [&] { visits->kaydetButClick(); });
    const int saved = visits->gorusmeTable->recordCount();
    f.remove = timeIt(kSaves, [&] { visits->gorusmeTable->first(); },
                      [&] { visits->SatirSilClick(); });
    const int left = visits->gorusmeTable->recordCount();

    // A month of visits of every user.
    const QDate today = QDate::currentDate();
    visits->JvDateTimePicker1->setDate(today.addMonths(-2));
    visits->JvDateTimePicker2->setDate(today.addMonths(-1));
    const Timing month = measure(31, [&] { visits->JvNavPanelButton8Click(); });
    f.month = month.wall;
    f.monthCpu = month.cpu;
    const int monthRows = visits->gorusmeTable->recordCount();

    std::printf("%d account, %d cash, %d card lines, %d visits (built in %.1f s)\n",
                size.accountLines, size.cashLines, size.cardLines, size.visits, fillSeconds);
    std::printf("  cash period, one user     %7.2f ms\n", f.cashOwn);
    std::printf("  cash period, all users    %7.2f ms  (brought forward %s)\n", f.cashAll,
                qPrintable(carried));
    std::printf("  one person's totals       %7.2f ms  (%d lines)\n", f.account, personLines);
    std::printf("  visit save, four writes   %7.2f ms  (%d visits today)\n", f.save, saved);
    std::printf("  visit deletion            %7.2f ms  (%d left)\n", f.remove, left);
    std::printf("  visit list of a month     %7.2f ms  (%d visits; processor %.2f ms)\n", f.month,
                monthRows, f.monthCpu);
    std::printf("  a bare commit on this disk %6.2f ms\n", commitMs);
    std::printf("  peak memory               %7.1f MB\n", peakMemoryKb() / 1024.0);
    std::fflush(stdout);
    const QString at
        = QLocale(QLocale::English).toString(size.accountLines) + QStringLiteral(" lines: ");
    outcome.addOther(at + QStringLiteral("fill"), fillSeconds, QStringLiteral("s"));
    outcome.add(at + QStringLiteral("cash period, one user"), f.cashOwn);
    outcome.add(at + QStringLiteral("cash period, all users"), f.cashAll);
    outcome.add(at + QStringLiteral("one person's totals"), f.account);
    outcome.add(at + QStringLiteral("visit save, four writes"), f.save);
    outcome.add(at + QStringLiteral("visit deletion"), f.remove);
    outcome.add(at + QStringLiteral("visit list of a month"), f.month);
    outcome.addOther(at + QStringLiteral("a bare commit"), commitMs);
    forms.reset();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    // "--folder DIR" puts the databases' program folders in DIR (a temporary folder by default).
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--folder")));
    const QString folder = at >= 0 ? args.value(at + 1) : QString();
    std::printf(
        "program folders in %s\n", qPrintable(folder.isEmpty() ? QDir::tempPath() : folder));
    return runOnEngines(
        args, QStringLiteral("under 30 ms; cash period within 2x of a tenth"), [&](Engine engine) {
            Outcome outcome(engine);
            const Figures tenth = run(engine, { 50000, 30000, 10000, 20000 }, folder, outcome);
            const Figures full = run(engine, { 500000, 300000, 100000, 200000 }, folder, outcome);
            bool fast = true;
            for (double ms :
                { full.cashOwn, full.cashAll, full.account, full.save, full.remove, full.month })
                fast = fast && ms < kGoalMs;
            outcome.fileGoal(QStringLiteral("every figure under 30 ms"), fast);
            const double ownRatio = tenth.cashOwn > 0 ? full.cashOwn / tenth.cashOwn : 0;
            const double allRatio = tenth.cashAll > 0 ? full.cashAll / tenth.cashAll : 0;
            std::printf("cash period at full size against a tenth: %.2fx (one user), %.2fx (all "
                        "users)\n",
                ownRatio, allRatio);
            outcome.fileGoal(QStringLiteral("cash period within 2x of a tenth"),
                ownRatio <= 2.0 && allRatio <= 2.0);
            return outcome;
        });
}
