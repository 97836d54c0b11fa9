#include "data/formats.h"

#include <QDateTime>
#include <cmath>

namespace lumkar::formats {

namespace {

QString grouped(double value, bool zeroBeforeComma)
{
    const bool negative = value < 0;
    const qlonglong cents = std::llround(std::fabs(value) * 100.0);
    const qlonglong whole = cents / 100;
    const int fraction = int(cents % 100);
    QString digits = whole == 0 && !zeroBeforeComma ? QString() : QString::number(whole);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    const QString out = digits + QLatin1Char(',')
        + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    return negative && cents != 0 ? QLatin1Char('-') + out : out;
}

QDateTime asDateTime(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    if (value.metaType().id() == QMetaType::QTime)
        return QDateTime(QDate(1899, 12, 30), value.toTime());
    return value.toDateTime();
}

} // namespace

QString amount(double value)
{
    return grouped(value, false);
}

QString amountTotal(double value)
{
    return grouped(value, true);
}

QString date(const QVariant &value)
{
    if (value.isNull())
        return QString();
    const QDateTime dt = asDateTime(value);
    return dt.isValid() ? dt.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString timeOfDay(const QVariant &value)
{
    if (value.isNull())
        return QString();
    const QDateTime dt = asDateTime(value);
    return dt.isValid() ? dt.toString(QStringLiteral("HH:mm")) : QString();
}

QString defaultTime(const QVariant &value)
{
    if (value.isNull())
        return QString();
    const QDateTime dt = asDateTime(value);
    return dt.isValid() ? dt.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString plainNumber(double value)
{
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString byName(const QVariant &value, const QString &format)
{
    if (value.isNull())
        return QString();
    if (format == QLatin1String("#,###.00"))
        return amount(value.toDouble());
    if (format == QLatin1String("#,##0.00"))
        return amountTotal(value.toDouble());
    if (format.compare(QLatin1String("dd.mm.yyyy"), Qt::CaseInsensitive) == 0)
        return date(value);
    if (format.compare(QLatin1String("HH:MM"), Qt::CaseInsensitive) == 0
        || format.compare(QLatin1String("hh:nn"), Qt::CaseInsensitive) == 0)
        return timeOfDay(value);
    if (format == QLatin1String("time"))
        return defaultTime(value);
    if (value.metaType().id() == QMetaType::Double)
        return plainNumber(value.toDouble());
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    return value.toString();
}

} // namespace lumkar::formats
