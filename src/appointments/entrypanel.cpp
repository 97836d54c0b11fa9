// The appointment entry form of the main window: the person panel and the appointment panel.

#include "appointments/entrypanel.h"

#include "app/userrights.h"
#include "appointments/appointmentstate.h"
#include "appointments/booking.h"
#include "appointments/entryappointment.h"
#include "appointments/dayview.h"
#include "appointments/doublebooking.h"
#include "appointments/iptal.h"
#include "appointments/plannersettings.h"
#include "appointments/randevu.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "data/inifile.h"
#include "data/tablewriter.h"
#include "kit/bound.h"
#include "kit/controls.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"
#include "kit/windowparts.h"
#include "persons/perozluk.h"
#include "persons/personlookup.h"
#include "persons/sicilrapor.h"
#include "visits/packagerules.h"
#include "visits/paketler.h"

#include <QEvent>
#include <QFocusEvent>

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumkar {

namespace {

QLineEdit *named(QLineEdit *edit, const QString &name)
{
    edit->setObjectName(name);
    return edit;
}

} // namespace

EntryForm::EntryForm(Forms &forms, Session &session, QWidget *parent)
    : QWidget(parent), FormContext(forms, session)
{
    setObjectName(QStringLiteral("entryForm"));
    m_packages = new DataSet(db(), this);
    m_packages->setTable(QStringLiteral("paketler"));
    m_appointments = new DataSet(db(), this);
    m_appointments->setTable(QStringLiteral("randevu"));
    buildPersonPanel();
    buildAppointmentPanel();
    setTabOrders();
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
    kisinoedit = newBox(person, QStringLiteral("kisinoedit"), 16);
    JvNavPanelButton8 = newButton(person, QStringLiteral("JvNavPanelButton8"),
                               QStringLiteral("Getir"));
    JvNavPanelButton9 = newButton(person, QStringLiteral("JvNavPanelButton9"),
                               QStringLiteral("Listeden Getir"));
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(kisinoedit);
    codeRow->addWidget(JvNavPanelButton8);
    codeRow->addWidget(JvNavPanelButton9);
    personForm->addRow(QStringLiteral("Kişi Kodu"), codeRow);
    AdiEdit = newBox(person, QStringLiteral("AdiEdit"), 30);
    JvNavPanelButton20 = newButton(person, QStringLiteral("JvNavPanelButton20"),
                                QStringLiteral("Getir"));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(AdiEdit);
    nameRow->addWidget(JvNavPanelButton20);
    personForm->addRow(QStringLiteral("Adı"), nameRow);
    SoyadiEdit = newBox(person, QStringLiteral("SoyadiEdit"), 40);
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
    paketkoduEdit = newBox(appointment, QStringLiteral("paketkoduEdit"), 5);
    attachDigitsRule(paketkoduEdit);
    islemTutariEdit = newAmountBox(appointment, QStringLiteral("islemTutariEdit"));
    auto *package = new QHBoxLayout;
    package->addWidget(paketkoduEdit);
    package->addWidget(islemTutariEdit);
    form->addRow(QStringLiteral("Paket Kodu / İşlem Tutarı"), package);
    paketadiEdit = newBox(appointment, QStringLiteral("paketadiEdit"), 70);
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
    Button1 = newButton(appointment, QStringLiteral("Button1"), QStringLiteral("KAYDET"));
    auto *who = new QHBoxLayout;
    who->addWidget(RKiminAdSoyadBox, 1);
    who->addWidget(RKimeBox);
    who->addWidget(Button1);
    form->addRow(QStringLiteral("Randevu Kime "), who);
    randevunoEdit = newBox(appointment, QStringLiteral("randevunoEdit"));
    randevunoEdit->setVisible(false);
    primEdit = newBox(appointment, QStringLiteral("primEdit"));
    primEdit->setVisible(false);
    userPickers = new PickerPair(RKimeBox, RKiminAdSoyadBox, this);
    // The package name and premium rate belong to the code: emptied with it.
    connect(paketkoduEdit, &QLineEdit::textEdited, this, [this](const QString &code) {
        if (code.isEmpty()) {
            paketadiEdit->clear();
            primEdit->clear();
        }
    });
    connect(Button1, &QPushButton::clicked, this, [this] { save(); });
}

void EntryForm::setEntryPerson(const ChosenPerson &person)
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

void EntryForm::setEntryDayAndTime(const QString &date, const QString &time)
{
    RTarihiEdit->setText(date);
    RSaatiEdit->setText(time);
}

bool EntryForm::setEntryUser(const QString &code, const QString &fullName)
{
    setPickerText(RKimeBox, code);
    setPickerText(RKiminAdSoyadBox, fullName);
    const bool held = RKimeBox->currentIndex() >= 0
        && RKimeBox->currentIndex() == RKiminAdSoyadBox->currentIndex();
    if (!held) {
        RKimeBox->setCurrentIndex(-1);
        RKiminAdSoyadBox->setCurrentIndex(-1);
    }
    return held;
}

void EntryForm::fitToUser(const LoggedInUser &user)
{
    fitUserPickers(RKimeBox, RKiminAdSoyadBox, user.users, user.rights.bookingPickers);
    setEntryAllowed(user.rights.mayAdd);
}

void EntryForm::setEntryAllowed(bool allowed)
{
    kisiPanel->setEnabled(allowed);
    randevuPanel->setEnabled(allowed);
}

namespace {

const QString kDropQuestion = QStringLiteral("Yapılan değişiklik kayıt yapılmadan çıkılsınmı?");
const QString kSelvaron = QStringLiteral("Lumkar Selvaron");

// Puts a text into a box: position by position into a masked box, plainly into any other.
void putText(QLineEdit *box, const QString &text)
{
    if (auto *masked = qobject_cast<MaskedEdit *>(box))
        masked->setMaskedText(text);
    else
        box->setText(text);
}

bool isFocusLeaving(QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MenuBarFocusReason;
}

} // namespace

QList<QWidget *> EntryForm::tabChain() const
{
    return {kisinoedit,     AdiEdit,         SoyadiEdit,   Telefon1Edit, Telefon2Edit,
            CepTelefonEdit, adresMemo,       RTarihiEdit,  RSaatiEdit,   paketkoduEdit,
            islemTutariEdit, paketadiEdit,   konuMemo,     RKiminAdSoyadBox, Button1};
}

void EntryForm::setTabOrders()
{
    const QList<QWidget *> order = tabChain();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    // Tab leaves the memos; Enter makes a new line in them.
    adresMemo->setTabChangesFocus(true);
    konuMemo->setTabChangesFocus(true);
    // The "Getir" buttons are reached by the mouse; they never take the focus from a box, so
    // that leaving the code box and pressing "Getir" look the person up once.
    for (QPushButton *b : {JvNavPanelButton8, JvNavPanelButton9, JvNavPanelButton20})
        b->setFocusPolicy(Qt::NoFocus);
    for (QWidget *w : {static_cast<QWidget *>(kisinoedit), static_cast<QWidget *>(AdiEdit),
                       static_cast<QWidget *>(paketkoduEdit)})
        w->installEventFilter(this);
    connect(JvNavPanelButton8, &QPushButton::clicked, this, &EntryForm::personByCode);
    connect(JvNavPanelButton9, &QPushButton::clicked, this, [this] { personFromList(); });
    connect(JvNavPanelButton20, &QPushButton::clicked, this, &EntryForm::personByName);
}

bool EntryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == kisinoedit || watched == AdiEdit) {
            personFromList();
            return true;
        }
        if (watched == paketkoduEdit) {
            packageFromCatalogue();
            return true;
        }
    }
    if (isFocusLeaving(event) && isVisible()) {
        if (watched == kisinoedit)
            personByCode();
        else if (watched == paketkoduEdit)
            packageByCode();
    }
    return QWidget::eventFilter(watched, event);
}

