#include "accounts/cari.h"

#include "accounts/accountfilters.h"
#include "accounts/collection.h"
#include "accounts/dayclose.h"
#include "accounts/ledger.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "persons/perozluk.h"
#include "persons/personlookup.h"
#include "persons/sicilrapor.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"
#include "app/helptopics.h"
#include "app/userrights.h"

#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// The account lines with the balance of every line.
const char *kAccountQuery =
    "SELECT *, COALESCE(borc, 0) - COALESCE(alacak, 0) AS bakiye FROM cari ORDER BY mid";

} // namespace

TcariF::TcariF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(s("cariF"));
    setWindowTitle(s("Lumkar Vikelmo - Kişiler Borç-Alacak Raporları ve Tahsilat"));
    cariTable = new DataSet(session.db(), this);
    cariTable->setObjectName(s("cariTable"));
    cariTable->setQuery(s(kAccountQuery), s("cari"));
    cariTable->readByPages({}); // the filter's SQL is exact: read by pages
    buildWindow();
}

void TcariF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto box = [this](const QString &name, int maxLength) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(maxLength);
        return edit;
    };
    auto *top = new QGridLayout;
    kisinoedit = box(s("kisinoedit"), 16);
    AdiEdit = box(s("AdiEdit"), 30);
    SoyadiEdit = box(s("SoyadiEdit"), 40);
    top->addWidget(new QLabel(s("Kodu"), this), 0, 0);
    top->addWidget(kisinoedit, 0, 1);
    top->addWidget(new QLabel(s("Adı"), this), 0, 2);
    top->addWidget(AdiEdit, 0, 3);
    top->addWidget(new QLabel(s("Soyadı"), this), 0, 4);
    top->addWidget(SoyadiEdit, 0, 5);
    firmakoduBox = new CheckBox(s("Kodu Sınırla"), this);
    firmakoduBox->setObjectName(s("firmakoduBox"));
    firmaadiBox = new CheckBox(s("Adı Soyadı Sınırla"), this);
    firmaadiBox->setObjectName(s("firmaadiBox"));
    tarihBox = new CheckBox(s("Tarihler Arası Sınırla"), this);
    tarihBox->setObjectName(s("tarihBox"));
    tarihBox->setChecked(true);
    JvDateTimePicker1 = newDatePicker(this, s("JvDateTimePicker1"));
    JvDateTimePicker2 = newDatePicker(this, s("JvDateTimePicker2"));
    top->addWidget(firmakoduBox, 1, 0, 1, 2);
    top->addWidget(firmaadiBox, 1, 2, 1, 2);
    top->addWidget(tarihBox, 1, 4, 1, 2);
    top->addWidget(new QLabel(s("Başlama Tarihi"), this), 2, 0);
    top->addWidget(JvDateTimePicker1, 2, 1);
    top->addWidget(new QLabel(s("Bitiş Tarihi"), this), 2, 2);
    top->addWidget(JvDateTimePicker2, 2, 3);
    yenileBut = newButton(this, s("yenileBut"), s("Yenile"), s("Yenile..."));
    yazBut = newButton(this, s("yazBut"), s("Yazdır"), s("Yazdır..."));
    kapatBut = newButton(this, s("kapatBut"), s("Kapat"), s("Kapat..."));
    tfXPButton1 = newHelpButton(this);
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(yenileBut), static_cast<QWidget *>(yazBut),
                       static_cast<QWidget *>(tfXPButton1), static_cast<QWidget *>(kapatBut)})
        buttons->addWidget(w);
    top->addLayout(buttons, 2, 4, 1, 2);
    layout->addLayout(top);

    JvDBUltimGrid1 = new GridView(this);
    JvDBUltimGrid1->setObjectName(s("JvDBUltimGrid1"));
    JvDBUltimGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const QString amount = s("#,###.00");
    const QString day = s("dd.mm.yyyy");
    JvDBUltimGrid1->setColumns(cariTable, {{s("sicilkodu"), s("Kodu"), {}, left, 60},
                                           {s("adi"), s("Adı"), {}, left, 100},
                                           {s("soyadi"), s("Soyadı"), {}, left, 100},
                                           {s("tarih"), s("Tarih"), day, left, 80},
                                           {s("paketadi"), s("Paket Adı"), {}, left, 140},
                                           {s("borc"), s("Borç"), amount, right, 90},
                                           {s("alacak"), s("Alacak"), amount, right, 90},
                                           {s("odemesekli"), s("Ödeme Ş."), {}, left, 80},
                                           {s("bakiye"), s("Bakiye"), amount, right, 90},
                                           {s("islem_vadesi"), s("Vadesi"), day, left, 80},
                                           {s("gorusen"), s("Görüşen"), {}, left, 120},
                                           {s("randevuyualan"), s("Randevuyu Alan"), {}, left,
                                            120}});
    layout->addWidget(JvDBUltimGrid1, 1);

    auto *bottom = new QHBoxLayout;
    auto *collection = new QGroupBox(s("Tahsilat"), this);
    auto *form = new QFormLayout(collection);
    JvDateTimePicker3 = newDatePicker(collection, s("JvDateTimePicker3"));
    JvDateTimePicker4 = newDatePicker(collection, s("JvDateTimePicker4"));
    tahsiledilenEdit = newAmountBox(collection, s("tahsiledilenEdit"));
    QGroupBox *payment = newPaymentChoice(collection, nakitRadio, krediKartiRadio);
    tahsilBut = new QPushButton(s("Tahsilat Ekle"), collection);
    tahsilBut->setObjectName(s("tahsilBut"));
    tahsilBut->setAutoDefault(false);
    form->addRow(s("İşlem Tarihi"), JvDateTimePicker3);
    form->addRow(s("İşlem Vadesi"), JvDateTimePicker4);
    form->addRow(s("Tahsil Edilen"), tahsiledilenEdit);
    form->addRow(payment);
    form->addRow(tahsilBut);
    bottom->addWidget(collection);
    bottom->addStretch();
    auto *totals = new QFormLayout;
    borcEdit = newFigureBox(this, s("borcEdit"));
    alacakEdit = newFigureBox(this, s("alacakEdit"));
    bakiyeEdit = newFigureBox(this, s("bakiyeEdit"));
    totals->addRow(s("Borç"), borcEdit);
    totals->addRow(s("Alacak"), alacakEdit);
    totals->addRow(s("Bakiye"), bakiyeEdit);
    bottom->addLayout(totals);
    layout->addLayout(bottom);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(s("PopupMenu1"));
    PopupMenu1->addAction(s("Tahsilat Ekle"), this, &TcariF::tahsilButClick);
    setPopupMenu(JvDBUltimGrid1, PopupMenu1);
    addWindowKey(this, s("yardimF1"), s("Yardım"), Qt::Key_F1, nullptr, [this] { helpClick(); });

    for (CheckBox *criterion : {firmakoduBox, firmaadiBox, tarihBox}) {
        connect(criterion, &CheckBox::mouseReleased, this,
                [this, criterion] { keepOneCriterion(criterion); });
        connect(criterion, &CheckBox::focusLeft, this,
                [this, criterion] { keepOneCriterion(criterion); });
    }
    for (QLineEdit *person : {kisinoedit, AdiEdit, SoyadiEdit})
        person->installEventFilter(this);
    connect(yenileBut, &QPushButton::clicked, this, &TcariF::yenileButClick);
    connect(yazBut, &QPushButton::clicked, this, [this] { yazButClick(); });
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    connect(tahsilBut, &QPushButton::clicked, this, &TcariF::tahsilButClick);
    connect(tfXPButton1, &QToolButton::clicked, this, &TcariF::helpClick);
    new EnterAsTab(this);
    resize(1000, 640);
}

