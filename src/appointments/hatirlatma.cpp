#include "appointments/hatirlatma.h"

#include "app/userrights.h"
#include "data/formats.h"
#include "kit/grid.h"
#include "kit/windowparts.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QColor stateColour(const ReminderRow &row, int position)
{
    switch (row.state) {
    case ReminderState::Sent:
        return QColor(0xd9, 0xf2, 0xd9);
    case ReminderState::Failed:
        return QColor(0xf8, 0xd7, 0xd7);
    case ReminderState::Interrupted:
        return QColor(0xfb, 0xe8, 0xc8);
    case ReminderState::NoAddress:
    case ReminderState::BadAddress:
        return QColor(0xe8, 0xe8, 0xe8);
    case ReminderState::ToSend:
        break;
    }
    return gridRowColour(position);
}

} // namespace

ThatirlatmaF::ThatirlatmaF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("hatirlatmaF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Randevu Hatırlatmaları"));
    buildWindow();
}

void ThatirlatmaF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    gunTarihi = newDatePicker(this, QStringLiteral("gunTarihi"));
    gunTarihi->setDate(QDate::currentDate().addDays(1));
    top->addWidget(new QLabel(QStringLiteral("Randevu Günü"), this));
    top->addWidget(gunTarihi);
    top->addWidget(makeUserBar(QStringLiteral("Kullanıcının Randevuları"),
                               QStringLiteral("Tüm Kullanıcıların Randevularını Göster"), this),
                   1);
    listeleBut = newButton(this, QStringLiteral("listeleBut"), QStringLiteral("Listele"),
                           QStringLiteral("Günün bekleyen randevularını listele"));
    gonderBut = newButton(this, QStringLiteral("gonderBut"), QStringLiteral("Gönder"),
                          QStringLiteral("Gönderilmemiş hatırlatmaları e-postayla gönder"));
    disaAktarBut = newButton(this, QStringLiteral("disaAktarBut"),
                             QStringLiteral("Listeyi Dışa Aktar (CSV)"),
                             QStringLiteral("Listeyi bir mesaj servisi için CSV dosyasına yaz"));
    kapatBut = newButton(this, QStringLiteral("kapatBut"), QStringLiteral("Kapat"),
                         QStringLiteral("Kapat..."));
    for (QPushButton *button : {listeleBut, gonderBut, disaAktarBut, kapatBut})
        top->addWidget(button);
    layout->addLayout(top);

    hatirlatmaGrid = new GridView(this);
    hatirlatmaGrid->setObjectName(QStringLiteral("hatirlatmaGrid"));
    hatirlatmaGrid->setEnterRule(GridView::EnterRule::None);
    hatirlatmaGrid->setWholeRowSelection(true);
    hatirlatmaGrid->verticalHeader()->setVisible(false);
    hatirlatmaGrid->horizontalHeader()->setStretchLastSection(true);
    m_cells = hatirlatmaGrid->useCellTexts();
    m_cells->setHeadings(Qt::Horizontal,
                         {QStringLiteral("Tarih"), QStringLiteral("Saat"), QStringLiteral("Adı"),
                          QStringLiteral("Soyadı"), QStringLiteral("Paket"),
                          QStringLiteral("Personel"), QStringLiteral("Cep Telefonu"),
                          QStringLiteral("E-posta"), QStringLiteral("Hatırlatma Metni"),
                          QStringLiteral("Durum")});
    m_cells->setCellAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_cells->setCellColours(
        [this](int row, int) {
            return row < m_rows.size() ? stateColour(m_rows[row], row) : gridRowColour(row);
        },
        {});
    m_cells->setCells(0, Durum + 1);
    layout->addWidget(hatirlatmaGrid, 1);

    auto *settings = new QHBoxLayout;
    settings->addWidget(buildTemplateBox(), 3);
    settings->addWidget(buildServerBox(), 2);
    layout->addLayout(settings);

    connect(listeleBut, &QPushButton::clicked, this, [this] { (void)listele(); });
    connect(gonderBut, &QPushButton::clicked, this, &ThatirlatmaF::gonder);
    connect(disaAktarBut, &QPushButton::clicked, hatirlatmaGrid, &GridView::exportList);
    connect(kapatBut, &QPushButton::clicked, this, &ThatirlatmaF::kapatButClick);
    connect(kaydetBut, &QPushButton::clicked, this, &ThatirlatmaF::ayarlariKaydet);
    connect(varsayilanBut, &QPushButton::clicked, this, &ThatirlatmaF::varsayilanSablon);
    connect(konuEdit, &QLineEdit::textChanged, this, &ThatirlatmaF::templateChanged);
    connect(metinEdit, &QPlainTextEdit::textChanged, this, &ThatirlatmaF::templateChanged);
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { (void)listele(); });
    connect(RKiminAdSoyadBox, &QComboBox::activated, this, [this] { (void)listele(); });
    resize(1100, 680);
}

