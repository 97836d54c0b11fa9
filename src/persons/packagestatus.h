#pragma once
// What a person has of the packages, read in one query over the person's visits, account
// lines and appointments into a data set that the person record shows and the printout runs
// over; and what the person owes.
//
// A package counts as bought once a visit or an account line of the person carries its code:
// "İlk Alış" is the first day of such a line, "Tutar" what the person's account lines with
// the code charged. A session held ("Yapılan") is a visit with the package, or an appointment
// with it marked held without a visit; a session to come ("Bekleyen") is a waiting
// appointment with it (neither held nor cancelled). Visits, account lines and appointments
// without a package make one row of their own, last. The balance owed is the debt minus the
// credit of all the person's account lines, collections included.

#include "reports/layout.h"

#include <QSqlDatabase>
#include <QString>

class QWidget;

namespace lumkar {

class DataSet;
class Dialogs;
class ReportPreview;

// Opens `rows` on the packages of the person `personCode`, one row per package code and then
// the row without a package: paketkodu, paketadi, tarih (first bought), borc (charged), alacak
// (paid on its lines), yapilan, bekleyen. False when the rows could not be read (the user was
// told through the database's failure handler).
bool openPackageStatus(DataSet &rows, const QString &personCode);

struct PackageTotals {
    double borc = 0;   // the debt of every account line of the person
    double alacak = 0; // and their credit
    double balance() const; // borc - alacak, to whole kuruş
};
PackageTotals packageTotals(DataSet &rows);

// The name of the row without a package.
QString packagelessName();
// The totals as the person record shows them in one line.
QString totalsText(const PackageTotals &totals);
// What "Yapılan" and "Bekleyen" count, in one sentence for the user.
QString sessionsNote();

// The printout of the person's packages over `rows` as opened above: the person in the
// heading, the totals under the list.
reports::Report packageStatusReport(const QString &personCode, const QString &fullName,
                                    const PackageTotals &totals, const QString &userName);
// Reads the person's packages and shows their printout in a preview; null when they could not
// be read or printed (the user was told).
ReportPreview *previewPackageStatus(QSqlDatabase db, const QString &personCode,
                                    const QString &fullName, const QString &userName,
                                    Dialogs &dialogs, QWidget *parent);
QString packageStatusPreviewTitle();

} // namespace lumkar
