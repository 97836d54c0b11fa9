// The day view of the main window: the working day's waiting, held and cancelled
// appointments, their refreshes and the automatic refresh.

#include "appointments/dayview.h"

#include "app/userrights.h"
#include "appointments/dailyprint.h"
#include "appointments/dayfilter.h"
#include "kit/windowparts.h"

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

QLabel *paneHeader(QWidget *parent, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setStyleSheet(s("QLabel { font-weight: bold; color: white; background: #2f5d8a;"
                           " padding: 3px 6px; }"));
    return label;
}

} // namespace

DayLists::DayLists(Forms &forms, Session &session, QWidget *parent)
    : QWidget(parent), FormContext(forms, session)
{
    setObjectName(s("dayLists"));
    QWidget *listsArea = this;
    JvDateTimePicker1 = new QDateEdit(QDate::currentDate(), this);
    JvDateTimePicker1->setObjectName(s("JvDateTimePicker1"));
    JvDateTimePicker1->setCalendarPopup(true);
    JvDateTimePicker1->setDisplayFormat(s("dd.MM.yyyy"));
    JvDateTimePicker1->calendarWidget()->setVerticalHeaderFormat(
        QCalendarWidget::ISOWeekNumbers);
    CheckBox2 = new CheckBox(s("Tüm Kullanıcıların Randevularını Göster"), this);
    CheckBox2->setObjectName(s("CheckBox2"));
    CheckBox3 = new CheckBox(s("Tüm Sütunu Göster"), this);
    CheckBox3->setObjectName(s("CheckBox3"));

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
    auto pane = [](QWidget *owner, const QString &name, QLabel *header) {
        auto *w = new QWidget(owner);
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
        QPushButton *b = newButton(p.widget, name, caption);
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

    showOwnerColumns(false);

    m_dailyPrint
        = std::make_unique<DailyPrint>(*randevuTable, *ffQuery1, *ffQuery4, dialogs(), this);
    const QList<QPair<QAbstractButton *, DailyPrint::Printout>> prints
        = { { bekleyenYazdirBut, DailyPrint::Printout::Waiting },
              { bekleyenYazdir2But, DailyPrint::Printout::Waiting2 },
              { bekleyenYazdir3But, DailyPrint::Printout::Waiting3 },
              { gorusulenYazdirBut, DailyPrint::Printout::Held },
              { gorusulenYazdir2But, DailyPrint::Printout::Held2 },
              { iptalYazdirBut, DailyPrint::Printout::Cancelled } };
    for (const auto &p : prints)
        connect(p.first, &QAbstractButton::clicked, this,
            [this, kind = p.second] { printDay(int(kind)); });

    connect(JvDateTimePicker1, &QDateEdit::dateChanged, this, &DayLists::workingDateChanged);
    connect(CheckBox2, &CheckBox::mouseReleased, this, &DayLists::CheckBox2MouseUp);
    connect(CheckBox2, &CheckBox::focusLeft, this, &DayLists::CheckBox2Exit);
    connect(CheckBox3, &CheckBox::mouseReleased, this, &DayLists::CheckBox3MouseUp);
    connect(JvNavPanelButton7, &QPushButton::clicked, this, &DayLists::JvNavPanelButton7Click);
}

DayLists::~DayLists() = default;

void DayLists::printDay(int printout)
{
    m_dailyPrint->print(DailyPrint::Printout(printout),
                        {workingDate(), CheckBox2->isChecked(), currentUser().adSoyad});
}

QDate DayLists::workingDate() const
{
    return JvDateTimePicker1->date();
}

void DayLists::setWorkingDate(const QDate &day)
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
bool DayLists::openList(DataSet *dataSet, DayList list)
{
    return openDayList(dataSet, list,
                       DayFilter{workingDate(), CheckBox2->isChecked(), currentUser().kullanici});
}

bool DayLists::openDayLists()
{
    // Each list is tried: one that fails keeps what it showed (or nothing, for another day).
    bool ok = randevuTable->isOpen() || openList(randevuTable, DayList::Waiting);
    ok = (ffQuery1->isOpen() || openList(ffQuery1, DayList::Held)) && ok;
    ok = (ffQuery4->isOpen() || openList(ffQuery4, DayList::Cancelled)) && ok;
    return ok;
}

bool DayLists::reopenDayLists()
{
    bool ok = openList(randevuTable, DayList::Waiting);
    ok = openList(ffQuery1, DayList::Held) && ok;
    ok = openList(ffQuery4, DayList::Cancelled) && ok;
    return ok;
}

bool DayLists::reopenWaitingList()
{
    return openList(randevuTable, DayList::Waiting);
}

bool DayLists::readWaitingListAnew()
{
    randevuTable->close();
    return openDayLists();
}

DataSet *DayLists::selectedWaiting()
{
    return randevuTable->isOpen() && randevuTable->currentRow() >= 0 ? randevuTable : nullptr;
}

bool DayLists::allUsersShown() const
{
    return CheckBox2->isChecked();
}

bool DayLists::reopenCancelledList()
{
    return openList(ffQuery4, DayList::Cancelled);
}

void DayLists::JvNavPanelButton7Click()
{
    rerunHeldList();
}

bool DayLists::rerunHeldList()
{
    ffQuery1->setQuery(heldListQuery());
    return openList(ffQuery1, DayList::Held);
}

void DayLists::showOwnerColumns(bool show)
{
    for (GridView *grid : {JvDBUltimGrid1, bolumgrid2, JvDBUltimGrid4})
        grid->setColumnHidden(0, !show);
}

void DayLists::fitToUser(const LoggedInUser &user)
{
    const bool everyone = user.rights.seesEveryone;
    if (!everyone)
        CheckBox2->setChecked(false);
    CheckBox2->setVisible(everyone);
    showOwnerColumns(everyone && CheckBox2->isChecked());
}

void DayLists::CheckBox2MouseUp()
{
    showOwnerColumns(CheckBox2->isChecked());
    reopenDayLists();
}

void DayLists::CheckBox2Exit()
{
    showOwnerColumns(CheckBox2->isChecked());
}

void DayLists::CheckBox3MouseUp()
{
    for (GridView *grid : {JvDBUltimGrid1, bolumgrid2, JvDBUltimGrid4})
        grid->setWholeRowSelection(CheckBox3->isChecked());
}

} // namespace lumkar
