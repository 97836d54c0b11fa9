// Entry boxes take the names a screen reader says from the captions they sit beside, in every
// kind of layout a window uses, and nothing the window shows changes on the way.

#include "testregistry.h"

#include "kit/boxnames.h"
#include "spokencaption.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace lumkar;

namespace {

template<typename Box> Box *box(QWidget *window, const char *name)
{
    auto *made = new Box(window);
    made->setObjectName(QLatin1String(name));
    return made;
}

QLabel *caption(QWidget *window, const char *text)
{
    return new QLabel(QString::fromUtf8(text), window);
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *line = new QHBoxLayout;
    for (QWidget *widget : widgets)
        line->addWidget(widget);
    return line;
}

struct Case {
    const char *name;
    void (*build)(QWidget *window);
    // "objectName=caption" for each box; an empty caption: nothing names the box.
    QStringList captions;
};

const Case kCases[] = {
    { "form row of a box and a button",
        [](QWidget *w) {
            auto *form = new QFormLayout(w);
            form->addRow(caption(w, "Kişi Kodu"),
                row({ box<QLineEdit>(w, "code"), new QPushButton("Getir", w) }));
        },
        { "code=Kişi Kodu" } },
    { "form row of two boxes under two captions",
        [](QWidget *w) {
            auto *form = new QFormLayout(w);
            form->addRow(caption(w, "Randevu Tarihi / R.Saati"),
                row({ box<QDateEdit>(w, "day"), box<QLineEdit>(w, "time") }));
        },
        { "day=Randevu Tarihi", "time=R.Saati" } },
    { "form row of two boxes under one caption",
        [](QWidget *w) {
            auto *form = new QFormLayout(w);
            form->addRow(caption(w, "Telefonlar"),
                row({ box<QLineEdit>(w, "first"), box<QLineEdit>(w, "second") }));
        },
        { "first=Telefonlar", "second=Telefonlar" } },
    { "grid, box beside its caption",
        [](QWidget *w) {
            auto *grid = new QGridLayout(w);
            grid->addWidget(caption(w, "Kodu"), 0, 0);
            grid->addWidget(box<QLineEdit>(w, "code"), 0, 1);
            grid->addWidget(caption(w, "Adı"), 0, 2);
            grid->addWidget(box<QComboBox>(w, "name"), 0, 3);
            grid->addWidget(caption(w, "Notlar"), 1, 0);
            grid->addWidget(box<QPlainTextEdit>(w, "notes"), 1, 1, 2, 3);
        },
        { "code=Kodu", "name=Adı", "notes=Notlar" } },
    { "grid, box under a caption across the row",
        [](QWidget *w) {
            auto *grid = new QGridLayout(w);
            grid->addWidget(caption(w, "Otomatik Yedeklenecek Yer"), 0, 0, 1, 2);
            grid->addWidget(box<QLineEdit>(w, "folder"), 1, 0);
            grid->addWidget(new QPushButton("Seç", w), 1, 1);
        },
        { "folder=Otomatik Yedeklenecek Yer" } },
    { "row of captions and dates",
        [](QWidget *w) {
            auto *line = row({ caption(w, "Başlama Tarihi"), box<QDateEdit>(w, "from"),
                caption(w, "Bitiş Tarihi"), box<QDateEdit>(w, "to") });
            w->setLayout(line);
        },
        { "from=Başlama Tarihi", "to=Bitiş Tarihi" } },
    { "column, caption over a text",
        [](QWidget *w) {
            auto *column = new QVBoxLayout(w);
            column->addWidget(caption(w, "<b>GÜNLÜK NOTLAR</b>"));
            column->addWidget(box<QPlainTextEdit>(w, "notes"));
        },
        { "notes=GÜNLÜK NOTLAR" } },
    { "caption holding an ampersand",
        [](QWidget *w) {
            w->setLayout(row({ caption(w, "Ad & Soyad"), box<QLineEdit>(w, "name") }));
        },
        { "name=Ad & Soyad" } },
    { "a name already given stays",
        [](QWidget *w) {
            QLineEdit *code = box<QLineEdit>(w, "code");
            code->setAccessibleName(QStringLiteral("Kişinin Kodu"));
            w->setLayout(row({ caption(w, "Kodu"), code }));
        },
        { "code=Kişinin Kodu" } },
    { "a hidden code picker beside the name picker",
        [](QWidget *w) {
            QComboBox *codes = box<QComboBox>(w, "codes");
            codes->setVisible(false);
            auto *form = new QFormLayout(w);
            form->addRow(caption(w, "Randevu Kime"),
                row({ box<QComboBox>(w, "names"), codes, new QPushButton("KAYDET", w) }));
        },
        { "names=Randevu Kime", "codes=" } },
    { "a caption beside a button names no box further on",
        [](QWidget *w) {
            w->setLayout(row(
                { caption(w, "Yenile"), new QPushButton("Tamam", w), box<QLineEdit>(w, "free") }));
        },
        { "free=" } },
    { "a caption that labels a box already keeps it",
        [](QWidget *w) {
            QLabel *amount = caption(w, "Tutar");
            QLineEdit *labelled = box<QLineEdit>(w, "amount");
            amount->setBuddy(labelled);
            w->setLayout(row({ amount, box<QLineEdit>(w, "other"), labelled }));
        },
        { "amount=Tutar", "other=" } },
};

} // namespace

class BoxNamesTest : public QObject {
    Q_OBJECT

private slots:
    void captionsNameTheirBoxes_data();
    void captionsNameTheirBoxes();
};

void BoxNamesTest::captionsNameTheirBoxes_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kCases)); ++i)
        QTest::newRow(kCases[i].name) << i;
}

void BoxNamesTest::captionsNameTheirBoxes()
{
    QFETCH(int, index);
    const Case &c = kCases[index];
    QWidget window;
    c.build(&window);
    window.resize(480, 200);
    const QImage before = window.grab().toImage();

    nameEntryBoxes(&window);

    QCOMPARE(window.grab().toImage(), before);
    QStringList spoken;
    for (const QString &expected : c.captions) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        auto *boxWidget = window.findChild<QWidget *>(name);
        QVERIFY2(boxWidget, qPrintable(name));
        spoken << name + QLatin1Char('=') + test::spokenCaption(boxWidget);
    }
    QCOMPARE(spoken, c.captions);
}

LUMKAR_TEST(BoxNamesTest)

#include "tst_boxnames.moc"
