#pragma once
// An appointment as the texts of the main window's entry form: what a save reads from the
// boxes (booking.h turns it into the `randevu` row), and what a change puts back into them
// from a stored appointment.

#include <QString>

namespace lumkar {

class DataSet;

struct EntryAppointment {
    QString sicilKodu; // kisinoedit
    QString adi; // AdiEdit
    QString soyadi; // SoyadiEdit
    QString tarih; // RTarihiEdit, "dd.mm.yyyy" (a masked box with its blanks)
    QString saat; // RSaatiEdit, "hh:mm"
    QString konu; // konuMemo, as typed (line breaks "\n")
    QString adres; // adresMemo, as typed
    QString telefon1; // Telefon1Edit
    QString telefon2; // Telefon2Edit
    QString cepTelefon; // CepTelefonEdit
    QString tutar; // islemTutariEdit
    QString rkime; // RKimeBox
    QString rkimeAdSoyad; // RKiminAdSoyadBox
    QString rid; // randevunoEdit; empty for a new appointment
    QString paketKodu; // paketkoduEdit
    QString paketAdi; // paketadiEdit
    QString prim; // primEdit; a change leaves the box as it is when this is empty
};

// Where a change of an appointment begins; the two fill the amount boxes differently.
enum class ChangeFrom {
    DayView, // amount and premium rate "#,###.00" when above 0, else empty
    AppointmentList, // amount as a plain number (empty when empty), no premium rate
};

// The appointment at the current row of a data set over `randevu`, as the entry form shows
// it for a change.
EntryAppointment entryAppointmentOf(DataSet &row, ChangeFrom from);

} // namespace lumkar
