// The appointment entry form: the save with its checks and messages, new, discard, load for
// change, the held mark, the cancellation dialog, the person and package lookups and the
// user pickers, on a real database through the scripted dialogs.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "data/schema.h"
#include "appointments/entrypanel.h"
#include "appointments/iptal.h"
#include "appointments/randevu.h"
#include "kit/maskedit.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "visits/paketler.h"

#include <QAction>
#include <QToolButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kDay = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
const QString kOwnerName = QStringLiteral("Lumkar Yönetici");

void addPerson(App &app, const QString &code, const QString &adi, const QString &soyadi)
{
    app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi, tel1, isadresi) "
                            "VALUES (?,?,?,?,?)"),
             {code, adi, soyadi, QStringLiteral("(212) 555 11 22"), QStringLiteral("Moda\r\n")});
}

void addPackage(App &app, int code, const QString &name, const QVariant &price,
                const QVariant &premium = QVariant())
{
    app.exec(QStringLiteral("INSERT INTO paketler (paketkodu, paketadi, tutar, primoran) "
                            "VALUES (?,?,?,?)"),
             {code, name, price, premium});
}

int appointments(App &app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt();
}

QVariant lastValue(App &app, const QString &column)
{
    return app.scalar(
        QStringLiteral("SELECT %1 FROM randevu ORDER BY rid DESC").arg(schema::quoted(column)));
}

void put(QLineEdit *box, const QString &text)
{
    if (auto *masked = qobject_cast<MaskedEdit *>(box))
        masked->setMaskedText(text);
    else
        box->setText(text);
}

// Logs in as lumkar (or `user`) and returns the entry form.
EntryForm *entryAfterLogin(App &app, const QString &user = QStringLiteral("lumkar"))
{
    if (!app.login(user))
        return nullptr;
    return app.forms().entryForm;
}

// The boxes of a booking for person 1 "Ayşe Kaya" today at the time given.
void fillBooking(EntryForm *entry, const QString &time = QStringLiteral("10:30"))
{
    entry->kisinoedit->setText(QStringLiteral("1"));
    entry->AdiEdit->setText(QStringLiteral("Ayşe"));
    entry->SoyadiEdit->setText(QStringLiteral("Kaya"));
    put(entry->RTarihiEdit, kDay);
    put(entry->RSaatiEdit, time);
}

// What the user's chosen appointment meets while a question or the cancellation dialog is
// open: the automatic refresh ticks and the list is read again with an earlier appointment
// on top, or another desk deletes the chosen one.
enum class Meanwhile { Refresh, DeletedElsewhere };
// The three actions that ask before they act on a chosen waiting appointment.
enum class ChosenAction { MarkHeld, Cancel, DeleteFromList };

// The list the action chooses from, with the appointment of `adi` made current.
DataSet *chooseAppointment(App &app, ChosenAction action, const QString &adi)
{
    DataSet *list = app.forms().dayLists->randevuTable;
    if (action == ChosenAction::DeleteFromList) {
        app.forms().randevuF->applyFilter();
        list = app.forms().randevuF->randevuTable;
    }
    return list->locate(QStringLiteral("adi"), adi) ? list : nullptr;
}

} // namespace

