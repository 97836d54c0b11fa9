// The entry rules over plain text: numbers, amount keystrokes, dates, times, digits,
// Turkish lower-casing and word capitalisation.

#include "testregistry.h"
#include "data/entryrules.h"

#include <QLocale>
#include <QTest>

using namespace lumkar;

namespace {

// Types keys into an amount box the way a line edit applies a key the rule lets through:
// a character goes in at the caret, Backspace removes the character before it.
QStringList typeAmount(QString text, int caret, const QString &keys)
{
    QStringList shown;
    for (const QChar key : keys) {
        const KeyOutcome outcome = TutarTusKontrol(BoxState{text, caret, 0, 0}, key);
        if (outcome.replaceText) {
            text = outcome.text;
            caret = outcome.caret;
        }
        if (outcome.keep) {
            if (key != BackspaceKey) {
                text.insert(caret++, key);
            } else if (caret > 0) {
                text.remove(--caret, 1);
            }
        }
        shown << text;
    }
    return shown;
}

QString quoted(const QString &shown, const QString &rest)
{
    return QLatin1Char('"') + shown + QLatin1Char('"') + rest;
}

} // namespace

class TestEntryRules : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void numbers_data();
    void numbers();
    void numberMessage();
    void numberConvenience();
    void numbersIgnoreMachineLocale();
    void numbersFollowRegion();
    void cents_data();
    void cents();

    void amountTyping_data();
    void amountTyping();
    void amountKey_data();
    void amountKey();

    void dates_data();
    void dates();
    void times_data();
    void times();
    void timeResetValue();
    void datesFollowRegion();

    void digitsKey_data();
    void digitsKey();
    void lowerCase_data();
    void lowerCase();
    void capitalisation_data();
    void capitalisation();
};

void TestEntryRules::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void TestEntryRules::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void TestEntryRules::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::newRow("empty") << QString() << true << 0.0;
    QTest::newRow("letters only") << QStringLiteral("abc") << true << 0.0;
    QTest::newRow("grouped amount") << QStringLiteral("1.234,50") << true << 1234.5;
    QTest::newRow("date box") << QStringLiteral("05.03.2008") << true << 5032008.0;
    QTest::newRow("empty date box") << QStringLiteral("  .  .    ") << true << 0.0;
    QTest::newRow("time box") << QStringLiteral("09:30") << true << 930.0;
    QTest::newRow("negative") << QStringLiteral("-5") << true << -5.0;
    QTest::newRow("plus sign") << QStringLiteral("+7") << true << 7.0;
    QTest::newRow("sign not first") << QStringLiteral("5-3") << true << 53.0;
    QTest::newRow("blank before sign") << QStringLiteral(" -5") << true << 5.0;
    QTest::newRow("letters dropped") << QStringLiteral("a1b2,c5") << true << 12.5;
    QTest::newRow("decimal mark first") << QStringLiteral(",5") << true << 0.5;
    QTest::newRow("decimal mark last") << QStringLiteral("1.234,") << true << 1234.0;
    QTest::newRow("negative fraction") << QStringLiteral("-,25") << true << -0.25;
    QTest::newRow("telephone") << QStringLiteral("(212) 555 12 34") << true << 2125551234.0;
    QTest::newRow("lone decimal mark") << QStringLiteral(",") << false << 0.0;
    QTest::newRow("lone minus") << QStringLiteral("-") << false << 0.0;
    QTest::newRow("lone plus") << QStringLiteral("+") << false << 0.0;
    QTest::newRow("sign and letters") << QStringLiteral("-abc") << false << 0.0;
    QTest::newRow("sign and mark") << QStringLiteral("-,") << false << 0.0;
    QTest::newRow("two decimal marks") << QStringLiteral("1,2,3") << false << 0.0;
    QTest::newRow("too large") << QString(400, QLatin1Char('9')) << false << 0.0;
}

void TestEntryRules::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);

    const NumberReading reading = SayiyaCevir(text);
    QCOMPARE(reading.ok, ok);
    QCOMPARE(reading.value, value);
    QCOMPARE(reading.message.isEmpty(), ok);
}

