#include "report/PrintLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

#include <memory>

#include "platform/KeyValueStore.h"
#include "report/ReportJobs.h"

namespace orv::print {
namespace {

// CSS pixels per inch: the unit the report's style sheet is written in.
constexpr qreal kCssPixelsPerInch = 96.0;
constexpr qreal kBandFontPoints = 8.0;
constexpr qreal kPdfMarginMillimetres = 15.0;

std::string StoredCode(KeyValueStore& store, const char* name, const char* fallback) {
    for (const KeyScope scope : {KeyScope::User, KeyScope::System}) {
        if (auto text = store.ReadText(scope, pagesetup::kPath, pagesetup::kSection, name)) return *text;
    }
    return fallback;
}

void DrawBand(QPainter& painter, const QRectF& area, const BandText& band) {
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(band.left));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, QString::fromStdString(band.center));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(band.right));
}

std::vector<PageRange> PrinterRanges(const QPrinter& printer) {
    std::vector<PageRange> ranges;
    for (const QPageRanges::Range& range : printer.pageRanges().toRangeList()) ranges.push_back({range.from, range.to});
    return ranges;
}

}  // namespace

PageSetup ReadPageSetup(KeyValueStore& store) {
    return PageSetup{StoredCode(store, pagesetup::kHeader, pagesetup::kDefaultHeader),
                     StoredCode(store, pagesetup::kFooter, pagesetup::kDefaultFooter)};
}

BandValues BandValuesFor(const QString& title, const QString& path, const QDateTime& now) {
    const QFileInfo file(path);
    BandValues values;
    values.title = (title.isEmpty() ? file.fileName() : title).toStdString();
    values.url = QUrl::fromLocalFile(file.absoluteFilePath()).toString().toStdString();
    values.date = QLocale().toString(now.date(), QLocale::ShortFormat).toStdString();
    values.time = QLocale().toString(now.time(), QLocale::ShortFormat).toStdString();
    return values;
}

int RenderReport(QPrinter& printer, const QTextDocument& document, const PageSetup& setup, BandValues values) {
    QPainter painter;
    if (!painter.begin(&printer)) return -1;
    QFont bandFont(QStringLiteral("Sans Serif"));
    bandFont.setPointSizeF(kBandFontPoints);
    painter.setFont(bandFont);

    // Device dots per CSS pixel; the body is laid out in CSS pixels.
    const qreal scale = printer.resolution() / kCssPixelsPerInch;
    const QRectF page(0, 0, printer.width(), printer.height());
    const qreal band = painter.fontMetrics().height() * 2.0;
    const QSizeF body((page.width()) / scale, (page.height() - 2 * band) / scale);

    // The clone keeps the default (screen) layout, so px in the style sheet
    // stay CSS pixels rather than printer dots.
    const std::unique_ptr<QTextDocument> layout(document.clone());
    layout->setPageSize(body);
    values.pages = layout->pageCount();

    int drawn = 0;
    for (const int number : PagesToPrint(PrinterRanges(printer), values.pages)) {
        if (drawn > 0 && !printer.newPage()) break;
        values.page = number;
        const QRectF clip(0, (number - 1) * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, band);
        painter.scale(scale, scale);
        painter.translate(0, -clip.top());
        layout->drawContents(&painter, clip);
        painter.restore();
        DrawBand(painter, QRectF(0, 0, page.width(), band), ExpandBand(setup.header, values));
        DrawBand(painter, QRectF(0, page.height() - band, page.width(), band), ExpandBand(setup.footer, values));
        ++drawn;
    }
    return painter.end() ? drawn : -1;
}

bool WriteReportPdf(const QString& html, const QString& pdfPath, const PageSetup& setup, const BandValues& values,
                    const std::vector<PageRange>& pages, QString* error) {
    QTextDocument document;
    document.setHtml(html);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setDocName(QString::fromStdString(values.title));
    printer.setPageMargins(
        QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres),
        QPageLayout::Millimeter);
    QPageRanges ranges;
    for (const PageRange& range : pages) ranges.addRange(range.from, range.to);
    printer.setPageRanges(ranges);

    const int drawn = RenderReport(printer, document, setup, values);
    if (drawn < 0) {
        if (error) *error = QStringLiteral("cannot write %1").arg(pdfPath);
        return false;
    }
    if (drawn == 0) {
        QFile::remove(pdfPath);
        if (error) *error = QStringLiteral("no page of the report lies in the chosen range");
        return false;
    }
    const QFileInfo written(pdfPath);
    if (!written.exists() || written.size() == 0) {
        if (error) *error = QStringLiteral("cannot write %1").arg(pdfPath);
        return false;
    }
    return true;
}

}  // namespace orv::print
