// The person record window: new codes, save, close and discard with their questions and
// refusals, delete, stepping, capitalisation, Enter, keys, the person list and help.

#include "fixture.h"
#include "persondata.h"
#include "storagefaults.h"
#include "testregistry.h"

#include "appointments/dayview.h"
#include "data/database.h"
#include "appointments/entrypanel.h"
#include "notes/notespanes.h"
#include "persons/perozluk.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "shell/yardim.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

namespace {

const QString kDrop = QStringLiteral("Yapılan değişiklik kayıt yapılmadan çıkılsınmı?");
const QString kSave = QStringLiteral("Kişi sicil işleminde yapılan değişiklik kayıt edilsinmi?");
const QString kSaveRefusal =
    QStringLiteral("Sicil Kodu ve Kişi Adı kısımlarını boş geçemezsiniz!");
const QString kCloseRefusal =
    QStringLiteral("Sicil Kodu, Adı ve Soyadı kısımlarını boş geçemezsiniz!");

// Logs in and shows the person record with its table open, as the main window leaves it.
Tozluk *showRecord(App &app)
{
    if (!app.login(QStringLiteral("lumkar")))
        return nullptr;
    Tozluk *record = app.forms().ozluk;
    record->show();
    if (!record->sicilTable->isOpen() && !record->sicilTable->open())
        return nullptr;
    return record;
}

int persons(App &app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM siciltablo")).toInt();
}

// "Yeni Kişi Kaydı Gir", then the names typed into their boxes.
void typeNewPerson(Tozluk *record, const QString &adi, const QString &soyadi)
{
    QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
    typeText(record->JvDotNetDBEdit3, adi);
    typeText(record->JvDotNetDBEdit5, soyadi);
}

QString codeOfLastPerson(App &app)
{
    return app.scalar(QStringLiteral("SELECT sicil_kodu FROM siciltablo ORDER BY hid DESC"))
        .toString();
}

} // namespace

