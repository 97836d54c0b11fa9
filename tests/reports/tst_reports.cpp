#include "appointments/dailyprint.h"
#include "daydata.h"
#include "fulldisk.h"
#include "reports/layouts.h"
#include "reports/listlayout.h"
#include "reports/painter.h"
#include "reports/preview.h"
#include "reports/runner.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QBuffer>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace lumkar;
using namespace lumkar::reports;
using lumkar::test::Appointment;
using lumkar::test::DayData;

namespace {

QDateTime printTime()
{
    return QDateTime(QDate(2024, 3, 5), QTime(14, 7));
}

PreparedReport run(const Report &report, const DataLinks &links)
{
    QString error;
    PreparedReport pages = prepareReport(report, links, &error, printTime());
    if (!error.isEmpty())
        qWarning("prepare: %s", qPrintable(error));
    return pages;
}

// Every item of the named cell, page after page.
QVector<const PreparedItem *> itemsNamed(const PreparedReport &report, const QString &name)
{
    QVector<const PreparedItem *> out;
    for (const PreparedPage &page : report.pages)
        out << page.itemsNamed(name);
    return out;
}

QStringList textsNamed(const PreparedReport &report, const QString &name)
{
    QStringList out;
    for (const PreparedItem *item : itemsNamed(report, name))
        out << item->text;
    return out;
}

// Shading of each row of a data band: true where the row is filled light grey.
QList<bool> shaded(const PreparedReport &report, const QString &shadeName)
{
    QList<bool> out;
    for (const PreparedItem *item : itemsNamed(report, shadeName))
        out << (item->fill == QColor(240, 240, 240));
    return out;
}

QStringList captions(const PreparedPage &page)
{
    static const QRegularExpression name(QStringLiteral("^(S\\d)?Caption\\d+$"));
    QStringList out;
    for (const PreparedItem &item : page.items)
        if (name.match(item.name).hasMatch())
            out << item.text;
    return out;
}

qreal footerTop(const PreparedPage &page)
{
    const auto footer = page.itemsNamed(QStringLiteral("Footer"));
    return footer.isEmpty() ? page.size.height() : footer.first()->rect.top();
}

Appointment appointment(const QString &adi, const QString &soyadi, QTime time)
{
    Appointment a;
    a.adi = adi;
    a.soyadi = soyadi;
    a.time = time;
    return a;
}

bool sameItems(const PreparedReport &a, const PreparedReport &b)
{
    if (a.pageCount() != b.pageCount())
        return false;
    for (int p = 0; p < a.pageCount(); ++p) {
        const auto &x = a.pages[p];
        const auto &y = b.pages[p];
        if (x.size != y.size || x.items.size() != y.items.size())
            return false;
        for (int i = 0; i < x.items.size(); ++i) {
            const PreparedItem &u = x.items[i];
            const PreparedItem &v = y.items[i];
            if (u.name != v.name || u.rect != v.rect || u.text != v.text
                || u.fontFamily != v.fontFamily || u.fontSize != v.fontSize || u.bold != v.bold
                || u.alignment != v.alignment || u.fill != v.fill || u.textColor != v.textColor
                || u.frameLines != v.frameLines || u.frameWidth != v.frameWidth)
                return false;
        }
    }
    return true;
}

QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void everyLayoutPrintsHeadingsWithoutRows_data();
    void everyLayoutPrintsHeadingsWithoutRows();
    void rowsAreNumberedShadedAndFormatted();
    void longListRepeatsHeaderAndFooterOnEveryPage();
    void codeTextsReplaceTheWholeCellLiterally();
    void dataSetCursorIsNotMoved();
    void missingDataLinkIsAnError();
    void combinedPrintoutNumbersEachListOnItsOwn();
    void printoutFollowsTheBoxAtPrintTime_data();
    void printoutFollowsTheBoxAtPrintTime();
    void longTextWrapsAndPageLongTextIsCut();
    void storedMemoLinesPrintAsTheyRead();
    void preparedPagesSaveAndLoadBack();
    void pdfAndPrinterOutputCarryTheText();
    void previewFindsSavesAndOpens();
    void dailyPrintOpensThePreview();
    void longPrintoutsShowProgress_data();
    void longPrintoutsShowProgress();
    void cancelledPreparationShowsNothing();
    void cancelledPdfExportLeavesNoFile();
    void cancelledPrintStopsAtThatPage();
};

