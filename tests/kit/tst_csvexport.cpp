// Lists to a spreadsheet: fields quoted where a spreadsheet needs it, a grid's rows and columns
// as shown written and read back, a failed or cancelled write leaving no file.

#include "testregistry.h"

#include "csvreader.h"
#include "fixture.h"
#include "fulldisk.h"
#include "kit/csvexport.h"
#include "kit/grid.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

// A table of its own in the program's database, shown through the program's grid.
struct ListOnGrid {
    App app;
    DataSet *dataSet = nullptr;
    GridView grid;

    ListOnGrid()
    {
        app.exec(QStringLiteral("CREATE TABLE kalem (no INTEGER PRIMARY KEY, adi TEXT, "
                                "tutar REAL, tarih TEXT, gizli TEXT)"));
        const QList<QVariantList> rows{
            {1, QStringLiteral("Çağrı Öztürk"), -1234.5, QStringLiteral("2026-03-01"),
             QStringLiteral("x")},
            {2, QStringLiteral("\"Işıl\" Şen; İzmir"), 0.5, QStringLiteral("2026-12-31"),
             QStringLiteral("y")},
            {3, QStringLiteral("Satır bir\nsatır iki"), 1000000.0, QStringLiteral("2026-01-09"),
             QStringLiteral("z")},
            {4, QStringLiteral("Süzülen"), 7.0, QStringLiteral("2026-05-05"),
             QStringLiteral("w")}};
        for (const QVariantList &row : rows)
            app.exec(QStringLiteral("INSERT INTO kalem VALUES (?,?,?,?,?)"), row);
        dataSet = new DataSet(app.db(), &grid);
        dataSet->setTable(QStringLiteral("kalem"), {QStringLiteral("tutar DESC")});
        if (!dataSet->open())
            qFatal("the list did not open");
        dataSet->setFilter(
            [](const Record &r) { return r.text(QStringLiteral("adi")) != QStringLiteral("Süzülen"); });
        dataSet->setFiltered(true);
        grid.setColumns(dataSet,
                        {{QStringLiteral("no"), QStringLiteral("No")},
                         {QStringLiteral("adi"), QStringLiteral("Adı; Soyadı")},
                         {QStringLiteral("tutar"), QStringLiteral("Tutar"),
                          QStringLiteral("#,###.00")},
                         {QStringLiteral("tarih"), QStringLiteral("Tarih"),
                          QStringLiteral("dd.mm.yyyy")},
                         {QStringLiteral("gizli"), QStringLiteral("Gizli")}});
        grid.setColumnHidden(4, true);
        // The date dragged in front of the name.
        grid.horizontalHeader()->moveSection(3, 1);
        grid.offerExport(app.dialogs);
    }

    // Exports to `path`, which the disk refuses: true when the refusal was told in one error
    // that names the file.
    bool exportRefused(const QString &path)
    {
        app.dialogs.clear();
        app.dialogs.expectFile(path);
        app.dialogs.expectNotice();
        grid.exportList();
        const QVector<ShownDialog> &shown = app.dialogs.shown();
        return shown.size() == 2 && shown[1].kind == QStringLiteral("error")
            && shown[1].text.startsWith(QStringLiteral("Liste dosyaya yazılamadı:\n")
                                        + QDir::toNativeSeparators(path));
    }
};

} // namespace

