#pragma once

#include <QDialog>
#include <QPixmap>

namespace orv {

// "About ORV Basic Plug-in": the module's name, its large icon and version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const QPixmap& icon, QWidget* owner);

    // The icon with every magenta (0xFF00FF) pixel painted in `background`:
    // magenta marks the transparent parts of the module's bitmaps.
    static QPixmap ReplaceMagenta(const QPixmap& icon, const QColor& background);
};

}  // namespace orv