void ReportsTest::everyLayoutPrintsHeadingsWithoutRows_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("captionTexts");

    const QString waiting = QStringLiteral("BEKLEYEN RANDEVU LİSTESİ");
    const QString held = QStringLiteral("GÖRÜŞÜLEN RANDEVU LİSTESİ");
    const QString cancelled = QStringLiteral("İPTAL EDİLEN RANDEVU LİSTESİ");
    auto split = [](const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); };
    const QStringList heldCaptions = split("SN|SAAT|ADI SOYADI|TUTARI|PAKET|TELEFONU");
    const QStringList cancelledCaptions = split("SN|SAAT|ADI SOYADI|İPTAL NEDENİ|PAKET|TUTARI");
    const QStringList ledger = split("SN|TARİH|AÇIKLAMA|TAHSİL|ÖDEME");

    QTest::newRow("anamenu 1") << "anamenu.frReport1" << false << waiting << "Memo5"
                               << split("SN|SAAT|ADI SOYADI|PAKET|TELEFONU");
    QTest::newRow("anamenu 2") << "anamenu.frReport2" << false << held << "Memo18"
                               << heldCaptions;
    QTest::newRow("anamenu 3") << "anamenu.frReport3" << false << cancelled << "Memo18"
                               << cancelledCaptions;
    QTest::newRow("anamenu 4")
        << "anamenu.frReport4" << false << waiting << "Memo45"
        << split("SN|SAAT|ADI SOYADI|PAKET ADI|TELEFONU") + heldCaptions + cancelledCaptions;
    QTest::newRow("anamenu 5")
        << "anamenu.frReport5" << true << waiting << "Memo5"
        << split("SN|SAAT|RANDEVU KİMİN|ADI SOYADI|PAKET|TUTARI|R. ALAN|TELEFONU");
    QTest::newRow("anamenu 6")
        << "anamenu.frReport6" << true << held << "Memo18"
        << split("SN|SAAT|GÖRÜŞEN|ADI SOYADI|TUTARI|PAKET|CEP TELEFONU|TELEFONU");
    QTest::newRow("anamenu 7")
        << "anamenu.frReport7" << true << waiting << "Memo45"
        << split("SN|SAAT|RANDEVU KİME|ADI SOYADI|TUTAR|PAKET|R.ALAN|TELEFONU|"
                 "SN|SAAT|GÖRÜŞEN|ADI SOYADI|TUTARI|PAKET|CEP TELEFONU|TELEFONU|"
                 "SN|SAAT|RANDEVU KİME|ADI SOYADI|İPTAL NEDENİ|PAKET|TUTARI");
    QTest::newRow("anamenu 8")
        << "anamenu.frReport8" << true << waiting << "Memo5"
        << split("SN|SAAT|R. KİMİN|ADI SOYADI|PAKET|TUTARI|R. ALAN|KİŞİ ADRESİ|TELEFONU");
    const QString list = QStringLiteral("RANDEVU LİSTESİ");
    QTest::newRow("randevu 1") << "randevu.frReport1" << false << list << "Memo5"
                               << split("TARİH|SAAT|ADI SOYADI|PAKET|TELEFONU");
    QTest::newRow("randevu 2") << "randevu.frReport2" << true << list << "Memo5"
                               << split("R.KİME|TARİH|SAAT|ADI SOYADI|PAKET|ADRESİ|TELEFONU");
    QTest::newRow("randevu 3") << "randevu.frReport3" << true << list << "Memo5"
                               << split("TARİH|SAAT|ADI SOYADI|PAKET|ADRESİ|TUTARI|TELEFONU");
    QTest::newRow("randevu 4") << "randevu.frReport4" << true << list << "Memo5"
                               << split("R.KİME|TARİH|SAAT|ADI SOYADI|PAKET|TUTARI|TELEFONU");
    QTest::newRow("cari 1") << "cari.frReport1" << false
                            << QStringLiteral("BORÇ-ALACAK HAREKET RAPORU") << "Memo5"
                            << split("SN|TARİH|PAKET-AÇIKLAMA|BORÇ|ALACAK|BAKİYE|VADESİ");
    QTest::newRow("cari 5") << "cari.frReport5" << false
                            << QStringLiteral("KİŞİLER BORÇ-ALACAK HAREKET RAPORU") << "Memo5"
                            << split("SN|TARİH|ADI SOYADI|PAKET-AÇIKLAMA|BORÇ|ALACAK|BAKİYE");
    QTest::newRow("gorusme 5")
        << "gorusme.frReport5" << true << QStringLiteral("İŞLEM YAPILAN RANDEVU LİSTESİ")
        << "Memo5"
        << split("SN|TARİH|SAAT|RANDEVU KİMİN|ADI SOYADI|PAKET - AÇIKLAMA|TUTARI|TAHSİL|"
                 "BAKİYE");
    QTest::newRow("kasa 5") << "kasa.frReport5" << false << QStringLiteral("KASA HAREKETLERİ")
                            << "Memo17" << ledger;
    QTest::newRow("kkart 5") << "kkart.frReport5" << false
                             << QStringLiteral("KREDİ KARTLARI HAREKETLERİ") << "Memo17"
                             << ledger;
    QTest::newRow("sicilrapor 1") << "sicilrapor.frReport1" << false
                                  << QStringLiteral("SİCİL KARTLARI RAPORU") << ""
                                  << split("KODU|ADI SOYADI|ADRESİ|TELEFONU");
}

void ReportsTest::everyLayoutPrintsHeadingsWithoutRows()
{
    QFETCH(QString, layout);
    QFETCH(bool, landscape);
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(QStringList, captionTexts);

    QVERIFY(layouts::names().contains(layout));
    DayData data;
    QVERIFY(data.isOpen());
    auto empty = data.waiting(true);
    QCOMPARE(empty->recordCount(), 0);
    const Report report(layouts::byName(layout));
    QVERIFY(!report.layout().isEmpty());
    const PreparedReport pages = run(report, {{layouts::waitingLink(), empty.get()},
                                              {layouts::heldLink(), empty.get()},
                                              {layouts::cancelledLink(), empty.get()}});
    QCOMPARE(pages.pageCount(), 1);
    const PreparedPage &page = pages.pages.first();
    QCOMPARE(page.isLandscape(), landscape);
    QCOMPARE(page.textOf(QStringLiteral("Memo1")), title);
    QCOMPARE(page.itemsNamed(QStringLiteral("Memo19")).size(), 1);
    QCOMPARE(page.textOf(QStringLiteral("Memo19")), QString());
    QCOMPARE(page.textOf(QStringLiteral("Memo4")), QStringLiteral("05.03.2024 14:07"));
    if (!heading.isEmpty()) {
        QCOMPARE(page.itemsNamed(heading).size(), 1);
        QCOMPARE(page.textOf(heading), QString());
    }
    QCOMPARE(captions(page), captionTexts);
    for (const PreparedItem &item : page.items) {
        if (!item.name.contains(QLatin1String("Caption")))
            continue;
        QVERIFY(item.bold);
        QCOMPARE(item.textColor, QColor(128, 0, 0));
        QCOMPARE(item.fill, QColor(Qt::white));
        QVERIFY(item.frameLines & BottomLine);
    }
    QCOMPARE(page.textOf(QStringLiteral("Footer")), QStringLiteral("Lumkar Vikelmo"));
    QCOMPARE(page.textOf(QStringLiteral("PageNumber")), QStringLiteral("Sayfa 1 / 1"));
    for (const PreparedItem &item : page.items) {
        QVERIFY2(!item.name.contains(QLatin1String("Field")), qPrintable(item.name));
        QVERIFY(item.rect.right() <= page.size.width() - 9.99);
    }
}

