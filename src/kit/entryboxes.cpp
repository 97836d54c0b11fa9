#include "kit/entryboxes.h"

#include "kit/dialogs.h"
#include "kit/maskedit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <functional>
#include <memory>

namespace lumkar {

namespace {

// The key as the key rules see it: Enter, Backspace or the typed character; a null QChar for
// keys the rules leave alone (arrows, Delete, Tab, shortcuts with Ctrl or Alt).
QChar ruleKey(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return EnterKey;
    if (event->key() == Qt::Key_Backspace)
        return BackspaceKey;
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return QChar();
    return text.at(0);
}

// A filter that reads the key presses of one box.
class KeyRule : public QObject {
public:
    explicit KeyRule(QLineEdit *box) : QObject(box), m_box(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || m_box->isReadOnly())
            return false;
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const QChar key = ruleKey(keyEvent);
        return !key.isNull() && consumes(keyEvent, key);
    }
    // True when the key press is used up and the box does not see it.
    virtual bool consumes(QKeyEvent *event, QChar key) = 0;

    QLineEdit *m_box;
};

// A key rule that filters what a box holds: text that arrives other than by a key (pasted,
// committed by an input method, put in with the middle button) is typed through the rule one
// character at a time, as if the user had typed it; nothing can be dropped into the box.
class FilterRule : public KeyRule {
public:
    explicit FilterRule(QLineEdit *box) : KeyRule(box) { box->setAcceptDrops(false); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_box->isReadOnly())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
                typeText(QGuiApplication::clipboard()->text());
                return true;
            }
            break;
        case QEvent::InputMethod:
            return commitInput(static_cast<QInputMethodEvent *>(event));
        case QEvent::MouseButtonRelease: {
            QClipboard *clipboard = QGuiApplication::clipboard();
            if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton
                && clipboard->supportsSelection()) {
                m_box->deselect();
                typeText(clipboard->text(QClipboard::Selection));
                return true;
            }
            break;
        }
        case QEvent::ContextMenu:
            if (m_box->contextMenuPolicy() == Qt::DefaultContextMenu) {
                showMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
                return true;
            }
            break;
        default:
            break;
        }
        return KeyRule::eventFilter(watched, event);
    }

    bool consumes(QKeyEvent *, QChar key) override { return refuses(key); }
    // True when the rule discards the key; it may change the box's text first.
    virtual bool refuses(QChar key) = 0;

private:
    void typeText(const QString &text)
    {
        for (const QChar c : text) {
            if (c.isPrint() && !refuses(c))
                m_box->insert(QString(c));
        }
    }

    // The committed text goes through the rule; what is still being composed stays shown.
    bool commitInput(QInputMethodEvent *event)
    {
        if (event->commitString().isEmpty())
            return false;
        const QString committed = event->commitString();
        if (event->replacementLength() > 0) {
            m_box->setSelection(m_box->cursorPosition() + event->replacementStart(),
                                event->replacementLength());
            m_box->del();
        }
        typeText(committed);
        QInputMethodEvent composing(event->preeditString(), event->attributes());
        QCoreApplication::sendEvent(m_box, &composing);
        return true;
    }

    // The box's own menu, whose paste types the clipboard through the rule.
    void showMenu(const QPoint &at)
    {
        std::unique_ptr<QMenu> menu(m_box->createStandardContextMenu());
        // The paste item is known by its caption (Qt's own, translated), shortcut aside.
        const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *action : menu->actions()) {
            if (action->text().section(QLatin1Char('\t'), 0, 0) != paste)
                continue;
            action->disconnect(m_box);
            connect(action, &QAction::triggered, this,
                    [this] { typeText(QGuiApplication::clipboard()->text()); });
        }
        menu->exec(at);
    }
};

class AmountRule : public FilterRule {
public:
    AmountRule(QLineEdit *box, const Region &region) : FilterRule(box), m_region(region) {}

protected:
    bool refuses(QChar key) override
    {
        BoxState state;
        state.text = m_box->text();
        state.caret = m_box->cursorPosition();
        if (m_box->hasSelectedText()) {
            state.selectionStart = m_box->selectionStart();
            state.selectionLength = m_box->selectionLength();
        }
        const KeyOutcome outcome = TutarTusKontrol(state, key, m_region);
        if (outcome.focusNext)
            focusNextControl(m_box);
        if (!outcome.keep)
            return true;
        if (outcome.replaceText) {
            m_box->setText(outcome.text);
            m_box->setCursorPosition(outcome.caret);
        }
        return false;
    }

private:
    Region m_region;
};

class DigitsRule : public FilterRule {
public:
    using FilterRule::FilterRule;

protected:
    bool refuses(QChar key) override { return !RakamTusKontrol(key); }
};

