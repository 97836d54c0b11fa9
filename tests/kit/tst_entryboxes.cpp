// The entry rules on real boxes: keys typed into amount, digits and name boxes, date and time
// boxes checked on leaving, masked texts, and Enter acting as Tab.

#include "testregistry.h"
#include "kit/entryboxes.h"
#include "kit/maskedit.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTimer>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace lumkar;

namespace {

// A window of boxes with the scripted dialogs its rules talk through.
struct Form {
    test::ScriptedDialogs dialogs;
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);

    template<typename W>
    W *add(W *widget)
    {
        layout->addWidget(widget);
        return widget;
    }
    QLineEdit *addLine() { return add(new QLineEdit); }

    // Shows the window and makes it the active one, so that focus moves as for a user.
    bool show()
    {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }
};

// Types text character by character, Turkish letters included.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pressEnter(Qt::Key key = Qt::Key_Return)
{
    QTest::keyClick(QApplication::focusWidget(), key,
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

} // namespace

class TestEntryBoxes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void amountTyping();
    void amountCaretNotAtEnd();
    void amountReadOnly();
    void amountEnterMovesOn();
    void amountReading_data();
    void amountReading();

    void maskedTexts();
    void phoneRoundTrip_data();
    void phoneRoundTrip();

    void dateCompletedOnLeaving();
    void dateRefusedKeepsFocus_data();
    void dateRefusedKeepsFocus();
    void dateCheckedBySave();
    void noCheckUnlessLeftWithinWindow_data();
    void noCheckUnlessLeftWithinWindow();
    void timeRefusedIsReset_data();
    void timeRefusedIsReset();
    void timeCompletedOnLeaving();

    void digitsOnly();
    void textFromElsewhere_data();
    void textFromElsewhere();
    void composingTextIsLeftToTheInputMethod();
    void capitalisation_data();
    void capitalisation();

    void enterAsTab();
};

void TestEntryBoxes::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void TestEntryBoxes::amountTyping()
{
    Form form;
    QLineEdit *box = form.addLine();
    attachAmountRule(box);
    QVERIFY(form.show());
    box->setFocus();

    const QStringList shown{QStringLiteral("1"),      QStringLiteral("12"),
                            QStringLiteral("123"),    QStringLiteral("1.234"),
                            QStringLiteral("12.345"), QStringLiteral("123.456"),
                            QStringLiteral("1.234.567")};
    for (int i = 0; i < shown.size(); ++i) {
        QTest::keyClick(box, char('1' + i));
        QCOMPARE(box->text(), shown.at(i));
    }
    for (const QString &after : {QStringLiteral("123.456"), QStringLiteral("12.345"),
                                 QStringLiteral("1.234")}) {
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), after);
    }
    QTest::keyClick(box, 'a');
    QCOMPARE(box->text(), QStringLiteral("1.234"));
    QTest::keyClicks(box, QStringLiteral(",56"));
    QCOMPARE(box->text(), QStringLiteral("1.234,56"));
    QTest::keyClicks(box, QStringLiteral("7,"));
    QCOMPARE(box->text(), QStringLiteral("1.234,56"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1.234,5"));
}

void TestEntryBoxes::amountCaretNotAtEnd()
{
    Form form;
    QLineEdit *box = form.addLine();
    attachAmountRule(box);
    QVERIFY(form.show());
    box->setFocus();

    box->setText(QStringLiteral("12.345"));
    box->setCursorPosition(0);
    QTest::keyClick(box, '9');
    QCOMPARE(box->text(), QStringLiteral("9123.45"));
    QCOMPARE(box->cursorPosition(), 1);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, '6');
    QCOMPARE(box->text(), QStringLiteral("9.123.456"));
}

