#include "appointments/appointmentstate.h"

#include "data/schema.h"
#include "data/tablewriter.h"

namespace lumkar {

namespace {

// A waiting appointment: neither held (no visit number, or one below 1) nor cancelled.
const QString kWaiting
    = QStringLiteral("(gorusmekodu IS NULL OR gorusmekodu<1) AND iptalkodu IS NULL");
const QString kNoVisit = QStringLiteral("gorusmekodu IS NULL OR gorusmekodu<1");
const int kMarker = schema::appointmentMarker();
const QString kTable = QStringLiteral("randevu");
const QString kKey = QStringLiteral("rid");

StateResult outcome(TableWriter &writer, int rows, StateChange none)
{
    if (rows < 0)
        return {StateChange::Failed, writer.errorText()};
    return {rows > 0 ? StateChange::Done : none, {}};
}

} // namespace

QString StateResult::message() const
{
    switch (change) {
    case StateChange::Done:
        return {};
    case StateChange::NotWaiting:
        return QStringLiteral("Bu randevu artık bekleyen randevular arasında değil: başka bir "
                              "yerden görüşüldü, iptal edildi ya da silindi. Randevuda bir "
                              "değişiklik yapılmadı.");
    case StateChange::HasVisit:
        return QStringLiteral("Bu randevunun görüşme kaydı var! Silmeden önce görüşme kaydını "
                              "siliniz!");
    case StateChange::Gone:
        return QStringLiteral("Bu randevu başka bir yerden silinmiş.");
    case StateChange::Changed:
    case StateChange::Failed:
        break;
    }
    return error;
}

StateResult markAppointmentHeld(QSqlDatabase db, qlonglong rid, const QString &user)
{
    TableWriter writer(db);
    const int rows = writer.updateWhere(
        kTable, kKey, rid, kWaiting, {},
        {{QStringLiteral("gorusmekodu"), kMarker}, {QStringLiteral("gorustudiyenkodu"), user}});
    return outcome(writer, rows, StateChange::NotWaiting);
}

StateResult cancelWaitingAppointment(QSqlDatabase db, qlonglong rid, const QString &user,
                                     const QString &reason)
{
    TableWriter writer(db);
    const int rows = writer.updateWhere(
        kTable, kKey, rid, kWaiting, {},
        {{QStringLiteral("iptalkodu"), kMarker},
         {QStringLiteral("iptaldiyenkodu"), user},
         {QStringLiteral("iptalnedeni"), reason.isEmpty() ? QVariant() : QVariant(reason)}});
    return outcome(writer, rows, StateChange::NotWaiting);
}

StateResult deleteAppointment(QSqlDatabase db, qlonglong rid, const RowValues &asRead)
{
    TableWriter writer(db);
    switch (writer.removeAsRead(kTable, kKey, rid, asRead, kNoVisit)) {
    case TableWriter::AsRead::Written:
        return {StateChange::Done, {}};
    case TableWriter::AsRead::Refused:
        return {StateChange::HasVisit, {}};
    case TableWriter::AsRead::Gone:
        return {StateChange::Gone, {}};
    case TableWriter::AsRead::Changed:
        // A visit recorded meanwhile is told as such.
        if (valueOf(writer.storedNow(), QStringLiteral("gorusmekodu")).toLongLong() >= 1)
            return {StateChange::HasVisit, {}};
        return {StateChange::Changed, writer.errorText()};
    case TableWriter::AsRead::Failed:
        break;
    }
    return {StateChange::Failed, writer.errorText()};
}

} // namespace lumkar