void TestEntryRules::numberMessage()
{
    QCOMPARE(SayiyaCevir(QStringLiteral(",")).message,
             QStringLiteral("',' geçerli bir sayı değil."));
    QCOMPARE(SayiyaCevir(QStringLiteral(" 1,2,3 ")).message,
             QStringLiteral("'1,2,3' geçerli bir sayı değil."));
}

void TestEntryRules::numberConvenience()
{
    bool ok = false;
    QCOMPARE(SayiyaCevir(QStringLiteral("12,5"), &ok), 12.5);
    QVERIFY(ok);
    QCOMPARE(SayiyaCevir(QStringLiteral("-"), &ok), 0.0);
    QVERIFY(!ok);
    QCOMPARE(SayiyaCevir(QStringLiteral("7"), nullptr), 7.0);
}

void TestEntryRules::numbersIgnoreMachineLocale()
{
    QLocale::setDefault(QLocale::c());
    QCOMPARE(SayiyaCevir(QStringLiteral("1.234,50")).value, 1234.5);
    QCOMPARE(TarihTamamla(QStringLiteral("5 .3 .8   ")).text, QStringLiteral("05.03.2008"));
}

void TestEntryRules::numbersFollowRegion()
{
    const Region dotDecimal{QLatin1Char('.'), QLatin1Char('/'), QLatin1Char(':')};
    QCOMPARE(SayiyaCevir(QStringLiteral("1,234.5"), dotDecimal).value, 1234.5);
    QVERIFY(!SayiyaCevir(QStringLiteral("1.2.3"), dotDecimal).ok);
    QCOMPARE(SayiyaCevir(QStringLiteral("1,5"), dotDecimal).value, 15.0);
}

void TestEntryRules::cents_data()
{
    // A half goes to the even kuruş, judged on the typed decimal even where the nearest double
    // lies just below the half (1,015) or just above it (2,345).
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("rounded");
    QTest::newRow("half down to even") << "2,345" << "2,34";
    QTest::newRow("half up to even") << "1,015" << "1,02";
    QTest::newRow("half up, double exact") << "2,355" << "2,36";
    QTest::newRow("half a kuruş from zero") << "0,005" << "0";
    QTest::newRow("negative halves") << "-1,015" << "-1,02";
    QTest::newRow("negative half a kuruş") << "-0,005" << "0";
    QTest::newRow("a hair above a half") << "0,00500000001" << "0,01";
    QTest::newRow("large") << "1.234.567,895" << "1234567,9";
}

void TestEntryRules::cents()
{
    QFETCH(QString, typed);
    // The shortest text of a double names it exactly: 2,34 and 2,3400000001 differ.
    QString exact = QString::number(roundToCents(SayiyaCevir(typed).value), 'f',
                                    QLocale::FloatingPointShortest);
    QTEST(exact.replace(QLatin1Char('.'), QLatin1Char(',')), "rounded");
}

