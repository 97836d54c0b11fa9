#include "accounts/bookwrites.h"

#include "accounts/dayclose.h"

namespace lumkar {

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

RowValues outflowRow(const OutflowEntry &e)
{
    return { { s("tarih"), e.day }, { s("alacak"), e.amount }, { s("aciklama"), e.aciklama },
        { s("gorusen_kodu"), e.userCode }, { s("gorusen"), e.userName } };
}

BookWriteResult writeOutflow(QSqlDatabase db, const OutflowEntry &e, const QDate &accepted)
{
    return guardedBookWrite<BookWriteResult>(
        db, accepted,
        [&e](QVector<BookLine> &lines, BookWriteResult &) {
            lines.append({ e.book, e.userCode, e.day });
            return true;
        },
        [&e](TableWriter &writer) { return writer.insert(e.book, outflowRow(e)) >= 0; });
}

BookWriteResult removeMovement(
    QSqlDatabase db, const QString &book, const QVariant &kid, const QDate &accepted)
{
    return guardedBookWrite<BookWriteResult>(
        db, accepted,
        [&](QVector<BookLine> &lines, BookWriteResult &result) {
            if (!readBookLines(db, book, s("kid"), kid, lines, &result.error))
                return false;
            if (lines.isEmpty()) {
                result.refused = true;
                result.error = s("Bu hareket artık kayıtlı değil; silinmedi.");
                return false;
            }
            return true;
        },
        [&](TableWriter &writer) { return writer.remove(book, s("kid"), kid); });
}

} // namespace lumkar
