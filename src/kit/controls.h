#pragma once
// Small controls the windows share.

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QPointer>

namespace lumkar {

// A check box that tells apart a change made with the mouse (mouseReleased, after the
// toggle) from one made with the keyboard.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString &text, QWidget *parent = nullptr) : QCheckBox(text, parent) {}

signals:
    void mouseReleased();
    void focusLeft();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A user-code picker and a user-name picker holding parallel lists: choosing an item in
// either selects the item at the same position in the other.
class PickerPair : public QObject {
    Q_OBJECT
public:
    PickerPair(QComboBox *codes, QComboBox *names, QObject *parent);
    QComboBox *codes() const { return m_codes; }
    QComboBox *names() const { return m_names; }
    void setItems(const QStringList &codes, const QStringList &names);

private:
    void follow(QComboBox *from, QComboBox *to);

    QPointer<QComboBox> m_codes;
    QPointer<QComboBox> m_names;
    bool m_following = false;
};

// Sets the text a picker shows: the matching item is selected, and an editable picker
// shows any text.
void setPickerText(QComboBox *picker, const QString &text);

// Whom a pair of user pickers offers after a login: every user (enabled), only the logged-in
// user (disabled), or every user with the pickers enabled or not as they were.
enum class PickerReach { Everyone, OnlySelf, AsBefore };

// The program's users, codes and full names in the same order, and the logged-in one.
struct PickerUsers {
    QStringList codes;
    QStringList names;
    QString selfCode;
    QString selfName;
};

// Replaces the items of a picker without telling its followers.
void setPickerItems(QComboBox *picker, const QStringList &items);

// Fills a pair of user pickers after a login and selects the logged-in user. With
// `allCodes` the code picker keeps every user and its state even when the names are limited
// to the logged-in user (the ledgers' pickers).
void fitUserPickers(QComboBox *codes, QComboBox *names, const PickerUsers &users,
                    PickerReach reach, bool allCodes = false);

} // namespace lumkar

class QLabel;

namespace lumkar {

// The user filter of a list window: the name picker `RKiminAdSoyadBox` with its label (without
// one, a screen reader calls it "Kullanıcı"), the hidden code picker `RKimeBox` kept on the
// same item, and the all-users box `CheckBox2`.
class UserFilterBar : public QWidget {
    Q_OBJECT
public:
    UserFilterBar(const QString &nameLabel, const QString &allUsersCaption,
                  QWidget *parent = nullptr);
    QComboBox *RKimeBox;
    QComboBox *RKiminAdSoyadBox;
    CheckBox *CheckBox2;
    PickerPair *pickers;

    // After a login: the pickers as `reach` allows, the logged-in user chosen; the all-users
    // box shown only to a user who sees everyone's records (hidden, it is also unticked).
    void fitToUser(const PickerUsers &users, PickerReach reach, bool seesEveryone,
                   bool allCodes = false);
};

// The members a list window with a user filter carries, named as the window's own.
struct UserFilterMembers {
    UserFilterBar *userBar = nullptr;
    QComboBox *RKimeBox = nullptr;
    QComboBox *RKiminAdSoyadBox = nullptr;
    CheckBox *CheckBox2 = nullptr;

    // Makes the window's filter bar and takes its controls as the window's members.
    UserFilterBar *makeUserBar(const QString &nameLabel, const QString &allUsersCaption,
                               QWidget *window);
};

} // namespace lumkar

class QPushButton;
class QVBoxLayout;

namespace lumkar {

// A task bar: a header over a column of clickable items.
class TaskBar : public QWidget {
    Q_OBJECT
public:
    explicit TaskBar(const QString &header, QWidget *parent = nullptr);
    QPushButton *addItem(const QString &text, const QString &objectName,
                         const QString &hint = QString());
    QList<QPushButton *> items() const { return m_items; }

private:
    QVBoxLayout *m_layout;
    QList<QPushButton *> m_items;
};

} // namespace lumkar

#include <functional>

class QAction;
class QMenu;

namespace lumkar {

// A window key: an action on `window` reached by `key` anywhere in the window (so it works
// whatever the context menu holds), added to `menu` when given and running `handler` when
// given. Key_unknown makes an action without a key.
QAction *addWindowKey(QWidget *window, const QString &name, const QString &caption, Qt::Key key,
                      QMenu *menu = nullptr, const std::function<void()> &handler = {});

// Shows `menu` as the context menu of `window` at the pressed point.
void useAsContextMenu(QWidget *window, QMenu *menu);

// Makes `menu` the context menu of `widget`, replacing the one it had; popupMenu() tells which
// menu a widget has now.
void setPopupMenu(QWidget *widget, QMenu *menu);
QMenu *popupMenu(QWidget *widget);

} // namespace lumkar

namespace lumkar {

// Hands the keyboard back: a window this filter watches remembers the window that was
// active when it was shown, and activates that one again when it hides, so that work goes
// on by keyboard without reaching for the mouse.
class KeyboardReturn : public QObject {
public:
    explicit KeyboardReturn(QObject *parent) : QObject(parent) {}
    void watch(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, QPointer<QWidget>> m_openers;
};

} // namespace lumkar