class CapitalisationRule : public KeyRule {
public:
    CapitalisationRule(QLineEdit *box, QCheckBox *onOff)
        : KeyRule(box), m_switched(onOff != nullptr), m_onOff(onOff)
    {
    }

protected:
    bool consumes(QKeyEvent *event, QChar key) override
    {
        if (m_switched && (!m_onOff || !m_onOff->isChecked()))
            return false;
        const int caret =
            m_box->hasSelectedText() ? m_box->selectionStart() : m_box->cursorPosition();
        const QChar capital = IlkHarfBuyuk(maskedText(m_box), caret, key);
        if (capital == key)
            return false;
        QKeyEvent replaced(QEvent::KeyPress, event->key(), event->modifiers(), QString(capital),
                           event->isAutoRepeat(), event->count());
        QCoreApplication::sendEvent(m_box, &replaced);
        return true;
    }

private:
    bool m_switched;
    QPointer<QCheckBox> m_onOff;
};

// Puts a completed, emptied or reset text into a box.
void settle(QLineEdit *box, const Completion &completion)
{
    if (completion.text != maskedText(box))
        box->setText(completion.text);
}

// A refused box takes the focus back and the user is told why.
void refuse(QLineEdit *box, Dialogs &dialogs, const Completion &completion)
{
    box->setFocus(Qt::OtherFocusReason);
    dialogs.information(programTitle(), completion.message);
}

// Completes and checks a box when the focus leaves it within its window. The box gets the
// completed text before it handles leaving (so editingFinished sees it); a refused box then
// takes the focus back.
class LeaveCheck : public QObject {
public:
    using Rule = std::function<Completion(const QString &)>;

    LeaveCheck(QLineEdit *box, Dialogs &dialogs, Rule rule)
        : QObject(box), m_box(box), m_dialogs(dialogs), m_rule(std::move(rule))
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut || m_checking)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
            || reason == Qt::MenuBarFocusReason || !m_box->isVisible() || !m_box->isEnabled())
            return false;
        m_checking = true;
        const Completion completion = m_rule(maskedText(m_box));
        settle(m_box, completion);
        static_cast<QObject *>(m_box)->event(event);
        if (!completion.ok)
            refuse(m_box, m_dialogs, completion);
        m_checking = false;
        return true;
    }

private:
    QLineEdit *m_box;
    Dialogs &m_dialogs;
    Rule m_rule;
    bool m_checking = false;
};

bool check(QLineEdit *box, Dialogs &dialogs, const Completion &completion)
{
    settle(box, completion);
    if (!completion.ok)
        refuse(box, dialogs, completion);
    return completion.ok;
}

} // namespace

void focusNextControl(QWidget *from)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(from, &tab);
}

void attachAmountRule(QLineEdit *box, const Region &region)
{
    new AmountRule(box, region);
}

void attachDigitsRule(QLineEdit *box)
{
    new DigitsRule(box);
}

void attachDateRule(QLineEdit *box, Dialogs &dialogs, const Region &region)
{
    new LeaveCheck(box, dialogs,
                   [region](const QString &text) { return TarihTamamla(text, region); });
}

void attachTimeRule(QLineEdit *box, Dialogs &dialogs, const QString &resetText,
                    const Region &region)
{
    new LeaveCheck(box, dialogs, [resetText, region](const QString &text) {
        return SaatTamamla(text, region, resetText);
    });
}

void attachCapitalisation(QLineEdit *box, QCheckBox *onOff)
{
    new CapitalisationRule(box, onOff);
}

bool checkDateBox(QLineEdit *box, Dialogs &dialogs, const Region &region)
{
    return check(box, dialogs, TarihTamamla(maskedText(box), region));
}

bool checkTimeBox(QLineEdit *box, Dialogs &dialogs, const QString &resetText,
                  const Region &region)
{
    return check(box, dialogs, SaatTamamla(maskedText(box), region, resetText));
}

bool readAmount(QLineEdit *box, Dialogs &dialogs, double &out, const Region &region)
{
    const NumberReading reading = SayiyaCevir(box->text(), region);
    if (!reading.ok) {
        dialogs.error(programTitle(), reading.message);
        return false;
    }
    out = reading.value;
    return true;
}

EnterAsTab::EnterAsTab(QWidget *window) : QObject(window), m_window(window)
{
    // Key presses go to the focused control, not to the window: watch them on their way.
    QCoreApplication::instance()->installEventFilter(this);
}

void EnterAsTab::exempt(QWidget *widget)
{
    m_exempt.append(widget);
}

bool EnterAsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    // Only the control that has the focus, not the parents a refused key travels up to.
    if (widget != QApplication::focusWidget() || widget->window() != m_window
        || receivesEnter(widget))
        return false;
    focusNextControl(widget);
    return true;
}

bool EnterAsTab::receivesEnter(QWidget *widget) const
{
    // A memo takes Enter as a new line; a read-only memo has no use for it and moves on.
    auto writableMemo = [](QWidget *w) {
        if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
            return !plain->isReadOnly();
        if (auto *rich = qobject_cast<QTextEdit *>(w))
            return !rich->isReadOnly();
        return false;
    };
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<QAbstractItemView *>(w) || writableMemo(w) || m_exempt.contains(w))
            return true;
        if (w == m_window)
            break;
    }
    return false;
}

} // namespace lumkar
