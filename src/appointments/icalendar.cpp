#include "appointments/icalendar.h"

#include "data/dataset.h"

namespace lumkar::icalendar {

namespace {

constexpr int kLineOctets = 75;

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

QString stampText(const QDateTime &moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

// Day and time as written, in no time zone: a time that a clock change skips stays as it is.
QString floatingText(const QDate &day, const QTime &time)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
        + (time.isValid() ? time : QTime(0, 0)).toString(QStringLiteral("HHmmss"));
}

void addLine(QByteArray &out, const QString &name, const QString &value)
{
    out += foldLine((name + QLatin1Char(':') + value).toUtf8());
}

} // namespace

QString escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case ';':
            out += QLatin1String("\\;");
            break;
        case ',':
            out += QLatin1String("\\,");
            break;
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i; // CR LF is one line break
            out += QLatin1String("\\n");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += c;
            break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                out += c;
        }
    }
    return out;
}

QByteArray foldLine(const QByteArray &line)
{
    QByteArray out;
    qsizetype from = 0;
    qsizetype room = kLineOctets;
    while (line.size() - from > room) {
        qsizetype cut = from + room;
        // Back to the first byte of the letter that would be split.
        while (cut > from && isContinuationByte(line.at(cut)))
            --cut;
        if (cut == from) // no letter begins in reach: not UTF-8, cut where the room ends
            cut = from + room;
        out += line.mid(from, cut - from);
        out += "\r\n ";
        from = cut;
        room = kLineOctets - 1; // the blank that begins a continuation line counts
    }
    out += line.mid(from);
    out += "\r\n";
    return out;
}

QString duration(int minutes)
{
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    QString out = QStringLiteral("PT");
    if (hours > 0)
        out += QString::number(hours) + QLatin1Char('H');
    if (rest > 0 || hours == 0)
        out += QString::number(rest) + QLatin1Char('M');
    return out;
}

QString summary(const CalendarAppointment &appointment)
{
    const QString package = appointment.packageName.trimmed();
    const QString person = appointment.personName.trimmed();
    if (package.isEmpty())
        return person;
    return person.isEmpty() ? package : person + QStringLiteral(" - ") + package;
}

QByteArray calendarFile(
    const QVector<CalendarAppointment> &appointments, int slotMinutes, const QDateTime &stamp)
{
    QByteArray out;
    addLine(out, QStringLiteral("BEGIN"), QStringLiteral("VCALENDAR"));
    addLine(out, QStringLiteral("VERSION"), QStringLiteral("2.0"));
    addLine(out, QStringLiteral("PRODID"), QStringLiteral("-//Lumkar Dorvalen//Randevu//TR"));
    addLine(out, QStringLiteral("CALSCALE"), QStringLiteral("GREGORIAN"));
    const QString stamped = stampText(stamp);
    const QString length = duration(slotMinutes);
    for (const CalendarAppointment &appointment : appointments) {
        addLine(out, QStringLiteral("BEGIN"), QStringLiteral("VEVENT"));
        addLine(out, QStringLiteral("UID"),
            QStringLiteral("randevu-%1@lumkar-dorvalen").arg(appointment.rid));
        addLine(out, QStringLiteral("DTSTAMP"), stamped);
        addLine(out, QStringLiteral("DTSTART"), floatingText(appointment.day, appointment.time));
        addLine(out, QStringLiteral("DURATION"), length);
        addLine(out, QStringLiteral("SUMMARY"), escapeText(summary(appointment)));
        const QString description = appointment.description.trimmed();
        if (!description.isEmpty())
            addLine(out, QStringLiteral("DESCRIPTION"), escapeText(description));
        addLine(out, QStringLiteral("END"), QStringLiteral("VEVENT"));
    }
    addLine(out, QStringLiteral("END"), QStringLiteral("VCALENDAR"));
    return out;
}

QVector<CalendarAppointment> appointmentsOf(DataSet &table)
{
    QVector<CalendarAppointment> out;
    const int rid = table.fieldIndex(QStringLiteral("rid"));
    const int day = table.fieldIndex(QStringLiteral("randevutarihi"));
    const int time = table.fieldIndex(QStringLiteral("randevusaati"));
    const int firstName = table.fieldIndex(QStringLiteral("adi"));
    const int lastName = table.fieldIndex(QStringLiteral("soyadi"));
    const int package = table.fieldIndex(QStringLiteral("paketadi"));
    const int description = table.fieldIndex(QStringLiteral("konu"));
    const int count = table.recordCount();
    out.reserve(count);
    for (int row = 0; row < count; ++row) {
        const QDate date = table.valueAt(row, day).toDateTime().date();
        if (!date.isValid())
            continue;
        const QVariant storedTime = table.valueAt(row, time);
        const QTime clock = storedTime.isNull() ? QTime(0, 0) : storedTime.toDateTime().time();
        CalendarAppointment appointment;
        appointment.rid = table.valueAt(row, rid).toLongLong();
        appointment.day = date;
        appointment.time = clock.isValid() ? clock : QTime(0, 0);
        const QString name = table.valueAt(row, firstName).toString() + QLatin1Char(' ')
            + table.valueAt(row, lastName).toString();
        appointment.personName = name.trimmed();
        appointment.packageName = table.valueAt(row, package).toString();
        appointment.description = table.valueAt(row, description).toString();
        out.append(appointment);
    }
    return out;
}

} // namespace lumkar::icalendar
