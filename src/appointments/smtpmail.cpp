#include "appointments/smtpmail.h"

#include <QStringList>

#include <curl/curl.h>
#include <mutex>

namespace lumkar {

namespace {

// The UTF-8 bytes of a text in pieces of at most `limit` bytes, never splitting a character.
QList<QByteArray> utf8Pieces(const QString &text, qsizetype limit)
{
    QList<QByteArray> out{QByteArray()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, length).toUtf8();
        i += length - 1;
        if (out.last().size() + bytes.size() > limit)
            out << QByteArray();
        out.last() += bytes;
    }
    return out;
}

// The subject as encoded words of at most 75 characters, one per folded line.
QByteArray encodedSubject(const QString &subject)
{
    QList<QByteArray> words;
    for (const QByteArray &piece : utf8Pieces(subject, 45))
        words << "=?UTF-8?B?" + piece.toBase64() + "?=";
    return words.join("\r\n ");
}

QString mailBox(const QString &address)
{
    return QLatin1Char('<') + address.trimmed() + QLatin1Char('>');
}

struct Upload {
    QByteArray bytes;
    qsizetype sent = 0;
};

size_t readUpload(char *buffer, size_t size, size_t count, void *data)
{
    auto *upload = static_cast<Upload *>(data);
    const size_t room = size * count;
    const size_t left = size_t(upload->bytes.size() - upload->sent);
    const size_t n = std::min(room, left);
    memcpy(buffer, upload->bytes.constData() + upload->sent, n);
    upload->sent += qsizetype(n);
    return n;
}

int stopBeforeText(void *data, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
{
    // Once the text goes out the server may deliver it: only a send that has not begun breaks.
    return static_cast<const std::atomic<bool> *>(data)->load() && uploaded == 0 ? 1 : 0;
}

// The last refusal the server answered with ("550 5.1.1 ..."), kept from the conversation.
int keepRefusal(CURL *, curl_infotype type, char *data, size_t size, void *kept)
{
    if (type != CURLINFO_HEADER_IN || !kept)
        return 0;
    const QString line = QString::fromUtf8(data, qsizetype(size)).trimmed();
    if (line.size() >= 3 && (line.at(0) == QLatin1Char('4') || line.at(0) == QLatin1Char('5')))
        *static_cast<QString *>(kept) = line;
    return 0;
}

QString causeOf(CURLcode code, const MailServer &server, const QString &refusal,
                const char *detail)
{
    QString words;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        words = QStringLiteral("posta sunucusu \"%1\" bulunamadı").arg(server.host);
        break;
    case CURLE_COULDNT_CONNECT:
        words = QStringLiteral("posta sunucusuna (%1, port %2) bağlanılamadı")
                    .arg(server.host, QString::number(server.port));
        break;
    case CURLE_OPERATION_TIMEDOUT:
        words = QStringLiteral("posta sunucusu zamanında yanıt vermedi");
        break;
    case CURLE_LOGIN_DENIED:
        words = QStringLiteral("posta sunucusu kullanıcı adını ya da şifreyi kabul etmedi");
        break;
    case CURLE_USE_SSL_FAILED:
        words = QStringLiteral("posta sunucusu güvenli bağlantı (TLS) sunmuyor");
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        words = QStringLiteral("posta sunucusuyla güvenli bağlantı (TLS) kurulamadı");
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        return QStringLiteral("gönderim iptal edildi");
    default:
        words = QStringLiteral("posta sunucusu iletiyi almadı");
        break;
    }
    if (!refusal.isEmpty())
        return words + QStringLiteral(": ") + refusal;
    const QString system = QString::fromUtf8(detail).trimmed();
    return words + QStringLiteral(": ")
        + (system.isEmpty() ? QString::fromUtf8(curl_easy_strerror(code)) : system);
}

} // namespace

QByteArray mailMessage(const QString &from, const QString &to, const QString &subject,
                       const QString &text, const QDateTime &date, const QString &messageId)
{
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray encoded = body.toUtf8().toBase64();
    QByteArray out;
    out += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    out += "From: " + mailBox(from).toUtf8() + "\r\n";
    out += "To: " + mailBox(to).toUtf8() + "\r\n";
    out += "Subject: " + encodedSubject(subject) + "\r\n";
    out += "Message-ID: " + mailBox(messageId).toUtf8() + "\r\n";
    out += "MIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=UTF-8\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "\r\n";
    for (qsizetype at = 0; at < encoded.size(); at += 76)
        out += encoded.mid(at, 76) + "\r\n";
    return out;
}

struct MailConnection::Handle {
    CURL *curl = nullptr;
};

MailConnection::MailConnection(const MailServer &server)
    : m_server(server), m_handle(std::make_unique<Handle>())
{
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_handle->curl = curl_easy_init();
}

MailConnection::~MailConnection()
{
    if (m_handle->curl)
        curl_easy_cleanup(m_handle->curl);
}

MailResult MailConnection::send(const QString &to, const QByteArray &message,
                                const std::atomic<bool> &stop)
{
    CURL *curl = m_handle->curl;
    if (!curl)
        return {false, QStringLiteral("e-posta gönderimi başlatılamadı (libcurl)")};
    QString host = m_server.host.trimmed();
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']'); // an IPv6 address
    const bool tlsFromStart = m_server.tls && m_server.port == 465;
    const QByteArray url = (tlsFromStart ? QStringLiteral("smtps://%1:%2")
                                         : QStringLiteral("smtp://%1:%2"))
                               .arg(host, QString::number(m_server.port))
                               .toUtf8();
    const QByteArray user = m_server.user.toUtf8();
    const QByteArray password = m_server.password.toUtf8();
    const QByteArray from = mailBox(m_server.sender).toUtf8();
    const QByteArray recipient = mailBox(to).toUtf8();
    curl_slist *recipients = curl_slist_append(nullptr, recipient.constData());
    Upload upload{message};
    QString refusal;
    char detail[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     long(m_server.tls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.isEmpty() ? nullptr : user.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, user.isEmpty() ? nullptr : password.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 90L);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, stopBeforeText);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &stop);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, keepRefusal);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &refusal);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);

    const CURLcode code = curl_easy_perform(curl);
    // Nothing of this message stays in the handle for the next one.
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_slist_free_all(recipients);
    if (code == CURLE_OK)
        return {true, QString()};
    return {false, causeOf(code, m_server, refusal, detail)};
}

} // namespace lumkar
