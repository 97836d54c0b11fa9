#include "visits/visitposting.h"

#include "accounts/dayclose.h"
#include "data/entryrules.h"
#include "data/schema.h"
#include "data/transaction.h"

namespace lumkar {

namespace {

const QString kVisits = QStringLiteral("gorusmeler");
const QString kAccount = QStringLiteral("cari");
const QString kCash = QStringLiteral("kasa");
const QString kCard = QStringLiteral("kredikart");
const QString kVisitLink = QStringLiteral("gorusme_no");
const QString kAppointments = QStringLiteral("randevu");
const QString kAppointmentLink = QStringLiteral("gorusmekodu");

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

QString visitRefusal(const QString &personCode, const QString &dateText, const QString &timeText,
                     const QString &heldBy)
{
    if (personCode.isEmpty() || SayiyaCevir(dateText, nullptr) < 1905
        || SayiyaCevir(timeText, nullptr) < 1 || heldBy.isEmpty())
        return s("Girişleriniz eksik! Kayıt yapamazsınız!");
    return QString();
}

RowValues visitRow(const VisitEntry &e)
{
    return {{s("sicilkodu"), e.sicilkodu},
            {s("adi"), e.adi},
            {s("soyadi"), e.soyadi},
            {s("tarih"), e.tarih},
            {s("saat"), e.saat},
            {s("netice"), e.netice},
            {s("adresi"), e.adresi},
            {s("islem_borcu"), e.islemBorcu},
            {s("tahsiledilen"), e.tahsiledilen},
            {s("randevuno"), e.randevuno},
            {s("randevuyualan"), e.randevuyualan},
            {s("RKime"), e.rkime},
            {s("gorusenadsoyad"), e.gorusenAdSoyad},
            {s("paketkodu"), e.paketkodu},
            {s("paketadi"), e.paketadi},
            {s("paketprim"), e.paketprim},
            {s("odemesekli"), e.odemesekli}};
}

VisitLines visitLines(const VisitEntry &e, qlonglong visitNumber)
{
    VisitLines lines;
    if (e.tahsiledilen > 0 && (e.odemesekli == cashPayment() || e.odemesekli == cardPayment())) {
        lines.moneyTable = e.odemesekli == cashPayment() ? kCash : kCard;
        lines.money = {{kVisitLink, visitNumber},
                       {s("gorusen_kodu"), e.rkime},
                       {s("gorusen"), e.gorusenAdSoyad},
                       {s("borc"), e.tahsiledilen},
                       {s("paketkodu"), e.paketkodu.isNull() ? QVariant(0) : e.paketkodu},
                       {s("paketadi"), e.paketadi},
                       // No part of the program gives a visit a package price.
                       {s("pakettutari"), 0.0},
                       {s("paketprim"), e.paketprim},
                       {s("aciklama"),
                        QString(e.paketadi + s(" - ") + e.adi + QLatin1Char(' ') + e.soyadi)},
                       {s("tarih"), e.tarih}};
    }
    lines.account = {{s("sicilkodu"), e.sicilkodu},
                     {s("adi"), e.adi},
                     {s("soyadi"), e.soyadi},
                     {s("tarih"), e.tarih},
                     {s("islem_vadesi"), e.vade.isValid() ? e.vade : e.tarih},
                     {s("borc"), e.islemBorcu},
                     {s("alacak"), e.tahsiledilen},
                     {s("randevuno"), e.randevuno},
                     {s("randevuyualan"), e.randevuyualan},
                     {s("gorusen"), e.gorusenAdSoyad},
                     {kVisitLink, visitNumber},
                     {s("aciklama"), visitAccountText()},
                     {s("paketkodu"), e.paketkodu},
                     {s("paketadi"), e.paketadi},
                     {s("paketprim"), e.paketprim},
                     {s("odemesekli"), e.odemesekli}};
    lines.appointment = {{kAppointmentLink, visitNumber},
                         {s("RKime"), e.rkime},
                         {s("Rkimeadsoyad"), e.gorusenAdSoyad}};
    return lines;
}

VisitRemoval visitRemoval(qlonglong visitNumber, const QVariant &randevuno)
{
    VisitRemoval removal;
    removal.appointment = randevuno;
    // In the order a save writes them (the visit, its book lines, its account line, then the
    // appointment): two desks, one saving a visit and one deleting another, then never hold
    // each what the other waits for.
    removal.deletions = {{kVisits, s("mid"), visitNumber},
                         {kCash, kVisitLink, visitNumber},
                         {kCard, kVisitLink, visitNumber},
                         {kAccount, kVisitLink, visitNumber}};
    return removal;
}

namespace {

// The line of `table` that belongs to the visit: changed when there is one, else added.
bool putLine(TableWriter &writer, const QString &table, bool changing, qlonglong visitNumber,
             const RowValues &row)
{
    const QVariant key = changing ? writer.findKey(table, kVisitLink, visitNumber) : QVariant();
    if (!writer.ok())
        return false;
    if (key.isValid())
        return writer.update(table, schema::table(table)->key, key, row);
    return writer.insert(table, row) >= 0;
}

WriteResult failed(const QString &error)
{
    WriteResult result;
    result.error = error;
    return result;
}

// The visit was not as it was read (refused), or the write failed.
WriteResult notWritten(const TableWriter &writer, TableWriter::AsRead found)
{
    WriteResult result = failed(writer.errorText());
    result.refused = found != TableWriter::AsRead::Failed;
    return result;
}

// A closed day (or a failed read of the closed days) stopped the write.
WriteResult stopped(const ClosedDayGate &gate)
{
    WriteResult result = failed(gate.error);
    result.refused = gate.closedDay.isValid();
    result.closedDay = gate.closedDay;
    return result;
}

// The cash and card lines of visit `number` as they stand, and, when `after` is given, the
// line the save will leave: the closed days the write touches.
ClosedDayGate passVisitLines(QSqlDatabase db, qlonglong number, const VisitEntry *after,
                             const QDate &accepted)
{
    QVector<BookLine> lines;
    QString error;
    for (const QString &book : {kCash, kCard})
        if (number > 0 && !readBookLines(db, book, kVisitLink, number, lines, &error)) {
            ClosedDayGate gate;
            gate.error = error;
            return gate;
        }
    if (after) {
        const QString book = visitLines(*after, number).moneyTable;
        if (!book.isEmpty())
            lines.append({book, after->rkime, after->tarih});
    }
    return passClosedDays(db, lines, accepted);
}

// Links the appointment to visit `number` when it waits or holds that visit already. False
// on failure; `refused` set when the appointment is there but no longer waits.
bool linkAppointment(TableWriter &writer, const QVariant &rid, qlonglong number,
                     const RowValues &link, bool &refused)
{
    const int linked = writer.updateWhere(
        kAppointments, s("rid"), rid,
        s("(gorusmekodu IS NULL AND iptalkodu IS NULL) OR gorusmekodu = ?"), {number}, link);
    if (linked != 0)
        return linked > 0;
    refused = writer.findKey(kAppointments, s("rid"), rid).isValid();
    return writer.ok() && !refused;
}

} // namespace

QString appointmentNotWaitingText()
{
    return s("Bu randevu artık bekleyen bir randevu değil (görüşmesi kaydedilmiş ya da iptal "
             "edilmiş). Kayıt yapılmadı.");
}

WriteResult saveVisit(QSqlDatabase db, const VisitEntry &e, const QDate &acceptedClosedDay)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return failed(transaction.errorText());
    TableWriter writer(db);
    const bool changing = e.changing > 0;
    qlonglong number = e.changing;
    const ClosedDayGate gate = passVisitLines(db, changing ? number : 0, &e, acceptedClosedDay);
    if (!gate.passed)
        return stopped(gate);
    if (changing) {
        const TableWriter::AsRead found
            = writer.updateAsRead(kVisits, s("mid"), number, e.asRead, visitRow(e));
        if (found != TableWriter::AsRead::Written) {
            WriteResult result = notWritten(writer, found);
            if (found == TableWriter::AsRead::Changed)
                result.storedNow = writer.storedNow();
            return result;
        }
    } else {
        number = writer.insert(kVisits, visitRow(e));
        if (number < 0)
            return failed(writer.errorText());
    }
    const VisitLines lines = visitLines(e, number);
    for (const QString &table : {kCash, kCard}) {
        const bool ok = lines.moneyTable == table
            ? putLine(writer, table, changing, number, lines.money)
            : !changing || writer.remove(table, kVisitLink, number);
        if (!ok)
            return failed(writer.errorText());
    }
    if (!putLine(writer, kAccount, changing, number, lines.account))
        return failed(writer.errorText());
    bool refused = false;
    if (!e.randevuno.isNull()
        && !linkAppointment(writer, e.randevuno, number, lines.appointment, refused)) {
        WriteResult result = failed(refused ? appointmentNotWaitingText() : writer.errorText());
        result.refused = refused;
        return result;
    }
    if (!transaction.commit())
        return failed(transaction.errorText());
    WriteResult result;
    result.ok = true;
    result.visitNumber = number;
    result.written = visitRow(e);
    return result;
}

WriteResult deleteVisit(QSqlDatabase db, qlonglong visitNumber, const QVariant &randevuno,
                        const RowValues &asRead, const QDate &acceptedClosedDay)
{
    const VisitRemoval removal = visitRemoval(visitNumber, randevuno);
    Transaction transaction(db);
    if (!transaction.isActive())
        return failed(transaction.errorText());
    const ClosedDayGate gate = passVisitLines(db, visitNumber, nullptr, acceptedClosedDay);
    if (!gate.passed)
        return stopped(gate);
    TableWriter writer(db);
    for (const RowDeletion &d : removal.deletions) {
        if (d.table != kVisits) {
            if (!writer.remove(d.table, d.column, d.value))
                return failed(writer.errorText());
            continue;
        }
        // The visit itself goes only as it was read; else nothing of it goes.
        const TableWriter::AsRead found = writer.removeAsRead(d.table, d.column, d.value, asRead);
        if (found != TableWriter::AsRead::Written)
            return notWritten(writer, found);
    }
    if (!removal.appointment.isNull()
        && writer.updateWhere(kAppointments, s("rid"), removal.appointment,
                              s("gorusmekodu = ?"), {visitNumber},
                              {{kAppointmentLink, QVariant()}})
            < 0)
        return failed(writer.errorText());
    if (!transaction.commit())
        return failed(transaction.errorText());
    WriteResult result;
    result.ok = true;
    result.visitNumber = visitNumber;
    return result;
}

} // namespace lumkar
