#include "data/values.h"

namespace lumkar::values {

namespace {
const QString kStoredFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QVariant toDatabase(const QVariant &value, FieldType type)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (type) {
    case FieldType::DateTime: {
        QDateTime dt;
        if (value.metaType().id() == QMetaType::QDate)
            dt = QDateTime(value.toDate(), QTime(0, 0));
        else if (value.metaType().id() == QMetaType::QTime)
            dt = timeOfDay(value.toTime());
        else if (value.metaType().id() == QMetaType::QDateTime)
            dt = value.toDateTime();
        else
            dt = QDateTime::fromString(value.toString(), kStoredFormat);
        if (!dt.isValid())
            return QVariant();
        return dt.toString(kStoredFormat);
    }
    case FieldType::AutoNumber:
    case FieldType::Long:
    case FieldType::Short: {
        if (value.metaType().id() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        return ok ? QVariant(n) : QVariant();
    }
    case FieldType::Double: {
        if (value.metaType().id() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case FieldType::Text:
    case FieldType::Memo:
        return value.toString();
    }
    return value;
}

QVariant fromDatabase(const QVariant &stored, FieldType type)
{
    if (stored.isNull())
        return QVariant();
    switch (type) {
    case FieldType::DateTime: {
        // A server's driver gives its date-times read already: taken as they are, not written
        // out and read again (each reading asks the time zone).
        if (stored.metaType().id() == QMetaType::QDateTime)
            return stored.toDateTime().isValid() ? stored : QVariant();
        const QString s = stored.toString();
        QDateTime dt = QDateTime::fromString(s, kStoredFormat);
        if (!dt.isValid())
            dt = QDateTime::fromString(s, Qt::ISODate);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    case FieldType::AutoNumber:
    case FieldType::Long:
    case FieldType::Short:
        return stored.toLongLong();
    case FieldType::Double:
        return stored.toDouble();
    case FieldType::Text:
    case FieldType::Memo:
        return stored.toString();
    }
    return stored;
}

QString dayKey(const QDate &day)
{
    return QDateTime(day, QTime(0, 0)).toString(kStoredFormat);
}

QDateTime timeOfDay(const QTime &time)
{
    return QDateTime(timeBaseDate(), QTime(time.hour(), time.minute(), time.second()));
}

} // namespace lumkar::values
