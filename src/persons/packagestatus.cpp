#include "persons/packagestatus.h"

#include "data/dataset.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "reports/layouts.h"
#include "reports/preview.h"

namespace lumkar {

namespace {

// A package code above 0 as a number, else empty: no package.
const QString kPackage = QStringLiteral(
    "CASE WHEN CAST(paketkodu AS INTEGER) > 0 THEN CAST(paketkodu AS INTEGER) END");

// Per package: the visits (each a session held), the account lines (what was charged and
// paid) and the appointments that wait or were marked held without a visit. The first
// placeholder is the name of the row without a package, the next three the person's code, the
// last the held marker.
QString statusQuery()
{
    return QStringLiteral(
               "SELECT paketkodu, CASE WHEN paketkodu IS NULL THEN ? ELSE max(paketadi) END "
               "AS paketadi, CASE WHEN paketkodu IS NULL THEN NULL ELSE min(tarih) END AS tarih, "
               "sum(borc) AS borc, sum(alacak) AS alacak, sum(yapilan) AS yapilan, "
               "sum(bekleyen) AS bekleyen FROM (")
        + QStringLiteral("SELECT %1 AS paketkodu, paketadi, tarih, 0 AS borc, 0 AS alacak, "
                         "1 AS yapilan, 0 AS bekleyen FROM gorusmeler WHERE sicilkodu = ? ")
              .arg(kPackage)
        + QStringLiteral("UNION ALL SELECT %1, paketadi, tarih, coalesce(borc, 0), "
                         "coalesce(alacak, 0), 0, 0 FROM cari WHERE sicilkodu = ? ")
              .arg(kPackage)
        + QStringLiteral("UNION ALL SELECT %1, paketadi, NULL, 0, 0, "
                         "CASE WHEN gorusmekodu IS NULL THEN 0 ELSE 1 END, "
                         "CASE WHEN gorusmekodu IS NULL THEN 1 ELSE 0 END FROM randevu "
                         "WHERE sicil_kodu = ? AND (gorusmekodu = ? OR "
                         "(gorusmekodu IS NULL AND iptalkodu IS NULL))) AS satirlar ")
              .arg(kPackage)
        + QStringLiteral("GROUP BY paketkodu ORDER BY paketkodu IS NULL, paketkodu");
}

} // namespace

bool openPackageStatus(DataSet &rows, const QString &personCode)
{
    rows.close();
    rows.setQuery(statusQuery());
    rows.setQueryValues(
        {packagelessName(), personCode, personCode, personCode, schema::appointmentMarker()});
    return rows.open() && rows.readNow();
}

double PackageTotals::balance() const
{
    return roundToCents(borc - alacak);
}

PackageTotals packageTotals(DataSet &rows)
{
    PackageTotals totals;
    if (!rows.isOpen())
        return totals;
    const int count = rows.recordCount();
    const int borc = rows.fieldIndex(QStringLiteral("borc"));
    const int alacak = rows.fieldIndex(QStringLiteral("alacak"));
    for (int i = 0; i < count; ++i) {
        totals.borc += rows.valueAt(i, borc).toDouble();
        totals.alacak += rows.valueAt(i, alacak).toDouble();
    }
    totals.borc = roundToCents(totals.borc);
    totals.alacak = roundToCents(totals.alacak);
    return totals;
}

QString packagelessName()
{
    return QStringLiteral("(Paketsiz işlemler)");
}

QString totalsText(const PackageTotals &totals)
{
    return QStringLiteral("Toplam Borç: %1    Toplam Ödeme: %2    Kalan Borç: %3")
        .arg(formats::amountTotal(totals.borc), formats::amountTotal(totals.alacak),
             formats::amountTotal(totals.balance()));
}

QString sessionsNote()
{
    return QStringLiteral(
        "Yapılan: paketle kaydedilen görüşmeler ile görüşme kaydı olmadan \"Randevu "
        "Gerçekleşti\" denen randevular. Bekleyen: paketle verilmiş, henüz görüşülmemiş ve "
        "iptal edilmemiş randevular. İlk Alış ve Tutar: paketin ilk görüşme ya da borç-alacak "
        "satırının günü ve kişinin bu paketle borçlandırıldığı tutar. Kalan Borç: kişinin "
        "bütün borç-alacak hareketlerinin (tahsilatlar dahil) borç eksi alacağı.");
}

QString packageStatusPreviewTitle()
{
    return QStringLiteral("Lumkar Rapor Önizleme - Kişi Paket Durumu");
}

reports::Report packageStatusReport(const QString &personCode, const QString &fullName,
                                    const PackageTotals &totals, const QString &userName)
{
    reports::Report report(reports::layouts::perozluk(QStringLiteral("frReport1")));
    report.setUserName(userName);
    report.setText(QStringLiteral("Memo5"),
                   QStringLiteral("Kişi: ") + personCode + QStringLiteral(" - ") + fullName);
    report.setText(QStringLiteral("Memo6"), formats::amountTotal(totals.borc));
    report.setText(QStringLiteral("Memo9"), formats::amountTotal(totals.alacak));
    report.setText(QStringLiteral("Memo15"), formats::amountTotal(totals.balance()));
    report.setText(QStringLiteral("Memo17"), sessionsNote());
    return report;
}

ReportPreview *previewPackageStatus(QSqlDatabase db, const QString &personCode,
                                    const QString &fullName, const QString &userName,
                                    Dialogs &dialogs, QWidget *parent)
{
    DataSet rows(db);
    if (!openPackageStatus(rows, personCode))
        return nullptr;
    const reports::Report report =
        packageStatusReport(personCode, fullName, packageTotals(rows), userName);
    return ReportPreview::printReport(report, {{reports::layouts::singleLink(), &rows}},
                                      packageStatusPreviewTitle(), dialogs, parent);
}

} // namespace lumkar
