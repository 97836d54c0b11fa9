#pragma once
// The display formats of grids, boxes and reports, under Turkish conventions:
// "#,###.00" (thousands ".", two decimals after ",", no digit before the comma for 0),
// "#,##0.00" (the same with a 0 before the comma), "HH:MM" and "hh:nn" (two-digit hour and
// minute), "dd.mm.yyyy".

#include <QString>
#include <QVariant>

namespace lumkar::formats {

QString amount(double value);      // "#,###.00": 1234.5 -> "1.234,50", 0.5 -> ",50", 0 -> ",00"
QString amountTotal(double value); // "#,##0.00": 0 -> "0,00"
QString date(const QVariant &value);       // "dd.mm.yyyy", empty for Null
QString timeOfDay(const QVariant &value);  // "hh:nn", empty for Null
QString defaultTime(const QVariant &value); // the default time format "hh:nn:ss"
// A number without grouping or trailing zeros, with the decimal comma: 150, 150,5, 0,25.
QString plainNumber(double value);

// Formats a value by one of the format names above; any other name gives the plain text.
QString byName(const QVariant &value, const QString &format);

} // namespace lumkar::formats
