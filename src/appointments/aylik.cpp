#include "appointments/aylik.h"

#include "app/helptopics.h"
#include "app/userrights.h"
#include "appointments/entrypanel.h"
#include "appointments/plannersettings.h"
#include "appointments/randevu.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "data/inifile.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"
#include "visits/paketler.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

constexpr int kDayColumnWidth = 150;
constexpr int kTimeColumnWidth = 50;
constexpr int kRowHeight = 30;

QString headingCorner()
{
    return QStringLiteral("Saat\\Gün");
}

} // namespace

TaylikF::TaylikF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("aylikF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Aylık Haftalık Randevu Rapor ve Giriş"));
    m_appointments = new DataSet(session.db(), this);
    m_appointments->setObjectName(QStringLiteral("plannerAppointments"));
    m_appointments->setTable(QStringLiteral("randevu"), {QStringLiteral("randevutarihi")});
    m_appointments->setFilter([this](const Record &row) { return m_filter.accepts(row); });
    m_appointments->setFiltered(true);
    m_booking = std::make_unique<DirectBooking>(forms, session.dialogs());
    buildWindow();
    buildMenu();
    AyarYukle();
}

void TaylikF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *hours = new QHBoxLayout;
    RSaatiEdit = newTimeEdit(this);
    RSaatiEdit->setObjectName(QStringLiteral("RSaatiEdit"));
    RSaatiEdit->setText(QStringLiteral("09:00"));
    RBitisSaatiEdit = newTimeEdit(this);
    RBitisSaatiEdit->setObjectName(QStringLiteral("RBitisSaatiEdit"));
    RBitisSaatiEdit->setText(QStringLiteral("18:30"));
    // A refused working hour is told and set back to the start of a usual day.
    attachTimeRule(RSaatiEdit, dialogs(), QStringLiteral("09:00"));
    attachTimeRule(RBitisSaatiEdit, dialogs(), QStringLiteral("09:00"));
    periodBox = new QComboBox(this);
    periodBox->setObjectName(QStringLiteral("periodBox"));
    periodBox->setEditable(true);
    periodBox->setInsertPolicy(QComboBox::NoInsert);
    periodBox->addItems({ QStringLiteral("00:03"), QStringLiteral("00:05"), QStringLiteral("00:10"),
        QStringLiteral("00:15"), QStringLiteral("00:30"), QStringLiteral("00:45"),
        QStringLiteral("01:00"), QStringLiteral("01:15"), QStringLiteral("01:30"),
        QStringLiteral("01:45"), QStringLiteral("02:00"), QStringLiteral("02:15"),
        QStringLiteral("02:30"), QStringLiteral("02:45"), QStringLiteral("03:00") });
    periodBox->setCurrentText(QStringLiteral("00:30"));
    RSaatiEdit->setMaximumWidth(70);
    RBitisSaatiEdit->setMaximumWidth(70);
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    hours->addWidget(new QLabel(QStringLiteral("Mesai Başlangıç Saati"), this));
    hours->addWidget(RSaatiEdit);
    hours->addWidget(new QLabel(QStringLiteral("Mesai Bitiş Saati"), this));
    hours->addWidget(RBitisSaatiEdit);
    hours->addWidget(new QLabel(QStringLiteral("Randevu Periodu"), this));
    hours->addWidget(periodBox);
    hours->addWidget(new QLabel(QStringLiteral("Rapor Tarihi"), this));
    hours->addWidget(DateTimePicker1);
    hours->addStretch();
    layout->addLayout(hours);

    auto *view = new QHBoxLayout;
    makeUserBar(QStringLiteral("Kullanıcının Randevuları"),
        QStringLiteral("Tüm Kullanıcıların Randevularını Göster"), this);
    view->addWidget(userBar);
    CheckBox1
        = new CheckBox(QStringLiteral("Bekleyen ve Görüşülen Tüm Randevuların Listesi"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox3 = new CheckBox(QStringLiteral("Sadece Görüşme Yapılan Randevular"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    view->addWidget(CheckBox1);
    view->addWidget(CheckBox3);
    view->addStretch();
    hazirlaBut = new QPushButton(QStringLiteral("YENİDEN YÜKLE"), this);
    hazirlaBut->setObjectName(QStringLiteral("hazirlaBut"));
    yazdirBut = new QPushButton(QStringLiteral("YAZDIR"), this);
    yazdirBut->setObjectName(QStringLiteral("yazdirBut"));
    kapatBut = new QPushButton(QStringLiteral("Kapat"), this);
    kapatBut->setObjectName(QStringLiteral("kapatBut"));
    kapatBut->setToolTip(QStringLiteral("Kapat..."));
    tfXPButton1 = new QToolButton(this);
    tfXPButton1->setObjectName(QStringLiteral("tfXPButton1"));
    tfXPButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    tfXPButton1->setAutoRaise(true);
    for (QPushButton *b : { hazirlaBut, yazdirBut, kapatBut }) {
        b->setAutoDefault(false);
        view->addWidget(b);
    }
    view->addWidget(tfXPButton1);
    layout->addLayout(view);

    auto *labels = new QHBoxLayout;
    Label6 = new QLabel(this);
    Label6->setObjectName(QStringLiteral("Label6"));
    QFont bold = Label6->font();
    bold.setBold(true);
    Label6->setFont(bold);
    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    cakismaLabel = new QLabel(QStringLiteral(" Çakışan bekleyen randevu "), this);
    cakismaLabel->setObjectName(QStringLiteral("cakismaLabel"));
    cakismaLabel->setToolTip(QStringLiteral(
        "Bu renkteki hücrelerde aynı kullanıcının saatleri çakışan bekleyen randevuları var "
        "(bir randevu bir randevu periodu sürer)."));
    cakismaLabel->setStyleSheet(
        QStringLiteral("QLabel { background: %1; }").arg(doubleBookingColour().name()));
    labels->addWidget(Label6);
    labels->addSpacing(20);
    labels->addWidget(Label7);
    labels->addStretch();
    labels->addWidget(cakismaLabel);
    layout->addLayout(labels);

    StringGrid1 = new GridView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setEnterRule(GridView::EnterRule::NextColumnRow);
    StringGrid1->setWordWrap(true);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    QFont gridFont(QStringLiteral("Arial"));
    gridFont.setPointSize(8);
    StringGrid1->setFont(gridFont);
    m_cells = StringGrid1->useCellTexts();
    m_cells->setCellColours(
        [this](int row, int column) {
            return plannerCellColour(row + 2, column + 1, m_month,
                                     m_doubleBooked.contains({row, column}));
        },
        [](int, int column) { return plannerTextColour(column + 1); });
    StringGrid1->verticalHeader()->setFixedWidth(kTimeColumnWidth);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kDayColumnWidth);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    StringGrid1->setCornerButtonEnabled(false);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->installEventFilter(this);
    layout->addWidget(StringGrid1, 1);

    connect(hazirlaBut, &QPushButton::clicked, this, &TaylikF::hazirlaButClick);
    connect(yazdirBut, &QPushButton::clicked, this, [this] { yazdirButClick(); });
    connect(kapatBut, &QPushButton::clicked, this, &TaylikF::kapatButClick);
    connect(tfXPButton1, &QToolButton::clicked, this, &TaylikF::helpClick);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TaylikF::DateTimePicker1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TaylikF::CheckBox1Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &TaylikF::CheckBox3Click);
    connect(StringGrid1, &GridView::rowActivated, this,
        [this] { Firmaseerekbugnvebusaatedorudanrandevuver1Click(); });
    resize(1100, 700);
}

void TaylikF::buildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const QString &name, const QString &caption, void (TaylikF::*handler)()) {
        QAction *action = PopupMenu1->addAction(caption, this, handler);
        action->setObjectName(name);
    };
    item(QStringLiteral("Firmaseerekbugnvebusaatedorudanrandevuver1"),
        QStringLiteral("Kişi seçerek bu gün ve bu saate doğrudan randevu ver"),
        &TaylikF::Firmaseerekbugnvebusaatedorudanrandevuver1Click);
    item(QStringLiteral("Firmaseerekbugnvebusaaterandevuver1"),
        QStringLiteral("Kişi seçerek bu gün ve bu saate randevu ver"),
        &TaylikF::Firmaseerekbugnvebusaaterandevuver1Click);
    item(QStringLiteral("Bugnvebusaaterandevuver1"),
        QStringLiteral("Listeden bu gün ve bu saate randevu ver"),
        &TaylikF::Bugnvebusaaterandevuver1Click);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex index = StringGrid1->indexAt(pos);
        if (!index.isValid())
            return;
        StringGrid1->setCurrentIndex(index);
        PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos));
    });
    addWindowKey(this, QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1, nullptr,
        [this] { helpClick(); });
}

