#pragma once
// Other desks' writes, told at once: on a server every committed write to the tables the
// windows list makes the server notify every connection, and the program reads its lists
// again. The embedded file has no such channel; its windows keep their refresh timer.

#include <QObject>
#include <QSqlDatabase>

namespace lumkar {

class OtherDesks : public QObject {
    Q_OBJECT
public:
    // Makes the server notify of the writes (once per database); an empty text or the cause.
    static QString ensureNotices(QSqlDatabase &db);
    // Listens on the connection; called after every connect, as a new connection listens to
    // nothing. Nothing happens on a connection that cannot be notified.
    void listen(QSqlDatabase &db);

signals:
    void changed(); // another desk committed a write

private:
    bool m_connected = false;
};

} // namespace lumkar
