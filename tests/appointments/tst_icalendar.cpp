// Appointments as a calendar file: text escaping, line folding at 75 octets without splitting
// a letter, durations, and a whole file read back the way a calendar program reads it.

#include "testregistry.h"

#include "appointments/icalendar.h"
#include "calendarreader.h"

#include <QTest>
#include <QTimeZone>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// Every physical line of a folded line, without its CR LF.
QList<QByteArray> physicalLines(const QByteArray &folded)
{
    QList<QByteArray> lines = folded.split('\n');
    lines.removeLast(); // after the last CR LF
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

QByteArray unfolded(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i)
        out += i == 0 ? lines[i] : lines[i].mid(1);
    return out;
}

QString repeated(const QString &text, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

} // namespace

class CalendarFileTest : public QObject {
    Q_OBJECT
private slots:
    void escapeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain Turkish") << "Çağrı Öztürk İşlem"
                                       << "Çağrı Öztürk İşlem";
        QTest::newRow("backslash") << "C:\\Belgeler"
                                   << "C:\\\\Belgeler";
        QTest::newRow("semicolon and comma") << "a;b,c"
                                             << "a\\;b\\,c";
        QTest::newRow("colon stays") << "Saat: 10:30"
                                     << "Saat: 10:30";
        QTest::newRow("CR LF is one break") << "bir\r\niki"
                                            << "bir\\niki";
        QTest::newRow("LF") << "bir\niki"
                            << "bir\\niki";
        QTest::newRow("CR") << "bir\riki"
                            << "bir\\niki";
        QTest::newRow("CR then CR LF is two") << "bir\r\r\niki"
                                              << "bir\\n\\niki";
        QTest::newRow("escaped n stays two letters") << "\\n"
                                                     << "\\\\n";
        QTest::newRow("control letters left out") << QString::fromUtf8("a\x01\x1b"
                                                                       "b\x7f")
                                                  << "ab";
        QTest::newRow("tab stays") << "a\tb"
                                   << "a\tb";
    }
    void escapeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(icalendar::escapeText(text), escaped);
        QVERIFY(isEscapedText(escaped));
    }

    void foldLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("physical");
        QTest::newRow("short") << "SUMMARY:Ayşe" << 1;
        QTest::newRow("75 octets stay one line") << repeated(QStringLiteral("a"), 75) << 1;
        QTest::newRow("76 octets fold") << repeated(QStringLiteral("a"), 76) << 2;
        QTest::newRow("75 + 74 octets") << repeated(QStringLiteral("a"), 149) << 2;
        QTest::newRow("75 + 74 + 1 octets") << repeated(QStringLiteral("a"), 150) << 3;
        // "ş" is two octets: octets 75 and 76 would split it.
        QTest::newRow("two-octet letter on the edge")
            << repeated(QStringLiteral("a"), 74) + QStringLiteral("şb") << 2;
        // "€" is three octets, "𝄞" four: folded wherever they fall.
        QTest::newRow("three-octet letters") << repeated(QStringLiteral("€"), 60) << 3;
        QTest::newRow("four-octet letters")
            << repeated(QString::fromUtf8("\xF0\x9D\x84\x9E"), 40) << 3;
        QTest::newRow("Turkish text") << repeated(QStringLiteral("ığüşöçİĞÜŞÖÇ "), 20) << 7;
    }
    void foldLine()
    {
        QFETCH(QString, line);
        QFETCH(int, physical);
        const QByteArray utf8 = line.toUtf8();
        const QByteArray folded = icalendar::foldLine(utf8);
        QVERIFY(folded.endsWith("\r\n"));
        QCOMPARE(folded.count('\n'), folded.count("\r\n"));
        const QList<QByteArray> lines = physicalLines(folded);
        QCOMPARE(lines.size(), physical);
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY2(lines[i].size() <= 75, lines[i].constData());
            if (i > 0) {
                QVERIFY(lines[i].startsWith(' '));
                QVERIFY(lines[i].size() > 1);
            }
            // Each physical line alone is whole UTF-8: no letter is cut.
            const QByteArray content = i == 0 ? lines[i] : lines[i].mid(1);
            QCOMPARE(QString::fromUtf8(content).toUtf8(), content);
            QVERIFY(!QString::fromUtf8(content).contains(QChar::ReplacementCharacter));
        }
        QCOMPARE(unfolded(lines), utf8);
        // A fold uses all the room it has: only the last line may be short of a whole letter.
        for (int i = 0; i + 1 < lines.size(); ++i)
            QVERIFY(lines[i].size() > 75 - 4);
    }

    // Bytes that are not UTF-8 are still folded, and the folding comes to an end.
    void foldLineOfBrokenBytes()
    {
        const QByteArray broken(200, '\x80');
        const QList<QByteArray> lines = physicalLines(icalendar::foldLine(broken));
        QCOMPARE(lines.size(), 3);
        for (const QByteArray &line : lines)
            QVERIFY(line.size() <= 75);
        QCOMPARE(unfolded(lines), broken);
    }

    void duration_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("text");
        QTest::newRow("3") << 3 << "PT3M";
        QTest::newRow("30") << 30 << "PT30M";
        QTest::newRow("60") << 60 << "PT1H";
        QTest::newRow("75") << 75 << "PT1H15M";
        QTest::newRow("180") << 180 << "PT3H";
    }
    void duration()
    {
        QFETCH(int, minutes);
        QFETCH(QString, text);
        QCOMPARE(icalendar::duration(minutes), text);
    }

    void summaryNamesPersonAndPackage_data()
    {
        QTest::addColumn<QString>("person");
        QTest::addColumn<QString>("package");
        QTest::addColumn<QString>("summary");
        QTest::newRow("both") << "Ayşe Yılmaz"
                              << "Cilt Bakımı"
                              << "Ayşe Yılmaz - Cilt Bakımı";
        QTest::newRow("no package") << "Ayşe Yılmaz"
                                    << ""
                                    << "Ayşe Yılmaz";
        QTest::newRow("blank package") << "Ayşe Yılmaz"
                                       << "  "
                                       << "Ayşe Yılmaz";
        QTest::newRow("no person") << ""
                                   << "Masaj"
                                   << "Masaj";
    }
    void summaryNamesPersonAndPackage()
    {
        QFETCH(QString, person);
        QFETCH(QString, package);
        QFETCH(QString, summary);
        CalendarAppointment appointment;
        appointment.personName = person;
        appointment.packageName = package;
        QCOMPARE(icalendar::summary(appointment), summary);
    }

    // Three appointments: one with every character that must be escaped and Turkish letters in
    // its description, one at 23:45 whose event runs into the next day, one whose summary is
    // too long for one line. Read back, each event says what was written.
    void threeAppointmentsReadBack()
    {
        CalendarAppointment special;
        special.rid = 7;
        special.day = QDate(2009, 10, 7);
        special.time = QTime(9, 5);
        special.personName = QStringLiteral("Çiğdem Işık");
        special.packageName = QStringLiteral("Saç; Boya, Kesim");
        special.description
            = QStringLiteral("Kök boya, 2 tüp; ılık su\\soğuk su\r\nSonraki seans: Şubat\nİğne\r");
        CalendarAppointment late;
        late.rid = 123;
        late.day = QDate(2009, 12, 31);
        late.time = QTime(23, 45);
        late.personName = QStringLiteral("Ali Veli");
        CalendarAppointment longOne;
        longOne.rid = 2147483647;
        longOne.day = QDate(2010, 2, 28);
        longOne.time = QTime(14, 0);
        longOne.personName = QStringLiteral("Gülşen Şükriye Öztürkmenoğlu Çağlayangiller");
        longOne.packageName
            = QStringLiteral("Özel Günlük Yüz Bakımı, Ağda ve Manikür Üçlü Paketi (İkinci Seans)");
        longOne.description = QStringLiteral("  \r\n  "); // blanks only: no description

        const QDateTime stamp(QDate(2026, 12, 10), QTime(3, 4, 5), QTimeZone(3 * 3600));
        const QByteArray bytes = icalendar::calendarFile({ special, late, longOne }, 30, stamp);
        const CalendarReading file = readCalendar(bytes);
        QVERIFY2(file.faults.isEmpty(), qPrintable(file.faults.join(QLatin1Char('\n'))));
        QVERIFY(bytes.size() > 0 && QString::fromUtf8(bytes).toUtf8() == bytes);

        // The calendar around the events.
        QVERIFY(file.properties.size() > 5);
        QCOMPARE(file.properties.first().name, QStringLiteral("BEGIN"));
        QCOMPARE(file.properties.first().value, QStringLiteral("VCALENDAR"));
        QCOMPARE(file.properties.last().name, QStringLiteral("END"));
        QCOMPARE(file.properties.last().value, QStringLiteral("VCALENDAR"));
        QHash<QString, QString> calendar;
        for (const CalendarProperty &p : file.properties)
            if (!calendar.contains(p.name))
                calendar.insert(p.name, p.value);
        QCOMPARE(calendar.value(QStringLiteral("VERSION")), QStringLiteral("2.0"));
        QCOMPARE(calendar.value(QStringLiteral("PRODID")),
            QStringLiteral("-//Lumkar Dorvalen//Randevu//TR"));
        QCOMPARE(calendar.value(QStringLiteral("CALSCALE")), QStringLiteral("GREGORIAN"));

        QCOMPARE(file.events.size(), 3);
        const auto &first = file.events[0];
        QCOMPARE(first.value(QStringLiteral("UID")), QStringLiteral("randevu-7@lumkar-dorvalen"));
        QCOMPARE(first.value(QStringLiteral("DTSTAMP")), QStringLiteral("20261210T000405Z"));
        QCOMPARE(first.value(QStringLiteral("DTSTART")), QStringLiteral("20091007T090500"));
        QCOMPARE(first.value(QStringLiteral("DURATION")), QStringLiteral("PT30M"));
        QVERIFY(isEscapedText(first.value(QStringLiteral("SUMMARY"))));
        QCOMPARE(unescapeCalendarText(first.value(QStringLiteral("SUMMARY"))),
            QStringLiteral("Çiğdem Işık - Saç; Boya, Kesim"));
        QVERIFY(isEscapedText(first.value(QStringLiteral("DESCRIPTION"))));
        QCOMPARE(unescapeCalendarText(first.value(QStringLiteral("DESCRIPTION"))),
            QStringLiteral("Kök boya, 2 tüp; ılık su\\soğuk su\nSonraki seans: Şubat\nİğne"));

        const auto &second = file.events[1];
        QCOMPARE(
            second.value(QStringLiteral("UID")), QStringLiteral("randevu-123@lumkar-dorvalen"));
        QCOMPARE(second.value(QStringLiteral("DTSTART")), QStringLiteral("20091231T234500"));
        QCOMPARE(second.value(QStringLiteral("DURATION")), QStringLiteral("PT30M"));
        // Floating time: no zone, no "Z"; the event ends in the next year.
        const QDateTime start = QDateTime::fromString(
            second.value(QStringLiteral("DTSTART")), QStringLiteral("yyyyMMdd'T'HHmmss"));
        QVERIFY(start.isValid());
        QCOMPARE(start.addSecs(30 * 60).date(), QDate(2010, 1, 1));
        QCOMPARE(unescapeCalendarText(second.value(QStringLiteral("SUMMARY"))),
            QStringLiteral("Ali Veli"));
        QVERIFY(!second.contains(QStringLiteral("DESCRIPTION")));

        const auto &third = file.events[2];
        QCOMPARE(third.value(QStringLiteral("UID")),
            QStringLiteral("randevu-2147483647@lumkar-dorvalen"));
        QCOMPARE(third.value(QStringLiteral("DTSTART")), QStringLiteral("20100228T140000"));
        const QString summary = QStringLiteral("Gülşen Şükriye Öztürkmenoğlu Çağlayangiller - "
                                               "Özel Günlük Yüz Bakımı, Ağda ve Manikür Üçlü "
                                               "Paketi (İkinci Seans)");
        QCOMPARE(unescapeCalendarText(third.value(QStringLiteral("SUMMARY"))), summary);
        QVERIFY(!third.contains(QStringLiteral("DESCRIPTION")));
        // The long summary was folded: its line begins a run of continuation lines.
        const qsizetype at = bytes.indexOf("SUMMARY:G");
        QVERIFY(at > 0);
        const qsizetype end = bytes.indexOf("\r\n", at);
        QVERIFY(end - at > 70 && end - at <= 75);
        QCOMPARE(bytes.at(end + 2), ' ');

        // Every event has exactly the properties a calendar needs.
        for (const auto &event : file.events)
            for (const char *name : { "UID", "DTSTAMP", "DTSTART", "DURATION", "SUMMARY" })
                QVERIFY2(event.contains(QString::fromLatin1(name)), name);
    }

    void emptyListIsAnEmptyCalendar()
    {
        const QByteArray bytes = icalendar::calendarFile({}, 45, QDateTime::currentDateTimeUtc());
        const CalendarReading file = readCalendar(bytes);
        QVERIFY(file.faults.isEmpty());
        QCOMPARE(file.events.size(), 0);
        QCOMPARE(bytes,
            QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Lumkar Dorvalen//Randevu//TR"
                       "\r\nCALSCALE:GREGORIAN\r\nEND:VCALENDAR\r\n"));
    }

    // The reader used above refuses what a strict calendar program refuses.
    void readerFindsFaults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("bare LF") << QByteArray("BEGIN:VCALENDAR\nEND:VCALENDAR\r\n");
        QTest::newRow("no CR LF at the end") << QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR");
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                       "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
        QTest::newRow("76 octets") << "X:" + QByteArray(74, 'a') + "\r\n";
        QTest::newRow("split letter") << QByteArray("X:a\xC5\r\n \x9F\r\n");
    }
    void readerFindsFaults()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!readCalendar(bytes).faults.isEmpty());
    }
};

LUMKAR_TEST(CalendarFileTest)
#include "tst_icalendar.moc"