void EntryForm::setEntryPackage(const ChosenPackage &package)
{
    paketkoduEdit->setText(package.kodu);
    paketadiEdit->setText(package.adi);
    islemTutariEdit->setText(formats::amount(SayiyaCevir(package.tutar, nullptr)));
    primEdit->setText(formats::amount(SayiyaCevir(package.primoran, nullptr)));
}

void EntryForm::setEntryAmount(const QString &amount)
{
    islemTutariEdit->setText(amount);
}

void EntryForm::setEntryAppointment(const EntryAppointment &appointment)
{
    kisinoedit->setText(appointment.sicilKodu);
    AdiEdit->setText(appointment.adi);
    SoyadiEdit->setText(appointment.soyadi);
    putText(RTarihiEdit, appointment.tarih);
    putText(RSaatiEdit, appointment.saat);
    adresMemo->setPlainText(appointment.adres);
    konuMemo->setPlainText(appointment.konu);
    putText(Telefon1Edit, appointment.telefon1);
    putText(Telefon2Edit, appointment.telefon2);
    putText(CepTelefonEdit, appointment.cepTelefon);
    islemTutariEdit->setText(appointment.tutar);
    setPickerText(RKimeBox, appointment.rkime);
    setPickerText(RKiminAdSoyadBox, appointment.rkimeAdSoyad);
    randevunoEdit->setText(appointment.rid);
    paketkoduEdit->setText(appointment.paketKodu);
    paketadiEdit->setText(appointment.paketAdi);
    if (!appointment.prim.isEmpty())
        primEdit->setText(appointment.prim);
    // The appointment as it is read now: its save writes it only while no other desk has
    // changed it since.
    const qlonglong rid = appointment.rid.toLongLong();
    if (rid <= 0 || !m_appointments->openWith(QStringLiteral("rid = ?"), {rid}))
        m_appointments->close();
}

