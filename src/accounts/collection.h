#pragma once
// A collection ("tahsilat") as plain data: the amount rounded to kuruş, the question the user
// confirms, the person-account line and the cash or card line; and the writer that puts both
// lines into the database in one transaction.

#include "data/tablewriter.h"

#include <QDate>
#include <QSqlDatabase>

namespace lumkar {

struct CollectionEntry {
    QString sicilkodu;
    QString adi;
    QString soyadi;
    double amount = 0; // rounded to whole kuruş (roundToCents)
    QDate islemTarihi;
    QDate islemVadesi;
    QString aciklama;
    QString odemesekli; // "Nakit" or "Kredi Kartı"
    QString userCode;
    QString userName;
};

// A picker's date as the account printouts and the question write it: "dd.mm.yyyy", a year
// below 100 written with "20" before it.
QString accountDate(const QDate &day);

// The confirmation question. `rowDate` is the date of the account line under the cursor
// (null when the list is empty): the short date, with the time when it is not 00:00.
QString collectionQuestion(const CollectionEntry &entry, const QVariant &rowDate);

// The book a collection's money goes to: "kasa" for cash, "kredikart" for card.
QString collectionBook(const QString &odemesekli);

RowValues collectionAccountRow(const CollectionEntry &entry);
// The money line; `accountLine` is the `mid` of the account line it belongs to.
RowValues collectionMoneyRow(const CollectionEntry &entry, qlonglong accountLine);

struct CollectionResult {
    bool ok = false;
    qlonglong accountLine = 0;
    QString error;
    bool refused = false; // a closed day forbade it (error tells which); nothing failed
    QDate closedDay;
};
// A money line dated in a closed day is refused unless that day is `acceptedClosedDay`.
CollectionResult writeCollection(QSqlDatabase db, const CollectionEntry &entry,
                                 const QDate &acceptedClosedDay = QDate());

} // namespace lumkar