void TestEntryBoxes::amountReadOnly()
{
    Form form;
    QLineEdit *box = form.addLine();
    attachAmountRule(box);
    box->setText(QStringLiteral("1.234"));
    box->setReadOnly(true);
    QVERIFY(form.show());
    box->setFocus();

    QTest::keyClicks(box, QStringLiteral("5,"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1.234"));
}

void TestEntryBoxes::amountEnterMovesOn()
{
    Form form;
    QLineEdit *amount = form.addLine();
    QLineEdit *next = form.addLine();
    attachAmountRule(amount);
    QVERIFY(form.show());
    amount->setFocus();
    QTest::keyClicks(amount, QStringLiteral("1234"));

    QTest::keyClick(amount, Qt::Key_Return);
    QVERIFY(next->hasFocus());
    QCOMPARE(amount->text(), QStringLiteral("1.234"));
}

void TestEntryBoxes::amountReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("grouped") << QStringLiteral("1.234,56") << true << 1234.56 << QString();
    QTest::newRow("empty") << QString() << true << 0.0 << QString();
    QTest::newRow("only a comma") << QStringLiteral(",") << false << -1.0
                                  << QStringLiteral("',' geçerli bir sayı değil.");
    QTest::newRow("lone sign") << QStringLiteral("-") << false << -1.0
                               << QStringLiteral("'-' geçerli bir sayı değil.");
}

void TestEntryBoxes::amountReading()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QFETCH(QString, message);

    Form form;
    QLineEdit *box = form.addLine();
    box->setText(text);
    if (!ok)
        form.dialogs.expectNotice();
    double read = -1;
    QCOMPARE(readAmount(box, form.dialogs, read), ok);
    QCOMPARE(read, value);
    QCOMPARE(form.dialogs.lastText(), message);
    if (!ok)
        QCOMPARE(form.dialogs.shown().last().title, QStringLiteral("Lumkar Vikelmo"));
}

void TestEntryBoxes::maskedTexts()
{
    Form form;
    MaskedEdit *date = form.add(newDateEdit());
    MaskedEdit *time = form.add(newTimeEdit());
    MaskedEdit *phone = form.add(newPhoneEdit());
    QCOMPARE(date->maskedText(), QStringLiteral("  .  .    "));
    QCOMPARE(time->maskedText(), QStringLiteral("  :  "));
    QCOMPARE(phone->maskedText(), QStringLiteral("(   )          "));
    // A plain box reads its text as it is.
    QLineEdit *plain = form.addLine();
    plain->setText(QStringLiteral(" ali "));
    QCOMPARE(maskedText(plain), QStringLiteral(" ali "));
}

void TestEntryBoxes::phoneRoundTrip_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("full number") << QStringLiteral("2125551234")
                                 << QStringLiteral("(212) 555 12 34");
    QTest::newRow("nothing typed") << QString() << QStringLiteral("(   )          ");
    QTest::newRow("half typed") << QStringLiteral("2125") << QStringLiteral("(212) 5        ");
    QTest::newRow("blank typed inside") << QStringLiteral("212 551234")
                                        << QStringLiteral("(212)  55 12 34");
}

void TestEntryBoxes::phoneRoundTrip()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    Form form;
    MaskedEdit *phone = form.add(newPhoneEdit());
    MaskedEdit *reloaded = form.add(newPhoneEdit());
    QVERIFY(form.show());
    phone->setFocus();
    phone->setCursorPosition(0);
    QTest::keyClicks(phone, typed);
    QCOMPARE(phone->maskedText(), stored);

    reloaded->setMaskedText(phone->maskedText());
    QCOMPARE(reloaded->maskedText(), stored);
}

void TestEntryBoxes::dateCompletedOnLeaving()
{
    Form form;
    MaskedEdit *date = form.add(newDateEdit());
    QLineEdit *next = form.addLine();
    attachDateRule(date, form.dialogs);
    QVERIFY(form.show());
    date->setFocus();
    date->setCursorPosition(0);

    // What the box says when it finishes editing is already the completed date.
    QStringList finished;
    connect(date, &QLineEdit::editingFinished, this,
            [&finished, date] { finished << date->maskedText(); });

    QTest::keyClicks(date, QStringLiteral("5 3 8"));
    QCOMPARE(date->maskedText(), QStringLiteral("5 .3 .8   "));
    QTest::keyClick(date, Qt::Key_Tab);
    QVERIFY(next->hasFocus());
    QCOMPARE(date->maskedText(), QStringLiteral("05.03.2008"));
    QCOMPARE(finished, QStringList{QStringLiteral("05.03.2008")});
    QVERIFY(form.dialogs.shown().isEmpty());
}

