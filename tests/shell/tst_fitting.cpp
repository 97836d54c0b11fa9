// Fitting the windows to the rights of the user who logs in.

#include "fixture.h"
#include "testregistry.h"

#include "accounts/ledger.h"
#include "appointments/aylik.h"
#include "appointments/dayview.h"
#include "appointments/entrypanel.h"
#include "appointments/randevu.h"
#include "notes/notespanes.h"
#include "shell/anamenu.h"
#include "visits/gorusme.h"

#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using namespace lumkar;
using namespace lumkar::test;

class FittingTest : public QObject {
    Q_OBJECT

    static Rights rights(const QString &ekle, const QString &herksesigor,
                         const QString &herkesidegistir, const QString &baskasirandevuver)
    {
        Rights r;
        r.ekle = ekle;
        r.herksesigor = herksesigor;
        r.herkesidegistir = herkesidegistir;
        r.baskasirandevuver = baskasirandevuver;
        return r;
    }

private slots:
    void addRight_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("mayAdd");
        QTest::newRow("E") << QStringLiteral("E") << true;
        QTest::newRow("H") << QStringLiteral("H") << false;
        QTest::newRow("empty") << QString() << true;
    }

    void addRight()
    {
        QFETCH(QString, flag);
        QFETCH(bool, mayAdd);
        App app;
        app.addUser(QStringLiteral("u"), QString(), QStringLiteral("Ufuk"), QStringLiteral("Er"),
                    rights(flag, QStringLiteral("E"), QStringLiteral("E"), QStringLiteral("E")));
        QVERIFY(app.login(QStringLiteral("u")));
        Tanamenuf *main = app.forms().anamenuf;
        QCOMPARE(main->entryForm()->kisiPanel->isEnabled(), mayAdd);
        QCOMPARE(main->entryForm()->randevuPanel->isEnabled(), mayAdd);
        QCOMPARE(popupMenu(main->dayLists()->JvDBUltimGrid1),
            mayAdd ? main->RandevuMenu : main->BosPopup);
        QCOMPARE(
            popupMenu(main->dayLists()->bolumgrid2), mayAdd ? main->GorusmePopup : main->BosPopup);
        QCOMPARE(popupMenu(main), mayAdd ? main->recetemenu : main->BosPopup);
        // The top pane keeps its menu whatever the right.
        QCOMPARE(popupMenu(main->topPane), main->recetemenu);
    }

    void seeEveryoneRight_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::newRow("E") << QStringLiteral("E");
        QTest::newRow("H") << QStringLiteral("H");
        QTest::newRow("empty") << QString();
    }

    void seeEveryoneRight()
    {
        QFETCH(QString, flag);
        App app;
        app.addUser(QStringLiteral("u"), QString(), QStringLiteral("Ufuk"), QStringLiteral("Er"),
                    rights(QStringLiteral("E"), flag, QStringLiteral("E"), QStringLiteral("E")));
        Forms &f = app.forms();
        // A previous user left the boxes ticked and the pickers disabled.
        for (QCheckBox *box : { static_cast<QCheckBox *>(f.anamenuf->dayLists()->CheckBox2),
                 static_cast<QCheckBox *>(f.randevuF->CheckBox2),
                 static_cast<QCheckBox *>(f.kasaF->CheckBox2),
                 static_cast<QCheckBox *>(f.kkartF->CheckBox2),
                 static_cast<QCheckBox *>(f.aylikF->CheckBox2),
                 static_cast<QCheckBox *>(f.gorusmeF->CheckBox2) })
            box->setChecked(true);
        f.randevuF->RKimeBox->setEnabled(false);
        f.randevuF->RKiminAdSoyadBox->setEnabled(false);
        QVERIFY(app.login(QStringLiteral("u")));

        const bool sees = flag == QLatin1String("E");
        const QList<QCheckBox *> boxes = { f.anamenuf->dayLists()->CheckBox2, f.randevuF->CheckBox2,
            f.kasaF->CheckBox2, f.kkartF->CheckBox2, f.aylikF->CheckBox2, f.gorusmeF->CheckBox2 };
        for (QCheckBox *box : boxes) {
            QCOMPARE(box->isVisibleTo(box->window()), sees);
            QCOMPARE(box->isChecked(), sees); // ticks are kept only for those who see them
        }
        // The owner columns follow the main window's box.
        QCOMPARE(!f.anamenuf->dayLists()->JvDBUltimGrid1->isColumnHidden(0), sees);
        QCOMPARE(!f.randevuF->JvDBUltimGrid1->isColumnHidden(0), sees);

        if (flag == QLatin1String("H")) {
            for (QComboBox *picker : {f.randevuF->RKimeBox, f.randevuF->RKiminAdSoyadBox,
                                      f.aylikF->RKimeBox, f.aylikF->RKiminAdSoyadBox,
                                      f.gorusmeF->RKimeBox, f.gorusmeF->RKiminAdSoyadBox}) {
                QVERIFY(!picker->isEnabled());
                QCOMPARE(picker->count(), 1);
            }
            QCOMPARE(f.randevuF->RKiminAdSoyadBox->currentText(), QStringLiteral("Ufuk Er"));
            // The ledgers lock the name and keep every code.
            QVERIFY(!f.kasaF->RKiminAdSoyadBox->isEnabled());
            QCOMPARE(f.kasaF->RKiminAdSoyadBox->count(), 1);
            QCOMPARE(f.kasaF->RKimeBox->count(), 2);
            QCOMPARE(f.kasaF->RKimeBox->currentText(), QStringLiteral("u"));
        } else if (sees) {
            QVERIFY(f.randevuF->RKimeBox->isEnabled());
            QCOMPARE(f.randevuF->RKimeBox->count(), 2);
            QCOMPARE(f.randevuF->RKimeBox->currentText(), QStringLiteral("u"));
            QCOMPARE(f.gorusmeF->RKiminAdSoyadBox->currentText(), QStringLiteral("Ufuk Er"));
        } else {
            // An empty flag leaves the pickers' state as it was.
            QVERIFY(!f.randevuF->RKimeBox->isEnabled());
            QCOMPARE(f.randevuF->RKimeBox->count(), 2);
        }
        // The visits window's visit-holder pickers always carry every user.
        QCOMPARE(f.gorusmeF->gorusenBox->count(), 2);
    }

    void appointmentForOthersRight_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::newRow("E") << QStringLiteral("E");
        QTest::newRow("H") << QStringLiteral("H");
        QTest::newRow("empty") << QString();
    }

    void appointmentForOthersRight()
    {
        QFETCH(QString, flag);
        App app;
        app.addUser(QStringLiteral("u"), QString(), QStringLiteral("Ufuk"), QStringLiteral("Er"),
                    rights(QStringLiteral("E"), QStringLiteral("E"), QStringLiteral("E"), flag));
        Tanamenuf *main = app.forms().anamenuf;
        // The previous user could not give appointments to others.
        main->entryForm()->RKimeBox->setEnabled(false);
        main->entryForm()->RKiminAdSoyadBox->setEnabled(false);
        QVERIFY(app.login(QStringLiteral("u")));
        if (flag == QLatin1String("H")) {
            QCOMPARE(main->entryForm()->RKimeBox->count(), 1);
            QVERIFY(!main->entryForm()->RKiminAdSoyadBox->isEnabled());
        } else {
            QCOMPARE(main->entryForm()->RKimeBox->count(), 2);
            QCOMPARE(main->entryForm()->RKiminAdSoyadBox->isEnabled(), flag == QLatin1String("E"));
        }
        QCOMPARE(main->entryForm()->RKimeBox->currentText(), QStringLiteral("u"));
        QCOMPARE(main->entryForm()->RKiminAdSoyadBox->currentText(), QStringLiteral("Ufuk Er"));
    }

    void generalNoteButtonFollowsTheRight()
    {
        App app;
        app.addUser(QStringLiteral("h"), QString(), QStringLiteral("Hale"), QStringLiteral("Su"),
                    rights(QStringLiteral("E"), QStringLiteral("E"), QStringLiteral("H"),
                           QStringLiteral("E")));
        Tanamenuf *main = app.forms().anamenuf;
        QVERIFY(app.login(QStringLiteral("h")));
        QVERIFY(!main->JvNavPanelButton11->isVisibleTo(main));
        main->N7KullaniciDegistir();
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QVERIFY(main->JvNavPanelButton11->isVisibleTo(main));
    }

    void nextLoginAppliesTheNewUser()
    {
        App app;
        app.addUser(QStringLiteral("k"), QString(), QStringLiteral("Kaan"), QStringLiteral("Ay"),
                    rights(QStringLiteral("H"), QStringLiteral("H"), QStringLiteral("H"),
                           QStringLiteral("H")));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        Tanamenuf *main = app.forms().anamenuf;
        main->N7KullaniciDegistir();
        QVERIFY(app.login(QStringLiteral("k")));
        QCOMPARE(main->adSoyadLabel->text(), QStringLiteral("Adı/Soyadı: Kaan Ay"));
        QVERIFY(!main->entryForm()->kisiPanel->isEnabled());
        QVERIFY(!main->dayLists()->CheckBox2->isVisibleTo(main));
        QCOMPARE(main->entryForm()->RKimeBox->count(), 1);
        main->N7KullaniciDegistir();
        QVERIFY(app.login(QStringLiteral("lumkar")));
        QVERIFY(main->entryForm()->kisiPanel->isEnabled());
        QVERIFY(main->dayLists()->CheckBox2->isVisibleTo(main));
        QCOMPARE(main->entryForm()->RKimeBox->count(), 2);
        QVERIFY(main->entryForm()->RKimeBox->isEnabled());
    }
};

LUMKAR_TEST(FittingTest)
#include "tst_fitting.moc"