QWidget *ThatirlatmaF::buildTemplateBox()
{
    auto *box = new QGroupBox(QStringLiteral("Hatırlatma Şablonu"), this);
    auto *form = new QFormLayout(box);
    konuEdit = newBox(box, QStringLiteral("konuEdit"));
    metinEdit = new QPlainTextEdit(box);
    metinEdit->setObjectName(QStringLiteral("metinEdit"));
    metinEdit->setTabChangesFocus(true);
    metinEdit->setMaximumHeight(90);
    alanlarLabel = new QLabel(reminderFieldsHelp(), box);
    alanlarLabel->setObjectName(QStringLiteral("alanlarLabel"));
    alanlarLabel->setWordWrap(true);
    bilinmeyenLabel = new QLabel(box);
    bilinmeyenLabel->setObjectName(QStringLiteral("bilinmeyenLabel"));
    bilinmeyenLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    bilinmeyenLabel->setWordWrap(true);
    varsayilanBut = newButton(box, QStringLiteral("varsayilanBut"),
                              QStringLiteral("Varsayılan Şablon"),
                              QStringLiteral("Programın hazır şablonunu geri getir"));
    form->addRow(QStringLiteral("Konu"), konuEdit);
    form->addRow(QStringLiteral("Metin"), metinEdit);
    form->addRow(alanlarLabel);
    form->addRow(bilinmeyenLabel);
    form->addRow(varsayilanBut);
    return box;
}

QWidget *ThatirlatmaF::buildServerBox()
{
    auto *box = new QGroupBox(QStringLiteral("Giden Posta Sunucusu (SMTP)"), this);
    auto *form = new QFormLayout(box);
    sunucuEdit = newBox(box, QStringLiteral("sunucuEdit"));
    sunucuEdit->setPlaceholderText(QStringLiteral("smtp.ornek.com.tr"));
    portEdit = newBox(box, QStringLiteral("portEdit"), 5);
    tlsBox = new QCheckBox(QStringLiteral("Güvenli bağlantı (TLS)"), box);
    tlsBox->setObjectName(QStringLiteral("tlsBox"));
    kullaniciEdit = newBox(box, QStringLiteral("kullaniciEdit"));
    sifreEdit = newBox(box, QStringLiteral("sifreEdit"));
    sifreEdit->setEchoMode(QLineEdit::Password);
    sifreSaklaBox = new QCheckBox(QStringLiteral("Şifreyi bu bilgisayarda sakla"), box);
    sifreSaklaBox->setObjectName(QStringLiteral("sifreSaklaBox"));
    gonderenEdit = newBox(box, QStringLiteral("gonderenEdit"));
    kaydetBut = newButton(box, QStringLiteral("kaydetBut"), QStringLiteral("Ayarları Kaydet"),
                          QStringLiteral("Şablonu ve sunucu ayarlarını kaydet"));
    form->addRow(QStringLiteral("Sunucu"), sunucuEdit);
    form->addRow(QStringLiteral("Port"), portEdit);
    form->addRow(QString(), tlsBox);
    form->addRow(QStringLiteral("Kullanıcı"), kullaniciEdit);
    form->addRow(QStringLiteral("Şifre"), sifreEdit);
    form->addRow(QString(), sifreSaklaBox);
    form->addRow(QStringLiteral("Gönderen Adresi"), gonderenEdit);
    form->addRow(kaydetBut);
    return box;
}

