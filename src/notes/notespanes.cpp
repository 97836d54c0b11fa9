// The notes panes of the main window: the user's own note of the working day, and the
// general notes of that day shown read-only.

#include "notes/notespanes.h"

#include "data/values.h"
#include "kit/bound.h"
#include "notes/genelnot.h"

#include <QEvent>

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lumkar {

namespace {

QWidget *notePane(QWidget *parent, const QString &name, const QString &caption,
                  QPlainTextEdit *memo)
{
    auto *pane = new QWidget(parent);
    pane->setObjectName(name);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *header = new QLabel(caption, pane);
    header->setStyleSheet(QStringLiteral(
        "QLabel { font-weight: bold; color: white; background: #2f5d8a; padding: 3px 6px; }"));
    layout->addWidget(header);
    memo->setParent(pane);
    layout->addWidget(memo);
    return pane;
}

} // namespace

NotesPanes::NotesPanes(
    Forms &forms, Session &session, std::function<QDate()> workingDate, QWidget *parent)
    : QObject(parent), FormContext(forms, session), m_workingDate(std::move(workingDate))
{
    setObjectName(QStringLiteral("notesPanes"));
    ffTable1 = new DataSet(db(), this);
    ffTable1->setObjectName(QStringLiteral("ffTable1"));
    ffTable1->setTable(QStringLiteral("gunluknot"), {QStringLiteral("tarih")});
    ffTable2 = new DataSet(db(), this);
    ffTable2->setObjectName(QStringLiteral("ffTable2"));
    ffTable2->setTable(QStringLiteral("genelnot"), {QStringLiteral("tarih")});
    ADOTable1 = new DataSet(db(), this);
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOTable1->setTable(QStringLiteral("genelnot"), {QStringLiteral("tarih")});
    // Every general note carries its last writer.
    ADOTable1->setBeforePost([this](DataSet &notes) {
        notes.setValue(QStringLiteral("kodu"), currentUser().kullanici);
        return DataSet::BeforePost::Proceed;
    });

    JvDotNetDBMemo2 = new QPlainTextEdit(parent);
    JvDotNetDBMemo2->setObjectName(QStringLiteral("JvDotNetDBMemo2"));
    JvDotNetDBMemo2->setReadOnly(true);
    bindMemo(JvDotNetDBMemo2, ffTable2, QStringLiteral("not"));
    genelNotPane = notePane(parent, QStringLiteral("genelNotPane"),
        QStringLiteral("GENEL GÜNLÜK NOTLAR"), JvDotNetDBMemo2);

    JvDotNetDBMemo5 = new QPlainTextEdit(parent);
    JvDotNetDBMemo5->setObjectName(QStringLiteral("JvDotNetDBMemo5"));
    bindMemo(JvDotNetDBMemo5, ffTable1, QStringLiteral("not"));
    gunlukNotPane = notePane(
        parent, QStringLiteral("gunlukNotPane"), QStringLiteral("GÜNLÜK NOTLAR"), JvDotNetDBMemo5);
    JvDotNetDBMemo5->installEventFilter(this);
}

bool NotesPanes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == JvDotNetDBMemo5) {
        if (event->type() == QEvent::FocusOut)
            JvDotNetDBMemo5Exit();
        else if (event->type() == QEvent::FocusIn)
            JvDotNetDBMemo5Enter();
    }
    return QObject::eventFilter(watched, event);
}

bool NotesPanes::openNoteTables()
{
    const bool daily = openDailyNote();
    return openGeneralNotes() && daily;
}

bool NotesPanes::openDailyNote()
{
    const QDate day = m_workingDate();
    const QString user = currentUser().kullanici;
    const QString key = values::dayKey(day);
    m_notesDay = day;
    m_refusedNote.reset();
    ffTable1->setPrefilter(QStringLiteral("tarih = ? AND kodu = ?"), {key, user});
    ffTable1->setFilter([day, user](const Record &row) {
        return row.value(QStringLiteral("tarih")).toDateTime() == QDateTime(day, QTime(0, 0))
            && !row.isNull(QStringLiteral("kodu")) && row.text(QStringLiteral("kodu")) == user;
    });
    ffTable1->setFiltered(true);
    return ffTable1->reopen();
}

bool NotesPanes::openGeneralNotes()
{
    const QDate day = m_workingDate();
    ffTable2->setPrefilter(QStringLiteral("tarih = ?"), {values::dayKey(day)});
    ffTable2->setFilter([day](const Record &row) {
        return row.value(QStringLiteral("tarih")).toDateTime() == QDateTime(day, QTime(0, 0));
    });
    ffTable2->setFiltered(true);
    return ffTable2->reopen();
}

void NotesPanes::JvDotNetDBMemo5Enter()
{
    if (!ffTable1->isOpen() && !openDailyNote())
        return;
    const QDateTime day(m_notesDay, QTime(0, 0));
    auto startNote = [this, &day] {
        ffTable1->append();
        ffTable1->setValue(QStringLiteral("tarih"), day);
        ffTable1->setValue(QStringLiteral("kodu"), currentUser().kullanici);
        ffTable1->clearModified();
    };
    if (ffTable1->isEditing())
        return;
    if (ffTable1->recordCount() == 0)
        startNote();
    else if (ffTable1->value(QStringLiteral("tarih")).toDateTime() != day)
        startNote();
    else
        ffTable1->edit();
}

void NotesPanes::JvDotNetDBMemo5Exit()
{
    postDailyNote();
}

bool NotesPanes::postDailyNote()
{
    if (!ffTable1->isOpen() || !ffTable1->isEditing() || !ffTable1->isModified())
        return true;
    // The note belongs to the day it was written for, even when the day is changing now.
    ffTable1->disableControls();
    ffTable1->setValue(QStringLiteral("kodu"), currentUser().kullanici);
    ffTable1->setValue(QStringLiteral("tarih"), QDateTime(m_notesDay, QTime(0, 0)));
    ffTable1->enableControls();
    if (ffTable1->post()) {
        m_refusedNote.reset();
        return true;
    }
    const QString note = ffTable1->text(QStringLiteral("not"));
    if (m_refusedNote == note)
        return false; // told already; the note stays typed in the memo
    m_refusedNote = note;
    dialogs().error(programTitle(),
                    QStringLiteral("Günlük not kaydedilemedi: ") + ffTable1->lastError().text());
    return false;
}

void NotesPanes::openGeneralNotesWindow()
{
    if (!ADOTable1->isOpen() && !ADOTable1->open())
        return;
    ADOTable1->last();
    forms().genelnotF->show();
    forms().genelnotF->raise();
}

} // namespace lumkar
