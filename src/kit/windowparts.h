#pragma once
// Controls many windows build the same way: a date picker showing "dd.MM.yyyy" with a calendar
// and today's date, a push button that Enter does not press, and the picture help button.

#include <QString>

class QDateEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace lumkar {

QDateEdit *newDatePicker(QWidget *parent, const QString &objectName);
QPushButton *newButton(QWidget *parent, const QString &objectName, const QString &caption,
                       const QString &hint = QString());
QToolButton *newHelpButton(QWidget *parent);

} // namespace lumkar
