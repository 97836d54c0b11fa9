#include "appointments/dailyprint.h"

#include "data/formats.h"
#include "kit/dialogs.h"
#include "reports/layouts.h"
#include "reports/preview.h"
#include "reports/runner.h"

#include <QWidget>

namespace lumkar {

namespace {

QString waitingSuffix() { return QStringLiteral(" TARİHLİ BEKLEYEN RANDEVU LİSTESİ"); }
QString heldSuffix() { return QStringLiteral(" TARİHLİ GÖRÜŞÜLEN RANDEVU LİSTESİ"); }
QString cancelledSuffix() { return QStringLiteral(" TARİHLİ İPTAL EDİLEN RANDEVU LİSTESİ"); }

} // namespace

DailyPrint::DailyPrint(DataSet &randevuTable, DataSet &ffQuery1, DataSet &ffQuery4,
                       Dialogs &dialogs, QWidget *parent)
    : m_waiting(randevuTable), m_held(ffQuery1), m_cancelled(ffQuery4), m_dialogs(dialogs),
      m_parent(parent)
{
}

QString DailyPrint::component(Printout printout, bool allUsers)
{
    switch (printout) {
    case Printout::Waiting: return QStringLiteral("frReport1");
    case Printout::Waiting2: return QStringLiteral("frReport5");
    case Printout::Waiting3: return QStringLiteral("frReport8");
    case Printout::Held: return QStringLiteral("frReport2");
    case Printout::Held2: return QStringLiteral("frReport6");
    case Printout::Cancelled: return QStringLiteral("frReport3");
    case Printout::AllLists:
        return allUsers ? QStringLiteral("frReport7") : QStringLiteral("frReport4");
    }
    return QString();
}

QString DailyPrint::dateText(const QDate &day)
{
    return formats::date(day);
}

QString DailyPrint::restriction(bool allUsers, const QString &userFullName)
{
    return allUsers ? QStringLiteral("KISITLAMA: TÜM KULLANICILAR")
                    : QStringLiteral("KISITLAMA: ") + userFullName;
}

reports::Report &DailyPrint::reportFor(const QString &name)
{
    auto it = m_reports.find(name);
    if (it == m_reports.end())
        it = m_reports.insert(name, reports::Report(reports::layouts::anamenu(name)));
    return *it;
}

const reports::Report &DailyPrint::report(const QString &name)
{
    return reportFor(name);
}

void DailyPrint::setTexts(Printout printout, reports::Report &report,
                          const DayPrintState &state)
{
    const QString date = dateText(state.workingDate);
    const QString limit = restriction(state.allUsers, state.userFullName);
    switch (printout) {
    case Printout::Waiting:
    case Printout::Waiting2:
    case Printout::Waiting3:
        report.setText(QStringLiteral("Memo1"), date + waitingSuffix());
        report.setText(QStringLiteral("Memo5"), limit);
        break;
    case Printout::Held:
    case Printout::Held2:
        report.setText(QStringLiteral("Memo1"), date + heldSuffix());
        report.setText(QStringLiteral("Memo18"), limit);
        break;
    case Printout::Cancelled:
        report.setText(QStringLiteral("Memo1"), date + cancelledSuffix());
        report.setText(QStringLiteral("Memo18"), limit);
        break;
    case Printout::AllLists:
        report.setText(QStringLiteral("Memo1"), date + waitingSuffix());
        report.setText(QStringLiteral("Memo30"), date + heldSuffix());
        report.setText(QStringLiteral("Memo31"), date + cancelledSuffix());
        report.setText(QStringLiteral("Memo45"), limit);
        break;
    }
    report.setUserName(state.userFullName);
}

reports::PreparedReport DailyPrint::prepare(Printout printout, const DayPrintState &state,
                                            QString *error)
{
    reports::Report &report = reportFor(component(printout, state.allUsers));
    setTexts(printout, report, state);
    return reports::prepareReport(report, links(), error);
}

reports::DataLinks DailyPrint::links()
{
    return {{reports::layouts::waitingLink(), &m_waiting},
            {reports::layouts::heldLink(), &m_held},
            {reports::layouts::cancelledLink(), &m_cancelled}};
}

ReportPreview *DailyPrint::print(Printout printout, const DayPrintState &state)
{
    reports::Report &report = reportFor(component(printout, state.allUsers));
    setTexts(printout, report, state);
    return ReportPreview::printReport(report, links(), previewTitle(), m_dialogs, m_parent);
}

ReportPreview *DailyPrint::printWaiting(const DayPrintState &state)
{
    return print(Printout::Waiting, state);
}

ReportPreview *DailyPrint::printWaiting2(const DayPrintState &state)
{
    return print(Printout::Waiting2, state);
}

ReportPreview *DailyPrint::printWaiting3(const DayPrintState &state)
{
    return print(Printout::Waiting3, state);
}

ReportPreview *DailyPrint::printHeld(const DayPrintState &state)
{
    return print(Printout::Held, state);
}

ReportPreview *DailyPrint::printHeld2(const DayPrintState &state)
{
    return print(Printout::Held2, state);
}

ReportPreview *DailyPrint::printCancelled(const DayPrintState &state)
{
    return print(Printout::Cancelled, state);
}

ReportPreview *DailyPrint::printAllLists(const DayPrintState &state)
{
    return print(Printout::AllLists, state);
}

} // namespace lumkar
