// Every entry box a user meets in every window has a caption a screen reader can say.

#include "testregistry.h"

#include "fixture.h"
#include "spokencaption.h"

#include <QTest>

using namespace lumkar;
using namespace lumkar::test;

class AccessibleNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyBoxHasACaption_data();
    void everyBoxHasACaption();

private:
    std::unique_ptr<App> m_app;
};

void AccessibleNamesTest::initTestCase()
{
    m_app = std::make_unique<App>();
    QVERIFY(m_app->login(QStringLiteral("lumkar")));
}

void AccessibleNamesTest::cleanupTestCase()
{
    m_app.reset();
}

void AccessibleNamesTest::everyBoxHasACaption_data()
{
    QTest::addColumn<QWidget *>("window");
    for (QWidget *window : m_app->forms().windows())
        QTest::newRow(qPrintable(window->objectName())) << window;
}

void AccessibleNamesTest::everyBoxHasACaption()
{
    QFETCH(QWidget *, window);
    const QList<QWidget *> boxes = userBoxes(window);
    QVERIFY(!boxes.isEmpty());
    QStringList silent;
    for (QWidget *box : boxes)
        if (spokenCaption(box).isEmpty())
            silent << QStringLiteral("%1 (%2)").arg(
                box->objectName(), box->metaObject()->className());
    QVERIFY2(silent.isEmpty(), qPrintable(silent.join(QStringLiteral(", "))));
}

LUMKAR_TEST(AccessibleNamesTest)

#include "tst_accessiblenames.moc"
