#include "reports/runner.h"

#include "data/dataset.h"
#include "data/formats.h"
#include "reports/painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>

namespace lumkar::reports {

namespace {

// Placeholders resolved once every item has its page.
const QChar kPageMark(0xE001);
const QChar kTotalPagesMark(0xE000);
constexpr qreal kEpsilon = 0.001;

// One piece of a cell's text: literal, a column of the band's data set, or a field.
struct Segment {
    enum Kind { Literal, Column, Line, Date, Time, Page, TotalPages };
    Kind kind = Literal;
    QString text;
    int column = -1;
};

QVector<Segment> compile(const QString &text, const DataSet *dataSet)
{
    QVector<Segment> out;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('['), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char(']'), open + 1);
        if (open < 0 || close < 0) {
            out.append(Segment{Segment::Literal, text.mid(pos), -1});
            break;
        }
        if (open > pos)
            out.append(Segment{Segment::Literal, text.mid(pos, open - pos), -1});
        const QString name = text.mid(open + 1, close - open - 1).trimmed();
        const QString upper = name.toUpper();
        if (upper == QLatin1String("LINE#"))
            out.append(Segment{Segment::Line, {}, -1});
        else if (upper == QLatin1String("DATE"))
            out.append(Segment{Segment::Date, {}, -1});
        else if (upper == QLatin1String("TIME"))
            out.append(Segment{Segment::Time, {}, -1});
        else if (upper == QLatin1String("PAGE#"))
            out.append(Segment{Segment::Page, {}, -1});
        else if (upper == QLatin1String("TOTALPAGES"))
            out.append(Segment{Segment::TotalPages, {}, -1});
        else
            out.append(Segment{Segment::Column, name, dataSet ? dataSet->fieldIndex(name) : -1});
        pos = close + 1;
    }
    return out;
}

} // namespace

QStringList unresolvedFields(const Layout &layout, const DataLinks &links)
{
    QStringList out;
    for (const Band &band : layout.bands) {
        DataSet *dataSet = links.value(band.dataLink);
        for (const Cell &cell : band.cells)
            for (const Segment &segment : compile(cell.text, dataSet))
                if (segment.kind == Segment::Column && segment.column < 0)
                    out << band.dataLink + QLatin1Char('.') + segment.text;
    }
    return out;
}

namespace {

// Measures text at a fixed high resolution with unhinted fonts, so that line breaks and
// heights hold on every device the pages are drawn on.
class TextMeasure {
public:
    TextMeasure() : m_device(1, 1, QImage::Format_ARGB32)
    {
        const int dotsPerMeter = qRound(kDpi / 0.0254);
        m_device.setDotsPerMeterX(dotsPerMeter);
        m_device.setDotsPerMeterY(dotsPerMeter);
    }

    struct Font {
        QFont font;
        QFontMetricsF metrics;
        qreal lineHeight; // millimetres
    };

    const Font &font(const Cell &cell)
    {
        const QString key = cell.fontFamily + QLatin1Char('|') + QString::number(cell.fontSize)
            + (cell.bold ? QStringLiteral("b") : QString());
        auto it = m_fonts.find(key);
        if (it == m_fonts.end()) {
            QFont f = reportFont(cell.fontFamily, cell.bold);
            f.setPointSizeF(cell.fontSize);
            const QFontMetricsF metrics(f, &m_device);
            it = m_fonts.insert(key, {f, metrics, metrics.lineSpacing() * 25.4 / kDpi});
        }
        return *it;
    }

    // The lines of a text in a cell: its own line breaks, and word wrapping when the cell
    // wraps.
    QStringList lines(const QString &text, const Cell &cell)
    {
        // Stored memos end every line with CR LF, the last one too: a line break is a line
        // break whatever its form, and the break after the last line opens no empty line.
        QString plain = text;
        plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        while (plain.endsWith(QLatin1Char('\n')))
            plain.chop(1);
        const QStringList paragraphs = plain.split(QLatin1Char('\n'));
        if (!cell.wordWrap)
            return paragraphs;
        const Font &f = font(cell);
        const qreal width = (cell.rect.width() - 2 * kCellPaddingX) * kDpi / 25.4;
        QStringList out;
        for (const QString &paragraph : paragraphs) {
            if (paragraph.isEmpty() || f.metrics.horizontalAdvance(paragraph) <= width) {
                out << paragraph;
                continue;
            }
            QTextLayout layout(paragraph, f.font, &m_device);
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid();
                 line = layout.createLine()) {
                line.setLineWidth(std::max<qreal>(width, 1));
                QString piece = paragraph.mid(line.textStart(), line.textLength());
                while (!piece.isEmpty() && piece.back().isSpace())
                    piece.chop(1);
                out << piece;
            }
            layout.endLayout();
        }
        return out;
    }

private:
    static constexpr qreal kDpi = 1200;
    QImage m_device;
    QHash<QString, Font> m_fonts;
};

struct MeasuredCell {
    const Cell *cell;
    QStringList lines;
    QColor fill;
    qreal lineHeight;
};

struct MeasuredBand {
    const Band *band = nullptr;
    QVector<MeasuredCell> cells;
    qreal height = 0;
};

// Where a band's texts come from: a data set row and its record number.
struct RowContext {
    DataSet *dataSet = nullptr;
    int row = -1;
    int line = 0;
};

class Builder {
public:
    Builder(const Report &report, const DataLinks &links, const QDateTime &now,
            const RowStep &rowStep)
        : m_report(report), m_layout(report.layout()), m_links(links), m_rowStep(rowStep),
          m_date(now.toString(QStringLiteral("dd.MM.yyyy"))),
          m_time(now.toString(QStringLiteral("HH:mm")))
    {
    }

    // False with `error`, or with an empty error when the row step stopped the run.
    bool run(QString &error);
    PreparedReport takeResult() { return std::move(m_result); }

private:
    const QVector<Segment> &segments(int bandIndex, int cellIndex) const
    {
        return m_segments[bandIndex][cellIndex];
    }
    MeasuredBand measure(int bandIndex, const RowContext &row);
    void startPage();
    void place(const MeasuredBand &band);
    void placeWhole(const MeasuredBand &band, qreal top, int page);
    void placeSplit(const MeasuredBand &band);
    void addItem(int page, const Cell &cell, const QRectF &rect, const QString &text,
                 const QColor &fill, Qt::Alignment alignment);
    qreal bodyBottom() const { return m_bodyBottom; }
    QRectF cellRect(const Cell &cell, qreal top) const
    {
        return cell.rect.translated(m_layout.margins.left(), top);
    }

    const Report &m_report;
    const Layout &m_layout;
    const DataLinks &m_links;
    const RowStep &m_rowStep;
    const QString m_date;
    const QString m_time;
    TextMeasure m_measure;
    QVector<QVector<QVector<Segment>>> m_segments; // band, cell
    QVector<int> m_titleBands, m_headerBands, m_footerBands;
    PreparedReport m_result;
    qreal m_y = 0;
    qreal m_bodyBottom = 0;
    bool m_pageHasBody = false;
};

MeasuredBand Builder::measure(int bandIndex, const RowContext &row)
{
    const Band &band = m_layout.bands[bandIndex];
    MeasuredBand out;
    out.band = &band;
    out.height = band.height;
    out.cells.reserve(band.cells.size());
    for (int c = 0; c < band.cells.size(); ++c) {
        const Cell &cell = band.cells[c];
        QString text;
        for (const Segment &s : segments(bandIndex, c)) {
            switch (s.kind) {
            case Segment::Literal: text += s.text; break;
            case Segment::Line: text += QString::number(row.line); break;
            case Segment::Date: text += m_date; break;
            case Segment::Time: text += m_time; break;
            case Segment::Page: text += kPageMark; break;
            case Segment::TotalPages: text += kTotalPagesMark; break;
            case Segment::Column:
                if (row.dataSet && s.column >= 0 && row.row >= 0) {
                    const QVariant value = row.dataSet->valueAt(row.row, s.column);
                    if (!value.isNull())
                        text += formats::byName(value, cell.format);
                }
                break;
            }
        }
        MeasuredCell measured{&cell, m_measure.lines(text, cell), cell.fill,
                              m_measure.font(cell).lineHeight};
        if (cell.oddLineFill.isValid() && row.line % 2 == 1)
            measured.fill = cell.oddLineFill;
        if (cell.wordWrap)
            out.height = std::max(out.height, cell.rect.top() + 2 * kCellPaddingY
                                                  + measured.lines.size() * measured.lineHeight);
        out.cells.append(std::move(measured));
    }
    return out;
}

