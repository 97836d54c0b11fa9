#pragma once
// Drawing prepared pages on any QPainter (preview, printer, PDF) at the device's resolution,
// and the fonts reports use: the layouts name Times New Roman, which is drawn with its metric
// twin Liberation Serif, or DejaVu Serif where that is missing.

#include "reports/prepared.h"

#include <QFont>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

namespace lumkar::reports {

// The padding between a cell's frame and its text, in millimetres.
inline constexpr qreal kCellPaddingX = 1.2;
inline constexpr qreal kCellPaddingY = 0.3;

// The screen or print font for a layout's family name; the size is left to the caller.
QFont reportFont(const QString &family, bool bold);

// Draws one page with its top left corner at the painter's origin, `pixelsPerMm` device
// pixels to the millimetre.
void paintPage(QPainter &painter, const PreparedPage &page, qreal pixelsPerMm);

// Runs after each page drawn with the pages done and the pages to do; false stops the work.
using PageStep = std::function<bool(int done, int pages)>;

// The outcome of drawing pages on a printer or into a file.
enum class PaintOutcome { Done, Failed, Stopped };

// Writes every page to a PDF file; `title` goes into the document's properties. The file
// appears only when every page is written: a failure or a stop leaves no file and an older
// file of that name as it was.
PaintOutcome exportPdf(const PreparedReport &report, const QString &path,
                       const QString &title = QString(), const PageStep &step = {});

// Prints every page on a printer that is already set up (a print dialog has run); a stop
// aborts the print job, so nothing more is printed.
PaintOutcome printReport(const PreparedReport &report, QPrinter &printer,
                         const PageStep &step = {});

} // namespace lumkar::reports