void ReportsTest::rowsAreNumberedShadedAndFormatted()
{
    DayData data;
    Appointment a = appointment(QStringLiteral("Ayşe"), QStringLiteral("Yılmaz"), QTime(9, 30));
    a.paket = QStringLiteral("Cilt Bakımı");
    a.tutar = 1250.0;
    a.alan = QStringLiteral("Selin Ak");
    a.telefon = QStringLiteral("(212) 555 11 22");
    a.telefon2 = QStringLiteral("(212) 555 11 23");
    a.ceptel = QStringLiteral("(532) 111 22 33");
    a.adres = QStringLiteral("Bağdat Cad. 12");
    data.add(a);
    data.add(appointment(QStringLiteral("Mehmet"), QStringLiteral("Öz"), QTime(10, 0)));
    Appointment c = appointment(QStringLiteral("Zeynep"), QStringLiteral("Kaya"), QTime(11, 15));
    c.tutar = 0.5;
    data.add(c);
    data.add(appointment(QStringLiteral("Başka"), QStringLiteral("Gün"), QTime(8, 0)),
             DayData::day().addDays(1));
    auto waiting = data.waiting(false);
    QCOMPARE(waiting->recordCount(), 3);

    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport8"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QCOMPARE(pages.pageCount(), 1);
    QCOMPARE(textsNamed(pages, QStringLiteral("Field1")), QStringList({"1", "2", "3"}));
    QCOMPARE(shaded(pages, QStringLiteral("Shade")), QList<bool>({true, false, true}));
    QCOMPARE(textsNamed(pages, QStringLiteral("Field2")),
             QStringList({"09:30", "10:00", "11:15"}));
    QCOMPARE(textsNamed(pages, QStringLiteral("Field3")).first(), QStringLiteral("Ali Veli"));
    QCOMPARE(textsNamed(pages, QStringLiteral("Field4")),
             QStringList({"Ayşe Yılmaz", "Mehmet Öz", "Zeynep Kaya"}));
    // Null fields print empty; amounts have grouping and two decimals, right-aligned.
    QCOMPARE(textsNamed(pages, QStringLiteral("Field5")), QStringList({"Cilt Bakımı", "", ""}));
    QCOMPARE(textsNamed(pages, QStringLiteral("Field6")),
             QStringList({"1.250,00", "", "0,50"}));
    QVERIFY(itemsNamed(pages, QStringLiteral("Field6")).first()->alignment & Qt::AlignRight);
    QCOMPARE(textsNamed(pages, QStringLiteral("Field7")).first(), QStringLiteral("Selin Ak"));
    QCOMPARE(textsNamed(pages, QStringLiteral("Field8")).first(),
             QStringLiteral("Bağdat Cad. 12"));
    // The telephone cell stacks the three numbers; its row grows to hold them, and every
    // cell of the row is centred vertically.
    const auto phones = itemsNamed(pages, QStringLiteral("Field9"));
    QCOMPARE(phones.first()->text,
             QStringLiteral("(212) 555 11 22\n(212) 555 11 23\n(532) 111 22 33"));
    QVERIFY(phones.first()->alignment & Qt::AlignVCenter);
    const auto rows = itemsNamed(pages, QStringLiteral("Shade"));
    QVERIFY(rows[0]->rect.height() > 3 * 4.0);
    QCOMPARE(itemsNamed(pages, QStringLiteral("Field4")).first()->rect.height(),
             rows[0]->rect.height());
    QVERIFY(rows[1]->rect.top() >= rows[0]->rect.bottom() - 0.001);
    QVERIFY(rows[2]->rect.top() >= rows[1]->rect.bottom() - 0.001);
}

void ReportsTest::longListRepeatsHeaderAndFooterOnEveryPage()
{
    DayData data;
    for (int i = 0; i < 120; ++i)
        data.add(appointment(QStringLiteral("Kişi%1").arg(i + 1), QStringLiteral("Soyad"),
                             QTime(7, 0).addSecs(60 * i)));
    auto waiting = data.waiting(false);
    QCOMPARE(waiting->recordCount(), 120);
    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport1"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QCOMPARE(pages.pageCount(), 3);
    QStringList numbers;
    for (int p = 0; p < 3; ++p) {
        const PreparedPage &page = pages.pages[p];
        QCOMPARE(captions(page), QStringList({"SN", "SAAT", "ADI SOYADI", "PAKET", "TELEFONU"}));
        QCOMPARE(page.textOf(QStringLiteral("Footer")), QStringLiteral("Lumkar Vikelmo"));
        QCOMPARE(page.textOf(QStringLiteral("PageNumber")),
                 QStringLiteral("Sayfa %1 / 3").arg(p + 1));
        QCOMPARE(page.itemsNamed(QStringLiteral("Memo1")).size(), p == 0 ? 1 : 0);
        const qreal captionBottom = page.itemsNamed(QStringLiteral("Caption1")).first()
                                        ->rect.bottom();
        for (const PreparedItem *row : page.itemsNamed(QStringLiteral("Field1"))) {
            QVERIFY(row->rect.top() >= captionBottom - 0.001);
            QVERIFY(row->rect.bottom() <= footerTop(page) + 0.001);
            numbers << row->text;
        }
    }
    QCOMPARE(numbers.size(), 120);
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(numbers[i], QString::number(i + 1));
}

