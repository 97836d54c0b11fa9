#pragma once
// The one seam through which the program asks and tells the user anything: message boxes,
// questions, one-line input and the file and folder pickers. The program uses QtDialogs;
// tests use a scripted implementation that records each dialog and answers from a queue.

#include <QString>

class QWidget;

namespace lumkar {

enum class Answer { Yes, No, Cancel, Ok };

enum class Buttons { YesNo, YesNoCancel };

enum class Icon { None, Information, Warning, Error, Question };

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

private:
    QWidget *m_parent;
};

} // namespace lumkar
