#pragma once
// Prepared pages: the result of running a layout, every cell placed on its page with its final
// text. They are drawn by the painter, searched by the preview, and saved to and loaded from
// ".lrp" files.

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

namespace lumkar::reports {

struct PreparedItem {
    QString name; // the layout cell it comes from
    QRectF rect;  // millimetres from the paper's top left corner
    QString text; // final text; lines already broken, separated by '\n'
    QString fontFamily;
    qreal fontSize = 10;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor fill;
    QColor textColor = Qt::black;
    quint8 frameLines = 0;
    qreal frameWidth = 0.25;
};

struct PreparedPage {
    QSizeF size{210, 297}; // millimetres
    QVector<PreparedItem> items;

    bool isLandscape() const { return size.width() > size.height(); }
    // Items made from the named cell, in the order they were placed.
    QVector<const PreparedItem *> itemsNamed(const QString &name) const;
    // The text of the first item made from the named cell; empty when there is none.
    QString textOf(const QString &name) const;
    // Every non-empty text on the page, top to bottom.
    QStringList texts() const;
};

struct PreparedReport {
    QVector<PreparedPage> pages;
    int rows = 0; // the data rows placed on the pages, kept in saved pages

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.isEmpty(); }
};

// From how many data rows on a printout's preparation, printing and export show progress.
inline constexpr int kProgressFromRows = 300;

// Where a search hit lies: page and item index.
struct TextHit {
    int page = -1;
    int item = -1;
    bool isValid() const { return page >= 0; }
};

// The next item after `after` whose text contains `text` (Turkish letter case ignored),
// going round to the start once; an invalid hit when there is none.
TextHit findText(const PreparedReport &report, const QString &text, TextHit after = {});

// The file format of saved prepared pages.
inline QString preparedFileSuffix() { return QStringLiteral("lrp"); }
bool savePrepared(const PreparedReport &report, QIODevice &device);
bool savePrepared(const PreparedReport &report, const QString &path);
// Returns false and leaves `report` untouched when the data is not a readable prepared report.
bool loadPrepared(PreparedReport &report, QIODevice &device);
bool loadPrepared(PreparedReport &report, const QString &path);

} // namespace lumkar::reports