class CsvExportTest : public QObject {
    Q_OBJECT
private slots:
    void fieldIsQuotedWhenItMustBe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "Ayşe Yılmaz" << "Ayşe Yılmaz";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("comma stays") << "1.234,50" << "1.234,50";
        QTest::newRow("separator") << "a;b" << "\"a;b\"";
        QTest::newRow("quote") << "5\" ekran" << "\"5\"\" ekran\"";
        QTest::newRow("line feed") << "bir\niki" << "\"bir\niki\"";
        QTest::newRow("carriage return") << "bir\r\niki" << "\"bir\r\niki\"";
    }
    void fieldIsQuotedWhenItMustBe()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(CsvExport::field(text), written);
        // Whatever is written reads back as the same text.
        const CsvFile back = readCsv(written.toUtf8() + "\r\n");
        QCOMPARE(back.records.size(), 1);
        QCOMPARE(back.records[0], QStringList{text});
    }

    void gridRowsAndColumnsAsShownReadBack()
    {
        ListOnGrid list;
        const QString path = QDir(list.app.folder()).filePath(QStringLiteral("liste.csv"));
        QMenu *menu = list.grid.contextMenu();
        QCOMPARE(menu->actions().size(), 1);
        QAction *action = menu->actions().constFirst();
        QCOMPARE(action->text(), QStringLiteral("Listeyi Dışa Aktar (CSV)..."));
        list.app.dialogs.expectFile(path);
        action->trigger();
        QCOMPARE(list.app.dialogs.shown().size(), 1);
        QCOMPARE(list.app.dialogs.shown()[0].kind, QStringLiteral("save"));

        const QByteArray bytes = readFile(path);
        const CsvFile csv = readCsv(bytes);
        QVERIFY(csv.byteOrderMark);
        QVERIFY(csv.onlyCrLf);
        QVERIFY(bytes.endsWith("\r\n"));
        // Filtered (no "Süzülen"), by amount downwards, the hidden column left out, the moved
        // one where it is shown, cells in the grid's formats.
        const QVector<QStringList> expected{
            {"No", "Tarih", "Adı; Soyadı", "Tutar"},
            {"3", "09.01.2026", "Satır bir\nsatır iki", "1.000.000,00"},
            {"2", "31.12.2026", "\"Işıl\" Şen; İzmir", ",50"},
            {"1", "01.03.2026", "Çağrı Öztürk", "-1.234,50"}};
        QCOMPARE(csv.records, expected);
    }

    void writeThatFailsLeavesNoFile()
    {
        ListOnGrid list;
        const QString folder = QDir(list.app.folder()).filePath(QStringLiteral("yok"));
        const QString path = QDir(folder).filePath(QStringLiteral("liste.csv"));
        QVERIFY2(list.exportRefused(path), qPrintable(list.app.dialogs.lastText()));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QDir(folder).exists());

        // A file that is there already is replaced whole; the class tells its own failures.
        const QString kept = QDir(list.app.folder()).filePath(QStringLiteral("eski.csv"));
        {
            QFile old(kept);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("eski");
        }
        CsvExport csv(*list.grid.gridModel(), {0, 1});
        QVERIFY(csv.save(kept));
        QVERIFY(readFile(kept).startsWith("\xEF\xBB\xBF" "No;"));
        QVERIFY(!csv.save(path));
        QVERIFY(!csv.errorText().isEmpty());
    }

    // A full disk: the refusal is told, the file that was there keeps what it held and no
    // half-written file is left beside it.
    void fullDiskKeepsTheOldFile()
    {
        ListOnGrid list;
        const QString path = QDir(list.app.folder()).filePath(QStringLiteral("liste.csv"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("eski");
        }
        const QStringList before = QDir(list.app.folder()).entryList(QDir::Files);
        bool refused = false;
        {
            FullDisk full;
            refused = list.exportRefused(path);
        }
        QVERIFY2(refused, qPrintable(list.app.dialogs.lastText()));
        QCOMPARE(readFile(path), QByteArray("eski"));
        QCOMPARE(QDir(list.app.folder()).entryList(QDir::Files), before);
    }

    void cancelledExportWritesNothing()
    {
        ListOnGrid list;
        list.app.dialogs.expectFile(QString());
        list.grid.exportList();
        QCOMPARE(list.app.dialogs.shown().size(), 1);
        const QStringList csvFiles =
            QDir(list.app.folder()).entryList({QStringLiteral("*.csv")}, QDir::Files);
        QVERIFY(csvFiles.isEmpty());
    }
};

LUMKAR_TEST(CsvExportTest)
#include "tst_csvexport.moc"
