#include "ui/targets/SelectTargetDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "data/RecordCache.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"

namespace orv {

SelectTargetDialog::SelectTargetDialog(const RecordCache& cache, const GroupRecord& group, int32_t preselected,
                                       QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("dialog416"));
    setWindowTitle(QStringLiteral("Select target"));
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 8));

    // Only the first COUNT entries of the list are the group's targets.
    const std::size_t count = std::min(group.targets.size(), static_cast<std::size_t>(std::max(group.count, 0)));
    groupTargets_.assign(group.targets.begin(), group.targets.begin() + static_cast<std::ptrdiff_t>(count));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("control1387"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long names are elided to the list's width, whole in their tooltips.
    list_->setTextElideMode(Qt::ElideRight);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectTargetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);

    int preselectedRow = -1;
    for (const auto& [name, id] : cache.TargetIdsByName()) {
        if (preselected > 0 && id == preselected) preselectedRow = static_cast<int>(idByPosition_.size());
        list_->addItem(QString::fromStdString(name));
        list_->item(list_->count() - 1)->setToolTip(QString::fromStdString(name));
        idByPosition_.push_back(id);
    }
    if (preselectedRow >= 0) {
        list_->setCurrentRow(preselectedRow);
        if (!GroupHas(preselected)) chosen_ = preselected;
    }
    // Selections made from here on are the user's.
    connect(list_, &QListWidget::itemSelectionChanged, this, &SelectTargetDialog::OnSelectionChanged);

    resize(262, 274);
    if (owner) move(owner->window()->frameGeometry().center() - rect().center());
}

bool SelectTargetDialog::GroupHas(int32_t targetId) const {
    return std::find(groupTargets_.begin(), groupTargets_.end(), targetId) != groupTargets_.end();
}

void SelectTargetDialog::OnSelectionChanged() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const int row = list_->row(selected.front());
    if (row < 0 || row >= static_cast<int>(idByPosition_.size())) return;
    const int32_t id = idByPosition_[static_cast<std::size_t>(row)];
    if (GroupHas(id)) {
        Services::Prompter().Information(this, kDesktopCaption, QStringLiteral("This target is already in the list!"));
        list_->clearSelection();
        return;
    }
    chosen_ = id;
}

void SelectTargetDialog::accept() {
    if (chosen_ == 0) {
        Services::Prompter().Information(this, kDesktopCaption, QStringLiteral("Please, select the target to add."));
        return;
    }
    QDialog::accept();
}

}  // namespace orv
