// A reminder's text from its template, the addresses a reminder may go to, and the reminder
// settings file: the template kept line for line, the password only in a file its owner alone
// reads.

#include "testregistry.h"

#include "appointments/reminders.h"
#include "appointments/remindersettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;

namespace {

ReminderAppointment ayse()
{
    ReminderAppointment a;
    a.rid = 7;
    a.adi = QStringLiteral("Ayşe");
    a.soyadi = QStringLiteral("Yılmaz");
    a.day = QDate(2026, 12, 11);
    a.time = QTime(9, 5);
    a.paketadi = QStringLiteral("Cilt Bakımı");
    a.ownerName = QStringLiteral("Ece Ak");
    return a;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReminderTextTest : public QObject {
    Q_OBJECT
private slots:
    void textFromTemplate_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("the program's own template")
            << defaultReminderText()
            << "Sayın Ayşe Yılmaz, 11.12.2026 Cuma günü saat 09:05 randevunuzu hatırlatırız. "
               "Paket: Cilt Bakımı"
            << QStringList();
        QTest::newRow("any case, with or without the dot of the i")
            << "[ad] [Soyad] [tarih] [TARIH] [TARİH] [tarıh] [gün] [saat] [paket] [personel]"
            << "Ayşe Yılmaz 11.12.2026 11.12.2026 11.12.2026 11.12.2026 Cuma 09:05 Cilt Bakımı "
               "Ece Ak"
            << QStringList();
        QTest::newRow("blanks inside the brackets") << "[ SAAT ]-[AD ]" << "09:05-Ayşe"
                                                    << QStringList();
        QTest::newRow("unknown words stay as written, each named once")
            << "[ADI] [PAKET] [ADI] [] [Gün Adı]"
            << "[ADI] Cilt Bakımı [ADI] [] [Gün Adı]"
            << QStringList{"[ADI]", "[]", "[Gün Adı]"};
        QTest::newRow("lines and stray brackets")
            << "Merhaba [AD],\n[[SAAT]] [AD\nGörüşmek üzere. [PERSONEL]]"
            << "Merhaba Ayşe,\n[09:05] [AD\nGörüşmek üzere. Ece Ak]"
            << QStringList();
        QTest::newRow("no fields") << "Yarın görüşürüz." << "Yarın görüşürüz." << QStringList();
    }
    void textFromTemplate()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QStringList, unknown);
        QCOMPARE(reminderText(pattern, ayse()), text);
        QCOMPARE(unknownFields(pattern), unknown);
    }

    // Every field the window names is one the template knows.
    void theNamedFieldsAreKnown()
    {
        const QString help = reminderFieldsHelp();
        QCOMPARE(help.count(QLatin1Char('[')), 7);
        QVERIFY(unknownFields(help).isEmpty());
        QVERIFY(!reminderText(help, ayse()).contains(QLatin1Char('[')));
    }

    void mailAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain") << "ayse@ornek.com.tr" << true;
        QTest::newRow("dots, plus and blanks around") << "  ayse.yilmaz+randevu@posta.ornek.org "
                                                      << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("no domain dot") << "ayse@localhost" << false;
        QTest::newRow("two at signs") << "ayse@@ornek.com" << false;
        QTest::newRow("blank inside") << "ayse yilmaz@ornek.com" << false;
        QTest::newRow("in angle brackets") << "<ayse@ornek.com>" << false;
        QTest::newRow("two addresses") << "ayse@ornek.com;cem@ornek.com" << false;
        QTest::newRow("a header after a line break") << "a@ornek.com\r\nBcc: b@ornek.com" << false;
        QTest::newRow("empty domain label") << "ayse@ornek..com" << false;
    }
    void mailAddresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(isMailAddress(address), accepted);
    }

    void templateKeptLineForLine_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("text");
        QTest::newRow("lines") << "Hatırlatma: [TARİH]" << "Sayın [AD],\r\nyarın [SAAT].\n\nSaygılar";
        QTest::newRow("backslashes and a written \\n")
            << "\\[AD]\\" << "Klasör C:\\new\\n ve \\\\sunucu\n\\n";
        QTest::newRow("blanks and quotes at the ends") << "  \"Sayın\" " << "'[AD]' \n ";
        QTest::newRow("separators") << "a=b; c # d" << "[AD]; Paket=[PAKET] ; # not";
    }
    void templateKeptLineForLine()
    {
        QFETCH(QString, subject);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(ReminderSettings::fileName());
        ReminderSettings settings;
        settings.pattern = {subject, text};
        settings.server = {QStringLiteral("smtp.ornek.com.tr"), 465, false,
                           QStringLiteral("salon"), QString(), QStringLiteral("salon@ornek.com.tr")};
        QString message;
        QVERIFY(settings.write(path, &message));
        QCOMPARE(message, QString());
        QString refusal;
        const ReminderSettings read = ReminderSettings::read(path, &refusal);
        QCOMPARE(read.pattern.subject, subject);
        QString expected = text;
        QCOMPARE(read.pattern.text, expected.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        QCOMPARE(read.server.port, 465);
        QCOMPARE(read.server.tls, false);
        QCOMPARE(read.server.sender, settings.server.sender);
    }

    void passwordOnlyForItsOwner_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("openedTo"); // permissions given to the file after the write; 0: none
        QTest::addColumn<QString>("password"); // as read back
        QTest::addColumn<bool>("refused");
        const int others = int(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                               | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QTest::newRow("kept") << true << 0 << "gizli;şifre=1" << false;
        QTest::newRow("not kept") << false << 0 << "" << false;
        QTest::newRow("kept, then opened to others") << true << others << "" << true;
        QTest::newRow("not kept, opened to others") << false << others << "" << false;
    }
    void passwordOnlyForItsOwner()
    {
        QFETCH(bool, keep);
        QFETCH(int, openedTo);
        QFETCH(QString, password);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString path = dir.filePath(ReminderSettings::fileName());
        // A file that others could read before: the password never goes into it as it is.
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(0x6644)));
        ReminderSettings settings;
        settings.server.host = QStringLiteral("smtp.ornek.com.tr");
        settings.server.password = QStringLiteral("gizli;şifre=1");
        settings.keepPassword = keep;
        QString message;
        QVERIFY(settings.write(path, &message));
        QCOMPARE(message, QString());
        QCOMPARE(contentsOf(path).contains("gizli"), keep);
        // Kept, the file is the owner's alone: no bit for the group or the others.
        if (keep)
            QCOMPARE(int(QFile::permissions(path) & 0x00ff), 0);
        if (openedTo)
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(openedTo)));
        QString refusal;
        const ReminderSettings read = ReminderSettings::read(path, &refusal);
        QCOMPARE(read.server.password, password);
        QCOMPARE(read.keepPassword, keep);
        QCOMPARE(refusal,
                 refused ? QStringLiteral("E-posta şifresi kullanılmadı: \"%1\" dosyasını başka "
                                          "kullanıcılar da okuyabiliyor. Şifreyi yeniden girip "
                                          "ayarları kaydedin; dosya yalnızca sizin "
                                          "okuyabileceğiniz biçimde yazılır.")
                               .arg(path)
                         : QString());
    }
};

LUMKAR_TEST(ReminderTextTest)

#include "tst_remindertext.moc"
