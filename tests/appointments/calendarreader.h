#pragma once
// Reads an iCalendar file back the way a calendar program does: physical lines checked
// (CR LF ends, at most 75 octets, no letter split between lines), lines unfolded, properties
// split from their values and text values unescaped.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace lumkar::test {

struct CalendarProperty {
    QString name;
    QString value; // as written, still escaped
};

struct CalendarReading {
    QStringList faults; // what a strict reader refuses; empty for a sound file
    QVector<CalendarProperty> properties; // every unfolded line, in order
    QVector<QHash<QString, QString>> events; // each VEVENT's properties, values as written
};

// Checks and reads `bytes`.
CalendarReading readCalendar(const QByteArray &bytes);

// True when a text value is escaped as it must be: every ";" and "," carries a backslash and
// every backslash begins one of "\\" "\;" "\," "\n".
bool isEscapedText(const QString &value);

// A text value unescaped: "\\" "\;" "\," "\n" back to what they stand for.
QString unescapeCalendarText(const QString &value);

} // namespace lumkar::test
