// The package window: save with its refusals, editing, deletion, the choice for each
// requester, the price box, and the package rules on their own.

#include "fixture.h"
#include "testregistry.h"

#include "appointments/aylik.h"
#include "appointments/entrypanel.h"
#include "persons/sicilrapor.h"
#include "shell/anamenu.h"
#include "visits/packagerules.h"
#include "visits/paketler.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

namespace {

TpaketlerF *packagesAfterLogin(App &app)
{
    if (!app.login(QStringLiteral("lumkar")))
        return nullptr;
    app.forms().anamenuf->N8Paketler();
    return app.forms().paketlerF;
}

int packages(App &app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM paketler")).toInt();
}

void fill(TpaketlerF *w, const QString &code, const QString &name, const QString &price = {},
          const QString &description = {}, const QString &premium = {})
{
    w->koduEdit->setText(code);
    w->PaketAdiEdit->setText(name);
    w->islemTutariEdit->setText(price);
    w->aciklamaEdit->setText(description);
    w->primoranEdit->setText(premium);
}

} // namespace

class PackageRulesTest : public QObject {
    Q_OBJECT
private slots:
    void codeReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code"); // -1: refused
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << -1 << QStringLiteral("Kodu Girmelisiniz!");
        QTest::newRow("small") << QStringLiteral("7") << 7 << QString();
        QTest::newRow("largest") << QStringLiteral("32767") << 32767 << QString();
        QTest::newRow("too large") << QStringLiteral("32768") << -1
                                   << QStringLiteral(
                                          "Paket kodu en fazla 32767 olabilir! Paket kaydedilmedi.");
        QTest::newRow("five nines") << QStringLiteral("99999") << -1
                                    << QStringLiteral(
                                           "Paket kodu en fazla 32767 olabilir! Paket kaydedilmedi.");
    }

    void codeReading()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(QString, message);
        const PackageCodeReading reading = readPackageCode(text);
        QCOMPARE(reading.code.value_or(-1), code);
        QCOMPARE(reading.message, message);
    }

    void deleteQuestion()
    {
        QCOMPARE(packageDeleteQuestion(QStringLiteral("12"), QStringLiteral("Bakım")),
                 QStringLiteral("12 kodlu Bakım adlı \n\r paket işlemi kayıtlardan "
                                "silinecektir.\n\rDevam edilsinmi?"));
    }
};

