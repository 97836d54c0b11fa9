#pragma once
// The planner's day-and-slot arithmetic, without a view: the time slots of the working day,
// the day columns of a month with their weekend and holiday colours, the slot rows that take an
// appointment and the text an appointment writes into its cell. The planner window builds and
// paints its grid from these.

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>
#include <optional>

namespace lumkar {

// A time of day typed as "HH:MM": hours from characters 1-2 and minutes from characters 4-5,
// each plain digits; nothing when either is missing, not digits, or out of range (hour above
// 23, minutes above 59). The result is in minutes after midnight.
std::optional<int> clockMinutes(const QString &text);

// A slot length typed as "HH:MM" (hours from characters 1-2, minutes from 4-5, each read as a
// number); nothing when it reads as zero or less, has minutes above 59, or is longer than a
// day. The result is in minutes.
std::optional<int> periodMinutes(const QString &text);

// The time slots of a working day: from the start, one row every period, as many rows as the
// span (the absolute difference of start and end) holds periods, rounded to the nearest whole
// number (halves to the even neighbour), plus one.
struct SlotPlan {
    int start = 9 * 60; // minutes after midnight
    int span = 570; // minutes
    int period = 30; // minutes, above 0

    int slotCount() const;
    // The start time of each slot as "HH:MM"; labels run on past midnight (23:30, 00:00).
    QStringList labels() const;
};

// The slot plan of the planner's three boxes, or the Turkish message that refuses them.
struct SlotReading {
    std::optional<SlotPlan> plan;
    QString message;
};
SlotReading readSlotPlan(
    const QString &startText, const QString &endText, const QString &periodText);

int slotCount(int spanMinutes, int periodMinutes);
QString slotLabel(int minutesAfterMidnight);

// The slot rows that take an appointment at `time`, as indices into `labels` (the texts of the
// first column, "HH:MM"): a row takes it when its hour text equals the appointment's and either
// its minute text equals the appointment's, or its minutes lie strictly within half a period
// of the appointment's minutes. An appointment never lands in a slot of another hour.
QVector<int> rowsTaking(const QStringList &labels, const QTime &time, int periodMinutes);

// One calendar month as the planner lays it out: a column for each day, 1 to dayCount.
class PlannerMonth {
public:
    PlannerMonth() = default; // no month yet: no grid has been built
    explicit PlannerMonth(const QDate &anyDay);

    bool isValid() const { return m_dayCount > 0; }
    int year() const { return m_year; }
    int month() const { return m_month; }
    int dayCount() const { return m_dayCount; }
    QString monthText() const; // "01" to "12"
    QString yearText() const; // four digits
    // Month name with its trailing blank, then the year: "Ekim 2009".
    QString title() const;
    // The day number of the first Saturday, 1 to 7; 0 for no month.
    int firstSaturdayColumn() const { return m_firstSaturday; }

    enum class DayKind { Workday, Saturday, Sunday, Holiday };
    DayKind dayKind(int column) const;
    QString weekdayName(int column) const;

    static QString weekdayName(const QDate &day);
    static QString monthName(int month); // "Ocak " ... "Aralık "

private:
    int m_year = 0;
    int m_month = 0;
    int m_dayCount = 0;
    int m_firstSaturday = 0;
};

// The background of a data cell: slot rows alternate (counted from 0 at the top of the grid,
// so the first slot row, row 2, is even), then Sundays, Saturdays and the national holidays
// (23 April, 19 May, 30 August, 29 October) are tinted once a month has been laid out. A cell
// that holds a double booking (waiting appointments of one user that overlap) has a colour
// of its own above all these.
QColor plannerCellColour(int gridRow, int column, const PlannerMonth &month,
                         bool doubleBooked = false);
QColor doubleBookingColour();
// The text colour of a data cell: blue in the second day column, black elsewhere.
QColor plannerTextColour(int column);

// What a cell shows of one appointment.
struct CellAppointment {
    QString owner; // Rkimeadsoyad: the user the appointment is given to
    QString adi;
    QString soyadi;
    QString paketadi;
    double amount = 0;
};

// An appointment's text in its cell: "R.Kime:" owner (only while all users are shown),
// "-Kişi:" name, " -Paket:" package (when given), " -Tutarı:" amount "TL" (when above 0), one
// blank. A booking just made from the planner writes " -Tutar:" and no "TL".
enum class SegmentKind { Placed, JustBooked };
QString cellSegment(
    const CellAppointment &appointment, bool showOwner, SegmentKind kind = SegmentKind::Placed);

// The day of a day column as the booking hands it over: two digits for 1 to 9.
QString bookingDayText(const QString &dayCellText);

} // namespace lumkar
