#pragma once
// The planner's remembered settings in "ayarrand.ayr": working hours, slot length and the
// three view boxes, in the section "AYARR".

#include <QString>

namespace lumkar {

class IniFile;

struct PlannerSettings {
    QString mesaibaslasaat = QStringLiteral("09:00"); // start of the working day
    QString mesaibitsaat = QStringLiteral("18:30"); // end of the working day
    QString randevuperiod = QStringLiteral("00:30"); // slot length
    bool tumkullanici = false; // all users' appointments
    bool bekleyenvegorus = false; // waiting and held
    bool sadecegorus = false; // held only

    // Reads the file: a missing file, key or section leaves the value above. A working hour or
    // slot length is taken only when it reads as one ("09:00", "00:30"); anything else (empty,
    // zero, garbage, out of range) leaves the value above. A box is ticked by exactly "E".
    static PlannerSettings read(IniFile &file);
    // Writes all six keys; false (with the file's errorText()) when the disk refused.
    bool write(IniFile &file) const;

    // The slot length in minutes (the planner's period).
    int slotMinutes() const;

    static QString section() { return QStringLiteral("AYARR"); }
    static QString fileName() { return QStringLiteral("ayarrand.ayr"); }
};

} // namespace lumkar
