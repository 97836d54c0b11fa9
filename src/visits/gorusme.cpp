#include "visits/gorusme.h"

#include "data/asread.h"
#include "data/schema.h"

#include "accounts/cari.h"
#include "accounts/dayclose.h"
#include "accounts/ledger.h"
#include "app/userrights.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "kit/bound.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "kit/maskedit.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"
#include "app/helptopics.h"
#include "visits/visitlist.h"
#include "visits/visitposting.h"

#include <QAction>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QLineEdit *readOnlyBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QString twoDigitTime(const QVariant &value)
{
    const QTime t = value.toDateTime().time();
    return QStringLiteral("%1%2%3")
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(programRegion().time)
        .arg(t.minute(), 2, 10, QLatin1Char('0'));
}

// A number as plain text (no grouping), as the hidden premium box and "150" show it.
QString plainNumber(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text = QString::number(value.toDouble(), 'g', 15);
    text.replace(QLatin1Char('.'), programRegion().decimal);
    return text;
}

} // namespace

TgorusmeF::TgorusmeF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(s("gorusmeF"));
    setWindowTitle(s("Lumkar Vikelmo - Görüşmeler"));
    gorusmeTable = new DataSet(session.db(), this);
    gorusmeTable->setObjectName(s("gorusmeTable"));
    gorusmeTable->setQuery(visitListQuery(), s("gorusmeler"));
    gorusmeTable->readByPages({}); // the period's SQL is exact: read by pages
    randevuTable = new DataSet(session.db(), this);
    randevuTable->setObjectName(s("randevuTable"));
    randevuTable->setTable(s("randevu"));
    visitLookup = new DataSet(session.db(), this);
    visitLookup->setObjectName(s("visitLookup"));
    visitLookup->setQuery(visitListQuery(), s("gorusmeler"));
    accountLine = new DataSet(session.db(), this);
    accountLine->setObjectName(s("accountLine"));
    accountLine->setTable(s("cari"));
    auto *layout = new QVBoxLayout(this);
    buildEntry(layout);
    buildList(layout);
    new EnterAsTab(this);
    resize(1100, 700);
}