class PersonRecordTest : public QObject {
    Q_OBJECT
private slots:
    void windowAndEmptyRegister()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QCOMPARE(record->windowTitle(), QStringLiteral("Lumkar Vikelmo - Kişi Sicil Bilgileri"));
        QVERIFY(record->CheckBox2->isChecked());
        QCOMPARE(record->CheckBox2->text(), QStringLiteral("İlk Harf Büyük Olsun"));
        QVERIFY(record->JvDotNetDBEdit2->isReadOnly());
        QVERIFY(record->JvDotNetDBEdit1->isReadOnly() && !record->JvDotNetDBEdit1->isEnabled());
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        // The program-set code counts as a change.
        QVERIFY(record->hasUnsavedModification());
        QCOMPARE(persons(app), 0);
    }

    void codesAreNeverGivenTwice()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        for (const QString &name : {QStringLiteral("ayşe"), QStringLiteral("veli"),
                                    QStringLiteral("can")}) {
            typeNewPerson(record, name, QStringLiteral("test"));
            QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        }
        QCOMPARE(persons(app), 3);
        QCOMPARE(codeOfLastPerson(app), QStringLiteral("3"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi FROM siciltablo WHERE sicil_kodu='1'"))
                     .toString(),
                 QStringLiteral("Ayşe"));

        // A person in the middle goes: the codes go on from the largest.
        QVERIFY(record->positionOn(QStringLiteral("2")));
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->JvXPButton4, Qt::LeftButton);
        QCOMPARE(persons(app), 2);
        typeNewPerson(record, QStringLiteral("deniz"), QStringLiteral("ak"));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("4"));
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);

        // The last person goes, but appointments still carry the code: it is not given again.
        AppointmentRow appointment;
        appointment.sicilKodu = QStringLiteral("4");
        appointment.day = QDate::currentDate();
        app.addAppointment(appointment);
        QVERIFY(record->positionOn(QStringLiteral("4")));
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->JvXPButton4, Qt::LeftButton);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu WHERE sicil_kodu='4'"))
                     .toInt(),
                 1);
        typeNewPerson(record, QStringLiteral("ece"), QStringLiteral("su"));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("5"));
        QVERIFY(app.dialogs.allConsumed());
    }

    // Two desks add a person at the same moment and are given the same code: the one that
    // saves second gets the next free code and is told.
    void aCodeTakenByAnotherDeskMeanwhileGivesWay()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ayşe"), QStringLiteral("kaya"));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        {
            Database other(app.folder());
            QVERIFY2(other.open(), qPrintable(other.errorText()));
            QSqlQuery q(other.db());
            QVERIFY(q.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                          "VALUES ('1', 'Veli', 'Ak')")));
        }
        app.dialogs.expectNotice();
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("1 kodu bu arada başka bir masada kaydedilen bir kişiye "
                                "verildi; bu kişi 2 koduyla kaydedildi."));
        QCOMPARE(persons(app), 2);
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi FROM siciltablo WHERE sicil_kodu = '2'"))
                     .toString(),
                 QStringLiteral("Ayşe"));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("2"));
    }

    // Another program writing on the file for longer than a save waits: the new person is
    // not written (its code could not be looked at under the lock), and the typing stays.
    void aNewPersonIsNotWrittenWithoutItsLock()
    {
        if (usesServer())
            QSKIP("the lock of another program on the file");
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ayşe"), QStringLiteral("kaya"));
        {
            WriteLock lock(QDir(app.folder()).filePath(QStringLiteral("AnaData/Tovaskel.mdb")),
                           false);
            QVERIFY(lock.held());
            app.dialogs.expectNotice();
            QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
            QVERIFY2(app.dialogs.lastText().contains(QStringLiteral("başka bir program")),
                     qPrintable(app.dialogs.lastText()));
        }
        QCOMPARE(persons(app), 0);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
    }

    void codesThatAreNotNumbersAreSkipped()
    {
        App app;
        addPerson(app, {QStringLiteral("7"), QStringLiteral("Ali"), QStringLiteral("Kaya")});
        addPerson(app, {QStringLiteral("ESKİ-12"), QStringLiteral("Veli"), QStringLiteral("Su")});
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("8"));
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void aNextCodeLongerThanTheColumnIsRefused()
    {
        App app;
        AppointmentRow appointment;
        appointment.day = QDate::currentDate();
        appointment.sicilKodu = QStringLiteral("9999999999999999");
        app.addAppointment(appointment);
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        app.dialogs.expectNotice();
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Sıradaki kişi kodu 17 haneli olurdu (10000000000000000); kişi "
                                "kodu en çok 16 hane olabilir! Yeni kişi kaydı açılmadı."));
        QCOMPARE(record->sicilTable->state(), DataSet::State::Browse);
        QVERIFY(!record->hasPendingChange());
        QCOMPARE(persons(app), 0);
    }

    void theCodeBoxShowsTheStoredCodeWhole()
    {
        if (usesServer())
            QSKIP("only the file holds codes longer than the column");
        App app;
        const QString longCode = QStringLiteral("12345678901234567890");
        addPerson(app, {longCode, QStringLiteral("Ali"), QStringLiteral("Kaya")});
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QVERIFY(record->positionOn(longCode));
        QCOMPARE(record->JvDotNetDBEdit2->text(), longCode);
    }

    void saveRefusesAnEmptyNameAndWritesWithoutSurname()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        app.dialogs.expectNotice();
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(), kSaveRefusal);
        QCOMPARE(persons(app), 0);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);

        typeText(record->JvDotNetDBEdit3, QStringLiteral("ali"));
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(persons(app), 1);
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi FROM siciltablo")).toString(),
                 QStringLiteral("Ali"));
        QVERIFY(app.scalar(QStringLiteral("SELECT soyadi FROM siciltablo")).isNull());
        QCOMPARE(record->sicilTable->state(), DataSet::State::Browse);
        QVERIFY(record->JvDotNetDBEdit2->isReadOnly());
        QCOMPARE(app.forms().anamenuf->entryForm()->kisinoedit->text(), QStringLiteral("1"));
        // Nothing pending: a second save does nothing.
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), 1);
    }

    void saveWritesPhonesAndAddress()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ayşe"), QStringLiteral("yılmaz"));
        record->JvDotNetDBEdit6->setCursorPosition(0);
        typeText(record->JvDotNetDBEdit6, QStringLiteral("5321234567"));
        record->JvDotNetDBMemo4->setFocus();
        QTest::keyClicks(record->JvDotNetDBMemo4, QStringLiteral("Moda"));
        QTest::mouseClick(record->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.scalar(QStringLiteral("SELECT tel1 FROM siciltablo")).toString(),
                 samplePhone());
        QCOMPARE(app.scalar(QStringLiteral("SELECT isadresi FROM siciltablo")).toString(),
                 QStringLiteral("Moda\r\n"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT soyadi FROM siciltablo")).toString(),
                 QStringLiteral("Yılmaz"));
    }

    void closeButtonKeepsAnIncompleteRecord()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ali"), QString());
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectNotice();
        QTest::mouseClick(record->Button1, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().at(0).text, kSave);
        QCOMPARE(app.dialogs.lastText(), kCloseRefusal);
        QVERIFY(record->isVisible());
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit3->text(), QStringLiteral("Ali"));

        // No: the change goes and the window hides.
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->Button1, Qt::LeftButton);
        QVERIFY(!record->isVisible());
        QCOMPARE(persons(app), 0);
        QVERIFY(!record->hasPendingChange());
    }

    void closeButtonWritesACompleteRecord()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ali"), QStringLiteral("kaya"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(record->Button1, Qt::LeftButton);
        QVERIFY(!record->isVisible());
        QCOMPARE(persons(app), 1);
        // Nothing pending: the window just hides.
        record->show();
        QTest::mouseClick(record->Button1, Qt::LeftButton);
        QVERIFY(!record->isVisible());
        QCOMPARE(app.dialogs.shown().size(), 1);
    }

    void titleBarClose_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("written");
        QTest::newRow("yes, complete") << true << "kaya" << false << 1;
        QTest::newRow("yes, no surname: told and dropped") << true << "" << true << 0;
        QTest::newRow("no") << false << "kaya" << false << 0;
    }
    void titleBarClose()
    {
        QFETCH(bool, yes);
        QFETCH(QString, surname);
        QFETCH(bool, refused);
        QFETCH(int, written);
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ali"), surname);
        app.dialogs.expectQuestion(yes ? Answer::Yes : Answer::No);
        if (refused)
            app.dialogs.expectNotice();
        QVERIFY(record->close());
        QVERIFY(!record->isVisible());
        QCOMPARE(app.dialogs.shown().at(0).text, kSave);
        QCOMPARE(app.dialogs.lastText(), refused ? kCloseRefusal : kSave);
        QCOMPARE(persons(app), written);
        QVERIFY(!record->hasPendingChange());
    }

    void discardAsksAlways()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        typeNewPerson(record, QStringLiteral("ali"), QStringLiteral("kaya"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->JvXPButton5, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(), kDrop);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(record->JvXPButton5, Qt::LeftButton);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Browse);
        QCOMPARE(record->sicilTable->recordCount(), 0);
        QVERIFY(record->JvDotNetDBEdit3->text().isEmpty());
        // Also with nothing pending the question comes.
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(record->JvXPButton5, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), 3);
        QCOMPARE(persons(app), 0);
    }

    void deleteQuestions_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("questions");
        QTest::newRow("no") << int(Answer::No) << -1 << false << 1;
        QTest::newRow("yes, then yes calls it off") << int(Answer::Yes) << int(Answer::Yes)
                                                    << false << 2;
        QTest::newRow("yes, then no deletes") << int(Answer::Yes) << int(Answer::No) << true << 2;
    }
    void deleteQuestions()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, deleted);
        QFETCH(int, questions);
        App app;
        addSamplePersons(app);
        AppointmentRow appointment;
        appointment.sicilKodu = QStringLiteral("2");
        app.addAppointment(appointment);
        app.exec(QStringLiteral("INSERT INTO cari (sicilkodu, borc) VALUES ('2', 50)"));
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QVERIFY(record->positionOn(QStringLiteral("2")));
        app.dialogs.expectQuestion(Answer(first));
        if (second >= 0)
            app.dialogs.expectQuestion(Answer(second));
        QTest::mouseClick(record->JvXPButton4, Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), questions);
        QCOMPARE(app.dialogs.shown().at(0).text, QStringLiteral("Kayıt silinsin mi?"));
        if (questions == 2)
            QCOMPARE(app.dialogs.shown().at(1).text,
                     QStringLiteral("Kayıt silinirse bir daha bu kayda ulaşamayacaksınız?"
                                    "Silme işlemini kesmek istermisiniz?"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM siciltablo WHERE "
                                           "sicil_kodu='2'"))
                     .toInt(),
                 deleted ? 0 : 1);
        QCOMPARE(persons(app), deleted ? 8 : 9);
        // The person's appointments and account lines stay.
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM randevu")).toInt(), 1);
        QCOMPARE(app.scalar(QStringLiteral("SELECT count(*) FROM cari")).toInt(), 1);
    }

    void capitalisation_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("shown");
        QTest::newRow("dotted i") << "ismail" << true << "İsmail";
        QTest::newRow("two words") << "ali veli" << true << "Ali Veli";
        QTest::newRow("unticked") << "ismail" << false << "ismail";
        QTest::newRow("unticked, two words") << "ali veli" << false << "ali veli";
        QTest::newRow("Turkish initials") << "çağrı ışık öz ün şen ğ" << true
                                          << "Çağrı Işık Öz Ün Şen Ğ";
        QTest::newRow("inside a word nothing changes") << "aLi" << true << "ALi";
    }
    void capitalisation()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ticked);
        QFETCH(QString, shown);
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        if (!ticked)
            QTest::mouseClick(record->CheckBox2, Qt::LeftButton, {},
                              QPoint(8, record->CheckBox2->height() / 2));
        QCOMPARE(record->CheckBox2->isChecked(), ticked);
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        for (QLineEdit *box : {record->JvDotNetDBEdit3, record->JvDotNetDBEdit5,
                               record->JvDotNetDBEdit10}) {
            typeText(box, typed);
            QCOMPARE(box->text(), shown);
        }
        QCOMPARE(record->sicilTable->text(QStringLiteral("adi")), shown);
        QCOMPARE(record->sicilTable->text(QStringLiteral("email")), shown);
    }

    void enterMovesOnExceptInTheAddress()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QVERIFY(activate(record));
        // Typing starts in the name box; the code box is not on the way.
        QCOMPARE(QApplication::focusWidget(), record->JvDotNetDBEdit3);
        QTest::mouseClick(record->JvXPButton3, Qt::LeftButton);
        record->JvDotNetDBEdit3->setFocus();
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_Backtab);
        QVERIFY(QApplication::focusWidget() != record->JvDotNetDBEdit2);
        record->JvDotNetDBEdit3->setFocus();
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), record->JvDotNetDBEdit5);
        QTest::keyClick(record->JvDotNetDBEdit5, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), record->JvDotNetDBEdit6);
        record->JvDotNetDBMemo4->setFocus();
        QTest::keyClicks(record->JvDotNetDBMemo4, QStringLiteral("Moda"));
        QTest::keyClick(record->JvDotNetDBMemo4, Qt::Key_Return);
        QTest::keyClicks(record->JvDotNetDBMemo4, QStringLiteral("Kadikoy"));
        QCOMPARE(QApplication::focusWidget(), record->JvDotNetDBMemo4);
        QCOMPARE(record->JvDotNetDBMemo4->toPlainText(), QStringLiteral("Moda\nKadikoy"));
    }

    void stepsAskBeforeDroppingAChange()
    {
        App app;
        addSamplePersons(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.forms().anamenuf->N1KisiGiris();
        Tozluk *record = app.forms().ozluk;
        QVERIFY(record->isVisible());
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1")); // no waiting appointment
        typeText(record->JvDotNetDBEdit5, QStringLiteral("x"));
        QCOMPARE(record->JvDotNetDBEdit5->text(), QStringLiteral("Demirx"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->JvXPButton6, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(), kDrop);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        QCOMPARE(record->JvDotNetDBEdit5->text(), QStringLiteral("Demirx"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(record->JvXPButton6, Qt::LeftButton);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("2"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT soyadi FROM siciltablo WHERE "
                                           "sicil_kodu='1'"))
                     .toString(),
                 QStringLiteral("Demir"));
        // Buttons and keys without a change: no question.
        QTest::mouseClick(record->JvXPButton8, Qt::LeftButton);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("13"));
        QTest::mouseClick(record->JvXPButton7, Qt::LeftButton);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("12"));
        QTest::mouseClick(record->JvXPButton9, Qt::LeftButton);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        QVERIFY(activate(record));
        record->JvDotNetDBEdit3->setFocus();
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F9);
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F9);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("3"));
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F11);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("2"));
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F12);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("13"));
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F8);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        QCOMPARE(app.dialogs.shown().size(), 2);
    }

    void keysOfTheWindow()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QVERIFY(activate(record));
        record->JvDotNetDBEdit3->setFocus();
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F5);
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(QApplication::focusWidget(), record->JvDotNetDBEdit3);
        typeText(record->JvDotNetDBEdit3, QStringLiteral("ümit"));
        typeText(record->JvDotNetDBEdit5, QStringLiteral("şen"));
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F2);
        QCOMPARE(persons(app), 1);
        QCOMPARE(app.scalar(QStringLiteral("SELECT adi || ' ' || soyadi FROM siciltablo"))
                     .toString(),
                 QStringLiteral("Ümit Şen"));
        // F7 deletes after the questions; F3 asks to discard.
        app.dialogs.expectQuestion(Answer::Yes);
        app.dialogs.expectQuestion(Answer::No);
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F7);
        QCOMPARE(persons(app), 0);
        app.dialogs.expectQuestion(Answer::No);
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F3);
        QCOMPARE(app.dialogs.lastText(), kDrop);
        // F10 closes.
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F10);
        QVERIFY(!record->isVisible());
    }

    void helpOpensItsTopic()
    {
        App app;
        QFile::copy(QDir(QStringLiteral(LUMKAR_HELP_DIR)).filePath(QStringLiteral("yozluk")),
                    app.session().GetPathPath() + QStringLiteral("yozluk"));
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QTest::mouseClick(record->tfXPButton1, Qt::LeftButton);
        TyardimF *help = app.forms().yardimF;
        QVERIFY(help->isVisible());
        QVERIFY(help->RichEdit1->toPlainText().contains(QStringLiteral("İlk Harf Büyük Olsun")));
        help->RichEdit1->clear();
        QVERIFY(activate(record));
        QTest::keyClick(record->JvDotNetDBEdit3, Qt::Key_F1);
        QVERIFY(help->RichEdit1->toPlainText().contains(kDrop));
    }

    void opensThePersonList()
    {
        App app;
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        app.dialogs.expectNotice();
        QTest::mouseClick(record->JvXPButton2, Qt::LeftButton);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Firma kaydı mevcut değil! İsteğiniz iptal edildi!"));
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(!list->isVisible());

        addSamplePersons(app);
        // An unsaved change is asked about first; No keeps it and the list stays shut.
        record->positionOn(QStringLiteral("4"));
        typeText(record->JvDotNetDBEdit5, QStringLiteral("z"));
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(record->JvXPButton2, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QVERIFY(record->hasUnsavedModification());
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(record->JvXPButton2, Qt::LeftButton);
        QVERIFY(list->isVisible());
        QVERIFY(list->isChoosing());
        QVERIFY(list->sicrapQuery->isOpen());
        QCOMPARE(list->sicrapQuery->recordCount(), 9);
        QVERIFY(!record->hasPendingChange());
    }

    void positioningTakesTheFirstCodeBeginningWithTheText()
    {
        App app;
        addPerson(app, {QStringLiteral("10"), QStringLiteral("On"), QStringLiteral("Kişi")});
        addPerson(app, {QStringLiteral("1"), QStringLiteral("Bir"), QStringLiteral("Kişi")});
        Tozluk *record = showRecord(app);
        QVERIFY(record);
        QVERIFY(record->positionOn(QStringLiteral("1")));
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("10"));
        QVERIFY(!record->positionOn(QStringLiteral("2")));
    }
};

