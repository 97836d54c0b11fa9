// A long list in the grid: the view holds a window of its rows, and the user reaches every row
// all the same, by the keys, the scroll bar and the data set's cursor, with each row's own
// cells and colour; the export writes the whole list.

#include "testregistry.h"

#include "csvreader.h"
#include "fixture.h"
#include "kit/csvexport.h"
#include "kit/grid.h"

#include <QScrollBar>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

constexpr int kRows = 300;
constexpr int kWindow = 40;

// A list of kRows rows in a grid whose window holds kWindow of them, shown.
struct LongList {
    App app;
    GridView grid;
    DataSet *rows = nullptr;

    LongList()
    {
        app.exec(QStringLiteral("CREATE TABLE satir (no INTEGER PRIMARY KEY, adi TEXT)"));
        for (int i = 1; i <= kRows; ++i)
            app.exec(QStringLiteral("INSERT INTO satir VALUES (?, ?)"),
                     {i, QStringLiteral("Satır %1").arg(i)});
        grid.resize(400, 300);
        rows = new DataSet(app.db(), &grid);
        rows->setTable(QStringLiteral("satir"));
        if (!rows->open())
            qFatal("the list did not open");
        grid.setColumns(rows, {{QStringLiteral("no"), QStringLiteral("No")},
                               {QStringLiteral("adi"), QStringLiteral("Adı")}});
        grid.gridModel()->setWindowRows(kWindow);
        grid.show();
    }
};

class GridWindowTest : public QObject {
    Q_OBJECT

    // The row the grid shows as current, as a row of the list; and that the cells there are
    // the data set's row.
    static int shownRow(GridView &grid)
    {
        GridModel *model = grid.gridModel();
        const QModelIndex at = grid.currentIndex();
        if (!at.isValid())
            return -1;
        const int row = model->listRow(at.row());
        const QString expected = QString::number(row + 1);
        return model->data(model->index(at.row(), 0), Qt::DisplayRole).toString() == expected
                && model->headerData(at.row(), Qt::Vertical, Qt::DisplayRole).toString() == expected
                && model->data(model->index(at.row(), 0), Qt::BackgroundRole)
                    == QVariant(gridRowColour(row))
            ? row
            : -2;
    }

private slots:
    void theWholeListIsReached_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("row"); // the list row the grid and the data set are on after it
        QTest::newRow("Ctrl+End") << "ctrl+end" << kRows - 1;
        QTest::newRow("Ctrl+Home after it") << "ctrl+end,ctrl+home" << 0;
        QTest::newRow("the cursor far down") << "cursor 171" << 171;
        QTest::newRow("the cursor on an odd window") << "cursor 171,cursor 3" << 3;
        QTest::newRow("Down past the window") << "down 60" << 60;
        QTest::newRow("Up from the end") << "ctrl+end,up 45" << kRows - 46;
        QTest::newRow("Page Down past the window") << "pagedown 12" << -1;
    }
    void theWholeListIsReached()
    {
        QFETCH(QString, step);
        QFETCH(int, row);
        LongList list;
        QVERIFY(QTest::qWaitForWindowExposed(&list.grid));
        GridView &grid = list.grid;
        DataSet *rows = list.rows;
        QCOMPARE(grid.model()->rowCount(), kWindow);
        QCOMPARE(grid.gridModel()->listRows(), kRows);
        QCOMPARE(shownRow(grid), 0);

        for (const QString &part : step.split(QLatin1Char(','))) {
            const QStringList words = part.split(QLatin1Char(' '));
            const int times = words.size() > 1 ? words[1].toInt() : 1;
            if (words[0] == QLatin1String("cursor")) {
                rows->moveTo(times);
                continue;
            }
            const auto [key, modifiers] = words[0] == QLatin1String("ctrl+end")
                ? std::pair{Qt::Key_End, Qt::ControlModifier}
                : words[0] == QLatin1String("ctrl+home") ? std::pair{Qt::Key_Home, Qt::ControlModifier}
                : words[0] == QLatin1String("down")      ? std::pair{Qt::Key_Down, Qt::NoModifier}
                : words[0] == QLatin1String("up")        ? std::pair{Qt::Key_Up, Qt::NoModifier}
                                                         : std::pair{Qt::Key_PageDown, Qt::NoModifier};
            for (int i = 0; i < times; ++i) {
                QTest::keyClick(&grid, key, modifiers);
                QCoreApplication::processEvents();
            }
        }
        if (row < 0) // a page is as many rows as the screen shows
            QVERIFY(rows->currentRow() > kWindow);
        else
            QCOMPARE(rows->currentRow(), row);
        QCOMPARE(shownRow(grid), rows->currentRow());
        QVERIFY(grid.model()->rowCount() <= kWindow);
    }

    // Dragging the scroll bar to the end of the window moves the window on and keeps the rows
    // in view where they were; at the list's end it stops.
    void theScrollBarMovesTheWindow()
    {
        LongList list;
        QVERIFY(QTest::qWaitForWindowExposed(&list.grid));
        GridView &grid = list.grid;
        DataSet *rows = list.rows;
        GridModel *model = grid.gridModel();
        QScrollBar *bar = grid.verticalScrollBar();
        int reached = 0, lastTop = 0;
        for (int i = 0; i < kRows && reached < kRows - 1; ++i) {
            const int wanted = model->listRow(bar->maximum());
            bar->setValue(bar->maximum());
            QCoreApplication::processEvents();
            // The row dragged to the top stays at the top, wherever the window is now.
            const int top = model->listRow(grid.rowAt(0));
            QCOMPARE(top, wanted);
            QVERIFY(top > lastTop);
            lastTop = top;
            const int bottom = grid.rowAt(grid.viewport()->height() - 1);
            reached = bottom < 0 ? model->listRows() - 1 : model->listRow(bottom);
        }
        QCOMPARE(model->windowStart() + model->rowCount(), kRows);
        QCOMPARE(reached, kRows - 1);
        // The cursor stayed on the first row, outside the window, and is not moved by it.
        QCOMPARE(rows->currentRow(), 0);
        // The export writes every row, not the window's.
        const CsvFile file = readCsv(CsvExport(*model, CsvExport::shownColumns(grid)).bytes());
        QCOMPARE(file.records.size(), kRows + 1);
        for (int row : {0, 150, kRows - 1})
            QCOMPARE(file.records[row + 1], (QStringList{QString::number(row + 1),
                                                         QStringLiteral("Satır %1").arg(row + 1)}));
    }
};

} // namespace

LUMKAR_TEST(GridWindowTest)
#include "tst_gridwindow.moc"