void TgorusmeF::buildEntry(QVBoxLayout *layout)
{
    auto *area = new QGroupBox(this);
    auto *grid = new QGridLayout(area);
    auto label = [area](const QString &text) { return new QLabel(text, area); };
    kaydetBut = new QPushButton(s("Kaydet"), area);
    kaydetBut->setObjectName(s("kaydetBut"));
    kaydetBut->setToolTip(s("Kaydet..."));
    kaydetBut->setFocusPolicy(Qt::NoFocus);
    kaydetBut->setAutoDefault(false);
    kapatBut = new QPushButton(s("Kapat"), area);
    kapatBut->setObjectName(s("kapatBut"));
    kapatBut->setToolTip(s("Kapat..."));
    kapatBut->setFocusPolicy(Qt::NoFocus);
    kapatBut->setAutoDefault(false);
    ralanEdit = readOnlyBox(area, s("ralanEdit"));
    ridEdit = readOnlyBox(area, s("ridEdit"));
    ridEdit->setEnabled(false);
    Label2 = new QLabel(s("........"), area);
    Label2->setObjectName(s("Label2"));
    Label17 = new QLabel(s("........"), area);
    Label17->setObjectName(s("Label17"));
    firmanoedit = readOnlyBox(area, s("firmanoedit"));
    randevunoEdit = readOnlyBox(area, s("randevunoEdit"));
    RTarihiEdit = newDateEdit(area);
    RTarihiEdit->setObjectName(s("RTarihiEdit"));
    RSaatiEdit = newTimeEdit(area);
    RSaatiEdit->setObjectName(s("RSaatiEdit"));
    konuMemo = new QPlainTextEdit(area);
    konuMemo->setObjectName(s("konuMemo"));
    konuMemo->setTabChangesFocus(true);
    gorusenBox = new QComboBox(area);
    gorusenBox->setObjectName(s("gorusenBox"));
    gorusenBox2 = new QComboBox(area);
    gorusenBox2->setObjectName(s("gorusenBox2"));
    gorusenBox2->setVisible(false);
    gorusenPickers = new PickerPair(gorusenBox2, gorusenBox, this);
    islemTutariEdit = newAmountBox(area, s("islemTutariEdit"));
    tahsiledilenEdit = newAmountBox(area, s("tahsiledilenEdit"));
    QGroupBox *payment = newPaymentChoice(area, nakitRadio, krediKartiRadio);
    VTarihiEdit = newDateEdit(area);
    VTarihiEdit->setObjectName(s("VTarihiEdit"));
    paketkoduEdit = readOnlyBox(area, s("paketkoduEdit"));
    paketadiEdit = readOnlyBox(area, s("paketadiEdit"));
    paketprimEdit = readOnlyBox(area, s("paketprimEdit"));
    paketprimEdit->setVisible(false);
    adresMemo = new QPlainTextEdit(area);
    adresMemo->setObjectName(s("adresMemo"));
    adresMemo->setVisible(false);
    attachDateRule(RTarihiEdit, dialogs());
    attachTimeRule(RSaatiEdit, dialogs());
    attachDateRule(VTarihiEdit, dialogs());

    grid->addWidget(label(s("R.Alan")), 0, 0);
    grid->addWidget(ralanEdit, 0, 1);
    grid->addWidget(label(s("No")), 0, 2);
    grid->addWidget(ridEdit, 0, 3);
    grid->addWidget(Label2, 0, 4);
    grid->addWidget(Label17, 0, 5);
    grid->addWidget(kaydetBut, 0, 6);
    grid->addWidget(kapatBut, 0, 7);
    grid->addWidget(label(s("Kişi Kodu")), 1, 0);
    grid->addWidget(firmanoedit, 1, 1);
    grid->addWidget(label(s("R.No")), 1, 2);
    grid->addWidget(randevunoEdit, 1, 3);
    grid->addWidget(label(s("G.Tarihi")), 1, 4);
    grid->addWidget(RTarihiEdit, 1, 5);
    grid->addWidget(label(s("G.Saati")), 1, 6);
    grid->addWidget(RSaatiEdit, 1, 7);
    grid->addWidget(label(s("Netice")), 2, 0, Qt::AlignTop);
    grid->addWidget(konuMemo, 2, 1, 3, 3);
    grid->addWidget(label(s("Görüşen")), 2, 4);
    grid->addWidget(gorusenBox, 2, 5);
    grid->addWidget(gorusenBox2, 2, 6);
    grid->addWidget(label(s("İşlem Tutarı")), 3, 4);
    grid->addWidget(islemTutariEdit, 3, 5);
    grid->addWidget(label(s("Tahsil Edilen")), 4, 4);
    grid->addWidget(tahsiledilenEdit, 4, 5);
    grid->addWidget(payment, 3, 6, 2, 2);
    grid->addWidget(label(s("İşlem Vadesi")), 5, 4);
    grid->addWidget(VTarihiEdit, 5, 5);
    grid->addWidget(label(s("Paket Kodu")), 5, 0);
    grid->addWidget(paketkoduEdit, 5, 1);
    grid->addWidget(label(s("Paket Adı")), 5, 2);
    grid->addWidget(paketadiEdit, 5, 3);
    grid->addWidget(paketprimEdit, 6, 0);
    grid->addWidget(adresMemo, 6, 1);
    layout->addWidget(area);

    connect(kaydetBut, &QPushButton::clicked, this, &TgorusmeF::kaydetButClick);
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    // The two buttons never take the focus from a box; from the keyboard F2 saves, as it does
    // in the main window and the person record, and F10 closes.
    auto *saveKey = new QAction(this);
    saveKey->setShortcut(QKeySequence(Qt::Key_F2));
    connect(saveKey, &QAction::triggered, this, &TgorusmeF::kaydetButClick);
    auto *closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::Key_F10));
    connect(closeKey, &QAction::triggered, this, &QWidget::hide);
    addActions({saveKey, closeKey});
}

