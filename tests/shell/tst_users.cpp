// The users window behind the master-password gate, and the help window.

#include "fixture.h"
#include "testregistry.h"

#include "shell/anamenu.h"
#include "shell/sifre.h"
#include "shell/sifreler.h"
#include "shell/yardim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <QTextBrowser>

using namespace lumkar;
using namespace lumkar::test;

namespace {

void openUsersWindow(App &app)
{
    app.forms().PasswordDlg->Password->clear();
    app.forms().PasswordDlg->masterGate();
    QVERIFY(app.forms().sifrelerF->isVisible());
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
}

int userCount(App &app)
{
    return app.scalar(QStringLiteral("SELECT count(*) FROM sifre")).toInt();
}

} // namespace

class UsersWindowTest : public QObject {
    Q_OBJECT
private slots:
    void minimisingKeepsTheTypingAndClosingDropsIt()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        QTest::mouseClick(w->JvXPButton4, Qt::LeftButton);
        typeInto(w->KKoduDBEdit, QStringLiteral("ayse"));
        w->showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(w->sifreTable->isEditing());
        QVERIFY(!app.forms().PasswordDlg->isEnabled());
        w->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(w->KKoduDBEdit->text(), QStringLiteral("ayse"));
        w->close();
        QVERIFY(!w->sifreTable->isEditing());
        QVERIFY(app.forms().PasswordDlg->isEnabled());
        QCOMPARE(userCount(app), 1);
    }

    void addedUserCanLogIn()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        QVERIFY(!app.forms().PasswordDlg->isEnabled());
        QTest::mouseClick(w->JvXPButton4, Qt::LeftButton);
        typeInto(w->KKoduDBEdit, QStringLiteral("zeynep"));
        typeInto(w->KAdiDBEdit, QStringLiteral("Zeynep"));
        typeInto(w->KSoyadiDBEdit, QStringLiteral("Öztürk"));
        typeInto(w->KSifresiDBEdit, QStringLiteral("Çiçek"));
        QTest::mouseClick(w->ekleDBCheckBox, Qt::LeftButton);
        QTest::mouseClick(w->herkesgorDBCheckBox, Qt::LeftButton);
        QTest::mouseClick(w->herkesgorDBCheckBox, Qt::LeftButton);
        QTest::mouseClick(w->JvXPButton2, Qt::LeftButton);
        QCOMPARE(userCount(app), 2);
        QCOMPARE(app.scalar(QStringLiteral("SELECT ekle || herksesigor FROM sifre WHERE "
                                           "kullanici = 'zeynep'")).toString(),
                 QStringLiteral("EH"));
        // Rights never touched stay empty.
        QVERIFY(app.scalar(QStringLiteral("SELECT degistir FROM sifre WHERE kullanici = "
                                          "'zeynep'")).isNull());
        QTest::mouseClick(w->OKBtn, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        TPasswordDlg *login = app.forms().PasswordDlg;
        QVERIFY(login->isEnabled());
        QCOMPARE(login->kullan->text(), QStringLiteral("zeynep"));
        QCOMPARE(login->Password->text(), QStringLiteral("Çiçek"));
        QTest::mouseClick(login->OKBtn, Qt::LeftButton);
        QCOMPARE(app.session().currentUser.adSoyad, QStringLiteral("Zeynep Öztürk"));
    }

    void addTwiceLeavesOneEmptyRowThatIsNeverStored()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        w->JvXPButton4Click();
        w->JvXPButton4Click();
        QCOMPARE(w->JvDBUltimGrid1->model()->rowCount(), 2); // lumkar and one new row
        w->JvXPButton2Click();
        QCOMPARE(userCount(app), 1);
        // A row typed without a user code is dropped, not stored.
        typeInto(w->KAdiDBEdit, QStringLiteral("Adsız"));
        w->JvXPButton2Click();
        QCOMPARE(userCount(app), 1);
        QVERIFY(app.dialogs.shown().isEmpty());
    }

    void addAsksBeforeDroppingTypedChanges()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        w->JvXPButton4Click();
        typeInto(w->KKoduDBEdit, QStringLiteral("mert"));
        app.dialogs.expectQuestion(Answer::No);
        w->JvXPButton4Click();
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("İşlenen bilgiler iptal edilsinmi?"));
        QCOMPARE(w->KKoduDBEdit->text(), QStringLiteral("mert"));
        app.dialogs.expectQuestion(Answer::Yes);
        w->JvXPButton4Click();
        QVERIFY(w->KKoduDBEdit->text().isEmpty());
        QCOMPARE(w->JvDBUltimGrid1->model()->rowCount(), 2);
        w->JvXPButton2Click();
        QCOMPARE(userCount(app), 1);
    }

    void deleteNeedsNoQuestionAndNobodyCanLogInAfterwards()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        w->sifreTable->first();
        w->JvXPButton3Click();
        QCOMPARE(userCount(app), 0);
        QVERIFY(app.dialogs.shown().isEmpty());
        w->OKBtnClick();
        app.dialogs.expectNotice();
        QVERIFY(!app.login(QStringLiteral("lumkar")));
        // The gate still opens the window.
        openUsersWindow(app);
    }

    void tamamAsksAboutUnsavedChanges()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        typeInto(w->KSoyadiDBEdit, QStringLiteral("Değişti"));
        app.dialogs.expectQuestion(Answer::No);
        w->OKBtnClick();
        QCOMPARE(app.dialogs.lastText(),
                 QStringLiteral("İşlenen bilgiler kayıt edilmeden çıkılsınmı?"));
        QVERIFY(w->isVisible());
        app.dialogs.expectQuestion(Answer::Yes);
        w->OKBtnClick();
        QVERIFY(!w->isVisible());
        QCOMPARE(app.scalar(QStringLiteral("SELECT soyadi FROM sifre")).toString(),
                 QStringLiteral("Yönetici"));
    }

    void masterPasswordChangesOnlyThroughItsButton()
    {
        App app;
        openUsersWindow(app);
        TsifrelerF *w = app.forms().sifrelerF;
        typeInto(w->JvDotNetDBEdit1, QStringLiteral("yeni"));
        app.dialogs.expectQuestion(Answer::No);
        w->JvXPButton1Click();
        QCOMPARE(app.dialogs.lastText(), QStringLiteral("İşlenen bilgiler kayıt edilsinmi?"));
        w->close(); // closing drops the pending change
        QCOMPARE(app.scalar(QStringLiteral("SELECT mids FROM master")).toString(), QString());

        openUsersWindow(app);
        typeInto(w->JvDotNetDBEdit1, QStringLiteral("yeni"));
        app.dialogs.expectQuestion(Answer::Yes);
        w->JvXPButton1Click();
        QCOMPARE(app.scalar(QStringLiteral("SELECT mids FROM master")).toString(),
                 QStringLiteral("yeni"));
    }

    void gridRowsAlternateByPositionAndEnterWalksTheColumns()
    {
        App app;
        app.addUser(QStringLiteral("a"), QString(), QStringLiteral("A"), QStringLiteral("B"));
        app.addUser(QStringLiteral("c"), QString(), QStringLiteral("C"), QStringLiteral("D"));
        openUsersWindow(app);
        GridView *grid = app.forms().sifrelerF->JvDBUltimGrid1;
        QAbstractItemModel *model = grid->model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->data(model->index(0, 0), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 192));
        QCOMPARE(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 255));
        QCOMPARE(model->data(model->index(2, 0), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 192));
        grid->setFocus();
        grid->setCurrentIndex(model->index(0, 8));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex(), model->index(1, 0));
        QTest::keyClick(grid, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(grid->currentIndex(), model->index(0, 8));
        // The cursor of the users table follows the grid.
        QCOMPARE(app.forms().sifrelerF->KKoduDBEdit->text(), QStringLiteral("lumkar"));
        grid->setCurrentIndex(model->index(2, 1));
        QCOMPARE(app.forms().sifrelerF->KKoduDBEdit->text(), QStringLiteral("c"));
    }
};

