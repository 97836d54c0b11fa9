#include "appointments/reminders.h"

#include "appointments/appointmentlist.h"
#include "data/database.h"
#include "data/formats.h"
#include "data/tablewriter.h"
#include "data/transaction.h"
#include "data/values.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

const QString kLog = QStringLiteral("hatirlatma");

// A field name as compared: upper case, every i (dotted, dotless, either case) as "I".
QString fieldKey(const QString &name)
{
    QString out;
    for (const QChar c : name.trimmed()) {
        if (c == QLatin1Char('i') || c == QChar(0x0131) || c == QChar(0x0130))
            out += QLatin1Char('I');
        else
            out += c.toUpper();
    }
    return out;
}

const QRegularExpression &bracketed()
{
    static const QRegularExpression field(QStringLiteral("\\[([^\\[\\]\\r\\n]*)\\]"));
    return field;
}

// The value of a field for an appointment; false when the name is no field.
bool fieldValue(const QString &name, const ReminderAppointment &a, QString &value)
{
    const QString key = fieldKey(name);
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    if (key == QLatin1String("AD"))
        value = a.adi;
    else if (key == QLatin1String("SOYAD"))
        value = a.soyadi;
    else if (key == QLatin1String("TARIH"))
        value = formats::date(a.day);
    else if (key == QStringLiteral("GÜN"))
        value = a.day.isValid() ? turkish.dayName(a.day.dayOfWeek()) : QString();
    else if (key == QLatin1String("SAAT"))
        value = a.time.isValid() ? a.time.toString(QStringLiteral("HH:mm")) : QString();
    else if (key == QLatin1String("PAKET"))
        value = a.paketadi;
    else if (key == QLatin1String("PERSONEL"))
        value = a.ownerName;
    else
        return false;
    return true;
}

// An address as the log keeps it.
QString addressKey(const QString &address)
{
    return address.trimmed().toLower();
}

QVariant stored(const QString &column, const QVariant &value)
{
    return values::toDatabase(value, schema::typeOfColumn(kLog, column));
}

// The columns that name one reminder, in the order of `keyCondition()` after `randevuno`.
QVariantList keyValues(const ReminderAppointment &a)
{
    return {stored(QStringLiteral("adres"), addressKey(a.email)),
            stored(QStringLiteral("randevutarihi"), a.day),
            stored(QStringLiteral("randevusaati"), a.time)};
}

QString keyCondition()
{
    return QStringLiteral("adres = ? AND randevutarihi = ? AND randevusaati = ?");
}

bool failRead(QSqlDatabase &db, const QSqlQuery &q)
{
    if (Database *database = Database::of(db))
        database->reportFailure(q.lastError());
    return false;
}

} // namespace

QString reminderFieldsHelp()
{
    return QStringLiteral("Alanlar: [AD] adı, [SOYAD] soyadı, [TARİH] randevu günü, [GÜN] "
                          "haftanın günü, [SAAT] randevu saati, [PAKET] paketin adı, "
                          "[PERSONEL] randevunun verildiği kullanıcı.");
}

QString reminderText(const QString &pattern, const ReminderAppointment &appointment)
{
    QString out;
    qsizetype from = 0;
    auto it = bracketed().globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString value;
        out += pattern.mid(from, m.capturedStart() - from);
        out += fieldValue(m.captured(1), appointment, value) ? value : m.captured(0);
        from = m.capturedEnd();
    }
    return out + pattern.mid(from);
}

QStringList unknownFields(const QString &pattern)
{
    QStringList out;
    const ReminderAppointment none;
    auto it = bracketed().globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString value;
        if (!fieldValue(m.captured(1), none, value) && !out.contains(m.captured(0)))
            out << m.captured(0);
    }
    return out;
}

QString defaultReminderSubject()
{
    return QStringLiteral("Randevu Hatırlatması: [TARİH] [SAAT]");
}