void TestEntryRules::amountTyping_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("caret"); // -1: at the end
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("shown");

    const QString bs(BackspaceKey);
    QTest::newRow("digits grouped while typing")
        << QString() << -1 << QStringLiteral("1234567")
        << QStringList{QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("123"),
                       QStringLiteral("1.234"), QStringLiteral("12.345"),
                       QStringLiteral("123.456"), QStringLiteral("1.234.567")};
    QTest::newRow("backspaces regroup") << QStringLiteral("1.234.567") << -1 << bs + bs + bs
        << QStringList{QStringLiteral("123.456"), QStringLiteral("12.345"),
                       QStringLiteral("1.234")};
    QTest::newRow("backspace to empty") << QStringLiteral("1.234") << -1 << bs + bs + bs + bs
        << QStringList{QStringLiteral("123"), QStringLiteral("12"), QStringLiteral("1"),
                       QString()};
    QTest::newRow("two decimals, then refused")
        << QStringLiteral("1.234") << -1 << QStringLiteral(",567")
        << QStringList{QStringLiteral("1.234,"), QStringLiteral("1.234,5"),
                       QStringLiteral("1.234,56"), QStringLiteral("1.234,56")};
    QTest::newRow("two decimals let backspace through")
        << QStringLiteral("1.234,56") << -1 << QStringLiteral(",a") + bs + bs + bs
        << QStringList{QStringLiteral("1.234,56"), QStringLiteral("1.234,56"),
                       QStringLiteral("1.234,5"), QStringLiteral("1.234,"),
                       QStringLiteral("1.234")};
    QTest::newRow("two decimals refuse a digit before the mark")
        << QStringLiteral("12,50") << 1 << QStringLiteral("9")
        << QStringList{QStringLiteral("12,50")};
    QTest::newRow("second decimal mark refused") << QStringLiteral("1,5") << -1
        << QStringLiteral(",") << QStringList{QStringLiteral("1,5")};
    QTest::newRow("letter refused") << QStringLiteral("1.234") << -1 << QStringLiteral("a")
        << QStringList{QStringLiteral("1.234")};
    QTest::newRow("letter refused in an empty box") << QString() << -1 << QStringLiteral("x-")
        << QStringList{QString(), QString()};
    QTest::newRow("decimal mark in an empty box") << QString() << -1 << QStringLiteral(",5")
        << QStringList{QStringLiteral(","), QStringLiteral(",5")};
    QTest::newRow("leading zero dropped at the next key")
        << QString() << -1 << QStringLiteral("056")
        << QStringList{QStringLiteral("0"), QStringLiteral("05"), QStringLiteral("56")};
    QTest::newRow("caret not at the end") << QStringLiteral("12.345") << 0 << QStringLiteral("9")
        << QStringList{QStringLiteral("9123.45")};
    QTest::newRow("regrouped at the next key at the end")
        << QStringLiteral("9123.45") << -1 << QStringLiteral("6")
        << QStringList{QStringLiteral("9.123.456")};
    // Regrouped for a shorter text, the caret lands after a mark, which Backspace removes.
    QTest::newRow("backspace inside the text") << QStringLiteral("1.234.567") << 5 << bs
        << QStringList{QStringLiteral("1234567")};
}

void TestEntryRules::amountTyping()
{
    QFETCH(QString, start);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);

    QCOMPARE(typeAmount(start, caret < 0 ? int(start.size()) : caret, keys), shown);
}

void TestEntryRules::amountKey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("focusNext");
    QTest::addColumn<QString>("replaced"); // null: the text is not replaced
    QTest::addColumn<int>("newCaret");

    QTest::newRow("enter moves on") << QStringLiteral("1.234") << 5 << 0 << 0 << EnterKey
                                    << false << true << QString() << 0;
    QTest::newRow("enter in an empty box") << QString() << 0 << 0 << 0 << EnterKey << false
                                           << true << QString() << 0;
    QTest::newRow("first key not regrouped") << QString() << 0 << 0 << 0 << QChar(u'7') << true
                                             << false << QString() << 0;
    QTest::newRow("digit regroups") << QStringLiteral("123") << 3 << 0 << 0 << QChar(u'4')
                                    << true << false << QStringLiteral("1.23") << 4;
    QTest::newRow("decimals not regrouped") << QStringLiteral("1234,5") << 6 << 0 << 0
                                            << QChar(u'6') << true << false << QString() << 0;
    // The selection is cleared by the regrouping, so the key does not replace it.
    QTest::newRow("selection kept out of the count")
        << QStringLiteral("1.234") << 5 << 0 << 5 << QChar(u'5') << true << false
        << QStringLiteral("12.34") << 5;
    QTest::newRow("selection in the middle")
        << QStringLiteral("12.345") << 1 << 1 << 3 << QChar(u'9') << true << false
        << QStringLiteral("123.45") << 4;
    QTest::newRow("caret beyond the regrouped text")
        << QStringLiteral("1 2 3 4") << 0 << 0 << 0 << QChar(u'5') << true << false
        << QStringLiteral("12.34") << 0;
}

