// The appointment entry form of the main window: the person panel and the appointment panel.

#include "appointments/entrypanel.h"

#include "kit/bound.h"
#include "kit/controls.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumkar {

namespace {

QLineEdit *box(QWidget *parent, const QString &name, int maxLength = 0)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit *named(QLineEdit *edit, const QString &name)
{
    edit->setObjectName(name);
    return edit;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

EntryForm::EntryForm(Forms &forms, Session &session, QWidget *parent)
    : QWidget(parent), FormContext(forms, session)
{
    setObjectName(QStringLiteral("entryForm"));
    buildPersonPanel();
    buildAppointmentPanel();
    auto *panels = new QHBoxLayout(this);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->addWidget(kisiPanel, 1);
    panels->addWidget(randevuPanel, 1);
}

void EntryForm::buildPersonPanel()
{
    auto *person = new QGroupBox(QStringLiteral("Kişi Bilgileri"), this);
    kisiPanel = person;
    kisiPanel->setObjectName(QStringLiteral("kisiPanel"));
    auto *personForm = new QFormLayout(person);
    kisinoedit = box(person, QStringLiteral("kisinoedit"), 16);
    JvNavPanelButton8 = button(person, QStringLiteral("JvNavPanelButton8"),
                               QStringLiteral("Getir"));
    JvNavPanelButton9 = button(person, QStringLiteral("JvNavPanelButton9"),
                               QStringLiteral("Listeden Getir"));
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(kisinoedit);
    codeRow->addWidget(JvNavPanelButton8);
    codeRow->addWidget(JvNavPanelButton9);
    personForm->addRow(QStringLiteral("Kişi Kodu"), codeRow);
    AdiEdit = box(person, QStringLiteral("AdiEdit"), 30);
    JvNavPanelButton20 = button(person, QStringLiteral("JvNavPanelButton20"),
                                QStringLiteral("Getir"));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(AdiEdit);
    nameRow->addWidget(JvNavPanelButton20);
    personForm->addRow(QStringLiteral("Adı"), nameRow);
    SoyadiEdit = box(person, QStringLiteral("SoyadiEdit"), 40);
    personForm->addRow(QStringLiteral("Soyadi"), SoyadiEdit);
    Telefon1Edit = named(newPhoneEdit(person), QStringLiteral("Telefon1Edit"));
    Telefon2Edit = named(newPhoneEdit(person), QStringLiteral("Telefon2Edit"));
    CepTelefonEdit = named(newPhoneEdit(person), QStringLiteral("CepTelefonEdit"));
    auto *phones = new QHBoxLayout;
    phones->addWidget(Telefon1Edit);
    phones->addWidget(Telefon2Edit);
    personForm->addRow(QStringLiteral("Telefon 1 / Telefon 2"), phones);
    personForm->addRow(QStringLiteral("Cep Tel."), CepTelefonEdit);
    adresMemo = new QPlainTextEdit(person);
    adresMemo->setObjectName(QStringLiteral("adresMemo"));
    adresMemo->setMaximumHeight(52);
    personForm->addRow(QStringLiteral("Adresi"), adresMemo);
}

void EntryForm::buildAppointmentPanel()
{
    auto *appointment = new QGroupBox(QStringLiteral("Randevu Bilgileri"), this);
    randevuPanel = appointment;
    randevuPanel->setObjectName(QStringLiteral("randevuPanel"));
    auto *form = new QFormLayout(appointment);
    RTarihiEdit = named(newDateEdit(appointment), QStringLiteral("RTarihiEdit"));
    RSaatiEdit = named(newTimeEdit(appointment), QStringLiteral("RSaatiEdit"));
    attachDateRule(RTarihiEdit, dialogs());
    attachTimeRule(RSaatiEdit, dialogs());
    auto *when = new QHBoxLayout;
    when->addWidget(RTarihiEdit);
    when->addWidget(RSaatiEdit);
    form->addRow(QStringLiteral("RandevuTarihi / R.Saati"), when);
    paketkoduEdit = box(appointment, QStringLiteral("paketkoduEdit"), 5);
    attachDigitsRule(paketkoduEdit);
    islemTutariEdit = box(appointment, QStringLiteral("islemTutariEdit"));
    islemTutariEdit->setAlignment(Qt::AlignRight);
    attachAmountRule(islemTutariEdit);
    auto *package = new QHBoxLayout;
    package->addWidget(paketkoduEdit);
    package->addWidget(islemTutariEdit);
    form->addRow(QStringLiteral("Paket Kodu / İşlem Tutarı"), package);
    paketadiEdit = box(appointment, QStringLiteral("paketadiEdit"), 70);
    paketadiEdit->setReadOnly(true);
    form->addRow(QStringLiteral("Paket Adı"), paketadiEdit);
    konuMemo = new QPlainTextEdit(appointment);
    konuMemo->setObjectName(QStringLiteral("konuMemo"));
    konuMemo->setMaximumHeight(52);
    form->addRow(QStringLiteral("Açıklama"), konuMemo);
    RKiminAdSoyadBox = new QComboBox(appointment);
    RKiminAdSoyadBox->setObjectName(QStringLiteral("RKiminAdSoyadBox"));
    RKimeBox = new QComboBox(appointment);
    RKimeBox->setObjectName(QStringLiteral("RKimeBox"));
    RKimeBox->setVisible(false);
    Button1 = button(appointment, QStringLiteral("Button1"), QStringLiteral("KAYDET"));
    auto *who = new QHBoxLayout;
    who->addWidget(RKiminAdSoyadBox, 1);
    who->addWidget(RKimeBox);
    who->addWidget(Button1);
    form->addRow(QStringLiteral("Randevu Kime "), who);
    randevunoEdit = box(appointment, QStringLiteral("randevunoEdit"));
    randevunoEdit->setVisible(false);
    primEdit = box(appointment, QStringLiteral("primEdit"));
    primEdit->setVisible(false);
    userPickers = new PickerPair(RKimeBox, RKiminAdSoyadBox, this);
    connect(Button1, &QPushButton::clicked, this, &EntryForm::save);
}

void EntryForm::setEntryPerson(const Person &person)
{
    kisinoedit->setText(person.sicilKodu);
    AdiEdit->setText(person.adi);
    SoyadiEdit->setText(person.soyadi);
    Telefon1Edit->setText(person.tel1);
    Telefon2Edit->setText(person.tel2);
    CepTelefonEdit->setText(person.ceptel);
    adresMemo->setPlainText(storedToMemo(person.adres));
}

void EntryForm::setEntryPersonCode(const QString &code)
{
    kisinoedit->setText(code);
}

void EntryForm::setEntryAllowed(bool allowed)
{
    kisiPanel->setEnabled(allowed);
    randevuPanel->setEnabled(allowed);
}

void EntryForm::startNew()
{
    // A new appointment starts with the booking of appointments.
}

void EntryForm::save()
{
    // The entry form's save arrives with the booking of appointments.
}

void EntryForm::discard()
{
    // The entry form's discard arrives with the booking of appointments.
}

} // namespace lumkar