// ------------------------------------------------------------------- the shown month

void TaylikF::setPlannerDate(const QDate &day)
{
    const QSignalBlocker quiet(DateTimePicker1);
    DateTimePicker1->setDate(day);
}

QDate TaylikF::plannerDate() const
{
    return DateTimePicker1->date();
}

int TaylikF::columnCount() const
{
    return m_cells->columnCount() + 1;
}

int TaylikF::rowCount() const
{
    return m_cells->rowCount() + 2;
}

QString TaylikF::cellText(int column, int row) const
{
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount() || !m_month.isValid())
        return QString();
    if (column == 0)
        return row == 0 ? QString() : row == 1 ? headingCorner() : m_labels.value(row - 2);
    if (row == 0)
        return m_month.weekdayName(column);
    if (row == 1)
        return QString::number(column);
    return m_cells->cellText(row - 2, column - 1);
}

QPoint TaylikF::currentCell() const
{
    const QModelIndex index = StringGrid1->currentIndex();
    return index.isValid() ? QPoint(index.column() + 1, index.row() + 2) : QPoint(-1, -1);
}

void TaylikF::setCurrentCell(int column, int row)
{
    StringGrid1->setCurrentIndex(m_cells->index(row - 2, column - 1));
}

QString TaylikF::bookingDate() const
{
    const QPoint cell = currentCell();
    if (cell.x() < 1 || cell.y() < 2)
        return QString();
    return bookingDayText(cellText(cell.x(), 1)) + QLatin1Char('.') + m_month.monthText()
        + QLatin1Char('.') + m_month.yearText();
}

