#pragma once
// The search rules of the person register, free of widgets: the person list's filter and its
// step-by-step search ("Peşpeşe Ara"), and the name-prefix search of the person record that
// the appointment entry uses. Names compare after Turkish lower-casing (KucukHarfTr).

#include "data/dataset.h"

#include <QString>
#include <QStringView>

namespace lumkar {

// True when KucukHarfTr of the first `length` characters of `text` equals `lowered`, which is
// already lower-cased with KucukHarfTr. Makes no copies.
bool lowerPrefixEquals(QStringView text, qsizetype length, QStringView lowered);

// The person list's filter, made from the three search boxes as they are:
// a code passes only the person with exactly that code; else a name passes persons whose first
// name, surname or full name begins with it; else a phone number (one with a non-zero digit)
// passes persons who have exactly that text in one of their five phone fields; with all three
// empty every person passes.
class PersonListFilter {
public:
    PersonListFilter() = default;
    PersonListFilter(const QString &code, const QString &name, const QString &phone);

    bool accepts(const Record &row) const;
    bool acceptsAll() const { return m_mode == Mode::All; }
    // Its SQL twin, read on the register's indexes: exactly the persons accepts() passes.
    DataSet::Condition sqlCondition() const;

private:
    enum class Mode { All, Code, Name, Phone };
    Mode m_mode = Mode::All;
    QString m_code;
    QString m_name; // lower-cased
    qsizetype m_nameLength = 0; // the length typed, before trimming
    QString m_phone;
};

// The hit rule of "Peşpeşe Ara": the name text anywhere in the first name and surname, or the
// phone text anywhere in the five phone fields, each after lower-casing. An empty name never
// hits; an empty phone box (its mask text) hits persons whose phone fields hold the empty mask.
class PersonSearch {
public:
    PersonSearch(const QString &name, const QString &phone);

    bool hits(const QString &adi, const QString &soyadi, const QString &phones) const;
    // The row's five phone fields as the rule joins them.
    static QString joinedPhones(DataSet &dataSet, int row);

    // Its SQL twin: exactly the persons hits() hits.
    DataSet::Condition sqlCondition(const QSqlDatabase &db) const;

    // The row the search stops on: the first hit after `current`, going round once (with
    // `eof`, past the last row, from the first row); `current` itself when no other row hits;
    // -1 for an empty list. A list read by pages is searched by the database.
    int nextHit(DataSet &dataSet, int current, bool eof) const;

private:
    QString m_name;
    QString m_phone;
};

// The name-prefix search of the person record (`ffQuery4`): the first name cut to the length
// of `aramaAdi` equals it, and the surname cut to the length of `aramaSoyadi` equals that,
// both after lower-casing; an empty surname text accepts every surname.
class NamePrefixSearch {
public:
    NamePrefixSearch() = default;
    NamePrefixSearch(const QString &aramaAdi, const QString &aramaSoyadi);

    bool accepts(const Record &row) const;
    // Its SQL twin: a condition on the first letters that keeps every person accepts() keeps
    // (and a few more), so that the search reads only those; empty when every person passes.
    QString sqlCondition() const;
    QVariantList sqlValues() const;
    bool isFor(const QString &aramaAdi, const QString &aramaSoyadi) const
    {
        return m_rawAdi == aramaAdi && m_rawSoyadi == aramaSoyadi;
    }

private:
    QString m_rawAdi;
    QString m_rawSoyadi;
    QString m_adi;
    QString m_soyadi;
};

} // namespace lumkar