void TestEntryRules::amountKey()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QChar, key);
    QFETCH(bool, keep);
    QFETCH(bool, focusNext);
    QFETCH(QString, replaced);
    QFETCH(int, newCaret);

    const KeyOutcome outcome =
        TutarTusKontrol(BoxState{text, caret, selectionStart, selectionLength}, key);
    QCOMPARE(outcome.keep, keep);
    QCOMPARE(outcome.focusNext, focusNext);
    QCOMPARE(outcome.replaceText, !replaced.isNull());
    if (outcome.replaceText) {
        QCOMPARE(outcome.text, replaced);
        QCOMPARE(outcome.caret, newCaret);
    }
}

void TestEntryRules::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("result"); // the box's text afterwards
    QTest::addColumn<QString>("message");

    const QString refused = QStringLiteral(" tarih girişiniz uygun değil!");
    QTest::newRow("empty box unchanged") << QStringLiteral("  .  .    ") << true
                                         << QStringLiteral("  .  .    ") << QString();
    QTest::newRow("all zeros unchanged") << QStringLiteral("00.00.0000") << true
                                         << QStringLiteral("00.00.0000") << QString();
    QTest::newRow("complete date unchanged") << QStringLiteral("05.03.2008") << true
                                             << QStringLiteral("05.03.2008") << QString();
    QTest::newRow("single digits in the first positions")
        << QStringLiteral("5 .3 .8   ") << true << QStringLiteral("05.03.2008") << QString();
    QTest::newRow("single digits after a blank")
        << QStringLiteral(" 5. 3.  8 ") << true << QStringLiteral("05.03.2008") << QString();
    QTest::newRow("two-digit year has no century window")
        << QStringLiteral("12.11.99  ") << true << QStringLiteral("12.11.2099") << QString();
    QTest::newRow("three-digit year") << QStringLiteral("15.06.998 ") << true
                                      << QStringLiteral("15.06.1998") << QString();
    QTest::newRow("three-digit year refused") << QStringLiteral("12.11.208 ") << false
        << QString() << quoted(QStringLiteral("12.11.1208"), refused);
    QTest::newRow("31 February passes") << QStringLiteral("31.02.2008") << true
                                        << QStringLiteral("31.02.2008") << QString();
    QTest::newRow("day 32 refused") << QStringLiteral("32.01.2008") << false << QString()
                                    << quoted(QStringLiteral("32.01.2008"), refused);
    QTest::newRow("day left empty") << QStringLiteral("  .03.2008") << false << QString()
                                    << quoted(QStringLiteral("00.03.2008"), refused);
    QTest::newRow("month 13 refused") << QStringLiteral("15.13.2008") << false << QString()
                                      << quoted(QStringLiteral("15.13.2008"), refused);
    QTest::newRow("month left empty") << QStringLiteral("15.  .2008") << false << QString()
                                      << quoted(QStringLiteral("15.00.2008"), refused);
    QTest::newRow("year left empty") << QStringLiteral("15.06.    ") << false << QString()
                                     << quoted(QStringLiteral("15.06.    "), refused);
    QTest::newRow("first year") << QStringLiteral("01.01.1905") << true
                                << QStringLiteral("01.01.1905") << QString();
    QTest::newRow("year before the first") << QStringLiteral("31.12.1904") << false
        << QString() << quoted(QStringLiteral("31.12.1904"), refused);
    QTest::newRow("last year") << QStringLiteral("31.12.2999") << true
                               << QStringLiteral("31.12.2999") << QString();
    QTest::newRow("year after the last") << QStringLiteral("01.01.3000") << false << QString()
                                         << quoted(QStringLiteral("01.01.3000"), refused);
}

void TestEntryRules::dates()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, result);
    QFETCH(QString, message);

    const Completion completion = TarihTamamla(text);
    QCOMPARE(completion.ok, ok);
    QCOMPARE(completion.text, result);
    QCOMPARE(completion.message, message);
}