void Builder::addItem(int page, const Cell &cell, const QRectF &rect, const QString &text,
                      const QColor &fill, Qt::Alignment alignment)
{
    PreparedItem item;
    item.name = cell.name;
    item.rect = rect;
    item.text = text;
    item.fontFamily = cell.fontFamily;
    item.fontSize = cell.fontSize;
    item.bold = cell.bold;
    item.alignment = alignment;
    item.fill = fill;
    item.textColor = cell.textColor;
    item.frameLines = cell.frameLines;
    item.frameWidth = cell.frameWidth;
    m_result.pages[page].items.append(std::move(item));
}

void Builder::placeWhole(const MeasuredBand &band, qreal top, int page)
{
    for (const MeasuredCell &m : band.cells) {
        QRectF r = cellRect(*m.cell, top);
        if (m.cell->stretch)
            r.setBottom(top + band.height);
        addItem(page, *m.cell, r, m.lines.join(QLatin1Char('\n')), m.fill, m.cell->alignment);
    }
}

void Builder::placeSplit(const MeasuredBand &band)
{
    QVector<qsizetype> next(band.cells.size(), 0);
    bool firstPiece = true;
    for (;;) {
        const qreal room = bodyBottom() - m_y;
        qreal used = firstPiece ? band.band->height : 0;
        bool remaining = false;
        QVector<QStringList> taken(band.cells.size());
        for (int i = 0; i < band.cells.size(); ++i) {
            const MeasuredCell &m = band.cells[i];
            const qreal top = firstPiece ? m.cell->rect.top() : 0;
            if (m.cell->wordWrap) {
                const int fit = std::max(1, int((room - top - 2 * kCellPaddingY) / m.lineHeight));
                const qsizetype count = std::min<qsizetype>(fit, m.lines.size() - next[i]);
                taken[i] = m.lines.mid(next[i], count);
                next[i] += count;
                remaining = remaining || next[i] < m.lines.size();
                used = std::max(used, top + 2 * kCellPaddingY + count * m.lineHeight);
            } else if (firstPiece) {
                taken[i] = m.lines;
            }
        }
        const qreal height = remaining ? std::max(room, used) : used;
        const int page = m_result.pageCount() - 1;
        for (int i = 0; i < band.cells.size(); ++i) {
            const MeasuredCell &m = band.cells[i];
            const Cell &cell = *m.cell;
            if (!firstPiece && !cell.wordWrap && !cell.stretch)
                continue;
            const qreal top = firstPiece ? cell.rect.top() : 0;
            QRectF r(cell.rect.left() + m_layout.margins.left(), m_y + top, cell.rect.width(),
                     firstPiece ? cell.rect.height() : 0);
            if (cell.stretch)
                r.setBottom(m_y + height);
            else if (cell.wordWrap)
                r.setHeight(std::max(r.height(), 2 * kCellPaddingY
                                                     + taken[i].size() * m.lineHeight));
            Qt::Alignment alignment = cell.alignment;
            if (cell.wordWrap)
                alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
            addItem(page, cell, r, taken[i].join(QLatin1Char('\n')), m.fill, alignment);
        }
        m_y += height;
        m_pageHasBody = true;
        if (!remaining)
            return;
        startPage();
        firstPiece = false;
    }
}

void Builder::place(const MeasuredBand &band)
{
    if (m_y + band.height > bodyBottom() + kEpsilon && m_pageHasBody)
        startPage();
    if (m_y + band.height <= bodyBottom() + kEpsilon) {
        placeWhole(band, m_y, m_result.pageCount() - 1);
        m_y += band.height;
        m_pageHasBody = true;
        return;
    }
    placeSplit(band);
}

void Builder::startPage()
{
    PreparedPage page;
    page.size = m_layout.paperSize();
    m_result.pages.append(page);
    m_y = m_layout.margins.top();
    m_pageHasBody = false;
    const int current = m_result.pageCount() - 1;
    auto placeFixed = [&](int bandIndex) {
        const MeasuredBand band = measure(bandIndex, {});
        placeWhole(band, m_y, current);
        m_y += band.height;
    };
    if (current == 0)
        for (int b : std::as_const(m_titleBands))
            placeFixed(b);
    for (int b : std::as_const(m_headerBands))
        placeFixed(b);
}

