#include "appointments/randevu.h"

#include "data/asread.h"

#include "app/helptopics.h"
#include "app/userrights.h"
#include "appointments/appointmentstate.h"
#include "appointments/entryappointment.h"
#include "appointments/entrypanel.h"
#include "appointments/icalendar.h"
#include "appointments/plannersettings.h"
#include "data/formats.h"
#include "data/inifile.h"
#include "data/wholefile.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

const QString kHeadingCell = QStringLiteral("Memo5");
const QString kGorusmekodu = QStringLiteral("gorusmekodu");

} // namespace

TrandevuF::TrandevuF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("randevuF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Randevular"));
    randevuTable = new DataSet(session.db(), this);
    randevuTable->setObjectName(QStringLiteral("randevuTable"));
    randevuTable->setTable(QStringLiteral("randevu"), { QStringLiteral("randevutarihi") });
    randevuTable->setOwnerWindow(this);
    randevuTable->setFilter([this](const Record &row) { return m_filter.accepts(row); });
    randevuTable->setFiltered(true);
    // The filter's SQL twin is exact: the database orders, counts and reads the list by pages.
    randevuTable->readByPages({});
    buildWindow();
    buildMenu();
    m_filter = currentFilter();
    randevuTable->setPrefilter(m_filter.sqlCondition(), m_filter.sqlValues());
}