class MainWindowPersonTest : public QObject {
    Q_OBJECT
private slots:
    void personEntryOnAnEmptyRegister()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->CheckBox1->setChecked(true);
        QTest::mouseClick(main->JvXPBar1->findChild<QPushButton *>(QStringLiteral("N1")),
                          Qt::LeftButton);
        QVERIFY(!main->CheckBox1->isChecked());
        Tozluk *record = app.forms().ozluk;
        QVERIFY(record->isVisible());
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("1"));
        // A second call drops the new row and starts again.
        main->N1KisiGiris();
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(persons(app), 0);
    }

    void personEntryOnAnEmptyRegisterTakesTheNextFreeCode()
    {
        // No person yet, but an appointment and an account line already carry codes.
        App app;
        AppointmentRow appointment;
        appointment.day = QDate::currentDate().addDays(-3);
        appointment.sicilKodu = QStringLiteral("1");
        app.addAppointment(appointment);
        app.exec(QStringLiteral("INSERT INTO cari (sicilkodu) VALUES ('7')"));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.forms().anamenuf->N1KisiGiris();
        Tozluk *record = app.forms().ozluk;
        QCOMPARE(record->sicilTable->state(), DataSet::State::Insert);
        QCOMPARE(record->JvDotNetDBEdit2->text(), QStringLiteral("8"));
        QCOMPARE(persons(app), 0);
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void personEntryFollowsTheWaitingAppointment()
    {
        App app;
        addSamplePersons(app);
        AppointmentRow appointment;
        appointment.owner = QStringLiteral("lumkar");
        appointment.day = QDate::currentDate();
        appointment.sicilKodu = QStringLiteral("11");
        app.addAppointment(appointment);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->dayLists()->randevuTable->recordCount(), 1);
        main->N1KisiGiris();
        QCOMPARE(app.forms().ozluk->JvDotNetDBEdit3->text(), QStringLiteral("Ayşe"));
    }

    void personListOnAnEmptyRegister_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("recordShown");
        QTest::newRow("yes opens the person record") << int(Answer::Yes) << true;
        QTest::newRow("no") << int(Answer::No) << false;
        QTest::newRow("cancel") << int(Answer::Cancel) << false;
    }
    void personListOnAnEmptyRegister()
    {
        QFETCH(int, answer);
        QFETCH(bool, recordShown);
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.dialogs.expectQuestion(Answer(answer));
        QTest::mouseClick(app.forms().anamenuf->JvXPBar1->findChild<QPushButton *>(
                              QStringLiteral("N2")),
                          Qt::LeftButton);
        QCOMPARE(app.dialogs.shown().size(), 1);
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("Kişi kaydı mevcut değil! Açmak istermisiniz?"));
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Selvaron"));
        QCOMPARE(app.dialogs.lastButtons(), Buttons::YesNoCancel);
        QVERIFY(!app.forms().sicrapor->isVisible());
        QCOMPARE(app.forms().ozluk->isVisible(), recordShown);
        if (recordShown)
            QCOMPARE(app.forms().ozluk->JvDotNetDBEdit2->text(), QStringLiteral("1"));
    }

    void personListFromTheMainWindow()
    {
        App app;
        addSamplePersons(app);
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.forms().anamenuf->N2KisiListeleri();
        Tsicrapor *list = app.forms().sicrapor;
        QVERIFY(list->isVisible());
        QVERIFY(list->windowState() & Qt::WindowMaximized);
        QVERIFY(list->isChoosing());
        QCOMPARE(list->bolumgrid->model()->rowCount(), 9);
        QVERIFY(app.dialogs.shown().isEmpty());
    }
};

LUMKAR_TEST(PersonRecordTest)
LUMKAR_TEST(MainWindowPersonTest)
#include "tst_ozluk.moc"
