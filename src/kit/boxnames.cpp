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
void collectBoxes(QLayoutItem *item, QList<QWidget *> &boxes)
{
    if (!item)
        return;
    if (QWidget *widget = item->widget()) {
        if (isEntryBox(widget) && !widget->isHidden())
            boxes << widget;
    } else if (QLayout *layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i)
            collectBoxes(layout->itemAt(i), boxes);
    }
}

QString plainCaption(const QLabel *label)
{
    const QString text = label->text();
    return (Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text)
        .trimmed();
}

bool hasName(const QWidget *box)
{
    return !box->accessibleName().isEmpty();
}

// Lets `label` name the boxes beside it.
void nameBy(QLabel *label, const QList<QWidget *> &boxes)
{
    if (!label || label->buddy() || boxes.isEmpty())
        return;
    const QString caption = plainCaption(label);
    if (caption.isEmpty())
        return;
    if (boxes.size() == 1) {
        QWidget *box = boxes.first();
        if (hasName(box))
            return;
        if (!label->text().contains(QLatin1Char('&')))
            label->setBuddy(box);
        // A screen reader finds a label only among the box's siblings.
        if (label->buddy() != box || label->parentWidget() != box->parentWidget())
            box->setAccessibleName(caption);
        return;
    }
    const QStringList parts = caption.split(QLatin1Char('/'));
    for (int i = 0; i < boxes.size(); ++i) {
        if (hasName(boxes[i]))
            continue;
        boxes[i]->setAccessibleName(parts.size() == boxes.size() ? parts[i].trimmed() : caption);
    }
}

void nameFormRows(QFormLayout *form)
{
    for (int row = 0; row < form->rowCount(); ++row) {
        QLayoutItem *caption = form->itemAt(row, QFormLayout::LabelRole);
        QList<QWidget *> boxes;
        collectBoxes(form->itemAt(row, QFormLayout::FieldRole), boxes);
        if (caption)
            nameBy(qobject_cast<QLabel *>(caption->widget()), boxes);
    }
}

// A caption in a grid names what stands in the next cell of its row, or when nothing stands
// there, what stands under it.
void nameGridRows(QGridLayout *grid)
{
    for (int i = 0; i < grid->count(); ++i) {
        auto *label = qobject_cast<QLabel *>(grid->itemAt(i)->widget());
        if (!label)
            continue;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem *beside = grid->itemAtPosition(row, column + columnSpan);
        QList<QWidget *> boxes;
        collectBoxes(beside ? beside : grid->itemAtPosition(row + rowSpan, column), boxes);
        nameBy(label, boxes);
    }
}

// A caption in a row or column names what comes next in it.
void nameBoxRows(QBoxLayout *line)
{
    for (int i = 0; i + 1 < line->count(); ++i) {
        auto *label = qobject_cast<QLabel *>(line->itemAt(i)->widget());
        if (!label)
            continue;
        QList<QWidget *> boxes;
        collectBoxes(line->itemAt(i + 1), boxes);
        nameBy(label, boxes);
    }
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