bool TcariF::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == kisinoedit || watched == AdiEdit || watched == SoyadiEdit)) {
        openPersonList();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TcariF::keepOneCriterion(CheckBox *chosen)
{
    if (!chosen->isChecked())
        return;
    for (CheckBox *other : {firmakoduBox, firmaadiBox, tarihBox})
        if (other != chosen)
            other->setChecked(false);
}

bool TcariF::applyFilter()
{
    m_filter = AccountFilter{firmakoduBox->isChecked(),
                               firmaadiBox->isChecked(),
                               tarihBox->isChecked(),
                               kisinoedit->text(),
                               AdiEdit->text(),
                               SoyadiEdit->text(),
                               JvDateTimePicker1->date(),
                               JvDateTimePicker2->date()};
    const AccountFilter &filter = m_filter;
    cariTable->close();
    cariTable->setPrefilter(filter.sqlCondition(), filter.sqlValues());
    cariTable->setFilter([filter](const Record &row) { return filter.accepts(row); });
    cariTable->setFiltered(true);
    // A failed read has been told; the caller stops.
    return cariTable->open();
}

void TcariF::openAccounts()
{
    if (!cariTable->isOpen() && !applyFilter())
        return;
    ToplamAl();
}

void TcariF::yenileButClick()
{
    if (!applyFilter())
        return;
    ToplamAl();
}

void TcariF::setAccountPerson(const QString &code, const QString &adi, const QString &soyadi)
{
    kisinoedit->setText(code);
    AdiEdit->setText(adi);
    SoyadiEdit->setText(soyadi);
    if (!applyFilter())
        return;
    ToplamAl();
}

void TcariF::reloadRows()
{
    // A failed read has been told; the lines shown stay as they were.
    if (cariTable->isOpen() && !cariTable->reopen())
        return;
}

void TcariF::ToplamAl()
{
    const moneytotals::Sums sums = accountSums(db(), m_filter);
    if (!sums.ok) {
        dialogs().error(programTitle(), sums.error);
        return;
    }
    cariTable->first();
    borcEdit->setText(formats::amountTotal(sums.borc));
    alacakEdit->setText(formats::amountTotal(sums.alacak));
    bakiyeEdit->setText(formats::amountTotal(sums.borc - sums.alacak));
    raporIlkTarih = accountDate(JvDateTimePicker1->date());
    raporSonTarih = accountDate(JvDateTimePicker2->date());
    if (!firmaadiBox->isChecked() && !firmakoduBox->isChecked()) {
        raporTuru = s("tarih");
        return;
    }
    raporTuru = s("firma");
    const bool any = cariTable->recordCount() > 0;
    if (any)
        AdiEdit->setText(cariTable->text(s("adi")));
    SoyadiEdit->setText(any ? cariTable->text(s("soyadi")) : QString());
    raporAdi = AdiEdit->text();
    raporSoyadi = SoyadiEdit->text();
}

void TcariF::tahsilButClick()
{
    double typed = 0;
    if (!readAmount(tahsiledilenEdit, dialogs(), typed))
        return;
    if (typed < 0.01)
        return;
    const QString code = kisinoedit->text();
    if (code.isEmpty()) {
        dialogs().information(programTitle(),
                              s("Tahsilat için kişi girmelisiniz. Kayıt yapılmadı"));
        return;
    }
    const RegisteredPerson person = findPerson(db(), code);
    if (!person.ok) {
        dialogs().error(programTitle(), person.error);
        return;
    }
    if (!person.found) {
        dialogs().information(programTitle(), s("Kişi Kaydı Bulunamadı. Kayıt yapılamadı."));
        return;
    }
    AdiEdit->setText(person.person.adi);
    SoyadiEdit->setText(person.person.soyadi);
    CollectionEntry entry;
    entry.sicilkodu = code;
    entry.adi = person.person.adi;
    entry.soyadi = person.person.soyadi;
    entry.amount = roundToCents(typed);
    entry.islemTarihi = JvDateTimePicker3->date();
    entry.islemVadesi = JvDateTimePicker4->date();
    entry.odemesekli = nakitRadio->isChecked() ? s("Nakit") : s("Kredi Kartı");
    entry.userCode = currentUser().kullanici;
    entry.userName = currentUser().adSoyad;
    const QVariant rowDate = cariTable->isOpen() && cariTable->recordCount() > 0
        ? cariTable->value(s("tarih"))
        : QVariant();
    if (dialogs().question(programTitle(), collectionQuestion(entry, rowDate),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    QString description;
    if (!dialogs().input(s("Açıklama Girişi"), s("Açıklama"), description))
        description.clear();
    entry.aciklama = description;
    if (!(entry.amount > 0))
        return;
    const std::optional<CollectionResult> outcome = writeAcrossClosedDays(
        [&](const QDate &accepted) { return writeCollection(db(), entry, accepted); },
        UserRights::of(currentUser()).changesClosedDays, dialogs());
    // The user kept the closed day as it was: nothing was written.
    if (!outcome)
        return;
    const CollectionResult &result = *outcome;
    // What the windows show is what the database holds, written or not.
    LedgerWindow *book = collectionBook(entry.odemesekli) == cashBook()
        ? static_cast<LedgerWindow *>(forms().kasaF)
        : static_cast<LedgerWindow *>(forms().kkartF);
    book->reloadRows();
    if (!result.ok) {
        reloadRows();
        tellNotWritten(dialogs(), result.refused, result.error);
        return;
    }
    if (cariTable->isOpen())
        reloadRows();
    else if (!applyFilter())
        return;
    ToplamAl();
}

void TcariF::openPersonList()
{
    Tsicrapor *list = forms().sicrapor;
    if (!list->readPersons())
        return;
    if (list->personCount() > 0) {
        if (!forms().ozluk->openRegister())
            return;
        list->choosePerson([this](const ChosenPerson &person) {
            setAccountPerson(person.sicilKodu, person.adi, person.soyadi);
        });
        return;
    }
    const QString question = s("Kişi kaydı mevcut değil! Açmak istermisiniz?");
    if (dialogs().question(s("Lumkar Selvaron"), question, Buttons::YesNoCancel) == Answer::Yes)
        emit newPersonWanted();
}

ReportPreview *TcariF::yazButClick()
{
    if (!applyFilter())
        return nullptr;
    ToplamAl();
    const bool byDates = raporTuru == s("tarih");
    reports::Report report(reports::layouts::cari(byDates ? s("frReport5") : s("frReport1")));
    report.setUserName(currentUser().adSoyad);
    const QString heading = byDates
        ? QString(raporIlkTarih + s("-") + raporSonTarih + s(" TARİHLERİ ARASI"))
        : QString(raporAdi + s(" ") + raporSoyadi);
    report.setText(s("Memo5"), heading);
    report.setText(s("Memo6"), borcEdit->text());
    report.setText(s("Memo9"), alacakEdit->text());
    report.setText(s("Memo14"), bakiyeEdit->text());
    return ReportPreview::printReport(report, {{reports::layouts::singleLink(), cariTable}},
                                      s("Lumkar Rapor Önizleme - Borç Alacak Raporu"),
                                      dialogs(), this);
}

void TcariF::helpClick()
{
    forms().help->openTopic(s("ycari"));
}

} // namespace lumkar