void TrandevuF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *range = new QHBoxLayout;
    const QDate today = QDate::currentDate();
    JvDateTimePicker1 = newDatePicker(this, QStringLiteral("JvDateTimePicker1"));
    JvDateTimePicker1->setDate(today);
    JvDateTimePicker2 = newDatePicker(this, QStringLiteral("JvDateTimePicker2"));
    JvDateTimePicker2->setDate(today.addDays(30));
    range->addWidget(new QLabel(QStringLiteral("Başlama Tarihi"), this));
    range->addWidget(JvDateTimePicker1);
    range->addWidget(new QLabel(QStringLiteral("Bitiş Tarihi"), this));
    range->addWidget(JvDateTimePicker2);
    CheckBox1
        = new CheckBox(QStringLiteral("Bekleyen ve Görüşülen Tüm Randevuların Listesi"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox3 = new CheckBox(QStringLiteral("Sadece Görüşme Yapılan Randevular"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    range->addWidget(CheckBox1);
    range->addWidget(CheckBox3);
    range->addStretch();
    layout->addLayout(range);

    auto button = [this](const QString &name, const QString &caption, const QString &hint) {
        return newButton(this, name, caption, hint);
    };
    auto *users = new QHBoxLayout;
    makeUserBar(QStringLiteral("Kullanıcının Randevuları"),
        QStringLiteral("Tüm Kullanıcıların Randevularını Göster"), this);
    users->addWidget(userBar);
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("..."),
        QStringLiteral("Kullanıcıya Göre Sınırla"));
    Button2->setMaximumWidth(32);
    users->addWidget(Button2);
    users->addStretch();
    Butsorgu = button(
        QStringLiteral("Butsorgu"), QStringLiteral("Arama Yap"), QStringLiteral("Arama yap..."));
    yazBut
        = button(QStringLiteral("yazBut"), QStringLiteral("Yazdır"), QStringLiteral("Yazdır..."));
    yazBut2 = button(
        QStringLiteral("yazBut2"), QStringLiteral("Yazdır (Tutarlı)"), QStringLiteral("Yazdır..."));
    Button1 = button(
        QStringLiteral("Button1"), QStringLiteral("Sil"), QStringLiteral("Randevuyu Sil..."));
    degistirBut = button(QStringLiteral("degistirBut"), QStringLiteral("Değiştir"),
        QStringLiteral("Kaydı Değiştir..."));
    kapatBut
        = button(QStringLiteral("kapatBut"), QStringLiteral("Kapat"), QStringLiteral("Kapat..."));
    tfXPButton1 = new QToolButton(this);
    tfXPButton1->setObjectName(QStringLiteral("tfXPButton1"));
    tfXPButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    tfXPButton1->setAutoRaise(true);
    for (QWidget *w : { static_cast<QWidget *>(Butsorgu), static_cast<QWidget *>(yazBut),
             static_cast<QWidget *>(yazBut2), static_cast<QWidget *>(Button1),
             static_cast<QWidget *>(degistirBut), static_cast<QWidget *>(kapatBut),
             static_cast<QWidget *>(tfXPButton1) })
        users->addWidget(w);
    layout->addLayout(users);

    JvDBUltimGrid1 = new GridView(this);
    JvDBUltimGrid1->setObjectName(QStringLiteral("JvDBUltimGrid1"));
    JvDBUltimGrid1->setEnterRule(GridView::EnterRule::NextColumn);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    JvDBUltimGrid1->setColumns(randevuTable,
        { { QStringLiteral("Rkimeadsoyad"), QStringLiteral("R.Kimin") },
            { QStringLiteral("sicil_kodu"), QStringLiteral("Kodu") },
            { QStringLiteral("adi"), QStringLiteral("Adı") },
            { QStringLiteral("soyadi"), QStringLiteral("Soyadı") },
            { QStringLiteral("paketadi"), QStringLiteral("Paket Adı") },
            { QStringLiteral("randevutarihi"), QStringLiteral("R.Tarihi"),
                QStringLiteral("dd.mm.yyyy") },
            { QStringLiteral("randevusaati"), QStringLiteral("R.Saati"), QStringLiteral("HH:MM") },
            { QStringLiteral("telefonu"), QStringLiteral("Telefon 1") },
            { QStringLiteral("ceptel"), QStringLiteral("Cep Telefonu") },
            { QStringLiteral("islem_tutari"), QStringLiteral("İşlem Tutarı"),
                QStringLiteral("#,###.00"), right },
            { QStringLiteral("kayittarihi"), QStringLiteral("K.Tarihi") } });
    JvDBUltimGrid1->setColumnHidden(0, true);
    JvDBUltimGrid1->setColumnHidden(1, true);
    JvDBUltimGrid1->useColumnChooser(dialogs());
    layout->addWidget(JvDBUltimGrid1, 1);

    connect(Butsorgu, &QPushButton::clicked, this, &TrandevuF::ButsorguClick);
    connect(Button2, &QPushButton::clicked, this, &TrandevuF::Button2Click);
    connect(yazBut, &QPushButton::clicked, this, [this] { yazButClick(); });
    connect(yazBut2, &QPushButton::clicked, this, [this] { yazBut2Click(); });
    connect(Button1, &QPushButton::clicked, this, &TrandevuF::Button1Click);
    connect(degistirBut, &QPushButton::clicked, this, &TrandevuF::degistirButClick);
    connect(kapatBut, &QPushButton::clicked, this, &TrandevuF::kapatButClick);
    connect(tfXPButton1, &QToolButton::clicked, this, &TrandevuF::helpClick);
    // A click or the space bar toggles a box; either runs the query.
    connect(CheckBox1, &QCheckBox::clicked, this, &TrandevuF::CheckBox1Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &TrandevuF::CheckBox3Click);
    connect(CheckBox2, &CheckBox::focusLeft, this, &TrandevuF::CheckBox2Exit);
    connect(CheckBox2, &CheckBox::mouseReleased, this, &TrandevuF::CheckBox2MouseUp);

    m_enterAsTab = new EnterAsTab(this);
    resize(1000, 620);
}

void TrandevuF::buildMenu()
{
    recetemenu = new QMenu(this);
    recetemenu->setObjectName(QStringLiteral("recetemenu"));
    addWindowKey(this, QStringLiteral("RandevuSil1"), QStringLiteral("Randevu Sil"), Qt::Key_F5,
        recetemenu, [this] { Button1Click(); });
    addWindowKey(this, QStringLiteral("Sorgula1"), QStringLiteral("Sorgula"), Qt::Key_F7,
        recetemenu, [this] { ButsorguClick(); });
    addWindowKey(this, QStringLiteral("Degistir1"), QStringLiteral("Değiştir"), Qt::Key_F8,
        recetemenu, [this] { degistirButClick(); });
    addWindowKey(this, QStringLiteral("Kapat1"), QStringLiteral("Kapat"), Qt::Key_F10, recetemenu,
        [this] { kapatButClick(); });
    addWindowKey(this, QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1, nullptr,
        [this] { helpClick(); });
    useAsContextMenu(this, recetemenu);

    takvimeAktar = new QAction(QStringLiteral("Takvime Aktar (.ics)..."), this);
    takvimeAktar->setObjectName(QStringLiteral("takvimeAktar"));
    connect(takvimeAktar, &QAction::triggered, this, &TrandevuF::exportToCalendar);
    JvDBUltimGrid1->addExportAction(takvimeAktar);
}

AppointmentListFilter TrandevuF::currentFilter() const
{
    AppointmentListFilter filter;
    filter.from = JvDateTimePicker1->date();
    filter.to = JvDateTimePicker2->date();
    filter.mode = listModeOf(CheckBox1->isChecked(), CheckBox3->isChecked());
    // Unticked "Tüm Kullanıcıların Randevularını Göster" means the chosen user's appointments,
    // for every user; the box is hidden and unticked for a user who sees only his own.
    filter.oneUser = !CheckBox2->isChecked();
    filter.user = RKimeBox->currentText();
    return filter;
}

bool TrandevuF::applyFilter()
{
    m_filter = currentFilter();
    randevuTable->setPrefilter(m_filter.sqlCondition(), m_filter.sqlValues());
    return randevuTable->reopen();
}

bool TrandevuF::openAppointments()
{
    return randevuTable->isOpen() || applyFilter();
}

bool TrandevuF::refreshIfOpen()
{
    return !randevuTable->isOpen() || randevuTable->reopen();
}

void TrandevuF::fitToUser(const LoggedInUser &user)
{
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
    showUserColumn(CheckBox2->isChecked());
}

void TrandevuF::showUserColumn(bool show)
{
    JvDBUltimGrid1->setColumnHidden(0, !show);
}

reports::Report &TrandevuF::reportFor(const QString &component)
{
    auto it = m_reports.find(component);
    if (it == m_reports.end())
        it = m_reports.insert(component, reports::Report(reports::layouts::randevu(component)));
    return *it;
}

const reports::Report &TrandevuF::report(const QString &component)
{
    return reportFor(component);
}

void TrandevuF::ButsorguClick()
{
    const AppointmentListFilter filter = currentFilter();
    reportFor(QStringLiteral("frReport1"))
        .setText(kHeadingCell, listHeading(filter, RKiminAdSoyadBox->currentText()));
    applyFilter();
}

void TrandevuF::Button2Click()
{
    if (currentUser().herksesigor == QLatin1String("E"))
        applyFilter();
}

void TrandevuF::CheckBox1Click()
{
    if (CheckBox1->isChecked())
        CheckBox3->setChecked(false);
    ButsorguClick();
}

void TrandevuF::CheckBox3Click()
{
    if (CheckBox3->isChecked())
        CheckBox1->setChecked(false);
    ButsorguClick();
}

void TrandevuF::CheckBox2Exit()
{
    showUserColumn(CheckBox2->isChecked());
    applyFilter();
}

void TrandevuF::CheckBox2MouseUp()
{
    // Unticked, the "..." restriction applies; ticked or not, the list is read again with the
    // box as it stands.
    showUserColumn(CheckBox2->isChecked());
    applyFilter();
}

void TrandevuF::Button1Click()
{
    if (!randevuTable->isOpen() || randevuTable->currentRow() < 0)
        return;
    // The appointment chosen now, whatever the list shows once the question is answered.
    const qlonglong rid = randevuTable->value(QStringLiteral("rid")).toLongLong();
    const int row = randevuTable->currentRow();
    const RowValues asRead = rowAsRead(*randevuTable, QStringLiteral("randevu"));
    if (dialogs().question(programTitle(), QStringLiteral("Kayıt silinsin mi?"), Buttons::YesNo)
        != Answer::Yes)
        return;
    const StateResult result = deleteAppointment(db(), rid, asRead);
    if (result.change == StateChange::Failed)
        dialogs().error(programTitle(), QStringLiteral("Randevu silinemedi: ") + result.message());
    else if (result.change != StateChange::Done)
        dialogs().information(programTitle(), result.message());
    if (result.change != StateChange::HasVisit && randevuTable->reopen())
        randevuTable->moveTo(qMin(row, randevuTable->recordCount() - 1));
}

void TrandevuF::degistirButClick()
{
    if (!randevuTable->isOpen() || randevuTable->currentRow() < 0)
        return;
    if (visitCodeOf(randevuTable->value(kGorusmekodu)) >= 1) {
        dialogs().information(programTitle(),
            QStringLiteral("Bu randevunun görüşme kaydı var! Değiştirmeden "
                           "önce görüşme kaydını siliniz!"));
        return;
    }
    forms().entryForm->setEntryAppointment(
        entryAppointmentOf(*randevuTable, ChangeFrom::AppointmentList));
    hide();
}

void TrandevuF::showPlannerChoice(const PlannerChoice &choice)
{
    RKimeBox->setCurrentIndex(choice.userIndex);
    RKiminAdSoyadBox->setCurrentIndex(choice.userIndex);
    CheckBox2->setChecked(choice.allUsers);
    CheckBox1->setChecked(choice.waitingAndHeld);
    CheckBox3->setChecked(choice.heldOnly);
    JvDateTimePicker1->setDate(choice.from);
    JvDateTimePicker2->setDate(choice.to);
    showUserColumn(choice.allUsers);
    ButsorguClick(); // the printouts' heading; the hidden list reads when it is shown
}

void TrandevuF::prepareForChange(const QDate &workingDate, bool allUsers)
{
    CheckBox1->setChecked(false);
    CheckBox3->setChecked(false);
    CheckBox2->setChecked(allUsers);
    JvDateTimePicker1->setDate(workingDate.addDays(-1));
    JvDateTimePicker2->setDate(workingDate.addDays(30));
    applyFilter();
}

ReportPreview *TrandevuF::print(const QString &withUsers, const QString &withoutUsers)
{
    const reports::Report &first = reportFor(QStringLiteral("frReport1"));
    const QString heading = first.text(kHeadingCell);
    reports::Report &report = reportFor(CheckBox2->isChecked() ? withUsers : withoutUsers);
    report.setText(kHeadingCell, heading);
    report.setUserName(currentUser().adSoyad);
    return ReportPreview::printReport(report, { { reports::layouts::singleLink(), randevuTable } },
        previewTitle(), dialogs(), this);
}

ReportPreview *TrandevuF::yazButClick()
{
    return print(QStringLiteral("frReport2"), QStringLiteral("frReport1"));
}

ReportPreview *TrandevuF::yazBut2Click()
{
    return print(QStringLiteral("frReport4"), QStringLiteral("frReport3"));
}

void TrandevuF::kapatButClick()
{
    randevuTable->close();
    QWidget *main = forms().entryForm->window(); // the main window holding the entry form
    main->setEnabled(true);
    main->show();
    hide();
    // The person register and the person list read again (a failure was told).
    if (forms().ozluk->openRegister())
        (void)forms().sicrapor->refresh();
}

void TrandevuF::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        kapatButClick();
}

void TrandevuF::exportToCalendar()
{
    if (randevuTable->isOpen() && !randevuTable->readNow())
        return;
    const QVector<CalendarAppointment> appointments = randevuTable->isOpen()
        ? icalendar::appointmentsOf(*randevuTable)
        : QVector<CalendarAppointment>();
    if (appointments.isEmpty()) {
        dialogs().information(
            programTitle(), QStringLiteral("Listede takvime aktarılacak randevu yok."));
        return;
    }
    QString path = dialogs().saveFile(QStringLiteral("Takvime Aktar"), QString(),
        QStringLiteral("Randevular.ics"), QStringLiteral("iCalendar (*.ics)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ics");
    IniFile settingsFile(session().filePath(PlannerSettings::fileName()));
    const int slotMinutes = PlannerSettings::read(settingsFile).slotMinutes();
    const QByteArray bytes = icalendar::calendarFile(
        appointments, slotMinutes, QDateTime::currentDateTimeUtc());
    QString cause;
    if (!writeWholeFile(path, bytes, &cause)) {
        dialogs().error(programTitle(),
            QStringLiteral("Takvim dosyası yazılamadı:\n%1\n%2")
                .arg(QDir::toNativeSeparators(path), cause));
        return;
    }
    dialogs().information(programTitle(),
        QStringLiteral("%1 randevu takvim dosyasına aktarıldı:\n%2")
            .arg(QString::number(appointments.size()), QDir::toNativeSeparators(path)));
}

void TrandevuF::helpClick()
{
    forms().help->openTopic(QStringLiteral("yrandevu"));
}

} // namespace lumkar