void ReportsTest::codeTextsReplaceTheWholeCellLiterally()
{
    DayData data;
    data.add(appointment(QStringLiteral("Ayşe"), QStringLiteral("Yılmaz"), QTime(9, 0)));
    auto waiting = data.waiting(false);
    Report report(layouts::anamenu(QStringLiteral("frReport1")));
    const DataLinks links{{layouts::waitingLink(), waiting.get()}};
    QCOMPARE(run(report, links).pages[0].textOf(QStringLiteral("Memo5")), QString());

    report.setText(QStringLiteral("Memo5"), QStringLiteral("KISITLAMA: Ali Veli"));
    report.setText(QStringLiteral("Memo1"), QStringLiteral("[adi] [DATE]"));
    report.setUserName(QStringLiteral("Ali Veli"));
    const PreparedPage page = run(report, links).pages[0];
    QCOMPARE(page.textOf(QStringLiteral("Memo5")), QStringLiteral("KISITLAMA: Ali Veli"));
    QCOMPARE(page.textOf(QStringLiteral("Memo1")), QStringLiteral("[adi] [DATE]"));
    QCOMPARE(page.textOf(QStringLiteral("Memo19")), QStringLiteral("Ali Veli"));
    // A text set by code stays for the next printout.
    QCOMPARE(report.text(QStringLiteral("Memo5")), QStringLiteral("KISITLAMA: Ali Veli"));
    QCOMPARE(run(report, links).pages[0].textOf(QStringLiteral("Memo5")),
             QStringLiteral("KISITLAMA: Ali Veli"));
}

void ReportsTest::dataSetCursorIsNotMoved()
{
    DayData data;
    for (int i = 0; i < 3; ++i)
        data.add(appointment(QStringLiteral("K%1").arg(i), QStringLiteral("S"),
                             QTime(9, i)));
    auto waiting = data.waiting(false);
    waiting->moveTo(1);
    QSignalSpy moved(waiting.get(), &DataSet::currentChanged);
    QSignalSpy reset(waiting.get(), &DataSet::reset);
    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport1"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QCOMPARE(textsNamed(pages, QStringLiteral("Field1")).size(), 3);
    QCOMPARE(waiting->currentRow(), 1);
    QCOMPARE(moved.count(), 0);
    QCOMPARE(reset.count(), 0);
}

void ReportsTest::missingDataLinkIsAnError()
{
    QString error;
    const PreparedReport pages = prepareReport(
        Report(layouts::anamenu(QStringLiteral("frReport4"))), {}, &error);
    QVERIFY(pages.isEmpty());
    QVERIFY(error.contains(QLatin1String("frDBDataSet1")));
    QVERIFY(prepareReport(Report(layouts::anamenu(QStringLiteral("frReport9"))), {}, &error)
                .isEmpty());
    QCOMPARE(error, QStringLiteral("Rapor tasarımı bulunamadı."));
}

void ReportsTest::combinedPrintoutNumbersEachListOnItsOwn()
{
    DayData data;
    data.add(appointment(QStringLiteral("Bekleyen"), QStringLiteral("Bir"), QTime(9, 0)));
    data.add(appointment(QStringLiteral("Bekleyen"), QStringLiteral("İki"), QTime(10, 0)));
    for (int i = 0; i < 3; ++i) {
        Appointment held = appointment(QStringLiteral("Görüşülen"), QString::number(i + 1),
                                       QTime(11, i));
        held.held = true;
        held.tutar = 100.0 * (i + 1);
        // The last held appointment was cancelled later: it prints in both lists.
        held.cancelled = i == 2;
        held.iptalNedeni = i == 2 ? QStringLiteral("Hasta") : QString();
        data.add(held);
    }
    Appointment gone = appointment(QStringLiteral("İptal"), QStringLiteral("Edilen"),
                                   QTime(8, 0));
    gone.cancelled = true;
    gone.iptalNedeni = QStringLiteral("Gelmedi");
    data.add(gone);
    auto waiting = data.waiting(false);
    auto held = data.held(false);
    auto cancelled = data.cancelled(false);
    test::ScriptedDialogs dialogs;
    DailyPrint print(*waiting, *held, *cancelled, dialogs);
    const PreparedReport pages = print.prepare(
        DailyPrint::Printout::AllLists, {DayData::day(), false, QStringLiteral("Ali Veli")});
    QCOMPARE(pages.pageCount(), 1);
    const PreparedPage &page = pages.pages[0];
    QVERIFY(!page.isLandscape());
    QCOMPARE(page.textOf(QStringLiteral("Memo1")),
             QStringLiteral("05.03.2024 TARİHLİ BEKLEYEN RANDEVU LİSTESİ"));
    QCOMPARE(page.textOf(QStringLiteral("Memo30")),
             QStringLiteral("05.03.2024 TARİHLİ GÖRÜŞÜLEN RANDEVU LİSTESİ"));
    QCOMPARE(page.textOf(QStringLiteral("Memo31")),
             QStringLiteral("05.03.2024 TARİHLİ İPTAL EDİLEN RANDEVU LİSTESİ"));
    QCOMPARE(page.textOf(QStringLiteral("Memo45")), QStringLiteral("KISITLAMA: Ali Veli"));
    QCOMPARE(page.textOf(QStringLiteral("Memo19")), QStringLiteral("Ali Veli"));
    QCOMPARE(textsNamed(pages, QStringLiteral("S1Field1")), QStringList({"1", "2"}));
    QCOMPARE(textsNamed(pages, QStringLiteral("S2Field1")), QStringList({"1", "2", "3"}));
    QCOMPARE(textsNamed(pages, QStringLiteral("S3Field1")), QStringList({"1", "2"}));
    QCOMPARE(shaded(pages, QStringLiteral("S1Shade")), QList<bool>({true, false}));
    QCOMPARE(shaded(pages, QStringLiteral("S2Shade")), QList<bool>({true, false, true}));
    QCOMPARE(shaded(pages, QStringLiteral("S3Shade")), QList<bool>({true, false}));
    QCOMPARE(textsNamed(pages, QStringLiteral("S2Field4")),
             QStringList({"100,00", "200,00", "300,00"}));
    QCOMPARE(textsNamed(pages, QStringLiteral("S3Field3")),
             QStringList({"İptal Edilen", "Görüşülen 3"}));
    QCOMPARE(textsNamed(pages, QStringLiteral("S3Field4")), QStringList({"Gelmedi", "Hasta"}));
    // Each list lies under its own title.
    const qreal heldTitle = page.itemsNamed(QStringLiteral("Memo30")).first()->rect.top();
    const qreal cancelledTitle = page.itemsNamed(QStringLiteral("Memo31")).first()->rect.top();
    QVERIFY(itemsNamed(pages, QStringLiteral("S1Field1")).last()->rect.bottom() <= heldTitle);
    QVERIFY(itemsNamed(pages, QStringLiteral("S2Field1")).first()->rect.top() > heldTitle);
    QVERIFY(itemsNamed(pages, QStringLiteral("S2Field1")).last()->rect.bottom()
            <= cancelledTitle);
    QVERIFY(itemsNamed(pages, QStringLiteral("S3Field1")).first()->rect.top() > cancelledTitle);
}

