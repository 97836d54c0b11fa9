#include "calendarreader.h"

namespace lumkar::test {

namespace {

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

CalendarReading readCalendar(const QByteArray &bytes)
{
    CalendarReading out;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        out.faults << QStringLiteral("byte-order mark");
    if (!bytes.endsWith("\r\n"))
        out.faults << QStringLiteral("last line without CR LF");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r'))
            out.faults << QStringLiteral("bare LF at octet %1").arg(i);
        if (bytes.at(i) == '\r' && (i + 1 == bytes.size() || bytes.at(i + 1) != '\n'))
            out.faults << QStringLiteral("bare CR at octet %1").arg(i);
    }
    QList<QByteArray> physical = bytes.split('\n');
    if (!physical.isEmpty() && physical.last().isEmpty())
        physical.removeLast();
    QStringList logical;
    QByteArray current;
    for (int number = 0; number < physical.size(); ++number) {
        QByteArray line = physical[number];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > 75)
            out.faults << QStringLiteral("line %1 has %2 octets").arg(number + 1).arg(line.size());
        if (!line.isEmpty() && isContinuationByte(line.at(line.startsWith(' ') ? 1 : 0)))
            out.faults << QStringLiteral("line %1 begins inside a letter").arg(number + 1);
        if (line.isEmpty())
            out.faults << QStringLiteral("line %1 is empty").arg(number + 1);
        if (line.startsWith(' ')) {
            if (number == 0)
                out.faults << QStringLiteral("the file begins with a continuation");
            current += line.mid(1);
            continue;
        }
        if (number > 0)
            logical << QString::fromUtf8(current);
        current = line;
    }
    if (!physical.isEmpty())
        logical << QString::fromUtf8(current);

    QHash<QString, QString> *event = nullptr;
    for (const QString &line : std::as_const(logical)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            out.faults << QStringLiteral("no property name: %1").arg(line);
            continue;
        }
        const CalendarProperty property { line.left(colon), line.mid(colon + 1) };
        out.properties.append(property);
        if (property.name == QLatin1String("BEGIN") && property.value == QLatin1String("VEVENT")) {
            out.events.append(QHash<QString, QString>());
            event = &out.events.last();
        } else if (property.name == QLatin1String("END")
            && property.value == QLatin1String("VEVENT")) {
            event = nullptr;
        } else if (event) {
            if (event->contains(property.name))
                out.faults << QStringLiteral("%1 twice in one event").arg(property.name);
            event->insert(property.name, property.value);
        }
    }
    return out;
}

bool isEscapedText(const QString &value)
{
    static const QString escapable = QStringLiteral("\\;,nN");
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char(';') || c == QLatin1Char(','))
            return false;
        if (c == QLatin1Char('\\')) {
            if (i + 1 == value.size() || !escapable.contains(value.at(i + 1)))
                return false;
            ++i;
        }
    }
    return true;
}

QString unescapeCalendarText(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            out += QLatin1Char('\n');
        else
            out += next;
    }
    return out;
}

} // namespace lumkar::test
