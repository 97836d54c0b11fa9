#include "accounts/ledger.h"

#include "accounts/accountfilters.h"
#include "accounts/bookwrites.h"
#include "accounts/dayclose.h"
#include "data/asread.h"
#include "app/userrights.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "data/moneytotals.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

QString postedLineRefusal(const QVariant &gorusmeNo, const QVariant &tahsilatNo)
{
    if (gorusmeNo.toLongLong() > 0)
        return s("Bu satır bir görüşmeden gelmektedir; görüşme listesinden değiştirin.");
    if (tahsilatNo.toLongLong() > 0)
        return s("Bu satır bir tahsilattan gelmektedir; kişinin borç-alacak hesabından "
                 "değiştirin.");
    return QString();
}

LedgerWindow::LedgerWindow(const LedgerBook &book, Forms &forms, Session &session)
    : FormContext(forms, session), m_book(book)
{
    setObjectName(book.objectName);
    setWindowTitle(book.caption);
    ledgerTable = new DataSet(session.db(), this);
    ledgerTable->setObjectName(book.dataSetName);
    ledgerTable->setTable(book.table);
    ledgerTable->readByPages({}); // the period's SQL is exact: read by pages
    buildWindow();
}

void LedgerWindow::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *period = new QHBoxLayout;
    DateTimePicker61 = newDatePicker(this, s("DateTimePicker61"));
    DateTimePicker1 = newDatePicker(this, s("DateTimePicker1"));
    period->addWidget(new QLabel(s("İlk Tarih"), this));
    period->addWidget(DateTimePicker61);
    period->addWidget(new QLabel(s("Son Tarih"), this));
    period->addWidget(DateTimePicker1);
    makeUserBar(m_book.userLabel, m_book.allUsersCaption, this);
    period->addWidget(userBar, 1);
    BitBtn2 = newButton(this, s("BitBtn2"), s("BİLGİLERİ YÜKLE"));
    BitBtn28 = newButton(this, s("BitBtn28"), s("YAZDIR"));
    kapatBut = newButton(this, s("kapatBut"), s("Kapat"), s("Kapat..."));
    period->addWidget(BitBtn2);
    period->addWidget(BitBtn28);
    period->addWidget(kapatBut);
    layout->addLayout(period);

    bolumgrid2 = new GridView(this);
    bolumgrid2->setObjectName(s("bolumgrid2"));
    bolumgrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    bolumgrid2->setColumns(ledgerTable,
                           {{s("tarih"), s("Tarih"), s("dd.mm.yyyy"), left, 85},
                            {s("aciklama"), s("Açıklama"), {}, left, 300},
                            {s("borc"), s("Borç"), s("#,###.00"), right, 100},
                            {s("alacak"), s("Alacak"), s("#,###.00"), right, 100},
                            {s("gorusen"), s("İşlem Yapan"), {}, left, 150},
                            {s("paketadi"), s("Paket"), {}, left, 160}});
    layout->addWidget(bolumgrid2, 1);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(s("PopupMenu1"));
    PopupMenu1->addAction(s("Sil"), this, &LedgerWindow::deleteMovement);
    setPopupMenu(bolumgrid2, PopupMenu1);

    auto *bottom = new QHBoxLayout;
    auto *outflow = new QFormLayout;
    tahsiledilenEdit = newAmountBox(this, s("tahsiledilenEdit"));
    DateTimePicker2 = newDatePicker(this, s("DateTimePicker2"));
    paketadiEdit = new QLineEdit(this);
    paketadiEdit->setObjectName(s("paketadiEdit"));
    paketadiEdit->setMaxLength(100);
    BitBtn6 = newButton(this, s("BitBtn6"), s("KAYDET"));
    outflow->addRow(s("Kasa Çıkışı"), tahsiledilenEdit);
    outflow->addRow(s("İşlem Tarihi"), DateTimePicker2);
    outflow->addRow(s("Açıklama"), paketadiEdit);
    outflow->addRow(QString(), BitBtn6);
    bottom->addLayout(outflow, 1);
    auto *figures = new QFormLayout;
    nakliyekunEdit = newFigureBox(this, s("nakliyekunEdit"));
    tahsilatEdit = newFigureBox(this, s("tahsilatEdit"));
    odemeEdit = newFigureBox(this, s("odemeEdit"));
    kasabakiyeEdit = newFigureBox(this, s("kasabakiyeEdit"));
    balanceLabel = new QLabel(m_book.balanceLabel, this);
    figures->addRow(s("Nakli Yekün"), nakliyekunEdit);
    figures->addRow(s("Dönem Tahsilatı"), tahsilatEdit);
    figures->addRow(s("Dönem Ödeme"), odemeEdit);
    figures->addRow(balanceLabel, kasabakiyeEdit);
    bottom->addLayout(figures);
    layout->addLayout(bottom);

    connect(BitBtn2, &QPushButton::clicked, this, &LedgerWindow::BitBtn2Click);
    connect(BitBtn6, &QPushButton::clicked, this, &LedgerWindow::BitBtn6Click);
    connect(BitBtn28, &QPushButton::clicked, this, [this] { BitBtn28Click(); });
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    new EnterAsTab(this);
    resize(900, 600);
}

