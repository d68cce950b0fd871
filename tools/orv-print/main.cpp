// orv-print FILE: shows an HTML report in a print preview, prints it through
// the system print dialog with the user's page header and footer, and exits
// when the window is closed.
//
// orv-print --pdf OUT.pdf [--pages 2-3,5] FILE: writes the report as a PDF
// with the same layout, header and footer, without a window.

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/QtKeyValueStore.h"
#include "report/PrintLayout.h"

namespace {

struct Arguments {
    QString file;
    QString pdf;  // empty: show the preview
    std::vector<orv::print::PageRange> pages;
};

int Usage() {
    std::fprintf(stderr, "usage: orv-print FILE\n       orv-print --pdf OUT.pdf [--pages RANGES] FILE\n");
    return 2;
}

// Read before QApplication exists, which needs a display unless writing a
// PDF.
std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments parsed;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--pdf") == 0 && hasValue) {
            parsed.pdf = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--pages") == 0 && hasValue) {
            auto ranges = orv::print::ParsePageRanges(argv[++i]);
            if (!ranges) return std::nullopt;
            parsed.pages = std::move(*ranges);
        } else if (argv[i][0] != '-' && parsed.file.isEmpty()) {
            parsed.file = QString::fromLocal8Bit(argv[i]);
        } else {
            return std::nullopt;
        }
    }
    if (parsed.file.isEmpty() || (parsed.pdf.isEmpty() && !parsed.pages.empty())) return std::nullopt;
    return parsed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> args = Parse(argc, argv);
    if (!args) return Usage();
    if (!args->pdf.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QFile file(args->file);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "orv-print: cannot read %s\n", qPrintable(args->file));
        return 1;
    }
    const QString html = QString::fromUtf8(file.readAll());
    QTextDocument document;
    document.setHtml(html);

    orv::QtKeyValueStore store;
    const orv::print::PageSetup setup = orv::print::ReadPageSetup(store);
    const orv::print::BandValues values = orv::print::BandValuesFor(
        document.metaInformation(QTextDocument::DocumentTitle), args->file, QDateTime::currentDateTime());

    if (!args->pdf.isEmpty()) {
        QString error;
        if (!orv::print::WriteReportPdf(html, args->pdf, setup, values, args->pages, &error)) {
            std::fprintf(stderr, "orv-print: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(values.title));
    QPrintPreviewDialog preview(&printer);
    preview.setWindowTitle(QStringLiteral("Print - %1").arg(QString::fromStdString(values.title)));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { orv::print::RenderReport(*target, document, setup, values); });
    preview.resize(900, 700);
    preview.exec();
    return 0;
}