EntryAppointment EntryForm::entryAppointment() const
{
    EntryAppointment entry;
    entry.sicilKodu = kisinoedit->text();
    entry.adi = AdiEdit->text();
    entry.soyadi = SoyadiEdit->text();
    entry.tarih = maskedText(RTarihiEdit);
    entry.saat = maskedText(RSaatiEdit);
    entry.konu = konuMemo->toPlainText();
    entry.adres = adresMemo->toPlainText();
    entry.telefon1 = maskedText(Telefon1Edit);
    entry.telefon2 = maskedText(Telefon2Edit);
    entry.cepTelefon = maskedText(CepTelefonEdit);
    entry.tutar = islemTutariEdit->text();
    entry.rkime = RKimeBox->currentText();
    entry.rkimeAdSoyad = RKiminAdSoyadBox->currentText();
    entry.rid = randevunoEdit->text();
    entry.paketKodu = paketkoduEdit->text();
    entry.paketAdi = paketadiEdit->text();
    entry.prim = primEdit->text();
    return entry;
}

bool EntryForm::hasTypedPerson() const
{
    return !AdiEdit->text().isEmpty() || !kisinoedit->text().isEmpty();
}

bool EntryForm::askDrop()
{
    return dialogs().question(programTitle(), kDropQuestion, Buttons::YesNo) == Answer::Yes;
}

DataSet *EntryForm::selectedWaiting()
{
    return forms().dayLists->selectedWaiting();
}

void EntryForm::showCurrentUser()
{
    setPickerText(RKimeBox, currentUser().kullanici);
    setPickerText(RKiminAdSoyadBox, currentUser().adSoyad);
}

void EntryForm::clearBoxes(bool packageBoxes)
{
    konuMemo->clear();
    adresMemo->clear();
    for (QLineEdit *b : {RSaatiEdit, kisinoedit, AdiEdit, SoyadiEdit, Telefon1Edit, Telefon2Edit,
                         CepTelefonEdit, islemTutariEdit, randevunoEdit})
        b->clear();
    m_appointments->close();
    if (packageBoxes) {
        for (QLineEdit *b : {paketkoduEdit, paketadiEdit, primEdit})
            b->clear();
    }
    showCurrentUser();
}