QString ThatirlatmaF::settingsPath() const
{
    return session().filePath(ReminderSettings::fileName());
}

void ThatirlatmaF::fitToUser(const LoggedInUser &user)
{
    const QSignalBlocker blocker(CheckBox2);
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
    // Nothing of the user before stays: neither the list nor a password typed but not kept.
    sifreEdit->clear();
    m_rows.clear();
    showAllRows();
}

void ThatirlatmaF::openReminders()
{
    QString refusal;
    const ReminderSettings settings = ReminderSettings::read(settingsPath(), &refusal);
    // A password typed in this run stays when the file keeps none; one the file held where
    // others could read it is typed again.
    const QString typed = sifreEdit->text();
    showSettings(settings);
    if (settings.server.password.isEmpty() && refusal.isEmpty())
        sifreEdit->setText(typed);
    gunTarihi->setDate(QDate::currentDate().addDays(1));
    show();
    raise();
    if (!refusal.isEmpty())
        dialogs().warning(programTitle(), refusal);
    (void)listele();
}

void ThatirlatmaF::showSettings(const ReminderSettings &settings)
{
    konuEdit->setText(settings.pattern.subject);
    metinEdit->setPlainText(settings.pattern.text);
    sunucuEdit->setText(settings.server.host);
    portEdit->setText(QString::number(settings.server.port));
    tlsBox->setChecked(settings.server.tls);
    kullaniciEdit->setText(settings.server.user);
    sifreEdit->setText(settings.server.password);
    sifreSaklaBox->setChecked(settings.keepPassword);
    gonderenEdit->setText(settings.server.sender);
}

bool ThatirlatmaF::listele()
{
    QVector<ReminderRow> rows;
    const bool read = readReminders(db(), gunTarihi->date(), !CheckBox2->isChecked(),
                                    RKimeBox->currentText(), rows);
    if (read)
        m_rows = rows;
    hatirlatmaGrid->setColumnHidden(Personel, !CheckBox2->isChecked());
    showAllRows();
    return read;
}

void ThatirlatmaF::showAllRows()
{
    m_cells->setCells(int(m_rows.size()), Durum + 1);
    for (int row = 0; row < m_rows.size(); ++row)
        showRow(row);
    templateChanged();
    fitColumns();
}

void ThatirlatmaF::fitColumns()
{
    // Every column as wide as what it shows; a long text is cut, whole in the CSV file.
    hatirlatmaGrid->resizeColumnsToContents();
    hatirlatmaGrid->setColumnWidth(Metin, std::min(hatirlatmaGrid->columnWidth(Metin), 460));
}

void ThatirlatmaF::showRow(int row)
{
    const ReminderRow &r = m_rows[row];
    const ReminderAppointment &a = r.appointment;
    const QStringList texts{formats::date(a.day),
                            a.time.toString(QStringLiteral("HH:mm")),
                            a.adi,
                            a.soyadi,
                            a.paketadi,
                            a.ownerName,
                            a.ceptel,
                            a.email,
                            reminderText(metinEdit->toPlainText(), a),
                            reminderStateText(r)};
    for (int column = 0; column < texts.size(); ++column)
        m_cells->setCellText(row, column, texts[column]);
}

ReminderTemplate ThatirlatmaF::currentTemplate() const
{
    return {konuEdit->text(), metinEdit->toPlainText()};
}

void ThatirlatmaF::templateChanged()
{
    const ReminderTemplate pattern = currentTemplate();
    for (int row = 0; row < m_rows.size(); ++row)
        m_cells->setCellText(row, Metin, reminderText(pattern.text, m_rows[row].appointment));
    const QStringList unknown = unknownFields(pattern.subject + QLatin1Char('\n') + pattern.text);
    bilinmeyenLabel->setText(
        unknown.isEmpty() ? QString()
                          : QStringLiteral("Bilinmeyen alan: %1 (metinde olduğu gibi kalır)")
                                .arg(unknown.join(QLatin1Char(' '))));
}

