#include "accounts/gunsonu.h"

#include "app/userrights.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

TgunsonuF::TgunsonuF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(s("gunsonuF"));
    setWindowTitle(s("Lumkar Vikelmo - Gün Sonu ve Kasa Kapanışı"));
    hareketTable = new DataSet(session.db(), this);
    hareketTable->setObjectName(s("hareketTable"));
    hareketTable->setTable(cashBook());
    buildWindow();
}

void TgunsonuF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *books = new QGroupBox(s("Defter"), this);
    auto *bookRow = new QHBoxLayout(books);
    kasaRadio = new QRadioButton(s("Kasa"), books);
    kasaRadio->setObjectName(s("kasaRadio"));
    kasaRadio->setChecked(true);
    kkartRadio = new QRadioButton(s("Kredi Kartı"), books);
    kkartRadio->setObjectName(s("kkartRadio"));
    bookRow->addWidget(kasaRadio);
    bookRow->addWidget(kkartRadio);
    top->addWidget(books);
    gunPicker = newDatePicker(this, s("gunPicker"));
    top->addWidget(new QLabel(s("Gün"), this));
    top->addWidget(gunPicker);
    makeUserBar(s("Kullanıcı"), s("Tüm Kullanıcılar"), this);
    top->addWidget(userBar, 1);
    yukleBut = newButton(this, s("yukleBut"), s("BİLGİLERİ YÜKLE"));
    yazBut = newButton(this, s("yazBut"), s("YAZDIR"));
    kapatBut = newButton(this, s("kapatBut"), s("Kapat"), s("Kapat..."));
    top->addWidget(yukleBut);
    top->addWidget(yazBut);
    top->addWidget(kapatBut);
    layout->addLayout(top);

    hareketGrid = new GridView(this);
    hareketGrid->setObjectName(s("hareketGrid"));
    hareketGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    hareketGrid->setColumns(hareketTable,
        { { s("tarih"), s("Tarih"), s("dd.mm.yyyy"), left, 85 },
            { s("aciklama"), s("Açıklama"), {}, left, 280 },
            { s("borc"), s("Borç"), s("#,###.00"), right, 100 },
            { s("alacak"), s("Alacak"), s("#,###.00"), right, 100 },
            { s("gorusen"), s("İşlem Yapan"), {}, left, 150 },
            { s("paketadi"), s("Paket"), {}, left, 150 } });
    layout->addWidget(hareketGrid, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(buildCount());
    auto *side = new QWidget(this);
    side->setMaximumWidth(560);
    auto *figures = new QFormLayout;
    m_figuresForm = figures;
    nakliyekunEdit = newFigureBox(this, s("nakliyekunEdit"));
    tahsilatEdit = newFigureBox(this, s("tahsilatEdit"));
    odemeEdit = newFigureBox(this, s("odemeEdit"));
    mevcutEdit = newFigureBox(this, s("mevcutEdit"));
    sayilanEdit = newFigureBox(this, s("sayilanEdit"));
    farkEdit = newFigureBox(this, s("farkEdit"));
    mevcutLabel = new QLabel(s("Kasa Mevcudu"), this);
    farkLabel = new QLabel(this);
    farkLabel->setObjectName(s("farkLabel"));
    figures->addRow(s("Nakli Yekün"), nakliyekunEdit);
    figures->addRow(s("Gün Tahsilatı"), tahsilatEdit);
    figures->addRow(s("Gün Ödemesi"), odemeEdit);
    figures->addRow(mevcutLabel, mevcutEdit);
    figures->addRow(s("Sayılan"), sayilanEdit);
    figures->addRow(s("Fark"), farkEdit);
    figures->addRow(QString(), farkLabel);
    durumLabel = new QLabel(this);
    durumLabel->setObjectName(s("durumLabel"));
    durumLabel->setWordWrap(true);
    gunuKapatBut = newButton(this, s("gunuKapatBut"), s("GÜNÜ KAPAT"));
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addLayout(figures);
    sideLayout->addWidget(durumLabel);
    sideLayout->addWidget(gunuKapatBut);
    sideLayout->addStretch();
    bottom->addWidget(side, 1);
    layout->addLayout(bottom);

    connect(yukleBut, &QPushButton::clicked, this, &TgunsonuF::yukleButClick);
    connect(yazBut, &QPushButton::clicked, this, [this] { yazButClick(); });
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    connect(gunuKapatBut, &QPushButton::clicked, this, &TgunsonuF::gunuKapatButClick);
    // Another day, book or user choice is read at once: the figures always belong to what the
    // pickers show.
    connect(kasaRadio, &QRadioButton::toggled, this, [this] {
        bookChosen();
        choicesChanged();
    });
    connect(gunPicker, &QDateEdit::dateChanged, this, &TgunsonuF::choicesChanged);
    connect(RKimeBox, &QComboBox::currentIndexChanged, this, &TgunsonuF::choicesChanged);
    connect(CheckBox2, &QCheckBox::toggled, this, &TgunsonuF::choicesChanged);
    showCount();
    new EnterAsTab(this);
    resize(1000, 720);
}

