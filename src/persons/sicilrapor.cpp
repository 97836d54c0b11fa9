#include "persons/sicilrapor.h"

#include "kit/bound.h"
#include "kit/controls.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"
#include "kit/windowparts.h"
#include "persons/packagestatus.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace lumkar {

namespace {

const QString kSicilKodu = QStringLiteral("sicil_kodu");

} // namespace

Tsicrapor::Tsicrapor(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("sicrapor"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişi Kayıt Bilgileri"));
    sicrapQuery = new DataSet(session.db(), this);
    sicrapQuery->setObjectName(QStringLiteral("sicrapQuery"));
    sicrapQuery->setQuery(QStringLiteral("Select * from siciltablo Order By adi ASC;"),
                          QStringLiteral("siciltablo"));
    sicrapQuery->setOwnerWindow(this);
    // The register may hold any number of persons: it is read as it comes into view, and the
    // boxes filter it in the database.
    sicrapQuery->readByPages([this] { return currentFilter().sqlCondition(); });
    buildWindow();
    buildMenu();
    setWindowState(Qt::WindowMaximized);
}

QString Tsicrapor::emptyPhoneText()
{
    return QStringLiteral("(   )          ");
}

void Tsicrapor::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    JvDotNetEdit3 = new QLineEdit(this);
    JvDotNetEdit3->setObjectName(QStringLiteral("JvDotNetEdit3"));
    JvDotNetEdit3->setMaxLength(16);
    JvDotNetEdit3->setMaximumWidth(110);
    JvDotNetEdit1 = new QLineEdit(this);
    JvDotNetEdit1->setObjectName(QStringLiteral("JvDotNetEdit1"));
    JvDotNetEdit1->setMaxLength(71);
    Telefon1Edit = newPhoneEdit(this);
    Telefon1Edit->setObjectName(QStringLiteral("Telefon1Edit"));
    Telefon1Edit->setMaximumWidth(140);
    auto button = [this](const QString &name, const QString &caption) {
        return newButton(this, name, caption);
    };
    // Created in tab order.
    araButton = button(QStringLiteral("araButton"), QStringLiteral("Kısıtlayarak Ara"));
    SpeedButton1 = button(QStringLiteral("SpeedButton1"), QStringLiteral("Peşpeşe Ara"));
    yeniBut = button(QStringLiteral("yeniBut"), QStringLiteral("Yeni Arama"));
    bar->addWidget(new QLabel(QStringLiteral("Kodu"), this));
    bar->addWidget(JvDotNetEdit3);
    bar->addWidget(new QLabel(QStringLiteral("Adı/Soyadı"), this));
    bar->addWidget(JvDotNetEdit1, 1);
    bar->addWidget(new QLabel(QStringLiteral("Telefon"), this));
    bar->addWidget(Telefon1Edit);
    bar->addWidget(araButton);
    bar->addWidget(SpeedButton1);
    bar->addWidget(yeniBut);
    layout->addLayout(bar);

    bolumgrid = new GridView(this);
    bolumgrid->setObjectName(QStringLiteral("bolumgrid"));
    bolumgrid->setEnterRule(GridView::EnterRule::NextColumn);
    auto column = [](const QString &field, const QString &heading, int width) {
        return GridColumn{field, heading, {}, Qt::AlignLeft | Qt::AlignVCenter, width};
    };
    bolumgrid->setColumns(sicrapQuery,
                          {column(kSicilKodu, QStringLiteral("Kodu"), 70),
                           column(QStringLiteral("adi"), QStringLiteral("Adı"), 150),
                           column(QStringLiteral("soyadi"), QStringLiteral("Soyadı"), 150),
                           column(QStringLiteral("tel1"), QStringLiteral("Telefon 1"), 120),
                           column(QStringLiteral("ceptel"), QStringLiteral("Cep Telefonu"), 120),
                           column(QStringLiteral("fax"), QStringLiteral("Faks"), 120),
                           column(QStringLiteral("email"), QStringLiteral("eMail"), 180),
                           column(QStringLiteral("tel2"), QStringLiteral("Telefon 2"), 120),
                           column(QStringLiteral("ceptel2"), QStringLiteral("Cep Telefonu 2"),
                                  120)});
    layout->addWidget(bolumgrid, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Adres"), this), 0, Qt::AlignTop);
    JvDotNetDBMemo4 = new QPlainTextEdit(this);
    JvDotNetDBMemo4->setObjectName(QStringLiteral("JvDotNetDBMemo4"));
    JvDotNetDBMemo4->setReadOnly(true);
    JvDotNetDBMemo4->setTabChangesFocus(true);
    JvDotNetDBMemo4->setMaximumHeight(70);
    bindMemo(JvDotNetDBMemo4, sicrapQuery, QStringLiteral("isadresi"));
    bottom->addWidget(JvDotNetDBMemo4, 1);
    Button1 = button(QStringLiteral("Button1"), QStringLiteral("SEÇ"));
    yazBut = button(QStringLiteral("yazBut"), QStringLiteral("Yazdır"));
    kapatBut = button(QStringLiteral("kapatBut"), QStringLiteral("KAPAT"));
    tfXPButton1 = new QToolButton(this);
    tfXPButton1->setObjectName(QStringLiteral("tfXPButton1"));
    tfXPButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    tfXPButton1->setAutoRaise(true);
    for (QWidget *w : {static_cast<QWidget *>(Button1), static_cast<QWidget *>(yazBut),
                       static_cast<QWidget *>(tfXPButton1), static_cast<QWidget *>(kapatBut)})
        bottom->addWidget(w, 0, Qt::AlignBottom);
    layout->addLayout(bottom);

    // Names and codes are typed with capital initials; the filter follows the boxes.
    attachCapitalisation(JvDotNetEdit3);
    attachCapitalisation(JvDotNetEdit1);

    connect(yeniBut, &QPushButton::clicked, this, &Tsicrapor::yeniButClick);
    connect(araButton, &QPushButton::clicked, this, &Tsicrapor::araButtonClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &Tsicrapor::SpeedButton1Click);
    connect(Button1, &QPushButton::clicked, this, &Tsicrapor::Button1Click);
    connect(yazBut, &QPushButton::clicked, this, [this] { yazButClick(); });
    connect(kapatBut, &QPushButton::clicked, this, &Tsicrapor::kapatButClick);
    connect(tfXPButton1, &QToolButton::clicked, this, &Tsicrapor::helpClick);
    connect(bolumgrid, &GridView::rowActivated, this, [this] { Button1Click(); });
    connect(bolumgrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Tsicrapor::titleClick);

    m_enterAsTab = new EnterAsTab(this);
    resize(1000, 640);
}

void Tsicrapor::buildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const QString &name, const QString &caption, Qt::Key key,
                       const std::function<void()> &handler) {
        return addWindowKey(this, name, caption, key, PopupMenu1, handler);
    };
    item(QStringLiteral("YeniArama1"), QStringLiteral("Yeni Arama"), Qt::Key_F5,
         [this] { yeniButClick(); });
    item(QStringLiteral("Ara1"), QStringLiteral("Ara"), Qt::Key_F6, {});
    item(QStringLiteral("Sec1"), QStringLiteral("Seç"), Qt::Key_F8, [this] { Button1Click(); });
    item(QStringLiteral("Kapat1"), QStringLiteral("Kapat"), Qt::Key_F10,
         [this] { kapatButClick(); });
    item(QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1,
         [this] { helpClick(); });
    useAsContextMenu(this, PopupMenu1);

    gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("gridMenu"));
    QAction *packages = gridMenu->addAction(QStringLiteral("Paket Durumu..."), this,
                                            [this] { PaketDurumu1Click(); });
    packages->setObjectName(QStringLiteral("PaketDurumu1"));
    setPopupMenu(bolumgrid, gridMenu);
}

