#pragma once
// A printed report as data: the paper, the bands and the text cells in them. Cell texts are
// literal except for bracketed fields: [LINE#] (record number within its data band, from 1),
// [DATE], [TIME], [Page#], [TotalPages], and any other [name] is a column of the band's data
// set (for example "[adi] [soyadi]"). A Report is a layout with the cell texts set by code.

#include <QColor>
#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QVector>

namespace lumkar::reports {

enum class BandKind {
    ReportTitle,   // once, at the top of the first page
    PageHeader,    // at the top of every page
    MasterHeader,  // once before the records of the data band that follows it
    MasterData,    // once per record of its data link
    MasterFooter,  // once after the records of the data band before it
    ReportSummary, // once after everything
    PageFooter     // at the bottom of every page
};

enum FrameLine : quint8 {
    NoLines = 0,
    TopLine = 1,
    BottomLine = 2,
    LeftLine = 4,
    RightLine = 8,
    AllLines = 15
};

struct Cell {
    QString name; // "Memo1", ...; texts set by code find the cell by it
    QRectF rect;  // millimetres, relative to the band's top left corner
    QString text;
    QString fontFamily = QStringLiteral("Times New Roman");
    qreal fontSize = 10; // points
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    quint8 frameLines = NoLines;
    qreal frameWidth = 0.25; // millimetres
    QColor fill;             // invalid: transparent
    QColor textColor = Qt::black;
    QString format;          // "dd.mm.yyyy", "hh:nn", "#,##0.00", "#,###.00"; applied to fields
    bool wordWrap = false;   // wraps at word boundaries; the band grows to hold every line
    bool stretch = false;    // the cell's bottom follows the band's bottom when the band grows
    QColor oddLineFill;      // highlight "[Line#] mod 2": fill used on odd record numbers
};

struct Band {
    BandKind kind = BandKind::MasterData;
    qreal height = 5; // millimetres; a band with wrapping cells may grow
    QString dataLink; // master bands: the name of the data link they print
    QVector<Cell> cells;
};

struct Layout {
    QString name; // "anamenu.frReport1", for messages
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // millimetres
    QVector<Band> bands;

    bool isEmpty() const { return bands.isEmpty(); }
    QSizeF paperSize() const; // A4 in millimetres, turned by the orientation
    qreal contentWidth() const;
    const Cell *cell(const QString &name) const;
};

// The name of the cell that carries the logged-in user's full name in every layout. Layouts
// leave it empty; every printing operation sets it (Report::setUserName).
inline QString userNameCell() { return QStringLiteral("Memo19"); }

// A layout with the texts code has set for its named cells. A set text replaces the cell's
// whole text and is printed literally; it stays until set again.
class Report {
public:
    Report() = default;
    explicit Report(Layout layout) : m_layout(std::move(layout)) {}

    const Layout &layout() const { return m_layout; }
    void setText(const QString &cellName, const QString &text) { m_texts[cellName] = text; }
    void setUserName(const QString &fullName) { setText(userNameCell(), fullName); }
    // The text set by code, else the layout's own text.
    QString text(const QString &cellName) const;
    bool hasText(const QString &cellName) const { return m_texts.contains(cellName); }
    const QHash<QString, QString> &texts() const { return m_texts; }

private:
    Layout m_layout;
    QHash<QString, QString> m_texts;
};

} // namespace lumkar::reports
