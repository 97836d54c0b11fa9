#pragma once
// Runs a report: walks the data sets of its data links as they stand (filter, order, rows;
// their cursors are not moved) and places every band on A4 pages. Page headers and footers go
// on every page, [TotalPages] is filled in after the last page, rows grow with wrapping text,
// and a row taller than a page is cut at the page end and continued on the next page.

#include "reports/layout.h"
#include "reports/prepared.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace lumkar {
class DataSet;
}

namespace lumkar::reports {

// Data link name (as the layout's master bands name it) -> data set.
using DataLinks = QHash<QString, DataSet *>;

// Runs after each data row placed, with the rows done and the rows to do; false stops the run.
using RowStep = std::function<bool(int done, int rows)>;

class ReportRunner {
public:
    // The moment [DATE] and [TIME] print; the current time when never set.
    void setPrintTime(const QDateTime &moment) { m_printTime = moment; }
    void setRowStep(RowStep step) { m_rowStep = std::move(step); }

    // Prepares the report; false with errorText() when the layout cannot run (no bands, a
    // data band whose link is not given), or with canceled() when the row step stopped it. A
    // closed data set prints no rows.
    bool prepare(const Report &report, const DataLinks &links);

    const PreparedReport &result() const { return m_result; }
    PreparedReport takeResult() { return std::move(m_result); }
    QString errorText() const { return m_error; }
    bool canceled() const { return m_canceled; }

private:
    QDateTime m_printTime;
    RowStep m_rowStep;
    PreparedReport m_result;
    QString m_error;
    bool m_canceled = false;
};

// The data rows a layout prints: the rows of the data sets its data bands run over.
int reportRows(const Layout &layout, const DataLinks &links);

// The column names the layout's bands name ("[adi]") that their data set does not have, each
// as "link.name"; empty when every field resolves. A band without a data set resolves
// nothing. Serves the checks that a misspelt field can never print blank unnoticed.
QStringList unresolvedFields(const Layout &layout, const DataLinks &links);

// Convenience: prepares or returns an empty report and sets `error`.
PreparedReport prepareReport(const Report &report, const DataLinks &links,
                             QString *error = nullptr, const QDateTime &printTime = {});

} // namespace lumkar::reports
