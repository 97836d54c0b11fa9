// Settings files as the disk and other editors leave them: a full disk keeps the old file,
// every value the program writes reads back exactly, and files in UTF-16 or with an older
// code-page line read right.

#include "fulldisk.h"
#include "testregistry.h"

#include "data/codepage.h"
#include "data/inifile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace lumkar;

namespace {

const QString kSection = QStringLiteral("basla");

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
    void aFullDiskKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        IniFile ini(path);
        QVERIFY(ini.write(kSection, {{QStringLiteral("kul"), QStringLiteral("ece")},
                                     {QStringLiteral("sif"), QStringLiteral("gizli")}}));
        const QByteArray before = contentsOf(path);
        QVERIFY(!before.isEmpty());
        {
            test::FullDisk full;
            QVERIFY(!ini.write(kSection, QStringLiteral("kul"), QStringLiteral("başkası")));
        }
        const QString told = ini.errorText();
        QVERIFY2(told.startsWith(QStringLiteral("Ayarlar kaydedilemedi: \"%1\" dosyası "
                                                "yazılamadı (disk yazmayı kabul etmedi: ")
                                     .arg(QDir::toNativeSeparators(path)))
                     && told.endsWith(QStringLiteral("). Dosyadaki önceki ayarlar olduğu gibi "
                                                     "duruyor.")),
                 qPrintable(told));
        QCOMPARE(contentsOf(path), before);
        // Nothing of the refused write is left beside the file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Ayar.ini")});
        // The disk has room again: the next write goes through.
        QVERIFY(ini.write(kSection, QStringLiteral("kul"), QStringLiteral("başkası")));
        QVERIFY(ini.errorText().isEmpty());
        QCOMPARE(IniFile(path).read(kSection, QStringLiteral("kul")), QStringLiteral("başkası"));
    }

    void aFullDiskLeavesNoNewFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ayarrand.ayr"));
        test::FullDisk full;
        IniFile ini(path);
        QVERIFY(!ini.write(QStringLiteral("ayar"), QStringLiteral("bas"),
                           QStringLiteral("09:00")));
        QVERIFY(ini.errorText().contains(QStringLiteral("ayarrand.ayr")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void valuesReadBackExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks at both ends") << " iki boşluk ";
        QTest::newRow("blank at the start") << " baş";
        QTest::newRow("blank at the end") << "son ";
        QTest::newRow("only a blank") << " ";
        QTest::newRow("a tab") << "\tsekme";
        QTest::newRow("in double quotes") << "\"tırnak\"";
        QTest::newRow("in single quotes") << "'tek'";
        QTest::newRow("quote at the start") << "\"baş";
        QTest::newRow("quote at the end") << "son'";
        QTest::newRow("a lone quote") << "\"";
        QTest::newRow("two quotes") << "\"\"";
        QTest::newRow("quote and blank") << "\" a \"";
        QTest::newRow("equals and semicolon") << "=a;b";
        QTest::newRow("brackets") << "[basla]";
        QTest::newRow("quotes inside") << "a\"b'c";
        QTest::newRow("empty") << "";
    }
    void valuesReadBackExactly()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QVERIFY(IniFile(path).write(kSection, {{QStringLiteral("kul"), value},
                                               {QStringLiteral("sif"), value},
                                               {QStringLiteral("check1"), QStringLiteral("1")}}));
        IniFile ini(path);
        QCOMPARE(ini.read(kSection, QStringLiteral("kul")), value);
        QCOMPARE(ini.read(kSection, QStringLiteral("sif")), value);
        QCOMPARE(ini.read(kSection, QStringLiteral("check1")), QStringLiteral("1"));
        // Written over again, the value still comes back as it was.
        QVERIFY(ini.write(kSection, QStringLiteral("sif"), value));
        QCOMPARE(IniFile(path).read(kSection, QStringLiteral("sif")), value);
    }

    void plainValuesAreWrittenWithoutQuotes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QVERIFY(IniFile(path).write(kSection, {{QStringLiteral("kul"), QStringLiteral("ali veli")},
                                               {QStringLiteral("sif"), QStringLiteral(" a")}}));
        QCOMPARE(QString::fromUtf8(contentsOf(path)),
                 QStringLiteral("[basla]\r\nkul=ali veli\r\nsif=\" a\"\r\n"));
    }

    void handWrittenQuotesStillRead_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("double quotes") << QByteArray("sif=\"abc\"") << "abc";
        QTest::newRow("single quotes") << QByteArray("sif='abc'") << "abc";
        QTest::newRow("blanks around") << QByteArray("sif =  abc  ") << "abc";
        QTest::newRow("blanks kept in quotes") << QByteArray("sif= \" abc \" ") << " abc ";
        QTest::newRow("one quote") << QByteArray("sif=\"abc") << "\"abc";
        QTest::newRow("empty quotes") << QByteArray("sif=\"\"") << "";
    }
    void handWrittenQuotesStillRead()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QVERIFY(writeBytes(path, "[basla]\r\n" + line + "\r\n"));
        QCOMPARE(IniFile(path).read(kSection, QStringLiteral("sif")), value);
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("[basla]\r\nkul=Işıl Şahin\r\nsif=ğüç\r\n");
        QStringEncoder little(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QStringEncoder big(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::WriteBom);
        QTest::newRow("UTF-16 with its mark") << QByteArray(little.encode(text));
        QTest::newRow("UTF-16, high byte first") << QByteArray(big.encode(text));
        QTest::newRow("UTF-8 with its mark") << QByteArray(utf8.encode(text));
        QTest::newRow("UTF-8") << text.toUtf8();
        // "Işıl Şahin" in the Turkish code page on a line of its own, the rest UTF-8.
        QTest::newRow("one code-page line in UTF-8")
            << QByteArray("[basla]\r\nkul=I\xfe\xfdl \xde" "ahin\r\nsif=ğüç\r\n");
        QTest::newRow("code page only")
            << QByteArray("[basla]\r\nkul=I\xfe\xfdl \xde" "ahin\r\nsif=\xf0\xfc\xe7\r\n");
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Ayar.ini"));
        QVERIFY(writeBytes(path, bytes));
        IniFile ini(path);
        QCOMPARE(ini.read(kSection, QStringLiteral("kul")), QStringLiteral("Işıl Şahin"));
        QCOMPARE(ini.read(kSection, QStringLiteral("sif")), QStringLiteral("ğüç"));
        QVERIFY(ini.errorText().isEmpty());
        // A value written into such a file keeps the others; the file is UTF-8 afterwards.
        QVERIFY(ini.write(kSection, QStringLiteral("check1"), QStringLiteral("1")));
        IniFile again(path);
        QCOMPARE(again.read(kSection, QStringLiteral("kul")), QStringLiteral("Işıl Şahin"));
        QCOMPARE(again.read(kSection, QStringLiteral("check1")), QStringLiteral("1"));
    }

    void linesAreDecodedEachByItself()
    {
        QCOMPARE(decodeLocalText("çiçek\n\xfe" "ekil\nşekil"),
                 QStringLiteral("çiçek\nşekil\nşekil"));
        QCOMPARE(decodeLocalText(QByteArray()), QString());
        QCOMPARE(decodeLocalText("\n"), QStringLiteral("\n"));
    }
};

LUMKAR_TEST(SettingsFileTest)
#include "tst_settingsfile.moc"
