#pragma once
// Controls many windows build the same way: a date picker showing "dd.MM.yyyy" with a calendar
// and today's date, a push button that Enter does not press, the picture help button, entry
// boxes (amounts right-aligned under the amount rule) and the cash-or-card choice.

#include <QString>

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QPushButton;
class QToolButton;
class QWidget;

namespace lumkar {

QDateEdit *newDatePicker(QWidget *parent, const QString &objectName);
QPushButton *newButton(QWidget *parent, const QString &objectName, const QString &caption,
                       const QString &hint = QString());
QToolButton *newHelpButton(QWidget *parent);
// A one-line box; `maxLength` 0 leaves the length free.
QLineEdit *newBox(QWidget *parent, const QString &objectName, int maxLength = 0);
// A box for an amount of money: right-aligned, typed through the amount rule.
QLineEdit *newAmountBox(QWidget *parent, const QString &objectName);
// A box that shows a figure the window computes: read-only, right-aligned, never focused.
QLineEdit *newFigureBox(QWidget *parent, const QString &objectName);
// The group "Ödeme Şekli" with `nakitRadio` ("Nakit", chosen) and `krediKartiRadio`
// ("Kredi Kartı") side by side.
QGroupBox *newPaymentChoice(QWidget *parent, QRadioButton *&cash, QRadioButton *&card);

} // namespace lumkar
