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
#include "shell/baglanti.h"
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
    connect(JvXPBar1->addItem(QStringLiteral("Veritabanı Bağlantısı"),
                              QStringLiteral("veritabaniBaglantisi")),
            &QPushButton::clicked, this, &TPasswordDlg::connectionGate);
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
    readLastLogin();
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

void TPasswordDlg::readLastLogin()
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

void TPasswordDlg::writeLastLogin()
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

void TPasswordDlg::readRefreshSettings()
{
    IniFile ini(ayarPath());
    const QString yenile = ini.read(kSection, QStringLiteral("yenile"));
    if (!ini.errorText().isEmpty())
        return; // already reported by writeLastLogin
    forms().anamenuf->setRefreshSettings(
        {yenile, ini.read(kSection, QStringLiteral("ycheck")) == QLatin1String("1")});
}

void TPasswordDlg::writeRefreshSettings()
{
    const RefreshSettings refresh = forms().anamenuf->refreshSettings();
    IniFile ini(ayarPath());
    if (!ini.write(kSection, {{QStringLiteral("yenile"), refresh.interval},
                              {QStringLiteral("ycheck"), refresh.automatic ? QStringLiteral("1")
                                                                           : QStringLiteral("0")}}))
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
    return forms().sifrelerF->openUserTables();
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

void TPasswordDlg::OKBtnClick()
{
    if (!openConnection(true))
        return;

    // Read the users afresh, so that a user added from another desk can log in. A database
    // that cannot be read is its own failure, told as such: it is not a wrong password and
    // does not count as one.
    forms().sifrelerF->forgetUsers();
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

    QStringList codes;
    QStringList names;
    forms().sifrelerF->userList(codes, names);

    // The user whose code is exactly the typed one.
    CurrentUser user;
    QString password;
    const bool found = forms().sifrelerF->findUser(kullan->text(), user, password);
    if (!found || password != Password->text()) {
        dialogs().information(programTitle(),
                              QStringLiteral("Kullanıcı adınız yada şifre yalnış! Tekrar deneyin!"));
        Password->clear();
    } else {
        m_failures = 0;
        session().currentUser = user;
        // Every window fits itself to the user; then the working day begins.
        emit userLoggedIn(LoggedInUser{user, UserRights::of(user),
                                       PickerUsers{codes, names, user.kullanici, user.adSoyad}});
        Tanamenuf *main = forms().anamenuf;
        main->showMaximized();
        hide();
        main->startWorkingDay();
        m_loggedIn = true;
    }

    writeLastLogin();
    readRefreshSettings();
}

void TPasswordDlg::offerLogin(const QString &code, const QString &password)
{
    Password->setText(password);
    kullan->setText(code);
}

bool TPasswordDlg::masterPasswordGiven()
{
    if (Password->text() == forms().sifrelerF->masterPassword())
        return true;
    dialogs().information(programTitle(), QStringLiteral(
        "Master Şifreyi yalnış girdiniz! Şifre alanına master şifreyi girerek tekrar "
        "deneyin!"));
    Password->clear();
    return false;
}

void TPasswordDlg::masterGate()
{
    if (!openConnection(true) || !openUserTables() || !masterPasswordGiven())
        return;
    setEnabled(false);
    forms().sifrelerF->showUsers();
}

void TPasswordDlg::connectionGate()
{
    // A database that cannot be opened or read holds no master password and nothing to guard;
    // the window is then how the user mends the settings, opened without it.
    bool gated = false;
    {
        const Database::Silence silence(session().database(), true);
        gated = openConnection(false) && openUserTables();
    }
    if (gated && !masterPasswordGiven())
        return;
    setEnabled(false);
    forms().baglantiF->showSettings(gated);
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
    main->stopAutomaticRefresh();
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
        forms().sifrelerF->closeUserTables();
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
            f.paketlerF,   f.kasaF,     f.kkartF,    f.girisRF,   f.baglantiF};
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
