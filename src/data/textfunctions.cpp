#include "data/textfunctions.h"

#include "data/entryrules.h"
#include "data/textorder.h"

#include <mutex>
#include <vector>
#include <sqlite3.h>

namespace lumkar {

namespace {

void sortKeyFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_blob(context, "", 0, SQLITE_STATIC);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(arguments[0]));
    const QByteArray key = turkishSortKey(text, size_t(sqlite3_value_bytes(arguments[0])));
    sqlite3_result_blob(context, key.constData(), int(key.size()), SQLITE_TRANSIENT);
}

// The characters KucukHarfTr trims, by code (the first plane: no character beyond it is).
bool isBlankCode(char32_t c)
{
    static const std::vector<bool> table = [] {
        std::vector<bool> t(0x10000);
        for (char32_t code = 0; code < 0x10000; ++code)
            t[code] = isBlankOrControl(QChar(char16_t(code)));
        return t;
    }();
    return c < 0x10000 && table[c];
}

// The length of the blank or control character that begins at `at`, 0 for any other.
int blankLength(const unsigned char *text, int length, int at)
{
    const unsigned char c = text[at];
    if (c < 0x80)
        return isBlankCode(c) ? 1 : 0;
    if (c < 0xC0 || c >= 0xF0)
        return 0; // a stray byte, or beyond the characters that can be blank
    const int bytes = c >= 0xE0 ? 3 : 2;
    if (at + bytes > length)
        return 0;
    char32_t code = c & (bytes == 3 ? 0x0F : 0x1F);
    for (int i = 1; i < bytes; ++i)
        code = (code << 6) | (text[at + i] & 0x3F);
    return isBlankCode(code) ? bytes : 0;
}

// KucukHarfTr on UTF-8, without building a QString: it runs for every row a search reads.
void lowerFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *text = sqlite3_value_text(arguments[0]);
    const int length = sqlite3_value_bytes(arguments[0]);
    int begin = 0;
    while (begin < length) {
        const int blank = blankLength(text, length, begin);
        if (!blank)
            break;
        begin += blank;
    }
    // The end: after the last character that is not blank.
    int end = length;
    while (end > begin) {
        int last = end - 1;
        while (last > begin && (text[last] & 0xC0) == 0x80)
            --last;
        if (blankLength(text, end, last) != end - last || end - last == 0)
            break;
        end = last;
    }
    // A small letter takes no more bytes than its capital, but I (one byte) becomes ı (two).
    char stack[512];
    std::vector<char> heap;
    char *out = stack;
    if (2 * (end - begin) > int(sizeof stack)) {
        heap.resize(size_t(2 * (end - begin)));
        out = heap.data();
    }
    int n = 0;
    for (int at = begin; at < end; ++at) {
        const unsigned char c = text[at];
        if (c == 'I') {
            out[n++] = char(0xC4); // ı
            out[n++] = char(0xB1);
        } else if (c >= 'A' && c <= 'Z') {
            out[n++] = char(c + 32);
        } else if (at + 1 < end && c >= 0xC3 && c <= 0xC5) {
            const unsigned char d = text[at + 1];
            ++at;
            switch ((unsigned(c) << 8) | d) {
            case 0xC387: // Ç
            case 0xC396: // Ö
            case 0xC39C: // Ü
                out[n++] = char(c);
                out[n++] = char(d + 0x20);
                break;
            case 0xC49E: // Ğ
            case 0xC59E: // Ş
                out[n++] = char(c);
                out[n++] = char(d + 1);
                break;
            case 0xC4B0: // İ
                out[n++] = 'i';
                break;
            default:
                out[n++] = char(c);
                out[n++] = char(d);
            }
        } else {
            out[n++] = char(c);
        }
    }
    sqlite3_result_text(context, out, n, SQLITE_TRANSIENT);
}

int registerFunctions(sqlite3 *handle, const char **, const sqlite3_api_routines *)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    const int rc = sqlite3_create_function(handle, "lumkar_sirala", 1, flags, nullptr,
                                           sortKeyFunction, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_create_function(handle, "lumkar_kucuk", 1, flags, nullptr, lowerFunction,
                                   nullptr, nullptr);
}

// A text given to the server with every character written as its code, so that signs and
// control characters need no quoting; a constant the server can put into the statements
// that call the function.
QString serverText(const QString &text)
{
    QString out = QStringLiteral("U&'");
    for (const char32_t c : text.toUcs4())
        out += c > 0xFFFF ? QStringLiteral("\\+%1").arg(uint(c), 6, 16, QLatin1Char('0'))
                          : QStringLiteral("\\%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    return out + QLatin1Char('\'');
}

} // namespace

