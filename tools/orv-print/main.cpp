// orv-print FILE: shows an HTML report in a print preview, prints it through
// the system print dialog with the user's page header and footer, and exits
// when the window is closed.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>
#include <memory>

#include "PageBand.h"
#include "platform/QtKeyValueStore.h"
#include "report/ReportJobs.h"

namespace {

std::string PageSetupText(orv::KeyValueStore& store, const char* name, const char* fallback) {
    for (const orv::KeyScope scope : {orv::KeyScope::User, orv::KeyScope::System}) {
        if (auto text = store.ReadText(scope, orv::pagesetup::kPath, orv::pagesetup::kSection, name)) return *text;
    }
    return fallback;
}

void DrawBand(QPainter& painter, const QRectF& area, const orv::print::BandText& band) {
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(band.left));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, QString::fromStdString(band.center));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(band.right));
}

void Render(QPrinter* printer, const QTextDocument& source, const std::string& header, const std::string& footer,
            orv::print::BandValues values) {
    QPainter painter(printer);
    painter.setFont(QFont(QStringLiteral("Sans Serif"), 8));
    const QRectF page(0, 0, printer->width(), printer->height());
    const qreal band = painter.fontMetrics().height() * 2.0;
    const QRectF body(0, band, page.width(), page.height() - 2 * band);

    std::unique_ptr<QTextDocument> document(source.clone());
    document->documentLayout()->setPaintDevice(printer);
    document->setPageSize(body.size());
    values.pages = document->pageCount();
    for (int number = 1; number <= values.pages; ++number) {
        if (number > 1) printer->newPage();
        values.page = number;
        const QRectF clip(0, (number - 1) * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(body.left(), body.top() - clip.top());
        document->drawContents(&painter, clip);
        painter.restore();
        DrawBand(painter, QRectF(0, 0, page.width(), band), orv::print::ExpandBand(header, values));
        DrawBand(painter, QRectF(0, page.height() - band, page.width(), band), orv::print::ExpandBand(footer, values));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orv-print FILE\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "orv-print: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));

    orv::QtKeyValueStore store;
    const std::string header = PageSetupText(store, orv::pagesetup::kHeader, orv::pagesetup::kDefaultHeader);
    const std::string footer = PageSetupText(store, orv::pagesetup::kFooter, orv::pagesetup::kDefaultFooter);

    orv::print::BandValues values;
    const QString title = document.metaInformation(QTextDocument::DocumentTitle);
    values.title = (title.isEmpty() ? QFileInfo(args[1]).fileName() : title).toStdString();
    values.url = QUrl::fromLocalFile(QFileInfo(args[1]).absoluteFilePath()).toString().toStdString();
    const QDateTime now = QDateTime::currentDateTime();
    values.date = QLocale().toString(now.date(), QLocale::ShortFormat).toStdString();
    values.time = QLocale().toString(now.time(), QLocale::ShortFormat).toStdString();

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(values.title));
    QPrintPreviewDialog preview(&printer);
    preview.setWindowTitle(QStringLiteral("Print - %1").arg(QString::fromStdString(values.title)));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { Render(target, document, header, footer, values); });
    preview.resize(900, 700);
    preview.exec();
    return 0;
}