void TgorusmeF::buildList(QVBoxLayout *layout)
{
    auto *bar = new QHBoxLayout;
    JvDateTimePicker1 = newDatePicker(this, s("JvDateTimePicker1"));
    JvDateTimePicker2 = newDatePicker(this, s("JvDateTimePicker2"));
    bar->addWidget(new QLabel(s("Başlama Tarihi"), this));
    bar->addWidget(JvDateTimePicker1);
    bar->addWidget(new QLabel(s("Bitiş Tarihi"), this));
    bar->addWidget(JvDateTimePicker2);
    makeUserBar(QString(), s("Tüm Kullanıcıların Görüşmelerini Göster"), this);
    bar->addWidget(userBar, 1);
    JvNavPanelButton8 = newButton(this, s("JvNavPanelButton8"), s("       Yenile"));
    JvNavPanelButton12 = newButton(this, s("JvNavPanelButton12"), s("DEĞİŞTİR"));
    JvNavPanelButton14 = newButton(this, s("JvNavPanelButton14"), s("YAZDIR"));
    tfXPButton1 = newHelpButton(this);
    for (QWidget *w : {static_cast<QWidget *>(JvNavPanelButton8),
                       static_cast<QWidget *>(JvNavPanelButton12),
                       static_cast<QWidget *>(JvNavPanelButton14),
                       static_cast<QWidget *>(tfXPButton1)})
        bar->addWidget(w);
    layout->addLayout(bar);

    auto *title = new QLabel(s("GÖRÜŞMELER"), this);
    title->setStyleSheet(s("QLabel { font-weight: bold; color: white; background: #2f5d8a;"
                           " padding: 3px 6px; }"));
    layout->addWidget(title);
    auto *split = new QSplitter(Qt::Horizontal, this);
    bolumgrid2 = new GridView(split);
    bolumgrid2->setObjectName(s("bolumgrid2"));
    bolumgrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const QString amount = s("#,###.00");
    bolumgrid2->setColumns(gorusmeTable,
                           {{s("mid"), s("KNo"), {}, right, 50},
                            {s("adi"), s("Adı"), {}, left, 100},
                            {s("soyadi"), s("Soyadı"), {}, left, 100},
                            {s("tarih"), s("Tarih"), s("dd.mm.yyyy"), left, 80},
                            {s("saat"), s("Saat"), s("hh:nn"), left, 50},
                            {s("paketadi"), s("Paket Adı"), {}, left, 130},
                            {s("gorusenadsoyad"), s("Görüşen"), {}, left, 120},
                            {s("islem_borcu"), s("İ.Borcu"), amount, right, 85},
                            {s("tahsiledilen"), s("Tahsilat"), amount, right, 85},
                            {s("odemesekli"), s("Ödeme Şekli"), {}, left, 85},
                            {s("bakiye"), s("Bakiye"), amount, right, 85},
                            {s("RKime"), s("R.Kime"), {}, left, 70},
                            {s("randevuyualan"), s("Randevuyu Alan"), {}, left, 120}});
    bolumgrid2->gridModel()->setRowColours(visitRowColour);
    auto *memos = new QWidget(split);
    auto *memoColumn = new QVBoxLayout(memos);
    memoColumn->setContentsMargins(0, 0, 0, 0);
    neticeMemo = new QPlainTextEdit(memos);
    neticeMemo->setObjectName(s("neticeMemo"));
    neticeMemo->setReadOnly(true);
    adresiMemo = new QPlainTextEdit(memos);
    adresiMemo->setObjectName(s("adresiMemo"));
    adresiMemo->setReadOnly(true);
    memoColumn->addWidget(new QLabel(s("Netice"), memos));
    memoColumn->addWidget(neticeMemo);
    memoColumn->addWidget(new QLabel(s("Adresi"), memos));
    memoColumn->addWidget(adresiMemo);
    bindMemo(neticeMemo, gorusmeTable, s("netice"));
    bindMemo(adresiMemo, gorusmeTable, s("adresi"));
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    GorusmePopup = new QMenu(this);
    GorusmePopup->setObjectName(s("GorusmePopup"));
    GorusmePopup->addAction(s("Değiştir"), this, &TgorusmeF::JvNavPanelButton12Click);
    GorusmePopup->addAction(s("Satır Sil"), this, &TgorusmeF::SatirSilClick);
    setPopupMenu(bolumgrid2, GorusmePopup);
    addWindowKey(this, s("yardimF1"), s("Yardım"), Qt::Key_F1, nullptr, [this] { helpClick(); });
    connect(JvNavPanelButton8, &QPushButton::clicked, this, &TgorusmeF::JvNavPanelButton8Click);
    connect(CheckBox2, &CheckBox::mouseReleased, this, &TgorusmeF::JvNavPanelButton8Click);
    connect(JvNavPanelButton12, &QPushButton::clicked, this,
            &TgorusmeF::JvNavPanelButton12Click);
    connect(JvNavPanelButton14, &QPushButton::clicked, this,
            [this] { JvNavPanelButton14Click(); });
    connect(tfXPButton1, &QToolButton::clicked, this, &TgorusmeF::helpClick);
}

