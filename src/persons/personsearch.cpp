#include "persons/personsearch.h"

#include <algorithm>

#include "data/entryrules.h"
#include "data/namestarts.h"
#include "data/schema.h"
#include "data/textfunctions.h"
#include "data/textorder.h"

namespace lumkar {

namespace {

const QString kSicilKodu = QStringLiteral("sicil_kodu");
const QString kAdi = QStringLiteral("adi");
const QString kSoyadi = QStringLiteral("soyadi");
const QStringList &kPhoneFields = schema::personPhoneFields();

} // namespace

bool lowerPrefixEquals(QStringView text, qsizetype length, QStringView lowered)
{
    if (length < 0)
        length = 0;
    qsizetype begin = 0;
    qsizetype end = qMin(length, text.size());
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    if (end - begin != lowered.size())
        return false;
    for (qsizetype i = 0; i < lowered.size(); ++i)
        if (KucukHarfTr(text.at(begin + i)) != lowered.at(i))
            return false;
    return true;
}

PersonListFilter::PersonListFilter(const QString &code, const QString &name,
                                   const QString &phone)
{
    if (!code.isEmpty()) {
        m_mode = Mode::Code;
        m_code = code;
    } else if (!name.isEmpty()) {
        m_mode = Mode::Name;
        m_name = KucukHarfTr(name);
        m_nameLength = name.size();
    } else {
        bool ok = false;
        if (SayiyaCevir(phone, &ok) > 0 && ok) {
            m_mode = Mode::Phone;
            m_phone = phone;
        }
    }
}

bool PersonListFilter::accepts(const Record &row) const
{
    switch (m_mode) {
    case Mode::All:
        return true;
    case Mode::Code:
        return row.text(kSicilKodu) == m_code;
    case Mode::Name: {
        const QString adi = row.text(kAdi);
        if (lowerPrefixEquals(adi, m_nameLength, m_name))
            return true;
        const QString soyadi = row.text(kSoyadi);
        if (lowerPrefixEquals(soyadi, m_nameLength, m_name))
            return true;
        // Within the first name the full name's start is the first name's start.
        if (m_nameLength <= adi.size())
            return false;
        const QString full = adi + QLatin1Char(' ') + soyadi;
        return lowerPrefixEquals(full, m_nameLength, m_name);
    }
    case Mode::Phone:
        for (const QString &field : kPhoneFields)
            if (row.text(field) == m_phone)
                return true;
        return false;
    }
    return false;
}

namespace {

// The condition that the sort key of `column` lies in [from, to); an empty bound is none.
QString keyRange(const QString &column, const QByteArray &from, const QByteArray &to,
                 QVariantList &values)
{
    QStringList bounds;
    if (!from.isEmpty()) {
        bounds << textsql::sortKey(column) + QStringLiteral(" >= ?");
        values << from;
    }
    if (!to.isEmpty()) {
        bounds << textsql::sortKey(column) + QStringLiteral(" < ?");
        values << to;
    }
    return QLatin1Char('(') + bounds.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

// The names whose first characters, trimmed and lower-cased, may begin with a text although
// their key does not begin as the text's does: those that begin with a blank or a control
// character or with a letter of another alphabet, which the key's places do not show. A range
// of the column's index each.
QStringList otherStartRanges(const QString &column, QVariantList &values)
{
    const QByteArray del = turkishSortPrefix(QStringLiteral("\x7f"));
    return {keyRange(column, QByteArray(), turkishSortPrefix(QStringLiteral("!")), values),
            keyRange(column, del, del + char(0xFF), values),
            keyRange(column, QByteArray(1, char(0xC2)), QByteArray(), values)};
}

QString personsIn(const QStringList &ranges)
{
    QStringList selects;
    for (const QString &range : ranges)
        selects << QStringLiteral("SELECT hid FROM siciltablo WHERE ") + range;
    return selects.join(QStringLiteral(" UNION ALL "));
}

QString textOf(const QString &column)
{
    return QStringLiteral("COALESCE(%1, '')").arg(column);
}

// lowerPrefixEquals in SQL: the first `length` characters trimmed and lower-cased are the
// bound value.
QString loweredPrefixIs(const QString &text, qsizetype length, const QString &lowered,
                        QVariantList &values)
{
    values << lowered;
    return QStringLiteral("%1 = ?").arg(textsql::lowered(
        QStringLiteral("substr(%1, 1, %2)").arg(text).arg(qMax<qsizetype>(0, length))));
}

// The count of a text that many names may begin with: of the first names and surnames whose
// keys begin with its `places`, kept by their beginnings or else counted on the two key indexes
// (the first names, among them the surnames that begin so too, and the surnames), and the few
// persons only the rule's own test finds.
void count(DataSet::Condition &c, const QByteArray &places, const QStringList &sure,
           const QVariantList &sureValues, const QString &checked,
           const QVariantList &checkedValues)
{
    const QString &byFirstName = sure[0];
    const QString &bySurname = sure[1];
    const QVariantList firstNameValues = sureValues.mid(0, 2);
    const QVariantList surnameValues = sureValues.mid(2, 2);
    QVariantList keptValues;
    QString byKeys = namestarts::personsBeginningWith(places, keptValues);
    if (byKeys.isEmpty()) {
        byKeys = QStringLiteral("(SELECT count(*) - COALESCE(sum(CASE WHEN %2 THEN 1 ELSE 0 "
                                "END), 0) FROM siciltablo WHERE %1) + (SELECT count(*) FROM "
                                "siciltablo WHERE %2)")
                     .arg(byFirstName, bySurname);
        keptValues = surnameValues + firstNameValues + surnameValues;
    }
    c.count = QStringLiteral("SELECT %1 + (SELECT count(*) FROM siciltablo WHERE hid IN (%2) AND "
                             "(%3) IS NOT TRUE AND (%4) IS NOT TRUE)")
                  .arg(byKeys, checked, byFirstName, bySurname);
    c.countValues = keptValues + checkedValues + firstNameValues + surnameValues;
}

} // namespace

DataSet::Condition PersonListFilter::sqlCondition() const
{
    DataSet::Condition c;
    c.fewRows = m_mode != Mode::All;
    switch (m_mode) {
    case Mode::All:
        break;
    case Mode::Code:
        c.sql = QStringLiteral("sicil_kodu = ?");
        c.values << m_code;
        break;
    case Mode::Name: {
        // Where the name may be, read on the indexes of first name and surname: a first name
        // or surname whose key begins as the text's, and the ranges the keys do not decide.
        const QByteArray places = turkishSortPrefix(m_name);
        // A text of characters that each take one place in a key, typed without blanks around
        // it: a name whose key begins with its places begins with it, without a further test.
        const bool keyDecides = m_nameLength == m_name.size() && places.size() == m_name.size();
        QStringList sure, maybe;
        QVariantList sureValues, maybeValues;
        for (const QString &column : {kAdi, kSoyadi}) {
            (keyDecides ? sure : maybe)
                << keyRange(column, places, places + char(0xFF),
                            keyDecides ? sureValues : maybeValues);
            maybe += otherStartRanges(column, maybeValues);
        }
        // A first name that is the start of the text: the full name then begins with it.
        for (qsizetype n = 1; n < m_name.size(); ++n) {
            const QByteArray start = turkishSortPrefix(m_name.left(n));
            maybe << keyRange(kAdi, start + char(1), start + char(2), maybeValues);
        }
        // Those the keys do not decide, then exactly by the rule.
        QVariantList ruleValues;
        const QString adi = textOf(kAdi);
        const QString full = QStringLiteral("%1 || ' ' || %2").arg(adi, textOf(kSoyadi));
        const QString byFirstName = loweredPrefixIs(adi, m_nameLength, m_name, ruleValues);
        const QString bySurname = loweredPrefixIs(textOf(kSoyadi), m_nameLength, m_name,
                                                  ruleValues);
        const QString byFullName = loweredPrefixIs(full, m_nameLength, m_name, ruleValues);
        const QString rule = QStringLiteral("(%1 OR %2 OR (length(%3) < %4 AND %5))")
                                 .arg(byFirstName, bySurname, adi,
                                      QString::number(m_nameLength), byFullName);
        const QString checked
            = QStringLiteral("SELECT hid FROM siciltablo WHERE hid IN (%1) AND %2")
                  .arg(personsIn(maybe), rule);
        maybeValues += ruleValues;
        c.sql = QStringLiteral("hid IN (%1)")
                    .arg(sure.isEmpty() ? checked
                                        : personsIn(sure) + QStringLiteral(" UNION ALL ") + checked);
        c.values = sureValues + maybeValues;
        if (keyDecides) {
            // Tested row by row, the rule itself: it reads a few characters of each name.
            c.rowTest = rule;
            c.rowTestValues = ruleValues;
            count(c, places, sure, sureValues, checked, maybeValues);
        }
        break;
    }
    case Mode::Phone: {
        // Equal keys are equal texts: each phone field is read on its index.
        QStringList fields;
        for (const QString &field : kPhoneFields) {
            fields << QStringLiteral("%1 = %2").arg(textsql::sortKey(field),
                                                   textsql::sortKey(QStringLiteral("?")));
            c.values << m_phone;
        }
        c.sql = fields.join(QStringLiteral(" OR "));
        break;
    }
    }
    return c;
}

PersonSearch::PersonSearch(const QString &name, const QString &phone)
    : m_name(KucukHarfTr(name)), m_phone(KucukHarfTr(phone))
{
}

bool PersonSearch::hits(const QString &adi, const QString &soyadi, const QString &phones) const
{
    if (!m_name.isEmpty()) {
        const QString names = KucukHarfTr(adi) + QLatin1Char(' ') + KucukHarfTr(soyadi);
        if (names.contains(m_name))
            return true;
    }
    return !m_phone.isEmpty() && KucukHarfTr(phones).contains(m_phone);
}

QString PersonSearch::joinedPhones(DataSet &dataSet, int row)
{
    QString out;
    for (const QString &field : kPhoneFields) {
        if (field != kPhoneFields[0])
            out += QLatin1Char(' ');
        out += dataSet.valueAt(row, dataSet.fieldIndex(field)).toString();
    }
    return out;
}

DataSet::Condition PersonSearch::sqlCondition(const QSqlDatabase &db) const
{
    const Engine engine = schema::engineOf(db);
    DataSet::Condition c;
    QStringList hits;
    QVariantList hitValues;
    if (!m_name.isEmpty()) {
        hits << textsql::contains(engine, schema::personNamesText());
        hitValues << textsql::containsValue(engine, m_name);
    }
    // Lower-casing changes letters alone, and the typed text is trimmed: a text without
    // letters is inside the lowered phones exactly when it is inside the phones as stored,
    // which an index can hold.
    const bool letters = std::any_of(m_phone.cbegin(), m_phone.cend(),
                                     [](QChar ch) { return ch.isLetter(); });
    if (!m_phone.isEmpty() && engine == Engine::Postgres && !letters) {
        // Looked up on the server's index of the phones' key, then exactly.
        hits << QStringLiteral("(%1 AND %2)")
                    .arg(textsql::contains(engine, schema::personPhonesKey()),
                         textsql::contains(engine, schema::personPhonesText()));
        hitValues << textsql::containsValue(engine, schema::personPhonesKeyOf(m_phone))
                  << textsql::containsValue(engine, m_phone);
    } else if (!m_phone.isEmpty()) {
        hits << textsql::contains(engine, letters ? textsql::lowered(schema::personPhonesText())
                                                  : schema::personPhonesText());
        hitValues << textsql::containsValue(engine, m_phone);
    }
    if (hits.isEmpty()) {
        c.sql = QStringLiteral("1 = 0");
        return c;
    }
    c.sql = hits.join(QStringLiteral(" OR "));
    // The persons that may hold the texts, found on the file's index where it serves; the
    // texts are then looked for in those alone.
    if (!letters || m_phone.isEmpty()) {
        const QString candidates = schema::personSearchCandidates(db, m_name, m_phone, c.values);
        if (!candidates.isEmpty())
            c.sql = QStringLiteral("%1 AND (%2)").arg(candidates, c.sql);
    }
    c.values += hitValues;
    return c;
}

int PersonSearch::nextHit(DataSet &dataSet, int current, bool eof) const
{
    const int count = dataSet.recordCount();
    if (count == 0)
        return -1;
    // Past the last row (or before the first) the search begins with the first row.
    const int from = eof || current < 0 || current >= count ? -1 : current;
    if (dataSet.readsByPages()) {
        const int row = dataSet.nextWhere(sqlCondition(dataSet.database()), from);
        return row >= 0 ? row : qBound(0, current, count - 1);
    }
    const int adi = dataSet.fieldIndex(kAdi);
    const int soyadi = dataSet.fieldIndex(kSoyadi);
    for (int step = 1; step <= count; ++step) {
        const int row = (from + step) % count;
        if (hits(dataSet.valueAt(row, adi).toString(), dataSet.valueAt(row, soyadi).toString(),
                 m_phone.isEmpty() ? QString() : joinedPhones(dataSet, row)))
            return row;
    }
    return qBound(0, current, count - 1);
}

NamePrefixSearch::NamePrefixSearch(const QString &aramaAdi, const QString &aramaSoyadi)
    : m_rawAdi(aramaAdi), m_rawSoyadi(aramaSoyadi), m_adi(KucukHarfTr(aramaAdi)),
      m_soyadi(KucukHarfTr(aramaSoyadi))
{
}

namespace {

// The characters a stored name may begin with when its lower-cased first letter is `lowered`.
QVariantList firstLetters(QChar lowered)
{
    QVariantList letters;
    for (const QChar candidate : {lowered, lowered.toUpper(), QChar(u'I'), QChar(u'İ')}) {
        if (KucukHarfTr(candidate) == lowered && !letters.contains(QString(candidate)))
            letters << QString(candidate);
    }
    return letters;
}

// Names that begin with one of the letters, as ranges an index on the column serves:
// "(column >= ? AND column < ?) OR ... OR column < '!'"; the last keeps names that begin
// with blanks or control characters, which the comparison skips.
QString firstLetterCondition(const QString &column, qsizetype letters)
{
    QStringList ranges;
    for (qsizetype i = 0; i < letters; ++i)
        ranges << QStringLiteral("(%1 >= ? AND %1 < ?)").arg(column);
    ranges << QStringLiteral("%1 < '!'").arg(column);
    return QLatin1Char('(') + ranges.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

// The bound values of firstLetterCondition: each letter and the one after it.
QVariantList letterRanges(const QVariantList &letters)
{
    QVariantList values;
    for (const QVariant &letter : letters) {
        const QChar c = letter.toString().at(0);
        values << letter << QString(QChar(char16_t(c.unicode() + 1)));
    }
    return values;
}

} // namespace

QString NamePrefixSearch::sqlCondition() const
{
    QStringList parts;
    if (!m_adi.isEmpty())
        parts << firstLetterCondition(kAdi, firstLetters(m_adi.at(0)).size());
    if (!m_soyadi.isEmpty())
        parts << firstLetterCondition(kSoyadi, firstLetters(m_soyadi.at(0)).size());
    return parts.join(QStringLiteral(" AND "));
}

QVariantList NamePrefixSearch::sqlValues() const
{
    QVariantList values;
    if (!m_adi.isEmpty())
        values << letterRanges(firstLetters(m_adi.at(0)));
    if (!m_soyadi.isEmpty())
        values << letterRanges(firstLetters(m_soyadi.at(0)));
    return values;
}

bool NamePrefixSearch::accepts(const Record &row) const
{
    return lowerPrefixEquals(row.text(kAdi), m_rawAdi.size(), m_adi)
        && lowerPrefixEquals(row.text(kSoyadi), m_rawSoyadi.size(), m_soyadi);
}

} // namespace lumkar
