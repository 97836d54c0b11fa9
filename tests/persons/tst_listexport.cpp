// The person list and the day lists offer their rows to a spreadsheet from the grid's context
// menu: the file holds the list as it stands, filtered and sorted.

#include "csvreader.h"
#include "fixture.h"
#include "persondata.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "kit/controls.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

QAction *exportEntry(GridView *grid)
{
    for (QAction *action : grid->contextMenu()->actions())
        if (action->text() == QStringLiteral("Listeyi Dışa Aktar (CSV)..."))
            return action;
    return nullptr;
}

} // namespace

class ListExportTest : public QObject {
    Q_OBJECT
private slots:
    void personListExportsFilteredAndSorted()
    {
        App app;
        addSamplePersons(app);
        app.addUser(QStringLiteral("selin"), QString(), QStringLiteral("Selin"),
                    QStringLiteral("Ak"));
        QVERIFY(app.login(QStringLiteral("selin")));
        app.forms().anamenuf->N2KisiListeleri();
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->isVisible());
        typeText(list->JvDotNetEdit1, QStringLiteral("ka"));
        QTest::mouseClick(list->araButton, Qt::LeftButton);
        list->titleClick(0);
        list->titleClick(0); // by code, downwards
        const QStringList codes = codesShown(*list->sicrapQuery);
        QCOMPARE(codes, (QStringList{"5", "3", "2", "1"}));

        QAction *action = exportEntry(list->bolumgrid);
        QVERIFY(action);
        const QString path = QDir(app.folder()).filePath(QStringLiteral("kişiler.csv"));
        app.dialogs.expectFile(path);
        action->trigger();
        QVERIFY(app.dialogs.allConsumed());
        QCOMPARE(app.dialogs.shown().size(), 1);

        const CsvFile csv = readCsv(readFile(path));
        QVERIFY(csv.byteOrderMark);
        QVERIFY(csv.onlyCrLf);
        QCOMPARE(csv.records.size(), codes.size() + 1);
        QAbstractItemModel *model = list->bolumgrid->model();
        QStringList headings;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!list->bolumgrid->isColumnHidden(c))
                headings << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(csv.records[0], headings);
        QCOMPARE(csv.records[0].mid(0, 3), (QStringList{"Kodu", "Adı", "Soyadı"}));
        QStringList codesWritten;
        for (qsizetype row = 1; row < csv.records.size(); ++row)
            codesWritten << csv.records[row][0];
        QCOMPARE(codesWritten, codes);
        // Turkish letters arrive as they are.
        QCOMPARE(csv.records[2].mid(1, 2), (QStringList{"Kamil", "Öztürk"}));
    }

    void dayListMenuKeepsItsEntriesAndAddsTheExport()
    {
        App app;
        app.addUser(QStringLiteral("selin"), QString(), QStringLiteral("Selin"),
                    QStringLiteral("Ak"));
        QVERIFY(app.login(QStringLiteral("selin")));
        GridView *grid = app.forms().anamenuf->dayLists()->JvDBUltimGrid1;
        QMenu *own = popupMenu(grid);
        QVERIFY(own);
        const QList<QAction *> shown = grid->contextMenu()->actions();
        QVERIFY(shown.size() > own->actions().size());
        for (QAction *action : own->actions())
            QVERIFY(shown.contains(action));
        QCOMPARE(shown.last()->text(), QStringLiteral("Listeyi Dışa Aktar (CSV)..."));
    }
};

LUMKAR_TEST(ListExportTest)
#include "tst_listexport.moc"
