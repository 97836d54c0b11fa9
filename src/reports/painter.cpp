#include "reports/painter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace lumkar::reports {

namespace {

struct FontEntry {
    QFont font;
    qreal lineSpacing;
};

QPageLayout pageLayoutFor(const PreparedPage &page)
{
    const QSizeF portrait = page.isLandscape() ? page.size.transposed() : page.size;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(),
                                 QPageSize::FuzzyMatch),
                       page.isLandscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void drawFrame(QPainter &painter, const QRectF &r, const PreparedItem &item, qreal pixelsPerMm)
{
    QPen pen(Qt::black);
    pen.setWidthF(std::max<qreal>(1.0, item.frameWidth * pixelsPerMm));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    if (item.frameLines & 1) // top
        painter.drawLine(r.topLeft(), r.topRight());
    if (item.frameLines & 2) // bottom
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    if (item.frameLines & 4) // left
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (item.frameLines & 8) // right
        painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

QFont reportFont(const QString &family, bool bold)
{
    static const QHash<QString, QStringList> twins{
        {QStringLiteral("times new roman"),
         {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}},
        {QStringLiteral("arial"),
         {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("courier new"),
         {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}},
    };
    QFont font;
    font.setFamilies(twins.value(family.toLower(),
                                 {family, QStringLiteral("DejaVu Serif")}));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void paintPage(QPainter &painter, const PreparedPage &page, qreal pixelsPerMm)
{
    painter.save();
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    QHash<QString, FontEntry> fonts;
    const qreal padX = kCellPaddingX * pixelsPerMm;
    const qreal padY = kCellPaddingY * pixelsPerMm;
    for (const PreparedItem &item : page.items) {
        const QRectF r(item.rect.x() * pixelsPerMm, item.rect.y() * pixelsPerMm,
                       item.rect.width() * pixelsPerMm, item.rect.height() * pixelsPerMm);
        if (item.fill.isValid() && item.fill.alpha() > 0)
            painter.fillRect(r, item.fill);
        if (!item.text.isEmpty()) {
            const QString key = item.fontFamily + QLatin1Char('|')
                + QString::number(item.fontSize) + (item.bold ? QStringLiteral("b") : QString());
            auto it = fonts.find(key);
            if (it == fonts.end()) {
                QFont font = reportFont(item.fontFamily, item.bold);
                font.setPointSizeF(item.fontSize * pixelsPerMm * 25.4 / dpi);
                const qreal spacing = QFontMetricsF(font, painter.device()).lineSpacing();
                it = fonts.insert(key, {font, spacing});
            }
            painter.setFont(it->font);
            painter.setPen(item.textColor);
            const qreal lineHeight = it->lineSpacing;
            const QRectF inner = r.adjusted(padX, padY, -padX, -padY);
            const QStringList lines = item.text.split(QLatin1Char('\n'));
            const qreal total = lines.size() * lineHeight;
            qreal y = inner.top();
            if (item.alignment & Qt::AlignBottom)
                y = inner.bottom() - total;
            else if (item.alignment & Qt::AlignVCenter)
                y = inner.top() + (inner.height() - total) / 2;
            y = std::max(y, inner.top());
            const int horizontal = int(item.alignment & Qt::AlignHorizontal_Mask);
            for (const QString &line : lines) {
                painter.drawText(QRectF(inner.left(), y, inner.width(), lineHeight),
                                 horizontal | Qt::AlignVCenter, line);
                y += lineHeight;
            }
        }
        if (item.frameLines)
            drawFrame(painter, r, item, pixelsPerMm);
    }
    painter.restore();
}

PaintOutcome exportPdf(const PreparedReport &report, const QString &path, const QString &title,
                       const PageStep &step)
{
    if (report.isEmpty())
        return PaintOutcome::Failed;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return PaintOutcome::Failed;
    PaintOutcome outcome = PaintOutcome::Done;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lumkar Vikelmo"));
        writer.setPageLayout(pageLayoutFor(report.pages.first()));
        QPainter painter;
        if (!painter.begin(&writer))
            return PaintOutcome::Failed;
        const qreal pixelsPerMm = writer.resolution() / 25.4;
        for (int i = 0; i < report.pageCount(); ++i) {
            if (i > 0) {
                writer.setPageLayout(pageLayoutFor(report.pages[i]));
                writer.newPage();
            }
            paintPage(painter, report.pages[i], pixelsPerMm);
            if (step && !step(i + 1, report.pageCount())) {
                outcome = PaintOutcome::Stopped;
                break;
            }
        }
        if (!painter.end() && outcome == PaintOutcome::Done)
            outcome = PaintOutcome::Failed;
    }
    if (outcome != PaintOutcome::Done) {
        file.cancelWriting();
        return outcome;
    }
    return file.commit() ? PaintOutcome::Done : PaintOutcome::Failed;
}

PaintOutcome printReport(const PreparedReport &report, QPrinter &printer, const PageStep &step)
{
    if (report.isEmpty())
        return PaintOutcome::Failed;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4)); // every layout is drawn on A4
    printer.setPageOrientation(report.pages.first().isLandscape() ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        return PaintOutcome::Failed;
    const qreal pixelsPerMm = printer.resolution() / 25.4;
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    const int from = range ? printer.fromPage() - 1 : 0;
    const int to = range ? std::min(printer.toPage(), report.pageCount()) : report.pageCount();
    for (int i = from; i < to; ++i) {
        if (i > from) {
            printer.setPageOrientation(report.pages[i].isLandscape() ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
            printer.newPage();
        }
        paintPage(painter, report.pages[i], pixelsPerMm);
        if (step && !step(i - from + 1, to - from)) {
            printer.abort();
            painter.end();
            return PaintOutcome::Stopped;
        }
    }
    return painter.end() ? PaintOutcome::Done : PaintOutcome::Failed;
}

} // namespace lumkar::reports