void LedgerWindow::openBook()
{
    if (!m_carriedOverRead)
        nakliyekun();
    if (!ledgerTable->isOpen())
        toplamal();
}

void LedgerWindow::nakliyekun()
{
    const moneytotals::Sums sums =
        moneytotals::before(db(), m_book.table, DateTimePicker61->date(),
                            CheckBox2->isChecked(), RKimeBox->currentText());
    if (!sums.ok) {
        dialogs().error(programTitle(), sums.error);
        return;
    }
    m_carriedOverRead = true;
    nakliyekunEdit->setText(formats::amount(sums.borc - sums.alacak));
}

void LedgerWindow::toplamal()
{
    const LedgerFilter filter{DateTimePicker61->date(), DateTimePicker1->date(),
                              CheckBox2->isChecked(), RKimeBox->currentText()};
    ledgerTable->close();
    ledgerTable->setPrefilter(filter.sqlCondition(), filter.sqlValues());
    ledgerTable->setFilter([filter](const Record &row) { return filter.accepts(row); });
    ledgerTable->setFiltered(true);
    if (!ledgerTable->open())
        return;
    const moneytotals::Sums sums = ledgerSums(db(), m_book.table, filter);
    if (!sums.ok) {
        dialogs().error(programTitle(), sums.error);
        return;
    }
    ledgerTable->last();
    odemeEdit->setText(formats::amountTotal(sums.alacak));
    tahsilatEdit->setText(formats::amountTotal(sums.borc));
    const double carried = SayiyaCevir(nakliyekunEdit->text(), nullptr);
    kasabakiyeEdit->setText(formats::amountTotal(carried + sums.borc - sums.alacak));
}

void LedgerWindow::BitBtn2Click()
{
    nakliyekun();
    toplamal();
}

