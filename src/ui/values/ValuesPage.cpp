#include "ui/values/ValuesPage.h"

#include <QFont>
#include <QResizeEvent>

#include <algorithm>

#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "export/ExcelExport.h"
#include "platform/DialogRunner.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/WriteFailure.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/Grid.h"
#include "ui/values/CellText.h"
#include "ui/values/ValueEntry.h"
#include "ui/values/ValueEntryDialog.h"

namespace orv {
namespace {

const QString kLastTenTitle = QStringLiteral("Last 10 values");
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;

QString Column(const char* title) { return QString::fromLatin1(title); }

// Grid columns, left to right.
enum GridColumn { kDate, kTime, kItem, kValue, kUnit, kNotes };

template <typename Write, typename Arg>
QString Written(Write write, const Arg& arg) {
    char buffer[kCellTextCapacity];
    return QString::fromLatin1(buffer, static_cast<qsizetype>(write(arg, buffer)));
}

BitmapButton* PageButton(const QString& text, BitmapButton::Face face, QWidget* parent) {
    auto* button = new BitmapButton(text, face, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ValuesPage::ValuesPage(const PageContext& context, QWidget* parent) : PluginPage(context, parent) {
    setObjectName(QStringLiteral("ValuesPage"));
}

void ValuesPage::LoadCacheParts() { ReloadValueParts(cache_, &db_); }

void ValuesPage::CreateContent() {
    if (grid_) return;
    setFont(PageFont());

    lastTenButton_ = PageButton(QStringLiteral("Last 10 Values"), BitmapButton::Face::Check, this);
    lastTenButton_->setChecked(false);
    label_ = new ColoredLabel(this);

    grid_ = new orv::Grid(this);
    grid_->addColumn(Column(kDateColumn), 70);
    grid_->addColumn(Column(kTimeColumn), 70);
    grid_->addColumn(Column(kItemColumn), 100);
    grid_->addColumn(Column(kValueColumn), 70);
    grid_->addColumn(Column(kUnitColumn), 100);
    grid_->addColumn(Column(kNotesColumn), 100);
    grid_->setAlternatingRowColors(kEvenRowColor, kOddRowColor);
    grid_->setCellSource([this](int valueId, int column) { return CellText(valueId, column); });
    connect(grid_, &orv::Grid::editRequested, this, [this] { EditValue(); });
    connect(grid_, &orv::Grid::addRowRequested, this, [this] { AddValue(); });
    connect(grid_, &orv::Grid::deleteRowRequested, this, [this] { RemoveValue(); });

    new_ = PageButton(QStringLiteral("New"), BitmapButton::Face::Push, this);
    edit_ = PageButton(QStringLiteral("Edit"), BitmapButton::Face::Push, this);
    remove_ = PageButton(QStringLiteral("Remove"), BitmapButton::Face::Push, this);
    connect(lastTenButton_, &QPushButton::clicked, this, &ValuesPage::ToggleLastTen);
    connect(new_, &QPushButton::clicked, this, &ValuesPage::AddValue);
    connect(edit_, &QPushButton::clicked, this, &ValuesPage::EditValue);
    connect(remove_, &QPushButton::clicked, this, &ValuesPage::RemoveValue);
    // The same values export as the module's menu command.
    export_ = PageButton(QStringLiteral("Export to MS Excel"), BitmapButton::Face::Push, this);
    connect(export_, &QPushButton::clicked, this, [this] { ExportValues(&db_, cache_); });

    lastTen_ = false;
    AfterChange(0);
    LayoutControls();
}

void ValuesPage::Activate() { AfterChange(0); }

void ValuesPage::Recolor() {
    if (label_) label_->applyHostColors(colors_);
}

void ValuesPage::AfterChange(int32_t selectId) {
    ReloadValueParts(cache_, &db_);
    if (grid_ && selectId == 0 && filledGeneration_ == cache_.Generation()) {
        grid_->selectRow(0);
        return;
    }
    FillGrid(selectId);
}

int32_t ValuesPage::ValueIdAt(int row) const {
    return row >= 0 && row < static_cast<int>(rowIds_.size()) ? rowIds_[static_cast<std::size_t>(row)] : 0;
}

void ValuesPage::FillGrid(int32_t selectId) {
    if (!grid_) return;
    grid_->setRedraw(false);
    grid_->deleteAllRows();
    rowIds_.clear();
    int selectRow = -1;
    const ValuesByTime& inTime = cache_.ValuesInTime();
    rowIds_.reserve(lastTen_ ? kLastCount : inTime.size());
    // Newest first; among equal seconds the one loaded last comes first.
    for (auto it = inTime.rbegin(); it != inTime.rend(); ++it) {
        if (lastTen_ && static_cast<int>(rowIds_.size()) >= kLastCount) break;
        // The index points into the cached values only.
        const ValueRecord* value = it->second;
        if (!value) continue;
        if (selectId != 0 && value->id == selectId) selectRow = static_cast<int>(rowIds_.size());
        rowIds_.push_back(value->id);
    }
    // The texts are made when rows are drawn (CellText).
    grid_->appendRows(rowIds_);
    filledGeneration_ = cache_.Generation();
    grid_->setRedraw(true);
    grid_->selectRow(selectRow >= 0 ? selectRow : 0);
}

QString ValuesPage::CellText(int32_t valueId, int column) const {
    const ValueRecord* value = cache_.FindValue(valueId);
    if (!value) return {};
    switch (column) {
    case kDate: return Written(WriteDateText, value->date);
    case kTime: return Written(WriteTimeText, value->date);
    case kItem: {
        const ItemRecord* item = cache_.FindItem(value->itemId);
        return item ? PageText(item->name) : QString();
    }
    case kValue: return Written(WriteAmountText, static_cast<double>(value->value));
    case kUnit: {
        const GroupRecord* group = cache_.FindGroup(value->matterId);
        const UnitEntry* unit = group ? cache_.FindUnit(group->unitId) : nullptr;
        return unit ? PageText(unit->name) : QString();
    }
    case kNotes: return PageText(value->notes);
    default: return {};
    }
}

void ValuesPage::AddValue() {
    // The dialog picks the first group and its first item itself.
    ValueRecord working;
    const NameList& groups = cache_.GroupNames();
    working.matterId = groups.empty() ? 0 : groups.IdAt(0);
    const NameList& items = cache_.ItemNames();
    working.itemId = items.empty() ? 0 : items.IdAt(0);
    working.value = cache_.ItemDefaultValue(working.itemId);

    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    ValueEntryDialog dialog(cache_, working, ValueEntryDialog::Mode::Add, this);
    int32_t newId = 0;
    const bool added = RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Value,
                                       [&] { return StoreNewValue(db_, cache_, dialog.Value(), &newId); });
    if (added) AfterChange(newId);
}

void ValuesPage::EditValue() {
    if (!grid_) return;
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to edit"));
        return;
    }
    const int32_t id = ValueIdAt(row);
    const ValueRecord* value = cache_.FindValue(id);
    if (!value) return;

    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    ValueEntryDialog dialog(cache_, *value, ValueEntryDialog::Mode::Edit, this);
    RunUntilWritten(dialog, this, kDiabetesCaption, RecordKind::Value,
                    [&] { return StoreValueChanges(db_, dialog.Value()); });
    AfterChange(id);
}

void ValuesPage::RemoveValue() {
    if (!grid_) return;
    const int row = grid_->currentRow();
    if (row < 0) {
        Services::Prompter().Information(this, kDiabetesCaption, QStringLiteral("Select a row to remove."));
        return;
    }
    if (RefuseWhenReadOnly(this, kDiabetesCaption)) return;
    if (!Services::Prompter().AskYesNo(this, kDiabetesCaption, QStringLiteral("Delete this value?"))) return;
    const int32_t id = ValueIdAt(row);
    if (const ValueRecord* value = cache_.FindValue(id); value && value->record) {
        ShowWriteFailure(this, kDiabetesCaption, DeleteRecord(value->record), RecordKind::Value);
    }
    AfterChange(0);
}

void ValuesPage::ToggleLastTen() {
    // A click has already flipped the check; a call from code has not.
    lastTen_ = !lastTen_;
    if (lastTenButton_) lastTenButton_->setChecked(lastTen_);
    if (label_) label_->setText(lastTen_ ? kLastTenTitle : QString());
    FillGrid(0);
}

void ValuesPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void ValuesPage::LayoutControls() {
    if (!grid_) return;
    const QRect client = rect();
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    const int b = client.top() + client.height();
    lastTenButton_->setGeometry(l + 10, t + 10, kButtonWidth, kButtonHeight);
    label_->setGeometry(l + 120, t + 10, std::max(0, r - l - 140), kButtonHeight);
    grid_->setGeometry(l + 10, t + 46, std::max(0, r - l - 20), std::max(0, b - t - 92));
    new_->setGeometry(l + 10, b - 36, kButtonWidth, kButtonHeight);
    edit_->setGeometry(l + 120, b - 36, kButtonWidth, kButtonHeight);
    remove_->setGeometry(l + 230, b - 36, kButtonWidth, kButtonHeight);
    export_->setGeometry(r - 140, b - 36, 130, kButtonHeight);
}

}  // namespace orv
