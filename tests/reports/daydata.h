#pragma once
// A fresh database in a temporary folder with appointments of one day, and the day view's three
// lists over it (waiting, held, cancelled), filtered as the day view filters them.

#include "data/database.h"
#include "data/dataset.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTime>
#include <QVariant>
#include <memory>

namespace lumkar::test {

struct Appointment {
    QString adi;
    QString soyadi;
    QTime time = QTime(9, 0);
    QString owner = QStringLiteral("ali"); // RKime
    QString ownerName = QStringLiteral("Ali Veli");
    QVariant paket;
    QVariant tutar;
    QString telefon;
    QString telefon2;
    QString ceptel;
    QString adres;
    QString alan;
    bool held = false;
    bool cancelled = false;
    QString iptalNedeni;
};

class DayData {
public:
    DayData();
    bool isOpen() const { return m_database && m_database->isOpen(); }
    QString folder() const { return m_dir.path(); }
    QSqlDatabase db() { return m_database->db(); }
    static QDate day() { return QDate(2024, 3, 5); }

    void add(const Appointment &a, const QDate &date = day());
    void addPerson(const QString &code, const QString &adi, const QString &soyadi,
                   const QVariant &address, const QString &phone);

    std::unique_ptr<DataSet> waiting(bool allUsers, const QString &user = QStringLiteral("ali"));
    std::unique_ptr<DataSet> held(bool allUsers, const QString &user = QStringLiteral("ali"));
    std::unique_ptr<DataSet> cancelled(bool allUsers,
                                       const QString &user = QStringLiteral("ali"));
    std::unique_ptr<DataSet> persons();

private:
    std::unique_ptr<DataSet> open(std::unique_ptr<DataSet> set, bool allUsers,
                                  const QString &user, int kind);

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
};

} // namespace lumkar::test