bool TgorusmeF::applyListFilter()
{
    const VisitListFilter filter{JvDateTimePicker1->date(), JvDateTimePicker2->date(),
                                 CheckBox2->isChecked(), RKiminAdSoyadBox->currentText()};
    gorusmeTable->close();
    gorusmeTable->setPrefilter(filter.sqlCondition(), filter.sqlValues());
    gorusmeTable->setFilter([filter](const Record &row) { return filter.accepts(row); });
    gorusmeTable->setFiltered(true);
    // A failed read has been told; the caller stops.
    return gorusmeTable->open();
}

void TgorusmeF::reopenVisits()
{
    if (!applyListFilter())
        return;
}

void TgorusmeF::JvNavPanelButton8Click()
{
    if (!applyListFilter())
        return;
}

bool TgorusmeF::startVisit(const QVariant &rid)
{
    if (rid.isNull())
        return false;
    if (!randevuTable->openWith(s("rid = ?"), {rid}))
        return false;
    if (randevuTable->recordCount() == 0 || randevuTable->isNull(s("sicil_kodu")))
        return false;
    DataSet &a = *randevuTable;
    adresMemo->setPlainText(storedToMemo(a.text(s("adresi"))));
    RTarihiEdit->setText(formats::date(a.value(s("randevutarihi"))));
    RSaatiEdit->setText(a.isNull(s("randevusaati")) ? QString()
                                                    : twoDigitTime(a.value(s("randevusaati"))));
    Label2->setText(a.text(s("adi")));
    Label17->setText(a.text(s("soyadi")));
    firmanoedit->setText(a.text(s("sicil_kodu")));
    randevunoEdit->setText(a.text(s("rid")));
    const double price = a.value(s("islem_tutari")).toDouble();
    islemTutariEdit->setText(price > 0 ? formats::amount(price) : QString());
    setPickerText(gorusenBox2, a.text(s("RKime")));
    setPickerText(gorusenBox, a.text(s("Rkimeadsoyad")));
    ralanEdit->setText(a.text(s("randevuyualan")));
    paketkoduEdit->setText(a.text(s("paketkodu")));
    paketadiEdit->setText(a.text(s("paketadi")));
    paketprimEdit->setText(plainNumber(a.value(s("paketprim"))));
    ridEdit->clear();
    m_visitAsRead.clear();
    VTarihiEdit->clear();
    konuMemo->clear();
    tahsiledilenEdit->clear();
    // A new visit is paid in cash unless the user chooses the card.
    nakitRadio->setChecked(true);
    showNormal();
    raise();
    activateWindow();
    if (!applyListFilter())
        return false;
    return true;
}

bool TgorusmeF::loadVisit(DataSet &v, bool plainCollected)
{
    // The due date is kept in the visit's account line only.
    if (!accountLine->openWith(s("gorusme_no = ?"), {v.value(s("mid"))}))
        return false;
    VTarihiEdit->clear();
    if (accountLine->recordCount() > 0 && !accountLine->isNull(s("islem_vadesi")))
        VTarihiEdit->setText(formats::date(accountLine->value(s("islem_vadesi"))));
    (v.text(s("odemesekli")) == cardPayment() ? krediKartiRadio : nakitRadio)->setChecked(true);
    firmanoedit->setText(v.text(s("sicilkodu")));
    Label2->setText(v.text(s("adi")));
    Label17->setText(v.text(s("soyadi")));
    konuMemo->setPlainText(storedToMemo(v.text(s("netice"))));
    RTarihiEdit->setText(formats::date(v.value(s("tarih"))));
    RSaatiEdit->setText(v.isNull(s("saat")) ? QString() : twoDigitTime(v.value(s("saat"))));
    adresMemo->setPlainText(storedToMemo(v.text(s("adresi"))));
    islemTutariEdit->setText(formats::amount(v.value(s("islem_borcu")).toDouble()));
    tahsiledilenEdit->setText(plainCollected
                                  ? plainNumber(v.value(s("tahsiledilen")))
                                  : formats::amount(v.value(s("tahsiledilen")).toDouble()));
    randevunoEdit->setText(v.text(s("randevuno")));
    ralanEdit->setText(v.text(s("randevuyualan")));
    setPickerText(gorusenBox2, v.text(s("RKime")));
    setPickerText(gorusenBox, v.text(s("gorusenadsoyad")));
    ridEdit->setText(v.text(s("mid")));
    m_visitAsRead = rowAsRead(v, s("gorusmeler"));
    paketkoduEdit->setText(v.text(s("paketkodu")));
    paketadiEdit->setText(v.text(s("paketadi")));
    paketprimEdit->setText(plainNumber(v.value(s("paketprim"))));
    return true;
}

