#include "reports/prepared.h"

#include <QDataStream>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>

namespace lumkar::reports {

namespace {

constexpr quint32 kMagic = 0x4c525031; // "LRP1"
// Version 2 keeps the number of data rows after the page count; version 1 files (without it)
// still load, as pages of no known row count.
constexpr quint16 kVersion = 2;
constexpr quint16 kVersionWithoutRows = 1;
constexpr qint32 kMaxPages = 100000;
constexpr qint32 kMaxItems = 1000000;

QString folded(const QString &text)
{
    static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    return turkish.toLower(text);
}

QDataStream &operator<<(QDataStream &out, const PreparedItem &item)
{
    out << item.name << item.rect << item.text << item.fontFamily << item.fontSize << item.bold
        << quint32(item.alignment.toInt()) << item.fill << item.textColor << item.frameLines
        << item.frameWidth;
    return out;
}

QDataStream &operator>>(QDataStream &in, PreparedItem &item)
{
    quint32 alignment = 0;
    in >> item.name >> item.rect >> item.text >> item.fontFamily >> item.fontSize >> item.bold
        >> alignment >> item.fill >> item.textColor >> item.frameLines >> item.frameWidth;
    item.alignment = Qt::Alignment::fromInt(int(alignment));
    return in;
}

} // namespace

QVector<const PreparedItem *> PreparedPage::itemsNamed(const QString &name) const
{
    QVector<const PreparedItem *> out;
    for (const PreparedItem &item : items)
        if (item.name == name)
            out << &item;
    return out;
}

QString PreparedPage::textOf(const QString &name) const
{
    for (const PreparedItem &item : items)
        if (item.name == name)
            return item.text;
    return QString();
}

QStringList PreparedPage::texts() const
{
    QVector<const PreparedItem *> sorted;
    for (const PreparedItem &item : items)
        if (!item.text.isEmpty())
            sorted << &item;
    std::stable_sort(sorted.begin(), sorted.end(), [](auto a, auto b) {
        return a->rect.top() < b->rect.top()
            || (a->rect.top() == b->rect.top() && a->rect.left() < b->rect.left());
    });
    QStringList out;
    for (const PreparedItem *item : sorted)
        out << item->text;
    return out;
}

TextHit findText(const PreparedReport &report, const QString &text, TextHit after)
{
    const QString wanted = folded(text);
    if (wanted.isEmpty() || report.isEmpty())
        return {};
    // Walk every item once, starting just after the previous hit.
    qsizetype total = 0;
    for (const PreparedPage &page : report.pages)
        total += page.items.size();
    int page = after.isValid() ? after.page : 0;
    int item = after.isValid() ? after.item + 1 : 0;
    for (qsizetype step = 0; step < total + 1; ++step) {
        while (page < report.pageCount() && item >= report.pages[page].items.size()) {
            ++page;
            item = 0;
        }
        if (page >= report.pageCount()) {
            page = 0;
            item = 0;
            continue;
        }
        if (folded(report.pages[page].items[item].text).contains(wanted))
            return {page, item};
        ++item;
    }
    return {};
}

bool savePrepared(const PreparedReport &report, QIODevice &device)
{
    QDataStream out(&device);
    out.setVersion(QDataStream::Qt_6_4);
    out << kMagic << kVersion << qint32(report.pages.size()) << qint32(report.rows);
    for (const PreparedPage &page : report.pages) {
        out << page.size << qint32(page.items.size());
        for (const PreparedItem &item : page.items)
            out << item;
    }
    return out.status() == QDataStream::Ok;
}

bool savePrepared(const PreparedReport &report, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not look at what flushing the buffer met: a full disk is caught here.
    if (!savePrepared(report, file) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool loadPrepared(PreparedReport &report, QIODevice &device)
{
    QDataStream in(&device);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 pageCount = 0;
    in >> magic >> version >> pageCount;
    qint32 rows = 0;
    if (version == kVersion)
        in >> rows;
    if (in.status() != QDataStream::Ok || magic != kMagic
        || (version != kVersion && version != kVersionWithoutRows) || pageCount < 0
        || pageCount > kMaxPages || rows < 0)
        return false;
    PreparedReport loaded;
    loaded.rows = rows;
    loaded.pages.reserve(pageCount);
    for (qint32 p = 0; p < pageCount; ++p) {
        PreparedPage page;
        qint32 itemCount = 0;
        in >> page.size >> itemCount;
        if (in.status() != QDataStream::Ok || itemCount < 0 || itemCount > kMaxItems)
            return false;
        page.items.resize(itemCount);
        for (PreparedItem &item : page.items)
            in >> item;
        if (in.status() != QDataStream::Ok)
            return false;
        loaded.pages << std::move(page);
    }
    report = std::move(loaded);
    return true;
}

bool loadPrepared(PreparedReport &report, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return loadPrepared(report, file);
}

} // namespace lumkar::reports