void EntryForm::startNew()
{
    if (hasTypedPerson() && !askDrop())
        return;
    clearBoxes(true);
}

void EntryForm::discard()
{
    if (!askDrop())
        return;
    clearBoxes(false);
}

// ---------------------------------------------------------------- lookups

bool EntryForm::findPerson(const QString &code)
{
    const RegisteredPerson found = lumkar::findPerson(db(), code);
    m_registerRead = found.ok;
    if (!found.ok)
        dialogs().error(programTitle(), found.error);
    m_found = found.person;
    return found.found;
}

void EntryForm::showFoundPerson()
{
    AdiEdit->setText(m_found.adi);
    SoyadiEdit->setText(m_found.soyadi);
    putText(Telefon1Edit, m_found.tel1);
    putText(Telefon2Edit, m_found.tel2);
    putText(CepTelefonEdit, m_found.ceptel);
}

bool EntryForm::findPackage(int code)
{
    if (!m_packages->openWith(QStringLiteral("paketkodu = ?"), {code}))
        return false;
    return m_packages->recordCount() > 0;
}

void EntryForm::personByCode()
{
    const QString code = kisinoedit->text();
    if (code.isEmpty())
        return;
    if (!findPerson(code)) {
        if (!m_registerRead)
            return; // the register could not be read; the user was told
        if (dialogs().question(programTitle(),
                               QStringLiteral("Bu kodla kayıtlı kişi bulunamadı! Listeden "
                                              "aramak istermisiniz?"),
                               Buttons::YesNo)
            == Answer::Yes)
            personFromList();
        return;
    }
    showFoundPerson();
}

void EntryForm::personByName()
{
    if (AdiEdit->text().length() < 2) {
        dialogs().information(programTitle(),
                              QStringLiteral("En az iki karakter girmelisiniz!"));
        return;
    }
    ChosenPerson first;
    switch (forms().ozluk->findByName(AdiEdit->text(), SoyadiEdit->text(), first)) {
    case Tozluk::NameSearch::Unreadable:
        return;
    case Tozluk::NameSearch::None:
        dialogs().information(programTitle(), AdiEdit->text() + QLatin1Char(' ')
                                                  + SoyadiEdit->text()
                                                  + QStringLiteral(" isimle kayıt mevcut değil!"));
        return;
    case Tozluk::NameSearch::Found:
        break;
    }
    const QString question = first.adi + QLatin1Char(' ') + first.soyadi
        + QStringLiteral("\n\r adında kişi kaydı mevcut! Bu kaydı getirmek istermisiniz?");
    if (dialogs().question(kSelvaron, question, Buttons::YesNo) == Answer::Yes) {
        kisinoedit->setText(first.sicilKodu);
        personByCode();
    }
}

void EntryForm::personFromList(const std::function<void()> &thenDo)
{
    Tsicrapor *list = forms().sicrapor;
    if (!list->readPersons())
        return;
    if (list->personCount() == 0) {
        if (dialogs().question(kSelvaron,
                               QStringLiteral("Kişi kaydı mevcut değil! Açmak istermisiniz?"),
                               Buttons::YesNoCancel)
            == Answer::Yes)
            emit personRecordWanted();
        return;
    }
    list->choosePerson([this, thenDo](const ChosenPerson &person) {
        setEntryPerson(person);
        if (thenDo)
            thenDo();
    });
}

EntryForm::PackageLookup EntryForm::lookUpPackage()
{
    const QString text = paketkoduEdit->text();
    const std::optional<int> code = readPackageCode(text).code;
    if (text.trimmed().isEmpty() || (code && *code <= 0))
        return PackageLookup::NoCode;
    if (code && findPackage(*code))
        return PackageLookup::Found;
    if (code && !m_packages->isOpen())
        return PackageLookup::Unreadable; // the user was told
    dialogs().information(programTitle(), QStringLiteral("Paket bulunamadı!"));
    return PackageLookup::NotFound;
}

