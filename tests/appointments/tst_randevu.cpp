// The appointment list: which appointments it lists, its headings, deletion, change, the
// printouts and the preparation for a change begun in the main window.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/appointmentlist.h"
#include "appointments/entrypanel.h"
#include "appointments/randevu.h"
#include "reports/preview.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QDate kFirst(2009, 10, 1);
const QDate kLast(2009, 10, 31);
const QString kMe = QStringLiteral("lumkar");
const QString kEce = QStringLiteral("ece");

QStringList names(DataSet *ds)
{
    QStringList out;
    for (int i = 0; i < ds->recordCount(); ++i)
        out << ds->valueAt(i, ds->fieldIndex(QStringLiteral("adi"))).toString();
    out.sort();
    return out;
}

qlonglong add(App &app, const QString &adi, const QDate &day, const QVariant &visit = {},
    const QVariant &cancel = {}, const QString &owner = kMe)
{
    AppointmentRow a;
    a.adi = adi;
    a.day = day;
    a.owner = owner;
    a.gorusmekodu = visit;
    a.iptalkodu = cancel;
    return app.addAppointment(a);
}

// October 2009: waiting, held, code 0, held and cancelled, cancelled, the last day, the days
// around the month, and one of another user.
void fillMonth(App &app)
{
    app.addUser(kEce, QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
    add(app, QStringLiteral("Bekleyen"), QDate(2009, 10, 7));
    add(app, QStringLiteral("Görüşülen"), QDate(2009, 10, 8), 5);
    add(app, QStringLiteral("Sıfır"), QDate(2009, 10, 9), 0);
    add(app, QStringLiteral("Gerçekleşti"), QDate(2009, 10, 9), 999999);
    add(app, QStringLiteral("İptal"), QDate(2009, 10, 10), {}, 999999);
    add(app, QStringLiteral("GörüşülüpİptalEdilen"), QDate(2009, 10, 11), 6, 999999);
    add(app, QStringLiteral("SonGün"), kLast);
    add(app, QStringLiteral("Önceki"), QDate(2009, 9, 30));
    add(app, QStringLiteral("Sonraki"), QDate(2009, 11, 1));
    add(app, QStringLiteral("Ecenin"), QDate(2009, 10, 12), {}, {}, kEce);
}

TrandevuF *openList(App &app, const QDate &from = kFirst, const QDate &to = kLast)
{
    TrandevuF *list = app.forms().randevuF;
    app.forms().anamenuf->N3RandevuRaporlari();
    list->JvDateTimePicker1->setDate(from);
    list->JvDateTimePicker2->setDate(to);
    list->ButsorguClick();
    return list;
}

QStringList split(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

} // namespace

class AppointmentListTest : public QObject {
    Q_OBJECT
private slots:
    void listedAppointments_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<bool>("both");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("waiting: empty and 0 codes")
            << kFirst << kLast << false << false << false << split("Bekleyen|SonGün|Sıfır");
        QTest::newRow("held: codes from 1")
            << kFirst << kLast << false << true << false << split("Gerçekleşti|Görüşülen");
        QTest::newRow("waiting and held") << kFirst << kLast << true << false << false
                                          << split("Bekleyen|Gerçekleşti|Görüşülen|SonGün|Sıfır");
        QTest::newRow("both boxes: waiting and held")
            << kFirst << kLast << true << true << false
            << split("Bekleyen|Gerçekleşti|Görüşülen|SonGün|Sıfır");
        QTest::newRow("every user")
            << kFirst << kLast << false << false << true << split("Bekleyen|Ecenin|SonGün|Sıfır");
        QTest::newRow("end before start")
            << kLast << kFirst << true << false << true << QStringList();
        QTest::newRow("one day, the last")
            << kLast << kLast << false << false << false << split("SonGün");
        QTest::newRow("wider range") << QDate(2009, 9, 30) << QDate(2009, 11, 1) << false << false
                                     << false << split("Bekleyen|SonGün|Sonraki|Sıfır|Önceki");
    }

    // The window's list, and the same filter read through SQL alone and through the program
    // filter alone over every row: the three agree.
    void listedAppointments()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(bool, both);
        QFETCH(bool, held);
        QFETCH(bool, all);
        QFETCH(QStringList, listed);
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox1->setChecked(both);
        list->CheckBox3->setChecked(held);
        list->CheckBox2->setChecked(all);
        openList(app, from, to);
        QCOMPARE(names(list->randevuTable), listed);

        const AppointmentListFilter filter = list->currentFilter();
        DataSet bySql(app.db());
        bySql.setTable(QStringLiteral("randevu"));
        bySql.setPrefilter(filter.sqlCondition(), filter.sqlValues());
        QVERIFY(bySql.open());
        QCOMPARE(names(&bySql), listed);
        DataSet byProgram(app.db());
        byProgram.setTable(QStringLiteral("randevu"));
        byProgram.setFilter([&](const Record &row) { return filter.accepts(row); });
        byProgram.setFiltered(true);
        QVERIFY(byProgram.open());
        QCOMPARE(names(&byProgram), listed);
    }

    // Both pickers hold midnight: a stored day carrying a time of day counts from the first day
    // on and not on the last day, in the SQL and in the program filter alike.
    void timeOfDayOnTheEdgeDays()
    {
        App app;
        QVERIFY(app.login(kMe));
        const qlonglong first = add(app, QStringLiteral("İlkGünÖğle"), kFirst);
        const qlonglong last = add(app, QStringLiteral("SonGünÖğle"), kLast);
        app.exec(QStringLiteral("UPDATE randevu SET randevutarihi = ? WHERE rid = ?"),
            { QStringLiteral("2009-10-01 12:00:00"), first });
        app.exec(QStringLiteral("UPDATE randevu SET randevutarihi = ? WHERE rid = ?"),
            { QStringLiteral("2009-10-31 12:00:00"), last });
        TrandevuF *list = openList(app);
        QCOMPARE(names(list->randevuTable), split("İlkGünÖğle"));
        DataSet byProgram(app.db());
        byProgram.setTable(QStringLiteral("randevu"));
        const AppointmentListFilter filter = list->currentFilter();
        byProgram.setFilter([&](const Record &row) { return filter.accepts(row); });
        byProgram.setFiltered(true);
        QVERIFY(byProgram.open());
        QCOMPARE(names(&byProgram), split("İlkGünÖğle"));
    }

    void headings_data()
    {
        QTest::addColumn<bool>("both");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("tail");
        QTest::newRow("waiting, one user")
            << false << false << false << "Ece Ak Kullanıcısına Ait Sadece Bekleyen Randevular. ";
        QTest::newRow("held, one user")
            << false << true << false
            << "Ece Ak Kullanıcısına Ait Sadece Görüşme Yapılan Randevular. ";
        QTest::newRow("both, one user")
            << true << false << false
            << "Ece Ak Kullanıcısına Ait Sadece Görüşme Yapılan - Bekleyen Tüm Randevular. ";
        QTest::newRow("both boxes, all users")
            << true << true << true
            << "Tüm Kullanıcılara Ait Sadece Görüşme Yapılan - Bekleyen Tüm Randevular. ";
        QTest::newRow("waiting, all users")
            << false << false << true << "Tüm Kullanıcılara Ait Sadece Bekleyen Randevular. ";
        QTest::newRow("held, all users")
            << false << true << true << "Tüm Kullanıcılara Ait Sadece Görüşme Yapılan Randevular. ";
    }

    void headings()
    {
        QFETCH(bool, both);
        QFETCH(bool, held);
        QFETCH(bool, all);
        QFETCH(QString, tail);
        AppointmentListFilter filter { kFirst, kLast, listModeOf(both, held), !all, kEce };
        QCOMPARE(listHeading(filter, QStringLiteral("Ece Ak")),
            QStringLiteral("KISITLAMA: 01.10.2009-31.10.2009 Tarihleri Arası ") + tail);
    }

    void queryByKeySetsTheHeadingOfTheFirstLayout()
    {
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = app.forms().randevuF;
        app.forms().anamenuf->N3RandevuRaporlari();
        QCOMPARE(
            list->report(QStringLiteral("frReport1")).text(QStringLiteral("Memo5")), QString());
        list->JvDateTimePicker1->setDate(kFirst);
        list->JvDateTimePicker2->setDate(kLast);
        QVERIFY(activateForKeys(list));
        list->JvDBUltimGrid1->setFocus();
        QTest::keyClick(list->JvDBUltimGrid1, Qt::Key_F7);
        QCOMPARE(names(list->randevuTable), split("Bekleyen|SonGün|Sıfır"));
        const QString name = app.session().currentUser.adSoyad;
        QCOMPARE(list->report(QStringLiteral("frReport1")).text(QStringLiteral("Memo5")),
            QStringLiteral("KISITLAMA: 01.10.2009-31.10.2009 Tarihleri Arası ") + name
                + QStringLiteral(" Kullanıcısına Ait Sadece Bekleyen Randevular. "));
    }

    // A user who may see everyone's appointments gets the chosen user's with the all-users box
    // unticked, and everyone's with it ticked.
    void untickedAllUsersBoxMeansTheChosenUser()
    {
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        QVERIFY(list->CheckBox2->isVisible());
        list->RKiminAdSoyadBox->setCurrentText(QStringLiteral("Ece Ak"));
        QCOMPARE(list->RKimeBox->currentText(), kEce);
        QTest::mouseClick(list->Button2, Qt::LeftButton);
        QCOMPARE(names(list->randevuTable), split("Ecenin"));
        QTest::mouseClick(list->CheckBox2, Qt::LeftButton);
        QVERIFY(list->CheckBox2->isChecked());
        QVERIFY(!list->JvDBUltimGrid1->isColumnHidden(0));
        QCOMPARE(names(list->randevuTable), split("Bekleyen|Ecenin|SonGün|Sıfır"));
        QTest::mouseClick(list->CheckBox2, Qt::LeftButton);
        QVERIFY(list->JvDBUltimGrid1->isColumnHidden(0));
        QCOMPARE(names(list->randevuTable), split("Ecenin"));
    }

    void userWithoutTheRightSeesOnlyHisOwn()
    {
        App app;
        fillMonth(app);
        Rights own;
        own.herksesigor = QStringLiteral("H");
        app.addUser(
            QStringLiteral("ali"), QString(), QStringLiteral("Ali"), QStringLiteral("Veli"), own);
        add(app, QStringLiteral("Alinin"), QDate(2009, 10, 20), {}, {}, QStringLiteral("ali"));
        QVERIFY(app.login(QStringLiteral("ali")));
        TrandevuF *list = openList(app);
        QVERIFY(!list->CheckBox2->isVisible());
        QCOMPARE(names(list->randevuTable), split("Alinin"));
        QTest::mouseClick(list->Button2, Qt::LeftButton); // changes nothing for him
        QCOMPARE(names(list->randevuTable), split("Alinin"));
    }

    void modeBoxesExcludeEachOtherAndQuery()
    {
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        QTest::mouseClick(list->CheckBox3, Qt::LeftButton);
        QCOMPARE(names(list->randevuTable), split("Gerçekleşti|Görüşülen"));
        QTest::mouseClick(list->CheckBox1, Qt::LeftButton);
        QVERIFY(!list->CheckBox3->isChecked());
        QCOMPARE(names(list->randevuTable).size(), 5);
        list->CheckBox1->setFocus();
        QTest::keyClick(list->CheckBox1, Qt::Key_Space); // unticked by key: waiting only
        QVERIFY(!list->CheckBox1->isChecked());
        QCOMPARE(names(list->randevuTable), split("Bekleyen|SonGün|Sıfır"));
    }

    void deletion_data()
    {
        QTest::addColumn<QVariant>("visit");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("notice");
        const QString refusal = QStringLiteral(
            "Bu randevunun görüşme kaydı var! Silmeden önce görüşme kaydını siliniz!");
        QTest::newRow("no visit, yes") << QVariant() << int(Answer::Yes) << true << QString();
        QTest::newRow("code 0, yes") << QVariant(0) << int(Answer::Yes) << true << QString();
        QTest::newRow("no visit, no") << QVariant() << int(Answer::No) << false << QString();
        QTest::newRow("code 5, yes") << QVariant(5) << int(Answer::Yes) << false << refusal;
        QTest::newRow("code 5, no") << QVariant(5) << int(Answer::No) << false << QString();
    }

    void deletion()
    {
        QFETCH(QVariant, visit);
        QFETCH(int, answer);
        QFETCH(bool, deleted);
        QFETCH(QString, notice);
        App app;
        QVERIFY(app.login(kMe));
        const qlonglong rid = add(app, QStringLiteral("Silinecek"), QDate(2009, 10, 7), visit);
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox1->setChecked(true);
        openList(app);
        QCOMPARE(list->randevuTable->recordCount(), 1);
        app.dialogs.expectQuestion(Answer(answer));
        if (!notice.isEmpty())
            app.dialogs.expectNotice();
        QVERIFY(activateForKeys(list));
        list->JvDBUltimGrid1->setFocus();
        QTest::keyClick(list->JvDBUltimGrid1, Qt::Key_F5);
        QCOMPARE(app.dialogs.shown().first().text, QStringLiteral("Kayıt silinsin mi?"));
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNo);
        if (!notice.isEmpty())
            QCOMPARE(app.dialogs.lastText(), notice);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu WHERE rid = ?"), { rid })
                     .toInt(),
            deleted ? 0 : 1);
        QCOMPARE(list->randevuTable->recordCount(), deleted ? 0 : 1);
        QVERIFY(app.dialogs.allConsumed());
    }

    void deleteOnAnEmptyListAsksNothing()
    {
        App app;
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        QCOMPARE(list->randevuTable->recordCount(), 0);
        list->Button1Click();
        list->degistirButClick();
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void changeRefusedWithAVisit()
    {
        App app;
        QVERIFY(app.login(kMe));
        add(app, QStringLiteral("Görüşülen"), QDate(2009, 10, 8), 5);
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox3->setChecked(true);
        openList(app);
        app.dialogs.expectNotice();
        QTest::mouseClick(list->degistirBut, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
            QStringLiteral("Bu randevunun görüşme kaydı var! Değiştirmeden önce görüşme "
                           "kaydını siliniz!"));
        QVERIFY(list->isVisible());
        QVERIFY(app.forms().entryForm->randevunoEdit->text().isEmpty());
    }

    void changeFillsTheEntryForm()
    {
        App app;
        app.addUser(kEce, QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        QVERIFY(app.login(kMe));
        AppointmentRow a;
        a.owner = kEce;
        a.ownerName = QStringLiteral("Ece Ak");
        a.day = QDate(2009, 10, 7);
        a.time = QTime(9, 5);
        a.gorusmekodu = 0;
        a.sicilKodu = QStringLiteral("42");
        const qlonglong rid = app.addAppointment(a);
        app.exec(QStringLiteral("UPDATE randevu SET adresi = ?, konu = ?, telefonu = ?, "
                                "ceptel = ?, islem_tutari = ?, paketkodu = ?, paketadi = ? "
                                "WHERE rid = ?"),
            { QStringLiteral("Bir Sokak\r\nİstanbul\r\n"), QStringLiteral("Kontrol\r\n"),
                QStringLiteral("(212) 555 12 34"), QStringLiteral("(532) 111 22 33"), 1250.5, 7,
                QStringLiteral("Bakım"), rid });
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox2->setChecked(true);
        openList(app);
        QCOMPARE(list->randevuTable->recordCount(), 1);
        QVERIFY(activateForKeys(list));
        list->JvDBUltimGrid1->setFocus();
        QTest::keyClick(list->JvDBUltimGrid1, Qt::Key_F8);
        EntryForm *main = app.forms().entryForm;
        QVERIFY(!list->isVisible());
        QCOMPARE(main->kisinoedit->text(), QStringLiteral("42"));
        QCOMPARE(main->AdiEdit->text(), QStringLiteral("Ayşe"));
        QCOMPARE(main->SoyadiEdit->text(), QStringLiteral("Yılmaz"));
        QCOMPARE(main->RTarihiEdit->text(), QStringLiteral("07.10.2009"));
        QCOMPARE(main->RSaatiEdit->text(), QStringLiteral("09:05"));
        QCOMPARE(main->adresMemo->toPlainText(), QStringLiteral("Bir Sokak\nİstanbul"));
        QCOMPARE(main->konuMemo->toPlainText(), QStringLiteral("Kontrol"));
        QCOMPARE(main->Telefon1Edit->text(), QStringLiteral("(212) 555 12 34"));
        QCOMPARE(main->CepTelefonEdit->text(), QStringLiteral("(532) 111 22 33"));
        QCOMPARE(main->islemTutariEdit->text(), QStringLiteral("1250,5"));
        QCOMPARE(main->RKimeBox->currentText(), kEce);
        QCOMPARE(main->RKiminAdSoyadBox->currentText(), QStringLiteral("Ece Ak"));
        QCOMPARE(main->randevunoEdit->text(), QString::number(rid));
        QCOMPARE(main->paketkoduEdit->text(), QStringLiteral("7"));
        QCOMPARE(main->paketadiEdit->text(), QStringLiteral("Bakım"));
    }

    void preparedForAChangeFromTheMainWindow()
    {
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox1->setChecked(true);
        list->CheckBox3->setChecked(true);
        list->prepareForChange(QDate(2009, 10, 8), true);
        QVERIFY(!list->isVisible());
        QVERIFY(!list->CheckBox1->isChecked() && !list->CheckBox3->isChecked());
        QVERIFY(list->CheckBox2->isChecked());
        QCOMPARE(list->JvDateTimePicker1->date(), QDate(2009, 10, 7));
        QCOMPARE(list->JvDateTimePicker2->date(), QDate(2009, 11, 7));
        QVERIFY(list->randevuTable->isOpen());
        QCOMPARE(names(list->randevuTable), split("Bekleyen|Ecenin|SonGün|Sonraki|Sıfır"));
        list->prepareForChange(QDate(2009, 10, 8), false);
        QVERIFY(!list->CheckBox2->isChecked());
    }

    void printouts_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("amounts");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("list") << false << false << split("TARİH|SAAT|ADI SOYADI|PAKET|TELEFONU");
        QTest::newRow("list, all users")
            << true << false << split("R.KİME|TARİH|SAAT|ADI SOYADI|PAKET|ADRESİ|TELEFONU");
        QTest::newRow("amounts") << false << true
                                 << split("TARİH|SAAT|ADI SOYADI|PAKET|ADRESİ|TUTARI|TELEFONU");
        QTest::newRow("amounts, all users")
            << true << true << split("R.KİME|TARİH|SAAT|ADI SOYADI|PAKET|TUTARI|TELEFONU");
    }

    void printouts()
    {
        QFETCH(bool, all);
        QFETCH(bool, amounts);
        QFETCH(QStringList, captions);
        App app;
        fillMonth(app);
        QVERIFY(app.login(kMe));
        TrandevuF *list = app.forms().randevuF;
        list->CheckBox2->setChecked(all);
        openList(app);
        const QString heading
            = list->report(QStringLiteral("frReport1")).text(QStringLiteral("Memo5"));
        QVERIFY(heading.startsWith(QStringLiteral("KISITLAMA: 01.10.2009-31.10.2009")));
        QPointer<ReportPreview> preview = amounts ? list->yazBut2Click() : list->yazButClick();
        QVERIFY(preview);
        QCOMPARE(
            preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Selvaron Kartları"));
        const reports::PreparedPage &page = preview->report().pages.first();
        QCOMPARE(page.textOf(QStringLiteral("Memo5")), heading);
        QCOMPARE(page.textOf(QStringLiteral("Memo19")), app.session().currentUser.adSoyad);
        QStringList shownCaptions;
        static const QRegularExpression caption(QStringLiteral("^Caption\\d+$"));
        for (const reports::PreparedItem &item : page.items)
            if (caption.match(item.name).hasMatch())
                shownCaptions << item.text;
        QCOMPARE(shownCaptions, captions);
        const QStringList texts = page.texts();
        QVERIFY(texts.contains(QStringLiteral("Bekleyen Yılmaz")));
        QCOMPARE(texts.contains(QStringLiteral("Ecenin Yılmaz")), all);
        QVERIFY(!texts.contains(QStringLiteral("İptal Yılmaz")));
        preview->close();
        delete preview;
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    // Every field the four layouts print is a column of the list's table.
    void layoutFieldsAreColumnsOfTheList()
    {
        App app;
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        static const QRegularExpression field(QStringLiteral("\\[([^\\]]+)\\]"));
        const QStringList builtIn { QStringLiteral("LINE#"), QStringLiteral("DATE"),
            QStringLiteral("TIME"), QStringLiteral("PAGE#"), QStringLiteral("TOTALPAGES") };
        int fields = 0;
        for (const char *component : { "frReport1", "frReport2", "frReport3", "frReport4" }) {
            const reports::Layout &layout = list->report(QString::fromLatin1(component)).layout();
            QVERIFY(!layout.isEmpty());
            for (const reports::Band &band : layout.bands)
                for (const reports::Cell &cell : band.cells)
                    for (const auto &match : field.globalMatch(cell.text)) {
                        const QString name = match.captured(1).trimmed();
                        if (builtIn.contains(name.toUpper()))
                            continue;
                        ++fields;
                        QVERIFY2(list->randevuTable->fieldIndex(name) >= 0,
                            qPrintable(QString::fromLatin1(component) + QLatin1Char(' ') + name));
                    }
        }
        QVERIFY(fields >= 20);
    }

    void columnChooserKeepsOneColumn()
    {
        App app;
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        GridView *grid = list->JvDBUltimGrid1;
        ColumnChooser chooser(grid, app.dialogs);
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Gösterlecek Kolonları Seç"));
        QCOMPARE(chooser.okButton()->text(), QStringLiteral("&Tamam"));
        QCOMPARE(chooser.boxes().size(), 11);
        QCOMPARE(chooser.boxes().at(2)->text(), QStringLiteral("Adı"));
        QVERIFY(!chooser.boxes().at(1)->isChecked()); // "Kodu" is hidden
        for (QCheckBox *box : chooser.boxes())
            box->setChecked(false);
        app.dialogs.expectNotice();
        QTest::mouseClick(chooser.okButton(), Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("En Az bir kolon görünür olmalı"));
        QVERIFY(!grid->isColumnHidden(2));
        QCOMPARE(chooser.result(), int(QDialog::Rejected));
        chooser.boxes().at(3)->setChecked(true);
        QTest::mouseClick(chooser.okButton(), Qt::LeftButton);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        for (int c = 0; c < 11; ++c)
            QCOMPARE(grid->isColumnHidden(c), c != 3);
    }

    void closeHandsBackToTheMainWindow()
    {
        App app;
        QVERIFY(app.login(kMe));
        TrandevuF *list = openList(app);
        QVERIFY(list->randevuTable->isOpen());
        QVERIFY(activateForKeys(list));
        list->JvDBUltimGrid1->setFocus();
        QTest::keyClick(list->JvDBUltimGrid1, Qt::Key_F10);
        QVERIFY(!list->isVisible());
        QVERIFY(!list->randevuTable->isOpen());
        QVERIFY(app.forms().anamenuf->isVisible());
        QVERIFY(app.forms().anamenuf->isEnabled());
    }
};

LUMKAR_TEST(AppointmentListTest)
#include "tst_randevu.moc"
