#include "shell/anamenu.h"

#include "accounts/cari.h"
#include "accounts/gunsonu.h"
#include "accounts/ledger.h"
#include "accounts/primrapor.h"
#include "app/userrights.h"
#include "appointments/aylik.h"
#include "appointments/dailyprint.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/hatirlatma.h"
#include "appointments/randevu.h"
#include "kit/bound.h"
#include "kit/entryboxes.h"
#include "notes/notespanes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/sifre.h"
#include "shell/yardim.h"
#include "visits/gorusme.h"
#include "visits/paketler.h"

#include <utility>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QToolButton *toolButton(
    QWidget *parent, const QString &name, const QString &caption, QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    return b;
}

} // namespace

Tanamenuf::Tanamenuf(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("anamenuf"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Ana Menü"));
    m_traceFile = QStringLiteral("C:\\fftrlog.txt");
    buildMenus();
    buildFrame();
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

Tanamenuf::~Tanamenuf() = default;

void Tanamenuf::buildMenus()
{
    auto action = [this](const QString &name, const QString &caption, Qt::Key key) {
        return addWindowKey(this, name, caption, key);
    };
    kaydetAction = action(QStringLiteral("Kaydet1"), QStringLiteral("Kaydet"), Qt::Key_F2);
    vazgecAction = action(QStringLiteral("Vazge1"), QStringLiteral("Vazgeç"), Qt::Key_F3);
    yazdirAction = action(QStringLiteral("Yazdr1"), QStringLiteral("Yazdır (Önizleme)"),
                          Qt::Key_F4);
    yeniRandevuAction = action(QStringLiteral("YeniRandevu1"), QStringLiteral("Yeni Randevu"),
                               Qt::Key_F5);
    listelerAction = action(QStringLiteral("Listeler1"), QStringLiteral("Listeler"), Qt::Key_F6);
    yeniFirmaAction = action(QStringLiteral("YeniFirmaGirii1"),
                             QStringLiteral("Yeni Firma Girişi"), Qt::Key_F7);
    randevuRaporAction = action(QStringLiteral("RandevuRaporlar1"),
                                QStringLiteral("Randevu Raporları"), Qt::Key_F9);
    kapatAction = action(QStringLiteral("Kapat1"), QStringLiteral("Kapat"), Qt::Key_F10);
    // Keys of the hidden menu bar that do nothing.
    QList<QAction *> silent;
    for (Qt::Key key : {Qt::Key_F8, Qt::Key_F11, Qt::Key_F12})
        silent << action(QString(), QString(), key);
    QAction *help = action(QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1);
    connect(help, &QAction::triggered, this, &Tanamenuf::helpClick);
    connect(kaydetAction, &QAction::triggered, this, &Tanamenuf::JvNavPanelButton1Click);
    connect(vazgecAction, &QAction::triggered, this, &Tanamenuf::JvNavPanelButton3Click);
    connect(listelerAction, &QAction::triggered, this, &Tanamenuf::N2KisiListeleri);
    connect(yeniFirmaAction, &QAction::triggered, this, &Tanamenuf::N1KisiGiris);
    connect(kapatAction, &QAction::triggered, this, &Tanamenuf::JvNavPanelButton6Click);

    recetemenu = new QMenu(this);
    recetemenu->setObjectName(QStringLiteral("recetemenu"));
    recetemenu->addActions({kaydetAction, vazgecAction, yazdirAction, yeniRandevuAction,
                            listelerAction, yeniFirmaAction, randevuRaporAction, kapatAction});
    RandevuMenu = new QMenu(this);
    RandevuMenu->setObjectName(QStringLiteral("RandevuMenu"));
    auto menuItem = [this](const QString &name, const QString &caption) {
        QAction *item = RandevuMenu->addAction(caption);
        item->setObjectName(name);
        return item;
    };
    gorusmeYapAction = menuItem(QStringLiteral("GorusmeYap1"), QStringLiteral("Görüşme Yap"));
    randevuGerceklestiAction =
        menuItem(QStringLiteral("RandevuGerceklesti1"), QStringLiteral("Randevu Gerçekleşti"));
    randevuIptalAction =
        menuItem(QStringLiteral("BuRandevuyuIptalEt1"), QStringLiteral("Bu Randevuyu İptal Et"));
    randevuDegistirAction = menuItem(QStringLiteral("RandevuBilgileriniDegistir1"),
                                     QStringLiteral("Randevu Bilgilerini Değiştir"));
    connect(gorusmeYapAction, &QAction::triggered, this, &Tanamenuf::GorusmeYap1Click);
    GorusmePopup = new QMenu(this);
    GorusmePopup->setObjectName(QStringLiteral("GorusmePopup"));
    QAction *changeHeld = GorusmePopup->addAction(QStringLiteral("Değiştir"));
    changeHeld->setVisible(false);
    connect(changeHeld, &QAction::triggered, this, &Tanamenuf::changeHeldVisit);
    iptalPopup = new QMenu(this);
    iptalPopup->setObjectName(QStringLiteral("iptalPopup"));
    BosPopup = new QMenu(this);
    BosPopup->setObjectName(QStringLiteral("BosPopup"));

    // The menu bar is hidden; its items carry the keys of the window.
    auto *bar = new QMenuBar(this);
    QMenu *islemler = bar->addMenu(QStringLiteral("İşlemler"));
    islemler->addActions({kaydetAction, vazgecAction, listelerAction, yeniFirmaAction});
    QMenu *randevu = bar->addMenu(QStringLiteral("Randevu İşlemleri"));
    randevu->addActions({yeniRandevuAction, randevuRaporAction});
    connect(randevu->addAction(QStringLiteral("Randevulu Muayene")), &QAction::triggered, this,
            &Tanamenuf::startVisit);
    randevu->addActions(silent);
    QMenu *yazdir = bar->addMenu(QStringLiteral("Yazdır"));
    yazdir->addAction(yazdirAction);
    QMenu *kapat = bar->addMenu(QStringLiteral("Kapat"));
    kapat->addAction(kapatAction);
    setMenuBar(bar);
    bar->setVisible(false);
}

void Tanamenuf::buildFrame()
{
    // Toolbar.
    auto *toolbar = new QToolBar(QStringLiteral("Araçlar"), this);
    toolbar->setObjectName(QStringLiteral("JvNavPanelHeader1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    auto *labels = new QWidget(toolbar);
    auto *labelsLayout = new QVBoxLayout(labels);
    labelsLayout->setContentsMargins(6, 0, 12, 0);
    kullaniciKoduLabel = new QLabel(QStringLiteral("Kullanıcı Kodu: "), labels);
    kullaniciKoduLabel->setObjectName(QStringLiteral("kullaniciKoduLabel"));
    adSoyadLabel = new QLabel(QStringLiteral("Adı/Soyadı: "), labels);
    adSoyadLabel->setObjectName(QStringLiteral("adSoyadLabel"));
    labelsLayout->addWidget(kullaniciKoduLabel);
    labelsLayout->addWidget(adSoyadLabel);
    toolbar->addWidget(labels);
    toolbar->addSeparator();
    JvNavPanelButton2 = toolButton(toolbar, QStringLiteral("JvNavPanelButton2"),
                                   QStringLiteral("Yeni Rand."), QStyle::SP_FileIcon);
    JvNavPanelButton1 = toolButton(toolbar, QStringLiteral("JvNavPanelButton1"),
                                   QStringLiteral(" Kaydet"), QStyle::SP_DialogSaveButton);
    JvNavPanelButton3 = toolButton(toolbar, QStringLiteral("JvNavPanelButton3"),
                                   QStringLiteral(" Vazgeç"), QStyle::SP_DialogCancelButton);
    JvNavPanelButton4 = toolButton(toolbar, QStringLiteral("JvNavPanelButton4"),
                                   QStringLiteral("R.Görüşme"), QStyle::SP_DialogYesButton);
    JvNavPanelButton5 = toolButton(toolbar, QStringLiteral("JvNavPanelButton5"),
                                   QStringLiteral(" Yazdır"), QStyle::SP_FileDialogDetailedView);
    JvNavPanelButton6 = toolButton(toolbar, QStringLiteral("JvNavPanelButton6"),
                                   QStringLiteral("  Kapat"), QStyle::SP_DialogCloseButton);
    JvNavPanelButton10 = toolButton(toolbar, QStringLiteral("JvNavPanelButton10"),
                                    QStringLiteral("  Yenile"), QStyle::SP_BrowserReload);
    JvNavPanelButton11 = toolButton(toolbar, QStringLiteral("JvNavPanelButton11"),
                                    QStringLiteral("Genel Not Gir"),
                                    QStyle::SP_FileDialogContentsView);
    // The help button is a picture; its name shows as a hint.
    tfXPButton1 = toolButton(toolbar, QStringLiteral("tfXPButton1"), QString(),
                             QStyle::SP_DialogHelpButton);
    tfXPButton1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tfXPButton1->setIconSize(QSize(32, 32));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    // The buttons sit in one strip so that each can be shown and hidden on its own.
    auto *strip = new QWidget(toolbar);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->setSpacing(2);
    for (QToolButton *b : {JvNavPanelButton2, JvNavPanelButton1, JvNavPanelButton3,
                           JvNavPanelButton4, JvNavPanelButton5, JvNavPanelButton6,
                           JvNavPanelButton10, JvNavPanelButton11}) {
        b->setParent(strip);
        stripLayout->addWidget(b);
    }
    stripLayout->addStretch();
    strip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(strip);
    tfXPButton1->setParent(toolbar);
    toolbar->addWidget(tfXPButton1);
    addToolBar(Qt::TopToolBarArea, toolbar);
    // Hidden until a user with the right to change everybody's records logs in.
    JvNavPanelButton11->setVisible(false);

    connect(JvNavPanelButton2, &QToolButton::clicked, this, &Tanamenuf::JvNavPanelButton2Click);
    connect(JvNavPanelButton1, &QToolButton::clicked, this, &Tanamenuf::JvNavPanelButton1Click);
    connect(JvNavPanelButton3, &QToolButton::clicked, this, &Tanamenuf::JvNavPanelButton3Click);
    connect(JvNavPanelButton4, &QToolButton::clicked, this, &Tanamenuf::JvNavPanelButton4Click);
    connect(JvNavPanelButton10, &QToolButton::clicked, this,
            &Tanamenuf::JvNavPanelButton10Click);
    connect(JvNavPanelButton6, &QToolButton::clicked, this, &Tanamenuf::JvNavPanelButton6Click);
    connect(JvNavPanelButton11, &QToolButton::clicked, this,
            &Tanamenuf::JvNavPanelButton11Click);
    connect(tfXPButton1, &QToolButton::clicked, this, &Tanamenuf::helpClick);

    // The parts: the note panes, the entry form and the day lists.
    m_notesPanes = new NotesPanes(
        forms(), session(), [this] { return workingDate(); }, this);

    // Task bar and notes on the left.
    auto *central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("mainSplitter"));
    auto *left = new QSplitter(Qt::Vertical, central);
    JvXPBar1 = new TaskBar(QStringLiteral("İşlemler"), left);
    JvXPBar1->setObjectName(QStringLiteral("JvXPBar1"));
    struct Item {
        QString caption, name, hint;
        void (Tanamenuf::*action)();
    };
    const QList<Item> items = {
        {QStringLiteral("Kişi Giriş ve Değişiklik"), QStringLiteral("N1"),
         QStringLiteral("Kişi detayları izeleme ve yeni kayıt girişi"), &Tanamenuf::N1KisiGiris},
        {QStringLiteral("Kayıtlı Kişi Listeleri"), QStringLiteral("N2"), {},
         &Tanamenuf::N2KisiListeleri},
        {QStringLiteral("Randevu Raporları"), QStringLiteral("N3"), {},
         &Tanamenuf::N3RandevuRaporlari},
        {QStringLiteral("Günlük Raporlar"), QStringLiteral("gunlukRaporlar"), {}, nullptr},
        {QStringLiteral("Görüşmeleri İzle Değiştir"), QStringLiteral("N4"), {},
         &Tanamenuf::N4Gorusmeler},
        {QStringLiteral("Aylık-Haftalık Rapor ve Giriş"), QStringLiteral("N5"), {},
         &Tanamenuf::N5Aylik},
        {QStringLiteral("Kişi Borç Alacak ve Tahsilat"), QStringLiteral("N6"), {},
         &Tanamenuf::N6Cari},
        {QStringLiteral("Kullanıcı Değiştir"), QStringLiteral("N7"), {},
         &Tanamenuf::N7KullaniciDegistir},
        {QStringLiteral("Paket Giriş ve Değişiklik"), QStringLiteral("N8"), {},
         &Tanamenuf::N8Paketler},
        {QStringLiteral("Günlük Kasa Raporu"), QStringLiteral("N9"), {}, &Tanamenuf::N9Kasa},
        {QStringLiteral("Günlük Kredi Kartı Raporu"), QStringLiteral("N10"), {},
         &Tanamenuf::N10KrediKarti},
        {QStringLiteral("Randevu Hatırlatmaları"), QStringLiteral("N11"),
         QStringLiteral("Yarının randevularını e-postayla ya da mesajla hatırlat"),
         &Tanamenuf::N11Hatirlatmalar},
        {QStringLiteral("Gün Sonu ve Kasa Kapanışı"), QStringLiteral("N12"),
         QStringLiteral("Günün kasasını sayıp kapatma"), &Tanamenuf::N12GunSonu},
        {QStringLiteral("Prim Raporu"), QStringLiteral("N13"),
         QStringLiteral("Kullanıcıların görüşmeleri ve primleri"), &Tanamenuf::N13PrimRaporu},
    };
    for (const Item &item : items) {
        QPushButton *b = JvXPBar1->addItem(item.caption, item.name, item.hint);
        if (item.action)
            connect(b, &QPushButton::clicked, this, item.action);
        else
            b->setVisible(false);
    }
    left->addWidget(JvXPBar1);
    left->addWidget(m_notesPanes->genelNotPane);
    left->addWidget(m_notesPanes->gunlukNotPane);
    left->setStretchFactor(0, 0);
    left->setStretchFactor(1, 1);
    left->setStretchFactor(2, 1);

    auto *right = new QSplitter(Qt::Vertical, central);
    topPane = new QWidget(right);
    topPane->setObjectName(QStringLiteral("topPane"));
    auto *topLayout = new QVBoxLayout(topPane);
    topLayout->setContentsMargins(4, 4, 4, 4);
    m_entryForm = new EntryForm(forms(), session(), topPane);
    m_dayLists = new DayLists(forms(), session(), right);
    buildRefreshControls();
    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Çalışma Tarihi"), topPane));
    controls->addWidget(m_dayLists->JvDateTimePicker1);
    controls->addWidget(m_dayLists->CheckBox2);
    controls->addStretch();
    controls->addWidget(CheckBox1);
    controls->addWidget(new QLabel(QStringLiteral("Yenileme Süresi"), topPane));
    controls->addWidget(JvDotNetEdit1);
    controls->addWidget(m_dayLists->CheckBox3);
    topLayout->addLayout(controls);
    topLayout->addWidget(m_entryForm);
    for (QWidget *w : { static_cast<QWidget *>(m_dayLists->JvDateTimePicker1),
             static_cast<QWidget *>(m_dayLists->CheckBox2), static_cast<QWidget *>(CheckBox1),
             static_cast<QWidget *>(JvDotNetEdit1), static_cast<QWidget *>(m_dayLists->CheckBox3) })
        w->setParent(topPane);
    // Tab walks the top pane, then the entry form from the person code to "KAYDET", then the
    // waiting list, so a booking needs no mouse.
    QList<QWidget *> chain = {m_dayLists->JvDateTimePicker1, m_dayLists->CheckBox2, CheckBox1,
                              JvDotNetEdit1, m_dayLists->CheckBox3};
    chain << m_entryForm->tabChain() << m_dayLists->JvDBUltimGrid1;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    right->addWidget(topPane);
    right->addWidget(m_dayLists);
    right->setStretchFactor(0, 0);
    right->setStretchFactor(1, 1);
    central->addWidget(left);
    central->addWidget(right);
    central->setStretchFactor(0, 0);
    central->setStretchFactor(1, 1);
    central->setSizes({240, 1000});
    setCentralWidget(central);
    setPopupMenu(topPane, recetemenu);
    setPopupMenu(this, recetemenu);
    setPopupMenu(m_dayLists->JvDBUltimGrid1, RandevuMenu);
    setPopupMenu(m_dayLists->bolumgrid2, GorusmePopup);
    setPopupMenu(m_dayLists->gorusulenPane, GorusmePopup);
    setPopupMenu(m_dayLists->gorusulenHeader, GorusmePopup);
    setPopupMenu(m_dayLists->JvDBUltimGrid4, iptalPopup);
    // A double click in the waiting list makes a visit; the held pane's "DEĞİŞTİR" changes one.
    connect(m_dayLists->JvDBUltimGrid1, &GridView::rowActivated, this, &Tanamenuf::startVisit);
    connect(m_dayLists->gorusulenDegistirBut, &QPushButton::clicked, this,
            &Tanamenuf::changeHeldVisit);
    setPopupMenu(m_notesPanes->gunlukNotPane, BosPopup);
    setPopupMenu(m_notesPanes->JvDotNetDBMemo5, BosPopup);

    connect(JvNavPanelButton5, &QToolButton::clicked, this,
        [this] { m_dayLists->printDay(int(DailyPrint::Printout::AllLists)); });
    connect(yazdirAction, &QAction::triggered, this,
        [this] { m_dayLists->printDay(int(DailyPrint::Printout::AllLists)); });
    connect(randevuGerceklestiAction, &QAction::triggered, m_entryForm, &EntryForm::markHeld);
    connect(randevuIptalAction, &QAction::triggered, m_entryForm,
            &EntryForm::cancelAppointment);
    connect(randevuDegistirAction, &QAction::triggered, m_entryForm, &EntryForm::loadForChange);
    connect(m_dayLists->JvNavPanelButton13, &QPushButton::clicked, m_entryForm,
            &EntryForm::loadForChange);
    connect(m_entryForm, &EntryForm::personRecordWanted, this, &Tanamenuf::N1KisiGiris);
    connect(m_dayLists, &DayLists::workingDateChanged, this, [this] {
        postDailyNote();
        gunYenile();
    });

    statusBar()->addWidget(new QLabel(QStringLiteral("Lumkar Vikelmo"), this));
    resize(1200, 800);
}

bool Tanamenuf::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QMainWindow::eventFilter(watched, event);
    // The key reaches the control that has the focus first; grids and memos keep it.
    auto *focused = qobject_cast<QWidget *>(watched);
    if (!focused)
        return QMainWindow::eventFilter(watched, event);
    if (auto *grid = qobject_cast<GridView *>(focused)) {
        // A grid moves to the next column of the same row, then gets the key too.
        if (!grid->isEditingCell())
            grid->moveColumnForward(false);
        return false;
    }
    if (qobject_cast<QPlainTextEdit *>(focused) || qobject_cast<QTextEdit *>(focused))
        return false;
    if (qobject_cast<QAbstractItemView *>(focused))
        return false;
    // A key a memo left unused (a read-only memo) climbs to its parents: it stays unused.
    QWidget *owner = QApplication::focusWidget();
    if (owner && owner != focused
        && (qobject_cast<QPlainTextEdit *>(owner) || qobject_cast<QTextEdit *>(owner)))
        return true;
    focusNextChild();
    return true;
}

// ---------------------------------------------------------------- navigation

void Tanamenuf::N1KisiGiris()
{
    if (CheckBox1->isChecked())
        CheckBox1->setChecked(false);
    // The person of the selected waiting appointment, or the first person.
    forms().ozluk->openOn(m_dayLists->randevuTable->text(QStringLiteral("sicil_kodu")));
}

void Tanamenuf::N2KisiListeleri()
{
    Tsicrapor *list = forms().sicrapor;
    // A list that cannot be read says so; it never claims that there are no persons.
    if (!list->readPersons())
        return;
    if (list->personCount() > 0) {
        list->choosePerson(
            [entry = m_entryForm](const ChosenPerson &person) { entry->setEntryPerson(person); });
        return;
    }
    if (dialogs().question(QStringLiteral("Lumkar Selvaron"),
                           QStringLiteral("Kişi kaydı mevcut değil! Açmak istermisiniz?"),
                           Buttons::YesNoCancel)
        == Answer::Yes)
        N1KisiGiris();
}

void Tanamenuf::N3RandevuRaporlari()
{
    TrandevuF *list = forms().randevuF;
    list->show();
    list->raise();
    if (!list->openAppointments())
        return;
}

void Tanamenuf::N4Gorusmeler()
{
    TgorusmeF *visits = forms().gorusmeF;
    visits->show();
    visits->reopenVisits();
    visits->showMaximized();
}

void Tanamenuf::N5Aylik()
{
    TaylikF *planner = forms().aylikF;
    planner->setPlannerDate(workingDate());
    planner->show();
    planner->raise();
    planner->hazirlaButClick();
}

void Tanamenuf::N6Cari()
{
    forms().cariF->show();
    forms().cariF->raise();
    forms().cariF->openAccounts();
}

void Tanamenuf::N7KullaniciDegistir()
{
    postDailyNote();
    forms().PasswordDlg->show();
    forms().PasswordDlg->raise();
    hide();
}

void Tanamenuf::N8Paketler()
{
    forms().paketlerF->show();
    forms().paketlerF->raise();
    forms().paketlerF->openCatalogue();
}

void Tanamenuf::N9Kasa()
{
    forms().kasaF->show();
    forms().kasaF->raise();
    forms().kasaF->openBook();
}

void Tanamenuf::N10KrediKarti()
{
    forms().kkartF->show();
    forms().kkartF->raise();
    forms().kkartF->openBook();
}

void Tanamenuf::N11Hatirlatmalar()
{
    forms().hatirlatmaF->openReminders();
}

void Tanamenuf::N12GunSonu()
{
    forms().gunsonuF->show();
    forms().gunsonuF->raise();
    forms().gunsonuF->openDay();
}

void Tanamenuf::N13PrimRaporu()
{
    forms().primF->show();
    forms().primF->raise();
    forms().primF->openReport();
}

void Tanamenuf::helpClick()
{
    forms().help->openTopic(QStringLiteral("yanamenu"));
}

void Tanamenuf::JvNavPanelButton2Click()
{
    m_entryForm->startNew();
}

void Tanamenuf::JvNavPanelButton1Click()
{
    m_entryForm->save();
}

void Tanamenuf::JvNavPanelButton3Click()
{
    m_entryForm->discard();
}

void Tanamenuf::JvNavPanelButton4Click()
{
    startVisit();
}

void Tanamenuf::startVisit()
{
    DataSet *waiting = m_dayLists->randevuTable;
    if (!waiting->isOpen() || waiting->recordCount() == 0) {
        dialogs().information(programTitle(),
                              QStringLiteral("En azından bir kayıt seçmelisiniz!"));
        return;
    }
    forms().gorusmeF->startVisit(waiting->value(QStringLiteral("rid")));
}

void Tanamenuf::changeHeldVisit()
{
    DataSet *held = m_dayLists->ffQuery1;
    if (!held->isOpen() || held->recordCount() == 0)
        return;
    forms().gorusmeF->changeHeldVisit(held->value(QStringLiteral("gorusmekodu")));
}

void Tanamenuf::GorusmeYap1Click()
{
    startVisit();
}

void Tanamenuf::JvNavPanelButton11Click()
{
    m_notesPanes->openGeneralNotesWindow();
}

bool Tanamenuf::postDailyNote()
{
    return m_notesPanes->postDailyNote();
}

void Tanamenuf::setMenusAllowed(bool mayAdd)
{
    setPopupMenu(m_dayLists->JvDBUltimGrid1, mayAdd ? RandevuMenu : BosPopup);
    setPopupMenu(m_dayLists->bolumgrid2, mayAdd ? GorusmePopup : BosPopup);
    setPopupMenu(this, mayAdd ? recetemenu : BosPopup);
}

void Tanamenuf::fitToUser(const LoggedInUser &user)
{
    // "Genel Not Gir" is shown for a user who changes everyone's records; no login hides it.
    if (user.rights.showsGeneralNotes)
        JvNavPanelButton11->setVisible(true);
    kullaniciKoduLabel->setText(QStringLiteral("Kullanıcı Kodu: ") + user.user.kullanici);
    adSoyadLabel->setText(QStringLiteral("Adı/Soyadı: ") + user.user.adSoyad);
    setMenusAllowed(user.rights.mayAdd);
    m_entryForm->fitToUser(user);
    m_dayLists->fitToUser(user);
}

void Tanamenuf::startWorkingDay()
{
    activateWindow();
    setWorkingDate(QDate::currentDate());
    m_dayLists->JvDateTimePicker1->setFocus(Qt::OtherFocusReason);
    m_dayLists->openDayLists();
    gunYenile();
}

// ---------------------------------------------------------------- day refresh

void Tanamenuf::buildRefreshControls()
{
    CheckBox1 = new QCheckBox(QStringLiteral("Otomatik Yenile"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    JvDotNetEdit1 = new QLineEdit(QStringLiteral("30"), this);
    JvDotNetEdit1->setObjectName(QStringLiteral("JvDotNetEdit1"));
    JvDotNetEdit1->setMaximumWidth(50);
    attachDigitsRule(JvDotNetEdit1);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);
    connect(CheckBox1, &QCheckBox::toggled, this, &Tanamenuf::CheckBox1Click);
    connect(JvDotNetEdit1, &QLineEdit::textChanged, this, &Tanamenuf::JvDotNetEdit1Change);
    connect(Timer1, &QTimer::timeout, this, &Tanamenuf::Timer1Timer);
    // A tick that came while the user was answering runs as soon as the user is done.
    m_refreshWaits = new QTimer(this);
    m_refreshWaits->setObjectName(QStringLiteral("refreshWaits"));
    m_refreshWaits->setSingleShot(true);
    m_refreshWaits->setInterval(250);
    connect(m_refreshWaits, &QTimer::timeout, this, [this] {
        if (m_timerOn || m_otherDeskWrote)
            Timer1Timer();
    });
    // Another desk's write on the same server: the lists are read again at once, the writes
    // of one action together, and the refresh waits for the user as a tick does.
    m_otherDeskRefresh = new QTimer(this);
    m_otherDeskRefresh->setObjectName(QStringLiteral("otherDeskRefresh"));
    m_otherDeskRefresh->setSingleShot(true);
    m_otherDeskRefresh->setInterval(150);
    connect(&session().database().otherDesks(), &OtherDesks::changed, this, [this] {
        m_otherDeskWrote = true;
        if (!m_otherDeskRefresh->isActive())
            m_otherDeskRefresh->start();
    });
    connect(m_otherDeskRefresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            Timer1Timer();
    });
}

QDate Tanamenuf::workingDate() const
{
    return m_dayLists->workingDate();
}

void Tanamenuf::setWorkingDate(const QDate &day)
{
    m_dayLists->setWorkingDate(day);
}

bool Tanamenuf::gunYenile()
{
    // A daily note that could not be written stays in its box; nothing is read over it.
    if (!m_notesPanes->postDailyNote())
        return false;
    const bool notes = m_notesPanes->openNoteTables();
    return m_dayLists->reopenDayLists() && notes;
}

void Tanamenuf::JvNavPanelButton10Click()
{
    refreshAll();
}

bool Tanamenuf::refreshAll()
{
    bool ok = m_notesPanes->openGeneralNotes();
    ok = m_dayLists->reopenDayLists() && ok;
    ok = forms().ozluk->refreshRegister() && ok;
    ok = m_dayLists->rerunHeldList() && ok;
    ok = forms().sicrapor->refresh() && ok;
    ok = forms().randevuF->refreshIfOpen() && ok;
    return ok;
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

RefreshSettings Tanamenuf::refreshSettings() const
{
    return {JvDotNetEdit1->text(), CheckBox1->isChecked()};
}

void Tanamenuf::setRefreshSettings(const RefreshSettings &settings)
{
    JvDotNetEdit1->setText(settings.interval);
    CheckBox1->setChecked(settings.automatic);
}

void Tanamenuf::stopAutomaticRefresh()
{
    Timer1->stop();
    m_refreshWaits->stop();
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

bool Tanamenuf::userIsAnswering() const
{
    // A question, a notice or a picker of the program, the cancellation dialog, a menu opened
    // on a list, or any other window that takes all input: the rows the user chose from stay
    // as they are until the user is done.
    return dialogs().isAsking() || QApplication::activeModalWidget() != nullptr
        || QApplication::activePopupWidget() != nullptr;
}

bool Tanamenuf::refreshWaiting() const
{
    return m_refreshWaits->isActive();
}

void Tanamenuf::Timer1Timer()
{
    // Ticks do not pile up behind a slow refresh or its message, and a lasting lock is told
    // once, not at every tick.
    if (m_refreshing)
        return;
    if (userIsAnswering()) {
        m_refreshWaits->start();
        return;
    }
    m_refreshing = true;
    Timer1->stop();
    {
        const Database::Silence silence(session().database(), m_automaticRefreshFailed);
        const bool otherDeskWrote = std::exchange(m_otherDeskWrote, false);
        bool ok = refreshAll();
        if (otherDeskWrote) {
            // The windows a timer leaves alone: the planner and the open books.
            forms().aylikF->refreshIfShown();
            forms().kasaF->reloadRows();
            forms().kkartF->reloadRows();
            forms().cariF->reloadRows();
        }
        m_automaticRefreshFailed = !ok;
    }
    m_refreshing = false;
    applyTimer();
}

// ---------------------------------------------------------------- exit

bool Tanamenuf::askExit()
{
    return dialogs().question(programTitle(),
                              QStringLiteral("Programı kapatmak istediğinize eminmisiniz?"),
                              Buttons::YesNoCancel)
        == Answer::Yes;
}

void Tanamenuf::deleteTraceFile()
{
#ifdef Q_OS_WIN
    // A trace file another program leaves on the system drive; only that one file.
    if (QFile::exists(m_traceFile))
        QFile::remove(m_traceFile);
#endif
}

void Tanamenuf::JvNavPanelButton6Click()
{
    if (!askExit())
        return;
    m_exitConfirmed = true;
    deleteTraceFile();
    forms().PasswordDlg->setClosing(true);
    setEnabled(false);
    close();
}

void Tanamenuf::closeEvent(QCloseEvent *event)
{
    forms().PasswordDlg->writeRefreshSettings();
    if (!m_exitConfirmed) {
        if (!askExit()) {
            event->ignore();
            return;
        }
        deleteTraceFile();
    }
    event->accept();
    postDailyNote();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    forms().PasswordDlg->close();
    QApplication::restoreOverrideCursor();
}

} // namespace lumkar
