#include "accounts/primrapor.h"

#include "accounts/commissions.h"
#include "app/userrights.h"
#include "data/formats.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QLabel *listTitle(const QString &text, QWidget *parent)
{
    auto *title = new QLabel(text, parent);
    title->setStyleSheet(s("QLabel { font-weight: bold; color: white; background: #2f5d8a;"
                           " padding: 3px 6px; }"));
    return title;
}

} // namespace

TprimF::TprimF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(s("primF"));
    setWindowTitle(s("Lumkar Vikelmo - Prim Raporu"));
    primTable = new DataSet(session.db(), this);
    primTable->setObjectName(s("primTable"));
    toplamTable = new DataSet(session.db(), this);
    toplamTable->setObjectName(s("toplamTable"));
    buildWindow();
}

void TprimF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    JvDateTimePicker1 = newDatePicker(this, s("JvDateTimePicker1"));
    JvDateTimePicker2 = newDatePicker(this, s("JvDateTimePicker2"));
    // The month so far.
    const QDate today = QDate::currentDate();
    JvDateTimePicker1->setDate(QDate(today.year(), today.month(), 1));
    bar->addWidget(new QLabel(s("Başlama Tarihi"), this));
    bar->addWidget(JvDateTimePicker1);
    bar->addWidget(new QLabel(s("Bitiş Tarihi"), this));
    bar->addWidget(JvDateTimePicker2);
    makeUserBar(s("Kullanıcı"), s("Tüm Kullanıcıların Primlerini Göster"), this);
    bar->addWidget(userBar, 1);
    yukleBut = newButton(this, s("yukleBut"), s("BİLGİLERİ YÜKLE"));
    yazBut = newButton(this, s("yazBut"), s("YAZDIR"));
    kapatBut = newButton(this, s("kapatBut"), s("Kapat"), s("Kapat..."));
    bar->addWidget(yukleBut);
    bar->addWidget(yazBut);
    bar->addWidget(kapatBut);
    layout->addLayout(bar);
    auto *basis = new QLabel(commissionBasisText(), this);
    basis->setObjectName(s("hesapLabel"));
    basis->setWordWrap(true);
    layout->addWidget(basis);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    const QString amount = s("#,###.00");
    layout->addWidget(listTitle(s("GÖRÜŞMELER VE PRİMLERİ"), this));
    primGrid = new GridView(this);
    primGrid->setObjectName(s("primGrid"));
    primGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    primGrid->setColumns(primTable,
        { { s("tarih"), s("Tarih"), s("dd.mm.yyyy"), left, 80 },
            { s("gorusenadsoyad"), s("Görüşen"), {}, left, 130 },
            { s("adi"), s("Adı"), {}, left, 100 }, { s("soyadi"), s("Soyadı"), {}, left, 100 },
            { s("paketadi"), s("Paket Adı"), {}, left, 150 },
            { s("paketprim"), s("Prim Oranı %"), amount, right, 90 },
            { s("islem_borcu"), s("İşlem Tutarı"), amount, right, 95 },
            { s("tahsiledilen"), s("Tahsil Edilen"), amount, right, 95 },
            { s("prim"), s("Prim"), amount, right, 90 } });
    layout->addWidget(primGrid, 3);
    layout->addWidget(listTitle(s("KULLANICI TOPLAMLARI"), this));
    toplamGrid = new GridView(this);
    toplamGrid->setObjectName(s("toplamGrid"));
    toplamGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    toplamGrid->setColumns(toplamTable,
        { { s("gorusenadsoyad"), s("Görüşen"), {}, left, 180 },
            { s("gorusmesayisi"), s("Görüşme Sayısı"), {}, centre, 110 },
            { s("islem_borcu"), s("İşlem Tutarı"), amount, right, 110 },
            { s("tahsiledilen"), s("Tahsil Edilen"), amount, right, 110 },
            { s("prim"), s("Prim"), amount, right, 110 } });
    layout->addWidget(toplamGrid, 1);

    auto *totals = new QHBoxLayout;
    auto total = [this, totals](const QString &name, const QString &caption) {
        QLineEdit *box = newFigureBox(this, name);
        totals->addWidget(new QLabel(caption, this));
        totals->addWidget(box);
        return box;
    };
    totals->addStretch();
    gorusmeSayisiEdit = total(s("gorusmeSayisiEdit"), s("Görüşme Sayısı"));
    islemTutariEdit = total(s("islemTutariEdit"), s("İşlem Tutarı"));
    tahsilEdit = total(s("tahsilEdit"), s("Tahsil Edilen"));
    primEdit = total(s("primEdit"), s("Toplam Prim"));
    layout->addLayout(totals);

    connect(yukleBut, &QPushButton::clicked, this, &TprimF::yukleButClick);
    connect(yazBut, &QPushButton::clicked, this, [this] { yazButClick(); });
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    new EnterAsTab(this);
    resize(1100, 700);
}

void TprimF::openReport()
{
    yukleButClick();
}

void TprimF::yukleButClick()
{
    // A failed read has been told; the figures stay as they were.
    (void)readReport();
}

bool TprimF::readReport()
{
    const CommissionFilter filter { JvDateTimePicker1->date(), JvDateTimePicker2->date(),
        CheckBox2->isChecked(), RKimeBox->currentText() };
    primTable->setQuery(commissionLinesQuery(filter));
    toplamTable->setQuery(commissionTotalsQuery(filter));
    if (!primTable->openBound(filter.values()) || !toplamTable->openBound(filter.values()))
        return false;
    const CommissionTotals sum = sumCommissionTotals(*toplamTable);
    gorusmeSayisiEdit->setText(QString::number(sum.visits));
    islemTutariEdit->setText(formats::amountTotal(sum.charged));
    tahsilEdit->setText(formats::amountTotal(sum.collected));
    primEdit->setText(formats::amountTotal(sum.commission));
    return true;
}

ReportPreview *TprimF::yazButClick()
{
    if (!readReport())
        return nullptr;
    reports::Report report(reports::layouts::prim(s("frReport1")));
    report.setUserName(currentUser().adSoyad);
    const QString format = s("dd.MM.yyyy");
    report.setText(s("Memo5"),
        JvDateTimePicker1->date().toString(format) + s(" - ")
            + JvDateTimePicker2->date().toString(format) + s(" PRİM RAPORU, ")
            + (CheckBox2->isChecked() ? s("TÜM KULLANICILAR") : RKiminAdSoyadBox->currentText()));
    report.setText(s("Memo6"), gorusmeSayisiEdit->text());
    report.setText(s("Memo9"), islemTutariEdit->text());
    report.setText(s("Memo10"), tahsilEdit->text());
    report.setText(s("Memo14"), primEdit->text());
    report.setText(s("Memo20"), commissionBasisText());
    return ReportPreview::printReport(report,
        { { reports::layouts::singleLink(), primTable },
            { reports::layouts::userTotalsLink(), toplamTable } },
        s("Lumkar Rapor Önizleme - Prim Raporu"), dialogs(), this);
}

void TprimF::fitToUser(const LoggedInUser &user)
{
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
}

} // namespace lumkar
