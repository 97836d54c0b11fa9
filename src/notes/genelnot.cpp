#include "notes/genelnot.h"

#include "kit/bound.h"
#include "kit/controls.h"
#include "notes/notespanes.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace lumkar {

namespace {

// The "Tarih" cell is typed as day, month and year; a day that does not exist is refused.
class DayDelegate : public GridDelegate {
public:
    DayDelegate(Dialogs &dialogs, QObject *parent) : GridDelegate(parent), m_dialogs(dialogs) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *edit = new QLineEdit(parent);
        edit->setInputMask(QStringLiteral("99.99.9999; "));
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *edit = static_cast<QLineEdit *>(editor);
        const QDateTime day = index.data(Qt::EditRole).toDateTime();
        edit->setText(day.isValid() ? day.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        const QString text = static_cast<QLineEdit *>(editor)->displayText();
        if (text.trimmed() == QLatin1String(".  ."))
            return;
        const QDate day = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
        if (!day.isValid()) {
            m_dialogs.information(programTitle(), QLatin1Char('"') + text
                                                      + QStringLiteral("\" tarih girişiniz uygun "
                                                                       "değil!"));
            return;
        }
        model->setData(index, QDateTime(day, QTime(0, 0)), Qt::EditRole);
    }

private:
    Dialogs &m_dialogs;
};

} // namespace

TgenelnotF::TgenelnotF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("genelnotF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo - Genel Not"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    DBGrid1 = new GridView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEnterRule(GridView::EnterRule::NextColumn);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    JvDotNetDBMemo5 = new QPlainTextEdit(this);
    JvDotNetDBMemo5->setObjectName(QStringLiteral("JvDotNetDBMemo5"));
    JvDotNetDBMemo5->setAccessibleName(QStringLiteral("Genel Not"));
    row->addWidget(DBGrid1, 1);
    row->addWidget(JvDotNetDBMemo5, 3);
    layout->addLayout(row, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    JvNavPanelButton1 = new QPushButton(QStringLiteral("KAPAT"), this);
    JvNavPanelButton1->setObjectName(QStringLiteral("JvNavPanelButton1"));
    JvNavPanelButton1->setAutoDefault(false);
    buttons->addWidget(JvNavPanelButton1);
    layout->addLayout(buttons);

    DataSet *table = forms.notesPanes->ADOTable1;
    GridColumn day { QStringLiteral("tarih"), QStringLiteral("Tarih"),
        QStringLiteral("dd.mm.yyyy") };
    day.editable = true;
    day.width = 90;
    DBGrid1->setColumns(table, {day});
    DBGrid1->setItemDelegateForColumn(0, new DayDelegate(session.dialogs(), DBGrid1));
    bindMemo(JvDotNetDBMemo5, table, QStringLiteral("not"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *remove = PopupMenu1->addAction(QStringLiteral("Genel Notu Sil"));
    remove->setObjectName(QStringLiteral("GenelNotuSil1"));
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    DBGrid1->addAction(remove);
    setPopupMenu(DBGrid1, PopupMenu1);
    connect(remove, &QAction::triggered, this, &TgenelnotF::GenelNotuSil1Click);
    connect(JvNavPanelButton1, &QPushButton::clicked, this, &TgenelnotF::JvNavPanelButton1Click);
    DBGrid1->installEventFilter(this);
    resize(760, 480);
}

DataSet *TgenelnotF::notes() const
{
    return forms().notesPanes->generalNotes();
}

bool TgenelnotF::postPending()
{
    DataSet *table = notes();
    if (!table->isEditing())
        return true;
    if (!table->isModified()) {
        table->cancel();
        return true;
    }
    if (table->post())
        return true;
    dialogs().error(programTitle(),
                    QStringLiteral("Genel not kaydedilemedi: ") + table->lastError().text());
    return false;
}

void TgenelnotF::JvNavPanelButton1Click()
{
    hide();
}

void TgenelnotF::hideEvent(QHideEvent *event)
{
    postPending();
    QWidget::hideEvent(event);
}

void TgenelnotF::GenelNotuSil1Click()
{
    DataSet *table = notes();
    if (!table->isOpen() || (table->recordCount() == 0 && !table->isEditing()))
        return;
    if (dialogs().question(QStringLiteral("Lumkar Selvaron"),
                           QStringLiteral("Genel not silinecektir! Silmek istediğinize "
                                          "eminmisiniz?"),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    if (!table->remove())
        dialogs().error(programTitle(), table->lastError().text());
}

bool TgenelnotF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        DataSet *table = notes();
        const bool atLast = table->isOpen()
            && (table->recordCount() == 0 || table->currentRow() == table->recordCount() - 1);
        if (!DBGrid1->isEditingCell()
            && (key->key() == Qt::Key_Insert || (key->key() == Qt::Key_Down && atLast
                                                 && table->state() != DataSet::State::Insert))) {
            // A new note: a new row at the end of the grid.
            if (postPending())
                table->append();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumkar
