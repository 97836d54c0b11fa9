#include "reports/listlayout.h"

namespace lumkar::reports {

namespace {

constexpr qreal kTopLine = 5.5;     // height of the user / date line
constexpr qreal kCaptionHeight = 6; // caption cells
constexpr qreal kRowHeight = 5;     // one line of 10-point text and its padding
constexpr qreal kDateWidth = 45;

Cell textCell(const QString &name, const QRectF &rect, const QString &text,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false,
              qreal size = 10)
{
    Cell c;
    c.name = name;
    c.rect = rect;
    c.text = text;
    c.alignment = alignment;
    c.bold = bold;
    c.fontSize = size;
    return c;
}

Cell captionCell(const QString &name, const QRectF &rect, const ListColumn &column)
{
    const Qt::Alignment horizontal = column.captionAlignment ? column.captionAlignment
                                                             : column.alignment;
    Cell c = textCell(name, rect, column.caption, horizontal | Qt::AlignVCenter, true);
    c.textColor = captionColor();
    c.fill = Qt::white;
    c.frameLines = BottomLine;
    return c;
}

Band titleBand(const ListPlan &plan, qreal width, bool withTitle)
{
    Band band;
    band.kind = BandKind::ReportTitle;
    const qreal userWidth = width * 0.3;
    band.cells << textCell(userNameCell(), QRectF(0, 0, userWidth, kTopLine), QString(),
                           Qt::AlignLeft | Qt::AlignVCenter, true, plan.userFontSize);
    band.cells << textCell(QStringLiteral("Memo4"),
                           QRectF(width - kDateWidth, 0, kDateWidth, kTopLine),
                           QStringLiteral("[DATE] [TIME]"), Qt::AlignRight | Qt::AlignVCenter);
    if (!plan.headingCell.isEmpty() && plan.headingPlacement == HeadingPlacement::BesideUser)
        band.cells << textCell(plan.headingCell,
                               QRectF(userWidth, 0, width - userWidth - kDateWidth, kTopLine),
                               QString(), Qt::AlignCenter, true);
    qreal y = kTopLine + 1;
    if (withTitle) {
        Cell title = textCell(QStringLiteral("Memo1"), QRectF(0, y, width, 7.5), plan.title,
                              Qt::AlignCenter, true, 12);
        if (plan.titleFilled)
            title.fill = Qt::white;
        band.cells << title;
        y += 8.5;
    }
    if (!plan.headingCell.isEmpty() && plan.headingPlacement == HeadingPlacement::UnderTitle) {
        Cell heading = textCell(plan.headingCell, QRectF(0, y, width, kTopLine), QString(),
                                Qt::AlignHCenter | Qt::AlignTop, true);
        heading.wordWrap = true;
        band.cells << heading;
        y += kTopLine + 1;
    }
    band.height = y + 1.5;
    return band;
}

// Caption cells of the columns at `top`, named prefix + "Caption<n>".
QVector<Cell> captionCells(const QVector<ListColumn> &columns, qreal width, qreal top,
                           const QString &prefix)
{
    QVector<Cell> cells;
    const auto spans = columnSpans(columns, width);
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].caption.isEmpty())
            continue;
        cells << captionCell(prefix + QStringLiteral("Caption") + QString::number(i + 1),
                             QRectF(spans[i].first, top, spans[i].second, kCaptionHeight),
                             columns[i]);
    }
    return cells;
}

Band dataBand(const QVector<ListColumn> &columns, qreal width, const QString &link,
              Qt::Alignment vertical, const QString &prefix)
{
    Band band;
    band.kind = BandKind::MasterData;
    band.dataLink = link;
    band.height = kRowHeight;
    Cell shade = textCell(prefix + QStringLiteral("Shade"), QRectF(0, 0, width, kRowHeight),
                          QString());
    shade.stretch = true;
    shade.oddLineFill = oddRowColor();
    band.cells << shade;
    const auto spans = columnSpans(columns, width);
    for (int i = 0; i < columns.size(); ++i) {
        Cell c = textCell(prefix + QStringLiteral("Field") + QString::number(i + 1),
                          QRectF(spans[i].first, 0, spans[i].second, kRowHeight),
                          columns[i].text, columns[i].alignment | vertical);
        c.format = columns[i].format;
        c.wordWrap = true;
        c.stretch = true;
        band.cells << c;
    }
    return band;
}

