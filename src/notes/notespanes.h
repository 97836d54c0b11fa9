#pragma once
// The notes panes of the main window: the user's own note of the working day, and the
// general notes of that day shown read-only.

#include "app/formbase.h"
#include "data/dataset.h"

#include <QDate>
#include <QObject>
#include <functional>
#include <optional>

class QPlainTextEdit;

namespace lumkar {

class NotesPanes : public QObject, public FormContext {
    Q_OBJECT
public:
    // `workingDate` tells the day the main window works on; the panes are made over `parent`.
    NotesPanes(Forms &forms, Session &session, std::function<QDate()> workingDate, QWidget *parent);

    void JvDotNetDBMemo5Enter();
    void JvDotNetDBMemo5Exit();
    bool postDailyNote(); // writes a typed daily note at once
    bool openNoteTables(); // the daily and the general notes of the working day
    bool openDailyNote(); // the user's note of the working day
    bool openGeneralNotes(); // the general notes of the working day
    void openGeneralNotesWindow(); // "Genel Not Gir"

    DataSet *ffTable1; // the user's daily note of the working day
    DataSet *ffTable2; // the general notes of the working day
    DataSet *ADOTable1; // every general note, for the general-notes window
    DataSet *generalNotes() const { return ADOTable1; }
    QPlainTextEdit *JvDotNetDBMemo5; // "GÜNLÜK NOTLAR"
    QPlainTextEdit *JvDotNetDBMemo2; // "GENEL GÜNLÜK NOTLAR", read-only
    QWidget *gunlukNotPane;
    QWidget *genelNotPane;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<QDate()> m_workingDate;
    QDate m_notesDay; // the day the daily-note table was opened for
    // The daily note whose write failed and was told; the same note failing again (on leaving
    // the memo, at a user change, at program end) is not told twice.
    std::optional<QString> m_refusedNote;
};

} // namespace lumkar