QString TaylikF::bookingTime() const
{
    const QPoint cell = currentCell();
    return cell.x() < 1 || cell.y() < 2 ? QString() : cellText(0, cell.y());
}

// ------------------------------------------------------------------- reload

void TaylikF::hazirlaButClick()
{
    // Unreadable hours or slot length stop the reload before anything changes.
    const SlotReading reading = readSlotPlan(
        maskedText(RSaatiEdit), maskedText(RBitisSaatiEdit), periodBox->currentText());
    if (!reading.plan) {
        dialogs().warning(programTitle(), reading.message);
        return;
    }
    m_reportUserName.clear();
    m_allUsers = false;

    if (CheckBox2->isChecked()) {
        m_allUsers = true;
        Label7->setText(QStringLiteral("Kullanıcı kısıtlaması olmadan."));
    } else {
        m_reportUserName = RKiminAdSoyadBox->currentText();
        Label7->setText(
            QStringLiteral("Kullanıcı :") + m_reportUserName + QStringLiteral(" Raporu."));
    }

    if (!GridHazirla())
        return;
    Transfer();
    AyarKaydet();
}

bool TaylikF::GridHazirla()
{
    const SlotReading reading = readSlotPlan(
        maskedText(RSaatiEdit), maskedText(RBitisSaatiEdit), periodBox->currentText());
    if (!reading.plan) {
        dialogs().warning(programTitle(), reading.message);
        return false;
    }
    m_plan = *reading.plan;
    m_month = PlannerMonth(DateTimePicker1->date());
    m_labels = m_plan.labels();
    Label6->setText(m_month.title());
    m_cells->setCells(int(m_labels.size()), m_month.dayCount());
    m_waiting.clear();
    m_doubleBooked.clear();
    QStringList days;
    for (int c = 1; c <= m_month.dayCount(); ++c)
        days << m_month.weekdayName(c) + QLatin1Char('\n') + QString::number(c);
    m_cells->setHeadings(Qt::Horizontal, days);
    m_cells->setHeadings(Qt::Vertical, m_labels);
    for (int c = 0; c < m_month.dayCount(); ++c)
        StringGrid1->setColumnWidth(c, kDayColumnWidth);
    return true;
}

void TaylikF::refreshIfShown()
{
    if (isVisible() && m_appointments->isOpen())
        Transfer();
}

