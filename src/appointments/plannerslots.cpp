#include "appointments/plannerslots.h"

#include "data/entryrules.h"
#include "data/formats.h"

#include <cmath>
#include <cstdlib>

namespace lumkar {

namespace {

constexpr int kDayMinutes = 24 * 60;

// Two characters of plain digits as a number; nothing otherwise.
std::optional<int> twoDigits(const QString &text, int from)
{
    const QString part = text.mid(from, 2);
    if (part.size() != 2 || !part[0].isDigit() || !part[1].isDigit() || part[0].unicode() > 127
        || part[1].unicode() > 127)
        return std::nullopt;
    return part.toInt();
}

} // namespace

std::optional<int> clockMinutes(const QString &text)
{
    const std::optional<int> hours = twoDigits(text, 0);
    const std::optional<int> minutes = twoDigits(text, 3);
    if (!hours || !minutes || *hours > 23 || *minutes > 59)
        return std::nullopt;
    return *hours * 60 + *minutes;
}

std::optional<int> periodMinutes(const QString &text)
{
    bool hoursOk = false;
    bool minutesOk = false;
    const double hours = SayiyaCevir(text.mid(0, 2), &hoursOk);
    const double minutes = SayiyaCevir(text.mid(3, 2), &minutesOk);
    const double total = hours * 60 + minutes;
    if (!hoursOk || !minutesOk || minutes < 0 || minutes > 59 || total != std::trunc(total)
        || total <= 0 || total > kDayMinutes)
        return std::nullopt;
    return int(total);
}

int slotCount(int spanMinutes, int periodMinutes)
{
    // Rounded to the nearest whole number of periods, halves to the even neighbour.
    const int whole = spanMinutes / periodMinutes;
    const int twiceRest = 2 * (spanMinutes % periodMinutes);
    int periods = whole;
    if (twiceRest > periodMinutes || (twiceRest == periodMinutes && whole % 2 == 1))
        ++periods;
    return periods + 1;
}

QString slotLabel(int minutesAfterMidnight)
{
    const int m = ((minutesAfterMidnight % kDayMinutes) + kDayMinutes) % kDayMinutes;
    return QStringLiteral("%1:%2")
        .arg(m / 60, 2, 10, QLatin1Char('0'))
        .arg(m % 60, 2, 10, QLatin1Char('0'));
}

int SlotPlan::slotCount() const
{
    return lumkar::slotCount(span, period);
}

QStringList SlotPlan::labels() const
{
    QStringList out;
    const int count = slotCount();
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out << slotLabel(start + i * period);
    return out;
}

SlotReading readSlotPlan(
    const QString &startText, const QString &endText, const QString &periodText)
{
    SlotReading out;
    const std::optional<int> start = clockMinutes(startText);
    if (!start) {
        out.message = QStringLiteral("Mesai başlangıç saati uygun değil! Saati 09:00 "
                                     "biçiminde, 00:00 ile 23:59 arasında giriniz.");
        return out;
    }
    const std::optional<int> end = clockMinutes(endText);
    if (!end) {
        out.message = QStringLiteral("Mesai bitiş saati uygun değil! Saati 18:30 biçiminde, "
                                     "00:00 ile 23:59 arasında giriniz.");
        return out;
    }
    const std::optional<int> period = periodMinutes(periodText);
    if (!period) {
        out.message = QStringLiteral("Randevu periodu uygun değil! Periodu 00:30 biçiminde, "
                                     "sıfırdan büyük ve en çok 24:00 olarak giriniz.");
        return out;
    }
    out.plan = SlotPlan { *start, std::abs(*end - *start), *period };
    return out;
}

QVector<int> rowsTaking(const QStringList &labels, const QTime &time, int periodMinutes)
{
    QVector<int> out;
    if (!time.isValid() || periodMinutes <= 0)
        return out;
    const QString hh = QStringLiteral("%1").arg(time.hour(), 2, 10, QLatin1Char('0'));
    const QString mm = QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
    const double half = periodMinutes / 2.0;
    const double m = time.minute();
    for (int i = 0; i < labels.size(); ++i) {
        const QString &label = labels[i];
        if (label.size() < 4 || label.left(2) != hh)
            continue;
        const QString last = label.right(2);
        bool ok = false;
        const int s = last.toInt(&ok);
        if (last == mm || (ok && m - half < s && s < m + half))
            out << i;
    }
    return out;
}

PlannerMonth::PlannerMonth(const QDate &anyDay)
{
    if (!anyDay.isValid())
        return;
    m_year = anyDay.year();
    m_month = anyDay.month();
    m_dayCount = anyDay.daysInMonth();
    const int weekday = QDate(m_year, m_month, 1).dayOfWeek(); // Monday 1 ... Sunday 7
    m_firstSaturday = weekday == 7 ? 7 : 7 - weekday;
}

QString PlannerMonth::monthText() const
{
    return QStringLiteral("%1").arg(m_month, 2, 10, QLatin1Char('0'));
}

QString PlannerMonth::yearText() const
{
    return QStringLiteral("%1").arg(m_year, 4, 10, QLatin1Char('0'));
}

QString PlannerMonth::title() const
{
    return monthName(m_month) + yearText();
}

QString PlannerMonth::monthName(int month)
{
    static const char16_t *const names[] = { u"Ocak ", u"Şubat ", u"Mart ", u"Nisan ", u"Mayıs ",
        u"Haziran ", u"Temmuz ", u"Ağustos ", u"Eylül ", u"Ekim ", u"Kasım ", u"Aralık " };
    return month >= 1 && month <= 12 ? QString::fromUtf16(names[month - 1]) : QString();
}

QString PlannerMonth::weekdayName(const QDate &day)
{
    static const char16_t *const names[]
        = { u"Pazartesi", u"Salı", u"Çarşamba", u"Perşembe", u"Cuma", u"Cumartesi", u"Pazar" };
    return day.isValid() ? QString::fromUtf16(names[day.dayOfWeek() - 1]) : QString();
}

QString PlannerMonth::weekdayName(int column) const
{
    return column >= 1 && column <= m_dayCount ? weekdayName(QDate(m_year, m_month, column))
                                               : QString();
}

PlannerMonth::DayKind PlannerMonth::dayKind(int column) const
{
    if (m_firstSaturday <= 0 || column < 1)
        return DayKind::Workday;
    const int holiday = m_month == 4 ? 23
        : m_month == 5               ? 19
        : m_month == 8               ? 30
        : m_month == 10              ? 29
                                     : 0;
    if (column == holiday)
        return DayKind::Holiday;
    const int fromSaturday = column - m_firstSaturday;
    if (fromSaturday >= 0 && fromSaturday % 7 == 0)
        return DayKind::Saturday;
    if ((fromSaturday >= 0 && fromSaturday % 7 == 1) || (column == 1 && m_firstSaturday == 7))
        return DayKind::Sunday;
    return DayKind::Workday;
}

QColor doubleBookingColour()
{
    return QColor(255, 160, 160);
}

QColor plannerCellColour(int gridRow, int column, const PlannerMonth &month, bool doubleBooked)
{
    if (doubleBooked)
        return doubleBookingColour();
    switch (month.dayKind(column)) {
    case PlannerMonth::DayKind::Sunday:
        return QColor(255, 221, 187);
    case PlannerMonth::DayKind::Saturday:
    case PlannerMonth::DayKind::Holiday:
        return QColor(255, 234, 213);
    case PlannerMonth::DayKind::Workday:
        break;
    }
    return gridRow % 2 == 1 ? QColor(223, 235, 255) : QColor(249, 255, 225);
}

QColor plannerTextColour(int column)
{
    return column == 2 ? QColor(0, 0, 255) : QColor(Qt::black);
}

QString cellSegment(const CellAppointment &appointment, bool showOwner, SegmentKind kind)
{
    QString out;
    if (showOwner)
        out += QStringLiteral("R.Kime:") + appointment.owner + QLatin1Char(' ');
    out += QStringLiteral("-Kişi:") + appointment.adi + QLatin1Char(' ') + appointment.soyadi;
    if (!appointment.paketadi.isEmpty())
        out += QStringLiteral(" -Paket:") + appointment.paketadi;
    if (appointment.amount > 0) {
        out += (kind == SegmentKind::Placed ? QStringLiteral(" -Tutarı:")
                                            : QStringLiteral(" -Tutar:"))
            + formats::plainNumber(appointment.amount);
        if (kind == SegmentKind::Placed)
            out += QStringLiteral("TL");
    }
    return out + QLatin1Char(' ');
}

QString bookingDayText(const QString &dayCellText)
{
    bool ok = false;
    const double day = SayiyaCevir(dayCellText, &ok);
    return ok && day <= 9 ? QLatin1Char('0') + dayCellText : dayCellText;
}

} // namespace lumkar
