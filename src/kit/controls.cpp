#include "kit/controls.h"

#include "kit/grid.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

namespace lumkar {

void CheckBox::mouseReleaseEvent(QMouseEvent *event)
{
    QCheckBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit mouseReleased();
}

void CheckBox::focusOutEvent(QFocusEvent *event)
{
    QCheckBox::focusOutEvent(event);
    emit focusLeft();
}

PickerPair::PickerPair(QComboBox *codes, QComboBox *names, QObject *parent)
    : QObject(parent), m_codes(codes), m_names(names)
{
    connect(codes, &QComboBox::currentIndexChanged, this, [this] { follow(m_codes, m_names); });
    connect(names, &QComboBox::currentIndexChanged, this, [this] { follow(m_names, m_codes); });
}

void PickerPair::follow(QComboBox *from, QComboBox *to)
{
    if (m_following || !from || !to)
        return;
    m_following = true;
    const int i = from->currentIndex();
    if (i >= 0 && i < to->count())
        to->setCurrentIndex(i);
    m_following = false;
}

void PickerPair::setItems(const QStringList &codes, const QStringList &names)
{
    m_following = true;
    m_codes->clear();
    m_codes->addItems(codes);
    m_names->clear();
    m_names->addItems(names);
    m_following = false;
}

void setPickerText(QComboBox *picker, const QString &text)
{
    if (picker->currentIndex() >= 0 && picker->currentText() == text)
        return;
    const int i = picker->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        picker->setCurrentIndex(i);
    else if (picker->isEditable())
        picker->setEditText(text);
    else
        picker->setCurrentIndex(-1);
}

void setPickerItems(QComboBox *picker, const QStringList &items)
{
    const QSignalBlocker block(picker);
    picker->clear();
    picker->addItems(items);
}

void fitUserPickers(QComboBox *codes, QComboBox *names, const PickerUsers &users,
                    PickerReach reach, bool allCodes)
{
    const bool onlySelf = reach == PickerReach::OnlySelf;
    const bool limitCodes = onlySelf && !allCodes;
    setPickerItems(codes, limitCodes ? QStringList{users.selfCode} : users.codes);
    setPickerItems(names, onlySelf ? QStringList{users.selfName} : users.names);
    if (reach != PickerReach::AsBefore) {
        if (!onlySelf || limitCodes)
            codes->setEnabled(!onlySelf);
        names->setEnabled(!onlySelf);
    }
    setPickerText(codes, users.selfCode);
    setPickerText(names, users.selfName);
}

} // namespace lumkar

#include <QHBoxLayout>
#include <QLabel>

