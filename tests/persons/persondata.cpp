#include "persondata.h"

#include "data/dataset.h"

#include <QApplication>
#include <QTest>

namespace lumkar::test {

namespace {

QVariant orNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

void addPerson(App &app, const PersonRow &p)
{
    app.exec(QStringLiteral("INSERT INTO siciltablo (sicil_kodu, adi, soyadi, tel1, tel2, ceptel, "
                            "fax, isadresi) VALUES (?,?,?,?,?,?,?,?)"),
             {orNull(p.code), orNull(p.adi), orNull(p.soyadi), orNull(p.tel1), orNull(p.tel2),
              orNull(p.ceptel), orNull(p.fax), orNull(p.adres)});
}

void addSamplePersons(App &app)
{
    const QList<PersonRow> rows = {
        {QStringLiteral("1"), QStringLiteral("Kaya"), QStringLiteral("Demir")},
        {QStringLiteral("2"), QStringLiteral("Mehmet"), QStringLiteral("Kaya")},
        {QStringLiteral("3"), QStringLiteral("Kamil"), QStringLiteral("Öztürk")},
        {QStringLiteral("4"), QStringLiteral("Ali"), QStringLiteral("Akay")},
        {QStringLiteral("5"), QStringLiteral("Ali"), QStringLiteral("Kaya")},
        {QStringLiteral("10"), QStringLiteral("İsmail"), QStringLiteral("Işık"), samplePhone(),
         {}, {}, {}, QStringLiteral("Moda Cad. 5\r\nKadıköy\r\n")},
        {QStringLiteral("11"), QStringLiteral("Ayşe"), QStringLiteral("Yılmaz"), {}, {},
         samplePhone(), QStringLiteral("(212) 555 11 22")},
        {QStringLiteral("12"), QStringLiteral("AYLİN"), QStringLiteral("Şahin")},
        {QStringLiteral("13"), QStringLiteral("Zeki"), QStringLiteral("Su"), {},
         QStringLiteral("(   )          ")},
    };
    for (const PersonRow &row : rows)
        addPerson(app, row);
}

QStringList codesShown(DataSet &dataSet)
{
    QStringList out;
    const int index = dataSet.fieldIndex(QStringLiteral("sicil_kodu"));
    for (int row = 0; row < dataSet.recordCount(); ++row)
        out << dataSet.valueAt(row, index).toString();
    return out;
}

bool activate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace lumkar::test
