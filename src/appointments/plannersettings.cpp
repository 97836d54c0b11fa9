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
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("mesaibaslasaat"), mesaibaslasaat},
        {QStringLiteral("mesaibitsaat"), mesaibitsaat},
        {QStringLiteral("randevuperiod"), randevuperiod},
        {QStringLiteral("tumkullanici"), flag(tumkullanici)},
        {QStringLiteral("bekleyenvegorus"), flag(bekleyenvegorus)},
        {QStringLiteral("sadecegorus"), flag(sadecegorus)}};
    // A value the file already holds is not written again: every reload saves the settings,
    // and most reloads change none of them.
    for (const auto &[key, value] : values)
        if (file.read(section(), key) != value && !file.write(section(), key, value))
            return false;
    return true;
}

} // namespace lumkar
