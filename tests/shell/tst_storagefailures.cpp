// The windows when the storage underneath fails: another program's lock at login, at a
// refresh and at every tick of the automatic refresh; a damaged page under the person
// windows; a database file that is missing after the first start.

#include "fixture.h"
#include "storagefaults.h"
#include "testregistry.h"

#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "appointments/dayview.h"
#include "shell/anamenu.h"
#include "shell/sifre.h"
#include "shell/sifreler.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kLocked = QStringLiteral("Veritabanı başka bir program tarafından kullanılıyor; "
                                       "işlem yapılamadı. Biraz bekleyip yeniden deneyin.");
const QString kWrong = QStringLiteral("Kullanıcı adınız yada şifre yalnış! Tekrar deneyin!");

void endAction()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QString databasePath(App &app)
{
    return app.session().database().filePath();
}

} // namespace

class StorageWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void lockAtLoginIsNotAWrongPassword()
    {
        App app;
        app.openDatabase();
        QSignalSpy ended(app.forms().PasswordDlg, &TPasswordDlg::programEnded);
        {
            WriteLock lock(databasePath(app));
            for (int press = 0; press < 4; ++press) {
                app.dialogs.expectNotice();
                app.typeLogin(QStringLiteral("lumkar"), QString());
                QCOMPARE(app.dialogs.lastText(), kLocked);
                QCOMPARE(app.dialogs.shown().size(), press + 1);
                endAction();
            }
        }
        QCOMPARE(ended.count(), 0);
        QVERIFY(!app.dialogs.texts().contains(kWrong));
        // The lock is gone: the right password logs in, the failures never counted.
        QVERIFY(app.login(QStringLiteral("lumkar")));
    }

    void lockAtTheMasterGateOpensNothing()
    {
        App app;
        app.openDatabase();
        WriteLock lock(databasePath(app));
        app.forms().sifrelerF->masterTable->close();
        app.dialogs.expectNotice();
        app.forms().PasswordDlg->masterGate(); // an empty password would match an unread row
        QCOMPARE(app.dialogs.lastText(), kLocked);
        QVERIFY(!app.forms().sifrelerF->isVisible());
    }

    void refreshUnderLockKeepsTheLists()
    {
        App app;
        AppointmentRow row;
        row.owner = QStringLiteral("lumkar");
        row.day = QDate::currentDate();
        app.addAppointment(row);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 1);
        endAction();

        WriteLock lock(databasePath(app));
        app.dialogs.expectNotice();
        main->JvNavPanelButton10Click();
        QCOMPARE(app.dialogs.texts(), QStringList{kLocked});
        QVERIFY(main->dayLists()->randevuTable->isOpen());
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 1);
        QCOMPARE(main->dayLists()->randevuTable->text(QStringLiteral("adi")), QStringLiteral("Ayşe"));
        QVERIFY(main->dayLists()->ffQuery1->isOpen() && main->dayLists()->ffQuery4->isOpen());
    }

    void automaticRefreshTellsALastingLockOnce()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->JvDotNetEdit1->setText(QStringLiteral("30"));
        main->CheckBox1->setChecked(true);
        QVERIFY(main->timerRunning());
        endAction();
        {
            WriteLock lock(databasePath(app));
            app.dialogs.expectNotice();
            for (int tick = 0; tick < 3; ++tick) {
                main->Timer1Timer();
                endAction();
                QVERIFY(main->timerRunning()); // the ticks go on, one at a time
            }
            QCOMPARE(app.dialogs.texts(), QStringList{kLocked});
        }
        main->Timer1Timer(); // the lock is gone: a quiet, successful refresh
        endAction();
        WriteLock again(databasePath(app));
        app.dialogs.expectNotice();
        main->Timer1Timer(); // a new lock after a good refresh is told again
        QCOMPARE(app.dialogs.texts(), (QStringList{kLocked, kLocked}));
    }

    void damagedRegisterIsNeverShownAsEmpty()
    {
        App app;
        const QString path = databasePath(app);
        addPersons(path, 3000);
        QVERIFY(damagePageHolding(path, personAddressMarker(1500)));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;

        // The person list reads the register as it comes into view: where it reaches the
        // damaged page it says what happened, once, and the rows there stay empty.
        main->N2KisiListeleri();
        DataSet *persons = app.forms().sicrapor->sicrapQuery;
        QCOMPARE(persons->recordCount(), 3000);
        app.dialogs.expectNotice();
        for (int row = 0; row < persons->recordCount(); ++row)
            (void)persons->valueAt(row, persons->fieldIndex(QStringLiteral("isadresi")));
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.shown().first().kind, QStringLiteral("error"));
        QVERIFY(app.dialogs.lastText().startsWith(QStringLiteral("Veritabanı dosyası bozuk")));
        endAction();

        // No new person is begun, so none can be written into the damaged file.
        app.dialogs.expectNotice();
        QVERIFY(!app.forms().ozluk->YeniKisi());
        QVERIFY(!app.forms().ozluk->sicilTable->isEditing());
        QCOMPARE(app.dialogs.shown().size(), 2);
        QVERIFY(app.session().database().isDamaged());
    }

    void missingDatabaseAsksBeforeANewOne()
    {
        App app;
        const QString path = databasePath(app);
        QVERIFY(QFile::remove(path));
        app.dialogs.expectQuestion(Answer::No);
        QVERIFY(!app.forms().PasswordDlg->openConnection(true));
        QCOMPARE(app.dialogs.shown().size(), 1);
        QVERIFY(app.dialogs.lastText().contains(QDir::toNativeSeparators(path)));
        QVERIFY(!QFile::exists(path));
        // Entering a login box asks nothing and makes nothing.
        QVERIFY(!app.forms().PasswordDlg->openConnection(false));
        QCOMPARE(app.dialogs.shown().size(), 1);

        app.dialogs.expectQuestion(Answer::Yes);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QVERIFY(QFile::exists(path));
    }

    void settingsWithoutDataFolderAsksToo()
    {
        App app;
        const QString folder = app.session().database().dataFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QFile ini(QDir(app.folder()).filePath(QStringLiteral("Ayar.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[basla]\r\nkul=lumkar\r\n");
        ini.close();
        app.dialogs.expectQuestion(Answer::Cancel);
        QVERIFY(!app.forms().PasswordDlg->openConnection(true));
        QVERIFY(!QDir(folder).exists());
    }

    void veryFirstStartMakesTheDatabaseUnasked()
    {
        App app;
        const QString folder = app.session().database().dataFolder();
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QVERIFY(app.dialogs.shown().isEmpty());
        QVERIFY(QFile::exists(databasePath(app)));
    }
};

LUMKAR_FILE_TEST(StorageWindowsTest)
#include "tst_storagefailures.moc"
