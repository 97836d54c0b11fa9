#pragma once
// The general-notes window: every general note by its day, for users who may change
// everybody's records.

#include "app/formbase.h"
#include "kit/grid.h"

#include <QWidget>

class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace lumkar {

class TgenelnotF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TgenelnotF(Forms &forms, Session &session);

    void JvNavPanelButton1Click(); // "KAPAT"
    void GenelNotuSil1Click();     // "Genel Notu Sil" (Delete)
    // Writes a note being edited; true when nothing is left pending.
    bool postPending();

    GridView *DBGrid1;
    QPlainTextEdit *JvDotNetDBMemo5;
    QPushButton *JvNavPanelButton1;
    QMenu *PopupMenu1;

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DataSet *notes() const;
};

} // namespace lumkar
