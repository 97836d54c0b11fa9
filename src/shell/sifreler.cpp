#include "shell/sifreler.h"

#include "kit/bound.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "shell/sifre.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace lumkar {

TsifrelerF::TsifrelerF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("sifrelerF"));
    setWindowTitle(QStringLiteral("Lumkar Şifreler"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);

    sifreTable = new DataSet(session.db(), this);
    sifreTable->setObjectName(QStringLiteral("sifreTable"));
    sifreTable->setTable(QStringLiteral("sifre"));
    // A users row without a user code is never stored.
    sifreTable->setBeforePost([](DataSet &ds) {
        return ds.text(QStringLiteral("kullanici")).isEmpty() ? DataSet::BeforePost::Discard
                                                              : DataSet::BeforePost::Proceed;
    });
    masterTable = new DataSet(session.db(), this);
    masterTable->setObjectName(QStringLiteral("masterTable"));
    masterTable->setTable(QStringLiteral("master"));

    auto *layout = new QVBoxLayout(this);
    JvDBUltimGrid1 = new GridView(this);
    JvDBUltimGrid1->setObjectName(QStringLiteral("JvDBUltimGrid1"));
    JvDBUltimGrid1->setEnterRule(GridView::EnterRule::NextColumnRow);
    const Qt::Alignment centre = Qt::AlignCenter;
    JvDBUltimGrid1->setColumns(sifreTable,
                               {{QStringLiteral("kullanici"), QStringLiteral("Kullanıcı Kodu")},
                                {QStringLiteral("adi"), QStringLiteral("Adı")},
                                {QStringLiteral("soyadi"), QStringLiteral("Soyadı")},
                                {QStringLiteral("sifre"), QStringLiteral("Şifresi")},
                                {QStringLiteral("ekle"), QStringLiteral("EK"), {}, centre, 34},
                                {QStringLiteral("degistir"), QStringLiteral("DE"), {}, centre, 34},
                                {QStringLiteral("herksesigor"), QStringLiteral("HG"), {}, centre, 34},
                                {QStringLiteral("herkesidegistir"), QStringLiteral("HD"), {}, centre,
                                 34},
                                {QStringLiteral("baskasirandevuver"), QStringLiteral("BR"), {},
                                 centre, 34}});
    layout->addWidget(JvDBUltimGrid1, 1);

    auto *fields = new QHBoxLayout;
    auto *form = new QFormLayout;
    auto makeEdit = [this, form](const QString &name, const QString &label,
                                 const QString &field) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(16);
        bindLineEdit(edit, sifreTable, field);
        form->addRow(label, edit);
        return edit;
    };
    KKoduDBEdit = makeEdit(QStringLiteral("KKoduDBEdit"), QStringLiteral("Kullanıcı Kodu"),
                           QStringLiteral("kullanici"));
    KAdiDBEdit = makeEdit(QStringLiteral("KAdiDBEdit"), QStringLiteral("Kullanıcı Adı"),
                          QStringLiteral("adi"));
    KSoyadiDBEdit = makeEdit(QStringLiteral("KSoyadiDBEdit"),
                             QStringLiteral("Kullanıcı Soyadı"), QStringLiteral("soyadi"));
    KSifresiDBEdit = makeEdit(QStringLiteral("KSifresiDBEdit"), QStringLiteral("Şifresi"),
                              QStringLiteral("sifre"));
    fields->addLayout(form);

    auto *rights = new QGroupBox(QStringLiteral("Yetkiler"), this);
    auto *rightsLayout = new QVBoxLayout(rights);
    auto makeBox = [this, rights, rightsLayout](const QString &name, const QString &caption,
                                                const QString &field) {
        auto *box = new QCheckBox(caption, rights);
        box->setObjectName(name);
        bindCheckBox(box, sifreTable, field);
        rightsLayout->addWidget(box);
        return box;
    };
    ekleDBCheckBox = makeBox(QStringLiteral("ekleDBCheckBox"),
                             QStringLiteral("İşlem Ekleyebilsin"), QStringLiteral("ekle"));
    degistirDBCheckBox = makeBox(QStringLiteral("degistirDBCheckBox"),
                                 QStringLiteral("İşlem Değiştirebilsin"),
                                 QStringLiteral("degistir"));
    herkesgorDBCheckBox = makeBox(QStringLiteral("herkesgorDBCheckBox"),
                                  QStringLiteral("Herkesi Görebilsin"),
                                  QStringLiteral("herksesigor"));
    herkesidegistirDBCheckBox = makeBox(QStringLiteral("herkesidegistirDBCheckBox"),
                                        QStringLiteral("Herkesi Değiştirebilsin"),
                                        QStringLiteral("herkesidegistir"));
    baskasirandevuDBCheckBox = makeBox(QStringLiteral("baskasirandevuDBCheckBox"),
                                       QStringLiteral("Başkasına Randevu"),
                                       QStringLiteral("baskasirandevuver"));
    fields->addWidget(rights);
    layout->addLayout(fields);

    auto *masterRow = new QFormLayout;
    JvDotNetDBEdit1 = new QLineEdit(this);
    JvDotNetDBEdit1->setObjectName(QStringLiteral("JvDotNetDBEdit1"));
    JvDotNetDBEdit1->setMaxLength(16);
    bindLineEdit(JvDotNetDBEdit1, masterTable, QStringLiteral("mids"));
    masterRow->addRow(QStringLiteral("Master Şifre"), JvDotNetDBEdit1);
    layout->addLayout(masterRow);

    auto *buttons = new QHBoxLayout;
    auto makeButton = [this, buttons](const QString &name, const QString &caption) {
        QPushButton *b = newButton(this, name, caption);
        buttons->addWidget(b);
        return b;
    };
    JvXPButton4 = makeButton(QStringLiteral("JvXPButton4"), QStringLiteral("Ekle"));
    JvXPButton2 = makeButton(QStringLiteral("JvXPButton2"), QStringLiteral("Kaydet"));
    JvXPButton3 = makeButton(QStringLiteral("JvXPButton3"), QStringLiteral("Sil"));
    JvXPButton1 = makeButton(QStringLiteral("JvXPButton1"),
                             QStringLiteral("Master Şifreyi Değiştir"));
    buttons->addStretch();
    OKBtn = makeButton(QStringLiteral("OKBtn"), QStringLiteral("Tamam"));
    layout->addLayout(buttons);

    connect(JvXPButton4, &QPushButton::clicked, this, &TsifrelerF::JvXPButton4Click);
    connect(JvXPButton2, &QPushButton::clicked, this, &TsifrelerF::JvXPButton2Click);
    connect(JvXPButton3, &QPushButton::clicked, this, &TsifrelerF::JvXPButton3Click);
    connect(JvXPButton1, &QPushButton::clicked, this, &TsifrelerF::JvXPButton1Click);
    connect(OKBtn, &QPushButton::clicked, this, &TsifrelerF::OKBtnClick);
    new EnterAsTab(this);
    resize(760, 520);
}

