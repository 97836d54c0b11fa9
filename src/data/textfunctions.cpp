#include "data/textfunctions.h"

#include "data/entryrules.h"
#include "data/textorder.h"

#include <mutex>
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

void lowerFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(arguments[0]));
    const QByteArray lowered
        = KucukHarfTr(QString::fromUtf8(text, sqlite3_value_bytes(arguments[0]))).toUtf8();
    sqlite3_result_text(context, lowered.constData(), int(lowered.size()), SQLITE_TRANSIENT);
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

// A text given to the server as the hexadecimal of its UTF-8, so that signs and control
// characters need no quoting.
QString serverText(const QString &text)
{
    return QStringLiteral("convert_from('\\x%1'::bytea, 'UTF8')")
        .arg(QString::fromLatin1(text.toUtf8().toHex()));
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
    return engine == Engine::Postgres ? QStringLiteral("strpos(%1, ?) > 0").arg(text)
                                      : QStringLiteral("instr(%1, ?) > 0").arg(text);
}

QStringList serverFunctions()
{
    QString from, to;
    const QString ranked = rankedCharacters();
    for (qsizetype i = 0; i + 1 < ranked.size(); i += 2) {
        from += ranked.at(i);
        to += ranked.at(i + 1);
    }
    QString blanks;
    for (char16_t c = 1; c < 0xD800; ++c)
        if (isBlankOrControl(QChar(c)))
            blanks += QChar(c);
    QString capitals, smalls;
    for (char16_t c = 1; c < 0x180; ++c)
        if (const QChar lower = KucukHarfTr(QChar(c)); lower != QChar(c)) {
            capitals += QChar(c);
            smalls += lower;
        }
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION lumkar_sirala(t text) RETURNS bytea "
                       "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN t IS NULL "
                       "THEN ''::bytea ELSE convert_to(translate(t, %1, %2), 'UTF8') || "
                       "'\\x01'::bytea || convert_to(t, 'UTF8') END $$")
            .arg(serverText(from), serverText(to)),
        QStringLiteral("CREATE OR REPLACE FUNCTION lumkar_kucuk(t text) RETURNS text "
                       "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT "
                       "translate(btrim(coalesce(t, ''), %1), %2, %3) $$")
            .arg(serverText(blanks), serverText(capitals), serverText(smalls))};
}

QStringList functionNames()
{
    return {QStringLiteral("lumkar_sirala"), QStringLiteral("lumkar_kucuk")};
}

} // namespace textsql

} // namespace lumkar
