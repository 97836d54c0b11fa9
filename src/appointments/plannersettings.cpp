#include "appointments/plannersettings.h"

#include "appointments/plannerslots.h"
#include "data/inifile.h"

#include <algorithm>

namespace lumkar {

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("E") : QStringLiteral("H");
}

} // namespace

PlannerSettings PlannerSettings::read(IniFile &file)
{
    PlannerSettings out;
    auto value
        = [&](const char *key) { return file.read(section(), QString::fromLatin1(key)).trimmed(); };
    const QString start = value("mesaibaslasaat");
    if (clockMinutes(start).value_or(0) > 0)
        out.mesaibaslasaat = start;
    const QString end = value("mesaibitsaat");
    if (clockMinutes(end).value_or(0) > 0)
        out.mesaibitsaat = end;
    const QString period = value("randevuperiod");
    if (periodMinutes(period))
        out.randevuperiod = period;
    out.tumkullanici = value("tumkullanici") == QLatin1String("E");
    out.bekleyenvegorus = value("bekleyenvegorus") == QLatin1String("E");
    out.sadecegorus = value("sadecegorus") == QLatin1String("E");
    return out;
}

int PlannerSettings::slotMinutes() const
{
    if (const std::optional<int> minutes = periodMinutes(randevuperiod))
        return *minutes;
    return *periodMinutes(PlannerSettings().randevuperiod);
}

bool PlannerSettings::write(IniFile &file) const
{
    const QList<QPair<QString, QString>> values { { QStringLiteral("mesaibaslasaat"),
                                                      mesaibaslasaat },
        { QStringLiteral("mesaibitsaat"), mesaibitsaat },
        { QStringLiteral("randevuperiod"), randevuperiod },
        { QStringLiteral("tumkullanici"), flag(tumkullanici) },
        { QStringLiteral("bekleyenvegorus"), flag(bekleyenvegorus) },
        { QStringLiteral("sadecegorus"), flag(sadecegorus) } };
    // Every reload saves the settings and most change none of them: a file that already holds
    // every value is not written again. Otherwise all six go to disk in one write.
    const bool same = std::all_of(values.cbegin(), values.cend(),
        [&](const auto &entry) { return file.read(section(), entry.first) == entry.second; });
    return same || file.write(section(), values);
}

} // namespace lumkar
