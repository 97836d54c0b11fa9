#include "persons/personlookup.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

RegisteredPerson findPerson(QSqlDatabase db, const QString &code)
{
    RegisteredPerson found;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT sicil_kodu, adi, soyadi, tel1, tel2, ceptel, isadresi "
                             "FROM siciltablo WHERE sicil_kodu = ? ORDER BY hid LIMIT 1"));
    q.addBindValue(code);
    if (!q.exec()) {
        found.ok = false;
        found.error = QStringLiteral("Kişi kayıtları okunamadı: %1").arg(q.lastError().text());
        return found;
    }
    if (q.next()) {
        found.found = true;
        const auto text = [&q](int column) { return q.value(column).toString(); };
        found.person = {text(0), text(1), text(2), text(3), text(4), text(5), text(6)};
    }
    return found;
}

} // namespace lumkar