bool Builder::run(QString &error)
{
    if (m_layout.isEmpty()) {
        error = QStringLiteral("Rapor tasarımı bulunamadı.");
        return false;
    }
    // Compile every cell once, against the data set of its band.
    m_segments.resize(m_layout.bands.size());
    for (int b = 0; b < m_layout.bands.size(); ++b) {
        const Band &band = m_layout.bands[b];
        DataSet *dataSet = m_links.value(band.dataLink);
        if (band.kind == BandKind::MasterData && !dataSet) {
            error = QStringLiteral("Rapor hazırlanamadı: \"%1\" veri kaynağı bağlı değil.")
                        .arg(band.dataLink);
            return false;
        }
        if (dataSet)
            dataSet->recordCount(); // reads a data set that was opened but not yet read
        for (const Cell &cell : band.cells) {
            if (m_report.hasText(cell.name))
                m_segments[b].append({Segment{Segment::Literal, m_report.text(cell.name), -1}});
            else
                m_segments[b].append(compile(cell.text, dataSet));
        }
        switch (band.kind) {
        case BandKind::ReportTitle: m_titleBands << b; break;
        case BandKind::PageHeader: m_headerBands << b; break;
        case BandKind::PageFooter: m_footerBands << b; break;
        default: break;
        }
    }
    qreal footerHeight = 0;
    for (int b : std::as_const(m_footerBands))
        footerHeight += m_layout.bands[b].height;
    m_bodyBottom = m_layout.paperSize().height() - m_layout.margins.bottom() - footerHeight;

    const int totalRows = reportRows(m_layout, m_links);
    startPage();
    for (int b = 0; b < m_layout.bands.size(); ++b) {
        const Band &band = m_layout.bands[b];
        DataSet *dataSet = m_links.value(band.dataLink);
        switch (band.kind) {
        case BandKind::ReportTitle:
        case BandKind::PageHeader:
        case BandKind::PageFooter:
            break;
        case BandKind::MasterHeader: {
            const MeasuredBand header = measure(b, {dataSet, -1, 0});
            // Keep the header with room for at least one record under it.
            const bool dataFollows = b + 1 < m_layout.bands.size()
                && m_layout.bands[b + 1].kind == BandKind::MasterData;
            const qreal below = dataFollows ? m_layout.bands[b + 1].height : 0;
            if (m_pageHasBody && m_y + header.height + below > bodyBottom() + kEpsilon)
                startPage();
            place(header);
            break;
        }
        case BandKind::MasterData: {
            const int rows = dataSet->recordCount();
            for (int row = 0; row < rows; ++row) {
                place(measure(b, {dataSet, row, row + 1}));
                ++m_result.rows;
                if (m_rowStep && !m_rowStep(m_result.rows, totalRows))
                    return false;
            }
            break;
        }
        case BandKind::MasterFooter:
        case BandKind::ReportSummary:
            place(measure(b, {dataSet, -1, 0}));
            break;
        }
    }

    const qreal footerTop = m_bodyBottom;
    for (int p = 0; p < m_result.pageCount(); ++p) {
        qreal y = footerTop;
        for (int b : std::as_const(m_footerBands)) {
            const MeasuredBand band = measure(b, {});
            placeWhole(band, y, p);
            y += m_layout.bands[b].height;
        }
    }
    const QString total = QString::number(m_result.pageCount());
    for (int p = 0; p < m_result.pageCount(); ++p) {
        const QString number = QString::number(p + 1);
        for (PreparedItem &item : m_result.pages[p].items) {
            if (item.text.contains(kPageMark))
                item.text.replace(kPageMark, number);
            if (item.text.contains(kTotalPagesMark))
                item.text.replace(kTotalPagesMark, total);
        }
    }
    return true;
}

} // namespace

int reportRows(const Layout &layout, const DataLinks &links)
{
    int rows = 0;
    for (const Band &band : layout.bands)
        if (band.kind == BandKind::MasterData)
            if (DataSet *dataSet = links.value(band.dataLink))
                rows += dataSet->recordCount();
    return rows;
}

bool ReportRunner::prepare(const Report &report, const DataLinks &links)
{
    m_error.clear();
    m_canceled = false;
    m_result = PreparedReport();
    Builder builder(report, links,
                    m_printTime.isValid() ? m_printTime : QDateTime::currentDateTime(),
                    m_rowStep);
    if (!builder.run(m_error)) {
        m_canceled = m_error.isEmpty();
        return false;
    }
    m_result = builder.takeResult();
    return true;
}

PreparedReport prepareReport(const Report &report, const DataLinks &links, QString *error,
                             const QDateTime &printTime)
{
    ReportRunner runner;
    runner.setPrintTime(printTime);
    if (!runner.prepare(report, links)) {
        if (error)
            *error = runner.errorText();
        return {};
    }
    return runner.takeResult();
}

} // namespace lumkar::reports