void TestEntryBoxes::dateRefusedKeepsFocus_data()
{
    QTest::addColumn<QString>("leaving");
    QTest::newRow("tab") << QStringLiteral("tab");
    QTest::newRow("enter") << QStringLiteral("enter");
    QTest::newRow("click") << QStringLiteral("click");
}

void TestEntryBoxes::dateRefusedKeepsFocus()
{
    QFETCH(QString, leaving);

    Form form;
    MaskedEdit *date = form.add(newDateEdit());
    QLineEdit *next = form.addLine();
    attachDateRule(date, form.dialogs);
    new EnterAsTab(&form.window);
    QVERIFY(form.show());
    date->setFocus();
    date->setCursorPosition(0);
    QTest::keyClicks(date, QStringLiteral("32012008"));
    QCOMPARE(date->maskedText(), QStringLiteral("32.01.2008"));

    form.dialogs.expectNotice();
    if (leaving == QLatin1String("tab"))
        QTest::keyClick(date, Qt::Key_Tab);
    else if (leaving == QLatin1String("enter"))
        pressEnter();
    else
        next->setFocus(Qt::MouseFocusReason);

    QCOMPARE(form.dialogs.shown().size(), 1);
    QCOMPARE(form.dialogs.shown().first().kind, QStringLiteral("information"));
    QCOMPARE(form.dialogs.shown().first().title, QStringLiteral("Lumkar Vikelmo"));
    QCOMPARE(form.dialogs.lastText(),
             QStringLiteral("\"32.01.2008\" tarih girişiniz uygun değil!"));
    QCOMPARE(date->maskedText(), QStringLiteral("  .  .    "));
    QVERIFY(date->hasFocus());
    QCOMPARE(QApplication::focusWidget(), date);

    // Emptied, the box lets the focus go.
    QTest::keyClick(date, Qt::Key_Tab);
    QVERIFY(next->hasFocus());
    QCOMPARE(form.dialogs.shown().size(), 1);
}

void TestEntryBoxes::dateCheckedBySave()
{
    Form form;
    MaskedEdit *date = form.add(newDateEdit());
    QLineEdit *other = form.addLine();
    QVERIFY(form.show());
    other->setFocus();

    date->setMaskedText(QStringLiteral("1 .1 .99  "));
    QVERIFY(checkDateBox(date, form.dialogs));
    QCOMPARE(date->maskedText(), QStringLiteral("01.01.2099"));
    QVERIFY(other->hasFocus());

    date->setMaskedText(QStringLiteral("  .03.2008"));
    form.dialogs.expectNotice();
    QVERIFY(!checkDateBox(date, form.dialogs));
    QCOMPARE(form.dialogs.lastText(),
             QStringLiteral("\"00.03.2008\" tarih girişiniz uygun değil!"));
    QCOMPARE(date->maskedText(), QStringLiteral("  .  .    "));
    QVERIFY(date->hasFocus());
}

void TestEntryBoxes::noCheckUnlessLeftWithinWindow_data()
{
    QTest::addColumn<QString>("going");
    QTest::newRow("another window takes over") << QStringLiteral("elsewhere");
    QTest::newRow("the window closes") << QStringLiteral("close");
    QTest::newRow("the box is hidden") << QStringLiteral("hide");
}

void TestEntryBoxes::noCheckUnlessLeftWithinWindow()
{
    QFETCH(QString, going);

    Form form;
    MaskedEdit *date = form.add(newDateEdit());
    form.addLine();
    attachDateRule(date, form.dialogs);
    QVERIFY(form.show());
    date->setFocus();
    date->setCursorPosition(0);
    QTest::keyClicks(date, QStringLiteral("32012008"));

    // Neither is a leaving of the box within its window.
    QWidget elsewhere;
    if (going == QLatin1String("close")) {
        form.window.close();
    } else if (going == QLatin1String("hide")) {
        date->hide();
    } else {
        elsewhere.show();
        elsewhere.activateWindow();
        QApplication::setActiveWindow(&elsewhere);
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    }
    QVERIFY(!date->hasFocus());
    QVERIFY(form.dialogs.shown().isEmpty());
    QCOMPARE(date->maskedText(), QStringLiteral("32.01.2008"));
}

