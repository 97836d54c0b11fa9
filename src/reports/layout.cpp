#include "reports/layout.h"

namespace lumkar::reports {

QSizeF Layout::paperSize() const
{
    const QSizeF a4(210, 297);
    return orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

qreal Layout::contentWidth() const
{
    return paperSize().width() - margins.left() - margins.right();
}

const Cell *Layout::cell(const QString &cellName) const
{
    for (const Band &band : bands)
        for (const Cell &c : band.cells)
            if (c.name == cellName)
                return &c;
    return nullptr;
}

QString Report::text(const QString &cellName) const
{
    const auto it = m_texts.constFind(cellName);
    if (it != m_texts.constEnd())
        return *it;
    const Cell *c = m_layout.cell(cellName);
    return c ? c->text : QString();
}

} // namespace lumkar::reports
