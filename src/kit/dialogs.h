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
    virtual void information(const QString &title, const QString &text) = 0;
    virtual void warning(const QString &title, const QString &text) = 0;
    virtual void error(const QString &title, const QString &text) = 0;

    // A question; only Answer::Yes goes on.
    virtual Answer question(const QString &title, const QString &text, Buttons buttons,
                            Icon icon = Icon::Question) = 0;

    // One line of input; returns false when cancelled.
    virtual bool input(const QString &title, const QString &label, QString &value) = 0;

    // File and folder pickers; an empty result means cancelled.
    virtual QString openFile(const QString &title, const QString &folder,
                             const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &folder,
                             const QString &proposedName, const QString &filter) = 0;
    virtual QString pickFolder(const QString &title, const QString &folder) = 0;

    // Starts a progress display with a label and a maximum; it shows itself only when the
    // work lasts more than a moment.
    virtual std::unique_ptr<Progress> startProgress(const QString &label, int maximum) = 0;
};

// The message-box title used where the program names none.
inline QString programTitle() { return QStringLiteral("Lumkar Vikelmo"); }

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void information(const QString &title, const QString &text) override;
    void warning(const QString &title, const QString &text) override;
    void error(const QString &title, const QString &text) override;
    Answer question(const QString &title, const QString &text, Buttons buttons,
                    Icon icon) override;
    bool input(const QString &title, const QString &label, QString &value) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &proposedName,
                     const QString &filter) override;
    QString pickFolder(const QString &title, const QString &folder) override;
    std::unique_ptr<Progress> startProgress(const QString &label, int maximum) override;

private:
    QWidget *m_parent;
};

} // namespace lumkar
