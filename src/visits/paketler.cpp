#include "visits/paketler.h"

#include "data/entryrules.h"
#include "data/formats.h"
#include "kit/entryboxes.h"
#include "kit/windowparts.h"
#include "visits/packagerules.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace lumkar {

namespace {

const QString kPaketkodu = QStringLiteral("paketkodu");
const QString kPaketadi = QStringLiteral("paketadi");
const QString kAciklama = QStringLiteral("aciklama");
const QString kTutar = QStringLiteral("tutar");
const QString kPrimoran = QStringLiteral("primoran");
const QString kPid = QStringLiteral("pid");

// A stored amount as "#,###.00", or empty for an empty field.
QString amountText(const QVariant &value)
{
    return value.isNull() ? QString() : formats::amount(value.toDouble());
}

} // namespace

TpaketlerF::TpaketlerF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("paketlerF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Paketler"));
    paketlerTable = new DataSet(session.db(), this);
    paketlerTable->setObjectName(QStringLiteral("paketlerTable"));
    paketlerTable->setTable(QStringLiteral("paketler"));
    buildWindow();
    resize(760, 520);
}

void TpaketlerF::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    koduEdit = newBox(this, QStringLiteral("koduEdit"), 5);
    koduEdit->setAlignment(Qt::AlignRight);
    attachDigitsRule(koduEdit);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(koduEdit);
    codeRow->addWidget(new QLabel(QStringLiteral("(Sayısal)"), this));
    codeRow->addStretch();
    form->addRow(QStringLiteral("Paket Kodu"), codeRow);
    PaketAdiEdit = newBox(this, QStringLiteral("PaketAdiEdit"), 70);
    form->addRow(QStringLiteral("Paket Adı"), PaketAdiEdit);
    islemTutariEdit = newAmountBox(this, QStringLiteral("islemTutariEdit"));
    islemTutariEdit->installEventFilter(this);
    form->addRow(QStringLiteral("Paket Tutarı"), islemTutariEdit);
    aciklamaEdit = newBox(this, QStringLiteral("aciklamaEdit"), 70);
    form->addRow(QStringLiteral("Açıklama"), aciklamaEdit);
    primoranEdit = newBox(this, QStringLiteral("primoranEdit"));
    primoranEdit->setAlignment(Qt::AlignRight);
    form->addRow(QStringLiteral("Prim Oranı"), primoranEdit);
    kayitnoEdit = newBox(this, QStringLiteral("kayitnoEdit"));
    kayitnoEdit->setReadOnly(true);
    kayitnoEdit->setVisible(false);
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    JvXPButton2 = newButton(this, QStringLiteral("JvXPButton2"), QStringLiteral("Yeni Ekle"));
    JvXPButton1 = newButton(this, QStringLiteral("JvXPButton1"), QStringLiteral("Sakla"));
    JvXPButton3 = newButton(this, QStringLiteral("JvXPButton3"), QStringLiteral("Düzelt"));
    tabloyusil = newButton(this, QStringLiteral("tabloyusil"), QStringLiteral("Sil"));
    secBut = newButton(this, QStringLiteral("secBut"), QStringLiteral("Seç"));
    kapatBut = newButton(this, QStringLiteral("kapatBut"), QStringLiteral("Kapat"));
    kapatBut->setToolTip(QStringLiteral("Kapat..."));
    for (QPushButton *b : {JvXPButton2, JvXPButton1, JvXPButton3, tabloyusil, secBut, kapatBut})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    DBGrid1 = new GridView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const QString amount = QStringLiteral("#,###.00");
    DBGrid1->setColumns(paketlerTable, {{kPaketkodu, QStringLiteral("Kodu"), {}, right, 60},
                                        {kPaketadi, QStringLiteral("Paket Adı"), {}, {}, 220},
                                        {kAciklama, QStringLiteral("Açıklama"), {}, {}, 200},
                                        {kTutar, QStringLiteral("Tutar"), amount, right, 90},
                                        {kPrimoran, QStringLiteral("Prim Oranı"), amount, right,
                                         90}});
    layout->addWidget(DBGrid1, 1);

    connect(JvXPButton2, &QPushButton::clicked, this, &TpaketlerF::JvXPButton2Click);
    connect(JvXPButton1, &QPushButton::clicked, this, [this] { JvXPButton1Click(); });
    connect(JvXPButton3, &QPushButton::clicked, this, &TpaketlerF::JvXPButton3Click);
    connect(tabloyusil, &QPushButton::clicked, this, &TpaketlerF::tabloyusilClick);
    connect(secBut, &QPushButton::clicked, this, &TpaketlerF::secButClick);
    connect(DBGrid1, &GridView::rowActivated, this, &TpaketlerF::secButClick);
    connect(kapatBut, &QPushButton::clicked, this, &TpaketlerF::kapatButClick);
    setTabOrder(koduEdit, PaketAdiEdit);
    setTabOrder(PaketAdiEdit, islemTutariEdit);
    setTabOrder(islemTutariEdit, aciklamaEdit);
    setTabOrder(aciklamaEdit, primoranEdit);
    m_enterAsTab = new EnterAsTab(this);
}

