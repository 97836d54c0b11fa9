#include "appointments/entryappointment.h"

#include "data/dataset.h"
#include "data/formats.h"
#include "kit/bound.h"

namespace lumkar {

namespace {

// A stored amount as "#,###.00" when above 0, else empty.
QString positiveAmount(const QVariant &value)
{
    return !value.isNull() && value.toDouble() > 0 ? formats::amount(value.toDouble()) : QString();
}

} // namespace

EntryAppointment entryAppointmentOf(DataSet &row, ChangeFrom from)
{
    EntryAppointment e;
    e.sicilKodu = row.text(QStringLiteral("sicil_kodu"));
    e.adi = row.text(QStringLiteral("adi"));
    e.soyadi = row.text(QStringLiteral("soyadi"));
    e.tarih = formats::date(row.value(QStringLiteral("randevutarihi")));
    e.saat = formats::timeOfDay(row.value(QStringLiteral("randevusaati")));
    e.adres = storedToMemo(row.text(QStringLiteral("adresi")));
    e.konu = storedToMemo(row.text(QStringLiteral("konu")));
    e.telefon1 = row.text(QStringLiteral("telefonu"));
    e.telefon2 = row.text(QStringLiteral("telefonu2"));
    e.cepTelefon = row.text(QStringLiteral("ceptel"));
    const QVariant amount = row.value(QStringLiteral("islem_tutari"));
    if (from == ChangeFrom::DayView) {
        e.tutar = positiveAmount(amount);
        e.prim = positiveAmount(row.value(QStringLiteral("paketprim")));
    } else {
        e.tutar = amount.isNull() ? QString() : formats::plainNumber(amount.toDouble());
    }
    e.rkime = row.text(QStringLiteral("RKime"));
    e.rkimeAdSoyad = row.text(QStringLiteral("Rkimeadsoyad"));
    e.rid = row.text(QStringLiteral("rid"));
    e.paketKodu = row.text(QStringLiteral("paketkodu"));
    e.paketAdi = row.text(QStringLiteral("paketadi"));
    return e;
}

} // namespace lumkar