class PackageWindowTest : public QObject {
    Q_OBJECT
private slots:
    void saveRefusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("no code") << QString() << QStringLiteral("Bakım")
                                 << QStringLiteral("Kodu Girmelisiniz!");
        QTest::newRow("short name") << QStringLiteral("1") << QStringLiteral("B")
                                    << QStringLiteral("Paket Adı Girmelisiniz!");
        QTest::newRow("too large")
            << QStringLiteral("40000") << QStringLiteral("Bakım")
            << QStringLiteral("Paket kodu en fazla 32767 olabilir! Paket kaydedilmedi.");
    }

    void saveRefusals()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        App app;
        TpaketlerF *w = packagesAfterLogin(app);
        QVERIFY(w);
        fill(w, code, name);
        app.dialogs.expectNotice();
        QTest::mouseClick(w->JvXPButton1, Qt::LeftButton);
        QCOMPARE(app.dialogs.texts(), QStringList{message});
        QCOMPARE(packages(app), 0);
    }

    void saveAddsThenChangesWhatWasLoaded()
    {
        App app;
        TpaketlerF *w = packagesAfterLogin(app);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Lumkar Vikelmo - Paketler"));
        fill(w, QStringLiteral("5"), QStringLiteral("Bakım"), QStringLiteral("150,5"),
             QStringLiteral("ayda bir"), QStringLiteral("2"));
        QVERIFY(w->JvXPButton1Click());
        // Pressed again on the package just added (the price box reformatted meanwhile),
        // "Sakla" saves nothing new.
        w->islemTutariEdit->setText(QStringLiteral("150,50"));
        QVERIFY(w->JvXPButton1Click());
        QCOMPARE(packages(app), 1);
        // Pressing "Sakla" again without "Yeni Ekle" adds a second one.
        fill(w, QStringLiteral("6"), QStringLiteral("Masaj"), QStringLiteral("0"));
        QVERIFY(w->JvXPButton1Click());
        QCOMPARE(packages(app), 2);
        QVERIFY(app.scalar(QStringLiteral("SELECT tutar FROM paketler WHERE paketkodu=6"))
                    .isNull());
        QVERIFY(app.scalar(QStringLiteral("SELECT aciklama FROM paketler WHERE paketkodu=6"))
                    .isNull());
        // "Düzelt" on the first, a price of 0 leaves its price; the description goes along.
        w->paketlerTable->first();
        w->JvXPButton3Click();
        QCOMPARE(w->islemTutariEdit->text(), QStringLiteral("150,50"));
        QCOMPARE(w->primoranEdit->text(), QStringLiteral("2,00"));
        w->PaketAdiEdit->setText(QStringLiteral("Bakım Plus"));
        w->islemTutariEdit->setText(QStringLiteral("0"));
        QVERIFY(w->JvXPButton1Click());
        QCOMPARE(packages(app), 2);
        QCOMPARE(app.scalar(QStringLiteral("SELECT paketadi FROM paketler WHERE paketkodu=5"))
                     .toString(),
                 QStringLiteral("Bakım Plus"));
        QCOMPARE(app.scalar(QStringLiteral("SELECT tutar FROM paketler WHERE paketkodu=5"))
                     .toDouble(),
                 150.5);
        // "Düzelt" on a package without a description keeps the earlier one in the box, and
        // "Sakla" writes it there.
        w->paketlerTable->last();
        w->JvXPButton3Click();
        QCOMPARE(w->aciklamaEdit->text(), QStringLiteral("ayda bir"));
        QVERIFY(w->JvXPButton1Click());
        QCOMPARE(app.scalar(QStringLiteral("SELECT aciklama FROM paketler WHERE paketkodu=6"))
                     .toString(),
                 QStringLiteral("ayda bir"));
        // "Yeni Ekle" empties every box.
        QTest::mouseClick(w->JvXPButton2, Qt::LeftButton);
        QVERIFY(w->koduEdit->text().isEmpty() && w->kayitnoEdit->text().isEmpty()
                && w->aciklamaEdit->text().isEmpty());
    }

    void priceBoxIsReformattedOnLeaving()
    {
        App app;
        TpaketlerF *w = packagesAfterLogin(app);
        QVERIFY(w);
        w->islemTutariEdit->setText(QStringLiteral("1250,5"));
        w->islemTutariEditExit();
        QCOMPARE(w->islemTutariEdit->text(), QStringLiteral("1.250,50"));
        w->islemTutariEdit->clear();
        w->islemTutariEditExit();
        QCOMPARE(w->islemTutariEdit->text(), QStringLiteral(",00"));
    }

    void deleteAsksAndLeavesAppointmentsAlone()
    {
        App app;
        app.exec(QStringLiteral("INSERT INTO paketler (paketkodu, paketadi) VALUES (3, 'Masaj')"));
        AppointmentRow row;
        row.day = QDate::currentDate();
        app.addAppointment(row);
        app.exec(QStringLiteral("UPDATE randevu SET paketkodu=3, paketadi='Masaj'"));
        TpaketlerF *w = packagesAfterLogin(app);
        QVERIFY(w);
        w->paketlerTable->first();
        app.dialogs.expectQuestion(Answer::No);
        QTest::mouseClick(w->tabloyusil, Qt::LeftButton);
        QCOMPARE(packages(app), 1);
        QCOMPARE(app.dialogs.shown().last().title, QStringLiteral("Lumkar Vikelmo - Paketler"));
        app.dialogs.expectQuestion(Answer::Yes);
        QTest::mouseClick(w->tabloyusil, Qt::LeftButton);
        QCOMPARE(packages(app), 0);
        QCOMPARE(app.scalar(QStringLiteral("SELECT paketadi FROM randevu")).toString(),
                 QStringLiteral("Masaj"));
    }

    void chooseForEachRequester_data()
    {
        QTest::addColumn<QString>("requester");
        QTest::newRow("nobody") << QString();
        QTest::newRow("entry form") << QStringLiteral("anamenu");
        QTest::newRow("planner") << QStringLiteral("aylik");
    }

    void chooseForEachRequester()
    {
        QFETCH(QString, requester);
        App app;
        app.exec(QStringLiteral("INSERT INTO paketler (paketkodu, paketadi, tutar, primoran) "
                                "VALUES (8, 'Kür', 150.5, 2)"));
        app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi) "
                                "VALUES ('1', 'Ayşe', 'Kaya')"));
        TpaketlerF *w = packagesAfterLogin(app);
        QVERIFY(w);
        EntryForm *entry = app.forms().entryForm;
        if (requester == QLatin1String("anamenu"))
            entry->packageFromCatalogue();
        else if (requester == QLatin1String("aylik"))
            app.forms().aylikF->PaketAl();
        QCOMPARE(w->isChoosing(), !requester.isEmpty());
        w->paketlerTable->first();
        QTest::mouseClick(w->secBut, Qt::LeftButton);
        const TaylikF::PickedPackage &picked = app.forms().aylikF->pickedPackage();
        if (requester.isEmpty()) {
            QVERIFY(w->isVisible());
            QVERIFY(entry->paketkoduEdit->text().isEmpty());
            QVERIFY(picked.kodu.isEmpty());
        } else if (requester == QLatin1String("anamenu")) {
            QVERIFY(!w->isVisible());
            QCOMPARE(entry->paketkoduEdit->text(), QStringLiteral("8"));
            QCOMPARE(entry->paketadiEdit->text(), QStringLiteral("Kür"));
            QCOMPARE(entry->islemTutariEdit->text(), QStringLiteral("150,50"));
            QCOMPARE(entry->primEdit->text(), QStringLiteral("2,00"));
        } else {
            QVERIFY(!w->isVisible());
            QCOMPARE(picked.kodu, QStringLiteral("8"));
            QCOMPARE(picked.tutar, QStringLiteral("150,5"));
            QCOMPARE(picked.primoran, QStringLiteral("2"));
            QVERIFY(entry->paketkoduEdit->text().isEmpty());
            QVERIFY(app.forms().sicrapor->isVisible());
            QVERIFY(app.forms().sicrapor->isChoosing());
        }
        // A choice is handed over once.
        QVERIFY(!w->isChoosing());
    }

    void doubleClickInTheEntryCodeOpensTheCatalogueForTheEntry()
    {
        App app;
        QVERIFY(app.login(QStringLiteral("lumkar")));
        EntryForm *entry = app.forms().entryForm;
        QTest::mouseDClick(entry->paketkoduEdit, Qt::LeftButton);
        QVERIFY(app.forms().paketlerF->isVisible());
        QVERIFY(app.forms().paketlerF->isChoosing());
    }
};

LUMKAR_TEST(PackageRulesTest)
LUMKAR_TEST(PackageWindowTest)
#include "tst_paketler.moc"
