#include "kit/csvexport.h"

#include "data/wholefile.h"
#include "kit/grid.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

namespace lumkar {

CsvExport::CsvExport(const QAbstractItemModel &model, QVector<int> columns)
    : m_model(model), m_columns(std::move(columns))
{
}

QVector<int> CsvExport::shownColumns(const QTableView &view)
{
    QVector<int> columns;
    const QHeaderView *header = view.horizontalHeader();
    if (!view.model())
        return columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !view.isColumnHidden(logical))
            columns.append(logical);
    }
    return columns;
}

QString CsvExport::field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"'))
        || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QByteArray CsvExport::bytes() const
{
    QString text;
    QStringList fields;
    for (int column : std::as_const(m_columns))
        fields.append(field(m_model.headerData(column, Qt::Horizontal).toString()));
    text += fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
    // A grid that shows a window of its list writes the whole list.
    const auto *grid = qobject_cast<const GridModel *>(&m_model);
    const int rows = grid ? grid->listRows() : m_model.rowCount();
    for (int row = 0; row < rows; ++row) {
        fields.clear();
        for (int column : std::as_const(m_columns))
            fields.append(field(grid ? grid->cellText(row, column)
                                     : m_model.index(row, column).data(Qt::DisplayRole).toString()));
        text += fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

bool CsvExport::save(const QString &path)
{
    return writeWholeFile(path, bytes(), &m_errorText);
}

} // namespace lumkar