void ReportsTest::printoutFollowsTheBoxAtPrintTime_data()
{
    QTest::addColumn<int>("printout");
    QTest::addColumn<bool>("allUsers");
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("titleSuffix");
    QTest::addColumn<QString>("lineCell");

    using P = DailyPrint::Printout;
    const QString waiting = QStringLiteral(" TARİHLİ BEKLEYEN RANDEVU LİSTESİ");
    const QString held = QStringLiteral(" TARİHLİ GÖRÜŞÜLEN RANDEVU LİSTESİ");
    const QString cancelled = QStringLiteral(" TARİHLİ İPTAL EDİLEN RANDEVU LİSTESİ");
    for (bool all : {false, true}) {
        const char *tag = all ? " all" : " own";
        QTest::newRow(qPrintable(QStringLiteral("waiting") + tag))
            << int(P::Waiting) << all << "frReport1" << "Memo5" << waiting << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("waiting2") + tag))
            << int(P::Waiting2) << all << "frReport5" << "Memo5" << waiting << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("waiting3") + tag))
            << int(P::Waiting3) << all << "frReport8" << "Memo5" << waiting << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("held") + tag))
            << int(P::Held) << all << "frReport2" << "Memo18" << held << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("held2") + tag))
            << int(P::Held2) << all << "frReport6" << "Memo18" << held << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("cancelled") + tag))
            << int(P::Cancelled) << all << "frReport3" << "Memo18" << cancelled << "Field1";
        QTest::newRow(qPrintable(QStringLiteral("all lists") + tag))
            << int(P::AllLists) << all << (all ? "frReport7" : "frReport4") << "Memo45"
            << waiting << "S1Field1";
    }
}

void ReportsTest::printoutFollowsTheBoxAtPrintTime()
{
    QFETCH(int, printout);
    QFETCH(bool, allUsers);
    QFETCH(QString, component);
    QFETCH(QString, heading);
    QFETCH(QString, titleSuffix);
    QFETCH(QString, lineCell);

    DayData data;
    for (const QString &owner : {QStringLiteral("ali"), QStringLiteral("veli")}) {
        for (int kind = 0; kind < 3; ++kind) {
            Appointment a = appointment(owner, QString::number(kind), QTime(9 + kind, 0));
            a.owner = owner;
            a.held = kind == 1;
            a.cancelled = kind == 2;
            data.add(a);
        }
    }
    // The lists were opened for the user alone; the box was ticked afterwards by keyboard,
    // which does not reopen them.
    auto waiting = data.waiting(false);
    auto held = data.held(false);
    auto cancelled = data.cancelled(false);
    test::ScriptedDialogs dialogs;
    DailyPrint print(*waiting, *held, *cancelled, dialogs);
    const auto which = DailyPrint::Printout(printout);
    QCOMPARE(DailyPrint::component(which, allUsers), component);
    const PreparedReport pages = print.prepare(
        which, {DayData::day(), allUsers, QStringLiteral("Ali Veli")});
    QCOMPARE(pages.pageCount(), 1);
    const PreparedPage &page = pages.pages[0];
    QCOMPARE(page.textOf(heading), allUsers ? QStringLiteral("KISITLAMA: TÜM KULLANICILAR")
                                            : QStringLiteral("KISITLAMA: Ali Veli"));
    QCOMPARE(page.textOf(QStringLiteral("Memo1")), QStringLiteral("05.03.2024") + titleSuffix);
    QCOMPARE(page.textOf(QStringLiteral("Memo19")), QStringLiteral("Ali Veli"));
    const QStringList landscape{"frReport5", "frReport6", "frReport7", "frReport8"};
    QCOMPARE(page.isLandscape(), landscape.contains(component));
    // Only the rows the list shows: the user's own.
    QCOMPARE(textsNamed(pages, lineCell), QStringList({"1"}));
    QCOMPARE(print.report(component).text(heading), page.textOf(heading));
}

