#include "persons/perozluk.h"

#include "data/personcodes.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "kit/bound.h"
#include "kit/controls.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"
#include "kit/grid.h"
#include "kit/windowparts.h"
#include "persons/packagestatus.h"
#include "persons/sicilrapor.h"
#include "reports/preview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QShowEvent>
#include <QSqlQuery>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <optional>

namespace lumkar {

namespace {

const QString kSicilKodu = QStringLiteral("sicil_kodu");

QString dropQuestion()
{
    return QStringLiteral("Yapılan değişiklik kayıt yapılmadan çıkılsınmı?");
}

QString saveQuestion()
{
    return QStringLiteral("Kişi sicil işleminde yapılan değişiklik kayıt edilsinmi?");
}

QString saveRefusal()
{
    return QStringLiteral("Sicil Kodu ve Kişi Adı kısımlarını boş geçemezsiniz!");
}

QString closeRefusal()
{
    return QStringLiteral("Sicil Kodu, Adı ve Soyadı kısımlarını boş geçemezsiniz!");
}

bool filled(const QLineEdit *box)
{
    return !box->text().trimmed().isEmpty();
}

} // namespace

Tozluk::Tozluk(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("ozluk"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Kişi Sicil Bilgileri"));
    sicilTable = new DataSet(session.db(), this);
    sicilTable->setObjectName(QStringLiteral("sicilTable"));
    sicilTable->setTable(QStringLiteral("siciltablo"));
    sicilTable->setOwnerWindow(this);
    // A person without a code or a first name is never stored, whichever move writes it.
    sicilTable->setBeforePost([](DataSet &ds) {
        return ds.text(kSicilKodu).trimmed().isEmpty()
                || ds.text(QStringLiteral("adi")).trimmed().isEmpty()
            ? DataSet::BeforePost::Discard
            : DataSet::BeforePost::Proceed;
    });

    ffQuery4 = new DataSet(session.db(), this);
    ffQuery4->setObjectName(QStringLiteral("ffQuery4"));
    // In register order, also when a pre-filter lets an index of names be used: "+hid" keeps
    // SQLite from walking the whole table in number order to spare sorting the few found.
    ffQuery4->setQuery(
        QStringLiteral("select sicil_kodu, adi, soyadi from siciltablo order by +hid"));
    ffQuery4->setFilter([this](const Record &row) {
        if (!m_nameSearch.isFor(aramaAdi, aramaSoyadi))
            m_nameSearch = NamePrefixSearch(aramaAdi, aramaSoyadi);
        return m_nameSearch.accepts(row);
    });
    ffQuery4->setFiltered(true);

    paketDurumu = new DataSet(session.db(), this);
    paketDurumu->setObjectName(QStringLiteral("paketDurumu"));

    buildWindow();
    buildMenu();
    connect(sicilTable, &DataSet::currentChanged, this, [this] { showPackageStatus(); });
    connect(sicilTable, &DataSet::reset, this, [this] { showPackageStatus(); });
}

QWidget *Tozluk::buildPackagePanel()
{
    auto *panel = new QGroupBox(QStringLiteral("Paket Durumu"), this);
    panel->setObjectName(QStringLiteral("paketPanel"));
    auto *layout = new QVBoxLayout(panel);
    paketGrid = new GridView(panel);
    paketGrid->setObjectName(QStringLiteral("paketGrid"));
    paketGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    paketGrid->setColumns(
        paketDurumu,
        {{QStringLiteral("paketkodu"), QStringLiteral("Kodu"), {}, left, 50},
         {QStringLiteral("paketadi"), QStringLiteral("Paket Adı"), {}, left, 230},
         {QStringLiteral("tarih"), QStringLiteral("İlk Alış"), QStringLiteral("dd.mm.yyyy"), left,
          80},
         {QStringLiteral("borc"), QStringLiteral("Tutar"), QStringLiteral("#,###.00"), right, 90},
         {QStringLiteral("yapilan"), QStringLiteral("Yapılan"), {}, centre, 70},
         {QStringLiteral("bekleyen"), QStringLiteral("Bekleyen"), {}, centre, 70}});
    paketGrid->setMinimumHeight(110);
    paketGrid->setToolTip(sessionsNote());
    layout->addWidget(paketGrid, 1);
    auto *bottom = new QHBoxLayout;
    paketToplamLabel = new QLabel(panel);
    paketToplamLabel->setObjectName(QStringLiteral("paketToplamLabel"));
    QFont bold = paketToplamLabel->font();
    bold.setBold(true);
    paketToplamLabel->setFont(bold);
    paketYazdirBut = newButton(panel, QStringLiteral("paketYazdirBut"),
                               QStringLiteral("Paket Durumunu Yazdır"));
    bottom->addWidget(paketToplamLabel, 1);
    bottom->addWidget(paketYazdirBut);
    layout->addLayout(bottom);
    connect(paketYazdirBut, &QPushButton::clicked, this, [this] { paketYazdirButClick(); });
    return panel;
}

void Tozluk::showPackageStatus()
{
    const QString code =
        sicilTable->isOpen() && sicilTable->isLoaded() ? sicilTable->text(kSicilKodu) : QString();
    if (m_statusRead && code == m_statusCode)
        return;
    m_statusCode = code;
    m_statusRead = isVisible();
    if (!m_statusRead)
        return; // read when the window is shown
    if (code.trimmed().isEmpty() || !openPackageStatus(*paketDurumu, code))
        paketDurumu->close();
    paketToplamLabel->setText(totalsText(packageTotals(*paketDurumu)));
}

ReportPreview *Tozluk::paketYazdirButClick()
{
    const QString code = sicilTable->isOpen() ? sicilTable->text(kSicilKodu) : QString();
    if (code.trimmed().isEmpty())
        return nullptr;
    return previewPackageStatus(db(), code,
                                sicilTable->text(QStringLiteral("adi")) + QLatin1Char(' ')
                                    + sicilTable->text(QStringLiteral("soyadi")),
                                currentUser().adSoyad, dialogs(), this);
}

void Tozluk::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("KİŞİ BİLGİLERİ GİRİŞ DEĞİŞİKLİK"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);

    auto *group = new QGroupBox(this);
    auto *grid = new QGridLayout(group);
    int row = 0;
    auto place = [&](QWidget *box, const QString &label, int column) {
        grid->addWidget(new QLabel(label, group), row, column * 2);
        grid->addWidget(box, row, column * 2 + 1);
    };
    auto line = [group](const QString &name, int maxLength) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(name);
        if (maxLength > 0)
            edit->setMaxLength(maxLength);
        return edit;
    };
    auto phone = [group](const QString &name) {
        QLineEdit *edit = newPhoneEdit(group);
        edit->setObjectName(name);
        return edit;
    };
    // Created in tab order.
    JvDotNetDBEdit1 = line(QStringLiteral("JvDotNetDBEdit1"), 0);
    JvDotNetDBEdit1->setReadOnly(true);
    JvDotNetDBEdit1->setEnabled(false);
    // Read-only and written by the program alone: it shows the stored code in full, whatever
    // its length.
    JvDotNetDBEdit2 = line(QStringLiteral("JvDotNetDBEdit2"), 0);
    JvDotNetDBEdit2->setReadOnly(true);
    // Only the program writes the code: typing starts in the name box.
    JvDotNetDBEdit2->setFocusPolicy(Qt::ClickFocus);
    JvDotNetDBEdit3 = line(QStringLiteral("JvDotNetDBEdit3"), 30);
    JvDotNetDBEdit5 = line(QStringLiteral("JvDotNetDBEdit5"), 40);
    JvDotNetDBEdit6 = phone(QStringLiteral("JvDotNetDBEdit6"));
    JvDotNetDBEdit4 = phone(QStringLiteral("JvDotNetDBEdit4"));
    JvDotNetDBEdit7 = phone(QStringLiteral("JvDotNetDBEdit7"));
    JvDotNetDBEdit8 = phone(QStringLiteral("JvDotNetDBEdit8"));
    JvDotNetDBEdit9 = phone(QStringLiteral("JvDotNetDBEdit9"));
    JvDotNetDBEdit10 = line(QStringLiteral("JvDotNetDBEdit10"), 50);
    JvDotNetDBMemo4 = new QPlainTextEdit(group);
    JvDotNetDBMemo4->setObjectName(QStringLiteral("JvDotNetDBMemo4"));
    JvDotNetDBMemo4->setTabChangesFocus(true);
    JvDotNetDBMemo4->setMinimumHeight(70);

