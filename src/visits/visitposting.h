#pragma once
// What saving and deleting a visit writes, as plain data: the visit row, the person-account
// line, the cash or card line and the appointment's link, computed from what the entry area
// holds; and the writers that put them into the database in one transaction.

#include "data/tablewriter.h"

#include <QDate>
#include <QSqlDatabase>
#include <QTime>

namespace lumkar {

inline QString cashPayment() { return QStringLiteral("Nakit"); }
inline QString cardPayment() { return QStringLiteral("Kredi Kartı"); }
inline QString visitAccountText()
{
    return QStringLiteral("Yapılan işe istinaden borç/alacak.");
}

// The entry area of the visits window, read and checked.
struct VisitEntry {
    qlonglong changing = 0; // the visit's number when it is being changed, else 0
    QString sicilkodu;
    QString adi;
    QString soyadi;
    QDate tarih;
    QTime saat;
    QDate vade; // invalid when no due date was typed
    QString netice; // stored form: every line followed by CR LF
    QString adresi;
    double islemBorcu = 0;
    double tahsiledilen = 0;
    QVariant randevuno; // the appointment's number, null when the box is empty
    QString randevuyualan;
    QString rkime;          // user code of who held the visit
    QString gorusenAdSoyad; // that user's full name
    QVariant paketkodu;     // null when the visit has no package
    QString paketadi;
    double paketprim = 0;
    QString odemesekli; // cashPayment() or cardPayment()
    // When changing: the visit row as the form read it (visitRow's columns). The save writes
    // only while the row still holds it.
    RowValues asRead;
};

// The rows of one visit save. The ledger lines carry the visit's number, known only once the
// visit is stored: visitLines() takes it.
RowValues visitRow(const VisitEntry &entry);

// What the save refuses before it asks: no person, no date (or one before 1905), no time, no
// "Görüşen" (the boxes as the completion rules left them). Empty when the visit may be saved.
QString visitRefusal(const QString &personCode, const QString &dateText, const QString &timeText,
                     const QString &heldBy);

struct VisitLines {
    QString moneyTable; // "kasa", "kredikart", or empty: nothing was collected
    RowValues money;
    RowValues account;     // the `cari` line, written for every visit
    RowValues appointment; // the appointment's link and user
};
VisitLines visitLines(const VisitEntry &entry, qlonglong visitNumber);


// What deleting a visit writes: the appointment link emptied (where it names the visit), then
// the cash, card and account lines of the visit, then the visit.
struct RowDeletion {
    QString table;
    QString column;
    QVariant value;
};
struct VisitRemoval {
    QVariant appointment; // the `rid` whose `gorusmekodu` is emptied; null when none
    QVector<RowDeletion> deletions;
};
VisitRemoval visitRemoval(qlonglong visitNumber, const QVariant &randevuno);

struct WriteResult {
    bool ok = false;
    qlonglong visitNumber = 0;
    QString error; // Turkish, with the database's cause
    bool refused = false; // the data forbade the save (error tells why); nothing failed
    QDate closedDay;      // the closed day that forbade it, when one did
    // Another desk changed the visit since it was read: its row as stored now (visitRow's
    // columns), which the form takes as read so that a second save writes the typing.
    RowValues storedNow;
    // The row written, as the form may take it as read for a later change.
    RowValues written;
};

// The refusal of a save whose appointment no longer waits.
QString appointmentNotWaitingText();

// Saves a visit with its lines and the appointment link in one transaction: a new visit, or
// the visit `entry.changing` with its lines brought in line, written only while the visit is
// still as `entry.asRead` holds it (another desk's change or deletion since is told, refused). The
// appointment takes the link only while it waits or when it holds this visit already; one
// that has meanwhile been held, marked held or cancelled refuses the save and nothing is
// written. An appointment deleted meanwhile takes nothing and refuses nothing. A cash or card
// line the visit has, or would have, in a closed day refuses the save unless that day is
// `acceptedClosedDay` (dayclose.h).
WriteResult saveVisit(QSqlDatabase db, const VisitEntry &entry,
                      const QDate &acceptedClosedDay = QDate());
// Deletes a visit with everything its save wrote, in one transaction, only while the visit is
// as `asRead` holds it (as the list read it). The appointment is made waiting again only
// while its link names this visit. A cash or card line of the visit
// in a closed day refuses the deletion unless that day is `acceptedClosedDay`.
WriteResult deleteVisit(QSqlDatabase db, qlonglong visitNumber, const QVariant &randevuno,
                        const RowValues &asRead, const QDate &acceptedClosedDay = QDate());

} // namespace lumkar
