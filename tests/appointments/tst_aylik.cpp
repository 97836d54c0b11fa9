// The planner window: reload, grid, placement through the appointment list, settings file,
// refusals, keys, printing and booking from a cell.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/aylik.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/randevu.h"
#include "kit/maskedit.h"
#include "reports/preview.h"
#include "shell/anamenu.h"
#include "visits/paketler.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kMe = QStringLiteral("lumkar");
const QString kEce = QStringLiteral("ece");

qlonglong add(App &app, const QString &adi, const QDate &day, const QTime &time,
    const QString &owner = kMe, const QVariant &visit = {}, const QVariant &cancel = {})
{
    AppointmentRow a;
    a.adi = adi;
    a.day = day;
    a.time = time;
    a.owner = owner;
    a.ownerName = owner == kEce ? QStringLiteral("Ece Ak") : QString();
    a.gorusmekodu = visit;
    a.iptalkodu = cancel;
    return app.addAppointment(a);
}

// A week of October 2009 for lumkar, one for Ece, a held and a cancelled one.
void fillWeek(App &app)
{
    app.addUser(kEce, QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
    add(app, QStringLiteral("Pazartesi"), QDate(2009, 10, 5), QTime(9, 0));
    add(app, QStringLiteral("Salı"), QDate(2009, 10, 6), QTime(10, 20));
    add(app, QStringLiteral("Yarım"), QDate(2009, 10, 6), QTime(10, 15));
    add(app, QStringLiteral("İkinci"), QDate(2009, 10, 7), QTime(9, 30));
    add(app, QStringLiteral("Birinci"), QDate(2009, 10, 7), QTime(9, 30));
    add(app, QStringLiteral("Erken"), QDate(2009, 10, 8), QTime(7, 0));
    add(app, QStringLiteral("Ecenin"), QDate(2009, 10, 9), QTime(11, 0), kEce);
    add(app, QStringLiteral("Görüşülen"), QDate(2009, 10, 9), QTime(12, 0), kMe, 5);
    add(app, QStringLiteral("İptal"), QDate(2009, 10, 9), QTime(13, 0), kMe, {}, 999999);
    add(app, QStringLiteral("Kasım"), QDate(2009, 11, 2), QTime(9, 0));
}

QString settingsPath(App &app)
{
    return app.session().filePath(QStringLiteral("ayarrand.ayr"));
}

void writeSettings(App &app, const QByteArray &content)
{
    QFile file(settingsPath(app));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readSettings(App &app)
{
    QFile file(settingsPath(app));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TaylikF *openOctober(App &app)
{
    Tanamenuf *main = app.forms().anamenuf;
    main->setWorkingDate(QDate(2009, 10, 7));
    main->N5Aylik();
    return app.forms().aylikF;
}

// The row of the grid whose slot time is `label`.
int rowOf(TaylikF *planner, const QString &label)
{
    for (int r = 2; r < planner->rowCount(); ++r)
        if (planner->cellText(0, r) == label)
            return r;
    return -1;
}

} // namespace

class PlannerTest : public QObject {
    Q_OBJECT
private slots:
    void reloadLaysOutTheMonth()
    {
        App app;
        fillWeek(app);
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        QVERIFY(planner->isVisible());
        QCOMPARE(planner->plannerDate(), QDate(2009, 10, 7));
        QCOMPARE(planner->Label6->text(), QStringLiteral("Ekim 2009"));
        QCOMPARE(planner->Label7->text(),
            QStringLiteral("Kullanıcı :") + app.session().currentUser.adSoyad
                + QStringLiteral(" Raporu."));
        QCOMPARE(planner->columnCount(), 32);
        QCOMPARE(planner->rowCount(), 22);
        QCOMPARE(planner->cellText(0, 0), QString());
        QCOMPARE(planner->cellText(0, 1), QStringLiteral("Saat\\Gün"));
        QCOMPARE(planner->cellText(0, 2), QStringLiteral("09:00"));
        QCOMPARE(planner->cellText(0, 21), QStringLiteral("18:30"));
        QCOMPARE(planner->cellText(1, 0), QStringLiteral("Perşembe"));
        QCOMPARE(planner->cellText(7, 1), QStringLiteral("7"));
        QCOMPARE(planner->StringGrid1->columnWidth(0), 150);
        QCOMPARE(planner->StringGrid1->rowHeight(0), 30);
        QCOMPARE(planner->StringGrid1->model()->headerData(6, Qt::Horizontal).toString(),
            QStringLiteral("Çarşamba\n7"));

        // Placement: each appointment in the slot of its time, never in another hour's.
        QCOMPARE(planner->cellText(5, rowOf(planner, QStringLiteral("09:00"))),
            QStringLiteral("-Kişi:Pazartesi Yılmaz -Tutarı:100TL "));
        QCOMPARE(planner->cellText(6, rowOf(planner, QStringLiteral("10:30"))),
            QStringLiteral("-Kişi:Salı Yılmaz -Tutarı:100TL "));
        QCOMPARE(planner->cellText(6, rowOf(planner, QStringLiteral("10:00"))), QString());
        // Two in one slot, in table order (stored order within the day).
        QCOMPARE(planner->cellText(7, rowOf(planner, QStringLiteral("09:30"))),
            QStringLiteral("-Kişi:İkinci Yılmaz -Tutarı:100TL "
                           "-Kişi:Birinci Yılmaz -Tutarı:100TL "));
        // Before the first slot, another user's, held and cancelled: nowhere.
        QString everything;
        for (int c = 1; c < planner->columnCount(); ++c)
            for (int r = 2; r < planner->rowCount(); ++r)
                everything += planner->cellText(c, r);
        for (const char *absent : { "Erken", "Ecenin", "Görüşülen", "İptal", "Kasım", "Yarım" })
            QVERIFY2(!everything.contains(QString::fromUtf8(absent)), absent);

        // The list window keeps the planner's month and filter.
        TrandevuF *list = app.forms().randevuF;
        QCOMPARE(list->JvDateTimePicker1->date(), QDate(2009, 10, 1));
        QCOMPARE(list->JvDateTimePicker2->date(), QDate(2009, 10, 31));
        QVERIFY(!list->CheckBox2->isChecked());
    }

    void allUsersAndHeldFromTheBoxes()
    {
        App app;
        fillWeek(app);
        QVERIFY(app.login(kMe));
        TaylikF *planner = app.forms().aylikF;
        planner->CheckBox2->setChecked(true);
        planner->CheckBox1->setChecked(true);
        planner = openOctober(app);
        QVERIFY(planner->allUsersShown());
        QCOMPARE(planner->Label7->text(), QStringLiteral("Kullanıcı kısıtlaması olmadan."));
        const QString owner = QStringLiteral("R.Kime:Ece Ak -Kişi:Ecenin Yılmaz -Tutarı:100TL ");
        QCOMPARE(planner->cellText(9, rowOf(planner, QStringLiteral("11:00"))), owner);
        QVERIFY(planner->cellText(9, rowOf(planner, QStringLiteral("12:00")))
                    .contains(QStringLiteral("Görüşülen")));
        QVERIFY(app.forms().randevuF->CheckBox2->isChecked());
        QVERIFY(!app.forms().randevuF->JvDBUltimGrid1->isColumnHidden(0));
        // Held only: the mode boxes exclude each other and do not reload.
        QTest::mouseClick(planner->CheckBox3, Qt::LeftButton);
        QVERIFY(!planner->CheckBox1->isChecked());
        QCOMPARE(planner->cellText(9, rowOf(planner, QStringLiteral("11:00"))), owner);
        planner->hazirlaButClick();
        QCOMPARE(planner->cellText(9, rowOf(planner, QStringLiteral("11:00"))), QString());
        QVERIFY(planner->cellText(9, rowOf(planner, QStringLiteral("12:00")))
                    .contains(QStringLiteral("Görüşülen")));
    }

    void cellColoursComeFromTheMonth()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        QAbstractItemModel *model = planner->StringGrid1->model();
        auto colour = [&](int column, int row) {
            return model->data(model->index(row - 2, column - 1), Qt::BackgroundRole)
                .value<QColor>();
        };
        QCOMPARE(colour(1, 2), QColor(249, 255, 225));
        QCOMPARE(colour(1, 3), QColor(223, 235, 255));
        QCOMPARE(colour(3, 2), QColor(255, 234, 213)); // Saturday
        QCOMPARE(colour(4, 3), QColor(255, 221, 187)); // Sunday
        QCOMPARE(colour(29, 2), QColor(255, 234, 213)); // national holiday
        QCOMPARE(
            model->data(model->index(0, 1), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    }

    void reloadOnlyOnAMonthChange()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        add(app, QStringLiteral("Sonradan"), QDate(2009, 10, 20), QTime(9, 0));
        planner->DateTimePicker1->setDate(QDate(2009, 10, 21));
        QCOMPARE(planner->cellText(20, 2), QString());
        planner->DateTimePicker1->setDate(QDate(2009, 11, 21));
        QCOMPARE(planner->Label6->text(), QStringLiteral("Kasım 2009"));
        QCOMPARE(planner->columnCount(), 31);
        planner->DateTimePicker1->setDate(QDate(2009, 10, 2));
        QCOMPARE(planner->cellText(20, 2), QStringLiteral("-Kişi:Sonradan Yılmaz -Tutarı:100TL "));
        planner->DateTimePicker1->setDate(QDate(2010, 10, 2)); // same month, another year
        QCOMPARE(planner->Label6->text(), QStringLiteral("Ekim 2010"));
    }

    void leapFebruaryHas29Columns()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = app.forms().aylikF;
        planner->setPlannerDate(QDate(2024, 2, 14));
        planner->hazirlaButClick();
        QCOMPARE(planner->columnCount(), 30);
        QCOMPARE(planner->cellText(29, 0), QStringLiteral("Perşembe"));
    }

    void reloadSavesTheSettings()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = app.forms().aylikF;
        planner->RSaatiEdit->setText(QStringLiteral("08:00"));
        planner->RBitisSaatiEdit->setText(QStringLiteral("12:00"));
        planner->periodBox->setCurrentText(QStringLiteral("01:00"));
        planner->CheckBox3->setChecked(true);
        planner = openOctober(app);
        QCOMPARE(planner->rowCount(), 7);
        const QByteArray saved = readSettings(app);
        for (const char *line : { "[AYARR]", "mesaibaslasaat=08:00", "mesaibitsaat=12:00",
                 "randevuperiod=01:00", "tumkullanici=H", "bekleyenvegorus=H", "sadecegorus=E" })
            QVERIFY2(saved.contains(line), line);
    }

    void refusedReloadChangesNothing_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("message");
        const QString period = QStringLiteral("Randevu periodu uygun değil! Periodu 00:30 "
                                              "biçiminde, sıfırdan büyük ve en çok 24:00 "
                                              "olarak giriniz.");
        QTest::newRow("zero period") << "09:00"
                                     << "18:30"
                                     << "00:00" << period;
        QTest::newRow("text without digits") << "09:00"
                                             << "18:30"
                                             << "saat" << period;
        QTest::newRow("blank start")
            << "  :  "
            << "18:30"
            << "00:30"
            << "Mesai başlangıç saati uygun değil! Saati 09:00 biçiminde, 00:00 ile 23:59 "
               "arasında giriniz.";
        QTest::newRow("blank end")
            << "09:00"
            << "  :  "
            << "00:30"
            << "Mesai bitiş saati uygun değil! Saati 18:30 biçiminde, 00:00 ile 23:59 "
               "arasında giriniz.";
    }

    void refusedReloadChangesNothing()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, period);
        App app;
        add(app, QStringLiteral("Ekimde"), QDate(2009, 10, 7), QTime(9, 0));
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        const QByteArray before = readSettings(app);
        QVERIFY(!before.isEmpty());
        QCOMPARE(planner->cellText(7, 2), QStringLiteral("-Kişi:Ekimde Yılmaz -Tutarı:100TL "));
        planner->RSaatiEdit->setText(start);
        planner->RBitisSaatiEdit->setText(end);
        planner->periodBox->setCurrentText(period);
        app.dialogs.expectNotice();
        QTest::mouseClick(planner->hazirlaBut, Qt::LeftButton);
        QTEST(app.dialogs.lastText(), "message");
        QCOMPARE(planner->rowCount(), 22);
        QCOMPARE(planner->cellText(7, 2), QStringLiteral("-Kişi:Ekimde Yılmaz -Tutarı:100TL "));
        QCOMPARE(readSettings(app), before);
    }

    void brokenSettingsFileGivesAWorkingPlanner_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01[AYARR\n==\nmesai");
        QTest::newRow("unreadable values")
            << QByteArray("[AYARR]\nmesaibaslasaat=99:99\nmesaibitsaat=ab\nrandevuperiod=0\n");
    }

    void brokenSettingsFileGivesAWorkingPlanner()
    {
        QFETCH(QByteArray, content);
        App app;
        writeSettings(app, content);
        app.openDatabase();
        // The planner reads its settings as it is made; a fresh set of windows reads them.
        std::unique_ptr<Forms> forms = createForms(app.session());
        TaylikF *planner = forms->aylikF;
        QCOMPARE(maskedText(planner->RSaatiEdit), QStringLiteral("09:00"));
        QCOMPARE(maskedText(planner->RBitisSaatiEdit), QStringLiteral("18:30"));
        QCOMPARE(planner->periodBox->currentText(), QStringLiteral("00:30"));
        QVERIFY(!planner->CheckBox1->isChecked() && !planner->CheckBox2->isChecked()
            && !planner->CheckBox3->isChecked());
        planner->setPlannerDate(QDate(2009, 10, 7));
        planner->hazirlaButClick();
        QCOMPARE(planner->rowCount(), 22);
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void bothModeBoxesFromTheFile()
    {
        App app;
        writeSettings(app,
            "[AYARR]\r\nbekleyenvegorus=E\r\nsadecegorus=E\r\n"
            "randevuperiod=01:00\r\n");
        app.openDatabase();
        std::unique_ptr<Forms> forms = createForms(app.session());
        TaylikF *planner = forms->aylikF;
        QVERIFY(planner->CheckBox1->isChecked());
        QVERIFY(planner->CheckBox3->isChecked());
        QCOMPARE(planner->periodBox->currentText(), QStringLiteral("01:00"));
        app.exec(QStringLiteral("INSERT INTO randevu (adi, soyadi, RKime, randevutarihi, "
                                "randevusaati, gorusmekodu) VALUES (?,?,?,?,?,?), "
                                "(?,?,?,?,?,?)"),
            { QStringLiteral("Bekleyen"), QStringLiteral("A"), QString(),
                QStringLiteral("2009-10-07 00:00:00"), QStringLiteral("1899-12-30 09:00:00"),
                QVariant(), QStringLiteral("Görüşülen"), QStringLiteral("B"), QString(),
                QStringLiteral("2009-10-07 00:00:00"), QStringLiteral("1899-12-30 10:00:00"), 4 });
        planner->CheckBox2->setChecked(true); // nobody logged in to these windows
        planner->setPlannerDate(QDate(2009, 10, 7));
        planner->hazirlaButClick();
        QVERIFY(planner->cellText(7, 2).contains(QStringLiteral("Bekleyen")));
        QVERIFY(planner->cellText(7, 3).contains(QStringLiteral("Görüşülen")));
        QVERIFY(forms->randevuF->report(QStringLiteral("frReport1"))
                    .text(QStringLiteral("Memo5"))
                    .endsWith(QStringLiteral("Görüşme Yapılan - Bekleyen Tüm Randevular. ")));
    }

    void gridKeys()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        QVERIFY(activateForKeys(planner));
        planner->StringGrid1->setFocus();
        planner->setCurrentCell(30, 2);
        QTest::keyClick(planner->StringGrid1, Qt::Key_Return);
        QCOMPARE(planner->currentCell(), QPoint(31, 2));
        QTest::keyClick(planner->StringGrid1, Qt::Key_Return);
        QCOMPARE(planner->currentCell(), QPoint(1, 3));
        planner->setCurrentCell(31, 21);
        QTest::keyClick(planner->StringGrid1, Qt::Key_Return);
        QCOMPARE(planner->currentCell(), QPoint(1, 21)); // the last row stays
        // Typing neither edits nor jumps; Delete does nothing.
        QTest::keyClicks(planner->StringGrid1, QStringLiteral("P1"));
        QTest::keyClick(planner->StringGrid1, Qt::Key_Delete);
        QCOMPARE(planner->currentCell(), QPoint(1, 21));
        QCOMPARE(planner->cellText(1, 21), QString());
    }

    void printShowsTheMonthOfTheList()
    {
        App app;
        fillWeek(app);
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        QPointer<ReportPreview> preview = planner->yazdirButClick();
        QVERIFY(preview);
        const reports::PreparedPage &page = preview->report().pages.first();
        QVERIFY(page.textOf(QStringLiteral("Memo5"))
                    .startsWith(QStringLiteral("KISITLAMA: 01.10.2009-31.10.2009 Tarihleri")));
        const QStringList texts = page.texts();
        QVERIFY(texts.contains(QStringLiteral("Salı Yılmaz")));
        QVERIFY(!texts.contains(QStringLiteral("Kasım Yılmaz")));
        delete preview;
    }

    void bookingHandsOverDayAndTime_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("date");
        QTest::newRow("day 7") << 7 << "09:30"
                               << "07.10.2009";
        QTest::newRow("day 12") << 12 << "17:00"
                                << "12.10.2009";
    }

    void bookingHandsOverDayAndTime()
    {
        QFETCH(int, column);
        QFETCH(QString, slot);
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        planner->setCurrentCell(column, rowOf(planner, slot));
        QTEST(planner->bookingDate(), "date");
        planner->Bugnvebusaaterandevuver1Click();
        EntryForm *main = app.forms().entryForm;
        QTEST(main->RTarihiEdit->text(), "date");
        QCOMPARE(main->RSaatiEdit->text(), slot);
        QVERIFY(!planner->isVisible());
    }

    void menuOffersTheThreePathsInOrder()
    {
        App app;
        TaylikF *planner = app.forms().aylikF;
        QStringList captions;
        for (QAction *action : planner->PopupMenu1->actions())
            captions << action->text();
        QCOMPARE(captions,
            (QStringList { QStringLiteral("Kişi seçerek bu gün ve bu saate doğrudan randevu ver"),
                QStringLiteral("Kişi seçerek bu gün ve bu saate randevu ver"),
                QStringLiteral("Listeden bu gün ve bu saate randevu ver") }));
    }

    void directBookingAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(Answer::No);
        QTest::newRow("cancel") << int(Answer::Cancel);
    }

    void directBookingAsksFirst()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        planner->setPickedPackage({ QStringLiteral("3"), QStringLiteral("Eski"), {}, {} });
        planner->setCurrentCell(7, rowOf(planner, QStringLiteral("09:30")));
        QFETCH(int, answer);
        app.dialogs.expectQuestion(Answer(answer));
        QTest::mouseDClick(planner->StringGrid1->viewport(), Qt::LeftButton, {},
            planner->StringGrid1->visualRect(planner->StringGrid1->currentIndex()).center());
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.shown().first().title, QStringLiteral("Lumkar Vikelmo"));
        QCOMPARE(app.dialogs.lastText(),
            QStringLiteral("Tarih : 07.10.2009 Saat : 09:30 ,") + app.session().currentUser.adSoyad
                + QStringLiteral(" kullanıcısına randevu girilecektir. Devam edilsin mi?"));
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNoCancel);
        QVERIFY(!app.forms().paketlerF->isVisible());
        QCOMPARE(planner->pickedPackage().adi, QStringLiteral("Eski")); // not cleared
    }

    void directBookingYesClearsThePickAndShowsThePackages()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        planner->setPickedPackage({ QStringLiteral("3"), QStringLiteral("Eski"), {}, {} });
        planner->setCurrentCell(7, rowOf(planner, QStringLiteral("09:30")));
        app.dialogs.expectQuestion(Answer::Yes);
        planner->Firmaseerekbugnvebusaatedorudanrandevuver1Click();
        QVERIFY(planner->pickedPackage().adi.isEmpty());
        QVERIFY(app.forms().paketlerF->isVisible());
        QVERIFY(app.forms().paketlerF->isChoosing());
    }

    void completedBookingStoresTheAppointmentAndFillsTheCell_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("cell");
        const QString person = QStringLiteral("-Kişi:Zeynep Kaya -Paket:Bakım");
        QTest::newRow("typed amount")
            << true << "120,555" << 120.56 << person + QStringLiteral(" -Tutar:120,56 ");
        QTest::newRow("cancel keeps the package's price")
            << false << "999" << 150.5 << person + QStringLiteral(" -Tutar:150,5 ");
        QTest::newRow("zero answer") << true << "0" << 0.0 << person + QStringLiteral(" ");
        QTest::newRow("empty answer") << true << "" << 0.0 << person + QStringLiteral(" ");
    }

    // The whole chain after the package and the person were chosen: the amount box, the entry
    // form's save, the cell.
    void completedBookingStoresTheAppointmentAndFillsTheCell()
    {
        QFETCH(bool, accept);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        App app;
        app.exec(QStringLiteral("INSERT INTO paketler (paketkodu, paketadi, tutar, primoran) "
                                "VALUES (7, 'Bakım', 150.5, 12.5)"));
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('5', 'Zeynep', 'Kaya')"));
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        const int row = rowOf(planner, QStringLiteral("09:30"));
        planner->setCurrentCell(7, row);
        planner->setPickedPackage({ QStringLiteral("7"), QStringLiteral("Bakım"),
            QStringLiteral("150,5"), QStringLiteral("12,5") });
        EntryForm *main = app.forms().entryForm;
        main->kisinoedit->setText(QStringLiteral("5"));
        main->AdiEdit->setText(QStringLiteral("Zeynep"));
        main->SoyadiEdit->setText(QStringLiteral("Kaya"));
        app.dialogs.expectInput(accept, typed);
        planner->GirisHazirla();
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.shown().first().title, QStringLiteral("Tutar Girişi"));
        QCOMPARE(app.dialogs.shown().first().text, QStringLiteral("Tutar"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 1);
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi || ' ' || soyadi || ' ' || RKime || ' ' "
                                           "|| paketkodu || ' ' || paketadi || ' ' || "
                                           "randevutarihi || ' ' || randevusaati FROM randevu"))
                     .toString(),
            QStringLiteral("Zeynep Kaya lumkar 7 Bakım 2009-10-07 00:00:00 1899-12-30 09:30:00"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT islem_tutari FROM randevu")).toDouble(),
            stored);
        QCOMPARE(app.scalar(QStringLiteral("SELECT paketprim FROM randevu")).toDouble(), 12.5);
        QTEST(planner->cellText(7, row), "cell");
        QVERIFY(planner->isVisible()); // the planner stays open after a direct booking
        // The next reload reads the stored appointment back.
        planner->hazirlaButClick();
        QVERIFY(planner->cellText(7, row).startsWith(QStringLiteral("-Kişi:Zeynep Kaya")));
    }

    void bookingForAnotherUserLeavesTheCell()
    {
        App app;
        app.addUser(kEce, QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('5', 'Zeynep', 'Kaya')"));
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        planner->RKiminAdSoyadBox->setCurrentText(QStringLiteral("Ece Ak"));
        const int row = rowOf(planner, QStringLiteral("10:00"));
        planner->setCurrentCell(12, row);
        EntryForm *main = app.forms().entryForm;
        main->kisinoedit->setText(QStringLiteral("5"));
        main->AdiEdit->setText(QStringLiteral("Zeynep"));
        main->SoyadiEdit->setText(QStringLiteral("Kaya"));
        app.dialogs.expectInput(true, QStringLiteral("50"));
        planner->GirisHazirla();
        QCOMPARE(app.scalar(QStringLiteral("SELECT RKime || ' ' || randevutarihi FROM randevu"))
                     .toString(),
            QStringLiteral("ece 2009-10-12 00:00:00"));
        QCOMPARE(planner->cellText(12, row), QString());
    }

    // A direct booking is always a new appointment: an appointment loaded into the entry form
    // for a change is dropped only after the question, and never rewritten.
    void directBookingNeverRewritesALoadedAppointment()
    {
        App app;
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('5', 'Zeynep', 'Kaya')"));
        QVERIFY(app.login(kMe));
        const qlonglong loaded = add(app, QStringLiteral("Yüklenen"), QDate(2009, 10, 7),
                                     QTime(9, 0));
        TaylikF *planner = openOctober(app);
        EntryForm *entry = app.forms().entryForm;
        QVERIFY(app.forms().dayLists->reopenDayLists());
        app.forms().dayLists->randevuTable->first();
        entry->loadForChange();
        QCOMPARE(entry->randevunoEdit->text(), QString::number(loaded));
        planner->setCurrentCell(8, rowOf(planner, QStringLiteral("11:00")));
        // Keeping the loaded change ends the booking before the package window.
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectQuestion(Answer::No);
        planner->Firmaseerekbugnvebusaatedorudanrandevuver1Click();
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Yapılan değişiklik kayıt yapılmadan çıkılsınmı?"));
        QVERIFY(!app.forms().paketlerF->isVisible());
        QCOMPARE(entry->randevunoEdit->text(), QString::number(loaded));
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectQuestion(Answer::Yes);
        planner->Firmaseerekbugnvebusaatedorudanrandevuver1Click();
        QVERIFY(entry->randevunoEdit->text().isEmpty());
        // Even a change loaded while the chain runs is not rewritten.
        app.forms().dayLists->randevuTable->first();
        entry->loadForChange();
        entry->setEntryPerson({QStringLiteral("5"), QStringLiteral("Zeynep"),
                               QStringLiteral("Kaya"), {}, {}, {}, {}});
        app.dialogs.expectInput(true, QStringLiteral("40"));
        planner->GirisHazirla();
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 2);
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi || ' ' || randevusaati FROM randevu "
                                           "WHERE rid=?"),
                            {loaded})
                     .toString(),
                 QStringLiteral("Yüklenen 1899-12-30 09:00:00"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi || ' ' || randevusaati FROM randevu "
                                           "WHERE rid<>?"),
                            {loaded})
                     .toString(),
                 QStringLiteral("Zeynep 1899-12-30 11:00:00"));
    }

    // A booking the save refuses leaves the cell as it was and writes nothing.
    void refusedDirectBookingLeavesTheCell_data()
    {
        QTest::addColumn<bool>("mayAdd");
        QTest::addColumn<QString>("message");
        QTest::newRow("no right to add")
            << false << "Randevu kaydetme yetkiniz yok! Randevu kaydedilmedi.";
        QTest::newRow("user the entry form cannot hold")
            << true << "Lumkar Yönetici kullanıcısına randevu veremezsiniz: başka kullanıcılara "
                       "randevu verme yetkiniz yok ya da kullanıcı listede değil. Randevu "
                       "kaydedilmedi.";
    }

    void refusedDirectBookingLeavesTheCell()
    {
        QFETCH(bool, mayAdd);
        App app;
        Rights rights;
        rights.ekle = mayAdd ? QStringLiteral("E") : QStringLiteral("H");
        rights.baskasirandevuver = QStringLiteral("H");
        app.addUser(kEce, QString(), QStringLiteral("Ece"), QStringLiteral("Ak"), rights);
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('5', 'Zeynep', 'Kaya')"));
        QVERIFY(app.login(kEce));
        TaylikF *planner = openOctober(app);
        if (mayAdd) // Ece sees everyone's appointments but books only for herself
            planner->RKiminAdSoyadBox->setCurrentText(QStringLiteral("Lumkar Yönetici"));
        planner->CheckBox2->setChecked(true);
        planner->hazirlaButClick();
        const int row = rowOf(planner, QStringLiteral("10:00"));
        planner->setCurrentCell(12, row);
        app.forms().entryForm->setEntryPerson({QStringLiteral("5"), QStringLiteral("Zeynep"),
                                               QStringLiteral("Kaya"), {}, {}, {}, {}});
        app.dialogs.expectInput(true, QStringLiteral("50"));
        app.dialogs.expectNotice();
        planner->GirisHazirla();
        QTEST(app.dialogs.lastText(), "message");
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 0);
        QCOMPARE(planner->cellText(12, row), QString());
    }

    void malformedAmountStopsTheBooking()
    {
        App app;
        QVERIFY(app.login(kMe));
        TaylikF *planner = openOctober(app);
        planner->setCurrentCell(7, 2);
        app.dialogs.expectInput(true, QStringLiteral("1,2,3"));
        app.dialogs.expectNotice();
        planner->GirisHazirla();
        QCOMPARE(app.dialogs.shown().last().kind, QStringLiteral("warning"));
        QCOMPARE(maskedText(app.forms().entryForm->RTarihiEdit), QStringLiteral("  .  .    "));
        QCOMPARE(planner->cellText(7, 2), QString());
    }
};

LUMKAR_TEST(PlannerTest)
#include "tst_aylik.moc"
