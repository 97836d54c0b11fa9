#pragma once
// Appointments as an iCalendar file that calendar programs import: one event per appointment
// with a stable identifier from its number, its start as local ("floating") time, the length
// of one planner slot, the person and the package as the event's title and the appointment's
// description as the event's description. Text is escaped, lines are folded at 75 octets
// without splitting a letter, every line ends in CR LF, UTF-8 without a byte-order mark.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

namespace lumkar {

class DataSet;

struct CalendarAppointment {
    qlonglong rid = 0; // the appointment's number
    QDate day;
    QTime time; // local time of day, written as it is ("floating")
    QString personName; // "Ayşe Yılmaz"
    QString packageName; // may be empty
    QString description; // may be empty
};

namespace icalendar {

// A text value escaped: backslash, ";" and "," get a backslash before them, a line break
// (CR LF, LF or CR) becomes "\n"; other control characters are left out.
QString escapeText(const QString &text);

// One content line, UTF-8, folded: no physical line longer than 75 octets, a continuation
// line begins with one blank, a UTF-8 letter is never split; every line ends in CR LF.
QByteArray foldLine(const QByteArray &line);

// A length in minutes as a duration value: 30 -> "PT30M", 60 -> "PT1H", 90 -> "PT1H30M".
QString duration(int minutes);

// The event's title: the person's name and, when there is one, the package.
QString summary(const CalendarAppointment &appointment);

// The whole file: one event per appointment, each `slotMinutes` long, stamped with `stamp`
// (the moment of the export, written in UTC).
QByteArray calendarFile(
    const QVector<CalendarAppointment> &appointments, int slotMinutes, const QDateTime &stamp);

// The appointments a data set over `randevu` shows, in the order it shows them. An appointment
// without a time of day starts at midnight; one without a day is left out.
QVector<CalendarAppointment> appointmentsOf(DataSet &table);

} // namespace icalendar

} // namespace lumkar
