#include "ui/controls/ColoredTab.h"

#include "ui/controls/ColorRef.h"
#include "ui/controls/TextFit.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTabBar>

namespace orv {

// The tab row, drawn entirely from the owning control's colours and images.
class ColoredTabBar final : public QTabBar {
public:
    explicit ColoredTabBar(ColoredTab* owner) : QTabBar(owner), owner_(owner) {
        setDrawBase(false);
        setExpanding(false);
        setUsesScrollButtons(true);
        setMovable(false);
        setElideMode(Qt::ElideRight);
    }

    void relayout() {
        // Changing the icon size marks the tab layout dirty in QTabBar.
        setIconSize(iconSize());
        updateGeometry();
        update();
    }

protected:
    QSize tabSizeHint(int index) const override {
        if (owner_->itemSize_.isValid()) return owner_->itemSize_;
        QSize hint = QTabBar::tabSizeHint(index);
        hint.rwidth() += 22 + 4;
        hint.setHeight(qMax(hint.height(), 22 + 8));
        return hint;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), owner_->background());
        const int selected = currentIndex();
        // Others first, so that the selected tab overlaps its neighbours.
        for (int i = 0; i < count(); ++i) {
            if (i != selected) paintTab(painter, i, false);
        }
        if (selected >= 0) paintTab(painter, selected, true);
    }

private:
    void paintTab(QPainter& painter, int index, bool selected) {
        QRect area = tabRect(index);
        if (!selected) area.adjust(1, 2, -1, 0);  // unselected tabs sit a little lower
        const QColor back = selected ? owner_->firstBackground() : owner_->secondBackground();
        const QColor text = selected ? owner_->firstText() : owner_->secondText();
        painter.fillRect(area, back);
        painter.setPen(back.darker(150));
        painter.drawLine(area.topLeft(), area.topRight());
        painter.drawLine(area.topLeft(), area.bottomLeft());
        painter.drawLine(area.topRight(), area.bottomRight());
        if (!selected) painter.drawLine(area.bottomLeft(), area.bottomRight());

        QRect content = area.adjusted(4, 0, -3, 0);
        const int image = owner_->tabImage(index);
        if (image >= 0 && image < owner_->imageCount()) {
            const QPixmap pixmap = owner_->image(image);
            const QPoint at(content.left(), content.top() + (content.height() - pixmap.height()) / 2);
            painter.drawPixmap(at, pixmap);
            content.setLeft(content.left() + pixmap.width() + 3);
        }
        QFont font = this->font();  // not the painter's: an earlier tab may have shrunk it
        font.setBold(selected);
        painter.setFont(fittedFont(font, tabText(index), content.width()));
        painter.setPen(text);
        const QString label = painter.fontMetrics().elidedText(tabText(index), Qt::ElideRight, content.width());
        painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    }

    ColoredTab* owner_;
};

ColoredTab::ColoredTab(QWidget* parent) : QWidget(parent), bar_(new ColoredTabBar(this)) {
    connect(bar_, &QTabBar::currentChanged, this, &ColoredTab::currentChanged);
    layoutBar();
}

ColoredTab::~ColoredTab() = default;

void ColoredTab::setFirstColors(int backgroundRef, int textRef) {
    firstBackgroundRef_ = backgroundRef;
    firstTextRef_ = textRef;
    update();
    bar_->update();
}

void ColoredTab::setSecondColors(int backgroundRef, int textRef) {
    secondBackgroundRef_ = backgroundRef;
    secondTextRef_ = textRef;
    update();
    bar_->update();
}

void ColoredTab::setBackgroundColor(int backgroundRef) {
    backgroundRef_ = backgroundRef;
    update();
    bar_->update();
}

QColor ColoredTab::firstBackground() const {
    return resolveColorRef(firstBackgroundRef_, palette().color(QPalette::Button));
}

QColor ColoredTab::firstText() const { return resolveColorRef(firstTextRef_, palette().color(QPalette::WindowText)); }

QColor ColoredTab::secondBackground() const {
    return resolveColorRef(secondBackgroundRef_, palette().color(QPalette::Button));
}

QColor ColoredTab::secondText() const { return resolveColorRef(secondTextRef_, palette().color(QPalette::ButtonText)); }

QColor ColoredTab::background() const { return resolveColorRef(backgroundRef_, palette().color(QPalette::Button)); }

void ColoredTab::setImageStrip(const QPixmap& strip, const QSize& imageSize) {
    images_.clear();
    if (!strip.isNull() && imageSize.width() > 0 && imageSize.height() > 0) {
        const QImage source = strip.toImage();
        const QColor maskColor = source.pixelColor(0, 0);
        const int imageCount = source.width() / imageSize.width();
        for (int i = 0; i < imageCount; ++i) {
            QImage cut = source.copy(i * imageSize.width(), 0, imageSize.width(), imageSize.height())
                             .convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < cut.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(cut.scanLine(y));
                for (int x = 0; x < cut.width(); ++x) {
                    if ((line[x] & 0x00FFFFFFu) == (maskColor.rgb() & 0x00FFFFFFu)) line[x] = qRgba(0, 0, 0, 0);
                }
            }
            images_.push_back(QPixmap::fromImage(cut));
        }
    }
    bar_->relayout();
}

QPixmap ColoredTab::image(int index) const {
    if (index < 0 || index >= imageCount()) return {};
    return images_[static_cast<std::size_t>(index)];
}

int ColoredTab::addTab(const QString& text, int image, QWidget* page) {
    tabs_.push_back({page, image});
    const int index = bar_->addTab(text);
    layoutBar();
    return index;
}

int ColoredTab::count() const { return bar_->count(); }

QString ColoredTab::tabText(int index) const { return bar_->tabText(index); }

int ColoredTab::tabImage(int index) const {
    if (index < 0 || index >= static_cast<int>(tabs_.size())) return -1;
    return tabs_[static_cast<std::size_t>(index)].image;
}

QWidget* ColoredTab::tabPage(int index) const {
    if (index < 0 || index >= static_cast<int>(tabs_.size())) return nullptr;
    return tabs_[static_cast<std::size_t>(index)].page;
}

int ColoredTab::indexOfPage(const QWidget* page) const {
    for (std::size_t i = 0; page && i < tabs_.size(); ++i) {
        if (tabs_[i].page == page) return static_cast<int>(i);
    }
    return -1;
}

int ColoredTab::currentIndex() const { return bar_->currentIndex(); }

void ColoredTab::setCurrentIndex(int index) {
    if (index >= 0 && index < count()) bar_->setCurrentIndex(index);
}

void ColoredTab::setItemSize(const QSize& size) {
    itemSize_ = size;
    bar_->relayout();
    layoutBar();
}

QRect ColoredTab::itemRect(int index) const {
    if (index < 0 || index >= count()) return {};
    return bar_->tabRect(index).translated(bar_->pos());
}

QTabBar* ColoredTab::tabBar() const { return bar_; }

void ColoredTab::layoutBar() {
    const int height = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, width(), height);
}

void ColoredTab::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background());
}

void ColoredTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBar();
}

void ColoredTab::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Colours given as -1 follow the palette, so a palette change repaints.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        update();
        bar_->update();
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) layoutBar();
}

}  // namespace orv
