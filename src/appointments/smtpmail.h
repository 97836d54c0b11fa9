#pragma once
// E-mail through an outgoing mail server (SMTP, spoken by libcurl): the message as the server
// receives it, and one connection that sends messages one by one and says what became of each
// in the user's words.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <atomic>
#include <memory>

namespace lumkar {

struct MailServer {
    QString host;
    int port = 587;
    // On port 465 TLS from the first byte; on any other port the server must take STARTTLS.
    // Off, the mail and the login go unencrypted (a server in the same building).
    bool tls = true;
    QString user; // empty: the server takes mail without a login
    QString password;
    QString sender; // the From address

    bool isSet() const { return !host.trimmed().isEmpty() && !sender.trimmed().isEmpty(); }
};

// A plain-text message in UTF-8: the headers in ASCII (the subject as encoded words, folded),
// the text in base64 lines, CR LF line ends.
QByteArray mailMessage(const QString &from, const QString &to, const QString &subject,
                       const QString &text, const QDateTime &date, const QString &messageId);

struct MailResult {
    bool sent = false;
    QString cause; // why not, in Turkish, with the server's own answer when it gave one
};

// One connection to a mail server, kept open between messages, used by one thread at a time.
// Destroying it says goodbye to the server and waits for its answer.
class MailConnection {
public:
    explicit MailConnection(const MailServer &server);
    ~MailConnection();
    MailConnection(const MailConnection &) = delete;
    MailConnection &operator=(const MailConnection &) = delete;

    // Sends one message to `to` and waits for the server's answer (within time limits). When
    // `stop` turns true before the text of the message began to go out, the send breaks off
    // and nothing is delivered.
    MailResult send(const QString &to, const QByteArray &message,
                    const std::atomic<bool> &stop);

private:
    struct Handle;
    MailServer m_server;
    std::unique_ptr<Handle> m_handle;
};

} // namespace lumkar
