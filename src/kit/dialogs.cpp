#include "kit/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QDir>
#include <QProgressDialog>
#include <QStandardPaths>

namespace lumkar {

namespace {

QWidget *parentFor(QWidget *given)
{
    return given ? given : QApplication::activeWindow();
}

void notice(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title.isEmpty() ? programTitle() : title, text, QMessageBox::Ok,
                    parentFor(parent));
    box.setButtonText(QMessageBox::Ok, QStringLiteral("Tamam"));
    box.exec();
}

// A modal QProgressDialog that appears after a short delay. Every setValue() lets the program
// handle its events, so that it repaints and the cancel button answers. It blocks every window
// of the program, not only its own: no other button may start a second backup or end the
// program while the work runs. finish() destroys the dialog: QProgressDialog shows itself by a
// timer once its delay has passed, and a dialog merely hidden at the end of quick work would
// still appear later, over whatever message follows.
class QtProgress : public Progress {
public:
    QtProgress(QWidget *parent, const QString &label, int maximum)
        : m_dialog(std::make_unique<QProgressDialog>(
            label, QStringLiteral("İptal"), 0, std::max(maximum, 1), parent))
    {
        m_dialog->setWindowTitle(programTitle());
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(400);
        m_dialog->setValue(0);
    }
    ~QtProgress() override { finish(); }

    void setValue(int value) override
    {
        if (!m_dialog)
            return;
        if (value != m_dialog->value())
            m_dialog->setValue(std::min(value, m_dialog->maximum()));
        QApplication::processEvents();
    }
    void setLabel(const QString &text) override
    {
        if (!m_dialog)
            return;
        m_dialog->setLabelText(text);
        QApplication::processEvents();
    }
    bool wasCanceled() const override
    {
        return m_canceled || (m_dialog && m_dialog->wasCanceled());
    }
    void setCancelEnabled(bool enabled) override
    {
        if (!m_dialog)
            return;
        if (enabled)
            m_dialog->setCancelButtonText(QStringLiteral("İptal"));
        else
            m_dialog->setCancelButton(nullptr);
        QApplication::processEvents();
    }
    void finish() override
    {
        if (!m_dialog)
            return;
        m_canceled = m_dialog->wasCanceled();
        m_dialog.reset();
    }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_canceled = false;
};

} // namespace

void QtDialogs::showInformation(const QString &title, const QString &text)
{
    notice(m_parent, QMessageBox::Information, title, text);
}

void QtDialogs::showWarning(const QString &title, const QString &text)
{
    notice(m_parent, QMessageBox::Warning, title, text);
}

void QtDialogs::showError(const QString &title, const QString &text)
{
    notice(m_parent, QMessageBox::Critical, title, text);
}

Answer QtDialogs::askQuestion(const QString &title, const QString &text, Buttons buttons,
                               Icon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: boxIcon = QMessageBox::NoIcon; break;
    case Icon::Information: boxIcon = QMessageBox::Information; break;
    case Icon::Warning: boxIcon = QMessageBox::Warning; break;
    case Icon::Error: boxIcon = QMessageBox::Critical; break;
    case Icon::Question: boxIcon = QMessageBox::Question; break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        set |= QMessageBox::Cancel;
    QMessageBox box(boxIcon, title.isEmpty() ? programTitle() : title, text, set,
                    parentFor(m_parent));
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Evet"));
    box.setButtonText(QMessageBox::No, QStringLiteral("Hayır"));
    if (buttons == Buttons::YesNoCancel)
        box.setButtonText(QMessageBox::Cancel, QStringLiteral("İptal"));
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool QtDialogs::askInput(const QString &title, const QString &label, QString &value)
{
    bool ok = false;
    const QString typed = QInputDialog::getText(parentFor(m_parent), title, label,
                                                QLineEdit::Normal, value, &ok);
    if (ok)
        value = typed;
    return ok;
}

QString QtDialogs::askOpenFile(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentFor(m_parent), title, folder, filter);
}

QString QtDialogs::askSaveFile(const QString &title, const QString &folder,
                               const QString &proposedName, const QString &filter)
{
    // Without a folder of its own the picker starts in the user's documents.
    QString base = folder;
    if (base.isEmpty()) {
        base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QDir(base).exists())
            base = QDir::homePath();
    }
    const QString start = proposedName.isEmpty() ? base : base + QLatin1Char('/') + proposedName;
    return QFileDialog::getSaveFileName(parentFor(m_parent), title, start, filter);
}

QString QtDialogs::askFolder(const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(parentFor(m_parent), title, folder);
}

std::unique_ptr<Progress> QtDialogs::startProgress(const QString &label, int maximum)
{
    return std::make_unique<QtProgress>(parentFor(m_parent), label, maximum);
}

} // namespace lumkar
