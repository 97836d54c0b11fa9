#include "data/formats.h"

#include <QDateTime>
#include <cmath>

namespace lumkar::formats {

namespace {

// Below this many units an amount times 100 is still exact to the cent (2^53 / 100); above it
// whole cents would be made up (and from about 9.2e16 they no longer fit 64 bits at all).
constexpr double kLargestRoundedAmount = 9007199254740992.0 / 100.0;

QString grouped(double value, bool zeroBeforeComma)
{
    if (!std::isfinite(value))
        return QString::number(value); // "inf", "-inf", "nan": never a made-up amount
    const bool negative = value < 0;
    QString digits;
    int fraction = 0;
    bool zero = false;
    if (std::fabs(value) < kLargestRoundedAmount) {
        const qlonglong cents = std::llround(std::fabs(value) * 100.0);
        const qlonglong whole = cents / 100;
        fraction = int(cents % 100);
        zero = cents == 0;
        digits = whole == 0 && !zeroBeforeComma ? QString() : QString::number(whole);
    } else {
        // Too large for whole cents: the number's own decimal digits, as many as it holds.
        const QString plain = QString::number(std::fabs(value), 'f', 2);
        const qsizetype point = plain.indexOf(QLatin1Char('.'));
        digits = plain.left(point);
        fraction = plain.mid(point + 1).toInt();
    }
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    const QString out = digits + QLatin1Char(',')
        + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    return negative && !zero ? QLatin1Char('-') + out : out;
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
