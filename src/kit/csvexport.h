#pragma once
// A list as a spreadsheet file: the rows of a table model with the chosen columns under their
// headings, each cell as the list shows it, ";" between fields, a field quoted when it holds a
// ";", a quote or a line break, UTF-8 with a byte-order mark and CR LF line ends, so that a
// spreadsheet set to Turkish opens it with the Turkish letters right.

#include <QByteArray>
#include <QString>
#include <QVector>

class QAbstractItemModel;
class QTableView;

namespace lumkar {

class CsvExport {
public:
    // `columns` are model columns in the order they are written.
    CsvExport(const QAbstractItemModel &model, QVector<int> columns);
    // The columns a view shows, in the order it shows them (moved ones included, hidden ones
    // left out).
    static QVector<int> shownColumns(const QTableView &view);

    // One field as written: quoted, with its quotes doubled, when it must be.
    static QString field(const QString &text);

    // The whole file: byte-order mark, heading line, one line per row.
    QByteArray bytes() const;

    // Writes the file whole or not at all; false with errorText() when the disk refused it.
    bool save(const QString &path);
    QString errorText() const { return m_errorText; }

private:
    const QAbstractItemModel &m_model;
    QVector<int> m_columns;
    QString m_errorText;
};

} // namespace lumkar
