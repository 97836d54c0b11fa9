// The reminders window against a mail server this test starts on 127.0.0.1: one reminder
// delivered with its text intact, one refused by the server with its answer shown, none sent
// twice, nothing sent where the log says a send was begun, and a refused send writes nothing.

#include "csvreader.h"
#include "fixture.h"
#include "testregistry.h"

#include "appointments/hatirlatma.h"
#include "kit/grid.h"
#include "shell/anamenu.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// Enough of a mail server: greets, takes HELO/EHLO, MAIL FROM, RCPT TO (refusing the
// addresses in `refused` with 550), DATA up to the lone dot, RSET, NOOP and QUIT.
class MailServerForTest : public QObject {
public:
    struct Mail {
        QString from;
        QStringList to;
        QByteArray data;
    };
    QStringList refused;
    QStringList recipientsTried;
    QVector<Mail> mails;

    MailServerForTest()
    {
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            qFatal("the test mail server cannot listen");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                m_talks.insert(socket, Talk());
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                socket->write("220 localhost ESMTP sinama\r\n");
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    struct Talk {
        QByteArray pending;
        bool inData = false;
        Mail mail;
    };

    void read(QTcpSocket *socket)
    {
        Talk &talk = m_talks[socket];
        talk.pending += socket->readAll();
        qsizetype end;
        while ((end = talk.pending.indexOf("\r\n")) >= 0) {
            const QByteArray line = talk.pending.left(end);
            talk.pending.remove(0, end + 2);
            if (talk.inData) {
                if (line == ".") {
                    talk.inData = false;
                    mails << talk.mail;
                    talk.mail = Mail();
                    socket->write("250 2.0.0 Ok: queued\r\n");
                } else {
                    talk.mail.data += (line.startsWith("..") ? line.mid(1) : line) + "\r\n";
                }
                continue;
            }
            const QByteArray verb = line.left(4).toUpper();
            const QString argument = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
            const QString address = argument.mid(1, argument.indexOf(QLatin1Char('>')) - 1);
            if (verb == "EHLO" || verb == "HELO") {
                socket->write("250 localhost\r\n");
            } else if (verb == "MAIL") {
                talk.mail = Mail{address, {}, {}};
                socket->write("250 2.1.0 Ok\r\n");
            } else if (verb == "RCPT") {
                recipientsTried << address;
                if (refused.contains(address)) {
                    socket->write("550 5.1.1 <" + address.toUtf8()
                                  + ">: Recipient address rejected\r\n");
                } else {
                    talk.mail.to << address;
                    socket->write("250 2.1.5 Ok\r\n");
                }
            } else if (verb == "DATA") {
                talk.inData = !talk.mail.to.isEmpty();
                socket->write(talk.inData ? "354 End data with <CR><LF>.<CR><LF>\r\n"
                                          : "554 5.5.1 No valid recipients\r\n");
            } else if (verb == "RSET" || verb == "NOOP") {
                talk.mail = Mail();
                socket->write("250 2.0.0 Ok\r\n");
            } else if (verb == "QUIT") {
                socket->write("221 2.0.0 Bye\r\n");
                socket->disconnectFromHost();
                return;
            } else {
                socket->write("502 5.5.2 Error: command not recognized\r\n");
            }
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, Talk> m_talks;
};

// A header's value with its folded lines joined, encoded words decoded.
QString headerOf(const QByteArray &data, const QByteArray &name)
{
    const qsizetype start = data.indexOf(QByteArray("\r\n" + name + ": "));
    if (start < 0)
        return QString();
    QByteArray value;
    for (qsizetype at = start + name.size() + 4;;) {
        const qsizetype end = data.indexOf("\r\n", at);
        value += data.mid(at, end - at).trimmed();
        if (data.at(end + 2) != ' ')
            break;
        at = end + 2;
    }
    static const QRegularExpression word(QStringLiteral("=\\?UTF-8\\?B\\?([^?]*)\\?="));
    QByteArray decoded;
    auto it = word.globalMatch(QString::fromLatin1(value));
    if (!it.hasNext())
        return QString::fromUtf8(value);
    while (it.hasNext())
        decoded += QByteArray::fromBase64(it.next().captured(1).toLatin1());
    return QString::fromUtf8(decoded);
}

QString bodyOf(const QByteArray &data)
{
    const QByteArray base64 = data.mid(data.indexOf("\r\n\r\n") + 4).replace("\r\n", "");
    return QString::fromUtf8(QByteArray::fromBase64(base64));
}

const QDate kDay(2026, 12, 11); // a Friday

struct RemindersDay {
    App app;
    MailServerForTest server;
    ThatirlatmaF *window = nullptr;
    qlonglong ayse = 0;
    qlonglong burak = 0;
    qlonglong derya = 0;

    RemindersDay()
    {
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        const auto person = [&](const char *code, const char *adi, const char *soyadi,
                                const char *ceptel, const char *email) {
            app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi, ceptel, "
                                    "email) VALUES (?,?,?,?,?)"),
                     {QString::fromUtf8(code), QString::fromUtf8(adi), QString::fromUtf8(soyadi),
                      QString::fromUtf8(ceptel), QString::fromUtf8(email)});
        };
        person("1", "Ayşe", "Yılmaz", "(532) 111 22 33", "Ayse@Ornek.com.tr");
        person("2", "Burak", "Çelik", "(533) 222 33 44", "reddet@ornek.com.tr");
        person("3", "Cem", "Öz", "(534) 333 44 55", "");
        person("4", "Derya", "Kaya", "(535) 444 55 66", "derya@ornek.com.tr");
        const QString me = QStringLiteral("lumkar");
        ayse = app.addAppointment({.owner = me, .day = kDay, .time = QTime(10, 0),
                                   .adi = "Ayşe", .soyadi = "Yılmaz", .sicilKodu = "1"});
        burak = app.addAppointment({.owner = me, .day = kDay, .time = QTime(9, 30),
                                    .adi = "Burak", .soyadi = "Çelik", .sicilKodu = "2"});
        app.addAppointment({.owner = me, .day = kDay, .time = QTime(11, 0), .adi = "Cem",
                            .soyadi = "Öz", .sicilKodu = "3"});
        derya = app.addAppointment({.owner = me, .day = kDay, .time = QTime(12, 0),
                                    .adi = "Derya", .soyadi = "Kaya", .sicilKodu = "4"});
        // Not listed: held, cancelled, another day; another user's only with everyone's.
        app.addAppointment({.owner = me, .day = kDay, .adi = "Görüşülen", .gorusmekodu = 3,
                            .sicilKodu = "1"});
        app.addAppointment({.owner = me, .day = kDay, .adi = "İptal", .iptalkodu = 9,
                            .sicilKodu = "1"});
        app.addAppointment({.owner = me, .day = kDay.addDays(1), .adi = "Sonraki",
                            .sicilKodu = "1"});
        app.addAppointment({.owner = QStringLiteral("ece"), .day = kDay, .time = QTime(8, 0),
                            .adi = "Ecenin", .ownerName = "Ece Ak", .sicilKodu = "1"});
        app.exec(QStringLiteral("UPDATE randevu SET paketadi = ? WHERE rid = ?"),
                 {QStringLiteral("Cilt Bakımı"), ayse});
        // Derya's reminder was begun once and never finished: it is not sent again.
        app.exec(QStringLiteral("INSERT INTO hatirlatma (randevuno, adres, randevutarihi, "
                                "randevusaati, gonderim, gonderen) VALUES (?,?,?,?,?,?)"),
                 {derya, QStringLiteral("derya@ornek.com.tr"), "2026-12-11 00:00:00",
                  "1899-12-30 12:00:00", "2026-12-10 18:04:00", me});
        server.refused << QStringLiteral("reddet@ornek.com.tr");
        if (!app.login(me))
            qFatal("login failed");
        window = app.forms().hatirlatmaF;
        app.forms().anamenuf->N11Hatirlatmalar();
        window->gunTarihi->setDate(kDay);
        QTest::mouseClick(window->listeleBut, Qt::LeftButton);
    }

    void setServer(const QString &host, const QString &port, const QString &sender)
    {
        window->sunucuEdit->setText(host);
        window->portEdit->setText(port);
        window->tlsBox->setChecked(false);
        window->gonderenEdit->setText(sender);
    }
    void useTestServer()
    {
        setServer(QStringLiteral("127.0.0.1"), QString::number(server.port()),
                  QStringLiteral("salon@ornek.com.tr"));
    }

    QStringList column(int column) const
    {
        QStringList out;
        for (int row = 0; row < window->rows().size(); ++row)
            out << window->hatirlatmaGrid->gridModel()->cellText(row, column);
        return out;
    }
    int logRows() { return app.scalar(QStringLiteral("SELECT count(*) FROM hatirlatma")).toInt(); }
};

} // namespace

