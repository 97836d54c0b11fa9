#include "data/transaction.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/schema.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace lumkar {

namespace {

// The connections with a transaction under way: a second one on the same connection is
// refused on every engine (the server would only warn and go on inside the first).
QSet<QString> &openTransactions()
{
    static QSet<QString> names;
    return names;
}

} // namespace

Transaction::Transaction(QSqlDatabase db) : m_db(db)
{
    if (!m_db.isOpen()) {
        m_error = QStringLiteral("Veritabanı açık değil; kayıt yapılamadı.");
        return;
    }
    if (openTransactions().contains(m_db.connectionName())) {
        m_error = QStringLiteral("Veritabanı işlemi başlatılamadı. Bu bağlantıda başka bir işlem "
                                 "sürüyor.");
        return;
    }
    const QString begin = dialect::beginWriting(schema::engineOf(m_db));
    QSqlError error;
    if (begin.isEmpty()) {
        m_active = m_db.transaction();
        error = m_db.lastError();
    } else {
        QSqlQuery q(m_db);
        m_active = q.exec(begin);
        error = q.lastError();
    }
    if (m_active)
        openTransactions().insert(m_db.connectionName());
    if (!m_active)
        m_error = QStringLiteral("Veritabanı işlemi başlatılamadı. %1").arg(failureText(error));
}

Transaction::~Transaction()
{
    rollback();
}

bool Transaction::commit()
{
    if (!m_active) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Veritabanı işlemi zaten kapanmış; kayıt yapılamadı.");
        return false;
    }
    if (m_db.commit()) {
        m_active = false;
        openTransactions().remove(m_db.connectionName());
        return true;
    }
    if (Database *database = Database::of(m_db))
        database->noteFailure(m_db.lastError());
    m_error = QStringLiteral("Kayıt tamamlanamadı, hiçbir değişiklik yazılmadı. %1")
                  .arg(failureText(m_db.lastError()));
    rollback();
    return false;
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    openTransactions().remove(m_db.connectionName());
    m_db.rollback();
}

} // namespace lumkar
