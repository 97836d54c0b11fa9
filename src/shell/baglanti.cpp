#include "shell/baglanti.h"

#include "data/connectioncheck.h"
#include "shell/sifre.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString windowTitleText()
{
    return QStringLiteral("Veritabanı Bağlantısı");
}

const QString kPasswordFileNote = QStringLiteral(
    "Şifre bu dosyada saklanmazsa PostgreSQL'in kendi şifre dosyası kullanılır: ~/.pgpass (ya "
    "da PGPASSFILE'ın gösterdiği dosya), her satırı sunucu:port:veritabanı:kullanıcı:şifre, "
    "izinleri yalnız sizin okuyabileceğiniz gibi (chmod 600). Saklanan şifre yalnız sizin "
    "okuyabileceğiniz \"Baglanti.ini\" dosyasına yazılır ve hiçbir zaman gösterilmez.");

} // namespace

TbaglantiF::TbaglantiF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("baglantiF"));
    setWindowTitle(windowTitleText());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    motorCombo = new QComboBox(this);
    motorCombo->setObjectName(QStringLiteral("motorCombo"));
    motorCombo->addItem(QStringLiteral("Bu bilgisayardaki veri dosyası (SQLite)"));
    motorCombo->addItem(QStringLiteral("PostgreSQL veritabanı sunucusu (birden çok masa)"));
    form->addRow(QStringLiteral("Veriler"), motorCombo);
    sunucuEdit = new QLineEdit(this);
    sunucuEdit->setObjectName(QStringLiteral("sunucuEdit"));
    sunucuEdit->setPlaceholderText(QStringLiteral("localhost"));
    form->addRow(QStringLiteral("Sunucu"), sunucuEdit);
    portEdit = new QSpinBox(this);
    portEdit->setObjectName(QStringLiteral("portEdit"));
    portEdit->setRange(0, 65535);
    portEdit->setSpecialValueText(QStringLiteral("Varsayılan (5432)"));
    form->addRow(QStringLiteral("Kapı (port)"), portEdit);
    veritabaniEdit = new QLineEdit(this);
    veritabaniEdit->setObjectName(QStringLiteral("veritabaniEdit"));
    form->addRow(QStringLiteral("Veritabanı"), veritabaniEdit);
    kullaniciEdit = new QLineEdit(this);
    kullaniciEdit->setObjectName(QStringLiteral("kullaniciEdit"));
    form->addRow(QStringLiteral("Kullanıcı"), kullaniciEdit);
    sifreSaklaCheck = new QCheckBox(QStringLiteral("Şifre bu ayar dosyasında saklansın"), this);
    sifreSaklaCheck->setObjectName(QStringLiteral("sifreSaklaCheck"));
    form->addRow(QString(), sifreSaklaCheck);
    sifreEdit = new QLineEdit(this);
    sifreEdit->setObjectName(QStringLiteral("sifreEdit"));
    sifreEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Şifre"), sifreEdit);
    layout->addLayout(form);

    notLabel = new QLabel(this);
    notLabel->setObjectName(QStringLiteral("notLabel"));
    notLabel->setWordWrap(true);
    layout->addWidget(notLabel);

    auto *buttons = new QHBoxLayout;
    denemeBut = new QPushButton(QStringLiteral("Bağlantıyı Dene"), this);
    denemeBut->setObjectName(QStringLiteral("denemeBut"));
    kaydetBut = new QPushButton(QStringLiteral("Kaydet"), this);
    kaydetBut->setObjectName(QStringLiteral("kaydetBut"));
    kapatBut = new QPushButton(QStringLiteral("Kapat"), this);
    kapatBut->setObjectName(QStringLiteral("kapatBut"));
    buttons->addWidget(denemeBut);
    buttons->addStretch();
    buttons->addWidget(kaydetBut);
    buttons->addWidget(kapatBut);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(motorCombo, &QComboBox::currentIndexChanged, this, &TbaglantiF::fitToEngine);
    connect(sifreSaklaCheck, &QCheckBox::toggled, this, &TbaglantiF::fitToEngine);
    connect(denemeBut, &QPushButton::clicked, this, &TbaglantiF::denemeButClick);
    connect(kaydetBut, &QPushButton::clicked, this, &TbaglantiF::kaydetButClick);
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::close);
}