void TestEntryRules::times_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");

    const QString refused = QStringLiteral(" saat girişiniz uygun değil!");
    QTest::newRow("empty box unchanged") << QStringLiteral("  :  ") << true
                                         << QStringLiteral("  :  ") << QString();
    QTest::newRow("00:00 unchanged") << QStringLiteral("00:00") << true
                                     << QStringLiteral("00:00") << QString();
    QTest::newRow("single digits in the first positions")
        << QStringLiteral("9 :5 ") << true << QStringLiteral("09:05") << QString();
    QTest::newRow("single digits after a blank")
        << QStringLiteral(" 9: 5") << true << QStringLiteral("09:05") << QString();
    QTest::newRow("no minute") << QStringLiteral("10:  ") << true << QStringLiteral("10:00")
                               << QString();
    QTest::newRow("zero minute") << QStringLiteral("7 :0 ") << true << QStringLiteral("07:00")
                                 << QString();
    QTest::newRow("first hour") << QStringLiteral("01:00") << true << QStringLiteral("01:00")
                                << QString();
    QTest::newRow("last minute of the day") << QStringLiteral("23:59") << true
                                            << QStringLiteral("23:59") << QString();
    QTest::newRow("minute with a decimal mark refused")
        << QStringLiteral("12:,5") << false << QString()
        << quoted(QStringLiteral("12:00,5"), refused);
    QTest::newRow("hour 00 refused") << QStringLiteral("00:30") << false << QString()
                                     << quoted(QStringLiteral("00:30"), refused);
    QTest::newRow("hour left empty") << QStringLiteral("  :45") << false << QString()
                                     << quoted(QStringLiteral("00:45"), refused);
    QTest::newRow("hour 24 refused") << QStringLiteral("24:10") << false << QString()
                                     << quoted(QStringLiteral("24:10"), refused);
    QTest::newRow("minute 60 refused") << QStringLiteral("12:60") << false << QString()
                                       << quoted(QStringLiteral("12:60"), refused);
}

void TestEntryRules::times()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, result);
    QFETCH(QString, message);

    const Completion completion = SaatTamamla(text);
    QCOMPARE(completion.ok, ok);
    QCOMPARE(completion.text, result);
    QCOMPARE(completion.message, message);
}

void TestEntryRules::timeResetValue()
{
    const QString planner = QStringLiteral("09:00");
    const Completion refused = SaatTamamla(QStringLiteral("24:10"), Region{}, planner);
    QVERIFY(!refused.ok);
    QCOMPARE(refused.text, planner);
    QCOMPARE(SaatTamamla(QStringLiteral("18:30"), Region{}, planner).text,
             QStringLiteral("18:30"));
}

void TestEntryRules::datesFollowRegion()
{
    const Region slashes{QLatin1Char(','), QLatin1Char('/'), QLatin1Char('.')};
    QCOMPARE(TarihTamamla(QStringLiteral("5 /3 /8   "), slashes).text,
             QStringLiteral("05/03/2008"));
    QCOMPARE(SaatTamamla(QStringLiteral("9 .5 "), slashes).text, QStringLiteral("09.05"));
    QCOMPARE(TarihTamamla(QStringLiteral("32/1 /8   "), slashes).message,
             QStringLiteral("\"32/01/2008\" tarih girişiniz uygun değil!"));
}

void TestEntryRules::digitsKey_data()
{
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("passes");

    QTest::newRow("0") << QChar(u'0') << true;
    QTest::newRow("9") << QChar(u'9') << true;
    QTest::newRow("backspace") << BackspaceKey << true;
    QTest::newRow("enter") << EnterKey << true;
    QTest::newRow("letter") << QChar(u'a') << false;
    QTest::newRow("decimal mark") << QChar(u',') << false;
    QTest::newRow("minus") << QChar(u'-') << false;
    QTest::newRow("blank") << QChar(u' ') << false;
    QTest::newRow("arabic-indic digit") << QChar(u'\u0663') << false;
}

void TestEntryRules::digitsKey()
{
    QFETCH(QChar, key);
    QFETCH(bool, passes);
    QCOMPARE(RakamTusKontrol(key), passes);
}

