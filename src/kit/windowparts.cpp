#include "kit/windowparts.h"

#include <QDateEdit>
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
