#include "data/deskchanges.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace lumkar {

namespace {

const QString kChannel = QStringLiteral("lumkar_degisiklik");

// The tables whose rows the day view, the lists, the planner and the books show.
const QStringList kToldTables { QStringLiteral("randevu"), QStringLiteral("gorusmeler"),
    QStringLiteral("cari"), QStringLiteral("kasa"), QStringLiteral("kredikart"),
    QStringLiteral("siciltablo"), QStringLiteral("genelnot"), QStringLiteral("gunluknot") };

} // namespace

QString OtherDesks::ensureNotices(QSqlDatabase &db)
{
    if (!db.driver()->hasFeature(QSqlDriver::EventNotifications)
        || db.driverName() != QLatin1String("QPSQL"))
        return QString();
    QSqlQuery q(db);
    // Made only where missing: making a trigger locks its table against the other desks.
    if (!q.exec(QStringLiteral("SELECT c.relname FROM pg_trigger t JOIN pg_class c ON "
                               "c.oid = t.tgrelid WHERE t.tgname = 'lumkar_haber' AND "
                               "c.relnamespace = current_schema()::regnamespace")))
        return q.lastError().text();
    QStringList missing = kToldTables;
    while (q.next())
        missing.removeAll(q.value(0).toString());
    if (missing.isEmpty())
        return QString();
    const QStringList statements { QStringLiteral(
        "CREATE OR REPLACE FUNCTION lumkar_haber() RETURNS trigger AS $$ BEGIN "
        "PERFORM pg_notify('%1', TG_TABLE_NAME); RETURN NULL; END $$ LANGUAGE plpgsql")
                                       .arg(kChannel) };
    QStringList all = statements;
    for (const QString &table : std::as_const(missing))
        all << QStringLiteral("CREATE TRIGGER lumkar_haber AFTER INSERT OR UPDATE OR DELETE ON "
                              "%1 FOR EACH STATEMENT EXECUTE FUNCTION lumkar_haber()")
                   .arg(table);
    for (const QString &sql : std::as_const(all))
        if (!q.exec(sql))
            return q.lastError().text();
    return QString();
}

void OtherDesks::listen(QSqlDatabase &db)
{
    QSqlDriver *driver = db.driver();
    if (db.driverName() != QLatin1String("QPSQL")
        || !driver->hasFeature(QSqlDriver::EventNotifications))
        return;
    driver->subscribeToNotification(kChannel);
    if (m_connected)
        return;
    m_connected = true;
    connect(driver, &QSqlDriver::notification, this,
        [this](const QString &name, QSqlDriver::NotificationSource source, const QVariant &) {
            if (name == kChannel && source == QSqlDriver::OtherSource)
                emit changed();
        });
}

} // namespace lumkar