void ReportsTest::longTextWrapsAndPageLongTextIsCut()
{
    DayData data;
    const QString address = QStringLiteral(
        "Atatürk Mahallesi Cumhuriyet Caddesi Gül Sokak No: 12 Daire: 4 Kat: 2 "
        "Kadıköy İstanbul Türkiye, girişte kapıcıya sorunuz");
    QStringList words;
    for (int i = 0; i < 700; ++i)
        words << QStringLiteral("uzun%1 adres").arg(i);
    const QString pageLong = words.join(QLatin1Char(' '));
    data.addPerson(QStringLiteral("001"), QStringLiteral("Kısa"), QStringLiteral("Adres"),
                   QStringLiteral("Moda"), QStringLiteral("111"));
    data.addPerson(QStringLiteral("002"), QStringLiteral("Uzun"), QStringLiteral("Adres"),
                   address, QStringLiteral("222"));
    data.addPerson(QStringLiteral("003"), QStringLiteral("Sayfa"), QStringLiteral("Aşan"),
                   pageLong, QStringLiteral("333"));
    data.addPerson(QStringLiteral("004"), QStringLiteral("Sonraki"), QStringLiteral("Kişi"),
                   QVariant(), QStringLiteral("444"));
    auto persons = data.persons();
    QCOMPARE(persons->recordCount(), 4);
    const PreparedReport pages = run(Report(layouts::sicilrapor(QStringLiteral("frReport1"))),
                                     {{layouts::singleLink(), persons.get()}});
    QVERIFY(pages.pageCount() >= 3);

    const auto addresses = itemsNamed(pages, QStringLiteral("Field3"));
    const auto names = itemsNamed(pages, QStringLiteral("Field2"));
    // The long address wraps over several lines and its row grows; nothing is lost.
    QVERIFY(addresses[1]->text.count(QLatin1Char('\n')) >= 1);
    QCOMPARE(QString(addresses[1]->text).replace(QLatin1Char('\n'), QLatin1Char(' ')), address);
    QVERIFY(names[1]->rect.height() > 5.5);
    QVERIFY(names[1]->rect.bottom() <= footerTop(pages.pages[0]));
    // The row taller than a page starts on a new page and is cut at every page end.
    QCOMPARE(pages.pages[0].itemsNamed(QStringLiteral("Field2")).size(), 2);
    QCOMPARE(pages.pages[1].textOf(QStringLiteral("Field2")), QStringLiteral("Sayfa Aşan"));
    // The address longer than a page runs over the following pages, every word printed once.
    QStringList pieces;
    for (int i = 2; i < addresses.size() - 1; ++i)
        pieces << addresses[i]->text;
    QCOMPARE(pieces.size(), pages.pageCount() - 1);
    QCOMPARE(pieces.join(QLatin1Char('\n')).replace(QLatin1Char('\n'), QLatin1Char(' ')),
             pageLong);
    // The person after it still prints, under the last piece, with an empty address cell.
    const PreparedPage &last = pages.pages.last();
    QCOMPARE(names.last()->text, QStringLiteral("Sonraki Kişi"));
    QCOMPARE(last.itemsNamed(QStringLiteral("Field2")).size(), 2);
    QVERIFY(names.last()->rect.top() >= addresses[addresses.size() - 2]->rect.bottom() - 0.001);
    QCOMPARE(addresses.last()->text, QString());
    QCOMPARE(textsNamed(pages, QStringLiteral("Field4")).last(), QStringLiteral("444"));
    for (int p = 0; p < pages.pageCount(); ++p) {
        const PreparedPage &page = pages.pages[p];
        QCOMPARE(page.textOf(QStringLiteral("PageNumber")),
                 QStringLiteral("Sayfa %1 / %2").arg(p + 1).arg(pages.pageCount()));
        for (const PreparedItem &item : page.items)
            if (item.name.startsWith(QLatin1String("Field"))
                || item.name == QLatin1String("Shade"))
                QVERIFY2(item.rect.bottom() <= footerTop(page) + 0.001, qPrintable(item.name));
    }
}

void ReportsTest::storedMemoLinesPrintAsTheyRead()
{
    // An address as the person record stores it (CR LF after every line) prints the same
    // lines, no stray CR and no empty line under it, as the text typed with plain breaks.
    DayData data;
    data.addPerson(QStringLiteral("001"), QStringLiteral("Kayıtlı"), QStringLiteral("Adres"),
                   QStringLiteral("Moda Cad. 5\r\nKadıköy\r\n"), QStringLiteral("111"));
    data.addPerson(QStringLiteral("002"), QStringLiteral("Düz"), QStringLiteral("Adres"),
                   QStringLiteral("Moda Cad. 5\nKadıköy"), QStringLiteral("222"));
    auto persons = data.persons();
    const PreparedReport pages = run(Report(layouts::sicilrapor(QStringLiteral("frReport1"))),
                                     {{layouts::singleLink(), persons.get()}});
    const auto addresses = itemsNamed(pages, QStringLiteral("Field3"));
    QCOMPARE(addresses.size(), 2);
    QCOMPARE(addresses[0]->text, QStringLiteral("Moda Cad. 5\nKadıköy"));
    QCOMPARE(addresses[1]->text, addresses[0]->text);
    QCOMPARE(addresses[0]->rect.height(), addresses[1]->rect.height());
}

void ReportsTest::preparedPagesSaveAndLoadBack()
{
    DayData data;
    for (int i = 0; i < 60; ++i) {
        Appointment a = appointment(QStringLiteral("Kişi%1").arg(i), QStringLiteral("Şahin"),
                                    QTime(8, 0).addSecs(300 * i));
        a.tutar = 10.25 * i;
        data.add(a);
    }
    auto waiting = data.waiting(false);
    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport5"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QVERIFY(pages.pageCount() >= 2);

    const QString path = data.folder() + QStringLiteral("/gun.lrp");
    QVERIFY(savePrepared(pages, path));
    PreparedReport loaded;
    QVERIFY(loadPrepared(loaded, path));
    QVERIFY(sameItems(pages, loaded));
    QCOMPARE(loaded.rows, 60);

    // Saved again on a full disk: refused, and the file saved before still loads whole.
    {
        test::FullDisk full;
        QVERIFY(!savePrepared(PreparedReport(), path));
    }
    QVERIFY(loadPrepared(loaded, path));
    QVERIFY(sameItems(pages, loaded));

    // A file that is not a saved report, or one cut short, is refused and changes nothing.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QVERIFY(savePrepared(pages, buffer));
    QByteArray cut = buffer.data().left(buffer.data().size() / 2);
    QBuffer shortFile(&cut);
    shortFile.open(QIODevice::ReadOnly);
    QVERIFY(!loadPrepared(loaded, shortFile));
    QByteArray other("%PDF-1.4 not a report");
    QBuffer pdf(&other);
    pdf.open(QIODevice::ReadOnly);
    QVERIFY(!loadPrepared(loaded, pdf));
    QVERIFY(sameItems(pages, loaded));

    // A file of the first format (version 1, no row count after the page count) still loads.
    QByteArray first = buffer.data();
    first.remove(10, 4);
    first[5] = 1;
    QBuffer firstFile(&first);
    firstFile.open(QIODevice::ReadOnly);
    QVERIFY(loadPrepared(loaded, firstFile));
    QVERIFY(sameItems(pages, loaded));
    QCOMPARE(loaded.rows, 0);
}

