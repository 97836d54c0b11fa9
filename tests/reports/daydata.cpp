#include "daydata.h"

#include "data/values.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace lumkar::test {

namespace {

enum Kind { Waiting, Held, Cancelled };

QVariant orNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

DayData::DayData()
{
    m_database = std::make_unique<Database>(m_dir.path());
    if (!m_database->open())
        qWarning("database: %s", qPrintable(m_database->errorText()));
}

void DayData::add(const Appointment &a, const QDate &date)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral(
        "INSERT INTO randevu (adi, soyadi, RKime, Rkimeadsoyad, randevutarihi, randevusaati, "
        "paketadi, islem_tutari, telefonu, telefonu2, ceptel, adresi, randevuyualan, "
        "gorusmekodu, iptalkodu, iptalnedeni) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    q.addBindValue(a.adi);
    q.addBindValue(a.soyadi);
    q.addBindValue(a.owner);
    q.addBindValue(a.ownerName);
    q.addBindValue(values::toDatabase(date, FieldType::DateTime));
    q.addBindValue(values::toDatabase(a.time, FieldType::DateTime));
    q.addBindValue(a.paket);
    q.addBindValue(a.tutar);
    q.addBindValue(orNull(a.telefon));
    q.addBindValue(orNull(a.telefon2));
    q.addBindValue(orNull(a.ceptel));
    q.addBindValue(orNull(a.adres));
    q.addBindValue(orNull(a.alan));
    q.addBindValue(a.held ? QVariant(7) : QVariant());
    q.addBindValue(a.cancelled ? QVariant(3) : QVariant());
    q.addBindValue(orNull(a.iptalNedeni));
    if (!q.exec())
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
}

void DayData::addPerson(const QString &code, const QString &adi, const QString &soyadi,
                        const QVariant &address, const QString &phone)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral(
        "INSERT INTO siciltablo (sicil_kodu, adi, soyadi, isadresi, tel1) VALUES (?,?,?,?,?)"));
    q.addBindValue(code);
    q.addBindValue(adi);
    q.addBindValue(soyadi);
    q.addBindValue(address);
    q.addBindValue(phone);
    if (!q.exec())
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
}

std::unique_ptr<DataSet> DayData::open(std::unique_ptr<DataSet> set, bool allUsers,
                                       const QString &user, int kind)
{
    const QDate day = DayData::day();
    set->setFilter([=](const Record &r) {
        if (r.value(QStringLiteral("randevutarihi")).toDateTime().date() != day)
            return false;
        if (!allUsers && r.text(QStringLiteral("RKime")) != user)
            return false;
        switch (kind) {
        case Waiting:
            return r.isNull(QStringLiteral("gorusmekodu"))
                && r.isNull(QStringLiteral("iptalkodu"));
        case Held: return !r.isNull(QStringLiteral("gorusmekodu"));
        default: return !r.isNull(QStringLiteral("iptalkodu"));
        }
    });
    set->setFiltered(true);
    if (!set->open())
        QTest::qFail(qPrintable(set->lastError().text()), __FILE__, __LINE__);
    return set;
}

std::unique_ptr<DataSet> DayData::waiting(bool allUsers, const QString &user)
{
    auto set = std::make_unique<DataSet>(db());
    set->setTable(QStringLiteral("randevu"), {QStringLiteral("randevusaati")});
    return open(std::move(set), allUsers, user, Waiting);
}

std::unique_ptr<DataSet> DayData::held(bool allUsers, const QString &user)
{
    auto set = std::make_unique<DataSet>(db());
    set->setQuery(QStringLiteral(
        "select konu,gorusmekodu,randevusaati,randevutarihi,adi,soyadi,telefonu,ceptel,RKime,"
        "islem_tutari,gorustudiyenkodu,iptaldiyenkodu,Rkimeadsoyad,adresi,paketkodu,paketadi,"
        "pakettutari from randevu order by randevusaati ASC"));
    return open(std::move(set), allUsers, user, Held);
}

std::unique_ptr<DataSet> DayData::cancelled(bool allUsers, const QString &user)
{
    auto set = std::make_unique<DataSet>(db());
    set->setQuery(QStringLiteral(
        "select adi,soyadi,randevusaati,randevutarihi,iptalnedeni,konu,iptalkodu,RKime,"
        "islem_tutari,gorustudiyenkodu,iptaldiyenkodu,Rkimeadsoyad,adresi,paketkodu,paketadi,"
        "pakettutari from randevu order by randevusaati ASC"));
    return open(std::move(set), allUsers, user, Cancelled);
}

std::unique_ptr<DataSet> DayData::persons()
{
    auto set = std::make_unique<DataSet>(db());
    set->setQuery(QStringLiteral("select * from siciltablo order by sicil_kodu"));
    if (!set->open())
        QTest::qFail(qPrintable(set->lastError().text()), __FILE__, __LINE__);
    return set;
}

} // namespace lumkar::test
