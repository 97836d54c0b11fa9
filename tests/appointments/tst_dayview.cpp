// The day view: the three lists, their filters and refreshes, the automatic refresh, row
// colours and the Enter rules of the grids.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/randevu.h"
#include "notes/notespanes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

namespace {

QStringList names(DataSet *ds)
{
    QStringList out;
    ds->disableControls();
    const int keep = ds->currentRow();
    for (ds->first(); !ds->eof(); ds->next())
        out << ds->text(QStringLiteral("adi"));
    ds->moveTo(keep);
    ds->enableControls();
    return out;
}

const QDate kDay = QDate::currentDate();

// Today: for lumkar a waiting, a held, a cancelled, a held-and-cancelled and one marked
// held without a visit; for another user one waiting; one without an owner; one tomorrow.
void fillDay(App &app)
{
    app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
    auto add = [&](const QString &adi, const QString &owner, const QTime &time,
                   const QVariant &visit, const QVariant &cancel, const QDate &day = kDay) {
        AppointmentRow a;
        a.adi = adi;
        a.owner = owner;
        a.time = time;
        a.gorusmekodu = visit;
        a.iptalkodu = cancel;
        a.day = day;
        app.addAppointment(a);
    };
    const QString me = QStringLiteral("lumkar");
    add(QStringLiteral("Bekleyen"), me, QTime(11, 0), {}, {});
    add(QStringLiteral("Erken"), me, QTime(8, 30), {}, {});
    add(QStringLiteral("Görüşülen"), me, QTime(10, 0), 7, {});
    add(QStringLiteral("Gerçekleşti"), me, QTime(12, 0), 999999, {});
    add(QStringLiteral("İptal"), me, QTime(13, 0), {}, 999999);
    add(QStringLiteral("İkisi"), me, QTime(14, 0), 8, 999999);
    add(QStringLiteral("Başkası"), QStringLiteral("ece"), QTime(9, 0), {}, {});
    add(QStringLiteral("Sahipsiz"), QString(), QTime(9, 15), {}, {});
    add(QStringLiteral("Yarın"), me, QTime(9, 0), {}, {}, kDay.addDays(1));
}

} // namespace