    place(JvDotNetDBEdit1, QStringLiteral("Kayıt No"), 0);
    place(JvDotNetDBEdit2, QStringLiteral("Kodu"), 1);
    ++row;
    place(JvDotNetDBEdit3, QStringLiteral("Adı"), 0);
    place(JvDotNetDBEdit5, QStringLiteral("Soyadı"), 1);
    ++row;
    place(JvDotNetDBEdit6, QStringLiteral("Telefonu 1"), 0);
    place(JvDotNetDBEdit4, QStringLiteral("Telefonu 2"), 1);
    ++row;
    place(JvDotNetDBEdit7, QStringLiteral("CepTel. 1"), 0);
    place(JvDotNetDBEdit8, QStringLiteral("CepTel. 2"), 1);
    ++row;
    place(JvDotNetDBEdit9, QStringLiteral("Faks"), 0);
    place(JvDotNetDBEdit10, QStringLiteral("eMail"), 1);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Adresi"), group), row, 0, Qt::AlignTop);
    grid->addWidget(JvDotNetDBMemo4, row, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group, 1);

    CheckBox2 = new QCheckBox(QStringLiteral("İlk Harf Büyük Olsun"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setChecked(true);
    layout->addWidget(CheckBox2);
    layout->addWidget(buildPackagePanel(), 1);

    const QList<QPair<QLineEdit *, QString>> bindings = {
        {JvDotNetDBEdit1, QStringLiteral("hid")},     {JvDotNetDBEdit2, kSicilKodu},
        {JvDotNetDBEdit3, QStringLiteral("adi")},     {JvDotNetDBEdit5, QStringLiteral("soyadi")},
        {JvDotNetDBEdit6, QStringLiteral("tel1")},    {JvDotNetDBEdit4, QStringLiteral("tel2")},
        {JvDotNetDBEdit7, QStringLiteral("ceptel")},  {JvDotNetDBEdit8, QStringLiteral("ceptel2")},
        {JvDotNetDBEdit9, QStringLiteral("fax")},     {JvDotNetDBEdit10, QStringLiteral("email")}};
    for (const auto &[box, field] : bindings) {
        bindLineEdit(box, sicilTable, field);
        attachCapitalisation(box, CheckBox2);
    }
    bindMemo(JvDotNetDBMemo4, sicilTable, QStringLiteral("isadresi"));

    auto button = [this](const QString &name, const QString &caption) {
        return newButton(this, name, caption);
    };
    JvXPButton3 = button(QStringLiteral("JvXPButton3"), QStringLiteral("Yeni Kişi Kaydı Gir"));
    JvXPButton1 = button(QStringLiteral("JvXPButton1"), QStringLiteral("Kaydet"));
    JvXPButton5 = button(QStringLiteral("JvXPButton5"), QStringLiteral("İşlemden Vazgeç"));
    JvXPButton4 = button(QStringLiteral("JvXPButton4"), QStringLiteral("Kayıtlı Kişiyi Sil"));
    JvXPButton2 = button(QStringLiteral("JvXPButton2"), QStringLiteral("Kayıtlı Kişi Listeleri"));
    JvXPButton9 = button(QStringLiteral("JvXPButton9"), QStringLiteral("İlk Kayıt"));
    JvXPButton7 = button(QStringLiteral("JvXPButton7"), QStringLiteral("Önceki"));
    JvXPButton6 = button(QStringLiteral("JvXPButton6"), QStringLiteral("Sonraki"));
    JvXPButton8 = button(QStringLiteral("JvXPButton8"), QStringLiteral("Son Kayıt"));
    Button1 = button(QStringLiteral("Button1"), QStringLiteral("Kapat"));
    tfXPButton1 = new QToolButton(this);
    tfXPButton1->setObjectName(QStringLiteral("tfXPButton1"));
    tfXPButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    tfXPButton1->setAutoRaise(true);

    auto *actions = new QHBoxLayout;
    for (QPushButton *b : {JvXPButton3, JvXPButton1, JvXPButton5, JvXPButton4, JvXPButton2})
        actions->addWidget(b);
    actions->addStretch();
    layout->addLayout(actions);
    auto *moves = new QHBoxLayout;
    for (QPushButton *b : {JvXPButton9, JvXPButton7, JvXPButton6, JvXPButton8})
        moves->addWidget(b);
    moves->addStretch();
    moves->addWidget(tfXPButton1);
    moves->addWidget(Button1);
    layout->addLayout(moves);

    connect(JvXPButton3, &QPushButton::clicked, this, [this] { YeniKisi(); });
    connect(JvXPButton1, &QPushButton::clicked, this, [this] { JvXPButton1Click(); });
    connect(JvXPButton5, &QPushButton::clicked, this, [this] { JvXPButton5Click(); });
    connect(JvXPButton4, &QPushButton::clicked, this, [this] { JvXPButton4Click(); });
    connect(JvXPButton2, &QPushButton::clicked, this, [this] { JvXPButton2Click(); });
    connect(JvXPButton9, &QPushButton::clicked, this, [this] { JvXPButton9Click(); });
    connect(JvXPButton7, &QPushButton::clicked, this, [this] { JvXPButton7Click(); });
    connect(JvXPButton6, &QPushButton::clicked, this, [this] { JvXPButton6Click(); });
    connect(JvXPButton8, &QPushButton::clicked, this, [this] { JvXPButton8Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(tfXPButton1, &QToolButton::clicked, this, [this] { helpClick(); });

    // Enter moves the focus on everywhere but in the address memo.
    m_enterAsTab = new EnterAsTab(this);
    resize(760, 660);
}

void Tozluk::buildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const QString &name, const QString &caption, Qt::Key key,
                       const std::function<void()> &handler) {
        return addWindowKey(this, name, caption, key, PopupMenu1, handler);
    };
    item(QStringLiteral("YeniKayit1"), QStringLiteral("Yeni Kayıt"), Qt::Key_F5,
         [this] { YeniKisi(); });
    item(QStringLiteral("Kaydet1"), QStringLiteral("Kaydet"), Qt::Key_F2,
         [this] { JvXPButton1Click(); });
    item(QStringLiteral("Vazgec1"), QStringLiteral("Vazgeç"), Qt::Key_F3,
         [this] { JvXPButton5Click(); });
    item(QStringLiteral("BuKaydiSil1"), QStringLiteral("Bu Kaydı Sil"), Qt::Key_F7,
         [this] { JvXPButton4Click(); });
    item(QStringLiteral("SicilListeleri1"), QStringLiteral("Sicil Listeleri"), Qt::Key_F6,
         [this] { JvXPButton2Click(); });
    item(QStringLiteral("IlkKayit1"), QStringLiteral("İlk Kayıt"), Qt::Key_F8,
         [this] { JvXPButton9Click(); });
    item(QStringLiteral("SonrakiKayit1"), QStringLiteral("Sonraki Kayıt"), Qt::Key_F9,
         [this] { JvXPButton6Click(); });
    item(QStringLiteral("OncekiKayit1"), QStringLiteral("Önceki Kayıt"), Qt::Key_F11,
         [this] { JvXPButton7Click(); });
    // "Kapat" and "Son Kayıt" do what the like-named buttons do.
    item(QStringLiteral("Kapat1"), QStringLiteral("Kapat"), Qt::Key_F10,
         [this] { Button1Click(); });
    item(QStringLiteral("SonKayit1"), QStringLiteral("Son Kayıt"), Qt::Key_F12,
         [this] { JvXPButton8Click(); });
    QAction *print = item(QStringLiteral("Yazdir1"), QStringLiteral("Yazdır (Önizleme)"),
                          Qt::Key_F4, {});
    print->setVisible(false);
    item(QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1,
         [this] { helpClick(); });

    useAsContextMenu(this, PopupMenu1);
}

bool Tozluk::hasPendingChange() const
{
    return sicilTable->isModified() || sicilTable->isEditing();
}

bool Tozluk::hasUnsavedModification() const
{
    return sicilTable->isModified();
}

bool Tozluk::mayDropModification()
{
    if (!hasUnsavedModification())
        return true;
    if (dialogs().question(programTitle(), dropQuestion(), Buttons::YesNo, Icon::None)
        != Answer::Yes)
        return false;
    sicilTable->cancel();
    return true;
}

bool Tozluk::prepareMove()
{
    if (hasUnsavedModification())
        return mayDropModification();
    return (sicilTable->isOpen() || sicilTable->open()) && sicilTable->readNow();
}

void Tozluk::focusOn()
{
    QWidget *focused = QApplication::focusWidget();
    if (focused && focused->window() == this)
        focusNextControl(focused);
}

bool Tozluk::write()
{
    // A new person's code was given when the form opened, and another desk may have given the
    // same one since: under one write lock the code is looked at and the person written, and a
    // code taken meanwhile gives way to the next free one.
    const bool adding = sicilTable->state() == DataSet::State::Insert;
    std::optional<Transaction> transaction;
    QString takenCode;
    if (adding) {
        transaction.emplace(session().db());
        // Without its transaction the code could not be looked at under the lock: nothing is
        // written, the typing stays.
        if (!transaction->isActive()) {
            dialogs().error(programTitle(), transaction->errorText());
            return false;
        }
        const QString code = sicilTable->text(kSicilKodu).trimmed();
        if (code == m_givenCode) {
            bool taken = false;
            QString error;
            const QString stored = codeForNewPerson(session().db(), code, taken, &error);
            if (stored.isEmpty()) {
                dialogs().error(programTitle(), error);
                return false;
            }
            if (taken) {
                sicilTable->setValue(kSicilKodu, stored);
                takenCode = code;
            }
        }
    }
    if (!sicilTable->post()) {
        dialogs().error(programTitle(), QStringLiteral("Kişi kaydı yazılamadı: ")
                                            + sicilTable->lastError().text());
        return false;
    }
    if (transaction && transaction->isActive() && !transaction->commit()) {
        dialogs().error(programTitle(), transaction->errorText());
        (void)sicilTable->reopen();
        return false;
    }
    m_givenCode.clear();
    if (!takenCode.isEmpty())
        dialogs().information(programTitle(),
            QStringLiteral("%1 kodu bu arada başka bir masada kaydedilen bir kişiye verildi; bu "
                           "kişi %2 koduyla kaydedildi.")
                .arg(takenCode, sicilTable->text(kSicilKodu)));
    return true;
}

bool Tozluk::codeNameSurnameFilled() const
{
    return filled(JvDotNetDBEdit2) && filled(JvDotNetDBEdit3) && filled(JvDotNetDBEdit5);
}

bool Tozluk::YeniKisi()
{
    if (!mayDropModification())
        return false;
    // A register that cannot be read gets no new person: its next code would be a guess.
    if ((!sicilTable->isOpen() && !sicilTable->open()) || !sicilTable->readNow())
        return false;
    sicilTable->last();
    QString error;
    const QString code = nextPersonCode(session().db(), &error);
    if (code.isEmpty()) {
        dialogs().error(programTitle(), error);
        return false;
    }
    sicilTable->append();
    sicilTable->setValue(kSicilKodu, code);
    m_givenCode = code;
    if (isVisible())
        JvDotNetDBEdit3->setFocus();
    return true;
}

void Tozluk::JvXPButton1Click()
{
    Tsicrapor *list = forms().sicrapor;
    if (!list->openPersons())
        return;
    if (!hasPendingChange())
        return;
    if (!filled(JvDotNetDBEdit2) || !filled(JvDotNetDBEdit3)) {
        dialogs().information(programTitle(), saveRefusal());
        return;
    }
    focusOn();
    if (!write())
        return;
    emit personSaved(sicilTable->text(kSicilKodu));
    // The person is saved; a list that cannot be read again now says so and keeps its rows.
    (void)list->readAgain();
    focusOn();
}

void Tozluk::JvXPButton5Click()
{
    if (dialogs().question(programTitle(), dropQuestion(), Buttons::YesNo, Icon::None)
        == Answer::Yes)
        sicilTable->cancel();
}

void Tozluk::JvXPButton4Click()
{
    if ((!sicilTable->isOpen() && !sicilTable->open()) || !sicilTable->readNow())
        return;
    if (sicilTable->recordCount() == 0 && !sicilTable->isEditing())
        return; // nobody to delete
    if (dialogs().question(programTitle(), QStringLiteral("Kayıt silinsin mi?"), Buttons::YesNo,
                           Icon::None)
        != Answer::Yes)
        return;
    // Here Yes calls the deletion off.
    if (dialogs().question(programTitle(),
                           QStringLiteral("Kayıt silinirse bir daha bu kayda ulaşamayacaksınız?"
                                          "Silme işlemini kesmek istermisiniz?"),
                           Buttons::YesNo, Icon::None)
        != Answer::No)
        return;
    if (!sicilTable->remove()) {
        dialogs().error(programTitle(), QStringLiteral("Kişi kaydı silinemedi: ")
                                            + sicilTable->lastError().text());
        return;
    }
    (void)forms().sicrapor->readAgain(); // the deletion is done; a failed read was told
}

void Tozluk::JvXPButton2Click()
{
    Tsicrapor *list = forms().sicrapor;
    if (!list->readPersons())
        return;
    if (list->personCount() == 0) {
        dialogs().information(programTitle(),
                              QStringLiteral("Firma kaydı mevcut değil! İsteğiniz iptal edildi!"));
        return;
    }
    if (!mayDropModification())
        return;
    // The record follows the list: the person chosen, or the one the list stands on when it
    // is closed.
    list->choosePerson([this](const ChosenPerson &person) { positionOn(person.sicilKodu); },
                       true);
}

void Tozluk::openOn(const QString &code)
{
    show();
    raise();
    activateWindow();
    if (sicilTable->isOpen())
        sicilTable->cancel();
    else if (!sicilTable->open())
        return;
    if (!sicilTable->readNow())
        return;
    if (sicilTable->recordCount() > 0)
        positionOn(code);
    else
        YeniKisi(); // the first person gets the next free code: other tables may carry "1"
}

Tozluk::NameSearch Tozluk::findByName(const QString &adi, const QString &soyadi,
                                      ChosenPerson &first)
{
    ffQuery4->close();
    aramaAdi = adi;
    aramaSoyadi = soyadi;
    // Only the persons whose names can match are read.
    const NamePrefixSearch rule(adi, soyadi);
    ffQuery4->setPrefilter(rule.sqlCondition(), rule.sqlValues());
    if (!ffQuery4->open())
        return NameSearch::Unreadable;
    NameSearch found = NameSearch::None;
    if (ffQuery4->recordCount() > 0) {
        ffQuery4->first();
        first = {ffQuery4->text(kSicilKodu), ffQuery4->text(QStringLiteral("adi")),
                 ffQuery4->text(QStringLiteral("soyadi")), {}, {}, {}, {}};
        found = NameSearch::Found;
    }
    ffQuery4->close();
    return found;
}

bool Tozluk::startPersonFrom(const ChosenPerson &typed)
{
    if (!YeniKisi())
        return false;
    sicilTable->setValue(QStringLiteral("adi"), typed.adi);
    sicilTable->setValue(QStringLiteral("soyadi"), typed.soyadi);
    sicilTable->setValue(QStringLiteral("tel1"), typed.tel1);
    sicilTable->setValue(QStringLiteral("tel2"), typed.tel2);
    sicilTable->setValue(QStringLiteral("ceptel"), typed.ceptel);
    sicilTable->setValue(QStringLiteral("isadresi"), typed.adres);
    show();
    raise();
    activateWindow();
    return true;
}

bool Tozluk::openRegister()
{
    return sicilTable->isOpen() || sicilTable->open();
}

bool Tozluk::refreshRegister()
{
    if (sicilTable->isEditing() && sicilTable->isModified())
        return true;
    return sicilTable->reopen();
}

void Tozluk::JvXPButton9Click()
{
    if (prepareMove())
        sicilTable->first();
}

void Tozluk::JvXPButton7Click()
{
    if (prepareMove())
        sicilTable->prior();
}

void Tozluk::JvXPButton6Click()
{
    if (prepareMove())
        sicilTable->next();
}

void Tozluk::JvXPButton8Click()
{
    if (prepareMove())
        sicilTable->last();
}

void Tozluk::Button1Click()
{
    if (hasPendingChange()) {
        if (dialogs().question(programTitle(), saveQuestion(), Buttons::YesNo, Icon::None)
            != Answer::Yes) {
            sicilTable->cancel();
        } else if (!codeNameSurnameFilled()) {
            dialogs().information(programTitle(), closeRefusal());
            return;
        } else if (!write()) {
            return;
        }
    }
    hide();
}

void Tozluk::settleBeforeHiding()
{
    if (!hasPendingChange())
        return;
    if (dialogs().question(programTitle(), saveQuestion(), Buttons::YesNo, Icon::None)
        == Answer::Yes) {
        if (codeNameSurnameFilled()) {
            if (write())
                return;
        } else {
            dialogs().information(programTitle(), closeRefusal());
        }
    }
    sicilTable->cancel();
}

void Tozluk::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    JvDotNetDBEdit3->setFocus();
    showPackageStatus();
}

void Tozluk::closeEvent(QCloseEvent *event)
{
    settleBeforeHiding();
    QWidget::closeEvent(event);
}

void Tozluk::hideEvent(QHideEvent *event)
{
    // Minimising is not hiding the window.
    if (!event->spontaneous())
        settleBeforeHiding();
    // Visits and appointments may be saved meanwhile: read again when shown.
    m_statusRead = false;
    QWidget::hideEvent(event);
}

bool Tozluk::positionOn(const QString &code)
{
    if (!sicilTable->isOpen() && !sicilTable->open())
        return false;
    return sicilTable->locate(kSicilKodu, code, {true, true});
}

void Tozluk::helpClick()
{
    forms().help->openTopic(QStringLiteral("yozluk"));
}

} // namespace lumkar