void installTextFunctions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&registerFunctions));
    });
}

namespace textsql {

QString sortKey(const QString &column)
{
    return QStringLiteral("lumkar_sirala(%1)").arg(column);
}

QString lowered(const QString &column)
{
    return QStringLiteral("lumkar_kucuk(%1)").arg(column);
}

QString contains(Engine engine, const QString &text)
{
    return engine == Engine::Postgres ? QStringLiteral("%1 LIKE ?").arg(text)
                                      : QStringLiteral("instr(%1, ?) > 0").arg(text);
}

QString containsValue(Engine engine, const QString &needle)
{
    if (engine != Engine::Postgres)
        return needle;
    QString escaped = needle;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

namespace {

struct ServerFunction {
    QString name;
    QString result;
    QString body;
    // What the server's planner counts a call as (an operator is 1): a list sorted by the key
    // is then sorted by more than one process, and a row's key read from an index rather than
    // made again where an index holds it.
    int cost;
};

// The server's translate() looks each character up along its list: the list begins with the
// characters names are mostly made of.
QString byLikelihood(const QString &ranked)
{
    static const QString likely = QStringLiteral(
        "aeinrlıkdmyutsobüşzgçhğvcöpfjwxq AEİNRLIKDMYUTSOBÜŞZGÇHĞVCÖPFJWXQ0123456789");
    QString first, rest;
    for (const QChar c : likely)
        for (qsizetype i = 0; i + 1 < ranked.size(); i += 2)
            if (ranked.at(i) == c)
                first += ranked.mid(i, 2);
    for (qsizetype i = 0; i + 1 < ranked.size(); i += 2)
        if (!likely.contains(ranked.at(i)))
            rest += ranked.mid(i, 2);
    return first + rest;
}

const QList<ServerFunction> &functions()
{
    static const QList<ServerFunction> all = [] {
        QString from, to;
        const QString ranked = byLikelihood(rankedCharacters());
        for (qsizetype i = 0; i + 1 < ranked.size(); i += 2) {
            from += ranked.at(i);
            to += ranked.at(i + 1);
        }
        QString blanks;
        for (char16_t c = 1; c < 0xD800; ++c)
            if (isBlankOrControl(QChar(c)))
                blanks += QChar(c);
        // The capitals lower() of the "C" collation does not lower as the program does (it
        // lowers A to Z alone, I to i): each turned into its small letter first.
        QString capitals, smalls;
        for (char16_t c = 1; c < 0x180; ++c)
            if (const QChar lower = KucukHarfTr(QChar(c)); lower != QChar(c)
                && !(c >= u'A' && c <= u'Z' && lower == QChar(char16_t(c + 32)))) {
                capitals += QChar(c);
                smalls += lower;
            }
        return QList<ServerFunction>{
            {QStringLiteral("lumkar_sirala"), QStringLiteral("bytea"),
             QStringLiteral(" SELECT CASE WHEN t IS NULL THEN ''::bytea ELSE "
                            "convert_to(translate(t, %1, %2), 'UTF8') || '\\x01'::bytea || "
                            "convert_to(t, 'UTF8') END ")
                 .arg(serverText(from), serverText(to)),
             1000},
            {QStringLiteral("lumkar_kucuk"), QStringLiteral("text"),
             QStringLiteral(" SELECT lower(translate(btrim(coalesce(t, ''), %1), %2, %3) "
                            "COLLATE \"C\") ")
                 .arg(serverText(blanks), serverText(capitals), serverText(smalls)),
             100}};
    }();
    return all;
}

} // namespace

QStringList serverFunctions()
{
    QStringList out;
    for (const ServerFunction &f : functions())
        out << QStringLiteral("CREATE OR REPLACE FUNCTION %1(t text) RETURNS %2 LANGUAGE sql "
                              "IMMUTABLE PARALLEL SAFE COST %3 AS $$%4$$")
                   .arg(f.name, f.result, QString::number(f.cost), f.body);
    return out;
}

QString currentFunctionsCount(QVariantList &values)
{
    QStringList each;
    for (const ServerFunction &f : functions()) {
        each << QStringLiteral("(proname = ? AND prosrc = ? AND procost = ?)");
        values << f.name << f.body << f.cost;
    }
    return QStringLiteral("SELECT count(*) FROM pg_proc WHERE ") + each.join(QStringLiteral(" OR "));
}

int functionCount()
{
    return int(functions().size());
}

} // namespace textsql

} // namespace lumkar
