// The progress display of quick work is gone once the work has finished: nothing is left that
// its delay could show later over the message that follows.

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
    void finishedDisplayNeverShowsAgain()
    {
        QtDialogs dialogs;
        const auto progress
            = dialogs.startProgress(QStringLiteral("Yedekten geri yükleniyor..."), 9);
        QPointer<QProgressDialog> dialog;
        for (QWidget *widget : QApplication::allWidgets())
            if (auto *found = qobject_cast<QProgressDialog *>(widget))
                dialog = found;
        QVERIFY(dialog);
        dialog->cancel();
        progress->setValue(9);
        progress->finish();
        QVERIFY(dialog.isNull());
        QVERIFY(progress->wasCanceled());
    }
};

LUMKAR_TEST(ProgressDisplayTest)
#include "tst_progressdisplay.moc"
