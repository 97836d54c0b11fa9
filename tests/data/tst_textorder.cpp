// The order of texts in every list: the Turkish alphabet, capitals and small letters alike.

#include "testregistry.h"

#include "data/entryrules.h"
#include "data/textorder.h"
#include "fixture.h"

#include <QSqlQuery>
#include <QTest>
#include <algorithm>
#include <random>

using namespace lumkar;

class TextOrderTest : public QObject {
    Q_OBJECT
private slots:
    void pairs_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("c before ç") << "Cem" << "Çiğdem";
        QTest::newRow("ç before d") << "Çiğdem" << "Deniz";
        QTest::newRow("g before ğ") << "ag" << "ağ";
        QTest::newRow("ğ before h") << "ağ" << "ah";
        QTest::newRow("h before ı") << "Hakan" << "Işık";
        QTest::newRow("ı before i") << "ılık" << "İsmail";
        QTest::newRow("dotless capital I is ı") << "Işıl" << "ismail";
        QTest::newRow("o before ö") << "Oğuz" << "Öztürk";
        QTest::newRow("ö before p") << "Özlem" << "Pınar";
        QTest::newRow("s before ş") << "Su" << "Şahin";
        QTest::newRow("ş before t") << "Şule" << "Tekin";
        QTest::newRow("u before ü") << "Uğur" << "Ümit";
        QTest::newRow("ü before v") << "Ünal" << "Veli";
        QTest::newRow("z after every Turkish letter") << "Şule" << "Zeki";
        QTest::newRow("case does not lead") << "Ali" << "ayla";
        QTest::newRow("capitals inside a word") << "Ali" << "AYLİN";
        QTest::newRow("L before Ş inside a word") << "AYLİN" << "Ayşe";
        QTest::newRow("shorter first") << "Ali" << "Ali Kaya";
        QTest::newRow("space before letters") << "Ali Veli" << "Alim";
        QTest::newRow("digits before letters") << "10" << "A";
        QTest::newRow("digits by code") << "10" << "2";
        QTest::newRow("stored times") << "1899-12-30 09:30:00" << "1899-12-30 14:45:00";
        QTest::newRow("other letters after z") << "Zeki" << "Émile";
        QTest::newRow("same letters, capital first by bytes") << "KAYA" << "Kaya";
    }
    void pairs()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY2(compareTurkish(before, after) < 0, qPrintable(before + " < " + after));
        QVERIFY2(compareTurkish(after, before) > 0, qPrintable(after + " > " + before));
    }

    void equalOnlyWhenTheSame()
    {
        QCOMPARE(compareTurkish(QStringLiteral("Şahin"), QStringLiteral("Şahin")), 0);
        QCOMPARE(compareTurkish(QString(), QString()), 0);
        QVERIFY(compareTurkish(QString(), QStringLiteral("a")) < 0);
    }

    void brokenBytesStillOrder()
    {
        // A cut sequence and a stray continuation byte read as plain bytes, never past the end.
        const char cut[] = {'a', char(0xC4)};
        const char stray[] = {'a', char(0x80), 'b'};
        QVERIFY(compareTurkish(cut, 2, "a", 1) > 0);
        QVERIFY(compareTurkish(stray, 3, cut, 2) != 0);
        QCOMPARE(compareTurkish(cut, 2, cut, 2), 0);
    }

    void brokenBytesOrderBothWays_data()
    {
        // Texts that part where one holds a whole Turkish letter and the other a lead byte
        // without its continuation, in either order and at the end of the shorter text.
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("cut sequence, then a letter") << QByteArray("\xc4" "a")
                                                     << QByteArray("\xc4\xb1");
        QTest::newRow("cut sequence at the end") << QByteArray("x\xc4") << QByteArray("x\xc4\xb1");
        QTest::newRow("three-byte sequence cut") << QByteArray("\xe2\x82" "a")
                                                 << QByteArray("\xe2\x82\xac");
        QTest::newRow("stray continuation") << QByteArray("a\x80") << QByteArray("a\xc3\xa7");
    }
    void brokenBytesOrderBothWays()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        const int forth = compareTurkish(first.constData(), size_t(first.size()),
                                         second.constData(), size_t(second.size()));
        const int back = compareTurkish(second.constData(), size_t(second.size()),
                                        first.constData(), size_t(first.size()));
        QVERIFY(forth != 0);
        QCOMPARE(forth < 0, back > 0);
    }

    void aPrefixIsReadOnlyToItsEnd()
    {
        // The shorter text is the start of a longer buffer whose next byte continues its last
        // sequence: that byte is not the text's, and must not change the order.
        const char memory[] = {'a', char(0xC4), char(0xB1)};
        const char letter[] = {'a', char(0xC4), char(0xB1)};
        const int forth = compareTurkish(memory, 2, letter, 3);
        const int back = compareTurkish(letter, 3, memory, 2);
        QVERIFY(forth != 0);
        QCOMPARE(forth < 0, back > 0);
        // A lone lead byte is no letter: it comes after the letter ı.
        QVERIFY(forth > 0);
        const char other[] = {'a', char(0xC4), 'z'};
        QCOMPARE(compareTurkish(other, 2, letter, 3), forth);
    }

    void sortsAList()
    {
        QStringList names{"Zeki", "İsmail", "çiçek", "Ayşe", "AYLİN", "Işık", "Ömer", "Can", "Şule"};
        std::sort(names.begin(), names.end(),
                  [](const QString &a, const QString &b) { return compareTurkish(a, b) < 0; });
        QCOMPARE(names, (QStringList{"AYLİN", "Ayşe", "Can", "çiçek", "Işık", "İsmail", "Ömer",
                                     "Şule", "Zeki"}));
    }
};

