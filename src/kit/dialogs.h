#pragma once
// The one seam through which the program asks and tells the user anything: message boxes,
// questions, one-line input and the file and folder pickers. The program uses QtDialogs;
// tests use a scripted implementation that records each dialog and answers from a queue.

#include <QString>
#include <memory>

class QWidget;

namespace lumkar {

enum class Answer { Yes, No, Cancel, Ok };

enum class Buttons { YesNo, YesNoCancel };

enum class Icon { None, Information, Warning, Error, Question };

// A progress display of long work (backups, restores, long printouts). The work calls
// setValue() as it goes, which also keeps the program responsive, and stops at its next step
// once wasCanceled() is true. The display ends at finish() or when the object goes, and never
// shows itself after that.
class Progress {
public:
    virtual ~Progress() = default;
    // Values run from 0 to the maximum given at the start.
    virtual void setValue(int value) = 0;
    virtual void setLabel(const QString &text) = 0;
    // Whether the user pressed "İptal".
    virtual bool wasCanceled() const = 0;
    // A step that must not be broken off (the swap of a restore) disables the cancel button.
    virtual void setCancelEnabled(bool enabled) = 0;
    virtual void finish() = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A notice with one OK button.
    void information(const QString &title, const QString &text);
    void warning(const QString &title, const QString &text);
    void error(const QString &title, const QString &text);

    // A question; only Answer::Yes goes on.
    Answer question(const QString &title, const QString &text, Buttons buttons,
                    Icon icon = Icon::Question);

    // One line of input; returns false when cancelled.
    bool input(const QString &title, const QString &label, QString &value);

    // File and folder pickers; an empty result means cancelled.
    QString openFile(const QString &title, const QString &folder, const QString &filter);
    QString saveFile(const QString &title, const QString &folder, const QString &proposedName,
                     const QString &filter);
    QString pickFolder(const QString &title, const QString &folder);

    // Starts a progress display with a label and a maximum; it shows itself only when the
    // work lasts more than a moment.
    virtual std::unique_ptr<Progress> startProgress(const QString &label, int maximum) = 0;

    // True while a notice, question, input or picker waits for the user, so that work started
    // by a timer (the automatic refresh) waits until the user has answered.
    bool isAsking() const { return m_asking > 0; }

    // Counts as a dialog of this seam for as long as it lives: for a window of the program's
    // own that asks the user something (the cancellation reason).
    class Asking {
    public:
        explicit Asking(Dialogs &dialogs) : m_dialogs(dialogs) { ++m_dialogs.m_asking; }
        ~Asking() { --m_dialogs.m_asking; }
        Asking(const Asking &) = delete;
        Asking &operator=(const Asking &) = delete;

    private:
        Dialogs &m_dialogs;
    };

protected:
    // What each kind of dialog shows; the public functions above count them as asking.
    virtual void showInformation(const QString &title, const QString &text) = 0;
    virtual void showWarning(const QString &title, const QString &text) = 0;
    virtual void showError(const QString &title, const QString &text) = 0;
    virtual Answer askQuestion(const QString &title, const QString &text, Buttons buttons,
                               Icon icon) = 0;
    virtual bool askInput(const QString &title, const QString &label, QString &value) = 0;
    virtual QString askOpenFile(const QString &title, const QString &folder,
                                const QString &filter) = 0;
    virtual QString askSaveFile(const QString &title, const QString &folder,
                                const QString &proposedName, const QString &filter) = 0;
    virtual QString askFolder(const QString &title, const QString &folder) = 0;

private:
    int m_asking = 0;
};

inline void Dialogs::information(const QString &title, const QString &text)
{
    const Asking asking(*this);
    showInformation(title, text);
}

inline void Dialogs::warning(const QString &title, const QString &text)
{
    const Asking asking(*this);
    showWarning(title, text);
}

inline void Dialogs::error(const QString &title, const QString &text)
{
    const Asking asking(*this);
    showError(title, text);
}

inline Answer Dialogs::question(const QString &title, const QString &text, Buttons buttons,
                                Icon icon)
{
    const Asking asking(*this);
    return askQuestion(title, text, buttons, icon);
}

inline bool Dialogs::input(const QString &title, const QString &label, QString &value)
{
    const Asking asking(*this);
    return askInput(title, label, value);
}

inline QString Dialogs::openFile(const QString &title, const QString &folder,
                                 const QString &filter)
{
    const Asking asking(*this);
    return askOpenFile(title, folder, filter);
}

inline QString Dialogs::saveFile(const QString &title, const QString &folder,
                                 const QString &proposedName, const QString &filter)
{
    const Asking asking(*this);
    return askSaveFile(title, folder, proposedName, filter);
}

inline QString Dialogs::pickFolder(const QString &title, const QString &folder)
{
    const Asking asking(*this);
    return askFolder(title, folder);
}

// The message-box title used where the program names none.
inline QString programTitle() { return QStringLiteral("Lumkar Vikelmo"); }

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    std::unique_ptr<Progress> startProgress(const QString &label, int maximum) override;

protected:
    void showInformation(const QString &title, const QString &text) override;
    void showWarning(const QString &title, const QString &text) override;
    void showError(const QString &title, const QString &text) override;
    Answer askQuestion(const QString &title, const QString &text, Buttons buttons,
                       Icon icon) override;
    bool askInput(const QString &title, const QString &label, QString &value) override;
    QString askOpenFile(const QString &title, const QString &folder,
                        const QString &filter) override;
    QString askSaveFile(const QString &title, const QString &folder, const QString &proposedName,
                        const QString &filter) override;
    QString askFolder(const QString &title, const QString &folder) override;

private:
    QWidget *m_parent;
};

} // namespace lumkar