void TestEntryRules::lowerCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lower");

    QTest::newRow("dotless I with blanks around") << QStringLiteral("  IŞIK  ")
                                                  << QStringLiteral("ışık");
    QTest::newRow("dotted I") << QStringLiteral("İSTANBUL") << QStringLiteral("istanbul");
    QTest::newRow("Turkish capitals") << QStringLiteral("ÇĞÖÜŞ") << QStringLiteral("çğöüş");
    QTest::newRow("control characters trimmed") << QStringLiteral("\tAli\r\n")
                                                << QStringLiteral("ali");
    QTest::newRow("inner blanks kept") << QStringLiteral("AHMET  ALİ")
                                       << QStringLiteral("ahmet  ali");
    QTest::newRow("A to Z") << QStringLiteral("ABCDEFGHJKLMNOPQRSTUVWXYZ")
                            << QStringLiteral("abcdefghjklmnopqrstuvwxyz");
    QTest::newRow("others unchanged") << QStringLiteral("Âli-1.ç")
                                      << QStringLiteral("Âli-1.ç");
    QTest::newRow("blank only") << QStringLiteral("   ") << QString();
    QTest::newRow("DEL at both ends") << QStringLiteral("\u007fAli\u007f")
                                      << QStringLiteral("ali");
    QTest::newRow("control characters below the blank")
        << QStringLiteral("\u0001\u001fVELİ\u001b\u0000") << QStringLiteral("veli");
    QTest::newRow("control characters U+0080 to U+009F") << QStringLiteral("\u0085Ayşe\u009f")
                                                        << QStringLiteral("ayşe");
    QTest::newRow("no-break and wide blanks") << QStringLiteral("\u00a0Ece\u3000")
                                              << QStringLiteral("ece");
    QTest::newRow("mixed at the ends, kept inside")
        << QStringLiteral(" \u007f\tAli\u007fVeli \u0085") << QStringLiteral("ali\u007fveli");
    QTest::newRow("only control characters") << QStringLiteral("\u007f\u0000\u0090")
                                             << QString();
}

void TestEntryRules::lowerCase()
{
    QFETCH(QString, text);
    QFETCH(QString, lower);
    QCOMPARE(KucukHarfTr(text), lower);
}

void TestEntryRules::capitalisation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QChar>("inserted");

    QTest::newRow("i at the start") << QString() << 0 << QChar(u'i') << QChar(u'İ');
    QTest::newRow("dotless i") << QString() << 0 << QChar(u'ı') << QChar(u'I');
    QTest::newRow("a at the start") << QString() << 0 << QChar(u'a') << QChar(u'A');
    QTest::newRow("z at the start") << QString() << 0 << QChar(u'z') << QChar(u'Z');
    QTest::newRow("after a space") << QStringLiteral("ali ") << 4 << QChar(u'v')
                                   << QChar(u'V');
    QTest::newRow("c cedilla") << QStringLiteral("ali ") << 4 << QChar(u'ç') << QChar(u'Ç');
    QTest::newRow("soft g") << QString() << 0 << QChar(u'ğ') << QChar(u'Ğ');
    QTest::newRow("o umlaut") << QString() << 0 << QChar(u'ö') << QChar(u'Ö');
    QTest::newRow("u umlaut") << QString() << 0 << QChar(u'ü') << QChar(u'Ü');
    QTest::newRow("s cedilla") << QString() << 0 << QChar(u'ş') << QChar(u'Ş');
    QTest::newRow("caret at the start of a text") << QStringLiteral("li") << 0 << QChar(u'a')
                                                  << QChar(u'A');
    QTest::newRow("inside a word") << QStringLiteral("al") << 2 << QChar(u'i') << QChar(u'i');
    QTest::newRow("after a tab") << QStringLiteral("ali\t") << 4 << QChar(u'v')
                                 << QChar(u'v');
    QTest::newRow("capital stays") << QString() << 0 << QChar(u'A') << QChar(u'A');
    QTest::newRow("digit stays") << QString() << 0 << QChar(u'5') << QChar(u'5');
    QTest::newRow("unlisted letter stays") << QString() << 0 << QChar(u'â') << QChar(u'â');
}

void TestEntryRules::capitalisation()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QChar, key);
    QFETCH(QChar, inserted);
    QCOMPARE(IlkHarfBuyuk(text, caret, key), inserted);
}

LUMKAR_TEST(TestEntryRules)
#include "tst_entryrules.moc"
