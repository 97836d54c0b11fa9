// The appointment list to a calendar file: the item beside the CSV export, exactly the rows
// the list shows in its order, each event one planner slot long, and a write the disk refuses
// told in one message with no file left behind.

#include "calendarreader.h"
#include "csvreader.h"
#include "fixture.h"
#include "fulldisk.h"
#include "testregistry.h"

#include "appointments/plannersettings.h"
#include "appointments/randevu.h"
#include "shell/anamenu.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kMe = QStringLiteral("lumkar");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("the test file could not be written");
}

struct ListedMonth {
    App app;
    TrandevuF *list = nullptr;
    qlonglong waiting = 0;
    qlonglong late = 0;
    qlonglong held = 0;

    ListedMonth()
    {
        app.addUser(QStringLiteral("ece"), QString(), QStringLiteral("Ece"), QStringLiteral("Ak"));
        const QString ece = QStringLiteral("ece");
        // Inserted out of order: the list orders them by day.
        late = app.addAppointment(
            { .owner = kMe, .day = QDate(2009, 10, 9), .time = QTime(23, 45), .adi = "Geç" });
        waiting = app.addAppointment(
            { .owner = kMe, .day = QDate(2009, 10, 7), .time = QTime(10, 0), .adi = "Çiğdem" });
        held = app.addAppointment({ .owner = kMe,
            .day = QDate(2009, 10, 8),
            .time = QTime(11, 0),
            .adi = "Görüşülen",
            .gorusmekodu = 5 });
        app.addAppointment(
            { .owner = kMe, .day = QDate(2009, 10, 10), .adi = "İptal", .iptalkodu = 999999 });
        app.addAppointment({ .owner = kMe, .day = QDate(2009, 9, 30), .adi = "Önceki" });
        app.addAppointment({ .owner = ece, .day = QDate(2009, 10, 12), .adi = "Ecenin" });
        app.exec(QStringLiteral("UPDATE randevu SET konu = ?, paketadi = ? WHERE rid = ?"),
            { QStringLiteral("Kontrol; 2. seans, ılık\r\nsu"), QStringLiteral("Bakım"), waiting });
        if (!app.login(kMe))
            qFatal("login failed");
        list = app.forms().randevuF;
        app.forms().anamenuf->N3RandevuRaporlari();
        list->JvDateTimePicker1->setDate(QDate(2009, 10, 1));
        list->JvDateTimePicker2->setDate(QDate(2009, 10, 31));
        list->ButsorguClick();
    }

    QString path(const QString &name) const { return QDir(app.folder()).filePath(name); }

    // The events of an export to `target`, which the save dialog answers.
    CalendarReading exportTo(const QString &target)
    {
        app.dialogs.expectFile(target);
        app.dialogs.expectNotice();
        list->takvimeAktar->trigger();
        return readCalendar(readFile(target));
    }
};

QStringList uidsOf(const CalendarReading &file)
{
    QStringList out;
    for (const auto &event : file.events)
        out << event.value(QStringLiteral("UID"));
    return out;
}

QString uid(qlonglong rid)
{
    return QStringLiteral("randevu-%1@lumkar-dorvalen").arg(rid);
}

} // namespace

