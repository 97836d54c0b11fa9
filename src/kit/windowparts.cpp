#include "kit/windowparts.h"

#include "kit/entryboxes.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace lumkar {

QDateEdit *newDatePicker(QWidget *parent, const QString &objectName)
{
    auto *picker = new QDateEdit(QDate::currentDate(), parent);
    picker->setObjectName(objectName);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return picker;
}

QPushButton *newButton(QWidget *parent, const QString &objectName, const QString &caption,
                       const QString &hint)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

QLineEdit *newBox(QWidget *parent, const QString &objectName, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit *newAmountBox(QWidget *parent, const QString &objectName)
{
    QLineEdit *edit = newBox(parent, objectName);
    edit->setAlignment(Qt::AlignRight);
    attachAmountRule(edit);
    return edit;
}

QLineEdit *newFigureBox(QWidget *parent, const QString &objectName)
{
    QLineEdit *box = newBox(parent, objectName);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QGroupBox *newPaymentChoice(QWidget *parent, QRadioButton *&cash, QRadioButton *&card)
{
    auto *payment = new QGroupBox(QStringLiteral("Ödeme Şekli"), parent);
    auto *row = new QHBoxLayout(payment);
    cash = new QRadioButton(QStringLiteral("Nakit"), payment);
    cash->setObjectName(QStringLiteral("nakitRadio"));
    cash->setChecked(true);
    card = new QRadioButton(QStringLiteral("Kredi Kartı"), payment);
    card->setObjectName(QStringLiteral("krediKartiRadio"));
    row->addWidget(cash);
    row->addWidget(card);
    return payment;
}

QToolButton *newHelpButton(QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("tfXPButton1"));
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogHelpButton));
    button->setToolTip(QStringLiteral("Yardım"));
    button->setAutoRaise(true);
    return button;
}

} // namespace lumkar
