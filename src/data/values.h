#pragma once
// Conversion of column values between the program (QDate, QDateTime, double, QString) and the
// database file, by the column's declared type. Day columns hold 00:00, time-of-day columns
// the date 30.12.1899.

#include "data/schema.h"

#include <QDateTime>
#include <QVariant>

namespace lumkar::values {

// The day a stored time of day carries when it has no day of its own.
inline QDate timeBaseDate() { return QDate(1899, 12, 30); }

QVariant toDatabase(const QVariant &value, FieldType type);
QVariant fromDatabase(const QVariant &stored, FieldType type);

// A day at 00:00 as stored, for comparing day columns in SQL.
QString dayKey(const QDate &day);
// A time of day as stored: on the day 30.12.1899.
QDateTime timeOfDay(const QTime &time);

} // namespace lumkar::values