void TbaglantiF::showSettings(bool gated)
{
    QString warning;
    m_stored = ConnectionSettings::read(session().GetPathPath(), &warning);
    motorCombo->setCurrentIndex(m_stored.engine == Engine::Postgres ? 1 : 0);
    sunucuEdit->setText(m_stored.host);
    portEdit->setValue(m_stored.port);
    veritabaniEdit->setText(m_stored.database);
    kullaniciEdit->setText(m_stored.user);
    sifreEdit->clear();
    sifreEdit->setPlaceholderText(m_stored.password.isEmpty()
            ? QString()
            : QStringLiteral("(kayıtlı şifre; değiştirmek için yazın)"));
    sifreSaklaCheck->setChecked(!m_stored.password.isEmpty());
    QStringList notes { kPasswordFileNote };
    if (!warning.isEmpty())
        notes.prepend(warning);
    if (!gated)
        notes.prepend(QStringLiteral("Veritabanı açılamadığı için master şifre sorulmadı. "
                                     "Kayıtlı şifre yalnız kaydedildiği sunucuya ve kullanıcıya "
                                     "gönderilir."));
    notLabel->setText(notes.join(QStringLiteral("\n\n")));
    fitToEngine();
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TbaglantiF::fitToEngine()
{
    const bool server = motorCombo->currentIndex() == 1;
    for (QWidget *box : std::initializer_list<QWidget *> {
             sunucuEdit, portEdit, veritabaniEdit, kullaniciEdit, sifreSaklaCheck })
        box->setEnabled(server);
    sifreEdit->setEnabled(server && sifreSaklaCheck->isChecked());
    if (!sifreEdit->isEnabled())
        sifreEdit->clear();
}

ConnectionSettings TbaglantiF::editedSettings() const
{
    ConnectionSettings edited;
    if (motorCombo->currentIndex() != 1)
        return edited;
    edited.engine = Engine::Postgres;
    edited.host = sunucuEdit->text().trimmed();
    edited.port = portEdit->value();
    edited.database = veritabaniEdit->text().trimmed();
    edited.user = kullaniciEdit->text().trimmed();
    edited.password
        = keptPassword(m_stored, edited, sifreEdit->text(), sifreSaklaCheck->isChecked());
    return edited;
}

void TbaglantiF::denemeButClick()
{
    const ConnectionTrial trial = tryConnection(editedSettings(), session().GetPathPath());
    if (trial.ok)
        dialogs().information(windowTitleText(), trial.text);
    else
        dialogs().warning(windowTitleText(), trial.text);
}

void TbaglantiF::kaydetButClick()
{
    const ConnectionSettings edited = editedSettings();
    if (edited.engine == Engine::Postgres && edited.database.isEmpty()) {
        dialogs().information(
            windowTitleText(), QStringLiteral("Veritabanının adını boş geçemezsiniz!"));
        veritabaniEdit->setFocus();
        return;
    }
    if (edited == m_stored) {
        close();
        return;
    }
    QString error;
    if (!edited.write(session().GetPathPath(), &error)) {
        dialogs().error(windowTitleText(), error);
        return;
    }
    m_stored = edited;
    dialogs().information(windowTitleText(),
        QStringLiteral("Bağlantı ayarları kaydedildi. Program yeni ayarlarla "
                       "yeniden başlatılacak."));
    close();
    emit settingsSaved();
}

void TbaglantiF::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous() && !isMinimized()) {
        sifreEdit->clear();
        forms().PasswordDlg->setEnabled(true);
    }
    QWidget::hideEvent(event);
}

} // namespace lumkar