void TsifrelerF::showUsers()
{
    if ((!sifreTable->isOpen() && !sifreTable->open())
        || (!masterTable->isOpen() && !masterTable->open()))
        return;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TsifrelerF::JvXPButton4Click()
{
    if (sifreTable->isModified()) {
        if (dialogs().question(programTitle(), QStringLiteral("İşlenen bilgiler iptal edilsinmi?"),
                               Buttons::YesNo, Icon::None)
            != Answer::Yes)
            return;
        sifreTable->cancel();
    }
    sifreTable->append();
    KKoduDBEdit->setFocus();
}

void TsifrelerF::JvXPButton2Click()
{
    if (!sifreTable->isModified())
        return;
    if (!sifreTable->post())
        dialogs().error(programTitle(), sifreTable->lastError().text());
}

void TsifrelerF::JvXPButton3Click()
{
    if (sifreTable->state() == DataSet::State::Browse && sifreTable->recordCount() == 0)
        return;
    if (!sifreTable->remove())
        dialogs().error(programTitle(), sifreTable->lastError().text());
}

void TsifrelerF::JvXPButton1Click()
{
    if (!masterTable->isModified())
        return;
    if (dialogs().question(programTitle(), QStringLiteral("İşlenen bilgiler kayıt edilsinmi?"),
                           Buttons::YesNo, Icon::None)
        == Answer::Yes) {
        if (!masterTable->post())
            dialogs().error(programTitle(), masterTable->lastError().text());
    }
}

void TsifrelerF::OKBtnClick()
{
    if (sifreTable->isModified() || masterTable->isModified()) {
        if (dialogs().question(programTitle(),
                               QStringLiteral("İşlenen bilgiler kayıt edilmeden çıkılsınmı?"),
                               Buttons::YesNo, Icon::None)
            != Answer::Yes)
            return;
        discardChanges();
    }
    forms().PasswordDlg->setEnabled(true);
    forms().PasswordDlg->offerLogin(sifreTable->text(QStringLiteral("kullanici")),
                                    sifreTable->text(QStringLiteral("sifre")));
    hide();
}

void TsifrelerF::discardChanges()
{
    sifreTable->cancel();
    masterTable->cancel();
}

void TsifrelerF::hideEvent(QHideEvent *event)
{
    // Minimising is not closing: the typing stays.
    if (event->spontaneous() || isMinimized()) {
        QWidget::hideEvent(event);
        return;
    }
    discardChanges();
    forms().PasswordDlg->setEnabled(true);
    QWidget::hideEvent(event);
}

void TsifrelerF::closeEvent(QCloseEvent *event)
{
    discardChanges();
    QWidget::closeEvent(event);
}

bool TsifrelerF::openUserTables()
{
    return (sifreTable->isOpen() || sifreTable->open())
        && (masterTable->isOpen() || masterTable->open());
}

void TsifrelerF::closeUserTables()
{
    sifreTable->close();
    masterTable->close();
}

void TsifrelerF::forgetUsers()
{
    if (!sifreTable->isEditing())
        sifreTable->close();
}

void TsifrelerF::userList(QStringList &codes, QStringList &names)
{
    codes.clear();
    names.clear();
    sifreTable->disableControls();
    const int keep = sifreTable->currentRow();
    for (sifreTable->first(); !sifreTable->eof(); sifreTable->next()) {
        codes << sifreTable->text(QStringLiteral("kullanici"));
        names << sifreTable->text(QStringLiteral("adi")) + QLatin1Char(' ')
                + sifreTable->text(QStringLiteral("soyadi"));
    }
    sifreTable->moveTo(keep);
    sifreTable->enableControls();
}

bool TsifrelerF::findUser(const QString &code, CurrentUser &user, QString &password)
{
    if (code.isEmpty())
        return false;
    bool found = false;
    sifreTable->disableControls();
    for (sifreTable->first(); !sifreTable->eof(); sifreTable->next()) {
        if (sifreTable->text(QStringLiteral("kullanici")) == code) {
            found = true;
            break;
        }
    }
    sifreTable->enableControls();
    if (!found)
        return false;
    const auto text = [this](const char *column) {
        return sifreTable->text(QString::fromLatin1(column));
    };
    password = text("sifre");
    user.kullanici = text("kullanici");
    user.adSoyad = text("adi") + QLatin1Char(' ') + text("soyadi");
    user.ekle = text("ekle");
    user.degistir = text("degistir");
    user.herksesigor = text("herksesigor");
    user.herkesidegistir = text("herkesidegistir");
    user.baskasirandevuver = text("baskasirandevuver");
    return true;
}

QString TsifrelerF::masterPassword()
{
    masterTable->first();
    return masterTable->text(QStringLiteral("mids"));
}

} // namespace lumkar