QWidget *TgunsonuF::buildCount()
{
    sayimGroup = new QGroupBox(s("Kasa Sayımı"), this);
    sayimGroup->setObjectName(s("sayimGroup"));
    auto *grid = new QGridLayout(sayimGroup);
    adetRadio = new QRadioButton(s("Banknot ve madeni para ile"), sayimGroup);
    adetRadio->setObjectName(s("adetRadio"));
    adetRadio->setChecked(true);
    tutarRadio = new QRadioButton(s("Tek tutar olarak"), sayimGroup);
    tutarRadio->setObjectName(s("tutarRadio"));
    grid->addWidget(adetRadio, 0, 0, 1, 7);
    const QVector<Denomination> &all = denominations();
    // Two columns of denominations: the banknotes, then the coins.
    const int half = int(all.size() + 1) / 2;
    for (int i = 0; i < all.size(); ++i) {
        auto *pieces = new QSpinBox(sayimGroup);
        pieces->setObjectName(s("adet%1").arg(all[i].kurus));
        pieces->setRange(0, 99999);
        pieces->setAlignment(Qt::AlignRight);
        auto *amount = new QLabel(sayimGroup);
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        amount->setMinimumWidth(80);
        adetBoxes << pieces;
        adetTutarLabels << amount;
        const int row = 1 + i % half;
        const int column = (i / half) * 4; // a column of room between the two
        grid->addWidget(new QLabel(all[i].name, sayimGroup), row, column);
        grid->addWidget(pieces, row, column + 1);
        grid->addWidget(amount, row, column + 2);
        connect(pieces, &QSpinBox::valueChanged, this, &TgunsonuF::showCount);
    }
    grid->setColumnMinimumWidth(3, 24);
    tutarEdit = newAmountBox(sayimGroup, s("tutarEdit"));
    grid->addWidget(tutarRadio, half + 1, 0, 1, 2);
    grid->addWidget(tutarEdit, half + 1, 2, 1, 5);
    auto *mode = new QButtonGroup(sayimGroup);
    mode->addButton(adetRadio);
    mode->addButton(tutarRadio);
    connect(adetRadio, &QRadioButton::toggled, this, &TgunsonuF::showCount);
    connect(tutarEdit, &QLineEdit::textChanged, this, &TgunsonuF::showCount);
    return sayimGroup;
}

QString TgunsonuF::book() const
{
    return kkartRadio->isChecked() ? cardBook() : cashBook();
}

void TgunsonuF::bookChosen()
{
    const bool cash = book() == cashBook();
    sayimGroup->setVisible(cash);
    mevcutLabel->setText(cash ? s("Kasa Mevcudu") : s("KK Mevcudu"));
    hareketTable->close();
    hareketTable->setTable(book());
    for (QWidget *field : { static_cast<QWidget *>(sayilanEdit), static_cast<QWidget *>(farkEdit),
             static_cast<QWidget *>(farkLabel) })
        m_figuresForm->setRowVisible(field, cash);
}

QVector<int> TgunsonuF::pieceCounts() const
{
    QVector<int> counts;
    for (const QSpinBox *pieces : adetBoxes)
        counts << pieces->value();
    return counts;
}

bool TgunsonuF::countedAmount(double &amount) const
{
    if (adetRadio->isChecked()) {
        amount = lumkar::countedAmount(pieceCounts());
        return true;
    }
    if (tutarEdit->text().trimmed().isEmpty())
        return false;
    bool ok = false;
    amount = roundToCents(SayiyaCevir(tutarEdit->text(), &ok));
    return ok;
}

void TgunsonuF::showCount()
{
    const bool byPiece = adetRadio->isChecked();
    const QVector<Denomination> &all = denominations();
    for (int i = 0; i < adetBoxes.size(); ++i) {
        adetBoxes[i]->setEnabled(byPiece);
        adetTutarLabels[i]->setText(
            formats::amountTotal(adetBoxes[i]->value() * all[i].kurus / 100.0));
    }
    tutarEdit->setEnabled(!byPiece);
    double counted = 0;
    if (!countedAmount(counted)) {
        sayilanEdit->clear();
        farkEdit->clear();
        farkLabel->clear();
        return;
    }
    sayilanEdit->setText(formats::amountTotal(counted));
    if (!m_loaded) {
        farkEdit->clear();
        farkLabel->clear();
        return;
    }
    const double difference = countDifference(counted, m_figures.onHand);
    farkEdit->setText(formats::amountTotal(difference));
    farkLabel->setText(differenceName(difference));
}

void TgunsonuF::openDay()
{
    bookChosen();
    yukleButClick();
}

void TgunsonuF::choicesChanged()
{
    // A hidden window reads when it is opened.
    if (isVisible())
        yukleButClick();
    else
        m_loaded = false;
}

