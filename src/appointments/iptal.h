#pragma once
// The cancellation dialog: the reason of cancelling a waiting appointment. It stays over the
// main window and takes every input while it is shown. It acts on the appointment it was
// opened for, by its number, whatever the lists show meanwhile; while it is open the
// automatic refresh waits.

#include "app/formbase.h"

#include <QWidget>
#include <optional>

class QLineEdit;
class QPushButton;

namespace lumkar {

class TiptalF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TiptalF(Forms &forms, Session &session);

    // Shows the dialog for the appointment `rid`, the reason box holding `reason`.
    void openFor(qlonglong rid, const QString &reason);
    qlonglong appointment() const { return m_rid; }
    void OKBtnClick();        // "Tamam": cancel the appointment after the question
    void JvXPButton1Click();  // "Vazgeç"

    QLineEdit *JvDotNetDBEdit10; // "İptal Nedeni"
    QPushButton *OKBtn;
    QPushButton *JvXPButton1;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    qlonglong m_rid = -1;
    std::optional<Dialogs::Asking> m_asking; // while shown
};

} // namespace lumkar