void EntryForm::packageByCode()
{
    if (lookUpPackage() != PackageLookup::Found)
        return;
    paketadiEdit->setText(m_packages->text(QStringLiteral("paketadi")));
    islemTutariEdit->setText(formats::amount(m_packages->value(QStringLiteral("tutar")).toDouble()));
    primEdit->setText(formats::amount(m_packages->value(QStringLiteral("primoran")).toDouble()));
}

void EntryForm::packageFromCatalogue()
{
    forms().paketlerF->choosePackage(
        [this](const ChosenPackage &package) { setEntryPackage(package); });
}

// ---------------------------------------------------------------- save

bool EntryForm::checkPerson()
{
    const QString code = kisinoedit->text();
    const bool found = !code.isEmpty() && findPerson(code);
    if (!code.isEmpty() && !m_registerRead)
        return false; // the register could not be read; the user was told
    if (!found) {
        if (dialogs().question(kSelvaron,
                               QStringLiteral("Girmiş olduğunuz kodun kişi kaydı mevcut değil! "
                                              "Açmak istermisiniz?"),
                               Buttons::YesNoCancel)
            != Answer::Yes)
            return false;
        forms().ozluk->startPersonFrom({{}, AdiEdit->text(), SoyadiEdit->text(),
                                        maskedText(Telefon1Edit), maskedText(Telefon2Edit),
                                        maskedText(CepTelefonEdit),
                                        memoToStored(adresMemo->toPlainText())});
        return false;
    }
    if (m_found.adi == AdiEdit->text() && m_found.soyadi == SoyadiEdit->text())
        return true;
    if (dialogs().question(kSelvaron,
                           QStringLiteral("Kişi Adı-Soyadı farklı! Aktarılmasını istermisiniz?"),
                           Buttons::YesNoCancel)
        == Answer::Yes) {
        showFoundPerson();
    }
    return false;
}

bool EntryForm::makeRoomForBooking()
{
    if (!hasTypedPerson() && randevunoEdit->text().isEmpty())
        return true;
    if (!askDrop())
        return false;
    clearBoxes(true);
    return true;
}

bool EntryForm::saveAsNew()
{
    randevunoEdit->clear();
    return save();
}

bool EntryForm::save()
{
    if (!UserRights::of(currentUser()).mayAdd) {
        dialogs().warning(programTitle(),
                          QStringLiteral("Randevu kaydetme yetkiniz yok! Randevu kaydedilmedi."));
        return false;
    }
    // The package.
    const PackageLookup package = lookUpPackage();
    if (package != PackageLookup::NoCode) {
        if (package != PackageLookup::Found)
            return false;
        paketadiEdit->setText(m_packages->text(QStringLiteral("paketadi")));
        primEdit->setText(formats::amount(m_packages->value(QStringLiteral("primoran")).toDouble()));
    }
    // The time and the date.
    if (!checkTimeBox(RSaatiEdit, dialogs()) || !checkDateBox(RTarihiEdit, dialogs()))
        return false;
    if (!checkPerson())
        return false;
    const QString refusal = bookingRefusal(entryAppointment());
    if (!refusal.isEmpty()) {
        dialogs().information(programTitle(), refusal);
        return false;
    }
    if (!writeAppointment())
        return false;
    clearBoxes(true);
    return true;
}