class RemindersTest : public QObject {
    Q_OBJECT
private slots:
    void sendsEachReminderOnce()
    {
        RemindersDay day;
        QCOMPARE(day.column(ThatirlatmaF::Adi),
                 (QStringList{"Burak", "Ayşe", "Cem", "Derya"}));
        QCOMPARE(day.column(ThatirlatmaF::Ceptel).first(), QStringLiteral("(533) 222 33 44"));
        QVERIFY(day.window->hatirlatmaGrid->isColumnHidden(ThatirlatmaF::Personel));
        const QString subject = QStringLiteral("Çarşamba değil [GÜN]: [AD] Hanım/Bey, "
                                               "randevunuz [SAAT]'te ığüşöçİĞÜŞÖÇ");
        day.window->konuEdit->setText(subject);
        day.window->metinEdit->setPlainText(QStringLiteral("Sayın [AD] [SOYAD],\n[TARİH] [GÜN] "
                                                           "[SAAT] randevunuz var.\n.\nPaket: "
                                                           "[PAKET] [ADI]"));
        QCOMPARE(day.window->bilinmeyenLabel->text(),
                 QStringLiteral("Bilinmeyen alan: [ADI] (metinde olduğu gibi kalır)"));
        const QString ayseText = QStringLiteral("Sayın Ayşe Yılmaz,\n11.12.2026 Cuma 10:00 "
                                                "randevunuz var.\n.\nPaket: Cilt Bakımı [ADI]");
        QCOMPARE(day.column(ThatirlatmaF::Metin).at(1), ayseText);
        QCOMPARE(day.column(ThatirlatmaF::Durum),
                 (QStringList{"Gönderilecek", "Gönderilecek", "E-posta adresi yok",
                              "Gönderimi yarım kaldı (10.12.2026 18:04); yeniden gönderilmez"}));

        day.useTestServer();
        day.app.dialogs.expectQuestion(Answer::Yes);
        day.app.dialogs.expectNotice();
        QTest::mouseClick(day.window->gonderBut, Qt::LeftButton);
        const QVector<ShownDialog> shown = day.app.dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("Şablonda bilinmeyen alan var: [ADI]. Bu alanlar "
                                               "metinde olduğu gibi kalır.\n2 hatırlatma "
                                               "e-postayla gönderilecek. Devam edilsin mi?"));
        QCOMPARE(shown[1].kind, QStringLiteral("information"));
        const QString refusal = QStringLiteral("posta sunucusu iletiyi almadı: 550 5.1.1 "
                                               "<reddet@ornek.com.tr>: Recipient address "
                                               "rejected");
        QCOMPARE(shown[1].text,
                 QStringLiteral("1 hatırlatma gönderildi, 1 hatırlatma gönderilemedi.\n\n"
                                "Gönderilemeyenler:\nBurak Çelik (reddet@ornek.com.tr): ")
                     + refusal);
        QCOMPARE(day.app.dialogs.progress().size(), 1);
        QCOMPARE(day.app.dialogs.progress()[0].maximum, 2);
        QVERIFY(day.app.dialogs.progress()[0].finished);