ReportPreview *Tsicrapor::PaketDurumu1Click()
{
    if (!sicrapQuery->isOpen() || sicrapQuery->currentRow() < 0)
        return nullptr;
    const ChosenPerson person = currentPerson();
    return previewPackageStatus(db(), person.sicilKodu,
                                person.adi + QLatin1Char(' ') + person.soyadi,
                                currentUser().adSoyad, dialogs(), this);
}

PersonListFilter Tsicrapor::currentFilter() const
{
    return PersonListFilter(JvDotNetEdit3->text(), JvDotNetEdit1->text(),
                            maskedText(Telefon1Edit));
}

void Tsicrapor::yeniButClick()
{
    JvDotNetEdit1->clear();
    JvDotNetEdit3->clear();
    Telefon1Edit->setText(emptyPhoneText());
    sicrapQuery->setFiltered(false);
}

void Tsicrapor::araButtonClick()
{
    sicrapQuery->setFiltered(true); // read again with the boxes as they are now
}

void Tsicrapor::SpeedButton1Click()
{
    if (!sicrapQuery->isOpen())
        return;
    int current = sicrapQuery->currentRow();
    bool pastEnd = sicrapQuery->eof();
    if (sicrapQuery->isFiltered()) {
        // The whole list comes back; the search goes on from the same person.
        const QVariant hid = sicrapQuery->value(QStringLiteral("hid"));
        sicrapQuery->setFiltered(false);
        if (!hid.isNull())
            sicrapQuery->locate(QStringLiteral("hid"), hid);
        current = sicrapQuery->currentRow();
        pastEnd = false;
    }
    const PersonSearch search(JvDotNetEdit1->text(), maskedText(Telefon1Edit));
    const int row = search.nextHit(*sicrapQuery, current, pastEnd);
    if (row >= 0 && row != sicrapQuery->currentRow())
        sicrapQuery->moveTo(row);
}