void TestEntryBoxes::timeRefusedIsReset_data()
{
    QTest::addColumn<QString>("resetText");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("afterwards");

    QTest::newRow("planner box") << QStringLiteral("09:00") << QStringLiteral("2410")
        << QStringLiteral("\"24:10\" saat girişiniz uygun değil!") << QStringLiteral("09:00");
    QTest::newRow("entry box") << QString() << QStringLiteral("0030")
        << QStringLiteral("\"00:30\" saat girişiniz uygun değil!") << QStringLiteral("  :  ");
}

void TestEntryBoxes::timeRefusedIsReset()
{
    QFETCH(QString, resetText);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, afterwards);

    Form form;
    MaskedEdit *time = form.add(newTimeEdit());
    QLineEdit *next = form.addLine();
    attachTimeRule(time, form.dialogs, resetText);
    QVERIFY(form.show());
    time->setFocus();
    time->setCursorPosition(0);
    QTest::keyClicks(time, typed);

    form.dialogs.expectNotice();
    QTest::keyClick(time, Qt::Key_Tab);
    QCOMPARE(form.dialogs.lastText(), message);
    QCOMPARE(time->maskedText(), afterwards);
    QVERIFY(time->hasFocus());
    QVERIFY(!next->hasFocus());
}

void TestEntryBoxes::timeCompletedOnLeaving()
{
    Form form;
    MaskedEdit *time = form.add(newTimeEdit());
    QLineEdit *next = form.addLine();
    attachTimeRule(time, form.dialogs);
    QVERIFY(form.show());
    time->setFocus();
    time->setCursorPosition(0);

    QTest::keyClicks(time, QStringLiteral("9 5"));
    QTest::keyClick(time, Qt::Key_Tab);
    QCOMPARE(time->maskedText(), QStringLiteral("09:05"));
    QVERIFY(next->hasFocus());
}

void TestEntryBoxes::digitsOnly()
{
    Form form;
    QLineEdit *code = form.addLine();
    attachDigitsRule(code);
    QVERIFY(form.show());
    code->setFocus();

    QTest::keyClicks(code, QStringLiteral("12a3-,. 4"));
    QCOMPARE(code->text(), QStringLiteral("1234"));
    QTest::keyClick(code, Qt::Key_Backspace);
    QCOMPARE(code->text(), QStringLiteral("123"));
}

void TestEntryBoxes::textFromElsewhere_data()
{
    QTest::addColumn<bool>("amount"); // the amount rule, else the digits rule
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");

    QTest::newRow("amount, input method") << true << "input method" << "" << "1234" << "1.234";
    QTest::newRow("amount, input method, letters and a second mark")
        << true << "input method" << "" << "12a3,4,56" << "123,45";
    QTest::newRow("amount, input method after typing")
        << true << "input method" << "1.234" << "5x" << "12.345";
    QTest::newRow("amount, paste key") << true << "paste key" << "" << "1.234,567 TL"
                                       << "1.234,56";
    QTest::newRow("amount, menu") << true << "menu" << "" << "x9y8" << "98";
    QTest::newRow("digits, input method") << false << "input method" << "" << "1a٣2" << "12";
    QTest::newRow("digits, paste key") << false << "paste key" << "7" << "12-34\n" << "71234";
    QTest::newRow("digits, menu") << false << "menu" << "" << "5 6" << "56";
}