        // Delivered: Ayşe's, whole; Burak's address refused with the server's answer.
        QCOMPARE(day.server.recipientsTried,
                 (QStringList{"reddet@ornek.com.tr", "Ayse@Ornek.com.tr"}));
        QCOMPARE(day.server.mails.size(), 1);
        const MailServerForTest::Mail &mail = day.server.mails[0];
        QCOMPARE(mail.from, QStringLiteral("salon@ornek.com.tr"));
        QCOMPARE(mail.to, QStringList{"Ayse@Ornek.com.tr"});
        QCOMPARE(headerOf(mail.data, "Subject"),
                 QStringLiteral("Çarşamba değil Cuma: Ayşe Hanım/Bey, randevunuz "
                                "10:00'te ığüşöçİĞÜŞÖÇ"));
        QCOMPARE(headerOf(mail.data, "To"), QStringLiteral("<Ayse@Ornek.com.tr>"));
        QCOMPARE(bodyOf(mail.data), QString(ayseText).replace("\n", "\r\n"));
        QStringList states = day.column(ThatirlatmaF::Durum);
        QCOMPARE(states[0], QStringLiteral("Gönderilemedi: ") + refusal);
        QVERIFY2(states[1].startsWith(QStringLiteral("Gönderildi (")), qPrintable(states[1]));
        QCOMPARE(day.logRows(), 2);
        QCOMPARE(day.app.scalar(QStringLiteral("SELECT adres || '/' || gonderildi || '/' || "
                                               "gonderen FROM hatirlatma WHERE randevuno = ?"),
                                {day.ayse}).toString(),
                 QStringLiteral("ayse@ornek.com.tr/E/lumkar"));

