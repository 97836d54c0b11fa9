#include "kit/boxnames.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace lumkar {

namespace {

bool isEntryBox(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
        || qobject_cast<const QAbstractSpinBox *>(widget);
}

// The boxes a user meets in a layout item, in their order: the item's own widget, or the
// widgets of its layout; a box hidden on purpose is none of them.
QList<QWidget *> boxesIn(QLayoutItem *item)
{
    QList<QWidget *> boxes;
    if (!item)
        return boxes;
    if (QWidget *widget = item->widget()) {
        if (isEntryBox(widget) && !widget->isHidden())
            boxes << widget;
    } else if (QLayout *layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i)
            boxes << boxesIn(layout->itemAt(i));
    }
    return boxes;
}

QString plainCaption(const QLabel *label)
{
    const QString text = label->text();
    return (Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text)
        .trimmed();
}

// Lets the label of `captionItem`, when it holds one, name the boxes of `boxItem`.
void nameBy(QLayoutItem *captionItem, QLayoutItem *boxItem)
{
    auto *label = captionItem ? qobject_cast<QLabel *>(captionItem->widget()) : nullptr;
    if (!label || label->buddy())
        return;
    const QString caption = plainCaption(label);
    const QList<QWidget *> boxes = boxesIn(boxItem);
    if (caption.isEmpty() || boxes.isEmpty())
        return;
    if (boxes.size() == 1) {
        QWidget *box = boxes.first();
        if (!box->accessibleName().isEmpty())
            return;
        if (!label->text().contains(QLatin1Char('&')))
            label->setBuddy(box);
        // A screen reader finds a label only among the box's siblings.
        if (label->buddy() != box || label->parentWidget() != box->parentWidget())
            box->setAccessibleName(caption);
        return;
    }
    const QStringList parts = caption.split(QLatin1Char('/'));
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes[i]->accessibleName().isEmpty())
            boxes[i]->setAccessibleName(
                parts.size() == boxes.size() ? parts[i].trimmed() : caption);
}

void nameFormRows(QFormLayout *form)
{
    for (int row = 0; row < form->rowCount(); ++row)
        nameBy(
            form->itemAt(row, QFormLayout::LabelRole), form->itemAt(row, QFormLayout::FieldRole));
}

// A caption in a grid names what stands in the next cell of its row, or when nothing stands
// there, what stands under it.
void nameGridRows(QGridLayout *grid)
{
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem *beside = grid->itemAtPosition(row, column + columnSpan);
        nameBy(grid->itemAt(i), beside ? beside : grid->itemAtPosition(row + rowSpan, column));
    }
}

// A caption in a row or column names what comes next in it.
void nameBoxRows(QBoxLayout *line)
{
    for (int i = 0; i + 1 < line->count(); ++i)
        nameBy(line->itemAt(i), line->itemAt(i + 1));
}

} // namespace

void nameEntryBoxes(QWidget *window)
{
    for (QLayout *layout : window->findChildren<QLayout *>()) {
        if (auto *form = qobject_cast<QFormLayout *>(layout))
            nameFormRows(form);
        else if (auto *grid = qobject_cast<QGridLayout *>(layout))
            nameGridRows(grid);
        else if (auto *line = qobject_cast<QBoxLayout *>(layout))
            nameBoxRows(line);
    }
}

} // namespace lumkar