class DayViewTest : public QObject {
    Q_OBJECT
private slots:
    void listsShowTheUsersDayInTimeOrder()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(names(main->dayLists()->randevuTable),
            (QStringList { QStringLiteral("Erken"), QStringLiteral("Bekleyen") }));
        // A row both held and cancelled is in both lists; 999999 counts as held.
        QCOMPARE(names(main->dayLists()->ffQuery1),
            (QStringList { QStringLiteral("Görüşülen"), QStringLiteral("Gerçekleşti"),
                QStringLiteral("İkisi") }));
        QCOMPARE(names(main->dayLists()->ffQuery4),
            (QStringList { QStringLiteral("İptal"), QStringLiteral("İkisi") }));
        QVERIFY(main->dayLists()->JvDBUltimGrid1->isColumnHidden(0));
        QAbstractItemModel *model = main->dayLists()->JvDBUltimGrid1->model();
        QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Saati"));
        QCOMPARE(model->data(model->index(0, 3)).toString(), QStringLiteral("08:30"));
        QCOMPARE(model->data(model->index(0, 5)).toString(), QStringLiteral("100,00"));
        // The cancelled list shows the time in the default format.
        QAbstractItemModel *cancelled = main->dayLists()->JvDBUltimGrid4->model();
        QCOMPARE(cancelled->data(cancelled->index(0, 3)).toString(), QStringLiteral("13:00:00"));
    }

    void allUsersBoxByMouseRefreshesAtOnce()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QTest::mouseClick(main->dayLists()->CheckBox2, Qt::LeftButton);
        QVERIFY(main->dayLists()->CheckBox2->isChecked());
        QCOMPARE(names(main->dayLists()->randevuTable),
            (QStringList { QStringLiteral("Erken"), QStringLiteral("Başkası"),
                QStringLiteral("Sahipsiz"), QStringLiteral("Bekleyen") }));
        QVERIFY(!main->dayLists()->JvDBUltimGrid1->isColumnHidden(0));
        QVERIFY(!main->dayLists()->bolumgrid2->isColumnHidden(0));
        QTest::mouseClick(main->dayLists()->CheckBox2, Qt::LeftButton);
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 2);
        QVERIFY(main->dayLists()->JvDBUltimGrid4->isColumnHidden(0));
    }

    void allUsersBoxByKeyboardWaitsForTheNextRefresh()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->activateWindow();
        main->dayLists()->CheckBox2->setFocus();
        QTest::keyClick(main->dayLists()->CheckBox2, Qt::Key_Space);
        QVERIFY(main->dayLists()->CheckBox2->isChecked());
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 2);
        // Leaving the box shows the owner columns, still without reading the lists again.
        main->dayLists()->CheckBox2Exit();
        QVERIFY(!main->dayLists()->JvDBUltimGrid1->isColumnHidden(0));
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 2);
        QTest::mouseClick(main->JvNavPanelButton10, Qt::LeftButton);
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 4);
    }

    void otherUsersSeeTheirOwn()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("ece")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(names(main->dayLists()->randevuTable), QStringList { QStringLiteral("Başkası") });
        QCOMPARE(main->dayLists()->ffQuery1->recordCount(), 0);
        QCOMPARE(main->dayLists()->ffQuery4->recordCount(), 0);
    }

    void dateChangeRefreshes()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->dayLists()->JvDateTimePicker1->setDate(kDay.addDays(1));
        QCOMPARE(names(main->dayLists()->randevuTable), QStringList { QStringLiteral("Yarın") });
        QCOMPARE(main->dayLists()->ffQuery1->recordCount(), 0);
        main->dayLists()->JvDateTimePicker1->setDate(kDay.addDays(5));
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 0);
        QCOMPARE(main->dayLists()->JvDBUltimGrid1->model()->rowCount(), 0);
    }

    void aDayColumnWithATimeNeverMatches()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.exec(QStringLiteral("INSERT INTO randevu (adi, RKime, randevutarihi) VALUES (?,?,?)"),
                 {QStringLiteral("Saatli"), QStringLiteral("lumkar"),
                  QDateTime(kDay, QTime(10, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
        Tanamenuf *main = app.forms().anamenuf;
        main->JvNavPanelButton10Click();
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 0);
    }

    void fullRefreshReadsNewRowsAndHeldRefreshOnlyTheHeld()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        AppointmentRow a;
        a.adi = QStringLiteral("Yeni");
        a.owner = QStringLiteral("lumkar");
        a.day = kDay;
        a.time = QTime(16, 0);
        const qlonglong rid = app.addAppointment(a);
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 2);
        main->JvNavPanelButton10Click();
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 3);
        app.exec(QStringLiteral("UPDATE randevu SET gorusmekodu = 999999 WHERE rid = ?"), { rid });
        QTest::mouseClick(main->dayLists()->JvNavPanelButton7, Qt::LeftButton);
        QCOMPARE(main->dayLists()->ffQuery1->recordCount(), 4);
        QCOMPARE(main->dayLists()->randevuTable->recordCount(),
            3); // the waiting list was not read again
    }

    void fullRefreshKeepsAPersonBeingEdited()
    {
        App app;
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi) VALUES ('1', 'Ali')"));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        DataSet *persons = app.forms().ozluk->sicilTable;
        QVERIFY(persons->open());
        persons->setValue(QStringLiteral("adi"), QStringLiteral("Ali Rıza"));
        main->Timer1Timer();
        QVERIFY(persons->isModified());
        QCOMPARE(persons->text(QStringLiteral("adi")), QStringLiteral("Ali Rıza"));
        persons->cancel();
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi) VALUES ('2', 'Can')"));
        main->Timer1Timer();
        QCOMPARE(persons->recordCount(), 2);
        QCOMPARE(app.forms().sicrapor->sicrapQuery->recordCount(), 2);
    }

    void timerFollowsTheBoxAndTheInterval()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->JvDotNetEdit1->setText(QStringLiteral("0"));
        main->CheckBox1->setChecked(true);
        QVERIFY(!main->timerRunning()); // interval 0 never ticks
        main->JvDotNetEdit1->setText(QStringLiteral("12"));
        QVERIFY(main->timerRunning());
        QCOMPARE(main->Timer1->interval(), 12000);
        main->JvDotNetEdit1->clear();
        QVERIFY(!main->timerRunning());
        main->JvDotNetEdit1->setText(QStringLiteral("5"));
        main->CheckBox1->setChecked(false);
        QVERIFY(!main->timerRunning());
        // Only digits can be typed into the interval.
        main->activateWindow();
        main->JvDotNetEdit1->setFocus();
        main->JvDotNetEdit1->clear();
        QTest::keyClicks(main->JvDotNetEdit1, QStringLiteral("4a-5"));
        QCOMPARE(main->JvDotNetEdit1->text(), QStringLiteral("45"));
        // Opening the person record stops the automatic refresh.
        main->CheckBox1->setChecked(true);
        QVERIFY(main->timerRunning());
        main->N1KisiGiris();
        QVERIFY(!main->CheckBox1->isChecked());
        QVERIFY(!main->timerRunning());
    }

    void rowsAlternateByTheirPositionInTheList()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QAbstractItemModel *held = app.forms().anamenuf->dayLists()->bolumgrid2->model();
        QCOMPARE(held->rowCount(), 3);
        QCOMPARE(held->data(held->index(0, 1), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 192));
        QCOMPARE(held->data(held->index(1, 1), Qt::BackgroundRole).value<QColor>(),
                 QColor(Qt::white));
        QCOMPARE(held->data(held->index(2, 1), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 192));
    }

    void wholeRowSelectionFollowsTheBoxByMouse()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->dayLists()->bolumgrid2->selectionBehavior(), QAbstractItemView::SelectItems);
        QTest::mouseClick(main->dayLists()->CheckBox3, Qt::LeftButton);
        for (GridView *g : { main->dayLists()->JvDBUltimGrid1, main->dayLists()->bolumgrid2,
                 main->dayLists()->JvDBUltimGrid4 })
            QCOMPARE(g->selectionBehavior(), QAbstractItemView::SelectRows);
        QTest::mouseClick(main->dayLists()->CheckBox3, Qt::LeftButton);
        QCOMPARE(
            main->dayLists()->JvDBUltimGrid1->selectionBehavior(), QAbstractItemView::SelectItems);
    }

    void enterInTheGrids()
    {
        App app;
        fillDay(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->activateWindow();
        // The held grid: the window moves one column, from the last back to the first.
        GridView *held = main->dayLists()->bolumgrid2;
        QAbstractItemModel *hm = held->model();
        held->setFocus();
        held->setCurrentIndex(hm->index(1, 6));
        QTest::keyClick(held, Qt::Key_Return);
        QCOMPARE(held->currentIndex(), hm->index(1, 7));
        QTest::keyClick(held, Qt::Key_Return);
        QCOMPARE(held->currentIndex(), hm->index(1, 1)); // the hidden owner column is skipped
        // The waiting grid: the window's move and the grid's own both apply.
        GridView *waiting = main->dayLists()->JvDBUltimGrid1;
        QAbstractItemModel *wm = waiting->model();
        waiting->setFocus();
        waiting->setCurrentIndex(wm->index(0, 1));
        QTest::keyClick(waiting, Qt::Key_Return);
        QCOMPARE(waiting->currentIndex(), wm->index(0, 3));
        waiting->setCurrentIndex(wm->index(0, 7));
        QTest::keyClick(waiting, Qt::Key_Return);
        QCOMPARE(waiting->currentIndex(), wm->index(1, 1));
        // Selecting a row moves the waiting list's cursor.
        QCOMPARE(main->dayLists()->randevuTable->text(QStringLiteral("adi")),
            QStringLiteral("Bekleyen"));
    }
};

LUMKAR_TEST(DayViewTest)
#include "tst_dayview.moc"
