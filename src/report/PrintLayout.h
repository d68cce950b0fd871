#pragma once
// Lays an HTML report out on printed pages as it looks on screen: the
// document is laid out in CSS pixels (96 per inch) and scaled to the
// printer's resolution, with the user's page header and footer on every
// page. Used by the print helper's preview, its PDF mode and the host's
// report command, so paper and PDF look the same.

#include <QDateTime>
#include <QString>

#include <string>
#include <vector>

#include "report/PageBand.h"

class QPrinter;
class QTextDocument;

namespace orv {
class KeyValueStore;
}

namespace orv::print {

// The header and footer codes of the per-user page setup.
struct PageSetup {
    std::string header;
    std::string footer;
};

// The user's page setup, else the system's, else the defaults.
PageSetup ReadPageSetup(KeyValueStore& store);

// What the band codes stand for, for the report file `path` printed `now`.
// `title` is the document's title; empty: the file's name.
BandValues BandValuesFor(const QString& title, const QString& path, const QDateTime& now);

// Draws `document` on `printer`, a page at a time, with header and footer.
// Only the pages in the printer's page ranges are drawn (all without a
// range). Returns the number of pages drawn, or -1 when the printer could
// not be painted on (an output file that cannot be written).
int RenderReport(QPrinter& printer, const QTextDocument& document, const PageSetup& setup, BandValues values);

// Writes `html` to `pdfPath` as a PDF laid out as RenderReport does, only
// `pages` when not empty. False with a reason in `error` when nothing or
// not all could be written.
bool WriteReportPdf(const QString& html, const QString& pdfPath, const PageSetup& setup, const BandValues& values,
                    const std::vector<PageRange>& pages, QString* error);

}  // namespace orv::print