void TaylikF::Transfer()
{
    const QDate first(m_month.year(), m_month.month(), 1);
    const QDate last = first.addDays(m_month.dayCount() - 1);
    // The appointment list shows the same month, for its printouts and when it is opened.
    forms().randevuF->showPlannerChoice({first, last, RKimeBox->currentIndex(),
                                         CheckBox2->isChecked(), CheckBox1->isChecked(),
                                         CheckBox3->isChecked()});

    // The month as the appointment list filters it, read here.
    m_filter = AppointmentListFilter{first, last,
                                     listModeOf(CheckBox1->isChecked(), CheckBox3->isChecked()),
                                     !CheckBox2->isChecked(), RKimeBox->currentText()};
    DataSet *table = m_appointments;
    table->setPrefilter(m_filter.sqlCondition(), m_filter.sqlValues());
    if (!table->reopen())
        return;
    const int count = table->recordCount();
    const int dayField = table->fieldIndex(QStringLiteral("randevutarihi"));
    const int timeField = table->fieldIndex(QStringLiteral("randevusaati"));
    const int ownerField = table->fieldIndex(QStringLiteral("Rkimeadsoyad"));
    const int firstNameField = table->fieldIndex(QStringLiteral("adi"));
    const int lastNameField = table->fieldIndex(QStringLiteral("soyadi"));
    const int packageField = table->fieldIndex(QStringLiteral("paketadi"));
    const int amountField = table->fieldIndex(QStringLiteral("islem_tutari"));
    const int ridField = table->fieldIndex(QStringLiteral("rid"));
    const int ownerCodeField = table->fieldIndex(QStringLiteral("RKime"));
    const int visitField = table->fieldIndex(QStringLiteral("gorusmekodu"));
    const int cancelField = table->fieldIndex(QStringLiteral("iptalkodu"));
    const bool showOwner = CheckBox2->isChecked();
    m_waiting.clear();
    for (int i = 0; i < count; ++i) {
        const QDate day = table->valueAt(i, dayField).toDateTime().date();
        if (day.year() != m_month.year() || day.month() != m_month.month())
            continue;
        const QTime time = table->valueAt(i, timeField).toDateTime().time();
        const QVector<int> rows = rowsTaking(m_labels, time, m_plan.period);
        const CellAppointment appointment { table->valueAt(i, ownerField).toString(),
            table->valueAt(i, firstNameField).toString(),
            table->valueAt(i, lastNameField).toString(), table->valueAt(i, packageField).toString(),
            table->valueAt(i, amountField).toDouble() };
        // A waiting appointment outside the slots shown still makes those it overlaps double
        // bookings.
        if (table->valueAt(i, visitField).isNull() && table->valueAt(i, cancelField).isNull())
            m_waiting.append({{table->valueAt(i, ridField).toLongLong(),
                               table->valueAt(i, ownerCodeField).toString(), appointment.owner,
                               appointment.adi, appointment.soyadi, day, time},
                              rows,
                              day.day() - 1});
        const QString segment = cellSegment(appointment, showOwner);
        for (int row : rows)
            m_cells->appendCellText(row, day.day() - 1, segment);
    }
    markDoubleBookings();
}

void TaylikF::markDoubleBookings()
{
    QVector<BookedAppointment> appointments;
    for (const PlacedAppointment &placed : std::as_const(m_waiting))
        appointments << placed.appointment;
    const QVector<bool> marks = overlapMarks(appointments, m_plan.period);
    m_doubleBooked.clear();
    for (int i = 0; i < m_waiting.size(); ++i)
        if (marks[i])
            for (int row : std::as_const(m_waiting[i].rows))
                m_doubleBooked.insert({row, m_waiting[i].column});
    StringGrid1->viewport()->update();
}

bool TaylikF::isDoubleBooked(int column, int row) const
{
    return m_doubleBooked.contains({row - 2, column - 1});
}

// ------------------------------------------------------------------- settings

void TaylikF::AyarYukle()
{
    IniFile file(session().filePath(PlannerSettings::fileName()));
    const PlannerSettings settings = PlannerSettings::read(file);
    RSaatiEdit->setText(settings.mesaibaslasaat);
    RBitisSaatiEdit->setText(settings.mesaibitsaat);
    periodBox->setCurrentText(settings.randevuperiod);
    CheckBox2->setChecked(settings.tumkullanici);
    CheckBox1->setChecked(settings.bekleyenvegorus);
    CheckBox3->setChecked(settings.sadecegorus);
}

