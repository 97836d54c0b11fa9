#include "reports/layouts.h"

#include "reports/listlayout.h"

namespace lumkar::reports::layouts {

namespace {

constexpr qreal kTotalsRow = 6;

QString field(const char *name)
{
    return QLatin1Char('[') + QLatin1String(name) + QLatin1Char(']');
}

QString fullName()
{
    return QStringLiteral("[adi] [soyadi]");
}

ListColumn saat()
{
    return timeColumn(QStringLiteral("SAAT"), QStringLiteral("randevusaati"), 14);
}

ListColumn adSoyad(qreal width)
{
    return textColumn(QStringLiteral("ADI SOYADI"), fullName(), width);
}

ListColumn paket(qreal width, const QString &caption = QStringLiteral("PAKET"))
{
    return textColumn(caption, field("paketadi"), width);
}

ListColumn telefon(qreal width, const QString &caption = QStringLiteral("TELEFONU"),
                   const char *name = "telefonu")
{
    return centredColumn(caption, field(name), width);
}

ListColumn tutar(qreal width, const QString &caption = QStringLiteral("TUTARI"))
{
    return amountColumn(caption, QStringLiteral("islem_tutari"), width);
}

ListColumn sahibi(const QString &caption, qreal width)
{
    return textColumn(caption, field("Rkimeadsoyad"), width);
}

// A bold dark red cell of a totals line.
Cell totalsCell(const QString &name, const QRectF &rect, const QString &text, bool line)
{
    Cell c;
    c.name = name;
    c.rect = rect;
    c.text = text;
    c.bold = true;
    c.textColor = captionColor();
    c.alignment = Qt::AlignRight | Qt::AlignVCenter;
    if (line)
        c.frameLines = TopLine;
    return c;
}

// A line of totals: `label` right-aligned before column `firstAmount`, then one cell per
// (column, name) pair under those columns.
QVector<Cell> totalsLine(const QVector<QPair<qreal, qreal>> &spans, qreal top,
                         const QString &labelName, const QString &label, int firstAmount,
                         const QVector<QPair<int, QString>> &amounts, bool line)
{
    QVector<Cell> cells;
    const qreal labelWidth = spans[firstAmount].first;
    cells << totalsCell(labelName, QRectF(0, top, labelWidth, kTotalsRow), label, line);
    for (const auto &[column, name] : amounts)
        cells << totalsCell(name, QRectF(spans[column].first, top, spans[column].second,
                                         kTotalsRow),
                            QString(), line);
    return cells;
}

Band *bandOf(Layout &layout, BandKind kind)
{
    for (Band &band : layout.bands)
        if (band.kind == kind)
            return &band;
    return nullptr;
}

// --- main window: the day's waiting, held and cancelled lists ---------------------------

ListPlan daySpec(const QString &component, QPageLayout::Orientation orientation,
                 const QString &title, const QString &heading, const QString &link)
{
    ListPlan plan;
    plan.name = QStringLiteral("anamenu.") + component;
    plan.orientation = orientation;
    plan.title = title;
    plan.headingCell = heading;
    plan.dataLink = link;
    return plan;
}

QString waitingTitle() { return QStringLiteral("BEKLEYEN RANDEVU LİSTESİ"); }
QString heldTitle() { return QStringLiteral("GÖRÜŞÜLEN RANDEVU LİSTESİ"); }
QString cancelledTitle() { return QStringLiteral("İPTAL EDİLEN RANDEVU LİSTESİ"); }

} // namespace

Layout anamenu(const QString &component)
{
    const auto portrait = QPageLayout::Portrait;
    const auto landscape = QPageLayout::Landscape;
    const QString memo5 = QStringLiteral("Memo5");
    const QString memo18 = QStringLiteral("Memo18");
    if (component == QLatin1String("frReport1")) {
        ListPlan plan = daySpec(component, portrait, waitingTitle(), memo5, waitingLink());
        plan.columns = {lineColumn(), saat(), adSoyad(60), paket(60), telefon(46)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport2")) {
        ListPlan plan = daySpec(component, portrait, heldTitle(), memo18, heldLink());
        plan.columns = {lineColumn(), saat(), adSoyad(52), tutar(24), paket(50), telefon(40)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport3")) {
        ListPlan plan = daySpec(component, portrait, cancelledTitle(), memo18, cancelledLink());
        plan.columns = {lineColumn(), saat(), adSoyad(48),
                        textColumn(QStringLiteral("İPTAL NEDENİ"), field("iptalnedeni"), 50),
                        paket(44), tutar(24)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport5")) {
        ListPlan plan = daySpec(component, landscape, waitingTitle(), memo5, waitingLink());
        plan.columns = {lineColumn(), saat(), sahibi(QStringLiteral("RANDEVU KİMİN"), 40),
                        adSoyad(52), paket(55), tutar(26),
                        textColumn(QStringLiteral("R. ALAN"), field("randevuyualan"), 40),
                        telefon(40)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport6")) {
        ListPlan plan = daySpec(component, landscape, heldTitle(), memo18, heldLink());
        plan.columns = {lineColumn(), saat(), sahibi(QStringLiteral("GÖRÜŞEN"), 40),
                        adSoyad(55), tutar(26), paket(52),
                        telefon(40, QStringLiteral("CEP TELEFONU"), "ceptel"), telefon(40)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport8")) {
        ListPlan plan = daySpec(component, landscape, waitingTitle(), memo5, waitingLink());
        plan.dataVertical = Qt::AlignVCenter;
        plan.columns = {lineColumn(9), timeColumn(QStringLiteral("SAAT"),
                                                  QStringLiteral("randevusaati"), 13),
                        sahibi(QStringLiteral("R. KİMİN"), 32), adSoyad(40), paket(38),
                        tutar(22),
                        textColumn(QStringLiteral("R. ALAN"), field("randevuyualan"), 30),
                        textColumn(QStringLiteral("KİŞİ ADRESİ"), field("adresi"), 60),
                        centredColumn(QStringLiteral("TELEFONU"),
                                      QStringLiteral("[telefonu]\n[telefonu2]\n[ceptel]"), 33)};
        return standardList(plan);
    }
    if (component == QLatin1String("frReport4")) {
        ListPlan plan = daySpec(component, portrait, QString(), QStringLiteral("Memo45"), {});
        const QVector<ListSection> sections{
            {QStringLiteral("Memo1"), waitingTitle(), waitingLink(),
             {lineColumn(), saat(), adSoyad(60), paket(60, QStringLiteral("PAKET ADI")),
              telefon(46)}},
            {QStringLiteral("Memo30"), heldTitle(), heldLink(),
             {lineColumn(), saat(), adSoyad(52), tutar(24), paket(50), telefon(40)}},
            {QStringLiteral("Memo31"), cancelledTitle(), cancelledLink(),
             {lineColumn(), saat(), adSoyad(48),
              textColumn(QStringLiteral("İPTAL NEDENİ"), field("iptalnedeni"), 50), paket(44),
              tutar(24)}}};
        return combinedList(plan, sections);
    }
    if (component == QLatin1String("frReport7")) {
        ListPlan plan = daySpec(component, landscape, QString(), QStringLiteral("Memo45"), {});
        const QString kime = QStringLiteral("RANDEVU KİME");
        const QVector<ListSection> sections{
            {QStringLiteral("Memo1"), waitingTitle(), waitingLink(),
             {lineColumn(), saat(), sahibi(kime, 40), adSoyad(55),
              tutar(26, QStringLiteral("TUTAR")), paket(52),
              textColumn(QStringLiteral("R.ALAN"), field("randevuyualan"), 40), telefon(40)}},
            {QStringLiteral("Memo30"), heldTitle(), heldLink(),
             {lineColumn(), saat(), sahibi(QStringLiteral("GÖRÜŞEN"), 40), adSoyad(55),
              tutar(26), paket(52), telefon(40, QStringLiteral("CEP TELEFONU"), "ceptel"),
              telefon(40)}},
            {QStringLiteral("Memo31"), cancelledTitle(), cancelledLink(),
             {lineColumn(), saat(), sahibi(kime, 40), adSoyad(55),
              textColumn(QStringLiteral("İPTAL NEDENİ"), field("iptalnedeni"), 70), paket(58),
              tutar(30)}}};
        return combinedList(plan, sections);
    }
    return {};
}

// --- appointment list ------------------------------------------------------------------

Layout randevu(const QString &component)
{
    ListPlan plan;
    plan.name = QStringLiteral("randevu.") + component;
    plan.title = QStringLiteral("RANDEVU LİSTESİ");
    plan.titleFilled = true;
    plan.headingCell = QStringLiteral("Memo5");
    plan.headingPlacement = HeadingPlacement::UnderTitle;
    plan.orientation = QPageLayout::Landscape;
    const ListColumn tarih = dateColumn(QStringLiteral("TARİH"), QStringLiteral("randevutarihi"),
                                        22);
    const ListColumn rkime = sahibi(QStringLiteral("R.KİME"), 40);
    const ListColumn adres = textColumn(QStringLiteral("ADRESİ"), field("adresi"), 70);
    if (component == QLatin1String("frReport1")) {
        plan.orientation = QPageLayout::Portrait;
        plan.columns = {tarih, saat(), adSoyad(55), paket(55),
                        textColumn(QStringLiteral("TELEFONU"), field("telefonu"), 44)};
    } else if (component == QLatin1String("frReport2")) {
        plan.columns = {rkime, tarih, saat(), adSoyad(50), paket(45), adres, telefon(36)};
    } else if (component == QLatin1String("frReport3")) {
        ListColumn wideAddress = adres;
        wideAddress.width = 81;
        plan.columns = {tarih, saat(), adSoyad(50), paket(50), wideAddress, tutar(26),
                        telefon(34)};
    } else if (component == QLatin1String("frReport4")) {
        plan.columns = {rkime, tarih, saat(), adSoyad(55), paket(70), tutar(30), telefon(46)};
    } else {
        return {};
    }
    return standardList(plan);
}

// --- person accounts -------------------------------------------------------------------

Layout cari(const QString &component)
{
    ListPlan plan;
    plan.name = QStringLiteral("cari.") + component;
    plan.headingCell = QStringLiteral("Memo5"); // the middle line of the title band
    const ListColumn tarih = dateColumn(QStringLiteral("TARİH"), QStringLiteral("tarih"), 19);
    const ListColumn borc = amountColumn(QStringLiteral("BORÇ"), QStringLiteral("borc"), 21);
    const ListColumn alacak = amountColumn(QStringLiteral("ALACAK"), QStringLiteral("alacak"),
                                           21);
    const ListColumn bakiye = amountColumn(QStringLiteral("BAKİYE"), QStringLiteral("bakiye"),
                                           21);
    const QString aciklama = QStringLiteral("[paketadi] [aciklama]");
    int firstAmount;
    if (component == QLatin1String("frReport5")) {
        plan.title = QStringLiteral("KİŞİLER BORÇ-ALACAK HAREKET RAPORU");
        plan.columns = {lineColumn(9), tarih, adSoyad(36),
                        textColumn(QStringLiteral("PAKET-AÇIKLAMA"), aciklama, 44), borc, alacak,
                        bakiye, textColumn(QString(), field("odemesekli"), 19)};
        firstAmount = 4;
    } else if (component == QLatin1String("frReport1")) {
        plan.title = QStringLiteral("BORÇ-ALACAK HAREKET RAPORU");
        plan.columns = {lineColumn(9), tarih,
                        textColumn(QStringLiteral("PAKET-AÇIKLAMA"), aciklama, 70), borc, alacak,
                        bakiye, dateColumn(QStringLiteral("VADESİ"),
                                           QStringLiteral("islem_vadesi"), 26)};
        firstAmount = 3;
    } else {
        return {};
    }
    Layout layout = standardList(plan);
    const auto spans = columnSpans(plan.columns, layout.contentWidth());
    Band footer;
    footer.kind = BandKind::MasterFooter;
    footer.dataLink = plan.dataLink;
    footer.height = kTotalsRow + 1;
    footer.cells = totalsLine(spans, 0.5, QStringLiteral("TotalLabel"), QStringLiteral("TOPLAM"),
                              firstAmount,
                              {{firstAmount, QStringLiteral("Memo6")},
                               {firstAmount + 1, QStringLiteral("Memo9")},
                               {firstAmount + 2, QStringLiteral("Memo14")}},
                              true);
    layout.bands.insert(layout.bands.size() - 1, footer);
    return layout;
}

// --- visits ----------------------------------------------------------------------------

Layout gorusme(const QString &component)
{
    if (component != QLatin1String("frReport5"))
        return {};
    ListPlan plan;
    plan.name = QStringLiteral("gorusme.") + component;
    plan.orientation = QPageLayout::Landscape;
    plan.title = QStringLiteral("İŞLEM YAPILAN RANDEVU LİSTESİ");
    plan.headingCell = QStringLiteral("Memo5");
    plan.columns = {lineColumn(9),
                    dateColumn(QStringLiteral("TARİH"), QStringLiteral("tarih"), 20),
                    timeColumn(QStringLiteral("SAAT"), QStringLiteral("saat"), 13),
                    textColumn(QStringLiteral("RANDEVU KİMİN"), field("gorusenadsoyad"), 34),
                    adSoyad(40),
                    textColumn(QStringLiteral("PAKET - AÇIKLAMA"),
                               QStringLiteral("[paketadi] [netice]"), 70),
                    amountColumn(QStringLiteral("TUTARI"), QStringLiteral("islem_borcu"), 23),
                    amountColumn(QStringLiteral("TAHSİL"), QStringLiteral("tahsiledilen"), 23),
                    amountColumn(QStringLiteral("BAKİYE"), QStringLiteral("bakiye"), 23),
                    textColumn(QString(), field("odemesekli"), 22)};
    return standardList(plan);
}

// --- cash and credit-card ledgers -------------------------------------------------------

namespace {

// The cash or card ledger: captions, the carried-over balance under them on every page, the
// movements, and the period's totals with the amount on hand. `withUser` adds the user who
// made each movement.
Layout ledger(const QString &name, const QString &title, const QString &carried,
              const QString &balance, bool withUser = false)
{
    ListPlan plan;
    plan.name = name;
    plan.margins = QMarginsF(20, 10, 20, 10);
    plan.title = title;
    plan.headingCell = QStringLiteral("Memo17");
    plan.headingPlacement = HeadingPlacement::UnderTitle;
    plan.userFontSize = 12;
    plan.columns = {lineColumn(10),
                    dateColumn(QStringLiteral("TARİH"), QStringLiteral("tarih"), 22),
                    textColumn(QStringLiteral("AÇIKLAMA"), field("aciklama"), withUser ? 56 : 84)};
    if (withUser)
        plan.columns << textColumn(QStringLiteral("İŞLEM YAPAN"), field("gorusen"), 28);
    const int tahsil = int(plan.columns.size());
    const int odeme = tahsil + 1;
    plan.columns << amountColumn(QStringLiteral("TAHSİL"), QStringLiteral("borc"), 27)
                 << amountColumn(QStringLiteral("ÖDEME"), QStringLiteral("alacak"), 27);
    Layout layout = standardList(plan);
    const auto spans = columnSpans(plan.columns, layout.contentWidth());
    // The carried-over balance under the captions, on every page.
    Band *header = bandOf(layout, BandKind::PageHeader);
    const qreal carriedTop = header->height;
    header->cells << totalsLine(spans, carriedTop, QStringLiteral("CarriedLabel"), carried,
                                tahsil, {{tahsil, QStringLiteral("Memo6")}}, false);
    header->height = carriedTop + kTotalsRow + 1;
    Band summary;
    summary.kind = BandKind::ReportSummary;
    summary.height = 2 * kTotalsRow + 2;
    summary.cells = totalsLine(spans, 0.5, QStringLiteral("TotalsLabel"),
                               QStringLiteral("TAHSİLAT/ÖDEME TOPLAMI"), tahsil,
                               {{tahsil, QStringLiteral("Memo9")},
                                {odeme, QStringLiteral("Memo10")}},
                               true);
    summary.cells << totalsLine(spans, 0.5 + kTotalsRow, QStringLiteral("BalanceLabel"),
                                balance, tahsil, {{tahsil, QStringLiteral("Memo15")}}, false);
    layout.bands.insert(layout.bands.size() - 1, summary);
    return layout;
}

// A full-width line of the summary band, wrapping when long.
Cell summaryNote(const QString &name, qreal top, qreal width, bool bold)
{
    Cell c;
    c.name = name;
    c.rect = QRectF(0, top, width, kTotalsRow);
    c.bold = bold;
    c.wordWrap = true;
    c.alignment = Qt::AlignLeft | Qt::AlignTop;
    return c;
}

} // namespace

Layout kasa(const QString &component)
{
    if (component != QLatin1String("frReport5"))
        return {};
    return ledger(QStringLiteral("kasa.frReport5"), QStringLiteral("KASA HAREKETLERİ"),
                  QStringLiteral("KASA DEVRİ"), QStringLiteral("KASA MEVCUDU"));
}

Layout kkart(const QString &component)
{
    if (component != QLatin1String("frReport5"))
        return {};
    return ledger(QStringLiteral("kkart.frReport5"), QStringLiteral("KREDİ KARTLARI HAREKETLERİ"),
                  QStringLiteral("KREDİ KARTI DEVRİ"), QStringLiteral("KREDİ KARTI MEVCUDU"));
}

// --- closing a day ----------------------------------------------------------------------

Layout gunsonu(const QString &component)
{
    const bool cash = component == QLatin1String("frReport1");
    if (!cash && component != QLatin1String("frReport2"))
        return {};
    Layout layout = cash ? ledger(QStringLiteral("gunsonu.frReport1"),
                                  QStringLiteral("KASA GÜN SONU"), QStringLiteral("KASA DEVRİ"),
                                  QStringLiteral("KASA MEVCUDU"), true)
                         : ledger(QStringLiteral("gunsonu.frReport2"),
                                  QStringLiteral("KREDİ KARTI GÜN SONU"),
                                  QStringLiteral("KREDİ KARTI DEVRİ"),
                                  QStringLiteral("KREDİ KARTI MEVCUDU"), true);
    Band *summary = bandOf(layout, BandKind::ReportSummary);
    const qreal width = layout.contentWidth();
    qreal top = summary->height;
    if (cash) {
        // Counted and difference under the amount on hand, in the same column.
        const Cell *balance = layout.cell(QStringLiteral("Memo15"));
        const Cell *label = layout.cell(QStringLiteral("BalanceLabel"));
        const QRectF amount = balance->rect;
        const QRectF caption = label->rect;
        for (const auto &[name, text] :
             {std::pair{QStringLiteral("Memo20"), QStringLiteral("SAYILAN")},
              std::pair{QStringLiteral("Memo21"), QStringLiteral("FARK")}}) {
            summary->cells << totalsCell(name + QStringLiteral("Label"),
                                         QRectF(caption.left(), top, caption.width(), kTotalsRow),
                                         text, false)
                           << totalsCell(name,
                                         QRectF(amount.left(), top, amount.width(), kTotalsRow),
                                         QString(), false);
            top += kTotalsRow;
        }
        summary->cells << summaryNote(QStringLiteral("Memo22"), top + 1, width, false);
        top += kTotalsRow + 1;
    }
    summary->cells << summaryNote(QStringLiteral("Memo23"), top + 1, width, true);
    summary->height = top + kTotalsRow + 2;
    return layout;
}

// --- commissions -----------------------------------------------------------------------

Layout prim(const QString &component)
{
    if (component != QLatin1String("frReport1"))
        return {};
    ListPlan plan;
    plan.name = QStringLiteral("prim.frReport1");
    plan.orientation = QPageLayout::Landscape;
    plan.headingCell = QStringLiteral("Memo5");
    const ListColumn gorusen = textColumn(QStringLiteral("GÖRÜŞEN"), field("gorusenadsoyad"), 40);
    const ListColumn tutari = amountColumn(QStringLiteral("TUTARI"), QStringLiteral("islem_borcu"),
                                           26);
    const ListColumn tahsil = amountColumn(QStringLiteral("TAHSİL"),
                                           QStringLiteral("tahsiledilen"), 26);
    const ListColumn primi = amountColumn(QStringLiteral("PRİM"), QStringLiteral("prim"), 26);
    const ListColumn count = centredColumn(QStringLiteral("GÖRÜŞME"), field("gorusmesayisi"), 24);
    const QVector<ListColumn> totalsColumns{gorusen, count, tutari, tahsil, primi};
    const QVector<ListSection> sections{
        {QStringLiteral("Memo1"), QStringLiteral("GÖRÜŞMELER VE PRİMLERİ"),
         layouts::singleLink(),
         {lineColumn(9), dateColumn(QStringLiteral("TARİH"), QStringLiteral("tarih"), 20),
          gorusen, adSoyad(44), paket(50),
          amountColumn(QStringLiteral("ORAN %"), QStringLiteral("paketprim"), 18), tutari,
          tahsil, primi}},
        {QStringLiteral("Memo30"), QStringLiteral("KULLANICI TOPLAMLARI"),
         layouts::userTotalsLink(), totalsColumns}};
    Layout layout = combinedList(plan, sections);
    const qreal width = layout.contentWidth();
    const auto spans = columnSpans(totalsColumns, width);
    Band summary;
    summary.kind = BandKind::ReportSummary;
    summary.cells = totalsLine(spans, 0.5, QStringLiteral("TotalLabel"),
                               QStringLiteral("GENEL TOPLAM"), 1,
                               {{1, QStringLiteral("Memo6")},
                                {2, QStringLiteral("Memo9")},
                                {3, QStringLiteral("Memo10")},
                                {4, QStringLiteral("Memo14")}},
                               true);
    summary.cells[1].alignment = Qt::AlignCenter; // the count, as in its column
    summary.cells << summaryNote(QStringLiteral("Memo20"), kTotalsRow + 2, width, false);
    summary.height = 2 * kTotalsRow + 3;
    layout.bands.insert(layout.bands.size() - 1, summary);
    return layout;
}

// --- person list -----------------------------------------------------------------------

Layout sicilrapor(const QString &component)
{
    if (component != QLatin1String("frReport1"))
        return {};
    ListPlan plan;
    plan.name = QStringLiteral("sicilrapor.") + component;
    plan.title = QStringLiteral("SİCİL KARTLARI RAPORU");
    plan.userFontSize = 9;
    plan.columns = {textColumn(QStringLiteral("KODU"), field("sicil_kodu"), 20), adSoyad(50),
                    textColumn(QStringLiteral("ADRESİ"), field("isadresi"), 80),
                    textColumn(QStringLiteral("TELEFONU"), field("tel1"), 40)};
    return standardList(plan);
}

// --- a person's packages -----------------------------------------------------------------

Layout perozluk(const QString &component)
{
    if (component != QLatin1String("frReport1"))
        return {};
    ListPlan plan;
    plan.name = QStringLiteral("perozluk.") + component;
    plan.title = QStringLiteral("KİŞİ PAKET DURUMU");
    plan.headingCell = QStringLiteral("Memo5");
    plan.headingPlacement = HeadingPlacement::UnderTitle;
    plan.columns = {lineColumn(9),
                    textColumn(QStringLiteral("KODU"), field("paketkodu"), 14),
                    textColumn(QStringLiteral("PAKET ADI"), field("paketadi"), 56),
                    dateColumn(QStringLiteral("İLK ALIŞ"), QStringLiteral("tarih"), 22),
                    amountColumn(QStringLiteral("TUTAR"), QStringLiteral("borc"), 27),
                    centredColumn(QStringLiteral("YAPILAN"), field("yapilan"), 21),
                    centredColumn(QStringLiteral("BEKLEYEN"), field("bekleyen"), 23)};
    Layout layout = standardList(plan);
    const auto spans = columnSpans(plan.columns, layout.contentWidth());
    constexpr int tutar = 4;
    Band summary;
    summary.kind = BandKind::ReportSummary;
    summary.cells = totalsLine(spans, 0.5, QStringLiteral("DebtLabel"),
                               QStringLiteral("TOPLAM BORÇ"), tutar,
                               {{tutar, QStringLiteral("Memo6")}}, true);
    summary.cells << totalsLine(spans, 0.5 + kTotalsRow, QStringLiteral("CreditLabel"),
                                QStringLiteral("TOPLAM ÖDEME"), tutar,
                                {{tutar, QStringLiteral("Memo9")}}, false);
    summary.cells << totalsLine(spans, 0.5 + 2 * kTotalsRow, QStringLiteral("BalanceLabel"),
                                QStringLiteral("KALAN BORÇ"), tutar,
                                {{tutar, QStringLiteral("Memo15")}}, false);
    // What the columns count, under the totals.
    Cell note;
    note.name = QStringLiteral("Memo17");
    note.rect = QRectF(0, 2 + 3 * kTotalsRow, layout.contentWidth(), kTotalsRow);
    note.fontSize = 8;
    note.wordWrap = true;
    note.alignment = Qt::AlignLeft | Qt::AlignTop;
    summary.cells << note;
    summary.height = note.rect.bottom() + 1;
    layout.bands.insert(layout.bands.size() - 1, summary);
    return layout;
}

QStringList names()
{
    QStringList out;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8})
        out << QStringLiteral("anamenu.frReport%1").arg(i);
    for (int i : {1, 2, 3, 4})
        out << QStringLiteral("randevu.frReport%1").arg(i);
    out << QStringLiteral("cari.frReport1") << QStringLiteral("cari.frReport5")
        << QStringLiteral("gorusme.frReport5") << QStringLiteral("kasa.frReport5")
        << QStringLiteral("kkart.frReport5") << QStringLiteral("sicilrapor.frReport1")
        << QStringLiteral("perozluk.frReport1") << QStringLiteral("gunsonu.frReport1")
        << QStringLiteral("gunsonu.frReport2") << QStringLiteral("prim.frReport1");
    return out;
}

Layout byName(const QString &name)
{
    const QString unit = name.section(QLatin1Char('.'), 0, 0);
    const QString component = name.section(QLatin1Char('.'), 1);
    if (unit == QLatin1String("anamenu"))
        return anamenu(component);
    if (unit == QLatin1String("randevu"))
        return randevu(component);
    if (unit == QLatin1String("cari"))
        return cari(component);
    if (unit == QLatin1String("gorusme"))
        return gorusme(component);
    if (unit == QLatin1String("kasa"))
        return kasa(component);
    if (unit == QLatin1String("kkart"))
        return kkart(component);
    if (unit == QLatin1String("sicilrapor"))
        return sicilrapor(component);
    if (unit == QLatin1String("perozluk"))
        return perozluk(component);
    if (unit == QLatin1String("gunsonu"))
        return gunsonu(component);
    if (unit == QLatin1String("prim"))
        return prim(component);
    return {};
}

} // namespace lumkar::reports::layouts
