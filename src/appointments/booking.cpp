#include "appointments/booking.h"

#include "data/entryrules.h"
#include "data/values.h"
#include "kit/bound.h"
#include "visits/packagerules.h"

namespace lumkar {

QString bookingRefusal(const EntryAppointment &entry)
{
    if (entry.adi.length() < 2)
        return QStringLiteral("Adını Girmelisiniz!");
    if (SayiyaCevir(entry.tarih, nullptr) < 110)
        return QStringLiteral("Randevu Tarihi Girmelisiniz!");
    if (SayiyaCevir(entry.saat, nullptr) < 1)
        return QStringLiteral("Randevu Saati Girmelisiniz!");
    return QString();
}

BookingRow bookingRow(const EntryAppointment &entry, const QString &takenBy, const QDateTime &now,
                      bool change)
{
    BookingRow row;
    const QDate day = boxDate(entry.tarih);
    if (!day.isValid()) {
        row.message = entry.tarih.trimmed()
            + QStringLiteral(" diye bir tarih yok! Randevu kaydedilmedi.");
        return row;
    }
    const QTime time = boxTime(entry.saat);
    if (!time.isValid()) {
        row.message = entry.saat.trimmed()
            + QStringLiteral(" diye bir saat yok! Randevu kaydedilmedi.");
        return row;
    }
    const NumberReading amount = SayiyaCevir(entry.tutar);
    if (!amount.ok) {
        row.message = QStringLiteral("İşlem tutarı okunamadı: ") + amount.message;
        return row;
    }
    if (!change && (entry.rkime.isEmpty() || entry.rkimeAdSoyad.isEmpty())) {
        row.message = QStringLiteral("Randevunun verileceği kullanıcı seçilmemiş! Randevu "
                                     "kaydedilmedi.");
        return row;
    }
    QVariant packageCode;
    if (!entry.paketKodu.isEmpty()) {
        const std::optional<int> code = readPackageCode(entry.paketKodu).code;
        if (!code) {
            row.message = QStringLiteral("Paket kodu ") + entry.paketKodu
                + QStringLiteral(" kaydedilemez! Randevu kaydedilmedi.");
            return row;
        }
        packageCode = *code;
    }
    const NumberReading premium = SayiyaCevir(entry.prim);
    auto add = [&row](const char *field, const QVariant &value) {
        row.fields.append({QString::fromLatin1(field), value});
    };
    add("sicil_kodu", entry.sicilKodu);
    add("adi", entry.adi);
    add("soyadi", entry.soyadi);
    add("randevutarihi", QDateTime(day, QTime(0, 0)));
    add("randevusaati", values::timeOfDay(time));
    add("konu", memoToStored(entry.konu));
    add("adresi", memoToStored(entry.adres));
    add("telefonu", entry.telefon1);
    add("telefonu2", entry.telefon2);
    add("ceptel", entry.cepTelefon);
    add("islem_tutari", amount.value);
    // The user the appointment is given to: both pickers must hold one. A change whose
    // pickers cannot hold its owner (not among the users this user may book for, renamed or
    // deleted since) keeps the stored owner.
    if (!entry.rkime.isEmpty() && !entry.rkimeAdSoyad.isEmpty()) {
        add("RKime", entry.rkime);
        add("Rkimeadsoyad", entry.rkimeAdSoyad);
    }
    add("randevuyualan", takenBy);
    add("paketkodu", packageCode);
    // A package name is stored only with its package code.
    const bool named = packageCode.isValid() && !entry.paketAdi.isEmpty();
    add("paketadi", named ? QVariant(entry.paketAdi) : QVariant());
    if (premium.ok && premium.value > 0)
        add("paketprim", premium.value);
    else if (!change)
        add("paketprim", QVariant());
    add("kayittarihi", now);
    return row;
}

} // namespace lumkar
