#pragma once
// An appointment as the main window's entry form receives it for a change: the texts of its
// boxes.

#include <QString>

namespace lumkar {

struct EntryAppointment {
    QString sicilKodu;   // kisinoedit
    QString adi;         // AdiEdit
    QString soyadi;      // SoyadiEdit
    QString tarih;       // RTarihiEdit, "dd.mm.yyyy"
    QString saat;        // RSaatiEdit, "hh:mm"
    QString adres;       // adresMemo, as stored
    QString konu;        // konuMemo, as stored
    QString telefon1;    // Telefon1Edit
    QString telefon2;    // Telefon2Edit
    QString cepTelefon;  // CepTelefonEdit
    QString tutar;       // islemTutariEdit
    QString rkime;       // RKimeBox
    QString rkimeAdSoyad; // RKiminAdSoyadBox
    QString rid;         // randevunoEdit
    QString paketKodu;   // paketkoduEdit
    QString paketAdi;    // paketadiEdit
};

} // namespace lumkar
