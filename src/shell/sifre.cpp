#include "shell/sifre.h"

#include "accounts/ledger.h"
#include "app/userrights.h"
#include "appointments/aylik.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/iptal.h"
#include "appointments/randevu.h"
#include "accounts/cari.h"
#include "backup/girisR.h"
#include "notes/genelnot.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "data/inifile.h"
#include "shell/anamenu.h"
#include "shell/sifreler.h"
#include "shell/yardim.h"
#include "visits/gorusme.h"
#include "visits/paketler.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace lumkar {

namespace {

const QString kSection = QStringLiteral("basla");

void setPickerItems(QComboBox *picker, const QStringList &items)
{
    const QSignalBlocker block(picker);
    picker->clear();
    picker->addItems(items);
}

// A check box as the settings file keeps it.
QString flag(const QCheckBox *box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

TPasswordDlg::TPasswordDlg(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Lumkar Şifre Girişi"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);

    auto *grid = new QGridLayout(this);
    JvXPBar1 = new TaskBar(QStringLiteral("Şifreyi Gir"), this);
    JvXPBar1->setObjectName(QStringLiteral("JvXPBar1"));
    for (const auto &item : {std::pair{QStringLiteral("Yeni Kullanıcı"), QStringLiteral("yeniKullanici")},
                             std::pair{QStringLiteral("Şifre Değiştir"), QStringLiteral("sifreDegistir")},
                             std::pair{QStringLiteral("Listeden Seç"), QStringLiteral("listedenSec")}}) {
        QPushButton *b = JvXPBar1->addItem(item.first, item.second);
        connect(b, &QPushButton::clicked, this, &TPasswordDlg::masterGate);
    }
    grid->addWidget(JvXPBar1, 0, 0, 6, 1);

    grid->addWidget(new QLabel(QStringLiteral("Kullanıcı Adı"), this), 0, 1);
    kullan = new QLineEdit(this);
    kullan->setObjectName(QStringLiteral("kullan"));
    kullan->setMaxLength(16);
    grid->addWidget(kullan, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Şifre"), this), 1, 1);
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setMaxLength(16);
    Password->setEchoMode(QLineEdit::Password);
    grid->addWidget(Password, 1, 2);
    CheckBox1 = new QCheckBox(QStringLiteral("Şifre Gizlenmesin"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(CheckBox1, 2, 2);
    CheckBox2 = new QCheckBox(QStringLiteral("Şifre Hafızaya Alınsın"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    grid->addWidget(CheckBox2, 3, 2);

    auto *buttons = new QHBoxLayout;
    tfXPButton1 = new QToolButton(this);
    tfXPButton1->setObjectName(QStringLiteral("tfXPButton1"));
    tfXPButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    tfXPButton1->setToolTip(QStringLiteral("Yardım"));
    JvXPButton1 = new QPushButton(QStringLiteral("Yedek"), this);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    OKBtn = new QPushButton(QStringLiteral("Tamam"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    buttons->addWidget(tfXPButton1);
    buttons->addWidget(JvXPButton1);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    grid->addLayout(buttons, 4, 1, 1, 2);
    grid->setColumnMinimumWidth(2, 180);

    // The typing starts in the code box (the task bar's items are reached by mouse).
    const QList<QWidget *> order{kullan,      Password,    CheckBox1, CheckBox2,
                                 tfXPButton1, JvXPButton1, OKBtn};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    addWindowKey(this, QStringLiteral("yardimF1"), QStringLiteral("Yardım"), Qt::Key_F1, nullptr,
                 [this] { this->forms().yardimF->openTopic(QStringLiteral("ygiris")); });
    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool clear) {
        Password->setEchoMode(clear ? QLineEdit::Normal : QLineEdit::Password);
    });
    connect(tfXPButton1, &QToolButton::clicked, this,
            [this] { this->forms().yardimF->openTopic(QStringLiteral("ygiris")); });
    connect(JvXPButton1, &QPushButton::clicked, this, [this] {
        this->forms().girisRF->show();
        this->forms().girisRF->raise();
    });
    kullan->installEventFilter(this);
    Password->installEventFilter(this);

    QDir::setCurrent(session.GetPathPath());
    hafiza();
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TPasswordDlg::ayarPath() const
{
    return session().GetPathPath() + QStringLiteral("Ayar.ini");
}

void TPasswordDlg::showIniError(const QString &text)
{
    if (!text.isEmpty())
        dialogs().warning(programTitle(), text);
}

void TPasswordDlg::hafiza()
{
    IniFile ini(ayarPath());
    const QString kul = ini.read(kSection, QStringLiteral("kul"));
    if (!ini.errorText().isEmpty()) {
        showIniError(ini.errorText());
        return;
    }
    kullan->setText(kul);
    Password->setText(ini.read(kSection, QStringLiteral("sif")));
    CheckBox1->setChecked(ini.read(kSection, QStringLiteral("check1")) == QLatin1String("1"));
    CheckBox2->setChecked(ini.read(kSection, QStringLiteral("check2")) == QLatin1String("1"));
    Password->setEchoMode(CheckBox1->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

void TPasswordDlg::hafiza2()
{
    IniFile ini(ayarPath());
    // The password is kept only while "Şifre Hafızaya Alınsın" is ticked.
    if (!ini.write(kSection,
                   {{QStringLiteral("kul"), kullan->text()},
                    {QStringLiteral("sif"), CheckBox2->isChecked() ? Password->text() : QString()},
                    {QStringLiteral("check1"), flag(CheckBox1)},
                    {QStringLiteral("check2"), flag(CheckBox2)}}))
        showIniError(ini.errorText());
}

void TPasswordDlg::hafiza3()
{
    IniFile ini(ayarPath());
    const QString yenile = ini.read(kSection, QStringLiteral("yenile"));
    if (!ini.errorText().isEmpty())
        return; // already reported by hafiza2
    Tanamenuf *main = forms().anamenuf;
    main->JvDotNetEdit1->setText(yenile);
    main->CheckBox1->setChecked(ini.read(kSection, QStringLiteral("ycheck"))
                                == QLatin1String("1"));
}

void TPasswordDlg::hafiza4()
{
    Tanamenuf *main = forms().anamenuf;
    IniFile ini(ayarPath());
    if (!ini.write(kSection, {{QStringLiteral("yenile"), main->JvDotNetEdit1->text()},
                              {QStringLiteral("ycheck"), flag(main->CheckBox1)}}))
        showIniError(ini.errorText());
}

bool TPasswordDlg::openConnection(bool report)
{
    Database &database = session().database();
    if (database.isOpen())
        return true;
    QDir::setCurrent(session().GetPathPath());
    // The database is made without a word only on the very first start. A data folder that
    // was moved or is not mounted must not start a second, empty set of data unasked.
    const bool firstStart = !QFileInfo::exists(ayarPath())
        && !QFileInfo::exists(database.dataFolder());
    if (!database.fileExists() && !firstStart) {
        if (!report)
            return false;
        if (dialogs().question(programTitle(), missingDatabaseQuestion(database.filePath()),
                               Buttons::YesNo, Icon::Warning)
            != Answer::Yes)
            return false;
    }
    if (database.open())
        return true;
    if (report)
        dialogs().error(programTitle(), database.errorText());
    return false;
}

QString TPasswordDlg::missingDatabaseQuestion(const QString &path)
{
    return QStringLiteral("Veritabanı dosyası \"%1\" bulunamadı. Veri klasörü taşınmış, "
                          "silinmiş ya da bağlı olduğu disk takılı değil olabilir.\n\n"
                          "Yeni ve boş bir veritabanı oluşturulsun mu?")
        .arg(QDir::toNativeSeparators(path));
}

bool TPasswordDlg::openUserTables()
{
    TsifrelerF *users = forms().sifrelerF;
    return (users->sifreTable->isOpen() || users->sifreTable->open())
        && (users->masterTable->isOpen() || users->masterTable->open());
}

bool TPasswordDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == kullan || watched == Password) {
        if (event->type() == QEvent::FocusIn && !m_closing) {
            // Entering a field opens the users table; a failure is told by the attempt.
            if (openConnection(false)) {
                const Database::Silence silence(session().database(), true);
                openUserTables();
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (watched == kullan)
                    Password->setFocus(Qt::TabFocusReason);
                else
                    OKBtnClick();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPasswordDlg::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!focusWidget())
        kullan->setFocus(Qt::OtherFocusReason);
}

void TPasswordDlg::fillUserPickers()
{
    m_userCodes.clear();
    m_userNames.clear();
    DataSet *users = forms().sifrelerF->sifreTable;
    users->disableControls();
    const int keep = users->currentRow();
    for (users->first(); !users->eof(); users->next()) {
        m_userCodes << users->text(QStringLiteral("kullanici"));
        m_userNames << users->text(QStringLiteral("adi")) + QLatin1Char(' ')
                + users->text(QStringLiteral("soyadi"));
    }
    users->moveTo(keep);
    users->enableControls();

    EntryForm *entry = forms().entryForm;
    const QList<QPair<QComboBox *, QComboBox *>> pickers
        = { { entry->RKimeBox, entry->RKiminAdSoyadBox },
              { forms().randevuF->RKimeBox, forms().randevuF->RKiminAdSoyadBox },
              { forms().kasaF->RKimeBox, forms().kasaF->RKiminAdSoyadBox },
              { forms().kkartF->RKimeBox, forms().kkartF->RKiminAdSoyadBox },
              { forms().aylikF->RKimeBox, forms().aylikF->RKiminAdSoyadBox },
              { forms().gorusmeF->RKimeBox, forms().gorusmeF->RKiminAdSoyadBox },
              { forms().gorusmeF->gorusenBox2, forms().gorusmeF->gorusenBox } };
    for (const auto &pair : pickers) {
        setPickerItems(pair.first, m_userCodes);
        setPickerItems(pair.second, m_userNames);
    }
}

void TPasswordDlg::OKBtnClick()
{
    if (!openConnection(true))
        return;

    // Read the users afresh, so that a user added from another desk can log in. A database
    // that cannot be read is its own failure, told as such: it is not a wrong password and
    // does not count as one.
    if (!forms().sifrelerF->sifreTable->isEditing())
        forms().sifrelerF->sifreTable->close();
    if (!openUserTables())
        return;

    ++m_failures;
    if (m_failures > 3) {
        dialogs().information(programTitle(), QStringLiteral(
            "Şifreyi üç kez üst üste yalnış girdiniz! Program kapatılacaktır!"));
        close();
        return;
    }

    if (kullan->text().isEmpty()) {
        dialogs().information(programTitle(),
                              QStringLiteral("Kullanıcı adını boş geçemezsiniz!\n\r"
                                             "Başlangıçta kullanıcı adı \"")
                                  + schema::defaultUser()
                                  + QStringLiteral("\",\n\rşifre ise yoktur!"));
    }

    fillUserPickers();

    // The user row whose code is exactly the typed one.
    DataSet *users = forms().sifrelerF->sifreTable;
    bool found = false;
    const QString typed = kullan->text();
    if (!typed.isEmpty()) {
        users->disableControls();
        for (users->first(); !users->eof(); users->next()) {
            if (users->text(QStringLiteral("kullanici")) == typed) {
                found = true;
                break;
            }
        }
        users->enableControls();
    }

    if (!found || users->text(QStringLiteral("sifre")) != Password->text()) {
        dialogs().information(programTitle(),
                              QStringLiteral("Kullanıcı adınız yada şifre yalnış! Tekrar deneyin!"));
        Password->clear();
    } else {
        m_failures = 0;
        CurrentUser &user = session().currentUser;
        user.kullanici = users->text(QStringLiteral("kullanici"));
        user.adSoyad = users->text(QStringLiteral("adi")) + QLatin1Char(' ')
            + users->text(QStringLiteral("soyadi"));
        user.ekle = users->text(QStringLiteral("ekle"));
        user.degistir = users->text(QStringLiteral("degistir"));
        user.herksesigor = users->text(QStringLiteral("herksesigor"));
        user.herkesidegistir = users->text(QStringLiteral("herkesidegistir"));
        user.baskasirandevuver = users->text(QStringLiteral("baskasirandevuver"));
        fitWindowsToUser();
        m_loggedIn = true;
    }

    hafiza2();
    hafiza3();
}

void TPasswordDlg::fitWindowsToUser()
{
    const CurrentUser &user = currentUser();
    Tanamenuf *main = forms().anamenuf;
    EntryForm *entry = forms().entryForm;
    DayLists *days = forms().dayLists;
    TrandevuF *list = forms().randevuF;
    TaylikF *planner = forms().aylikF;
    TgorusmeF *visits = forms().gorusmeF;
    LedgerWindow *cash = forms().kasaF;
    LedgerWindow *card = forms().kkartF;
    const QStringList onlyCode{user.kullanici};
    const QStringList onlyName{user.adSoyad};

    if (user.herkesidegistir == QLatin1String("E"))
        main->JvNavPanelButton11->setVisible(true);

    if (user.baskasirandevuver == QLatin1String("H")) {
        setPickerItems(entry->RKimeBox, onlyCode);
        setPickerItems(entry->RKiminAdSoyadBox, onlyName);
        entry->RKimeBox->setEnabled(false);
        entry->RKiminAdSoyadBox->setEnabled(false);
    } else if (user.baskasirandevuver == QLatin1String("E")) {
        entry->RKimeBox->setEnabled(true);
        entry->RKiminAdSoyadBox->setEnabled(true);
    }

    if (user.herksesigor == QLatin1String("H")) {
        for (UserFilterBar *bar : {list->userBar, planner->userBar, visits->userBar}) {
            setPickerItems(bar->RKimeBox, onlyCode);
            setPickerItems(bar->RKiminAdSoyadBox, onlyName);
            bar->RKimeBox->setEnabled(false);
            bar->RKiminAdSoyadBox->setEnabled(false);
        }
        for (LedgerWindow *ledger : {cash, card}) {
            setPickerItems(ledger->RKiminAdSoyadBox, onlyName);
            ledger->RKiminAdSoyadBox->setEnabled(false);
        }
    } else if (user.herksesigor == QLatin1String("E")) {
        for (UserFilterBar *bar : {list->userBar, cash->userBar, card->userBar,
                                   planner->userBar, visits->userBar}) {
            bar->RKimeBox->setEnabled(true);
            bar->RKiminAdSoyadBox->setEnabled(true);
        }
    }

    list->JvDBUltimGrid1->setColumnHidden(0, true);
    days->showOwnerColumns(false);

    const QList<QCheckBox *> allUsersBoxes = { days->CheckBox2, list->CheckBox2, cash->CheckBox2,
        card->CheckBox2, planner->CheckBox2, visits->CheckBox2 };
    if (user.herksesigor != QLatin1String("E")) {
        for (QCheckBox *box : allUsersBoxes) {
            box->setChecked(false);
            box->setVisible(false);
        }
    } else {
        for (QCheckBox *box : allUsersBoxes)
            box->setVisible(true);
        if (days->CheckBox2->isChecked())
            days->showOwnerColumns(true);
    }

    if (list->CheckBox2->isChecked())
        list->JvDBUltimGrid1->setColumnHidden(0, false);
    else
        setPickerText(entry->RKimeBox, user.kullanici);

    for (QComboBox *codes : {list->RKimeBox, cash->RKimeBox, card->RKimeBox, planner->RKimeBox,
                             visits->RKimeBox})
        setPickerText(codes, user.kullanici);
    for (QComboBox *names :
        { entry->RKiminAdSoyadBox, list->RKiminAdSoyadBox, cash->RKiminAdSoyadBox,
            card->RKiminAdSoyadBox, planner->RKiminAdSoyadBox, visits->RKiminAdSoyadBox })
        setPickerText(names, user.adSoyad);

    main->kullaniciKoduLabel->setText(QStringLiteral("Kullanıcı Kodu: ") + user.kullanici);
    main->adSoyadLabel->setText(QStringLiteral("Adı/Soyadı: ") + user.adSoyad);

    const bool mayAdd = UserRights::of(user).mayAdd;
    entry->setEntryAllowed(mayAdd);
    main->setMenusAllowed(mayAdd);

    main->showMaximized();
    hide();
    main->activateWindow();
    main->setWorkingDate(QDate::currentDate());
    days->JvDateTimePicker1->setFocus(Qt::OtherFocusReason);
    days->openDayLists();
    main->gunYenile();
}

void TPasswordDlg::masterGate()
{
    if (!openConnection(true) || !openUserTables())
        return;
    DataSet *master = forms().sifrelerF->masterTable;
    master->first();
    if (Password->text() != master->text(QStringLiteral("mids"))) {
        dialogs().information(programTitle(), QStringLiteral(
            "Master Şifreyi yalnış girdiniz! Şifre alanına master şifreyi girerek tekrar "
            "deneyin!"));
        Password->clear();
        return;
    }
    setEnabled(false);
    forms().sifrelerF->showUsers();
}

void TPasswordDlg::closeEvent(QCloseEvent *event)
{
    event->accept();
    programEnd();
}

void TPasswordDlg::programEnd()
{
    if (m_ended)
        return;
    m_ended = true;
    Tanamenuf *main = forms().anamenuf;
    main->Timer1->stop();
    if (m_loggedIn) {
        main->postDailyNote();
        forms().genelnotF->postPending();
        for (QObject *form : {static_cast<QObject *>(main),
                              static_cast<QObject *>(forms().sicrapor),
                              static_cast<QObject *>(forms().ozluk),
                              static_cast<QObject *>(forms().randevuF),
                              static_cast<QObject *>(forms().sifrelerF),
                              static_cast<QObject *>(forms().gorusmeF),
                              static_cast<QObject *>(forms().cariF),
                              static_cast<QObject *>(forms().kasaF),
                              static_cast<QObject *>(forms().kkartF)})
            for (DataSet *ds : form->findChildren<DataSet *>())
                ds->close();
    } else {
        forms().sifrelerF->sifreTable->close();
        forms().sifrelerF->masterTable->close();
    }

    TgirisRF *backup = forms().girisRF;
    if (backup->automaticBackupDue(QDateTime::currentDateTime())) {
        session().database().close();
        backup->TumunuYedekleOto();
    }
    emit programEnded();
}

QList<QWidget *> TPasswordDlg::windows() const
{
    const Forms &f = forms();
    return {f.PasswordDlg, f.anamenuf,  f.sicrapor,  f.ozluk,     f.randevuF, f.sifrelerF,
            f.iptalF,      f.gorusmeF,  f.aylikF,    f.cariF,     f.genelnotF, f.yardimF,
            f.paketlerF,   f.kasaF,     f.kkartF,    f.girisRF};
}

void TPasswordDlg::reopenOpenDataSets()
{
    for (QWidget *window : windows()) {
        if (!window)
            continue;
        for (DataSet *dataSet : window->findChildren<DataSet *>()) {
            if (dataSet->isOpen() && !dataSet->reopen())
                return;
        }
    }
}

} // namespace lumkar
