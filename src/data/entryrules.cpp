#include "data/entryrules.h"

#include <QLocale>

#include <cmath>

namespace lumkar {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A number read by SayiyaCevir, 0 when the text is not a number.
double numberIn(const QString &text, const Region &region)
{
    bool ok = false;
    return SayiyaCevir(text, &ok, region);
}

// A number in its shortest plain decimal form: an integer gives its digits without any mark.
QString plain(double value, const Region &region)
{
    if (std::fabs(value) < 1e15 && value == std::trunc(value))
        return QString::number(qint64(value));
    QString out = QString::number(value, 'g', 15);
    out.replace(QLatin1Char('.'), region.decimal);
    return out;
}

// The thousands mark grouped into amounts: "." beside a decimal ",", "," otherwise.
QChar thousandsMark(const Region &region)
{
    return region.decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
}

// A whole number from low to high: a part typed as "1,5" is no day, month, hour or minute.
bool within(double value, int low, int high)
{
    return value >= low && value <= high && value == std::trunc(value);
}

} // namespace

Region programRegion()
{
    return Region{};
}

NumberReading SayiyaCevir(const QString &text, const Region &region)
{
    QString kept;
    int digitCount = 0;
    int markCount = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            kept += c;
        } else if (isAsciiDigit(c)) {
            kept += c;
            ++digitCount;
        } else if (c == region.decimal) {
            kept += QLatin1Char('.');
            ++markCount;
        }
    }
    if (kept.isEmpty())
        return {};

    if (digitCount > 0 && markCount <= 1) {
        // "5," and ",5" are numbers; the conversion below wants a digit on both sides.
        if (kept.endsWith(QLatin1Char('.')))
            kept += QLatin1Char('0');
        const qsizetype signLength = isAsciiDigit(kept.at(0)) || kept.at(0) == QLatin1Char('.')
            ? 0 : 1;
        if (kept.at(signLength) == QLatin1Char('.'))
            kept.insert(signLength, QLatin1Char('0'));
        bool ok = false;
        const double value = kept.toDouble(&ok);
        if (ok && std::isfinite(value))
            return {value, true, QString()};
    }
    return {0, false, QStringLiteral("'%1' geçerli bir sayı değil.").arg(text.trimmed())};
}

double SayiyaCevir(const QString &text, bool *ok, const Region &region)
{
    const NumberReading reading = SayiyaCevir(text, region);
    if (ok)
        *ok = reading.ok;
    return reading.value;
}

double roundToCents(double value)
{
    if (!std::isfinite(value))
        return value;
    // The shortest text that reads back as the value has no trailing zero: a rest of "5"
    // after the kuruş is an exact half.
    const QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0 || text.size() - point - 1 <= 2)
        return value;
    // At most 17 significant digits: with three decimals or more the whole part has at most
    // 14, so the kuruş fit in 64 bits.
    qint64 cents = text.left(point).toLongLong() * 100 + text.mid(point + 1, 2).toInt();
    const QString rest = text.mid(point + 3);
    const bool half = rest == QLatin1String("5");
    if (rest.at(0) > QLatin1Char('5') || (rest.at(0) == QLatin1Char('5') && !half)
        || (half && cents % 2 == 1))
        ++cents;
    if (cents == 0)
        return 0.0;
    // Dividing an exact whole number gives the double nearest to the decimal amount.
    return std::copysign(double(cents) / 100.0, value);
}

KeyOutcome TutarTusKontrol(const BoxState &box, QChar key, const Region &region)
{
    KeyOutcome out;
    if (key == EnterKey) {
        out.keep = false;
        out.focusNext = true;
        return out;
    }

    const QString &text = box.text;
    const bool allowed = key == BackspaceKey || isAsciiDigit(key) || key == region.decimal;
    if (allowed && text.isEmpty())
        return out;

    const qsizetype start = box.selectionLength > 0 ? box.selectionStart : box.caret;
    const qsizetype after =
        qMax<qsizetype>(0, text.size() - qBound<qsizetype>(0, start, text.size())
                               - qMax(0, box.selectionLength));
    if (!allowed) {
        out.keep = false;
        return out;
    }

    const qsizetype mark = text.indexOf(region.decimal);
    // Two decimals present: only Backspace still acts. One decimal mark at most.
    if (mark >= 0 && text.size() == mark + 3 && key != BackspaceKey) {
        out.keep = false;
        return out;
    }
    if (key == region.decimal && mark >= 0) {
        out.keep = false;
        return out;
    }
    if (mark >= 0 || key == region.decimal)
        return out;

    // Regroup the digits by threes from the right, as they will stand once the key has acted
    // at the end of the text: one digit shorter for Backspace, one longer for a digit.
    bool ok = false;
    const double value = SayiyaCevir(text, &ok, region);
    if (!ok || std::fabs(value) >= 1e15)
        return out; // pasted text that is no amount, or too long to group: left as it is
    QString grouped = plain(value, region);
    const qsizetype length = grouped.size();
    const QChar thousands = thousandsMark(region);
    if (key == BackspaceKey) {
        for (qsizetype b = 1; b <= length - 2; ++b) {
            if (b % 3 == 0)
                grouped.insert(length - b - 1, thousands);
        }
    } else {
        for (qsizetype i = 1; i <= length; ++i) {
            if (i % 3 == 0)
                grouped.insert(length + 1 - i, thousands);
        }
    }
    out.replaceText = true;
    out.text = grouped;
    out.caret = int(qBound<qsizetype>(0, grouped.size() - after, grouped.size()));
    return out;
}

