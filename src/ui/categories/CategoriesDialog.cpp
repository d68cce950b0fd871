#include "ui/categories/CategoriesDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/WriteFailure.h"
#include "ui/categories/CategoryDialog.h"

namespace orv {
namespace {

// The category that can be neither renamed nor deleted; compared exactly.
const std::string kProtectedName = "Unfiled";
constexpr int32_t kMaxNamed = 16;

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CategoriesDialog::CategoriesDialog(CategorySet& categories, QWidget* owner) : QDialog(owner), categories_(categories) {
    setObjectName(QStringLiteral("dialog418"));
    setWindowTitle(QStringLiteral("Edit Categories"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("control1389"));
    list_->setSortingEnabled(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    new_ = Button(QStringLiteral("New"), "control1210", this);
    rename_ = Button(QStringLiteral("Rename"), "control1211", this);
    delete_ = Button(QStringLiteral("Delete"), "control1212", this);
    done_ = Button(QStringLiteral("Done"), "control1", this);
    connect(new_, &QPushButton::clicked, this, &CategoriesDialog::NewCategory);
    connect(rename_, &QPushButton::clicked, this, &CategoriesDialog::RenameCategory);
    connect(delete_, &QPushButton::clicked, this, &CategoriesDialog::DeleteCategory);
    // Changes are already stored when the dialog ends.
    connect(done_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(new_);
    buttons->addWidget(rename_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(done_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    Fill();
    if (owner) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

int32_t CategoriesDialog::NumberAt(int position) const {
    return position >= 0 && position < static_cast<int>(numberByPosition_.size())
               ? numberByPosition_[static_cast<std::size_t>(position)]
               : -1;
}

void CategoriesDialog::Fill() {
    list_->clear();
    numberByPosition_.clear();
    offered_.reset();

    // Named slots are listed in load order, each making the number after it
    // the offer; an empty slot is offered only until something else is, and
    // never when it was cleared in this dialog, so that records still
    // carrying a just-cleared number do not silently join a new category.
    for (const int32_t number : categories_.names.Ids()) {
        const std::string& name = categories_.names.NameOf(number);
        if (!name.empty()) {
            list_->insertItem(static_cast<int>(numberByPosition_.size()), QString::fromStdString(name));
            numberByPosition_.push_back(number);
            offered_ = number + 1;
        } else if (!offered_ && !WasCleared(number)) {
            offered_ = number;
        }
    }
    if (static_cast<int32_t>(numberByPosition_.size()) >= kMaxNamed) {
        offered_.reset();
    } else if (offered_ && !IsEmptySlot(*offered_)) {
        // The number after the last named slot may have no slot at all (the
        // last named one is 15, or the host has fewer slots) or, with a host
        // that lists slots out of order, be a named one. Offer the lowest
        // empty slot not cleared in this dialog instead, so a new name never
        // lands nowhere or over another category. With no such slot nothing
        // is offered.
        offered_ = LowestFreeSlot();
    }

    if (list_->count() > 0) list_->setCurrentRow(0);
    list_->setFocus();
}

std::optional<int32_t> CategoriesDialog::LowestFreeSlot() const {
    std::optional<int32_t> lowest;
    for (const int32_t number : categories_.names.Ids()) {
        if (IsEmptySlot(number) && !WasCleared(number) && (!lowest || number < *lowest)) lowest = number;
    }
    return lowest;
}

bool CategoriesDialog::IsEmptySlot(int32_t number) const {
    return categories_.names.Contains(number) && categories_.names.NameOf(number).empty();
}

bool CategoriesDialog::WasCleared(int32_t number) const {
    return std::find(cleared_.begin(), cleared_.end(), number) != cleared_.end();
}

std::optional<int32_t> CategoriesDialog::SelectedNumber() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const int32_t number = NumberAt(list_->row(selected.front()));
    return number < 0 ? std::nullopt : std::optional<int32_t>(number);
}

std::optional<std::string> CategoriesDialog::AskName(const std::string& current) {
    CategoryDialog dialog(QString::fromStdString(current), this);
    // A slot without a name is an empty slot: its records would silently
    // join the next category created there. Ask again, keeping the text.
    while (Services::Dialogs().Run(dialog) == QDialog::Accepted) {
        if (!dialog.Name().trimmed().isEmpty()) return dialog.Name().toStdString();
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("A category needs a name."));
    }
    return std::nullopt;
}

void CategoriesDialog::StoreName(int32_t number, const std::string& name, bool confirm) {
    categories_.names.Rename(number, name);
    const auto it = categories_.byNumber.find(number);
    if (it == categories_.byNumber.end()) return;
    CategoryRecord& record = it->second;
    record.name = name;
    // Without a host object the change lives only in the cache until the
    // next load.
    if (!record.object) return;
    if (RefuseWhenReadOnly(this, kDesktopCaption)) return;
    SetModifiedFlag();  // like every change, raised before the host is written
    int32_t result = record.object->Named().SetName(record.name.c_str());
    if (result == 0 && confirm) result = record.object->AfterRename(1);
    // A category slot is never removed, so every refusal gets the plain
    // message rather than the one for a removed record.
    if (result != 0) {
        const int32_t reason = HostWriteResult(result);
        ShowWriteFailure(this, kDesktopCaption, reason == hostresult::kGone ? kChangeRefused : reason,
                         RecordKind::Value);
    }
}

void CategoriesDialog::NewCategory() {
    if (!offered_) {
        Services::Prompter().Information(this, kDesktopCaption,
                                         QStringLiteral("The maximum number of categories is 16!"));
        return;
    }
    const int32_t number = *offered_;
    const std::optional<std::string> name = AskName(std::string());
    if (!name) return;
    StoreName(number, *name, true);
    Fill();
}

void CategoriesDialog::RenameCategory() {
    const std::optional<int32_t> number = SelectedNumber();
    if (!number) {
        Services::Prompter().Information(this, kDesktopCaption,
                                         QStringLiteral("Please choose the category to rename!"));
        return;
    }
    const std::string current = categories_.names.NameOf(*number);
    if (current == kProtectedName) {
        Services::Prompter().Information(this, kDesktopCaption,
                                         QStringLiteral("The category 'Unfiled' can not be renamed!"));
        return;
    }
    const std::optional<std::string> name = AskName(current);
    if (!name) return;
    StoreName(*number, *name, true);
    Fill();
}

void CategoriesDialog::DeleteCategory() {
    const std::optional<int32_t> number = SelectedNumber();
    if (!number) {
        Services::Prompter().Information(this, kDesktopCaption,
                                         QStringLiteral("Please choose the category to delete!"));
        return;
    }
    if (categories_.names.NameOf(*number) == kProtectedName) {
        Services::Prompter().Information(this, kDesktopCaption,
                                         QStringLiteral("The category 'Unfiled' can not be deleted!"));
        return;
    }
    // Clearing a name is the host's own business to follow up, so no
    // confirming call is made here.
    StoreName(*number, std::string(), false);
    if (cleared_.size() < kMaxCleared && !WasCleared(*number)) cleared_.push_back(*number);
    Fill();
}

std::vector<int32_t> EditCategories(RecordCache& cache, RecordKind kind, QWidget* owner) {
    CategorySet* categories = cache.MutableCategories(kind);
    if (!categories) return {};
    CategoriesDialog dialog(*categories, owner);
    Services::Dialogs().Run(dialog);
    return dialog.ClearedNumbers();
}

namespace {

template <typename Records>
bool MoveToCategoryZero(const Records& records, const std::vector<int32_t>& cleared, RecordKind kind) {
    bool moved = false;
    int32_t refused = kChangeOk;
    for (const auto& [id, record] : records) {
        if (!record.record || std::find(cleared.begin(), cleared.end(), record.category) == cleared.end()) continue;
        const int32_t result = RecordEdit(record.record).Category(0).Apply();
        if (refused == kChangeOk) refused = result;
        moved = true;
    }
    // One message for all the records refused.
    ShowWriteFailure(nullptr, kDesktopCaption, refused, kind);
    return moved;
}

}  // namespace

bool RefileClearedCategories(RecordCache& cache, HostDatabase* db, RecordKind kind,
                             const std::vector<int32_t>& cleared) {
    if (cleared.empty()) return false;
    bool moved = false;
    switch (kind) {
    case RecordKind::Unit: moved = MoveToCategoryZero(cache.Units(), cleared, kind); break;
    case RecordKind::Target: moved = MoveToCategoryZero(cache.Targets(), cleared, kind); break;
    case RecordKind::Group: moved = MoveToCategoryZero(cache.Groups(), cleared, kind); break;
    default: return false;
    }
    if (moved) {
        if (kind == RecordKind::Unit) cache.LoadUnits(db);
        if (kind == RecordKind::Target) cache.LoadTargets(db);
        if (kind == RecordKind::Group) cache.LoadGroups(db);
    }
    return moved;
}

}  // namespace orv