QString defaultReminderText()
{
    return QStringLiteral("Sayın [AD] [SOYAD], [TARİH] [GÜN] günü saat [SAAT] randevunuzu "
                          "hatırlatırız. Paket: [PAKET]");
}

bool isMailAddress(const QString &address)
{
    static const QRegularExpression mail(QStringLiteral(
        "^[^@\\s<>(),;:\"\\[\\]\\\\]+@[^@\\s<>(),;:\"\\[\\]\\\\.]+(\\.[^@\\s<>(),;:\"\\[\\]\\\\.]+)+$"));
    return mail.match(address.trimmed()).hasMatch();
}

QString reminderStateText(const ReminderRow &row)
{
    const QString when = row.when.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    switch (row.state) {
    case ReminderState::ToSend:
        return QStringLiteral("Gönderilecek");
    case ReminderState::NoAddress:
        return QStringLiteral("E-posta adresi yok");
    case ReminderState::BadAddress:
        return QStringLiteral("E-posta adresi geçersiz");
    case ReminderState::Sent:
        return QStringLiteral("Gönderildi (%1)").arg(when);
    case ReminderState::Interrupted:
        return QStringLiteral("Gönderimi yarım kaldı (%1); yeniden gönderilmez").arg(when);
    case ReminderState::Failed:
        return QStringLiteral("Gönderilemedi: ") + row.cause;
    }
    return QString();
}

bool readReminders(QSqlDatabase db, const QDate &day, bool oneUser, const QString &user,
                   QVector<ReminderRow> &rows)
{
    AppointmentListFilter filter;
    filter.from = day;
    filter.to = day;
    filter.mode = ListMode::Waiting;
    filter.oneUser = oneUser;
    filter.user = user;
    // The register's columns, of the person's first record.
    const auto person = [](const char *column) {
        return QStringLiteral("(SELECT s.%1 FROM siciltablo s WHERE s.sicil_kodu = "
                              "randevu.sicil_kodu ORDER BY s.hid LIMIT 1)")
            .arg(QLatin1String(column));
    };
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT rid, adi, soyadi, randevusaati, paketadi, RKime, "
                             "Rkimeadsoyad, ceptel, %1, %2 FROM randevu WHERE %3 "
                             "ORDER BY randevusaati, rid")
                  .arg(person("ceptel"), person("email"), filter.sqlCondition()));
    for (const QVariant &v : filter.sqlValues())
        q.addBindValue(v);
    if (!q.exec())
        return failRead(db, q);
    QVector<ReminderRow> read;
    while (q.next()) {
        ReminderRow row;
        ReminderAppointment &a = row.appointment;
        a.rid = q.value(0).toLongLong();
        a.adi = q.value(1).toString();
        a.soyadi = q.value(2).toString();
        a.day = day;
        a.time = values::fromDatabase(q.value(3), FieldType::DateTime).toDateTime().time();
        a.paketadi = q.value(4).toString();
        a.owner = q.value(5).toString();
        a.ownerName = q.value(6).toString();
        const QString registered = q.value(8).toString().trimmed();
        a.ceptel = registered.isEmpty() ? q.value(7).toString().trimmed() : registered;
        a.email = q.value(9).toString().trimmed();
        row.state = a.email.isEmpty()        ? ReminderState::NoAddress
                    : isMailAddress(a.email) ? ReminderState::ToSend
                                             : ReminderState::BadAddress;
        read << row;
    }
    if (q.lastError().isValid())
        return failRead(db, q);

    // What the log holds for the day's reminders.
    QSqlQuery log(db);
    log.setForwardOnly(true);
    log.prepare(QStringLiteral("SELECT randevuno, adres, randevusaati, gonderim, gonderildi "
                               "FROM hatirlatma WHERE randevutarihi = ?"));
    log.addBindValue(values::dayKey(day));
    if (!log.exec())
        return failRead(db, log);
    while (log.next()) {
        const qlonglong rid = log.value(0).toLongLong();
        const QString address = log.value(1).toString();
        const QTime time
            = values::fromDatabase(log.value(2), FieldType::DateTime).toDateTime().time();
        for (ReminderRow &row : read) {
            const ReminderAppointment &a = row.appointment;
            if (row.state != ReminderState::ToSend || a.rid != rid
                || addressKey(a.email) != address || a.time != time)
                continue;
            row.when = values::fromDatabase(log.value(3), FieldType::DateTime).toDateTime();
            row.state = log.value(4).toString() == QLatin1String("E")
                ? ReminderState::Sent
                : ReminderState::Interrupted;
        }
    }
    if (log.lastError().isValid())
        return failRead(db, log);
    rows = read;
    return true;
}