void Tsicrapor::titleClick(int column)
{
    const QVector<GridColumn> &columns = bolumgrid->gridModel()->columns();
    if (column < 0 || column >= columns.size())
        return;
    siralamaYonu = siralamaYonu == QLatin1String("ASC") ? QStringLiteral("DESC")
                                                        : QStringLiteral("ASC");
    sicrapQuery->close();
    sicrapQuery->setQuery(QStringLiteral("Select * from siciltablo order by ")
                              + columns[column].field + QLatin1Char(' ') + siralamaYonu,
                          QStringLiteral("siciltablo"));
    (void)sicrapQuery->open(); // a failure was told; the list stays empty until read again
}

ChosenPerson Tsicrapor::currentPerson()
{
    const auto text = [this](const char *column) {
        return sicrapQuery->text(QString::fromLatin1(column));
    };
    return {text("sicil_kodu"), text("adi"),    text("soyadi"),  text("tel1"),
            text("tel2"),       text("ceptel"), text("isadresi")};
}

bool Tsicrapor::readPersons()
{
    sicrapQuery->close();
    return sicrapQuery->open() && sicrapQuery->readNow();
}

int Tsicrapor::personCount()
{
    return sicrapQuery->isOpen() ? sicrapQuery->recordCount() : 0;
}

bool Tsicrapor::openPersons()
{
    return sicrapQuery->isOpen() || sicrapQuery->open();
}

bool Tsicrapor::refresh()
{
    return sicrapQuery->reopen();
}

bool Tsicrapor::readAgain()
{
    return !sicrapQuery->isOpen() || sicrapQuery->reopen();
}

void Tsicrapor::choosePerson(PersonChosen chosen, bool followOnClose)
{
    m_chosen = std::move(chosen);
    m_followOnClose = followOnClose;
    show();
    raise();
    activateWindow();
    if (!sicrapQuery->isOpen())
        (void)sicrapQuery->open(); // a failure was told; the list stays empty
}

void Tsicrapor::Button1Click()
{
    if (!sicrapQuery->isOpen() || sicrapQuery->recordCount() == 0
        || sicrapQuery->currentRow() < 0 || !m_chosen)
        return;
    const ChosenPerson person = currentPerson();
    const PersonChosen chosen = std::exchange(m_chosen, {});
    m_followOnClose = false;
    hide();
    sicrapQuery->close();
    chosen(person);
}

void Tsicrapor::kapatButClick()
{
    hide();
}

void Tsicrapor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    JvDotNetEdit1->setFocus();
}

void Tsicrapor::hideEvent(QHideEvent *event)
{
    // Minimising is not closing the list.
    if (!event->spontaneous()) {
        JvDotNetEdit1->clear();
        JvDotNetEdit3->clear();
        if (m_followOnClose && m_chosen && sicrapQuery->isOpen() && sicrapQuery->isLoaded()
            && sicrapQuery->currentRow() >= 0)
            m_chosen(currentPerson());
        sicrapQuery->close();
    }
    QWidget::hideEvent(event);
}

ReportPreview *Tsicrapor::yazButClick()
{
    reports::Report report(reports::layouts::sicilrapor(QStringLiteral("frReport1")));
    report.setUserName(currentUser().adSoyad);
    return ReportPreview::printReport(report, {{reports::layouts::singleLink(), sicrapQuery}},
                                      previewTitle(), dialogs(), this);
}

void Tsicrapor::helpClick()
{
    forms().help->openTopic(QStringLiteral("ysicilrapor"));
}

} // namespace lumkar