LUMKAR_TEST(TextOrderTest)

// The database orders and lower-cases texts as the program does, on either engine.
class TextFunctionsTest : public QObject {
    Q_OBJECT
private slots:
    void theDatabaseOrdersAndLowersAsTheProgram()
    {
        test::App app;
        app.openDatabase();
        // Short texts over the characters where orders part: every Turkish letter in both
        // cases, signs and digits on both sides of the letters' codes, blanks of several kinds,
        // a control character, letters of other alphabets; with empty texts and NULLs.
        const QString pool = QStringLiteral(
            "aAbcçÇdgğĞhıIiİoöÖsşŞuüÜzZqwx09 -.@[_{~\t\u00a0\u2003éÉ€жЖ\u0001");
        std::mt19937 random(7);
        QVector<QVariant> texts{QVariant(), QString(""), QString(" "), QString("İ"), QString("ı")};
        // And each character of the first codes alone, where lower-casing rules are written
        // out one by one.
        for (char16_t c = 1; c < 0x180; ++c)
            texts << QString(QChar(c));
        while (texts.size() < 900) {
            QString text = QStringLiteral(""); // empty, not NULL
            for (int n = int(random() % 6); n > 0; --n)
                text += pool.at(int(random() % pool.size()));
            texts << text;
        }
        QSqlQuery insert(app.db());
        QVERIFY(insert.prepare(QStringLiteral("INSERT INTO siciltablo (adi) VALUES (?)")));
        for (const QVariant &text : std::as_const(texts)) {
            insert.addBindValue(text);
            QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        }
        QSqlQuery read(app.db());
        QVERIFY2(read.exec(QStringLiteral("SELECT adi, lumkar_kucuk(adi) FROM siciltablo ORDER BY "
                                          "lumkar_sirala(adi), hid")),
                 qPrintable(read.lastError().text()));
        QVector<QVariant> ordered;
        while (read.next()) {
            ordered << read.value(0);
            QCOMPARE(read.value(1).toString(), KucukHarfTr(read.value(0).toString()));
        }
        std::stable_sort(texts.begin(), texts.end(), [](const QVariant &a, const QVariant &b) {
            if (a.isNull() || b.isNull())
                return a.isNull() && !b.isNull();
            return compareTurkish(a.toString(), b.toString()) < 0;
        });
        QCOMPARE(ordered.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            QVERIFY2(ordered[i].isNull() == texts[i].isNull()
                         && ordered[i].toString() == texts[i].toString(),
                     qPrintable(QStringLiteral("%1: \"%2\" where \"%3\" belongs")
                                    .arg(i).arg(ordered[i].toString(), texts[i].toString())));
    }
};

LUMKAR_TEST(TextFunctionsTest)
#include "tst_textorder.moc"