ReminderLog::Claim ReminderLog::claim(const ReminderAppointment &appointment,
                                      const QString &sender, const QDateTime &now,
                                      ReminderRow &previous)
{
    m_error.clear();
    // Whether the log holds the reminder, and as what; false when it could not be read.
    const auto logged = [&](bool &found) {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT gonderim, gonderildi FROM hatirlatma WHERE "
                                 "randevuno = ? AND ")
                  + keyCondition());
        q.addBindValue(appointment.rid);
        for (const QVariant &v : keyValues(appointment))
            q.addBindValue(v);
        if (!q.exec()) {
            m_error = QStringLiteral("Hatırlatma kaydı okunamadı. %1")
                          .arg(failureText(q.lastError()));
            return false;
        }
        found = q.next();
        if (found) {
            previous.when = values::fromDatabase(q.value(0), FieldType::DateTime).toDateTime();
            previous.state = q.value(1).toString() == QLatin1String("E")
                ? ReminderState::Sent
                : ReminderState::Interrupted;
        }
        return true;
    };
    bool found = false;
    {
        Transaction transaction(m_db);
        if (!transaction.isActive()) {
            m_error = transaction.errorText();
            return Claim::Failed;
        }
        if (!logged(found))
            return Claim::Failed;
        if (found)
            return Claim::AlreadyThere;
        TableWriter writer(m_db);
        if (writer.insert(kLog, {{QStringLiteral("randevuno"), appointment.rid},
                                 {QStringLiteral("adres"), addressKey(appointment.email)},
                                 {QStringLiteral("randevutarihi"), appointment.day},
                                 {QStringLiteral("randevusaati"), appointment.time},
                                 {QStringLiteral("gonderim"), now},
                                 {QStringLiteral("gonderen"), sender}})
                >= 0
            && transaction.commit())
            return Claim::Claimed;
        m_error = writer.ok() ? transaction.errorText() : writer.errorText();
    }
    // Another desk may have begun the same reminder a moment before: its row is there now.
    const QString refused = m_error;
    if (logged(found) && found) {
        m_error.clear();
        return Claim::AlreadyThere;
    }
    m_error = refused;
    return Claim::Failed;
}

bool ReminderLog::confirm(const ReminderAppointment &appointment, const QDateTime &now)
{
    TableWriter writer(m_db);
    const bool done = writer.updateWhere(kLog, QStringLiteral("randevuno"), appointment.rid,
                                         keyCondition(), keyValues(appointment),
                                         {{QStringLiteral("gonderim"), now},
                                          {QStringLiteral("gonderildi"), QStringLiteral("E")}})
        == 1;
    m_error = writer.ok() || done ? QString() : writer.errorText();
    if (!done && m_error.isEmpty())
        m_error = QStringLiteral("Hatırlatma kaydı bulunamadı; gönderildiği yazılamadı.");
    return done;
}

bool ReminderLog::release(const ReminderAppointment &appointment)
{
    TableWriter writer(m_db);
    const bool done = writer.removeWhere(kLog, QStringLiteral("randevuno"), appointment.rid,
                                         keyCondition(), keyValues(appointment))
        >= 0;
    m_error = done ? QString() : writer.errorText();
    return done;
}

} // namespace lumkar