void ReportsTest::pdfAndPrinterOutputCarryTheText()
{
    DayData data;
    data.add(appointment(QStringLiteral("Ayşe"), QStringLiteral("Yılmaz"), QTime(9, 30)));
    auto waiting = data.waiting(false);
    Report report(layouts::anamenu(QStringLiteral("frReport1")));
    report.setText(QStringLiteral("Memo1"),
                   QStringLiteral("05.03.2024 TARİHLİ BEKLEYEN RANDEVU LİSTESİ"));
    const PreparedReport pages = run(report, {{layouts::waitingLink(), waiting.get()}});

    const QString exported = data.folder() + QStringLiteral("/liste.pdf");
    QCOMPARE(exportPdf(pages, exported, DailyPrint::previewTitle()), PaintOutcome::Done);
    const QString printed = data.folder() + QStringLiteral("/yazici.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    printer.setPageSize(QPageSize(QPageSize::Letter)); // a printer set to another paper
    QCOMPARE(printReport(pages, printer), PaintOutcome::Done);
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(exportPdf(pages, data.folder() + QStringLiteral("/yok/liste.pdf")),
             PaintOutcome::Failed);

    for (const QString &path : {exported, printed}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        QVERIFY(file.size() > 1000);
        const QString text = pdfText(path);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            continue;
        QVERIFY2(text.contains(QStringLiteral("TARİHLİ BEKLEYEN RANDEVU LİSTESİ")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Ayşe Yılmaz")));
        QVERIFY(text.contains(QLatin1String("Sayfa 1 / 1")));
    }
}

void ReportsTest::previewFindsSavesAndOpens()
{
    DayData data;
    for (int i = 0; i < 120; ++i)
        data.add(appointment(i == 110 ? QStringLiteral("Zeynep") : QStringLiteral("Kişi"),
                             QStringLiteral("Soyad%1").arg(i), QTime(7, 0).addSecs(60 * i)));
    auto waiting = data.waiting(false);
    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport1"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QCOMPARE(pages.pageCount(), 3);

    test::ScriptedDialogs dialogs;
    ReportPreview preview(dialogs);
    preview.setWindowTitle(DailyPrint::previewTitle());
    preview.setReport(pages);
    preview.show();
    auto *pageLabel = preview.findChild<QLabel *>(QStringLiteral("pageLabel"));
    QVERIFY(pageLabel);
    QCOMPARE(pageLabel->text(), QStringLiteral("Sayfa 1 / 3"));
    preview.findChild<QAction *>(QStringLiteral("nextPageAction"))->trigger();
    QCOMPARE(preview.pageIndex(), 1);
    QCOMPARE(pageLabel->text(), QStringLiteral("Sayfa 2 / 3"));

    // Find: Turkish letter case is ignored; the page of the hit is shown.
    dialogs.expectInput(true, QStringLiteral("ZEYNEP"));
    preview.findChild<QAction *>(QStringLiteral("findAction"))->trigger();
    QCOMPARE(preview.pageIndex(), 2);
    QCOMPARE(pages.pages[2].items[preview.currentHit().item].text,
             QStringLiteral("Zeynep Soyad110"));
    dialogs.expectInput(true, QStringLiteral("bulunmayan metin"));
    dialogs.expectNotice();
    QVERIFY(!preview.find());
    QCOMPARE(dialogs.shown().last().kind, QStringLiteral("information"));
    QCOMPARE(dialogs.lastText(), QStringLiteral("\"bulunmayan metin\" bulunamadı."));
    QCOMPARE(preview.pageIndex(), 2);

    // Save as prepared pages and as PDF (the extension decides), then open the saved pages.
    const QString saved = data.folder() + QStringLiteral("/gunluk.lrp");
    dialogs.expectFile(saved);
    QVERIFY(preview.saveAs());
    dialogs.expectFile(data.folder() + QStringLiteral("/gunluk"));
    QVERIFY(preview.saveAs());
    QVERIFY(QFile::exists(data.folder() + QStringLiteral("/gunluk.pdf")));
    preview.setReport({});
    QCOMPARE(pageLabel->text(), QStringLiteral("Sayfa yok"));
    dialogs.expectFile(saved);
    preview.findChild<QAction *>(QStringLiteral("openAction"))->trigger();
    QVERIFY(sameItems(preview.report(), pages));
    QCOMPARE(pageLabel->text(), QStringLiteral("Sayfa 1 / 3"));
    // A file that is not a saved report: an error, the pages stay.
    dialogs.expectFile(data.folder() + QStringLiteral("/gunluk.pdf"));
    dialogs.expectNotice();
    QVERIFY(!preview.openFile());
    QCOMPARE(dialogs.shown().last().kind, QStringLiteral("error"));
    QCOMPARE(preview.report().pageCount(), 3);

    const qreal zoom = preview.zoom();
    preview.zoomIn();
    QVERIFY(preview.zoom() > zoom);
    QVERIFY(dialogs.allConsumed());
}

void ReportsTest::dailyPrintOpensThePreview()
{
    DayData data;
    data.add(appointment(QStringLiteral("Ayşe"), QStringLiteral("Yılmaz"), QTime(9, 30)));
    auto waiting = data.waiting(true);
    auto held = data.held(true);
    auto cancelled = data.cancelled(true);
    test::ScriptedDialogs dialogs;
    QWidget window;
    DailyPrint print(*waiting, *held, *cancelled, dialogs, &window);
    QPointer<ReportPreview> preview = print.printAllLists(
        {DayData::day(), true, QStringLiteral("Ali Veli")});
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QStringLiteral("Lumkar Rapor Önizleme - Günlük Randevular"));
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->report().pages[0].textOf(QStringLiteral("Memo45")),
             QStringLiteral("KISITLAMA: TÜM KULLANICILAR"));
    QCOMPARE(textsNamed(preview->report(), QStringLiteral("S1Field3")),
             QStringList({"Ali Veli"}));
    preview->findChild<QAction *>(QStringLiteral("closeAction"))->trigger();
    QTRY_VERIFY(preview.isNull());
    QVERIFY(dialogs.shown().isEmpty());
}

namespace {

// A day of `count` waiting appointments, written in one transaction.
void addWaiting(DayData &data, int count)
{
    data.db().transaction();
    for (int i = 0; i < count; ++i)
        data.add(appointment(QStringLiteral("Kişi%1").arg(i + 1), QStringLiteral("Soyad"),
                             QTime(7, 0).addSecs(30 * i)));
    data.db().commit();
}

} // namespace

void ReportsTest::longPrintoutsShowProgress_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("shown");
    QTest::newRow("50 rows") << 50 << false;
    QTest::newRow("300 rows") << 300 << false;
    QTest::newRow("301 rows") << 301 << true;
    QTest::newRow("1,000 rows") << 1000 << true;
}

