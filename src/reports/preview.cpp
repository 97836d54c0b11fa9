#include "reports/preview.h"

#include "kit/dialogs.h"
#include "reports/painter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace lumkar {

namespace {

constexpr int kPageMargin = 16; // pixels of grey around the page
constexpr qreal kMinZoom = 0.25;
constexpr qreal kMaxZoom = 4.0;
constexpr qreal kZoomStep = 1.25;

} // namespace

// Draws the current page of the preview on a grey background.
class ReportPreview::PageView : public QWidget {
public:
    explicit PageView(ReportPreview &preview) : m_preview(preview)
    {
        setObjectName(QStringLiteral("pageView"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        setPalette(p);
    }

    QSize pageSize() const
    {
        const auto &report = m_preview.report();
        if (report.isEmpty())
            return QSize(200, 200);
        const QSizeF mm = report.pages[m_preview.pageIndex()].size;
        const qreal k = m_preview.pixelsPerMm();
        return QSize(qRound(mm.width() * k), qRound(mm.height() * k));
    }

    QSize sizeHint() const override
    {
        return pageSize() + QSize(2 * kPageMargin, 2 * kPageMargin);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const auto &report = m_preview.report();
        if (report.isEmpty())
            return;
        QPainter painter(this);
        const QSize size = pageSize();
        const int x = std::max(kPageMargin, (width() - size.width()) / 2);
        const QRect page(x, kPageMargin, size.width(), size.height());
        painter.fillRect(page.translated(3, 3), QColor(80, 80, 80));
        painter.fillRect(page, Qt::white);
        painter.translate(page.topLeft());
        const qreal k = m_preview.pixelsPerMm();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const auto &shown = report.pages[m_preview.pageIndex()];
        reports::paintPage(painter, shown, k);
        const reports::TextHit hit = m_preview.currentHit();
        if (hit.page == m_preview.pageIndex() && hit.item < shown.items.size()) {
            const QRectF r = shown.items[hit.item].rect;
            painter.fillRect(QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k),
                             QColor(255, 200, 0, 90));
        }
    }

private:
    ReportPreview &m_preview;
};

ReportPreview::ReportPreview(Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_dialogs(dialogs), m_folder(QDir::homePath())
{
    setObjectName(QStringLiteral("reportPreview"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *toolbar = new QToolBar(this);
    m_toolbar = toolbar;
    toolbar->setObjectName(QStringLiteral("previewToolbar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolbar);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScroll"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(*this);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    layout->addWidget(m_scroll, 1);

    connect(makeAction(QStringLiteral("zoomInAction"), QStringLiteral("Yakınlaştır"),
                       QKeySequence::ZoomIn),
            &QAction::triggered, this, &ReportPreview::zoomIn);
    connect(makeAction(QStringLiteral("zoomOutAction"), QStringLiteral("Uzaklaştır"),
                       QKeySequence::ZoomOut),
            &QAction::triggered, this, &ReportPreview::zoomOut);
    connect(makeAction(QStringLiteral("fitAction"), QStringLiteral("Sığdır"), {}),
            &QAction::triggered, this, &ReportPreview::fitPage);
    m_zoomLabel = new QLabel(this);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    m_zoomLabel->setMinimumWidth(50);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    toolbar->addWidget(m_zoomLabel);
    toolbar->addSeparator();
    connect(makeAction(QStringLiteral("firstPageAction"), QStringLiteral("İlk"),
                       Qt::CTRL | Qt::Key_Home),
            &QAction::triggered, this, [this] { showPage(0); });
    connect(makeAction(QStringLiteral("priorPageAction"), QStringLiteral("Önceki"),
                       Qt::Key_PageUp),
            &QAction::triggered, this, [this] { showPage(m_page - 1); });
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    toolbar->addWidget(m_pageLabel);
    connect(makeAction(QStringLiteral("nextPageAction"), QStringLiteral("Sonraki"),
                       Qt::Key_PageDown),
            &QAction::triggered, this, [this] { showPage(m_page + 1); });
    connect(makeAction(QStringLiteral("lastPageAction"), QStringLiteral("Son"),
                       Qt::CTRL | Qt::Key_End),
            &QAction::triggered, this, [this] { showPage(m_report.pageCount() - 1); });
    toolbar->addSeparator();
    connect(makeAction(QStringLiteral("printAction"), QStringLiteral("Yazdır"),
                       QKeySequence::Print),
            &QAction::triggered, this, &ReportPreview::print);
    connect(makeAction(QStringLiteral("saveAction"), QStringLiteral("Kaydet"),
                       QKeySequence::Save),
            &QAction::triggered, this, &ReportPreview::saveAs);
    connect(makeAction(QStringLiteral("openAction"), QStringLiteral("Aç"), QKeySequence::Open),
            &QAction::triggered, this, &ReportPreview::openFile);
    connect(makeAction(QStringLiteral("findAction"), QStringLiteral("Bul"), QKeySequence::Find),
            &QAction::triggered, this, &ReportPreview::find);
    toolbar->addSeparator();
    connect(makeAction(QStringLiteral("closeAction"), QStringLiteral("Kapat"), {}),
            &QAction::triggered, this, &ReportPreview::close);

    resize(1000, 800);
    updateView();
}

ReportPreview::~ReportPreview() = default;

ReportPreview *ReportPreview::showReport(const reports::PreparedReport &report,
                                         const QString &title, Dialogs &dialogs,
                                         QWidget *parent)
{
    auto *preview = new ReportPreview(dialogs, parent);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::ApplicationModal);
    preview->setWindowTitle(title);
    preview->setReport(report);
    preview->show();
    preview->fitPage();
    return preview;
}

ReportPreview *ReportPreview::printReport(const reports::Report &report,
                                          const reports::DataLinks &links, const QString &title,
                                          Dialogs &dialogs, QWidget *parent)
{
    reports::ReportRunner runner;
    const int rows = reports::reportRows(report.layout(), links);
    std::unique_ptr<Progress> progress;
    if (rows > reports::kProgressFromRows) {
        progress = dialogs.startProgress(QStringLiteral("Rapor hazırlanıyor..."), rows);
        runner.setRowStep([&progress](int done, int) {
            progress->setValue(done);
            return !progress->wasCanceled();
        });
    }
    const bool prepared = runner.prepare(report, links);
    if (progress)
        progress->finish();
    if (!prepared) {
        if (!runner.canceled())
            dialogs.error(programTitle(), runner.errorText());
        return nullptr;
    }
    return showReport(runner.takeResult(), title, dialogs, parent);
}

QAction *ReportPreview::makeAction(const QString &name, const QString &text,
                                   const QKeySequence &keys)
{
    auto *toolbar = static_cast<QToolBar *>(m_toolbar);
    QAction *action = toolbar->addAction(text);
    action->setObjectName(name);
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

void ReportPreview::setReport(const reports::PreparedReport &report)
{
    m_report = report;
    m_page = 0;
    m_hit = {};
    updateView();
}

qreal ReportPreview::pixelsPerMm() const
{
    return m_zoom * logicalDpiX() / 25.4;
}

void ReportPreview::showPage(int index)
{
    if (m_report.isEmpty())
        return;
    const int page = std::clamp(index, 0, m_report.pageCount() - 1);
    if (page == m_page)
        return;
    m_page = page;
    updateView();
    m_scroll->verticalScrollBar()->setValue(0);
}

void ReportPreview::setZoom(qreal zoom)
{
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    updateView();
}

void ReportPreview::zoomIn()
{
    setZoom(m_zoom * kZoomStep);
}

void ReportPreview::zoomOut()
{
    setZoom(m_zoom / kZoomStep);
}

void ReportPreview::fitPage()
{
    if (m_report.isEmpty())
        return;
    const QSizeF mm = m_report.pages[m_page].size;
    // A few pixels to spare, so that rounding never brings up the scroll bars.
    const QSize room = m_scroll->viewport()->size()
        - QSize(2 * kPageMargin + 6, 2 * kPageMargin + 6);
    const qreal perMmAtOne = logicalDpiX() / 25.4;
    const qreal zoom = std::min(room.width() / (mm.width() * perMmAtOne),
                                room.height() / (mm.height() * perMmAtOne));
    setZoom(zoom);
}

void ReportPreview::updateView()
{
    const int count = m_report.pageCount();
    m_pageLabel->setText(count ? QStringLiteral("Sayfa %1 / %2").arg(m_page + 1).arg(count)
                               : QStringLiteral("Sayfa yok"));
    m_zoomLabel->setText(QStringLiteral("%%1").arg(qRound(m_zoom * 100)));
    m_view->resize(m_view->sizeHint().expandedTo(m_scroll->viewport()->size()));
    m_view->update();
}

void ReportPreview::print()
{
    if (m_report.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(m_report.pages.first().isLandscape() ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Yazdır"));
    dialog.setMinMax(1, m_report.pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<Progress> progress = startPageProgress(QStringLiteral("Yazdırılıyor..."));
    if (reports::printReport(m_report, printer, pageStep(progress.get()))
        == reports::PaintOutcome::Failed)
        m_dialogs.error(programTitle(), QStringLiteral("Rapor yazdırılamadı."));
}

bool ReportPreview::saveAs()
{
    if (m_report.isEmpty())
        return false;
    QString path = m_dialogs.saveFile(
        QStringLiteral("Raporu Kaydet"), m_folder, QStringLiteral("rapor.pdf"),
        QStringLiteral("PDF dosyası (*.pdf);;Lumkar hazır raporu (*.lrp)"));
    if (path.isEmpty())
        return false;
    QFileInfo info(path);
    if (info.suffix().isEmpty()) {
        path += QStringLiteral(".pdf");
        info.setFile(path);
    }
    m_folder = info.absolutePath();
    const bool prepared = info.suffix().compare(reports::preparedFileSuffix(),
                                                Qt::CaseInsensitive) == 0;
    if (prepared) {
        const bool saved = reports::savePrepared(m_report, path);
        if (!saved)
            m_dialogs.error(programTitle(), QStringLiteral("Dosya kaydedilemedi: %1").arg(path));
        return saved;
    }
    const std::unique_ptr<Progress> progress
        = startPageProgress(QStringLiteral("PDF dosyası yazılıyor..."));
    const reports::PaintOutcome outcome
        = reports::exportPdf(m_report, path, windowTitle(), pageStep(progress.get()));
    if (outcome == reports::PaintOutcome::Failed)
        m_dialogs.error(programTitle(), QStringLiteral("Dosya kaydedilemedi: %1").arg(path));
    return outcome == reports::PaintOutcome::Done;
}

std::unique_ptr<Progress> ReportPreview::startPageProgress(const QString &label)
{
    if (m_report.rows <= reports::kProgressFromRows)
        return nullptr;
    return m_dialogs.startProgress(label, m_report.pageCount());
}

reports::PageStep ReportPreview::pageStep(Progress *progress)
{
    if (!progress)
        return {};
    return [progress](int done, int) {
        progress->setValue(done);
        return !progress->wasCanceled();
    };
}

bool ReportPreview::openFile()
{
    const QString path = m_dialogs.openFile(QStringLiteral("Rapor Aç"), m_folder,
                                            QStringLiteral("Lumkar hazır raporu (*.lrp)"));
    if (path.isEmpty())
        return false;
    reports::PreparedReport loaded;
    if (!reports::loadPrepared(loaded, path) || loaded.isEmpty()) {
        m_dialogs.error(programTitle(),
                        QStringLiteral("Dosya bir Lumkar raporu değil ya da okunamadı: %1")
                            .arg(path));
        return false;
    }
    m_folder = QFileInfo(path).absolutePath();
    setReport(loaded);
    return true;
}

bool ReportPreview::find()
{
    QString text = m_lastSearch;
    if (!m_dialogs.input(QStringLiteral("Bul"), QStringLiteral("Aranacak metin:"), text))
        return false;
    if (text.trimmed().isEmpty())
        return false;
    const reports::TextHit after = text == m_lastSearch ? m_hit : reports::TextHit{};
    m_lastSearch = text;
    const reports::TextHit hit = reports::findText(m_report, text, after);
    if (!hit.isValid()) {
        m_hit = {};
        m_view->update();
        m_dialogs.information(QStringLiteral("Bul"),
                              QStringLiteral("\"%1\" bulunamadı.").arg(text));
        return false;
    }
    m_hit = hit;
    if (hit.page != m_page)
        showPage(hit.page);
    else
        m_view->update();
    const QRectF r = m_report.pages[hit.page].items[hit.item].rect;
    m_scroll->ensureVisible(qRound(r.center().x() * pixelsPerMm()) + kPageMargin,
                            qRound(r.center().y() * pixelsPerMm()) + kPageMargin);
    return true;
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    updateView();
}

void ReportPreview::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3) {
        find();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumkar
