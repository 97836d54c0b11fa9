#include "appointments/directbooking.h"

#include "app/forms.h"
#include "appointments/entrypanel.h"
#include "data/entryrules.h"
#include "data/formats.h"
#include "kit/dialogs.h"
#include "visits/paketler.h"

namespace lumkar {

DirectBooking::DirectBooking(Forms &forms, Dialogs &dialogs) : m_forms(forms), m_dialogs(dialogs)
{
}

void DirectBooking::choosePackageAndPerson(std::function<void()> personChosen)
{
    picked = ChosenPackage();
    m_forms.paketlerF->choosePackage([this, personChosen](const ChosenPackage &package) {
        picked = package;
        m_forms.entryForm->personFromList(personChosen);
    });
}

std::optional<CellAppointment> DirectBooking::book(const Slot &slot)
{
    QString answer = picked.tutar;
    if (!m_dialogs.input(QStringLiteral("Tutar Girişi"), QStringLiteral("Tutar"), answer))
        answer = picked.tutar;
    const NumberReading reading = SayiyaCevir(answer);
    if (!reading.ok) {
        m_dialogs.warning(programTitle(), reading.message);
        return std::nullopt;
    }
    EntryForm &entry = *m_forms.entryForm;
    if (!entry.setEntryUser(slot.userCode, slot.userName)) {
        m_dialogs.warning(programTitle(),
                          slot.userName
                              + QStringLiteral(" kullanıcısına randevu veremezsiniz: başka "
                                               "kullanıcılara randevu verme yetkiniz yok ya da "
                                               "kullanıcı listede değil. Randevu kaydedilmedi."));
        return std::nullopt;
    }
    const double amount = roundToCents(reading.value);
    entry.setEntryPackage(picked);
    entry.setEntryAmount(formats::plainNumber(amount));
    entry.setEntryDayAndTime(slot.date, slot.time);
    const EntryAppointment booked = entry.entryAppointment();
    if (!entry.saveAsNew()) // as if "KAYDET" were pressed, always as a new appointment
        return std::nullopt;
    return CellAppointment{slot.userName, booked.adi, booked.soyadi, picked.adi, amount};
}

} // namespace lumkar