class CalendarExportTest : public QObject {
    Q_OBJECT
private slots:
    void exportsTheRowsAsShown()
    {
        ListedMonth month;
        // The item stands right after the CSV export in the grid's context menu.
        const QList<QAction *> items = month.list->JvDBUltimGrid1->contextMenu()->actions();
        const qsizetype csv = items.indexOf(month.list->JvDBUltimGrid1->exportAction());
        QVERIFY(csv >= 0);
        QCOMPARE(items.indexOf(month.list->takvimeAktar), csv + 1);
        QCOMPARE(month.list->takvimeAktar->text(), QStringLiteral("Takvime Aktar (.ics)..."));

        const QString target = month.path(QStringLiteral("Randevular.ics"));
        const CalendarReading file = month.exportTo(target);
        QVERIFY2(file.faults.isEmpty(), qPrintable(file.faults.join(QLatin1Char('\n'))));
        const QVector<ShownDialog> shown = month.app.dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].kind, QStringLiteral("save"));
        QCOMPARE(shown[0].title, QStringLiteral("Takvime Aktar"));
        QVERIFY(shown[0].text.endsWith(QStringLiteral("|Randevular.ics")));
        QCOMPARE(shown[1].kind, QStringLiteral("information"));
        QCOMPARE(shown[1].text,
            QStringLiteral("2 randevu takvim dosyasına aktarıldı:\n")
                + QDir::toNativeSeparators(target));

        // Waiting appointments of the chosen user in the range, by day.
        QCOMPARE(uidsOf(file), QStringList({ uid(month.waiting), uid(month.late) }));
        const auto &first = file.events[0];
        QCOMPARE(first.value(QStringLiteral("DTSTART")), QStringLiteral("20091007T100000"));
        QCOMPARE(first.value(QStringLiteral("DURATION")), QStringLiteral("PT30M"));
        QCOMPARE(unescapeCalendarText(first.value(QStringLiteral("SUMMARY"))),
            QStringLiteral("Çiğdem Yılmaz - Bakım"));
        QCOMPARE(unescapeCalendarText(first.value(QStringLiteral("DESCRIPTION"))),
            QStringLiteral("Kontrol; 2. seans, ılık\nsu"));
        const auto &second = file.events[1];
        QCOMPARE(second.value(QStringLiteral("DTSTART")), QStringLiteral("20091009T234500"));
        QCOMPARE(unescapeCalendarText(second.value(QStringLiteral("SUMMARY"))),
            QStringLiteral("Geç Yılmaz"));
        QVERIFY(!second.contains(QStringLiteral("DESCRIPTION")));

        // Waiting and held: the held one joins in its place by day.
        month.app.dialogs.clear();
        QTest::mouseClick(month.list->CheckBox1, Qt::LeftButton);
        QVERIFY(month.list->CheckBox1->isChecked());
        const CalendarReading both = month.exportTo(month.path(QStringLiteral("hepsi.ics")));
        QCOMPARE(
            uidsOf(both), QStringList({ uid(month.waiting), uid(month.held), uid(month.late) }));
        QVERIFY(month.app.dialogs.lastText().startsWith(QStringLiteral("3 randevu ")));
        QVERIFY(month.app.dialogs.allConsumed());
    }

    void eventsLastOnePlannerSlot_data()
    {
        QTest::addColumn<QByteArray>("settings"); // ayarrand.ayr; empty: no file
        QTest::addColumn<QString>("duration");
        QTest::newRow("no settings file") << QByteArray() << "PT30M";
        QTest::newRow("1 hour 15") << QByteArray("[AYARR]\r\nrandevuperiod=01:15\r\n") << "PT1H15M";
        QTest::newRow("5 minutes") << QByteArray("[AYARR]\r\nrandevuperiod=00:05\r\n") << "PT5M";
        QTest::newRow("zero") << QByteArray("[AYARR]\r\nrandevuperiod=00:00\r\n") << "PT30M";
        QTest::newRow("garbage") << QByteArray("[AYARR]\r\nrandevuperiod=ab:cd\r\n") << "PT30M";
        QTest::newRow("no such key") << QByteArray("[AYARR]\r\nmesaibitsaat=17:00\r\n") << "PT30M";
        QTest::newRow("not a settings file") << QByteArray("\xFF\xFE\x00\x01\x02zz", 7) << "PT30M";
    }
    void eventsLastOnePlannerSlot()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, duration);
        ListedMonth month;
        const QString settingsPath = month.app.session().filePath(PlannerSettings::fileName());
        QFile::remove(settingsPath);
        if (!settings.isEmpty())
            writeFile(settingsPath, settings);
        const CalendarReading file = month.exportTo(month.path(QStringLiteral("r.ics")));
        QCOMPARE(file.events.size(), 2);
        for (const auto &event : file.events)
            QCOMPARE(event.value(QStringLiteral("DURATION")), duration);
        // Reading the settings never writes them.
        QCOMPARE(QFile::exists(settingsPath), !settings.isEmpty());
    }

    void refusedWriteLeavesNoFile()
    {
        ListedMonth month;
        // A folder that is not there.
        const QString folder = month.path(QStringLiteral("yok"));
        const QString missing = QDir(folder).filePath(QStringLiteral("Randevular.ics"));
        month.app.dialogs.expectFile(missing);
        month.app.dialogs.expectNotice();
        month.list->exportToCalendar();
        QCOMPARE(month.app.dialogs.shown().size(), 2);
        QCOMPARE(month.app.dialogs.shown()[1].kind, QStringLiteral("error"));
        QVERIFY2(
            month.app.dialogs.lastText().startsWith(QStringLiteral("Takvim dosyası yazılamadı:\n")
                + QDir::toNativeSeparators(missing) + QStringLiteral("\n")),
            qPrintable(month.app.dialogs.lastText()));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!QDir(folder).exists());

        // A full disk: the file that was there keeps what it held, nothing is left beside it.
        const QString kept = month.path(QStringLiteral("eski.ics"));
        writeFile(kept, "eski takvim");
        const QStringList before = QDir(month.app.folder()).entryList(QDir::Files);
        month.app.dialogs.clear();
        {
            FullDisk full;
            month.app.dialogs.expectFile(kept);
            month.app.dialogs.expectNotice();
            month.list->exportToCalendar();
        }
        QCOMPARE(month.app.dialogs.shown().size(), 2);
        QCOMPARE(month.app.dialogs.shown()[1].kind, QStringLiteral("error"));
        const QString told = QStringLiteral("Takvim dosyası yazılamadı:\n")
            + QDir::toNativeSeparators(kept) + QStringLiteral("\n");
        QVERIFY2(month.app.dialogs.lastText().startsWith(told)
                && month.app.dialogs.lastText().size() > told.size(),
            qPrintable(month.app.dialogs.lastText()));
        QCOMPARE(readFile(kept), QByteArray("eski takvim"));
        QCOMPARE(QDir(month.app.folder()).entryList(QDir::Files), before);

        // With room again the same file is replaced whole.
        const CalendarReading file = month.exportTo(kept);
        QCOMPARE(file.events.size(), 2);
        QVERIFY(file.faults.isEmpty());
    }

    void emptyListCancelAndMissingSuffix()
    {
        ListedMonth month;
        // Cancelled: nothing written, nothing more said.
        month.app.dialogs.expectFile(QString());
        month.list->exportToCalendar();
        QCOMPARE(month.app.dialogs.shown().size(), 1);
        QVERIFY(QDir(month.app.folder()).entryList({ QStringLiteral("*.ics") }).isEmpty());

        // A name without a suffix gets ".ics".
        month.app.dialogs.clear();
        const CalendarReading file = month.exportTo(month.path(QStringLiteral("takvim")));
        QVERIFY(file.events.isEmpty()); // nothing at the name as typed
        QVERIFY(!QFile::exists(month.path(QStringLiteral("takvim"))));
        QCOMPARE(readCalendar(readFile(month.path(QStringLiteral("takvim.ics")))).events.size(), 2);

        // An empty list: a notice, no file dialog, no file.
        month.app.dialogs.clear();
        month.list->JvDateTimePicker1->setDate(QDate(2010, 1, 1));
        month.list->JvDateTimePicker2->setDate(QDate(2010, 1, 31));
        month.list->ButsorguClick();
        QCOMPARE(month.list->randevuTable->recordCount(), 0);
        month.app.dialogs.expectNotice();
        month.list->exportToCalendar();
        QCOMPARE(month.app.dialogs.shown().size(), 1);
        QCOMPARE(month.app.dialogs.shown()[0].kind, QStringLiteral("information"));
        QCOMPARE(month.app.dialogs.lastText(),
            QStringLiteral("Listede takvime aktarılacak randevu yok."));

        // A closed list (the window was closed) has nothing to export either.
        month.app.dialogs.clear();
        month.list->kapatButClick();
        month.app.dialogs.expectNotice();
        month.list->exportToCalendar();
        QCOMPARE(month.app.dialogs.shown().size(), 1);
        QCOMPARE(month.app.dialogs.shown()[0].kind, QStringLiteral("information"));
        QVERIFY(month.app.dialogs.allConsumed());
    }
};

LUMKAR_TEST(CalendarExportTest)
#include "tst_calendarexport.moc"
