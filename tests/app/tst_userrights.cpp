// The rights of the logged-in user as the windows fit themselves to them, and the user pickers
// filled after a login.

#include "testregistry.h"

#include "app/userrights.h"

#include <QComboBox>
#include <QTest>

using namespace lumkar;

Q_DECLARE_METATYPE(lumkar::PickerReach)

class UserRightsTest : public QObject {
    Q_OBJECT
private slots:
    // Each flag read as its own rule: only "H" forbids adding, only "E" shows everyone's, and
    // anything but "E" or "H" leaves the pickers as they were.
    void flags_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("mayAdd");
        QTest::addColumn<bool>("seesEveryone");
        QTest::addColumn<bool>("showsGeneralNotes");
        QTest::addColumn<bool>("changesOthersVisits");
        QTest::addColumn<bool>("changesClosedDays");
        QTest::addColumn<PickerReach>("reach");
        QTest::newRow("E") << "E" << true << true << true << true << true
                           << PickerReach::Everyone;
        QTest::newRow("H") << "H" << false << false << false << false << false
                           << PickerReach::OnlySelf;
        QTest::newRow("empty") << "" << true << false << false << true << false
                               << PickerReach::AsBefore;
        QTest::newRow("lower-case e") << "e" << true << false << false << true << false
                                      << PickerReach::AsBefore;
    }

    void flags()
    {
        QFETCH(QString, flag);
        const CurrentUser user{QStringLiteral("u"), QStringLiteral("Umut Ak"), flag, flag, flag,
                               flag, flag};
        const UserRights rights = UserRights::of(user);
        QTEST(rights.mayAdd, "mayAdd");
        QTEST(rights.seesEveryone, "seesEveryone");
        QTEST(rights.showsGeneralNotes, "showsGeneralNotes");
        QTEST(rights.changesOthersVisits, "changesOthersVisits");
        QTEST(rights.changesClosedDays, "changesClosedDays");
        QTEST(rights.bookingPickers, "reach");
        QTEST(rights.listPickers, "reach");
    }

    // What a pair of pickers holds after a login: the items, the user chosen, enabled or not.
    void pickers_data()
    {
        QTest::addColumn<PickerReach>("reach");
        QTest::addColumn<bool>("allCodes");
        QTest::addColumn<bool>("wasEnabled");
        QTest::addColumn<int>("names");
        QTest::addColumn<int>("codes");
        QTest::addColumn<bool>("namesEnabled");
        QTest::addColumn<bool>("codesEnabled");
        QTest::newRow("everyone") << PickerReach::Everyone << false << false << 3 << 3 << true
                                  << true;
        QTest::newRow("only self") << PickerReach::OnlySelf << false << true << 1 << 1 << false
                                   << false;
        QTest::newRow("only self, every code")
            << PickerReach::OnlySelf << true << true << 1 << 3 << false << true;
        QTest::newRow("as before, disabled")
            << PickerReach::AsBefore << false << false << 3 << 3 << false << false;
        QTest::newRow("as before, enabled")
            << PickerReach::AsBefore << false << true << 3 << 3 << true << true;
    }

    void pickers()
    {
        QFETCH(PickerReach, reach);
        QFETCH(bool, allCodes);
        QFETCH(bool, wasEnabled);
        QComboBox codes;
        QComboBox names;
        codes.setEnabled(wasEnabled);
        names.setEnabled(wasEnabled);
        fitUserPickers(&codes, &names,
                       {{"a", "ece", "z"}, {"Ali Ak", "Ece Er", "Zeki Su"}, "ece", "Ece Er"},
                       reach, allCodes);
        QTEST(int(names.count()), "names");
        QTEST(int(codes.count()), "codes");
        QTEST(names.isEnabled(), "namesEnabled");
        QTEST(codes.isEnabled(), "codesEnabled");
        QCOMPARE(codes.currentText(), QStringLiteral("ece"));
        QCOMPARE(names.currentText(), QStringLiteral("Ece Er"));
    }
};

LUMKAR_TEST(UserRightsTest)
#include "tst_userrights.moc"
