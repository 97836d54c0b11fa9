#pragma once
// One database transaction around the writes of one action: it begins on construction and
// rolls back on destruction unless commit() was called, so an action that stops half-way
// leaves nothing of itself behind.

#include <QSqlDatabase>
#include <QString>

namespace lumkar {

class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // True while the transaction has begun and is neither committed nor rolled back.
    bool isActive() const { return m_active; }
    // Makes the writes permanent; false, with errorText(), when the database refused (the
    // writes are then rolled back).
    bool commit();
    void rollback();
    // Why the transaction could not begin or commit, in Turkish with the database's cause.
    QString errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    bool m_active = false;
    QString m_error;
};

} // namespace lumkar