void ReportsTest::longPrintoutsShowProgress()
{
    QFETCH(int, rows);
    QFETCH(bool, shown);
    DayData data;
    addWaiting(data, rows);
    auto waiting = data.waiting(true);
    auto held = data.held(true);
    auto cancelled = data.cancelled(true);
    test::ScriptedDialogs dialogs;
    QWidget window;
    DailyPrint print(*waiting, *held, *cancelled, dialogs, &window);
    QPointer<ReportPreview> preview = print.printWaiting({DayData::day(), true, QString()});
    QVERIFY(preview);
    QCOMPARE(itemsNamed(preview->report(), QStringLiteral("Field1")).size(), rows);
    QCOMPARE(preview->report().rows, rows);
    QCOMPARE(dialogs.progress().size(), shown ? 1 : 0);
    if (shown) {
        const test::ShownProgress &progress = dialogs.progress().first();
        QCOMPARE(progress.maximum, rows);
        QCOMPARE(progress.values.last(), rows);
        QVERIFY(std::is_sorted(progress.values.begin(), progress.values.end()));
        QVERIFY(progress.finished);
    }

    // Its PDF export reports page by page, the short one not at all.
    const QString path = data.folder() + QStringLiteral("/liste.pdf");
    dialogs.expectFile(path);
    QVERIFY(preview->saveAs());
    QVERIFY(QFileInfo(path).size() > 0);
    QCOMPARE(dialogs.progress().size(), shown ? 2 : 0);
    if (shown) {
        const test::ShownProgress &progress = dialogs.progress().last();
        QCOMPARE(progress.maximum, preview->report().pageCount());
        QCOMPARE(progress.values.last(), preview->report().pageCount());
    }

    // Saved as prepared pages and loaded into another preview, it reports as it did.
    const QString saved = data.folder() + QStringLiteral("/liste.lrp");
    dialogs.expectFile(saved);
    QVERIFY(preview->saveAs());
    preview->close();
    ReportPreview reloaded(dialogs);
    dialogs.expectFile(saved);
    QVERIFY(reloaded.openFile());
    dialogs.expectFile(path);
    QVERIFY(reloaded.saveAs());
    QCOMPARE(dialogs.progress().size(), shown ? 3 : 0);
    if (shown)
        QCOMPARE(dialogs.progress().last().values.last(), reloaded.report().pageCount());
    QVERIFY(dialogs.allConsumed());
}

void ReportsTest::cancelledPreparationShowsNothing()
{
    DayData data;
    addWaiting(data, 1000);
    auto waiting = data.waiting(true);
    auto held = data.held(true);
    auto cancelled = data.cancelled(true);
    test::ScriptedDialogs dialogs;
    dialogs.cancelProgressAt(400);
    QWidget window;
    DailyPrint print(*waiting, *held, *cancelled, dialogs, &window);
    QVERIFY(!print.printWaiting({DayData::day(), true, QString()}));
    QVERIFY(dialogs.shown().isEmpty()); // no error: the user stopped it
    QCOMPARE(dialogs.progress().size(), 1);
    QVERIFY(dialogs.progress().first().canceled);
    QCOMPARE(dialogs.progress().first().values.last(), 400);
    QVERIFY(window.findChildren<ReportPreview *>().isEmpty());
}

void ReportsTest::cancelledPdfExportLeavesNoFile()
{
    DayData data;
    addWaiting(data, 1000);
    auto waiting = data.waiting(false);
    PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport1"))),
                               {{layouts::waitingLink(), waiting.get()}});
    QVERIFY(pages.pageCount() > 5);
    test::ScriptedDialogs dialogs;
    ReportPreview preview(dialogs);
    preview.setReport(pages);

    const QString fresh = data.folder() + QStringLiteral("/yeni.pdf");
    dialogs.expectFile(fresh);
    dialogs.cancelProgressAt(3);
    QVERIFY(!preview.saveAs());
    QVERIFY(!QFile::exists(fresh));
    QVERIFY(dialogs.progress().last().canceled);

    // An older file of that name stays as it was.
    const QString older = data.folder() + QStringLiteral("/eski.pdf");
    {
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("önceki dosya");
    }
    dialogs.expectFile(older);
    dialogs.cancelProgressAt(2);
    QVERIFY(!preview.saveAs());
    QFile file(older);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("önceki dosya"));
    QCOMPARE(QDir(data.folder()).entryList({QStringLiteral("*.pdf*")}, QDir::Files),
             QStringList{QStringLiteral("eski.pdf")});
    QVERIFY(dialogs.shown().size() == 2); // the two save dialogs, no error
    QVERIFY(dialogs.allConsumed());
}

void ReportsTest::cancelledPrintStopsAtThatPage()
{
    DayData data;
    addWaiting(data, 400);
    auto waiting = data.waiting(false);
    const PreparedReport pages = run(Report(layouts::anamenu(QStringLiteral("frReport1"))),
                                     {{layouts::waitingLink(), waiting.get()}});
    QVERIFY(pages.pageCount() > 3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(data.folder() + QStringLiteral("/yazici.pdf"));
    QVector<int> drawn;
    const PaintOutcome outcome = printReport(pages, printer, [&](int done, int total) {
        drawn << done;
        return !(done == 2 && total == pages.pageCount());
    });
    QCOMPARE(outcome, PaintOutcome::Stopped);
    QCOMPARE(drawn, QVector<int>({1, 2}));
}

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
