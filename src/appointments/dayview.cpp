// The day view of the main window: the working day's waiting, held and cancelled
// appointments, their refreshes and the automatic refresh.

#include "appointments/dailyprint.h"
#include "appointments/dayfilter.h"
#include "appointments/randevu.h"
#include "kit/entryboxes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QToolButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QPushButton *paneButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel *paneHeader(QWidget *parent, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setStyleSheet(s("QLabel { font-weight: bold; color: white; background: #2f5d8a;"
                           " padding: 3px 6px; }"));
    return label;
}

// Reopens a window's data set unless the user is in the middle of a change there.
bool reopenUnlessEditing(DataSet *dataSet)
{
    if (dataSet->isEditing() && dataSet->isModified())
        return true;
    return dataSet->reopen();
}

} // namespace

void Tanamenuf::buildDayView(QWidget *listsArea)
{
    JvDateTimePicker1 = new QDateEdit(QDate::currentDate(), this);
    JvDateTimePicker1->setObjectName(s("JvDateTimePicker1"));
    JvDateTimePicker1->setCalendarPopup(true);
    JvDateTimePicker1->setDisplayFormat(s("dd.MM.yyyy"));
    JvDateTimePicker1->calendarWidget()->setVerticalHeaderFormat(
        QCalendarWidget::ISOWeekNumbers);
    CheckBox2 = new CheckBox(s("Tüm Kullanıcıların Randevularını Göster"), this);
    CheckBox2->setObjectName(s("CheckBox2"));
    CheckBox1 = new QCheckBox(s("Otomatik Yenile"), this);
    CheckBox1->setObjectName(s("CheckBox1"));
    JvDotNetEdit1 = new QLineEdit(s("30"), this);
    JvDotNetEdit1->setObjectName(s("JvDotNetEdit1"));
    JvDotNetEdit1->setMaximumWidth(50);
    attachDigitsRule(JvDotNetEdit1);
    CheckBox3 = new CheckBox(s("Tüm Sütunu Göster"), this);
    CheckBox3->setObjectName(s("CheckBox3"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(s("Timer1"));
    Timer1->setInterval(30000);

    randevuTable = new DataSet(db(), this);
    randevuTable->setObjectName(s("randevuTable"));
    randevuTable->setTable(s("randevu"), {s("randevusaati")});
    ffQuery1 = new DataSet(db(), this);
    ffQuery1->setObjectName(s("ffQuery1"));
    ffQuery1->setQuery(heldListQuery());
    ffQuery4 = new DataSet(db(), this);
    ffQuery4->setObjectName(s("ffQuery4"));
    ffQuery4->setQuery(cancelledListQuery());

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const QString amount = s("#,###.00");
    const QString time = s("HH:MM");

    auto *layout = new QVBoxLayout(listsArea);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *split = new QSplitter(Qt::Vertical, listsArea);
    layout->addWidget(split);

    // One pane per list: a header with the pane's buttons over its grid.
    struct Pane {
        QWidget *widget;
        QHBoxLayout *bar;
        QVBoxLayout *layout;
    };
    auto pane = [](QWidget *parent, const QString &name, QLabel *header) {
        auto *w = new QWidget(parent);
        w->setObjectName(name);
        auto *column = new QVBoxLayout(w);
        column->setContentsMargins(2, 2, 2, 2);
        auto *bar = new QHBoxLayout;
        header->setParent(w);
        bar->addWidget(header, 1);
        column->addLayout(bar);
        return Pane{w, bar, column};
    };
    auto grid = [](const Pane &p, const QString &name, GridView::EnterRule rule) {
        auto *g = new GridView(p.widget);
        g->setObjectName(name);
        g->setEnterRule(rule);
        p.layout->addWidget(g);
        return g;
    };
    auto button = [](const Pane &p, const QString &name, const QString &caption) {
        QPushButton *b = paneButton(p.widget, name, caption);
        p.bar->addWidget(b);
        return b;
    };

    const Pane waiting =
        pane(split, s("bekleyenPane"), paneHeader(nullptr, s("BEKLEYEN RANDEVULAR")));
    bekleyenPane = waiting.widget;
    JvNavPanelButton13 = button(waiting, s("JvNavPanelButton13"), s("DEĞİŞTİR"));
    bekleyenYazdirBut = button(waiting, s("bekleyenYazdirBut"), s("YAZDIR"));
    bekleyenYazdir2But = button(waiting, s("bekleyenYazdir2But"), s("YAZDIR2"));
    bekleyenYazdir3But = button(waiting, s("bekleyenYazdir3But"), s("YAZDIR3"));
    JvDBUltimGrid1 = grid(waiting, s("JvDBUltimGrid1"), GridView::EnterRule::NextColumnRow);
    JvDBUltimGrid1->setColumns(randevuTable, {{s("Rkimeadsoyad"), s("R.Kimin"), {}, {}, 130},
                                              {s("adi"), s("Adı"), {}, {}, 110},
                                              {s("soyadi"), s("Soyadı"), {}, {}, 110},
                                              {s("randevusaati"), s("Saati"), time, {}, 50},
                                              {s("paketadi"), s("Paket Adı"), {}, {}, 150},
                                              {s("islem_tutari"), s("İşlem Tutarı"), amount,
                                               right, 90},
                                              {s("telefonu"), s("Telefonu"), {}, {}, 115},
                                              {s("ceptel"), s("Cep Telefonu"), {}, {}, 115},
                                              {s("randevuyualan"), s("Randevuyu Alan"), {}, {},
                                               130}});

    auto *lower = new QSplitter(Qt::Horizontal, split);
    gorusulenHeader = paneHeader(nullptr, s("GÖRÜŞÜLEN RANDEVULAR"));
    const Pane held = pane(lower, s("gorusulenPane"), gorusulenHeader);
    gorusulenPane = held.widget;
    JvNavPanelButton7 = button(held, s("JvNavPanelButton7"), s("GÜNCELLE"));
    gorusulenDegistirBut = button(held, s("gorusulenDegistirBut"), s("DEĞİŞTİR"));
    gorusulenYazdirBut = button(held, s("gorusulenYazdirBut"), s("YAZDIR"));
    gorusulenYazdir2But = button(held, s("gorusulenYazdir2But"), s("YAZDIR2"));
    bolumgrid2 = grid(held, s("bolumgrid2"), GridView::EnterRule::None);
    bolumgrid2->setColumns(ffQuery1, {{s("Rkimeadsoyad"), s("Görüşen"), {}, {}, 120},
                                      {s("randevutarihi"), s("R.Tarihi"), s("dd.mm.yyyy"), {}, 82},
                                      {s("randevusaati"), s("R.Saati"), time, {}, 50},
                                      {s("adi"), s("Adı"), {}, {}, 100},
                                      {s("soyadi"), s("Soyadı"), {}, {}, 100},
                                      {s("telefonu"), s("Telefonu"), {}, {}, 110},
                                      {s("ceptel"), s("Cep Telefonu"), {}, {}, 110},
                                      {s("islem_tutari"), s("İşlem Tutarı"), amount, right, 90}});

    const Pane cancelled =
        pane(lower, s("iptalPane"), paneHeader(nullptr, s("İPTAL OLAN RANDEVULAR")));
    iptalPane = cancelled.widget;
    iptalYazdirBut = button(cancelled, s("iptalYazdirBut"), s("YAZDIR"));
    JvDBUltimGrid4 = grid(cancelled, s("JvDBUltimGrid4"), GridView::EnterRule::None);
    JvDBUltimGrid4->setColumns(ffQuery4, {{s("Rkimeadsoyad"), s("R.Kimin"), {}, {}, 120},
                                          {s("adi"), s("Adı"), {}, {}, 100},
                                          {s("soyadi"), s("Soyadı"), {}, {}, 100},
                                          {s("randevusaati"), s("R.Saati"), s("time"), {}, 72},
                                          {s("iptalnedeni"), s("İptal Nedeni"), {}, {}, 160},
                                          {s("islem_tutari"), s("İşlem Tutarı"), {}, right, 90}});
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    setPopupMenu(JvDBUltimGrid1, RandevuMenu);
    setPopupMenu(bolumgrid2, GorusmePopup);
    setPopupMenu(gorusulenPane, GorusmePopup);
    setPopupMenu(gorusulenHeader, GorusmePopup);
    setPopupMenu(JvDBUltimGrid4, iptalPopup);
    showOwnerColumns(false);

    m_dailyPrint = std::make_unique<DailyPrint>(*randevuTable, *ffQuery1, *ffQuery4, dialogs(),
                                                this);
    const QList<QPair<QAbstractButton *, DailyPrint::Printout>> prints = {
        {bekleyenYazdirBut, DailyPrint::Printout::Waiting},
        {bekleyenYazdir2But, DailyPrint::Printout::Waiting2},
        {bekleyenYazdir3But, DailyPrint::Printout::Waiting3},
        {gorusulenYazdirBut, DailyPrint::Printout::Held},
        {gorusulenYazdir2But, DailyPrint::Printout::Held2},
        {iptalYazdirBut, DailyPrint::Printout::Cancelled},
        {JvNavPanelButton5, DailyPrint::Printout::AllLists}};
    for (const auto &p : prints)
        connect(p.first, &QAbstractButton::clicked, this,
                [this, kind = p.second] { printDay(int(kind)); });
    connect(yazdirAction, &QAction::triggered, this,
            [this] { printDay(int(DailyPrint::Printout::AllLists)); });

    connect(JvDateTimePicker1, &QDateEdit::dateChanged, this, [this] {
        postDailyNote();
        gunYenile();
    });
    connect(CheckBox2, &CheckBox::mouseReleased, this, &Tanamenuf::CheckBox2MouseUp);
    connect(CheckBox2, &CheckBox::focusLeft, this, &Tanamenuf::CheckBox2Exit);
    connect(CheckBox3, &CheckBox::mouseReleased, this, &Tanamenuf::CheckBox3MouseUp);
    connect(CheckBox1, &QCheckBox::toggled, this, &Tanamenuf::CheckBox1Click);
    connect(JvDotNetEdit1, &QLineEdit::textChanged, this, &Tanamenuf::JvDotNetEdit1Change);
    connect(Timer1, &QTimer::timeout, this, &Tanamenuf::Timer1Timer);
    connect(JvNavPanelButton7, &QPushButton::clicked, this, &Tanamenuf::JvNavPanelButton7Click);
}

void Tanamenuf::printDay(int printout)
{
    m_dailyPrint->print(DailyPrint::Printout(printout),
                        {workingDate(), CheckBox2->isChecked(), currentUser().adSoyad});
}

QDate Tanamenuf::workingDate() const
{
    return JvDateTimePicker1->date();
}

void Tanamenuf::setWorkingDate(const QDate &day)
{
    const QSignalBlocker block(JvDateTimePicker1);
    JvDateTimePicker1->setDate(day);
}

namespace {

// Reads one list of the day. The same day and user are read again in place, so that a list
// keeps its rows when the read fails; another day or user empties it first.
bool openDayList(DataSet *dataSet, DayList list, const DayFilter &filter)
{
    dataSet->setPrefilter(filter.sqlCondition(list), filter.sqlValues());
    dataSet->setFilter([filter, list](const Record &row) { return filter.accepts(list, row); });
    dataSet->setFiltered(true);
    return dataSet->reopen();
}

} // namespace

// Reads one of the three lists with the working day, the all-users box and the user as they
// are now.
static bool openList(Tanamenuf *main, DataSet *dataSet, DayList list, const QString &user)
{
    return openDayList(dataSet, list,
                       DayFilter{main->workingDate(), main->CheckBox2->isChecked(), user});
}

bool Tanamenuf::openDayLists()
{
    const QString user = currentUser().kullanici;
    // Each list is tried: one that fails keeps what it showed (or nothing, for another day).
    bool ok = randevuTable->isOpen() || openList(this, randevuTable, DayList::Waiting, user);
    ok = (ffQuery1->isOpen() || openList(this, ffQuery1, DayList::Held, user)) && ok;
    ok = (ffQuery4->isOpen() || openList(this, ffQuery4, DayList::Cancelled, user)) && ok;
    return ok;
}

bool Tanamenuf::reopenDayLists()
{
    const QString user = currentUser().kullanici;
    bool ok = openList(this, randevuTable, DayList::Waiting, user);
    ok = openList(this, ffQuery1, DayList::Held, user) && ok;
    ok = openList(this, ffQuery4, DayList::Cancelled, user) && ok;
    return ok;
}

bool Tanamenuf::gunYenile()
{
    // A daily note that could not be written stays in its box; nothing is read over it.
    if (!postDailyNote())
        return false;
    const bool notes = openNoteTables();
    return reopenDayLists() && notes;
}

void Tanamenuf::JvNavPanelButton10Click()
{
    refreshAll();
}

bool Tanamenuf::refreshAll()
{
    const QString user = currentUser().kullanici;
    bool ok = openList(this, ffQuery1, DayList::Held, user);
    ok = openGeneralNotes() && ok;
    ok = openList(this, ffQuery4, DayList::Cancelled, user) && ok;
    ok = openList(this, randevuTable, DayList::Waiting, user) && ok;
    ok = reopenUnlessEditing(forms().ozluk->sicilTable) && ok;
    ok = rerunHeldList() && ok;
    ok = reopenUnlessEditing(forms().sicrapor->sicrapQuery) && ok;
    if (forms().randevuF->randevuTable->isOpen())
        ok = reopenUnlessEditing(forms().randevuF->randevuTable) && ok;
    return ok;
}

void Tanamenuf::JvNavPanelButton7Click()
{
    rerunHeldList();
}

bool Tanamenuf::rerunHeldList()
{
    ffQuery1->setQuery(heldListQuery());
    return openList(this, ffQuery1, DayList::Held, currentUser().kullanici);
}

void Tanamenuf::showOwnerColumns(bool show)
{
    for (GridView *grid : {JvDBUltimGrid1, bolumgrid2, JvDBUltimGrid4})
        grid->setColumnHidden(0, !show);
}

void Tanamenuf::CheckBox2MouseUp()
{
    showOwnerColumns(CheckBox2->isChecked());
    reopenDayLists();
}

void Tanamenuf::CheckBox2Exit()
{
    showOwnerColumns(CheckBox2->isChecked());
}

void Tanamenuf::CheckBox3MouseUp()
{
    for (GridView *grid : {JvDBUltimGrid1, bolumgrid2, JvDBUltimGrid4})
        grid->setWholeRowSelection(CheckBox3->isChecked());
}

int Tanamenuf::timerInterval() const
{
    bool ok = false;
    const qlonglong seconds = JvDotNetEdit1->text().toLongLong(&ok);
    if (!ok || seconds <= 0)
        return 0;
    // A long run of digits (from Ayar.ini too) waits as long as the timer can.
    constexpr qlonglong longest = std::numeric_limits<int>::max();
    return int(seconds > longest / 1000 ? longest : seconds * 1000);
}

void Tanamenuf::applyTimer()
{
    const int interval = timerInterval();
    Timer1->setInterval(interval);
    if (m_timerOn && interval > 0) {
        if (!Timer1->isActive())
            Timer1->start();
    } else {
        Timer1->stop();
    }
}

bool Tanamenuf::timerRunning() const
{
    return Timer1->isActive();
}

void Tanamenuf::JvDotNetEdit1Change()
{
    applyTimer();
}

void Tanamenuf::CheckBox1Click()
{
    m_timerOn = CheckBox1->isChecked();
    applyTimer();
}

void Tanamenuf::Timer1Timer()
{
    // Ticks do not pile up behind a slow refresh or its message, and a lasting lock is told
    // once, not at every tick.
    if (m_refreshing)
        return;
    m_refreshing = true;
    Timer1->stop();
    {
        const Database::Silence silence(session().database(), m_automaticRefreshFailed);
        m_automaticRefreshFailed = !refreshAll();
    }
    m_refreshing = false;
    applyTimer();
}

} // namespace lumkar