bool TaylikF::AyarKaydet()
{
    PlannerSettings settings;
    settings.mesaibaslasaat = maskedText(RSaatiEdit);
    settings.mesaibitsaat = maskedText(RBitisSaatiEdit);
    settings.randevuperiod = periodBox->currentText();
    settings.tumkullanici = CheckBox2->isChecked();
    settings.bekleyenvegorus = CheckBox1->isChecked();
    settings.sadecegorus = CheckBox3->isChecked();
    IniFile file(session().filePath(PlannerSettings::fileName()));
    if (settings.write(file))
        return true;
    dialogs().error(programTitle(), file.errorText());
    return false;
}

// ------------------------------------------------------------------- boxes and keys

void TaylikF::DateTimePicker1Change()
{
    const PlannerMonth picked(DateTimePicker1->date());
    if (picked.monthText() != m_month.monthText() || picked.yearText() != m_month.yearText())
        hazirlaButClick();
}

void TaylikF::CheckBox1Click()
{
    if (CheckBox1->isChecked())
        CheckBox3->setChecked(false);
}

void TaylikF::CheckBox3Click()
{
    if (CheckBox3->isChecked())
        CheckBox1->setChecked(false);
}

bool TaylikF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress)
        return StringGrid1KeyPress(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

bool TaylikF::StringGrid1KeyPress(QKeyEvent *event)
{
    // Cell texts cannot be edited: typed characters are dropped and Delete does nothing.
    if (event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return !enter && !text.isEmpty() && text.at(0).isPrint();
}

ReportPreview *TaylikF::yazdirButClick()
{
    return forms().randevuF->yazButClick();
}

void TaylikF::kapatButClick()
{
    hide();
}

void TaylikF::fitToUser(const LoggedInUser &user)
{
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
}

void TaylikF::helpClick()
{
    forms().help->openTopic(QStringLiteral("yaylik"));
}

// ------------------------------------------------------------------- booking

bool TaylikF::handDayAndTimeToEntry()
{
    const QString date = bookingDate();
    if (date.isEmpty())
        return false;
    forms().entryForm->setEntryDayAndTime(date, bookingTime());
    return true;
}

void TaylikF::Bugnvebusaaterandevuver1Click()
{
    if (handDayAndTimeToEntry())
        hide();
}

void TaylikF::Firmaseerekbugnvebusaaterandevuver1Click()
{
    if (!handDayAndTimeToEntry())
        return;
    forms().entryForm->personFromList();
    hide();
}

bool TaylikF::askDirectBooking()
{
    const QString text = QStringLiteral("Tarih : ") + bookingDate() + QStringLiteral(" Saat : ")
        + bookingTime() + QStringLiteral(" ,") + RKiminAdSoyadBox->currentText()
        + QStringLiteral(" kullanıcısına randevu girilecektir. Devam edilsin mi?");
    return dialogs().question(programTitle(), text, Buttons::YesNoCancel) == Answer::Yes;
}

void TaylikF::Firmaseerekbugnvebusaatedorudanrandevuver1Click()
{
    // A direct booking is always a new appointment: what the entry form holds (a typed
    // person, an appointment loaded for a change) is dropped only when the user says so.
    if (bookingDate().isEmpty() || !askDirectBooking() || !forms().entryForm->makeRoomForBooking())
        return;
    PaketAl();
}

void TaylikF::PaketAl()
{
    m_booking->choosePackageAndPerson([this] { GirisHazirla(); });
}

void TaylikF::GirisHazirla()
{
    if (bookingDate().isEmpty())
        return;
    const QString userName = RKiminAdSoyadBox->currentText();
    const std::optional<CellAppointment> booked = m_booking->book(
        {bookingDate(), bookingTime(), RKimeBox->currentText(), userName});
    // The cell shows the booking at once when the grid shows that user's appointments.
    if (booked && (m_allUsers || userName == m_reportUserName)) {
        const QPoint cell = currentCell();
        const QString segment
            = cellSegment(*booked, CheckBox2->isChecked(), SegmentKind::JustBooked);
        m_cells->appendCellText(cell.y() - 2, cell.x() - 1, segment);
        m_waiting.append({{0, RKimeBox->currentText(), userName, booked->adi, booked->soyadi,
                           boxDate(bookingDate()), boxTime(bookingTime())},
                          {cell.y() - 2},
                          cell.x() - 1});
        markDoubleBookings();
    }
}

} // namespace lumkar
