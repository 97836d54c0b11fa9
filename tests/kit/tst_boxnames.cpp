// Entry boxes take the names a screen reader says from the captions they sit beside, in every
// kind of layout the windows use, without a change to what a window shows; and every box a
// user meets in every window of the program has such a name.

#include "testregistry.h"

#include "fixture.h"
#include "kit/boxnames.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace lumkar;

namespace {

bool isEntryBox(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w)
        || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w);
}

// The boxes a user meets: not one hidden on purpose (an internal code), nor the line inside a
// picker, a date box or its calendar; a box in a panel hidden for now is one.
QList<QWidget *> userBoxes(QWidget *container)
{
    QList<QWidget *> boxes;
    for (QWidget *box : container->findChildren<QWidget *>()) {
        bool inner = false;
        for (QWidget *p = box->parentWidget(); p != container; p = p->parentWidget())
            inner = inner || isEntryBox(p) || qobject_cast<QCalendarWidget *>(p);
        if (isEntryBox(box) && !box->isHidden() && !inner)
            boxes << box;
    }
    return boxes;
}

// What a screen reader finds: the box's name, or a label naming it (its buddy label, or the
// title of its group when it is the only box there, as a title tells several boxes apart no
// more than the window title would).
QString spokenCaption(QWidget *box)
{
    if (!box->accessibleName().isEmpty())
        return box->accessibleName();
    const auto labels = QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
    for (const auto &[label, relation] : labels) {
        auto *group = qobject_cast<QGroupBox *>(label->object());
        if (!group || userBoxes(group).size() == 1)
            return label->text(QAccessible::Name).trimmed();
    }
    return {};
}

template<typename Box = QLineEdit> Box *box(QWidget *window, const char *name)
{
    auto *made = new Box(window);
    made->setObjectName(QLatin1String(name));
    return made;
}

QLabel *label(QWidget *window, const char *text)
{
    return new QLabel(QString::fromUtf8(text), window);
}

QHBoxLayout *row(QWidget *window, std::initializer_list<QWidget *> widgets)
{
    auto *line = new QHBoxLayout;
    for (QWidget *widget : widgets)
        line->addWidget(widget);
    if (!window->layout())
        window->setLayout(line);
    return line;
}

struct Case {
    const char *name;
    void (*build)(QWidget *w);
    QStringList captions; // "objectName=caption"; empty when nothing may name the box
};

const Case kCases[] = {
    {"form row: box and button", [](QWidget *w) {
         (new QFormLayout(w))->addRow(label(w, "Kişi Kodu"),
                                      row(w, {box(w, "code"), new QPushButton("Getir", w)}));
     }, {"code=Kişi Kodu"}},
    {"form row: two captions, two boxes", [](QWidget *w) {
         (new QFormLayout(w))->addRow(label(w, "Randevu Tarihi / R.Saati"),
                                      row(w, {box<QDateEdit>(w, "day"), box(w, "time")}));
     }, {"day=Randevu Tarihi", "time=R.Saati"}},
    {"form row: hidden code beside the picker", [](QWidget *w) {
         QComboBox *codes = box<QComboBox>(w, "codes");
         codes->setVisible(false);
         (new QFormLayout(w))->addRow(label(w, "Kime"), row(w, {box<QComboBox>(w, "names"), codes}));
     }, {"names=Kime", "codes="}},
    {"grid: beside, and under a caption across the row", [](QWidget *w) {
         auto *grid = new QGridLayout(w);
         grid->addWidget(label(w, "Kodu"), 0, 0);
         grid->addWidget(box(w, "code"), 0, 1);
         grid->addWidget(label(w, "Yedeklenecek Yer"), 1, 0, 1, 2);
         grid->addWidget(box(w, "folder"), 2, 0);
     }, {"code=Kodu", "folder=Yedeklenecek Yer"}},
    {"row: captions before a date and a text", [](QWidget *w) {
         row(w, {label(w, "Başlama"), box<QDateEdit>(w, "from"), label(w, "<b>NOTLAR</b>"),
                 box<QPlainTextEdit>(w, "notes")});
     }, {"from=Başlama", "notes=NOTLAR"}},
    {"caption with an ampersand", [](QWidget *w) {
         row(w, {label(w, "Ad & Soyad"), box(w, "name")});
     }, {"name=Ad & Soyad"}},
    {"caption beside a button, not the box after it", [](QWidget *w) {
         row(w, {label(w, "Yenile"), new QPushButton("Tamam", w), box(w, "free")});
     }, {"free="}},
    {"names and labels already given stay", [](QWidget *w) {
         QLabel *amount = label(w, "Tutar");
         amount->setBuddy(box(w, "amount"));
         QLineEdit *code = box(w, "code");
         code->setAccessibleName(QStringLiteral("Kişinin Kodu"));
         row(w, {amount, box(w, "other"), label(w, "Kodu"), code, amount->buddy()});
     }, {"amount=Tutar", "other=", "code=Kişinin Kodu"}},
};

} // namespace

class BoxNamesTest : public QObject {
    Q_OBJECT

private slots:
    void captionsNameTheirBoxes_data();
    void captionsNameTheirBoxes();
    void everyWindowNamesItsBoxes();
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
    QWidget window;
    kCases[index].build(&window);
    window.resize(480, 200);
    const QImage before = window.grab().toImage();
    nameEntryBoxes(&window);
    QCOMPARE(window.grab().toImage(), before);
    QStringList spoken;
    for (const QString &expected : kCases[index].captions) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        spoken << name + QLatin1Char('=') + spokenCaption(window.findChild<QWidget *>(name));
    }
    QCOMPARE(spoken, kCases[index].captions);
}

void BoxNamesTest::everyWindowNamesItsBoxes()
{
    test::App app;
    QVERIFY(app.login(QStringLiteral("lumkar")));
    for (QWidget *window : app.forms().windows()) {
        const QList<QWidget *> boxes = userBoxes(window);
        QVERIFY2(!boxes.isEmpty(), qPrintable(window->objectName()));
        for (QWidget *box : boxes)
            QVERIFY2(!spokenCaption(box).isEmpty(),
                qPrintable(window->objectName() + QLatin1Char('.') + box->objectName()));
    }
}

LUMKAR_TEST(BoxNamesTest)

#include "tst_boxnames.moc"