class BookingTest : public QObject {
    Q_OBJECT
private slots:
    void emptyPackageBoxesAreStoredEmpty()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        fillBooking(entry);
        entry->konuMemo->setPlainText(QStringLiteral("ilk satır\nikinci"));
        entry->islemTutariEdit->setText(QStringLiteral("1.250,5"));
        QTest::mouseClick(entry->Button1, Qt::LeftButton);
        QCOMPARE(appointments(app), 1);
        QVERIFY(lastValue(app, QStringLiteral("paketkodu")).isNull());
        QVERIFY(lastValue(app, QStringLiteral("paketadi")).isNull());
        QVERIFY(lastValue(app, QStringLiteral("paketprim")).isNull());
        QVERIFY(lastValue(app, QStringLiteral("gorusmekodu")).isNull());
        QVERIFY(lastValue(app, QStringLiteral("iptalkodu")).isNull());
        QCOMPARE(lastValue(app, QStringLiteral("islem_tutari")).toDouble(), 1250.5);
        QCOMPARE(lastValue(app, QStringLiteral("konu")).toString(),
                 QStringLiteral("ilk satır\r\nikinci\r\n"));
        QCOMPARE(lastValue(app, QStringLiteral("RKime")).toString(), QStringLiteral("lumkar"));
        QCOMPARE(lastValue(app, QStringLiteral("Rkimeadsoyad")).toString(), kOwnerName);
        QCOMPARE(lastValue(app, QStringLiteral("randevuyualan")).toString(), kOwnerName);
        QCOMPARE(lastValue(app, QStringLiteral("randevusaati")).toDateTime().time(),
                 QTime(10, 30));
        // The waiting list shows it; the boxes are emptied but for the date and the user.
        QCOMPARE(app.forms().dayLists->randevuTable->recordCount(), 1);
        QCOMPARE(maskedText(entry->RTarihiEdit), kDay);
        QVERIFY(entry->AdiEdit->text().isEmpty() && entry->kisinoedit->text().isEmpty());
        QCOMPARE(maskedText(entry->RSaatiEdit), QStringLiteral("  :  "));
        QCOMPARE(entry->RKiminAdSoyadBox->currentText(), kOwnerName);
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("adi");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("package");
        QTest::addColumn<QString>("message");
        const QString ok = QStringLiteral("10:00");
        QTest::newRow("unknown package first") << QString() << QString() << ok << kDay
                                              << QStringLiteral("7")
                                              << QStringLiteral("Paket bulunamadı!");
        QTest::newRow("one-letter name") << QStringLiteral("2") << QStringLiteral("A") << ok
                                         << kDay << QString()
                                         << QStringLiteral("Adını Girmelisiniz!");
        QTest::newRow("midnight") << QStringLiteral("1") << QStringLiteral("Ayşe")
                                  << QStringLiteral("00:00") << kDay << QString()
                                  << QStringLiteral("Randevu Saati Girmelisiniz!");
        QTest::newRow("time rule") << QStringLiteral("1") << QStringLiteral("Ayşe")
                                   << QStringLiteral("00:30") << kDay << QString()
                                   << QStringLiteral("\"00:30\" saat girişiniz uygun değil!");
        QTest::newRow("no such day") << QStringLiteral("1") << QStringLiteral("Ayşe") << ok
                                     << QStringLiteral("31.02.2030") << QString()
                                     << QStringLiteral(
                                            "31.02.2030 diye bir tarih yok! Randevu kaydedilmedi.");
    }

    void refusalsWriteNothing()
    {
        QFETCH(QString, code);
        QFETCH(QString, adi);
        QFETCH(QString, time);
        QFETCH(QString, date);
        QFETCH(QString, package);
        QFETCH(QString, message);
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        addPerson(app, QStringLiteral("2"), QStringLiteral("A"), QString());
        addPackage(app, 5, QStringLiteral("Bakım"), 100.0);
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->kisinoedit->setText(code);
        entry->AdiEdit->setText(adi);
        entry->SoyadiEdit->setText(code == QLatin1String("1") ? QStringLiteral("Kaya")
                                                              : QString());
        put(entry->RTarihiEdit, date);
        put(entry->RSaatiEdit, time);
        entry->paketkoduEdit->setText(package);
        app.dialogs.expectNotice();
        QVERIFY(!entry->save());
        QCOMPARE(app.dialogs.texts(), QStringList{message});
        QCOMPARE(appointments(app), 0);
        // The person stays typed.
        QCOMPARE(entry->kisinoedit->text(), code);
    }

    void differentNameAsksToTransferAndSavesNothing()
    {
        for (const Answer answer : {Answer::Yes, Answer::No}) {
            App app;
            addPerson(app, QStringLiteral("1"), QStringLiteral("Ali"), QStringLiteral("Kaya"));
            EntryForm *entry = entryAfterLogin(app);
            QVERIFY(entry);
            fillBooking(entry);
            entry->AdiEdit->setText(QStringLiteral("ali"));
            app.dialogs.expectQuestion(answer);
            QVERIFY(!entry->save());
            QCOMPARE(app.dialogs.lastText(),
                     QStringLiteral("Kişi Adı-Soyadı farklı! Aktarılmasını istermisiniz?"));
            QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Selvaron"));
            QCOMPARE(entry->AdiEdit->text(),
                     answer == Answer::Yes ? QStringLiteral("Ali") : QStringLiteral("ali"));
            QCOMPARE(appointments(app), 0);
        }
    }

    void emptyCodeStartsANewPersonWhoseCodeComesBack()
    {
        App app;
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        fillBooking(entry);
        entry->kisinoedit->clear();
        entry->AdiEdit->setText(QStringLiteral("Yeni"));
        entry->SoyadiEdit->setText(QStringLiteral("Kişi"));
        app.dialogs.expectQuestion(Answer::Yes);
        QVERIFY(!entry->save());
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Girmiş olduğunuz kodun kişi kaydı mevcut değil! Açmak "
                                "istermisiniz?"));
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNoCancel);
        Tozluk *record = app.forms().ozluk;
        QVERIFY(record->isVisible());
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->sicilTable->text(QStringLiteral("adi")), QStringLiteral("Yeni"));
        QCOMPARE(record->sicilTable->text(QStringLiteral("tel1")),
                 QStringLiteral("(   )          "));
        QCOMPARE(appointments(app), 0);
        // Saving the person there puts the new code into the form; the save then goes on.
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(entry->kisinoedit->text(), QStringLiteral("1"));
        QVERIFY(entry->save());
        QCOMPARE(appointments(app), 1);
        QCOMPARE(lastValue(app, QStringLiteral("sicil_kodu")).toString(), QStringLiteral("1"));
    }

    // The second one only after the user said yes to the double booking.
    void twoAppointmentsAtTheSameTimeAreBothStored()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        for (int i = 0; i < 2; ++i) {
            fillBooking(entry, QStringLiteral("09:15"));
            if (i == 1)
                app.dialogs.expectQuestion(Answer::Yes);
            QVERIFY(entry->save());
        }
        QVERIFY(app.dialogs.allConsumed());
        QCOMPARE(appointments(app), 2);
        QCOMPARE(app.forms().dayLists->randevuTable->recordCount(), 2);
    }

    void changeReplacesTakerAndTimeButNeverTheState()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        AppointmentRow row;
        row.owner = QStringLiteral("ece");
        row.day = QDate::currentDate();
        row.adi = QStringLiteral("Ayşe");
        row.soyadi = QStringLiteral("Kaya");
        const qlonglong rid = app.addAppointment(row);
        app.exec(QStringLiteral("UPDATE randevu SET randevuyualan='Eski', paketprim=4.5, "
                                "kayittarihi='2001-01-01T10:00:00' WHERE rid=?"),
                 {rid});
        EntryForm *entry = entryAfterLogin(app, QStringLiteral("ece"));
        QVERIFY(entry);
        DataSet *waiting = app.forms().dayLists->randevuTable;
        waiting->first();
        entry->loadForChange();
        QCOMPARE(entry->randevunoEdit->text(), QString::number(rid));
        QCOMPARE(entry->AdiEdit->text(), QStringLiteral("Ayşe"));
        QCOMPARE(maskedText(entry->RSaatiEdit), QStringLiteral("09:00"));
        QCOMPARE(entry->islemTutariEdit->text(), QStringLiteral("100,00"));
        QCOMPARE(entry->primEdit->text(), QStringLiteral("4,50"));
        // Meanwhile it was marked held elsewhere: the first save says so and writes nothing,
        // the typing stays; the second writes the change and keeps the mark.
        app.exec(QStringLiteral("UPDATE randevu SET gorusmekodu=999999 WHERE rid=?"), {rid});
        put(entry->RSaatiEdit, QStringLiteral("14:45"));
        app.dialogs.expectNotice();
        QVERIFY(!entry->save());
        QVERIFY(app.dialogs.lastText().contains(QStringLiteral("gorusmekodu: \"999999\"")));
        QCOMPARE(lastValue(app, QStringLiteral("randevusaati")).toDateTime().time(), QTime(9, 0));
        QCOMPARE(maskedText(entry->RSaatiEdit), QStringLiteral("14:45"));
        QVERIFY(entry->save());
        QCOMPARE(appointments(app), 1);
        QCOMPARE(lastValue(app, QStringLiteral("randevuyualan")).toString(),
                 QStringLiteral("Ece Ak"));
        QVERIFY(lastValue(app, QStringLiteral("kayittarihi")).toDateTime().date()
                == QDate::currentDate());
        QCOMPARE(lastValue(app, QStringLiteral("gorusmekodu")).toInt(), 999999);
        QCOMPARE(lastValue(app, QStringLiteral("paketprim")).toDouble(), 4.5);
        QCOMPARE(lastValue(app, QStringLiteral("randevusaati")).toDateTime().time(),
                 QTime(14, 45));
        QVERIFY(entry->randevunoEdit->text().isEmpty());
    }

    void discardDuringAChangeKeepsThePackageAndMakesTheNextSaveNew()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        addPackage(app, 3, QStringLiteral("Masaj"), 80.0, 2.0);
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate::currentDate();
        app.addAppointment(row);
        app.exec(QStringLiteral("UPDATE randevu SET paketkodu=3, paketadi='Masaj'"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        app.forms().dayLists->randevuTable->first();
        QTest::mouseClick(app.forms().dayLists->JvNavPanelButton13, Qt::LeftButton);
        QCOMPARE(entry->paketkoduEdit->text(), QStringLiteral("3"));
        app.dialogs.expectQuestion(Answer::Yes);
        entry->discard();
        QVERIFY(entry->randevunoEdit->text().isEmpty());
        QVERIFY(entry->kisinoedit->text().isEmpty());
        QCOMPARE(entry->paketadiEdit->text(), QStringLiteral("Masaj"));
        fillBooking(entry);
        QVERIFY(entry->save());
        QCOMPARE(appointments(app), 2);
        QCOMPARE(lastValue(app, QStringLiteral("paketkodu")).toInt(), 3);
        QCOMPARE(lastValue(app, QStringLiteral("paketprim")).toDouble(), 2.0);
    }

    void newAsksBeforeDroppingATypedPerson()
    {
        App app;
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->AdiEdit->setText(QStringLiteral("Ayşe"));
        entry->paketkoduEdit->setText(QStringLiteral("3"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(app.forms().anamenuf->JvNavPanelButton2, Qt::LeftButton);
        QCOMPARE(entry->AdiEdit->text(), QStringLiteral("Ayşe"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(app.forms().anamenuf->JvNavPanelButton2, Qt::LeftButton);
        QVERIFY(entry->AdiEdit->text().isEmpty() && entry->paketkoduEdit->text().isEmpty());
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Yapılan değişiklik kayıt yapılmadan çıkılsınmı?"));
    }

    void heldMarkGivesTheMarkerAndNoVisit()
    {
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate::currentDate();
        const qlonglong rid = app.addAppointment(row);
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        app.forms().dayLists->randevuTable->first();
        app.dialogs.expectQuestion(Answer::Cancel);
        app.forms().anamenuf->randevuGerceklestiAction->trigger();
        QVERIFY(app.scalar(QStringLiteral("SELECT gorusmekodu FROM randevu")).isNull());
        app.dialogs.expectQuestion(Answer::Yes);
        app.forms().anamenuf->randevuGerceklestiAction->trigger();
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Bu randevuyu görüşme yapılanlara çıkarmak istediğinize "
                                "eminmisiniz?"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT gorusmekodu FROM randevu WHERE rid=?"), {rid})
                     .toInt(),
                 999999);
        QCOMPARE(app.scalar(QStringLiteral("SELECT gorustudiyenkodu FROM randevu")).toString(),
                 QStringLiteral("lumkar"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM gorusmeler")).toInt(), 0);
        QCOMPARE(app.forms().dayLists->randevuTable->recordCount(), 0);
        QCOMPARE(app.forms().dayLists->ffQuery1->recordCount(), 1);
    }

    void cancellationDialogPaths()
    {
        App app;
        AppointmentRow first;
        first.owner = QStringLiteral("lumkar");
        first.day = QDate::currentDate();
        first.adi = QStringLiteral("Birinci");
        app.addAppointment(first);
        AppointmentRow second = first;
        second.adi = QStringLiteral("İkinci");
        second.time = QTime(10, 0);
        app.addAppointment(second);
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        DataSet *waiting = app.forms().dayLists->randevuTable;
        TiptalF *dialog = app.forms().iptalF;
        waiting->first();
        app.forms().anamenuf->randevuIptalAction->trigger();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        typeText(dialog->JvDotNetDBEdit10, QStringLiteral("gelmedi"));
        // "Vazgeç": not cancelled, and the typed reason is dropped.
        QTest::mouseClick(dialog->JvXPButton1, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        waiting->last();
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu WHERE iptalkodu IS NULL "
                                           "AND iptalnedeni IS NULL"))
                     .toInt(),
                 2);
        // "Tamam" asks; No keeps the dialog with the reason; Yes cancels the one selected.
        waiting->first();
        entry->cancelAppointment();
        typeText(dialog->JvDotNetDBEdit10, QStringLiteral("hasta"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->JvDotNetDBEdit10->text(), QStringLiteral("hasta"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Bu randevuyu iptal etmek istediğinize eminmisiniz?"));
        QVERIFY(!dialog->isVisible());
        QSqlQuery q(app.db());
        QVERIFY(q.exec(QStringLiteral("SELECT adi, iptalkodu, iptalnedeni, iptaldiyenkodu "
                                      "FROM randevu WHERE iptalkodu IS NOT NULL")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Birinci"));
        QCOMPARE(q.value(1).toInt(), 999999);
        QCOMPARE(q.value(2).toString(), QStringLiteral("hasta"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("lumkar"));
        QVERIFY(!q.next());
        QCOMPARE(waiting->recordCount(), 1);
        QCOMPARE(app.forms().dayLists->ffQuery4->recordCount(), 1);
    }

    void actionsLandOnTheChosenAppointment_data()
    {
        QTest::addColumn<int>("actionNumber");
        QTest::addColumn<int>("meanwhileNumber");
        for (const auto &[name, action] :
             {std::pair{"held mark", ChosenAction::MarkHeld},
              std::pair{"cancellation", ChosenAction::Cancel},
              std::pair{"list deletion", ChosenAction::DeleteFromList}}) {
            QTest::newRow(qPrintable(QString::fromUtf8(name) + QStringLiteral(", refresh")))
                << int(action) << int(Meanwhile::Refresh);
            QTest::newRow(qPrintable(QString::fromUtf8(name) + QStringLiteral(", deleted")))
                << int(action) << int(Meanwhile::DeletedElsewhere);
        }
    }

    void actionsLandOnTheChosenAppointment()
    {
        QFETCH(int, actionNumber);
        QFETCH(int, meanwhileNumber);
        const auto action = ChosenAction(actionNumber);
        const auto meanwhile = Meanwhile(meanwhileNumber);
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate::currentDate();
        row.adi = QStringLiteral("Birinci");
        const qlonglong first = app.addAppointment(row);
        row.adi = QStringLiteral("Seçilen");
        row.time = QTime(10, 0);
        const qlonglong chosen = app.addAppointment(row);
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        Tanamenuf *main = app.forms().anamenuf;
        main->CheckBox1->setChecked(true); // "Otomatik Yenile"
        DataSet *list = chooseAppointment(app, action, QStringLiteral("Seçilen"));
        QVERIFY(list);
        const int shownBefore = list->recordCount();

        bool waited = false;
        app.dialogs.whileNextDialog([&] {
            // A tick while the user answers waits for the answer; the rows stay as chosen.
            app.exec(QStringLiteral("INSERT INTO randevu (adi, randevutarihi, randevusaati, "
                                    "RKime) SELECT 'Erken', randevutarihi, '1899-12-30 "
                                    "08:00:00', RKime FROM randevu WHERE rid=?"),
                     {first});
            main->Timer1Timer();
            waited = main->refreshWaiting() && list->recordCount() == shownBefore
                && list->text(QStringLiteral("adi")) == QStringLiteral("Seçilen");
            if (meanwhile == Meanwhile::DeletedElsewhere)
                app.exec(QStringLiteral("DELETE FROM randevu WHERE rid=?"), {chosen});
            // Read again anyway (as another window may): the cursor leaves the chosen row.
            QVERIFY(list->reopen());
            QVERIFY(list->locate(QStringLiteral("adi"), QStringLiteral("Birinci")));
        });
        app.dialogs.expectQuestion(Answer::Yes);
        if (meanwhile == Meanwhile::DeletedElsewhere)
            app.dialogs.expectNotice();
        switch (action) {
        case ChosenAction::MarkHeld:
            main->randevuGerceklestiAction->trigger();
            break;
        case ChosenAction::Cancel:
            main->randevuIptalAction->trigger();
            main->Timer1Timer(); // the open cancellation dialog holds the refresh back too
            QVERIFY(main->refreshWaiting());
            typeText(app.forms().iptalF->JvDotNetDBEdit10, QStringLiteral("hasta"));
            QTest::mouseClick(app.forms().iptalF->OKBtn, Qt::LeftButton);
            QVERIFY(!app.forms().iptalF->isVisible());
            break;
        case ChosenAction::DeleteFromList:
            app.forms().randevuF->Button1Click();
            break;
        }
        QVERIFY(waited);
        QVERIFY(app.dialogs.allConsumed());
        // Only the chosen appointment changed; none was added.
        const QString untouched = QStringLiteral(
            "SELECT count(*) FROM randevu WHERE gorusmekodu IS NULL AND iptalkodu IS NULL "
            "AND iptalnedeni IS NULL AND adi IN ('Birinci', 'Erken')");
        QCOMPARE(app.scalar(untouched).toInt(), 2);
        const QString state =
            app.scalar(QStringLiteral("SELECT coalesce(CAST(gorusmekodu AS TEXT), '') || '/' || "
                                      "coalesce(CAST(iptalkodu AS TEXT), '') || '/' || "
                                      "coalesce(iptalnedeni, "
                                      "'') FROM randevu WHERE rid=?"),
                       {chosen})
                .toString();
        if (meanwhile == Meanwhile::DeletedElsewhere) {
            QCOMPARE(appointments(app), 2);
            QCOMPARE(app.dialogs.lastText(),
                     action == ChosenAction::DeleteFromList
                         ? QStringLiteral("Bu randevu başka bir yerden silinmiş.")
                         : QStringLiteral("Bu randevu artık bekleyen randevular arasında değil: "
                                          "başka bir yerden görüşüldü, iptal edildi ya da "
                                          "silindi. Randevuda bir değişiklik yapılmadı."));
        } else {
            QCOMPARE(appointments(app), action == ChosenAction::DeleteFromList ? 2 : 3);
            const QString expected = action == ChosenAction::MarkHeld ? QStringLiteral("999999//")
                : action == ChosenAction::Cancel ? QStringLiteral("/999999/hasta")
                                                 : QString(); // deleted
            QCOMPARE(state, expected);
        }
        // Once the user is done, the refresh that waited runs.
        QTRY_VERIFY(!main->refreshWaiting());
    }

    // A change made by a user whose pickers cannot hold the appointment's owner keeps the
    // stored owner, so that the appointment stays in its owner's day.
    void changeKeepsAnOwnerThePickersCannotHold_data()
    {
        QTest::addColumn<bool>("booksOnlyForHimself");
        QTest::addColumn<QString>("storedName");
        QTest::newRow("user books only for himself") << true << "Lumkar Yönetici";
        QTest::newRow("owner renamed since") << false << "Eski Ad";
    }

    void changeKeepsAnOwnerThePickersCannotHold()
    {
        QFETCH(bool, booksOnlyForHimself);
        QFETCH(QString, storedName);
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        Rights rights;
        if (booksOnlyForHimself)
            rights.baskasirandevuver = QStringLiteral("H");
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"),
                    rights);
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.ownerName = storedName;
        row.day = QDate::currentDate();
        row.adi = QStringLiteral("Ayşe");
        row.soyadi = QStringLiteral("Kaya");
        app.addAppointment(row);
        EntryForm *entry = entryAfterLogin(app, QStringLiteral("ece"));
        QVERIFY(entry);
        DayLists *days = app.forms().dayLists;
        days->CheckBox2->setChecked(true);
        QVERIFY(days->reopenDayLists());
        days->randevuTable->first();
        entry->loadForChange();
        put(entry->RSaatiEdit, QStringLiteral("15:15"));
        QVERIFY(entry->save());
        QCOMPARE(appointments(app), 1);
        QCOMPARE(lastValue(app, QStringLiteral("RKime")).toString(), QStringLiteral("lumkar"));
        QCOMPARE(lastValue(app, QStringLiteral("Rkimeadsoyad")).toString(), storedName);
        QCOMPARE(lastValue(app, QStringLiteral("randevusaati")).toDateTime().time(),
                 QTime(15, 15));
    }

    void saveRefusesWithoutRightOrUser_data()
    {
        QTest::addColumn<bool>("mayAdd");
        QTest::addColumn<QString>("message");
        QTest::newRow("no right to add")
            << false << "Randevu kaydetme yetkiniz yok! Randevu kaydedilmedi.";
        QTest::newRow("no user chosen")
            << true << "Randevunun verileceği kullanıcı seçilmemiş! Randevu kaydedilmedi.";
    }

    void saveRefusesWithoutRightOrUser()
    {
        QFETCH(bool, mayAdd);
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        Rights rights;
        rights.ekle = mayAdd ? QStringLiteral("E") : QStringLiteral("H");
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"),
                    rights);
        EntryForm *entry = entryAfterLogin(app, QStringLiteral("ece"));
        QVERIFY(entry);
        fillBooking(entry);
        if (mayAdd)
            QVERIFY(!entry->setEntryUser(QStringLiteral("yok"), QStringLiteral("Silinen Kişi")));
        // F2 and the toolbar's " Kaydet" both refuse.
        app.dialogs.expectNotice(2);
        QVERIFY(activateForKeys(app.forms().anamenuf));
        QWidget *target = app.forms().dayLists->JvDateTimePicker1;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F2);
        QTest::mouseClick(app.forms().anamenuf->JvNavPanelButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), 2);
        QTEST(app.dialogs.lastText(), "message");
        QCOMPARE(appointments(app), 0);
        QCOMPARE(entry->AdiEdit->text(), QStringLiteral("Ayşe"));
    }

    void clearingThePackageCodeClearsItsName()
    {
        App app;
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->setEntryPackage({QStringLiteral("3"), QStringLiteral("Masaj"),
                                QStringLiteral("80,00"), QStringLiteral("2,00")});
        entry->paketkoduEdit->setFocus();
        entry->paketkoduEdit->selectAll();
        QTest::keyClick(entry->paketkoduEdit, Qt::Key_Backspace);
        QVERIFY(entry->paketadiEdit->text().isEmpty());
        QVERIFY(entry->primEdit->text().isEmpty());
        QCOMPARE(entry->islemTutariEdit->text(), QStringLiteral("80,00"));
    }

    void nameSearchFoldsTurkishCase_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("expectedCode");
        QTest::newRow("Ayşe Kaya first") << QStringLiteral("Ayşe") << QStringLiteral("1");
        QTest::newRow("AYDIN Ak first") << QStringLiteral("AYDIN") << QStringLiteral("1");
    }

    void nameSearchFoldsTurkishCase()
    {
        QFETCH(QString, first);
        QFETCH(QString, expectedCode);
        App app;
        addPerson(app, QStringLiteral("1"), first,
                  first == QLatin1String("Ayşe") ? QStringLiteral("Kaya") : QStringLiteral("Ak"));
        addPerson(app, QStringLiteral("2"), QStringLiteral("Bora"), QStringLiteral("Ay"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->AdiEdit->setText(QStringLiteral("ay"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(entry->JvNavPanelButton20, Qt::LeftButton);
        QVERIFY(app.dialogs.lastText().startsWith(first + QLatin1Char(' ')));
        QVERIFY(app.dialogs.lastText().endsWith(
            QStringLiteral("\n\r adında kişi kaydı mevcut! Bu kaydı getirmek istermisiniz?")));
        QCOMPARE(entry->kisinoedit->text(), expectedCode);
        QCOMPARE(entry->AdiEdit->text(), first);
        QCOMPARE(maskedText(entry->Telefon1Edit), QStringLiteral("(212) 555 11 22"));
        // The address memo is not touched by the lookup by code.
        QVERIFY(entry->adresMemo->toPlainText().isEmpty());
    }

    void nameSearchRefusalsAndMisses()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->AdiEdit->setText(QStringLiteral("a"));
        app.dialogs.expectNotice();
        entry->personByName();
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("En az iki karakter girmelisiniz!"));
        entry->AdiEdit->setText(QStringLiteral("ze"));
        entry->SoyadiEdit->setText(QStringLiteral("k"));
        app.dialogs.expectNotice();
        entry->personByName();
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("ze k isimle kayıt mevcut değil!"));
        // A code without a person offers the list; No leaves the boxes.
        entry->kisinoedit->setText(QStringLiteral("99"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(entry->JvNavPanelButton8, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Bu kodla kayıtlı kişi bulunamadı! Listeden aramak "
                                "istermisiniz?"));
        QCOMPARE(entry->AdiEdit->text(), QStringLiteral("ze"));
        QVERIFY(app.dialogs.allConsumed());
    }

    void personListHandsThePersonOver()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        QTest::mouseClick(entry->JvNavPanelButton9, Qt::LeftButton);
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->isVisible());
        QVERIFY(list->isChoosing());
        list->sicrapQuery->first();
        list->Button1Click();
        QCOMPARE(entry->kisinoedit->text(), QStringLiteral("1"));
        QCOMPARE(entry->SoyadiEdit->text(), QStringLiteral("Kaya"));
        QCOMPARE(entry->adresMemo->toPlainText(), QStringLiteral("Moda"));
        QVERIFY(!list->isVisible());
    }

    void packageLookupByCode()
    {
        App app;
        addPackage(app, 4, QStringLiteral("İlk"), QVariant(), 3.0);
        addPackage(app, 4, QStringLiteral("İkinci"), 200.0);
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        entry->paketkoduEdit->setText(QStringLiteral("4"));
        entry->packageByCode();
        // The lower pid wins; an empty price shows as ",00".
        QCOMPARE(entry->paketadiEdit->text(), QStringLiteral("İlk"));
        QCOMPARE(entry->islemTutariEdit->text(), QStringLiteral(",00"));
        QCOMPARE(entry->primEdit->text(), QStringLiteral("3,00"));
        // An emptied code keeps the other boxes; a code not in the catalogue is told.
        entry->paketkoduEdit->clear();
        entry->packageByCode();
        QCOMPARE(entry->paketadiEdit->text(), QStringLiteral("İlk"));
        entry->paketkoduEdit->setText(QStringLiteral("99999"));
        app.dialogs.expectNotice();
        entry->packageByCode();
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("Paket bulunamadı!"));
        QCOMPARE(entry->paketadiEdit->text(), QStringLiteral("İlk"));
    }

    void userWithoutOthersRightBooksOnlyForHimself()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        Rights own;
        own.baskasirandevuver = QStringLiteral("H");
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"),
                    own);
        EntryForm *entry = entryAfterLogin(app, QStringLiteral("ece"));
        QVERIFY(entry);
        QVERIFY(!entry->RKiminAdSoyadBox->isEnabled());
        QCOMPARE(entry->RKiminAdSoyadBox->count(), 1);
        fillBooking(entry);
        QVERIFY(entry->save());
        QCOMPARE(lastValue(app, QStringLiteral("RKime")).toString(), QStringLiteral("ece"));
        QCOMPARE(lastValue(app, QStringLiteral("Rkimeadsoyad")).toString(),
                 QStringLiteral("Ece Ak"));
    }

    void pickingAUserKeepsTheTwoPickersTogether()
    {
        App app;
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        const int ece = entry->RKiminAdSoyadBox->findText(QStringLiteral("Ece Ak"));
        QVERIFY(ece >= 0);
        entry->RKiminAdSoyadBox->setCurrentIndex(ece);
        QCOMPARE(entry->RKimeBox->currentText(), QStringLiteral("ece"));
    }

    void aFailedWriteIsToldAndKeepsTheForm()
    {
        App app;
        addPerson(app, QStringLiteral("1"), QStringLiteral("Ayşe"), QStringLiteral("Kaya"));
        app.failWrites(QStringLiteral("randevu"), QStringLiteral("INSERT"));
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        fillBooking(entry);
        app.dialogs.expectNotice();
        QVERIFY(!entry->save());
        QVERIFY(app.dialogs.lastText().startsWith(QStringLiteral("Randevu kaydedilemedi")));
        QVERIFY(app.dialogs.lastText().contains(QStringLiteral("disk dolu")));
        QCOMPARE(appointments(app), 0);
        QCOMPARE(entry->AdiEdit->text(), QStringLiteral("Ayşe"));
        QCOMPARE(maskedText(entry->RSaatiEdit), QStringLiteral("10:30"));
    }

    void appointmentPanelTabOrder()
    {
        App app;
        EntryForm *entry = entryAfterLogin(app);
        QVERIFY(entry);
        const QList<QWidget *> order = {entry->RTarihiEdit,     entry->RSaatiEdit,
                                        entry->paketkoduEdit,   entry->islemTutariEdit,
                                        entry->paketadiEdit,    entry->konuMemo,
                                        entry->RKiminAdSoyadBox, entry->Button1};
        for (int i = 1; i < order.size(); ++i) {
            // The next widget in the chain that is not a part of the previous one.
            QWidget *next = order[i - 1]->nextInFocusChain();
            while (order[i - 1]->isAncestorOf(next))
                next = next->nextInFocusChain();
            QCOMPARE(next, order[i]);
        }
        QVERIFY(entry->konuMemo->tabChangesFocus() && entry->adresMemo->tabChangesFocus());
        QVERIFY(entry->paketadiEdit->isReadOnly());
        QCOMPARE(entry->paketkoduEdit->maxLength(), 5);
    }
};

LUMKAR_TEST(BookingTest)
#include "tst_booking.moc"