        // Again: only the refused one is tried; nothing is delivered twice.
        day.app.dialogs.clear();
        day.app.dialogs.expectQuestion(Answer::Yes);
        day.app.dialogs.expectNotice();
        day.window->gonder();
        QVERIFY(day.app.dialogs.shown()[0].text.endsWith(
            QStringLiteral("\n1 hatırlatma e-postayla gönderilecek. Devam edilsin mi?")));
        QVERIFY(day.app.dialogs.lastText().startsWith(
            QStringLiteral("0 hatırlatma gönderildi, 1 hatırlatma gönderilemedi.\n")));
        QCOMPARE(day.server.recipientsTried.size(), 3);
        QCOMPARE(day.server.recipientsTried.last(), QStringLiteral("reddet@ornek.com.tr"));
        QCOMPARE(day.server.mails.size(), 1);

        // Read again, the list shows what the log holds; with the refused address taken out of
        // the register nothing is left to send.
        day.app.exec(QStringLiteral("UPDATE siciltablo SET email = '' WHERE sicil_kodu = '2'"));
        QVERIFY(day.window->listele());
        states = day.column(ThatirlatmaF::Durum);
        QCOMPARE(states[0], QStringLiteral("E-posta adresi yok"));
        QVERIFY(states[1].startsWith(QStringLiteral("Gönderildi (")));
        day.app.dialogs.clear();
        day.app.dialogs.expectNotice();
        day.window->gonder();
        QCOMPARE(day.app.dialogs.lastText(),
                 QStringLiteral("Gönderilecek hatırlatma yok: listedekilerin hatırlatması "
                                "gönderilmiş ya da e-posta adresleri yok."));
        QCOMPARE(day.server.recipientsTried.size(), 3);
        QVERIFY(day.app.dialogs.allConsumed());
    }

    void cancelStopsAfterTheMailUnderWay()
    {
        RemindersDay day;
        day.useTestServer();
        day.app.dialogs.expectQuestion(Answer::Yes);
        day.app.dialogs.expectNotice();
        day.app.dialogs.cancelProgressAt(1);
        day.window->gonder();
        QCOMPARE(day.server.recipientsTried, QStringList{"reddet@ornek.com.tr"});
        QVERIFY(day.app.dialogs.lastText().endsWith(
            QStringLiteral("\n\nGönderim iptal edildi; kalan hatırlatmalar gönderilmedi.")));
        QCOMPARE(day.column(ThatirlatmaF::Durum).at(1), QStringLiteral("Gönderilecek"));
        QCOMPARE(day.logRows(), 1);
    }

    void everyonesListFollowsTheBox()
    {
        RemindersDay day;
        QTest::mouseClick(day.window->CheckBox2, Qt::LeftButton);
        QCOMPARE(day.column(ThatirlatmaF::Adi),
                 (QStringList{"Ecenin", "Burak", "Ayşe", "Cem", "Derya"}));
        QCOMPARE(day.column(ThatirlatmaF::Personel).first(), QStringLiteral("Ece Ak"));
        QVERIFY(!day.window->hatirlatmaGrid->isColumnHidden(ThatirlatmaF::Personel));

        // The list as shown goes to a file for a messaging service.
        const QString path = QDir(day.app.folder()).filePath(QStringLiteral("mesaj.csv"));
        day.app.dialogs.expectFile(path);
        QTest::mouseClick(day.window->disaAktarBut, Qt::LeftButton);
        const CsvFile csv = readCsv(readFile(path));
        QCOMPARE(csv.records.size(), 6);
        QCOMPARE(csv.records[0].at(ThatirlatmaF::Ceptel), QStringLiteral("Cep Telefonu"));
        QCOMPARE(csv.records[0].at(ThatirlatmaF::Metin), QStringLiteral("Hatırlatma Metni"));
        QCOMPARE(csv.records[3].at(ThatirlatmaF::Ceptel), QStringLiteral("(532) 111 22 33"));
        QCOMPARE(csv.records[3].at(ThatirlatmaF::Metin),
                 QStringLiteral("Sayın Ayşe Yılmaz, 11.12.2026 Cuma günü saat 10:00 "
                                "randevunuzu hatırlatırız. Paket: Cilt Bakımı"));
    }

    void aRefusedSendWritesNothing_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("told");
        const QString missing = QStringLiteral("Hatırlatmaları e-postayla göndermek için önce "
                                               "giden posta sunucusunu ve gönderen adresini "
                                               "girin.");
        QTest::newRow("no server") << "" << "25" << "salon@ornek.com.tr" << missing;
        QTest::newRow("no sender") << "127.0.0.1" << "25" << "" << missing;
        QTest::newRow("port out of range")
            << "127.0.0.1" << "70000" << "salon@ornek.com.tr"
            << "Port, 1 ile 65535 arasında bir sayı olmalı.";
        QTest::newRow("port no number") << "127.0.0.1" << "abc" << "salon@ornek.com.tr"
                                        << "Port, 1 ile 65535 arasında bir sayı olmalı.";
        QTest::newRow("sender no address")
            << "127.0.0.1" << "25" << "salon ornek"
            << "Gönderen adresi (salon ornek) bir e-posta adresi değil.";
    }
    void aRefusedSendWritesNothing()
    {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, sender);
        QFETCH(QString, told);
        RemindersDay day;
        day.setServer(host, port, sender);
        day.app.dialogs.expectNotice();
        day.window->gonder();
        QCOMPARE(day.app.dialogs.shown().size(), 1);
        QCOMPARE(day.app.dialogs.shown()[0].kind, QStringLiteral("warning"));
        QCOMPARE(day.app.dialogs.lastText(), told);
        QCOMPARE(day.logRows(), 1);
        QVERIFY(day.server.recipientsTried.isEmpty());
    }
};

LUMKAR_TEST(RemindersTest)

#include "tst_reminders.moc"
