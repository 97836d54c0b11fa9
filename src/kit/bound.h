#pragma once
// Controls bound to a column of a data set's current row: they show the column when the
// cursor moves and write what the user types into the row (putting the data set into edit).

#include "data/dataset.h"

#include <QObject>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QLabel;

namespace lumkar {

class FieldLink : public QObject {
    Q_OBJECT
public:
    FieldLink(QWidget *control, DataSet *dataSet, const QString &field);
    DataSet *dataSet() const { return m_dataSet; }
    QString field() const { return m_field; }

    // Shows the column's current value in the control.
    void refresh();

protected:
    virtual void show(const QVariant &value) = 0;
    void write(const QVariant &value);

private:
    QPointer<DataSet> m_dataSet;
    QString m_field;
    bool m_writing = false;
};

// A line box; a box with an input mask writes its full-length display text.
FieldLink *bindLineEdit(QLineEdit *edit, DataSet *dataSet, const QString &field);
// A multi-line box; its lines are joined with CR LF when written.
FieldLink *bindMemo(QPlainTextEdit *memo, DataSet *dataSet, const QString &field);
// A check box storing one of two texts ("E" ticked, "H" unticked by default).
FieldLink *bindCheckBox(QCheckBox *box, DataSet *dataSet, const QString &field,
                        const QString &checked = QStringLiteral("E"),
                        const QString &unchecked = QStringLiteral("H"));

// Memo text as stored: every line followed by CR LF.
QString memoToStored(const QString &text);
QString storedToMemo(const QString &stored);

} // namespace lumkar
