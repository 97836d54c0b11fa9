#pragma once
// Persons for the register's tests: one row helper and a fixed sample of names and phones.

#include "fixture.h"

#include <QStringList>

namespace lumkar {
class DataSet;
}

namespace lumkar::test {

struct PersonRow {
    QString code;
    QString adi;
    QString soyadi;
    QString tel1 = QString();
    QString tel2 = QString();
    QString ceptel = QString();
    QString fax = QString();
    QString adres = QString();
};

void addPerson(App &app, const PersonRow &person);

// Codes 1-5, 10-13: Kaya Demir, Mehmet Kaya, Kamil Öztürk, Ali Akay, Ali Kaya, İsmail Işık,
// Ayşe Yılmaz, AYLİN Şahin, Zeki Su. The phone "(532) 123 45 67" is İsmail's tel1 and Ayşe's
// mobile; Zeki's tel2 holds the empty mask text.
void addSamplePersons(App &app);

// The person codes a data set shows, in its order.
QStringList codesShown(DataSet &dataSet);

// Shows a window and makes it the active one, so that focus and shortcut keys work.
bool activate(QWidget *window);

inline QString samplePhone() { return QStringLiteral("(532) 123 45 67"); }

} // namespace lumkar::test
