#pragma once
// The preview window of every printout: one page at a time with zoom and page navigation,
// print (print dialog), save (PDF or prepared pages, by the file's extension), open (saved
// prepared pages), find (the next page holding a text) and close. The caller sets the title.

#include "reports/painter.h"
#include "reports/prepared.h"
#include "reports/runner.h"

#include <QDialog>
#include <QString>
#include <memory>

class QAction;
class QLabel;
class QScrollArea;

namespace lumkar {

class Dialogs;
class Progress;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(Dialogs &dialogs, QWidget *parent = nullptr);
    ~ReportPreview() override;

    // Shows prepared pages in a new preview window that deletes itself when closed.
    static ReportPreview *showReport(const reports::PreparedReport &report, const QString &title,
                                     Dialogs &dialogs, QWidget *parent = nullptr);
    // Prepares a report over its data sets and shows it; null, after telling the user why,
    // when the layout could not run.
    static ReportPreview *printReport(const reports::Report &report,
                                      const reports::DataLinks &links, const QString &title,
                                      Dialogs &dialogs, QWidget *parent = nullptr);

    void setReport(const reports::PreparedReport &report);
    const reports::PreparedReport &report() const { return m_report; }

    int pageIndex() const { return m_page; } // 0-based
    void showPage(int index);
    qreal zoom() const { return m_zoom; } // 1 = the paper's real size on the screen
    void setZoom(qreal zoom);
    void zoomIn();
    void zoomOut();
    void fitPage(); // the whole page in the window

    void print();   // print dialog, then the printer
    bool saveAs();  // ".pdf": PDF; ".lrp": prepared pages
    bool openFile(); // loads saved prepared pages
    bool find();    // asks for a text and shows the page of its next occurrence
    reports::TextHit currentHit() const { return m_hit; }

    qreal pixelsPerMm() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class PageView;
    QAction *makeAction(const QString &name, const QString &text, const QKeySequence &keys);
    // A progress display over the pages of a long printout; none for a short one.
    std::unique_ptr<Progress> startPageProgress(const QString &label);
    static reports::PageStep pageStep(Progress *progress);
    void updateView();

    Dialogs &m_dialogs;
    reports::PreparedReport m_report;
    int m_page = 0;
    qreal m_zoom = 1.0;
    reports::TextHit m_hit;
    QString m_lastSearch;
    QString m_folder;
    PageView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QWidget *m_toolbar = nullptr;
};

} // namespace lumkar
