#include "accounts/collection.h"

#include "accounts/dayclose.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

QString accountDate(const QDate &day)
{
    if (!day.isValid())
        return QString();
    const QString year = day.year() < 100 ? s("20") + QString::number(day.year())
                                          : QString::number(day.year());
    return QStringLiteral("%1.%2.%3")
        .arg(day.day(), 2, 10, QLatin1Char('0'))
        .arg(day.month(), 2, 10, QLatin1Char('0'))
        .arg(year);
}

QString collectionQuestion(const CollectionEntry &e, const QVariant &rowDate)
{
    QString when;
    if (!rowDate.isNull()) {
        const QDateTime moment = rowDate.toDateTime();
        when = moment.date().toString(s("dd.MM.yyyy"));
        if (moment.time() != QTime(0, 0))
            when += QLatin1Char(' ') + moment.time().toString(s("HH:mm:ss"));
    }
    // The amount in its shortest form with the decimal comma, no thousands separator.
    QString amount = QString::number(e.amount, 'g', 15);
    amount.replace(QLatin1Char('.'), QLatin1Char(','));
    return e.adi + e.soyadi + s(" na ") + when + s(" tarihli işlemine istinaden ")
        + accountDate(e.islemTarihi) + s(" tarihinde ") + accountDate(e.islemVadesi)
        + s(" işlem vadeli ") + amount
        + s(" tutarında tahsilat girilecektir. Devam edilsin mi?");
}

QString collectionBook(const QString &odemesekli)
{
    return odemesekli == s("Kredi Kartı") ? s("kredikart") : s("kasa");
}

RowValues collectionAccountRow(const CollectionEntry &e)
{
    return {{s("adi"), e.adi},
            {s("soyadi"), e.soyadi},
            {s("sicilkodu"), e.sicilkodu},
            {s("alacak"), e.amount},
            {s("aciklama"), e.aciklama},
            {s("gorusen"), e.userName},
            {s("tarih"), e.islemTarihi},
            {s("islem_vadesi"), e.islemVadesi},
            {s("odemesekli"), e.odemesekli}};
}

RowValues collectionMoneyRow(const CollectionEntry &e, qlonglong accountLine)
{
    return {{s("tahsilatno"), accountLine},
            {s("gorusen_kodu"), e.userCode},
            {s("tarih"), e.islemTarihi},
            {s("gorusen"), e.userName},
            {s("borc"), e.amount},
            {s("aciklama"), e.aciklama}};
}

CollectionResult writeCollection(QSqlDatabase db, const CollectionEntry &e,
                                 const QDate &acceptedClosedDay)
{
    qlonglong line = -1;
    CollectionResult result = guardedBookWrite<CollectionResult>(
        db, acceptedClosedDay,
        [&e](QVector<BookLine> &lines, CollectionResult &) {
            lines.append({collectionBook(e.odemesekli), e.userCode, e.islemTarihi});
            return true;
        },
        [&](TableWriter &writer) {
            line = writer.insert(s("cari"), collectionAccountRow(e));
            return line >= 0
                && writer.insert(collectionBook(e.odemesekli), collectionMoneyRow(e, line)) >= 0;
        });
    if (result.ok)
        result.accountLine = line;
    return result;
}

} // namespace lumkar