void LedgerWindow::BitBtn6Click()
{
    if (dialogs().question(programTitle(), m_book.outflowQuestion, Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    OutflowEntry entry{m_book.table, DateTimePicker2->date(), 0, paketadiEdit->text(),
                       RKimeBox->currentText(), RKiminAdSoyadBox->currentText()};
    if (!readAmount(tahsiledilenEdit, dialogs(), entry.amount))
        return;
    const std::optional<BookWriteResult> outcome = writeAcrossClosedDays(
        [&](const QDate &accepted) { return writeOutflow(db(), entry, accepted); },
        UserRights::of(currentUser()).changesClosedDays, dialogs());
    if (!outcome)
        return;
    if (!outcome->ok) {
        tellNotWritten(dialogs(), outcome->refused, outcome->error);
        return;
    }
    tahsiledilenEdit->clear();
    paketadiEdit->clear();
    DateTimePicker2->setDate(QDate::currentDate());
    nakliyekun();
    toplamal();
}

void LedgerWindow::deleteMovement()
{
    if (!ledgerTable->isOpen() || ledgerTable->recordCount() == 0
        || ledgerTable->currentRow() < 0)
        return;
    const QString refusal =
        postedLineRefusal(ledgerTable->value(s("gorusme_no")), ledgerTable->value(s("tahsilatno")));
    if (!refusal.isEmpty()) {
        dialogs().information(programTitle(), refusal);
        return;
    }
    // The movement under the cursor now, whatever happens to the list while the question shows.
    const QVariant kid = ledgerTable->value(s("kid"));
    const RowValues asRead = rowAsRead(*ledgerTable, m_book.table);
    if (dialogs().question(programTitle(), m_book.deleteQuestion, Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    const std::optional<BookWriteResult> outcome = writeAcrossClosedDays(
        [&](const QDate &accepted) { return removeMovement(db(), m_book.table, kid, asRead, accepted); },
        UserRights::of(currentUser()).changesClosedDays, dialogs());
    if (!outcome)
        return;
    if (!outcome->ok)
        tellNotWritten(dialogs(), outcome->refused, outcome->error);
    nakliyekun();
    toplamal();
}

void LedgerWindow::reloadRows()
{
    if (ledgerTable->isOpen() && !ledgerTable->reopen())
        return;
}

ReportPreview *LedgerWindow::BitBtn28Click()
{
    nakliyekun();
    toplamal();
    reports::Report report(reports::layouts::byName(m_book.reportUnit + s(".frReport5")));
    report.setUserName(currentUser().adSoyad);
    const QString format = s("dd.MM.yyyy");
    report.setText(s("Memo1"), DateTimePicker61->date().toString(format) + s(" - ")
                                   + DateTimePicker1->date().toString(format)
                                   + m_book.titleSuffix);
    report.setText(s("Memo6"), nakliyekunEdit->text());
    report.setText(s("Memo9"), tahsilatEdit->text());
    report.setText(s("Memo10"), odemeEdit->text());
    report.setText(s("Memo15"), kasabakiyeEdit->text());
    report.setText(s("Memo17"), CheckBox2->isChecked()
                                    ? s("TÜM KULLANICILARA AİT RAPOR")
                                    : s("RAPOR : ") + RKiminAdSoyadBox->currentText());
    return ReportPreview::printReport(report, {{reports::layouts::singleLink(), ledgerTable}},
                                      m_book.previewTitle, dialogs(), this);
}

TkasaF::TkasaF(Forms &forms, Session &session)
    : LedgerWindow({s("kasaF"), s("Lumkar Vikelmo - Kasa İşlemleri"), s("kasa"), s("kasaTable"),
                    s("Kullanıcının Kasası"), s("Tüm Kullanıcıların Kasalarını Göster"),
                    s("Kasa Mevcudu"),
                    s("Bu kasa çıkışını kayıt etmek istediğinize eminmisiniz?"),
                    s("Bu kasa hareketini silmek istediğinize eminmisiniz?"),
                    s(" KASA HAREKETLERİ"), s("Lumkar Rapor Önizleme - Kasa"), s("kasa")},
                   forms, session)
{
}

TkkartF::TkkartF(Forms &forms, Session &session)
    : LedgerWindow({s("kkartF"), s("Lumkar Vikelmo - Kredi Kartı İşlemleri"), s("kredikart"),
                    s("kkartTable"), s("Kullanıcının Kredi Kartı"),
                    s("Tüm Kullanıcıların Kredi Kartlarını Göster"), s("KK Mevcudu"),
                    s("Bu kredi kartı çıkışını kayıt etmek istediğinize eminmisiniz?"),
                    s("Bu kredi kartı hareketini silmek istediğinize eminmisiniz?"),
                    s(" KREDİ KARTI HAREKETLERİ"), s("Lumkar Rapor Önizleme - Kredi Kartı"),
                    s("kkart")},
                   forms, session)
{
}

void LedgerWindow::fitToUser(const LoggedInUser &user)
{
    // The code picker keeps every user: only the name picker is limited.
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone, true);
}

} // namespace lumkar
