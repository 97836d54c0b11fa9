// The progress display of long work is gone once the work has finished, however quickly it
// ended: nothing is left that could show up later over the message that follows.

#include "kit/dialogs.h"
#include "testregistry.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>

using namespace lumkar;

class ProgressDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void finishedDisplayNeverShowsAgain_data()
    {
        QTest::addColumn<int>("value"); // reached before the end; -1: no step at all
        QTest::addColumn<bool>("cancel"); // the user pressed "İptal"
        QTest::newRow("refused before its first step") << -1 << false;
        QTest::newRow("cancelled halfway") << 500 << true;
        QTest::newRow("at the end of the swap") << 1000 << false;
    }

    void finishedDisplayNeverShowsAgain()
    {
        QFETCH(int, value);
        QFETCH(bool, cancel);
        QtDialogs dialogs;
        std::unique_ptr<Progress> progress
            = dialogs.startProgress(QStringLiteral("Yedekten geri yükleniyor..."), 1000);
        QPointer<QProgressDialog> dialog;
        for (QWidget *widget : QApplication::allWidgets())
            if (auto *found = qobject_cast<QProgressDialog *>(widget))
                dialog = found;
        QVERIFY(dialog);
        if (cancel)
            dialog->cancel();
        if (value >= 0)
            progress->setValue(value);
        progress->finish();
        QVERIFY(dialog.isNull());
        QCOMPARE(progress->wasCanceled(), cancel);
    }
};

LUMKAR_TEST(ProgressDisplayTest)
#include "tst_progressdisplay.moc"
