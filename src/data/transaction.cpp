#include "data/transaction.h"

#include "data/database.h"

#include <QSqlError>

namespace lumkar {

Transaction::Transaction(QSqlDatabase db) : m_db(db)
{
    if (!m_db.isOpen()) {
        m_error = QStringLiteral("Veritabanı açık değil; kayıt yapılamadı.");
        return;
    }
    m_active = m_db.transaction();
    if (!m_active)
        m_error = QStringLiteral("Veritabanı işlemi başlatılamadı. %1")
                      .arg(failureText(m_db.lastError()));
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
    m_db.rollback();
}

} // namespace lumkar