MailServer ThatirlatmaF::currentServer() const
{
    MailServer server;
    server.host = sunucuEdit->text().trimmed();
    server.port = portEdit->text().trimmed().toInt();
    server.tls = tlsBox->isChecked();
    server.user = kullaniciEdit->text().trimmed();
    server.password = sifreEdit->text();
    server.sender = gonderenEdit->text().trimmed();
    return server;
}

QString ThatirlatmaF::serverRefusal(bool forSending) const
{
    const MailServer server = currentServer();
    if (forSending && !server.isSet())
        return QStringLiteral("Hatırlatmaları e-postayla göndermek için önce giden posta "
                              "sunucusunu ve gönderen adresini girin.");
    if (!server.host.isEmpty() && (server.port < 1 || server.port > 65535))
        return QStringLiteral("Port, 1 ile 65535 arasında bir sayı olmalı.");
    if (!server.sender.isEmpty() && !isMailAddress(server.sender))
        return QStringLiteral("Gönderen adresi (%1) bir e-posta adresi değil.").arg(server.sender);
    return QString();
}

void ThatirlatmaF::gonder()
{
    if (const QString refusal = serverRefusal(true); !refusal.isEmpty()) {
        dialogs().warning(programTitle(), refusal);
        return;
    }
    const int count = remindersToSend(m_rows);
    if (count == 0) {
        dialogs().information(programTitle(),
                              QStringLiteral("Gönderilecek hatırlatma yok: listedekilerin "
                                             "hatırlatması gönderilmiş ya da e-posta adresleri "
                                             "yok."));
        return;
    }
    const ReminderTemplate pattern = currentTemplate();
    QString question = QStringLiteral("%1 hatırlatma e-postayla gönderilecek. Devam edilsin mi?")
                           .arg(count);
    if (const QStringList unknown = unknownFields(pattern.subject + QLatin1Char('\n')
                                                  + pattern.text);
        !unknown.isEmpty())
        question = QStringLiteral("Şablonda bilinmeyen alan var: %1. Bu alanlar metinde olduğu "
                                  "gibi kalır.\n")
                       .arg(unknown.join(QLatin1Char(' ')))
            + question;
    if (dialogs().question(programTitle(), question, Buttons::YesNo) != Answer::Yes)
        return;
    ReminderSending sending(db(), dialogs(), currentServer(), currentUser().kullanici);
    const bool finished = sending.send(m_rows, pattern, [this](int row) { showRow(row); });
    fitColumns();
    if (finished) // else the user was told why it stopped
        dialogs().information(programTitle(), reminderSendSummary(sending, m_rows));
}

void ThatirlatmaF::ayarlariKaydet()
{
    if (const QString refusal = serverRefusal(false); !refusal.isEmpty()) {
        dialogs().warning(programTitle(), refusal);
        return;
    }
    ReminderSettings settings;
    settings.pattern = currentTemplate();
    settings.server = currentServer();
    if (settings.server.host.isEmpty())
        settings.server.port = MailServer().port;
    settings.keepPassword = sifreSaklaBox->isChecked();
    QString message;
    if (!settings.write(settingsPath(), &message))
        dialogs().error(programTitle(), message);
    else if (!message.isEmpty())
        dialogs().warning(programTitle(), message);
    else
        dialogs().information(programTitle(), QStringLiteral("Hatırlatma ayarları kaydedildi."));
}

void ThatirlatmaF::varsayilanSablon()
{
    konuEdit->setText(defaultReminderSubject());
    metinEdit->setPlainText(defaultReminderText());
}

void ThatirlatmaF::kapatButClick()
{
    hide();
}

void ThatirlatmaF::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        kapatButClick();
}

} // namespace lumkar
