#pragma once
// The standard list layout every printout of the program shares: a title band with the user's
// name (Memo19), the print date and time (Memo4), the title (Memo1) and an optional heading
// line; column captions in bold dark red with a line under each; one row per record with every
// odd row shaded light grey; a footer with the maker's line and "Sayfa n / m".

#include "reports/layout.h"

namespace lumkar::reports {

inline QColor captionColor() { return QColor(128, 0, 0); }
inline QColor oddRowColor() { return QColor(240, 240, 240); }
inline QString makerLine() { return QStringLiteral("Lumkar Vikelmo"); }

struct ListColumn {
    QString caption; // empty: no caption cell
    QString text;    // "[adi] [soyadi]", "[LINE#]"
    qreal width = 20; // millimetres before scaling to the printable width
    Qt::Alignment alignment = Qt::AlignLeft;
    Qt::Alignment captionAlignment = {}; // none given: as the data
    QString format;
};

// Column helpers: line number, plain text, date, time of day, amount (right-aligned, caption
// centred), centred text.
ListColumn lineColumn(qreal width = 10);
ListColumn textColumn(const QString &caption, const QString &text, qreal width);
ListColumn dateColumn(const QString &caption, const QString &field, qreal width = 21);
ListColumn timeColumn(const QString &caption, const QString &field, qreal width = 13);
ListColumn amountColumn(const QString &caption, const QString &field, qreal width = 25);
ListColumn centredColumn(const QString &caption, const QString &text, qreal width);

enum class HeadingPlacement {
    None,
    BesideUser, // on the top line, between the user's name and the date
    UnderTitle  // a full-width line under the title, wrapping when long
};

struct ListPlan {
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10};
    QString title;          // text of Memo1
    bool titleFilled = false; // Memo1 on a white fill
    QString headingCell;    // "Memo5", "Memo18", ...; empty: none
    HeadingPlacement headingPlacement = HeadingPlacement::BesideUser;
    qreal userFontSize = 10;
    QString dataLink = QStringLiteral("frDBDataSet1");
    QVector<ListColumn> columns;
    Qt::Alignment dataVertical = Qt::AlignTop; // vertical alignment of the data cells
};

// One list of a combined report: its own title over its own captions, its own numbering.
struct ListSection {
    QString titleCell; // "Memo1", "Memo30", ...
    QString title;
    QString dataLink;
    QVector<ListColumn> columns;
};

// Left edge and width of every column, scaled so that together they fill `width`.
QVector<QPair<qreal, qreal>> columnSpans(const QVector<ListColumn> &columns, qreal width);

// The standard list: title band, captions as page header, shaded data rows, page footer.
Layout standardList(const ListPlan &plan);

// Several lists in one report: the title band of `plan` (without Memo1), then per section a
// header (title and captions, repeated when its rows run onto a new page) and its rows.
// Cells of section k are named with the prefix "S<k>" ("S2Field1").
Layout combinedList(const ListPlan &plan, const QVector<ListSection> &sections);

} // namespace lumkar::reports
