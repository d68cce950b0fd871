#pragma once
// The category filter of a list page: a drop-down offering "All" followed by
// the named categories of one record kind, the category it has chosen, and
// the coloured label beside it. The page creates both widgets (so their
// names, order and geometry stay its own) and hands them over; the filter
// fills and reads the drop-down and colours the label.

#include <QString>

#include <cstdint>
#include <vector>

class QComboBox;

namespace orv {

struct CategorySet;
class ColoredLabel;
class HostColorProvider;
class RecordCache;

class CategoryFilter {
public:
    // The cache's category set of the filtered kind, e.g.
    // &RecordCache::UnitCategories.
    using CategoriesOf = const CategorySet& (RecordCache::*)() const;

    explicit CategoryFilter(CategoriesOf categories);

    // Takes the drop-down and the label, which keeps its own colours until
    // the host's colours are read.
    void Attach(QComboBox* box, ColoredLabel* label);
    QComboBox* Box() const { return box_; }

    // Refills the drop-down: "All", then the named categories in list order.
    void Fill(const RecordCache& cache);
    // Chooses "All" (the label is left as it is).
    void ChooseAll();
    // Chooses "All" and clears the category from the label.
    void ShowAll(const RecordCache& cache);
    // The category chosen in the drop-down, or -1 for "All".
    int32_t Category() const;
    // The chosen category's name; empty for "All".
    QString CategoryName(const RecordCache& cache) const;
    // Shows "Category: <name>" in the label, or clears it for "All".
    void ShowCategoryInLabel(const RecordCache& cache) const;

    // Gives the label the host's two label colours and repaints it.
    void RecolorLabel(HostColorProvider* colors) const;

private:
    CategoriesOf categories_;
    QComboBox* box_ = nullptr;
    ColoredLabel* label_ = nullptr;
    // Drop-down position after "All" -> category number.
    std::vector<int32_t> numbers_;
};

}  // namespace orv
