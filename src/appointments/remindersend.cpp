#include "appointments/remindersend.h"

#include "kit/dialogs.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace lumkar {

namespace {

// Runs `work` in a thread of its own while this thread goes on handling events (the window
// repaints, a test's mail server answers) and watching the progress display: `stop` turns
// true once the user pressed "İptal".
void runBeside(const std::function<void()> &work, Progress &progress, int value,
               std::atomic<bool> &stop)
{
    const std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        progress.setValue(value);
        if (progress.wasCanceled())
            stop = true;
    });
    worker->start();
    watch.start();
    loop.exec();
    worker->wait();
}

QString messageId(const ReminderAppointment &a, const QString &sender, const QDateTime &now)
{
    const QString domain = sender.section(QLatin1Char('@'), -1).trimmed();
    return QStringLiteral("hatirlatma-%1-%2@%3")
        .arg(QString::number(a.rid), QString::number(now.toMSecsSinceEpoch()), domain);
}

} // namespace

int remindersToSend(const QVector<ReminderRow> &rows)
{
    return int(std::count_if(rows.cbegin(), rows.cend(), [](const ReminderRow &row) {
        return row.state == ReminderState::ToSend || row.state == ReminderState::Failed;
    }));
}

QString reminderSendSummary(const ReminderSending &sending, const QVector<ReminderRow> &rows)
{
    constexpr int kNamed = 10;
    QString out = QStringLiteral("%1 hatırlatma gönderildi, %2 hatırlatma gönderilemedi.")
                      .arg(QString::number(sending.sent()), QString::number(sending.failed()));
    int named = 0;
    for (const ReminderRow &row : rows) {
        if (row.state != ReminderState::Failed)
            continue;
        const ReminderAppointment &a = row.appointment;
        if (named++ == 0)
            out += QStringLiteral("\n\nGönderilemeyenler:");
        if (named <= kNamed)
            out += QStringLiteral("\n%1 %2 (%3): %4").arg(a.adi, a.soyadi, a.email, row.cause);
    }
    if (named > kNamed)
        out += QStringLiteral("\n... ve %1 hatırlatma daha.").arg(named - kNamed);
    if (sending.canceled())
        out += QStringLiteral("\n\nGönderim iptal edildi; kalan hatırlatmalar gönderilmedi.");
    return out;
}

bool ReminderSending::send(QVector<ReminderRow> &rows, const ReminderTemplate &pattern,
                           const std::function<void(int row)> &changed)
{
    const int total = remindersToSend(rows);
    const std::unique_ptr<Progress> progress
        = m_dialogs.startProgress(QStringLiteral("Hatırlatmalar gönderiliyor..."), total);
    auto connection = std::make_unique<MailConnection>(m_server);
    std::atomic<bool> stop = false;
    ReminderLog log(m_db);
    bool logWritten = true;
    int done = 0;
    for (int i = 0; i < rows.size() && logWritten; ++i) {
        ReminderRow &row = rows[i];
        if (row.state != ReminderState::ToSend && row.state != ReminderState::Failed)
            continue;
        if (progress->wasCanceled() || stop) {
            m_canceled = true;
            break;
        }
        const ReminderAppointment &a = row.appointment;
        progress->setLabel(QStringLiteral("Hatırlatmalar gönderiliyor: %1 / %2\n%3")
                               .arg(QString::number(done + 1), QString::number(total), a.email));
        const QDateTime begun = QDateTime::currentDateTime();
        switch (log.claim(a, m_userCode, begun, row)) {
        case ReminderLog::Claim::Failed:
            logWritten = false;
            continue;
        case ReminderLog::Claim::AlreadyThere:
            // Sent from another desk since the list was read: the row as the log holds it.
            changed(i);
            progress->setValue(++done);
            continue;
        case ReminderLog::Claim::Claimed:
            break;
        }
        const QString subject = reminderText(pattern.subject, a).simplified();
        const QByteArray message
            = mailMessage(m_server.sender, a.email, subject, reminderText(pattern.text, a),
                          begun, messageId(a, m_server.sender, begun));
        // The worker reads only its own copies while the rows stay with this thread.
        MailResult result;
        runBeside([&result, &connection, &stop, to = a.email, message] {
            result = connection->send(to, message, stop);
        }, *progress, done, stop);
        if (result.sent) {
            ++m_sent;
            row.state = ReminderState::Sent;
            row.when = QDateTime::currentDateTime();
            // Not confirmed, the row still keeps the reminder from going out again.
            logWritten = log.confirm(a, row.when);
        } else {
            ++m_failed;
            row.state = ReminderState::Failed;
            row.cause = result.cause;
            logWritten = log.release(a);
            if (!logWritten) {
                row.state = ReminderState::Interrupted;
                row.when = begun;
            }
        }
        changed(i);
        progress->setValue(++done);
    }
    // The goodbye to the server waits for its answer: beside this thread, as the sends.
    runBeside([&] { connection.reset(); }, *progress, done, stop);
    progress->finish();
    if (!logWritten)
        m_dialogs.error(programTitle(),
                        QStringLiteral("Hatırlatma kaydı yazılamadığı için gönderim durduruldu; "
                                       "kalan hatırlatmalar gönderilmedi.\n")
                            + log.errorText());
    return logWritten;
}

} // namespace lumkar