bool EntryForm::writeAppointment()
{
    const EntryAppointment entry = entryAppointment();
    const double rid = SayiyaCevir(entry.rid, nullptr);
    const bool change = rid > 0;
    const BookingRow row =
        bookingRow(entry, currentUser().adSoyad, QDateTime::currentDateTime(), change);
    if (!row.message.isEmpty()) {
        dialogs().error(programTitle(), row.message);
        return false;
    }

    const bool readWhenLoaded = change && m_appointments->isOpen()
        && m_appointments->recordCount() == 1
        && m_appointments->value(QStringLiteral("rid")).toLongLong() == qlonglong(rid);
    if (!readWhenLoaded
        && !m_appointments->openWith(QStringLiteral("rid = ?"), {change ? qlonglong(rid) : -1}))
        return false;
    // A change of an appointment deleted meanwhile writes nothing; the form is cleared.
    if (change && m_appointments->recordCount() == 0)
        return true;
    // A change whose pickers cannot hold its owner keeps the stored one (bookingRow).
    const QVariant owner = valueOf(row.fields, QStringLiteral("RKime"));
    const QString ownerCode = owner.isValid() ? owner.toString()
                                              : m_appointments->text(QStringLiteral("RKime"));
    if (!confirmOverlaps(ownerCode, boxDate(entry.tarih), boxTime(entry.saat),
                         change ? qlonglong(rid) : 0)) {
        if (!change)
            m_appointments->close();
        return false;
    }
    if (change)
        m_appointments->edit();
    else
        m_appointments->append();
    for (const auto &field : row.fields)
        m_appointments->setValue(field.first, field.second);
    if (!m_appointments->post()) {
        const QString cause = m_appointments->lastError().text();
        m_appointments->cancel();
        dialogs().error(programTitle(),
                        QStringLiteral("Randevu kaydedilemedi, yazdıklarınız formda duruyor. "
                                       "Neden: ")
                            + cause);
        return false;
    }
    m_appointments->close();
    forms().dayLists->readWaitingListAnew();
    return true;
}

bool EntryForm::confirmOverlaps(const QString &owner, const QDate &day, const QTime &time,
                                qlonglong rid)
{
    IniFile settings(session().filePath(PlannerSettings::fileName()));
    const int slot = PlannerSettings::read(settings).slotMinutes();
    const OverlapReading overlaps = storedOverlaps(db(), owner, day, time, slot, rid);
    if (!overlaps.error.isEmpty()) {
        dialogs().error(programTitle(),
                        QStringLiteral("Randevu kaydedilmedi: aynı saatteki randevular "
                                       "okunamadı. Neden: ")
                            + overlaps.error);
        return false;
    }
    return overlaps.others.isEmpty()
        || dialogs().question(programTitle(), overlapQuestion(overlaps.others), Buttons::YesNo)
        == Answer::Yes;
}

// ---------------------------------------------------------------- the waiting appointment

void EntryForm::loadForChange()
{
    DataSet *waiting = selectedWaiting();
    if (!waiting)
        return;
    if (hasTypedPerson() && !askDrop())
        return;
    setEntryAppointment(entryAppointmentOf(*waiting, ChangeFrom::DayView));
    DayLists *days = forms().dayLists;
    forms().randevuF->prepareForChange(days->workingDate(), days->allUsersShown());
}

void EntryForm::markHeld()
{
    DataSet *waiting = selectedWaiting();
    if (!waiting)
        return;
    // The appointment chosen now, whatever the list shows once the question is answered.
    const qlonglong rid = waiting->value(QStringLiteral("rid")).toLongLong();
    if (dialogs().question(programTitle(),
                           QStringLiteral("Bu randevuyu görüşme yapılanlara çıkarmak "
                                          "istediğinize eminmisiniz?"),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    const StateResult result = markAppointmentHeld(db(), rid, currentUser().kullanici);
    if (result.change == StateChange::Failed)
        dialogs().error(programTitle(), QStringLiteral("Randevu kaydedilemedi: ")
                                            + result.message());
    else if (result.change != StateChange::Done)
        dialogs().warning(programTitle(), result.message());
    forms().dayLists->reopenDayLists();
}

void EntryForm::cancelAppointment()
{
    DataSet *waiting = selectedWaiting();
    if (!waiting)
        return;
    forms().iptalF->openFor(waiting->value(QStringLiteral("rid")).toLongLong(),
                            waiting->text(QStringLiteral("iptalnedeni")));
}

} // namespace lumkar