void TestEntryBoxes::textFromElsewhere()
{
    QFETCH(bool, amount);
    QFETCH(QString, way);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QString, after);
    Form form;
    QLineEdit *box = form.addLine();
    if (amount)
        attachAmountRule(box);
    else
        attachDigitsRule(box);
    QVERIFY(form.show());
    box->setFocus();
    box->setText(before);
    QVERIFY(!box->acceptDrops());

    if (way == QLatin1String("input method")) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(box, &commit);
    } else if (way == QLatin1String("paste key")) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        QGuiApplication::clipboard()->setText(text);
        bool pasted = false;
        // The box's own menu opens; its paste item is chosen the moment it shows.
        QTimer::singleShot(0, box, [&pasted] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
            for (QAction *action : menu->actions()) {
                if (action->text().section(QLatin1Char('\t'), 0, 0) == paste) {
                    action->trigger();
                    pasted = true;
                }
            }
            menu->close();
        });
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                    box->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(box, &menuEvent);
        QVERIFY(pasted);
    }
    QCOMPARE(box->text(), after);
}

void TestEntryBoxes::composingTextIsLeftToTheInputMethod()
{
    Form form;
    QLineEdit *box = form.addLine();
    attachAmountRule(box);
    QVERIFY(form.show());
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("123"));
    // A word still being composed is no text yet; the committed part goes through the rule.
    QInputMethodEvent composing(QStringLiteral("4"), {});
    QCoreApplication::sendEvent(box, &composing);
    QCOMPARE(box->text(), QStringLiteral("123"));
    QInputMethodEvent commit(QStringLiteral("5"), {});
    commit.setCommitString(QStringLiteral("4a"));
    QCoreApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("1.234"));
    QInputMethodEvent done;
    done.setCommitString(QStringLiteral("5"));
    QCoreApplication::sendEvent(box, &done);
    QCOMPARE(box->text(), QStringLiteral("12.345"));
}

void TestEntryBoxes::capitalisation_data()
{
    QTest::addColumn<int>("onOff"); // -1: no on/off box, 0: unticked, 1: ticked
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("dotted i") << -1 << QStringLiteral("ismail") << QStringLiteral("İsmail");
    QTest::newRow("every word") << -1 << QStringLiteral("ali veli")
                                << QStringLiteral("Ali Veli");
    QTest::newRow("Turkish letters") << -1 << QStringLiteral("ığdır şükrü çağlar")
                                     << QStringLiteral("Iğdır Şükrü Çağlar");
    QTest::newRow("ticked") << 1 << QStringLiteral("ali veli") << QStringLiteral("Ali Veli");
    QTest::newRow("unticked") << 0 << QStringLiteral("ali veli")
                              << QStringLiteral("ali veli");
}

void TestEntryBoxes::capitalisation()
{
    QFETCH(int, onOff);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    Form form;
    QLineEdit *name = form.addLine();
    QCheckBox *tick = nullptr;
    if (onOff >= 0) {
        tick = form.add(new QCheckBox);
        tick->setChecked(onOff == 1);
    }
    attachCapitalisation(name, tick);
    QVERIFY(form.show());
    name->setFocus();

    type(name, typed);
    QCOMPARE(name->text(), shown);
}

void TestEntryBoxes::enterAsTab()
{
    Form form;
    QLineEdit *first = form.addLine();
    auto *memo = form.add(new QPlainTextEdit);
    QLineEdit *second = form.addLine();
    auto *grid = form.add(new QTableWidget(2, 2));
    QLineEdit *exempted = form.addLine();
    QLineEdit *last = form.addLine();
    auto *enterAsTab = new EnterAsTab(&form.window);
    enterAsTab->exempt(exempted);
    QVERIFY(form.show());
    QSignalSpy returnPressed(first, &QLineEdit::returnPressed);

    first->setFocus();
    pressEnter();
    QVERIFY(memo->hasFocus());
    QCOMPARE(returnPressed.count(), 0);

    QTest::keyClicks(memo, QStringLiteral("ab"));
    pressEnter();
    QTest::keyClicks(memo, QStringLiteral("c"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("ab\nc"));
    QVERIFY(memo->hasFocus());

    second->setFocus();
    pressEnter(Qt::Key_Enter);
    QVERIFY(grid->hasFocus());
    pressEnter();
    QVERIFY(grid->hasFocus());

    exempted->setFocus();
    pressEnter();
    QVERIFY(exempted->hasFocus());

    last->setFocus();
    pressEnter();
    QVERIFY(!last->hasFocus());
}

LUMKAR_TEST(TestEntryBoxes)
#include "tst_entryboxes.moc"
