#include "appointments/plannersettings.h"

#include "appointments/plannerslots.h"
#include "data/inifile.h"

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
    auto value = [&](const char *key) {
        return file.read(section(), QString::fromLatin1(key)).trimmed();
    };
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

bool PlannerSettings::write(IniFile &file) const
{
    const QString s = section();
    return file.write(s, QStringLiteral("mesaibaslasaat"), mesaibaslasaat)
        && file.write(s, QStringLiteral("mesaibitsaat"), mesaibitsaat)
        && file.write(s, QStringLiteral("randevuperiod"), randevuperiod)
        && file.write(s, QStringLiteral("tumkullanici"), flag(tumkullanici))
        && file.write(s, QStringLiteral("bekleyenvegorus"), flag(bekleyenvegorus))
        && file.write(s, QStringLiteral("sadecegorus"), flag(sadecegorus));
}

} // namespace lumkar