void TgorusmeF::JvNavPanelButton12Click()
{
    if (!gorusmeTable->isOpen() || gorusmeTable->recordCount() == 0
        || gorusmeTable->currentRow() < 0)
        return;
    if (!mayChangeVisit(currentUser(), gorusmeTable->text(s("gorusenadsoyad")))) {
        const QString refusal =
            s("Başka kullanıcının görüşmelerini değiştirme yetkiniz yok!!!");
        dialogs().information(programTitle(), refusal);
        return;
    }
    loadVisit(*gorusmeTable, false);
}

bool TgorusmeF::changeHeldVisit(const QVariant &mid)
{
    if (mid.isNull())
        return false;
    if (!visitLookup->openWith(s("mid = ?"), {mid}))
        return false;
    if (visitLookup->recordCount() == 0)
        return false;
    if (!gorusmeTable->isOpen() && !applyListFilter())
        return false;
    if (!loadVisit(*visitLookup, true))
        return false;
    show();
    raise();
    activateWindow();
    return true;
}

void TgorusmeF::kaydetButClick()
{
    // The completion rules run first, so a box the user has not left is read completed.
    if (!checkDateBox(RTarihiEdit, dialogs()) || !checkTimeBox(RSaatiEdit, dialogs())
        || !checkDateBox(VTarihiEdit, dialogs()))
        return;
    const QString dateText = maskedText(RTarihiEdit);
    const QString timeText = maskedText(RSaatiEdit);
    const QString dueText = maskedText(VTarihiEdit);
    const QString refusal
        = visitRefusal(firmanoedit->text(), dateText, timeText, gorusenBox->currentText());
    if (!refusal.isEmpty()) {
        dialogs().information(programTitle(), refusal);
        return;
    }
    if (dialogs().question(programTitle(),
                           s("Bu görüşmeyi kayıt etmek istediğinize eminmisiniz?"),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    VisitEntry entry;
    entry.tarih = boxDate(dateText);
    entry.saat = boxTime(timeText);
    if (!entry.tarih.isValid() || !entry.saat.isValid()) {
        dialogs().error(programTitle(),
                        s("\"%1 %2\" görüşme tarihi ve saati uygun değil! Kayıt yapılmadı.")
                            .arg(dateText, timeText));
        return;
    }
    if (SayiyaCevir(dueText, nullptr) > 1) {
        entry.vade = boxDate(dueText);
        if (!entry.vade.isValid()) {
            const QString dueRefusal = s("\"%1\" işlem vadesi uygun değil! Kayıt yapılmadı.");
            dialogs().error(programTitle(), dueRefusal.arg(dueText));
            return;
        }
    }
    if (!readAmount(islemTutariEdit, dialogs(), entry.islemBorcu)
        || !readAmount(tahsiledilenEdit, dialogs(), entry.tahsiledilen)
        || !readAmount(paketprimEdit, dialogs(), entry.paketprim))
        return;
    entry.changing = qlonglong(SayiyaCevir(ridEdit->text(), nullptr));
    entry.sicilkodu = firmanoedit->text();
    entry.adi = Label2->text();
    entry.soyadi = Label17->text();
    entry.netice = memoToStored(konuMemo->toPlainText());
    entry.adresi = memoToStored(adresMemo->toPlainText());
    bool isNumber = false;
    const qlonglong appointment = randevunoEdit->text().toLongLong(&isNumber);
    entry.randevuno = isNumber ? QVariant(appointment) : QVariant();
    entry.randevuyualan = ralanEdit->text();
    entry.rkime = gorusenBox2->currentText();
    entry.gorusenAdSoyad = gorusenBox->currentText();
    const qlonglong package = paketkoduEdit->text().toLongLong(&isNumber);
    entry.paketkodu = isNumber ? QVariant(package) : QVariant();
    entry.paketadi = paketadiEdit->text();
    entry.odemesekli = nakitRadio->isChecked() ? cashPayment() : cardPayment();
    if (entry.changing > 0)
        entry.asRead = m_visitAsRead;

    const std::optional<WriteResult> outcome = writeAcrossClosedDays(
        [&](const QDate &accepted) { return saveVisit(db(), entry, accepted); },
        UserRights::of(currentUser()).changesClosedDays, dialogs());
    // The user kept the closed day as it was: nothing was written.
    if (!outcome)
        return;
    const WriteResult &result = *outcome;
    // What the windows show is what the database holds, whether the save was kept or not.
    const QString book = visitLines(entry, 0).moneyTable;
    const bool changing = entry.changing > 0;
    reloadPostedWindows(changing || book == cashBook(), changing || book == cardBook());
    if (result.closedDay.isValid()) {
        dialogs().information(programTitle(), result.error);
        return;
    }
    if (result.refused) {
        // Changed by another desk: the typing stays, and a second save writes it over the
        // visit as it is now.
        if (!result.storedNow.isEmpty())
            m_visitAsRead = result.storedNow;
        dialogs().information(programTitle(), result.error);
        // The day's lists showed the appointment as waiting: they are read again.
        emit appointmentHeld();
        return;
    }
    if (!result.ok) {
        dialogs().error(programTitle(), result.error);
        return;
    }
    ridEdit->setText(QString::number(result.visitNumber));
    m_visitAsRead = result.written;
    if (!entry.randevuno.isNull())
        emit appointmentHeld();
    if (!applyListFilter())
        return;
}

void TgorusmeF::SatirSilClick()
{
    if (!gorusmeTable->isOpen() && !applyListFilter())
        return;
    if (gorusmeTable->recordCount() == 0 || gorusmeTable->currentRow() < 0)
        return;
    if (!mayChangeVisit(currentUser(), gorusmeTable->text(s("gorusenadsoyad")))) {
        dialogs().information(programTitle(),
                              s("Başka kullanıcının görüşmelerini silme yetkiniz yok!!!"));
        return;
    }
    // The visit under the cursor now, whatever happens to the list while the question shows.
    const qlonglong visit = gorusmeTable->value(s("mid")).toLongLong();
    const QVariant appointment = gorusmeTable->value(s("randevuno"));
    const RowValues asRead = rowAsRead(*gorusmeTable, s("gorusmeler"));
    if (dialogs().question(programTitle(), s("Bu görüşmeyi silmek istediğinize eminmisiniz?"),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    const std::optional<WriteResult> outcome = writeAcrossClosedDays(
        [&](const QDate &accepted) {
            return deleteVisit(db(), visit, appointment, asRead, accepted);
        },
        UserRights::of(currentUser()).changesClosedDays, dialogs());
    if (!outcome)
        return;
    reloadPostedWindows(true, true);
    if (!outcome->ok) {
        tellNotWritten(dialogs(), outcome->refused, outcome->error);
        return;
    }
    if (!applyListFilter())
        return;
}

void TgorusmeF::reloadPostedWindows(bool cash, bool card)
{
    if (cash)
        forms().kasaF->reloadRows();
    if (card)
        forms().kkartF->reloadRows();
    forms().cariF->reloadRows();
}

ReportPreview *TgorusmeF::JvNavPanelButton14Click()
{
    reports::Report report(reports::layouts::gorusme(s("frReport5")));
    report.setUserName(currentUser().adSoyad);
    report.setText(s("Memo5"), CheckBox2->isChecked()
                                   ? s("KISITLAMA: TÜM KULLANICILAR")
                                   : s("KISITLAMA: ") + RKiminAdSoyadBox->currentText());
    return ReportPreview::printReport(report, {{reports::layouts::singleLink(), gorusmeTable}},
                                      s("Lumkar Rapor Önizleme - Görüşülen Randevular"),
                                      dialogs(), this);
}

void TgorusmeF::helpClick()
{
    forms().help->openTopic(s("ygorusme"));
}

void TgorusmeF::fitToUser(const LoggedInUser &user)
{
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
    setPickerItems(gorusenBox2, user.users.codes);
    setPickerItems(gorusenBox, user.users.names);
}

} // namespace lumkar
