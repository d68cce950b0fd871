#pragma once
// A tab control painted in the host's colour scheme.
//
// Two colour pairs (background, text) and a control background, each given as
// a Win32 colour value or -1 for the palette:
//   first pair  - the selected tab;    -1 falls back to Button / WindowText
//   second pair - every other tab;     -1 falls back to Button / ButtonText
//   background  - behind the tabs and the pages;  -1 falls back to Button
// Each change repaints the control.
//
// Tabs carry a text, an index into the control's image list and the page they
// stand for. The control only shows the tab row at its top; placing, showing
// and hiding the pages is the owner's business (currentChanged tells when).

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <vector>

class QTabBar;

namespace orv {

class ColoredTabBar;

class ColoredTab : public QWidget {
    Q_OBJECT

public:
    explicit ColoredTab(QWidget* parent = nullptr);
    ~ColoredTab() override;

    void setFirstColors(int backgroundRef, int textRef);
    void setSecondColors(int backgroundRef, int textRef);
    void setBackgroundColor(int backgroundRef);
    // The colours in force, with -1 resolved against the current palette.
    QColor firstBackground() const;
    QColor firstText() const;
    QColor secondBackground() const;
    QColor secondText() const;
    QColor background() const;

    // Replaces the image list by the images cut from a strip of equally sized
    // images side by side; the strip's top-left pixel is the transparent
    // colour of every image. A strip narrower than one image gives no images.
    void setImageStrip(const QPixmap& strip, const QSize& imageSize);
    int imageCount() const { return static_cast<int>(images_.size()); }
    QPixmap image(int index) const;

    // Appends a tab; image -1 (or an index past the list) shows no image.
    int addTab(const QString& text, int image, QWidget* page);
    int count() const;
    QString tabText(int index) const;
    int tabImage(int index) const;
    // Null when the tab does not exist or its page is gone.
    QWidget* tabPage(int index) const;
    int indexOfPage(const QWidget* page) const;

    int currentIndex() const;
    void setCurrentIndex(int index);

    // Every tab has this size when set (the default is the style's size).
    void setItemSize(const QSize& size);
    QSize itemSize() const { return itemSize_; }
    // A tab's rectangle in this widget's coordinates; empty when it does not exist.
    QRect itemRect(int index) const;

    QTabBar* tabBar() const;

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ColoredTabBar;

    struct Tab {
        QPointer<QWidget> page;
        int image = -1;
    };

    void layoutBar();

    ColoredTabBar* bar_ = nullptr;
    std::vector<Tab> tabs_;
    std::vector<QPixmap> images_;
    QSize itemSize_;
    int firstBackgroundRef_ = -1;
    int firstTextRef_ = -1;
    int secondBackgroundRef_ = -1;
    int secondTextRef_ = -1;
    int backgroundRef_ = -1;
};

}  // namespace orv