namespace lumkar {

UserFilterBar::UserFilterBar(const QString &nameLabel, const QString &allUsersCaption,
                             QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    RKimeBox = new QComboBox(this);
    RKimeBox->setObjectName(QStringLiteral("RKimeBox"));
    RKimeBox->setVisible(false);
    RKiminAdSoyadBox = new QComboBox(this);
    RKiminAdSoyadBox->setObjectName(QStringLiteral("RKiminAdSoyadBox"));
    RKiminAdSoyadBox->setMinimumContentsLength(18);
    CheckBox2 = new CheckBox(allUsersCaption, this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    if (!nameLabel.isEmpty())
        row->addWidget(new QLabel(nameLabel, this));
    else
        RKiminAdSoyadBox->setAccessibleName(QStringLiteral("Kullanıcı"));
    row->addWidget(RKiminAdSoyadBox);
    row->addWidget(RKimeBox);
    row->addWidget(CheckBox2);
    row->addStretch();
    pickers = new PickerPair(RKimeBox, RKiminAdSoyadBox, this);
}

void UserFilterBar::fitToUser(const PickerUsers &users, PickerReach reach, bool seesEveryone,
                              bool allCodes)
{
    fitUserPickers(RKimeBox, RKiminAdSoyadBox, users, reach, allCodes);
    if (!seesEveryone)
        CheckBox2->setChecked(false);
    CheckBox2->setVisible(seesEveryone);
}

} // namespace lumkar

#include <QPushButton>
#include <QVBoxLayout>

namespace lumkar {

TaskBar::TaskBar(const QString &header, QWidget *parent) : QWidget(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(2);
    auto *title = new QLabel(header, this);
    title->setObjectName(QStringLiteral("header"));
    title->setStyleSheet(QStringLiteral(
        "QLabel { font-weight: bold; color: white; background: #2f5d8a; padding: 4px; }"));
    m_layout->addWidget(title);
    m_layout->addStretch();
    setStyleSheet(QStringLiteral(
        "QPushButton { text-align: left; padding: 3px 6px; border: none; color: #1c3f66; }"
        "QPushButton:hover { text-decoration: underline; background: #dde8f3; }"
        "QPushButton:pressed { background: #c5d7ea; }"));
}

QPushButton *TaskBar::addItem(const QString &text, const QString &objectName,
                              const QString &hint)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    m_layout->insertWidget(m_layout->count() - 1, button);
    m_items.append(button);
    return button;
}

UserFilterBar *UserFilterMembers::makeUserBar(const QString &nameLabel,
                                              const QString &allUsersCaption, QWidget *window)
{
    userBar = new UserFilterBar(nameLabel, allUsersCaption, window);
    RKimeBox = userBar->RKimeBox;
    RKiminAdSoyadBox = userBar->RKiminAdSoyadBox;
    CheckBox2 = userBar->CheckBox2;
    return userBar;
}

QAction *addWindowKey(QWidget *window, const QString &name, const QString &caption, Qt::Key key,
                      QMenu *menu, const std::function<void()> &handler)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(name);
    if (key != Qt::Key_unknown)
        action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    if (menu)
        menu->addAction(action);
    if (handler)
        QObject::connect(action, &QAction::triggered, window, handler);
    return action;
}

void useAsContextMenu(QWidget *window, QMenu *menu)
{
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, menu,
                     [window, menu](const QPoint &pos) { menu->popup(window->mapToGlobal(pos)); });
}

namespace {
const char *kPopupProperty = "lumkarPopupMenu";
}

void setPopupMenu(QWidget *widget, QMenu *menu)
{
    if (!widget->property(kPopupProperty).isValid()) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(
            widget, &QWidget::customContextMenuRequested, widget, [widget](const QPoint &pos) {
                // A grid adds its own entries (the export) to the window's menu.
                auto *grid = qobject_cast<GridView *>(widget);
                QMenu *shown = grid ? grid->contextMenu() : popupMenu(widget);
                // A scroll area (every grid) tells the point on its viewport.
                auto *area = qobject_cast<QAbstractScrollArea *>(widget);
                const QPoint global = area ? area->viewport()->mapToGlobal(pos)
                                           : widget->mapToGlobal(pos);
                if (shown && !shown->actions().isEmpty())
                    shown->popup(global);
            });
    }
    widget->setProperty(kPopupProperty, QVariant::fromValue(static_cast<QObject *>(menu)));
}

QMenu *popupMenu(QWidget *widget)
{
    return qobject_cast<QMenu *>(widget->property(kPopupProperty).value<QObject *>());
}

void KeyboardReturn::watch(QWidget *window)
{
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this, window] { m_openers.remove(window); });
}

bool KeyboardReturn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->spontaneous())
        return false;
    if (event->type() == QEvent::Show) {
        QWidget *active = QApplication::activeWindow();
        m_openers[watched] = active != watched ? active : nullptr;
    } else if (event->type() == QEvent::Hide) {
        if (auto *window = qobject_cast<QWidget *>(watched); window && window->isMinimized())
            return false; // minimised, not closed: it keeps its opener
        QPointer<QWidget> opener = m_openers.take(watched);
        if (opener && opener->isVisible() && QApplication::activeModalWidget() == nullptr) {
            opener->raise();
            opener->activateWindow();
        }
    }
    return false;
}

} // namespace lumkar