Band pageFooter(qreal width)
{
    Band band;
    band.kind = BandKind::PageFooter;
    band.height = 8;
    Cell maker = textCell(QStringLiteral("Footer"), QRectF(0, 1.5, width, 6), makerLine(),
                          Qt::AlignLeft | Qt::AlignVCenter, false, 10);
    maker.frameLines = TopLine;
    band.cells << maker;
    band.cells << textCell(QStringLiteral("PageNumber"), QRectF(width - 60, 1.5, 60, 6),
                           QStringLiteral("Sayfa [Page#] / [TotalPages]"),
                           Qt::AlignRight | Qt::AlignVCenter, false, 10);
    return band;
}

Layout emptyLayout(const ListPlan &plan)
{
    Layout layout;
    layout.name = plan.name;
    layout.orientation = plan.orientation;
    layout.margins = plan.margins;
    return layout;
}

} // namespace

ListColumn lineColumn(qreal width)
{
    return textColumn(QStringLiteral("SN"), QStringLiteral("[LINE#]"), width);
}

ListColumn textColumn(const QString &caption, const QString &text, qreal width)
{
    ListColumn c;
    c.caption = caption;
    c.text = text;
    c.width = width;
    return c;
}

ListColumn dateColumn(const QString &caption, const QString &field, qreal width)
{
    ListColumn c = textColumn(caption, QLatin1Char('[') + field + QLatin1Char(']'), width);
    c.format = QStringLiteral("dd.mm.yyyy");
    return c;
}

ListColumn timeColumn(const QString &caption, const QString &field, qreal width)
{
    ListColumn c = textColumn(caption, QLatin1Char('[') + field + QLatin1Char(']'), width);
    c.format = QStringLiteral("hh:nn");
    return c;
}

ListColumn amountColumn(const QString &caption, const QString &field, qreal width)
{
    ListColumn c = textColumn(caption, QLatin1Char('[') + field + QLatin1Char(']'), width);
    c.alignment = Qt::AlignRight;
    c.captionAlignment = Qt::AlignHCenter;
    c.format = QStringLiteral("#,##0.00");
    return c;
}

ListColumn centredColumn(const QString &caption, const QString &text, qreal width)
{
    ListColumn c = textColumn(caption, text, width);
    c.alignment = Qt::AlignHCenter;
    return c;
}

QVector<QPair<qreal, qreal>> columnSpans(const QVector<ListColumn> &columns, qreal width)
{
    qreal total = 0;
    for (const ListColumn &c : columns)
        total += c.width;
    QVector<QPair<qreal, qreal>> spans;
    qreal x = 0;
    for (const ListColumn &c : columns) {
        const qreal w = total > 0 ? c.width * width / total : 0;
        spans.append({x, w});
        x += w;
    }
    return spans;
}

Layout standardList(const ListPlan &plan)
{
    Layout layout = emptyLayout(plan);
    const qreal width = layout.contentWidth();
    layout.bands << titleBand(plan, width, true);
    Band header;
    header.kind = BandKind::PageHeader;
    header.height = kCaptionHeight + 1;
    header.cells = captionCells(plan.columns, width, 0, QString());
    layout.bands << header;
    layout.bands << dataBand(plan.columns, width, plan.dataLink, plan.dataVertical, QString());
    layout.bands << pageFooter(width);
    return layout;
}

Layout combinedList(const ListPlan &plan, const QVector<ListSection> &sections)
{
    Layout layout = emptyLayout(plan);
    const qreal width = layout.contentWidth();
    layout.bands << titleBand(plan, width, false);
    for (int s = 0; s < sections.size(); ++s) {
        const ListSection &section = sections[s];
        const QString prefix = QLatin1Char('S') + QString::number(s + 1);
        Band header;
        header.kind = BandKind::MasterHeader;
        header.dataLink = section.dataLink;
        const qreal top = s == 0 ? 0 : 4; // room between one list and the next
        header.cells << textCell(section.titleCell, QRectF(0, top, width, 7.5), section.title,
                                 Qt::AlignCenter, true, 12);
        header.cells << captionCells(section.columns, width, top + 8.5, prefix);
        header.height = top + 8.5 + kCaptionHeight + 1;
        layout.bands << header;
        layout.bands << dataBand(section.columns, width, section.dataLink, plan.dataVertical,
                                 prefix);
    }
    layout.bands << pageFooter(width);
    return layout;
}

} // namespace lumkar::reports
