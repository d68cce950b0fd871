#include "ui/categories/CategoryFilter.h"

#include <QComboBox>

#include <string>

#include "data/RecordCache.h"
#include "ui/controls/ColoredLabel.h"

namespace orv {

CategoryFilter::CategoryFilter(CategoriesOf categories) : categories_(categories) {}

void CategoryFilter::Attach(QComboBox* box, ColoredLabel* label) {
    box_ = box;
    label_ = label;
}

void CategoryFilter::Fill(const RecordCache& cache) {
    box_->clear();
    numbers_.clear();
    box_->addItem(QStringLiteral("All"));
    const NameList& names = (cache.*categories_)().names;
    for (const int32_t number : names.Ids()) {
        const std::string& name = names.NameOf(number);
        if (name.empty()) continue;
        box_->addItem(QString::fromStdString(name));
        numbers_.push_back(number);
    }
}

void CategoryFilter::ChooseAll() { box_->setCurrentIndex(0); }

void CategoryFilter::ShowAll(const RecordCache& cache) {
    ChooseAll();
    ShowCategoryInLabel(cache);
}

int32_t CategoryFilter::Category() const {
    const int position = box_ ? box_->currentIndex() - 1 : -1;
    if (position < 0 || position >= static_cast<int>(numbers_.size())) return -1;
    return numbers_[static_cast<std::size_t>(position)];
}

QString CategoryFilter::CategoryName(const RecordCache& cache) const {
    const int32_t category = Category();
    if (category < 0) return QString();
    return QString::fromStdString((cache.*categories_)().names.NameOf(category));
}

void CategoryFilter::ShowCategoryInLabel(const RecordCache& cache) const {
    if (Category() < 0) {
        label_->clear();
        return;
    }
    label_->setText(QStringLiteral("Category: ") + CategoryName(cache));
}

void CategoryFilter::RecolorLabel(HostColorProvider* colors) const {
    if (label_) label_->applyHostColors(colors);
}

}  // namespace orv