Completion TarihTamamla(const QString &text, const Region &region)
{
    Completion out;
    out.text = text;
    if (!(numberIn(text, region) > 0))
        return out;

    const QString zero = QStringLiteral("0");
    QString day = text.mid(0, 2);
    const double dayNumber = numberIn(day, region);
    if (dayNumber < 10)
        day = zero + plain(dayNumber, region);

    QString month = text.mid(3, 2);
    const double monthNumber = numberIn(month, region);
    if (plain(monthNumber, region).size() < 2)
        month = zero + plain(monthNumber, region);

    // A year typed short is completed step by step: 8 -> 2008, 99 -> 2099, 998 -> 1998.
    QString year = text.mid(6, 4);
    double yearNumber = numberIn(year, region);
    if (plain(yearNumber, region).size() == 1 && yearNumber > 0)
        year = QStringLiteral("200") + plain(yearNumber, region);
    yearNumber = numberIn(year, region);
    if (plain(yearNumber, region).size() == 2)
        year = QStringLiteral("20") + plain(yearNumber, region);
    yearNumber = numberIn(year, region);
    if (plain(yearNumber, region).size() == 3)
        year = QStringLiteral("1") + plain(yearNumber, region);
    yearNumber = numberIn(year, region);

    const QString completed = day + region.date + month + region.date + year;
    if (within(dayNumber, 1, 31) && within(monthNumber, 1, 12)
        && within(yearNumber, 1905, 2999)) {
        out.text = completed;
        return out;
    }
    out.ok = false;
    out.text = QString();
    out.message = QLatin1Char('"') + completed + QStringLiteral("\" tarih girişiniz uygun değil!");
    return out;
}

Completion SaatTamamla(const QString &text, const Region &region, const QString &resetText)
{
    Completion out;
    out.text = text;
    if (!(numberIn(text, region) > 0))
        return out;

    QString hour = text.mid(0, 2);
    const double hourNumber = numberIn(hour, region);
    if (hourNumber < 10)
        hour = QLatin1Char('0') + plain(hourNumber, region);

    QString minute = text.mid(3, 2);
    const double minuteNumber = numberIn(minute, region);
    if (minuteNumber < 10) {
        minute = minuteNumber > 0 ? QLatin1Char('0') + plain(minuteNumber, region)
                                  : QStringLiteral("00");
    }

    const QString completed = hour + region.time + minute;
    if (within(hourNumber, 1, 23) && within(minuteNumber, 0, 59)) {
        out.text = completed;
        return out;
    }
    out.ok = false;
    out.text = resetText;
    out.message = QLatin1Char('"') + completed + QStringLiteral("\" saat girişiniz uygun değil!");
    return out;
}

bool RakamTusKontrol(QChar key)
{
    return key == BackspaceKey || key == EnterKey || isAsciiDigit(key);
}

QChar KucukHarfTr(QChar c)
{
    switch (c.unicode()) {
    case u'I': return QChar(u'ı');
    case u'İ': return QChar(u'i');
    case u'Ç': return QChar(u'ç');
    case u'Ğ': return QChar(u'ğ');
    case u'Ö': return QChar(u'ö');
    case u'Ü': return QChar(u'ü');
    case u'Ş': return QChar(u'ş');
    default:
        return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(char16_t(c.unicode() + 32))
                                                              : c;
    }
}

bool isBlankOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

QString KucukHarfTr(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;

    QString out(end - begin, Qt::Uninitialized);
    QChar *to = out.data();
    for (qsizetype i = begin; i < end; ++i)
        *to++ = KucukHarfTr(text.at(i));
    return out;
}

QChar IlkHarfBuyuk(const QString &text, int caret, QChar key)
{
    const qsizetype at = qBound(qsizetype(0), qsizetype(caret), text.size());
    if (at > 0 && text.at(at - 1) != QLatin1Char(' '))
        return key;
    switch (key.unicode()) {
    case u'i': return QChar(u'İ');
    case u'ı': return QChar(u'I');
    case u'ç': return QChar(u'Ç');
    case u'ğ': return QChar(u'Ğ');
    case u'ö': return QChar(u'Ö');
    case u'ü': return QChar(u'Ü');
    case u'ş': return QChar(u'Ş');
    default:
        if (key >= QLatin1Char('a') && key <= QLatin1Char('z'))
            return QChar(char16_t(key.unicode() - 32));
        return key;
    }
}

namespace {

// A part of a box's text as a whole number: digits only, else -1.
int boxNumber(const QString &part)
{
    if (part.isEmpty())
        return -1;
    for (const QChar c : part)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    return part.toInt();
}

} // namespace

QDate boxDate(const QString &text)
{
    const int day = boxNumber(text.mid(0, 2));
    const int month = boxNumber(text.mid(3, 2));
    const int year = boxNumber(text.mid(6, 4));
    if (day < 0 || month < 0 || year < 0)
        return QDate();
    return QDate(year, month, day);
}

QTime boxTime(const QString &text)
{
    const int hour = boxNumber(text.mid(0, 2));
    const int minute = boxNumber(text.mid(3, 2));
    if (hour < 0 || minute < 0)
        return QTime();
    return QTime(hour, minute, 0);
}

} // namespace lumkar