void TgunsonuF::yukleButClick()
{
    m_loaded = false;
    const QDate day = gunPicker->date();
    const bool all = CheckBox2->isChecked();
    const QString code = RKimeBox->currentText();
    if (!hareketTable->openWith(dayLinesCondition(all), dayLinesValues(day, all, code)))
        return;
    m_figures = readDayFigures(db(), book(), day, all, code);
    const DayClosing closing = lastClosing(db(), book(), day, all, code);
    if (!m_figures.ok || !closing.ok) {
        dialogs().error(programTitle(), m_figures.ok ? closing.error : m_figures.error);
        return;
    }
    m_loaded = true;
    m_closing = closing;
    nakliyekunEdit->setText(formats::amountTotal(m_figures.carried));
    tahsilatEdit->setText(formats::amountTotal(m_figures.receipts));
    odemeEdit->setText(formats::amountTotal(m_figures.payments));
    mevcutEdit->setText(formats::amountTotal(m_figures.onHand));
    durumLabel->setText(closingStatus(closing));
    showCount();
}

DayCloseEntry TgunsonuF::closeEntry(double counted) const
{
    DayCloseEntry entry;
    entry.book = book();
    entry.day = gunPicker->date();
    entry.allUsers = CheckBox2->isChecked();
    entry.userCode = entry.allUsers ? QString() : RKimeBox->currentText();
    entry.userName = entry.allUsers ? s("TÜM KULLANICILAR") : RKiminAdSoyadBox->currentText();
    entry.figures = m_figures;
    entry.counted = entry.book == cashBook();
    if (entry.counted) {
        entry.countedAmount = counted;
        if (adetRadio->isChecked())
            entry.countText = countText(pieceCounts());
    }
    entry.closedBy = currentUser().kullanici;
    entry.closedByName = currentUser().adSoyad;
    entry.when = QDateTime::currentDateTime();
    return entry;
}

void TgunsonuF::gunuKapatButClick()
{
    if (!m_loaded)
        yukleButClick();
    if (!m_loaded)
        return;
    const bool cash = book() == cashBook();
    double counted = 0;
    if (cash && !countedAmount(counted)) {
        dialogs().information(
            programTitle(), s("Kasada sayılan tutarı girmelisiniz. Gün kapatılmadı."));
        return;
    }
    const DayCloseEntry entry = closeEntry(counted);
    const QString refusal = dayCloseRefusal(entry, QDate::currentDate());
    if (!refusal.isEmpty()) {
        dialogs().information(programTitle(), refusal);
        return;
    }
    QString question = s("%1 günü %2 için kapatılacak. %3 %4")
                           .arg(dayText(entry.day), entry.userName, mevcutLabel->text(),
                               formats::amountTotal(m_figures.onHand));
    if (cash) {
        const double difference = countDifference(counted, m_figures.onHand);
        question += s(", sayılan %1, fark %2 (%3)")
                        .arg(formats::amountTotal(counted), formats::amountTotal(difference),
                            differenceName(difference));
    }
    question += s(". Kapatılan güne ve önceki günlere ait hareketler bundan sonra "
                  "değiştirilemez.");
    if (m_closing.found)
        question += s(" Bu gün daha önce de kapatılmıştı; yeni kapanış da kaydedilecek.");
    question += s(" Devam edilsin mi?");
    if (dialogs().question(programTitle(), question, Buttons::YesNo) != Answer::Yes)
        return;
    const DayCloseResult result = writeDayClose(db(), entry);
    if (!result.ok)
        tellNotWritten(dialogs(), result.refused, result.error);
    // The day as the database now holds it, closed or not.
    yukleButClick();
}

ReportPreview *TgunsonuF::yazButClick()
{
    yukleButClick();
    if (!m_loaded)
        return nullptr;
    const bool cash = book() == cashBook();
    reports::Report report(reports::layouts::gunsonu(cash ? s("frReport1") : s("frReport2")));
    report.setUserName(currentUser().adSoyad);
    report.setText(s("Memo1"),
        dayText(gunPicker->date()) + (cash ? s(" KASA GÜN SONU") : s(" KREDİ KARTI GÜN SONU")));
    report.setText(s("Memo17"),
        CheckBox2->isChecked() ? s("TÜM KULLANICILARA AİT RAPOR")
                               : s("RAPOR : ") + RKiminAdSoyadBox->currentText());
    report.setText(s("Memo6"), nakliyekunEdit->text());
    report.setText(s("Memo9"), tahsilatEdit->text());
    report.setText(s("Memo10"), odemeEdit->text());
    report.setText(s("Memo15"), mevcutEdit->text());
    if (cash) {
        report.setText(s("Memo20"), sayilanEdit->text());
        report.setText(s("Memo21"), farkEdit->text());
        if (!farkLabel->text().isEmpty())
            report.setText(s("Memo21Label"), s("FARK (%1)").arg(farkLabel->text()));
        const QString count = adetRadio->isChecked() ? countText(pieceCounts()) : QString();
        report.setText(s("Memo22"), count.isEmpty() ? QString() : s("SAYIM: ") + count);
    }
    report.setText(s("Memo23"), durumLabel->text());
    return ReportPreview::printReport(report, { { reports::layouts::singleLink(), hareketTable } },
        s("Lumkar Rapor Önizleme - Gün Sonu"), dialogs(), this);
}

void TgunsonuF::fitToUser(const LoggedInUser &user)
{
    userBar->fitToUser(user.users, user.rights.listPickers, user.rights.seesEveryone);
}

} // namespace lumkar
