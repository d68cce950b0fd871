#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

AboutDialog::AboutDialog(const QPixmap& icon, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dialog417"));
    setWindowTitle(QStringLiteral("About ORV Basic Plug-in"));

    auto* title = new QLabel(QStringLiteral("ORV Basic Plug-in"), this);
    title->setFrameStyle(QFrame::Box | QFrame::Plain);
    title->setAlignment(Qt::AlignCenter);
    title->setMargin(6);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("control1390"));
    picture->setPixmap(ReplaceMagenta(icon, palette().color(QPalette::Button)));

    auto* version = new QLabel(QStringLiteral("Version: 1.2.20080827.1739.2210"), this);
    version->setObjectName(QStringLiteral("control1388"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(row);
    layout->addWidget(buttons);

    if (owner) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

QPixmap AboutDialog::ReplaceMagenta(const QPixmap& icon, const QColor& background) {
    QImage image = icon.toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb magenta = qRgb(0xFF, 0x00, 0xFF);
    const QRgb fill = background.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (magenta & 0xFFFFFF)) line[x] = fill;
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace orv
