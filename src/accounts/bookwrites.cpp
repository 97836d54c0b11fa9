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

BookWriteResult removeMovement(QSqlDatabase db, const QString &book, const QVariant &kid,
    const RowValues &asRead, const QDate &accepted)
{
    TableWriter::AsRead found = TableWriter::AsRead::Written;
    BookWriteResult result = guardedBookWrite<BookWriteResult>(
        db, accepted,
        [&](QVector<BookLine> &lines, BookWriteResult &told) {
            if (!readBookLines(db, book, s("kid"), kid, lines, &told.error))
                return false;
            if (lines.isEmpty()) {
                told.refused = true;
                told.error = s("Bu hareket artık kayıtlı değil; silinmedi.");
                return false;
            }
            return true;
        },
        [&](TableWriter &writer) {
            found = writer.removeAsRead(book, s("kid"), kid, asRead);
            return found == TableWriter::AsRead::Written;
        });
    if (found == TableWriter::AsRead::Changed || found == TableWriter::AsRead::Gone)
        result.refused = true;
    return result;
}

} // namespace lumkar