void TpaketlerF::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TpaketlerF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == islemTutariEdit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            islemTutariEditExit();
    }
    return QWidget::eventFilter(watched, event);
}

void TpaketlerF::openCatalogue()
{
    if (!paketlerTable->isOpen())
        (void)paketlerTable->open();
}

void TpaketlerF::islemTutariEditExit()
{
    bool ok = false;
    const double value = SayiyaCevir(islemTutariEdit->text(), &ok);
    if (ok)
        islemTutariEdit->setText(formats::amount(value));
}

void TpaketlerF::JvXPButton2Click()
{
    m_lastAdded.clear();
    for (QLineEdit *b : {islemTutariEdit, koduEdit, PaketAdiEdit, aciklamaEdit, primoranEdit,
                         kayitnoEdit})
        b->clear();
}

bool TpaketlerF::JvXPButton1Click()
{
    if (koduEdit->text().isEmpty()) {
        dialogs().information(programTitle(), QStringLiteral("Kodu Girmelisiniz!"));
        return false;
    }
    if (PaketAdiEdit->text().length() < 2) {
        dialogs().information(programTitle(), QStringLiteral("Paket Adı Girmelisiniz!"));
        return false;
    }
    const PackageCodeReading code = readPackageCode(koduEdit->text());
    if (!code.code) {
        dialogs().warning(programTitle(), code.message);
        return false;
    }
    double price = 0;
    double premium = 0;
    if (!readAmount(islemTutariEdit, dialogs(), price)
        || !readAmount(primoranEdit, dialogs(), premium))
        return false;
    if (!paketlerTable->isOpen() && !paketlerTable->open())
        return false;

    const double record = SayiyaCevir(kayitnoEdit->text(), nullptr);
    const bool adding = !(record > 0 && paketlerTable->locate(kPid, qlonglong(record)));
    // "Sakla" pressed again on the package it has just added saves nothing new.
    const QVariantList boxes{*code.code, PaketAdiEdit->text(), price, aciklamaEdit->text(),
                             premium};
    if (adding && boxes == m_lastAdded)
        return true;
    if (adding)
        paketlerTable->append();
    else
        paketlerTable->edit();
    paketlerTable->setValue(kPaketkodu, *code.code);
    paketlerTable->setValue(kPaketadi, PaketAdiEdit->text());
    if (!aciklamaEdit->text().isEmpty())
        paketlerTable->setValue(kAciklama, aciklamaEdit->text());
    if (price > 0)
        paketlerTable->setValue(kTutar, price);
    if (premium > 0)
        paketlerTable->setValue(kPrimoran, premium);
    if (!paketlerTable->post()) {
        const QString cause = paketlerTable->lastError().text();
        paketlerTable->cancel();
        dialogs().error(programTitle(), QStringLiteral("Paket kaydedilemedi: ") + cause);
        return false;
    }
    m_lastAdded = adding ? boxes : QVariantList();
    return true;
}

bool TpaketlerF::hasSelectedPackage()
{
    return paketlerTable->isOpen() && paketlerTable->currentRow() >= 0;
}

void TpaketlerF::JvXPButton3Click()
{
    if (!hasSelectedPackage())
        return;
    koduEdit->setText(paketlerTable->text(kPaketkodu));
    PaketAdiEdit->setText(paketlerTable->text(kPaketadi));
    if (!paketlerTable->text(kAciklama).isEmpty())
        aciklamaEdit->setText(paketlerTable->text(kAciklama));
    if (!paketlerTable->isNull(kTutar))
        islemTutariEdit->setText(amountText(paketlerTable->value(kTutar)));
    if (!paketlerTable->isNull(kPrimoran))
        primoranEdit->setText(amountText(paketlerTable->value(kPrimoran)));
    kayitnoEdit->setText(paketlerTable->text(kPid));
}

void TpaketlerF::tabloyusilClick()
{
    if (!hasSelectedPackage())
        return;
    const QString question = packageDeleteQuestion(paketlerTable->text(kPaketkodu),
                                                   paketlerTable->text(kPaketadi));
    if (dialogs().question(QStringLiteral("Lumkar Vikelmo - Paketler"), question,
                           Buttons::YesNo)
        != Answer::Yes)
        return;
    if (!paketlerTable->remove())
        dialogs().error(programTitle(), QStringLiteral("Paket silinemedi: ")
                                            + paketlerTable->lastError().text());
}

void TpaketlerF::choosePackage(PackageChosen chosen)
{
    m_chosen = std::move(chosen);
    show();
    raise();
    activateWindow();
    openCatalogue();
}

void TpaketlerF::secButClick()
{
    if (!hasSelectedPackage() || !m_chosen)
        return;
    const auto number = [this](const QString &column) {
        return paketlerTable->isNull(column)
            ? QString()
            : formats::plainNumber(paketlerTable->value(column).toDouble());
    };
    const ChosenPackage package{paketlerTable->text(kPaketkodu), paketlerTable->text(kPaketadi),
                                number(kTutar), number(kPrimoran)};
    const PackageChosen chosen = std::exchange(m_chosen, {});
    hide();
    chosen(package);
}

void TpaketlerF::kapatButClick()
{
    hide();
}

} // namespace lumkar
