#pragma once
// The entry rules attached to boxes. Each attach function installs an event filter object
// parented to the box; the check functions serve save actions that want the same checks.

#include "data/entryrules.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace lumkar {

class Dialogs;

// Moves the focus from a control to the next one in tab order, as Tab does.
void focusNextControl(QWidget *from);

// Amount keystrokes (TutarTusKontrol); Enter moves the focus on.
void attachAmountRule(QLineEdit *box, const Region &region = programRegion());
// Digits-only keystrokes (RakamTusKontrol).
void attachDigitsRule(QLineEdit *box);
// On leaving the box, TarihTamamla: a refused date is told, emptied and keeps the focus.
void attachDateRule(QLineEdit *box, Dialogs &dialogs, const Region &region = programRegion());
// On leaving the box, SaatTamamla: a refused time is told, reset and keeps the focus.
void attachTimeRule(QLineEdit *box, Dialogs &dialogs, const QString &resetText = QString(),
                    const Region &region = programRegion());
// Capitalises the first letter of every word while typing, while onOff is ticked (always
// when it is null).
void attachCapitalisation(QLineEdit *box, QCheckBox *onOff = nullptr);

// The date and time checks on their own, for save actions: false when the box was refused
// (message shown, box emptied or reset, focus put in the box).
bool checkDateBox(QLineEdit *box, Dialogs &dialogs, const Region &region = programRegion());
bool checkTimeBox(QLineEdit *box, Dialogs &dialogs, const QString &resetText = QString(),
                  const Region &region = programRegion());

// Reads an amount box with SayiyaCevir; false, after telling the user, when the text is not
// a number.
bool readAmount(QLineEdit *box, Dialogs &dialogs, double &out,
                const Region &region = programRegion());

// Enter acts as Tab in every control of a window: the key is consumed and the focus moves to
// the next control. Multi-line text boxes, item views (and what lies inside them) and
// exempted widgets receive Enter themselves.
class EnterAsTab : public QObject {
    Q_OBJECT
public:
    explicit EnterAsTab(QWidget *window);

    // Leaves Enter to this widget and everything inside it.
    void exempt(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool receivesEnter(QWidget *widget) const;

    QWidget *m_window;
    QList<QPointer<QWidget>> m_exempt;
};

} // namespace lumkar