class HelpTest : public QObject {
    Q_OBJECT

    static void writeTopic(App &app, const QString &name, const QByteArray &text)
    {
        QFile f(app.session().GetPathPath() + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

private slots:
    void topicsLoadAndMissingFilesChangeNothing()
    {
        App app;
        TyardimF *help = app.forms().yardimF;
        QCOMPARE(help->ComboBox1->currentText(), QStringLiteral("Programa Giriş ve Şifre"));
        help->openTopic(QStringLiteral("yaylik")); // no such file yet
        QVERIFY(help->isVisible());
        QVERIFY(help->RichEdit1->toPlainText().isEmpty());

        writeTopic(app, QStringLiteral("yaylik"), "Aylık planlayıcı yardımı");
        writeTopic(app, QStringLiteral("ygiris"), "<html><body><h1>Giriş</h1></body></html>");
        help->openTopic(QStringLiteral("yaylik"));
        QCOMPARE(help->RichEdit1->toPlainText(), QStringLiteral("Aylık planlayıcı yardımı"));
        // The list still names the topic chosen last.
        QCOMPARE(help->ComboBox1->currentIndex(), 0);
        help->openTopic(QStringLiteral("yozluk"));
        QCOMPARE(help->RichEdit1->toPlainText(), QStringLiteral("Aylık planlayıcı yardımı"));

        help->ComboBox1->setCurrentIndex(0);
        help->ComboBox1Change();
        QCOMPARE(help->RichEdit1->toPlainText(), QStringLiteral("Giriş"));
        QTest::mouseClick(help->kapatBut, Qt::LeftButton);
        QVERIFY(!help->isVisible());
    }

    void olderTopicFilesInCodePageAndRtf()
    {
        App app;
        TyardimF *help = app.forms().yardimF;
        // Plain text in the Turkish code page: "Şifre değişikliği için İşlemler'e gidin."
        writeTopic(app, QStringLiteral("ygiris"),
                   "\xde" "ifre de\xf0i\xfe" "ikli\xf0i i\xe7in \xdd\xfe" "lemler'e gidin.");
        help->openTopic(QStringLiteral("ygiris"));
        QCOMPARE(help->RichEdit1->toPlainText(),
                 QStringLiteral("Şifre değişikliği için İşlemler'e gidin."));
        // A word-processor file: its text, without the font table or the formatting codes.
        writeTopic(app, QStringLiteral("yanamenu"),
                   "{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl{\\f0 Arial;}}"
                   "{\\colortbl ;\\red255\\green0\\blue0;}"
                   "{\\*\\generator Yaz\\'fdc\\'fd;}\\pard\\b Ana Men\\'fc\\b0\\par\r\n"
                   "G\\'fcnl\\'fck notlar\\tab ve \\u350?ifre \\{s\\}\\par\r\n}");
        help->openTopic(QStringLiteral("yanamenu"));
        QCOMPARE(help->RichEdit1->toPlainText(),
                 QStringLiteral("Ana Menü\nGünlük notlar\tve Şifre {s}"));
    }

    void windowsOpenTheirOwnTopic()
    {
        App app;
        writeTopic(app, QStringLiteral("yanamenu"), "Ana menü");
        writeTopic(app, QStringLiteral("ygiris"), "Giriş ekranı");
        QTest::mouseClick(app.forms().PasswordDlg->tfXPButton1, Qt::LeftButton);
        QCOMPARE(app.forms().yardimF->RichEdit1->toPlainText(), QStringLiteral("Giriş ekranı"));
        QVERIFY(app.login(QStringLiteral("lumkar")));
        app.forms().anamenuf->helpClick();
        QCOMPARE(app.forms().yardimF->RichEdit1->toPlainText(), QStringLiteral("Ana menü"));
    }

    void shippedTopicsExist()
    {
        // The eight topic files are installed beside the program; the source tree holds them.
        const QDir help(QStringLiteral(LUMKAR_HELP_DIR));
        for (const QString &topic : TyardimF::topicFiles()) {
            QFile f(help.filePath(topic));
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(topic));
            const QString text = QString::fromUtf8(f.readAll());
            QVERIFY2(text.size() > 400, qPrintable(topic));
            QVERIFY2(!text.contains(QChar::ReplacementCharacter), qPrintable(topic));
        }
    }
};

LUMKAR_TEST(UsersWindowTest)
LUMKAR_TEST(HelpTest)
#include "tst_users.moc"
