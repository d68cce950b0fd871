#include "ui/values/ValueEntryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "data/RecordCache.h"
#include "data/UnitConversion.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/controls/NameFit.h"
#include "ui/controls/NumberSpin.h"
#include "util/DecimalText.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

constexpr float kAmountLimit = 999999.0f;
// The arrows stop a little further out than typing does.
constexpr float kSpinLimit = 1000000.0f;
const QString kRemoved = QStringLiteral("(removed)");

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<float> ParseAmountText(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    if (first == last) return std::nullopt;
    const char* number = first;
    // from_chars takes no plus sign; a sign after it is not a number.
    if (*number == '+') {
        ++number;
        if (number == last || *number == '-' || *number == '+') return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number, last, value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    if (!std::all_of(end, last, IsBlank)) return std::nullopt;
    // "-0", ".0" and the like are not taken for a typed zero.
    if (value == 0.0 && *first != '0') return std::nullopt;
    // Keep the float finite; the limits bring it into range afterwards.
    return static_cast<float>(std::clamp(value, -1e9, 1e9));
}

QString AmountText(float amount) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(amount), std::chars_format::general, 4);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

float LimitAmount(float amount) {
    if (amount >= 1000000.0f) return kAmountLimit;
    if (amount <= -1000000.0f) return -kAmountLimit;
    return amount;
}

ValueEntryDialog::ValueEntryDialog(const RecordCache& cache, const ValueRecord& working, Mode mode, QWidget* owner)
    : QDialog(owner), cache_(cache), value_(working), kept_(working), mode_(mode) {
    setObjectName(QStringLiteral("dialog413"));
    setWindowTitle(mode_ == Mode::Add ? QStringLiteral("Add Value") : QStringLiteral("Edit Value"));
    BuildControls();

    // A new value keeps the "now" the pickers start with.
    if (mode_ == Mode::Edit) {
        const HostDateTime& d = value_.date;
        const QDate date(d.year, d.month, d.day);
        const QTime time(d.hour, d.minute, d.second);
        date_->setValue(date, time);
        time_->setValue(date, time);
    }
    amount_->setFocus();

    FillGroups();
    FillItems();
    FillUnits();
    displayed_ = LimitAmount(value_.value);
    FillTargetList();
    ShowAmount();
    notes_->setText(PageText(value_.notes));
    if (mode_ == Mode::Add) OnGroupChosen();
    PlaceDialog(this, owner);
}

void ValueEntryDialog::BuildControls() {
    date_ = new DateTimeControl(DateTimeControl::Kind::Date, this);
    date_->setObjectName(QStringLiteral("date"));
    time_ = new DateTimeControl(DateTimeControl::Kind::Time, this);
    time_->setObjectName(QStringLiteral("time"));
    time_->setFormat(QStringLiteral("HH:mm:ss"));
    groups_ = new QComboBox(this);
    groups_->setObjectName(QStringLiteral("group"));
    items_ = new QComboBox(this);
    items_->setObjectName(QStringLiteral("item"));
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("amount"));
    amount_->setAlignment(Qt::AlignRight);
    amount_->installEventFilter(this);
    KeepNameBoxNarrow(groups_);
    KeepNameBoxNarrow(items_);
    groups_->setPlaceholderText(kRemoved);
    items_->setPlaceholderText(kRemoved);
    // The arrows step as far as kSpinLimit; the wheel keeps to what typing
    // may give, and only the wheel works the field itself.
    spinner_ = new NumberSpin(
        amount_, [this](int steps) { StepAmount(steps, false); },
        [this](int angleDelta) {
            if (const int notches = NumberSpin::Notches(angleDelta)) StepAmount(notches, true);
        },
        {.upName = "spinUp", .downName = "spinDown", .arrowKeys = false, .wheelNeedsFocus = false}, this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("unit"));
    notes_ = new QLineEdit(this);
    notes_->setObjectName(QStringLiteral("notes"));

    targets_ = new QTreeWidget(this);
    targets_->setObjectName(QStringLiteral("targets"));
    targets_->setRootIsDecorated(false);
    targets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    targets_->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Value"), QStringLiteral("Unit")});
    targets_->headerItem()->setTextAlignment(1, Qt::AlignRight);
    targets_->setColumnWidth(0, 120);
    targets_->setColumnWidth(1, 60);
    targets_->setColumnWidth(2, 75);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ValueEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ValueEntryDialog::reject);

    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(amount_, 1);
    amountRow->addWidget(spinner_);
    amountRow->addWidget(units_);

    auto* fields = new QGridLayout;
    const auto addRow = [&](int row, const QString& label, QWidget* widget, QLayout* layout) {
        fields->addWidget(new QLabel(label, this), row, 0);
        if (widget) fields->addWidget(widget, row, 1);
        if (layout) fields->addLayout(layout, row, 1);
    };
    addRow(0, QStringLiteral("Date:"), date_, nullptr);
    addRow(1, QStringLiteral("Time:"), time_, nullptr);
    addRow(2, QStringLiteral("Group"), groups_, nullptr);
    addRow(3, QStringLiteral("Item"), items_, nullptr);
    addRow(4, QStringLiteral("Value"), nullptr, amountRow);
    addRow(5, QStringLiteral("Notes"), notes_, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(targets_, 1);
    layout->addWidget(buttons);

    connect(groups_, &QComboBox::activated, this, &ValueEntryDialog::OnGroupChosen);
    connect(items_, &QComboBox::activated, this, &ValueEntryDialog::OnItemChosen);
    connect(units_, &QComboBox::activated, this, &ValueEntryDialog::OnUnitChosen);
    // Leaving the field rewrites it (see eventFilter); Enter does not, so OK
    // takes the amount as typed.
    connect(amount_, &QLineEdit::textEdited, this, &ValueEntryDialog::OnAmountTyped);
}

const GroupRecord* ValueEntryDialog::SelectedGroup() const {
    const int position = groups_->currentIndex();
    if (position < 0 || position >= cache_.GroupNames().size()) return nullptr;
    return cache_.FindGroup(cache_.GroupNames().IdAt(position));
}

const ItemRecord* ValueEntryDialog::SelectedItem() const { return cache_.FindItem(value_.itemId); }

void ValueEntryDialog::FillGroups() {
    groups_->clear();
    const NameList& names = cache_.GroupNames();
    for (const int32_t id : names.Ids()) groups_->addItem(PageText(names.NameOf(id)));
    const int position = names.PositionOf(value_.matterId);
    // A stored value whose group is gone keeps it until the user picks one.
    const bool keep = position < 0 && mode_ == Mode::Edit && value_.matterId != 0;
    groups_->setCurrentIndex(position >= 0 ? position : (keep || groups_->count() == 0 ? -1 : 0));
    if (const GroupRecord* group = SelectedGroup()) value_.matterId = group->id;
}

void ValueEntryDialog::FillItems() {
    items_->clear();
    itemIds_.clear();
    const GroupRecord* group = SelectedGroup();
    if (group) {
        const auto [first, last] = cache_.ItemsByGroup().equal_range(group->id);
        for (auto it = first; it != last; ++it) {
            const ItemRecord* item = cache_.FindItem(it->second);
            items_->addItem(item ? PageText(item->name) : PageText(cache_.ItemNames().NameOf(it->second)));
            itemIds_.push_back(it->second);
        }
    }
    const auto found = std::find(itemIds_.begin(), itemIds_.end(), value_.itemId);
    const int position = found != itemIds_.end() ? static_cast<int>(found - itemIds_.begin()) : 0;
    // A stored value whose item is gone (or whose group is) keeps it until
    // the user picks another.
    if (found == itemIds_.end() && mode_ == Mode::Edit && value_.itemId != 0 && value_.itemId == kept_.itemId &&
        value_.matterId == kept_.matterId) {
        items_->setCurrentIndex(-1);
        return;
    }
    if (itemIds_.empty()) {
        value_.itemId = 0;
        return;
    }
    items_->setCurrentIndex(position);
    value_.itemId = itemIds_[static_cast<std::size_t>(position)];
}

void ValueEntryDialog::FillUnits() {
    units_->clear();
    unitIds_.clear();
    unitFactor_ = 1.0f;
    const GroupRecord* group = SelectedGroup();
    if (!group) return;
    for (const auto& [unitId, product] : FamilyOf(cache_.Conversions(), cache_.Families(), group->unitId)) {
        const UnitEntry* unit = cache_.FindUnit(unitId);
        units_->addItem(unit ? PageText(unit->name) : QString());
        unitIds_.push_back(unitId);
    }
    // A unit outside every family (its definition is gone) is still offered.
    if (unitIds_.empty() && cache_.FindUnit(group->unitId)) {
        units_->addItem(PageText(cache_.FindUnit(group->unitId)->name));
        unitIds_.push_back(group->unitId);
    }
    const auto found = std::find(unitIds_.begin(), unitIds_.end(), group->unitId);
    if (found != unitIds_.end()) units_->setCurrentIndex(static_cast<int>(found - unitIds_.begin()));
}

void ValueEntryDialog::FillTargetList() {
    targets_->clear();
    const GroupRecord* group = SelectedGroup();
    if (!group) return;
    const ItemRecord* item = SelectedItem();
    for (std::size_t i = 0; i < group->targets.size(); ++i) {
        const TargetRecord* target = cache_.FindTarget(group->targets[i]);
        const UnitEntry* unit = target ? cache_.FindUnit(target->unitId) : nullptr;
        const float perUnit = item && i < item->values.size() ? item->values[i] : 0.0f;
        auto* row = new QTreeWidgetItem(targets_);  // owned by the list
        row->setText(0, target ? PageText(target->name) : QString());
        row->setText(1, QString::fromStdString(FixedText(displayed_ * unitFactor_ * perUnit, 2)));
        row->setTextAlignment(1, Qt::AlignRight);
        row->setText(2, unit ? PageText(unit->name) : QString());
    }
}

void ValueEntryDialog::OnGroupChosen() {
    if (const GroupRecord* group = SelectedGroup()) value_.matterId = group->id;
    value_.itemId = 0;  // the group's first item
    FillItems();
    FillUnits();
    const ItemRecord* item = SelectedItem();
    displayed_ = LimitAmount((item ? item->defaultValue : 0.0f) / unitFactor_);
    ShowAmount();
    FillTargetList();
}

void ValueEntryDialog::OnItemChosen() {
    const int position = items_->currentIndex();
    if (position < 0 || position >= static_cast<int>(itemIds_.size())) return;
    value_.itemId = itemIds_[static_cast<std::size_t>(position)];
    const ItemRecord* item = SelectedItem();
    displayed_ = LimitAmount((item ? item->defaultValue : 0.0f) / unitFactor_);
    ShowAmount();
    FillTargetList();
}

void ValueEntryDialog::OnUnitChosen() {
    const int position = units_->currentIndex();
    const GroupRecord* group = SelectedGroup();
    if (!group || position < 0 || position >= static_cast<int>(unitIds_.size())) return;
    const float factor = UnitRatio(cache_.Conversions(), unitIds_[static_cast<std::size_t>(position)], group->unitId);
    // A unit defined with a zero factor cannot take the amount.
    if (!std::isfinite(factor) || factor == 0.0f) return;
    displayed_ = displayed_ * unitFactor_ / factor;
    unitFactor_ = factor;
    ShowAmount();
}

bool ValueEntryDialog::ReadAmount(bool quietWhenEmpty) {
    const std::string text = WithDecimalPoint(amount_->text().toStdString(), QLocale().decimalPoint().toStdString());
    if (const std::optional<float> amount = ParseAmountText(text)) {
        displayed_ = *amount;
        return true;
    }
    // An emptied field is a step of typing, not a mistake yet.
    if (quietWhenEmpty && std::all_of(text.begin(), text.end(), IsBlank)) return false;
    Services::Prompter().Beep();
    amount_->setFocus();
    return false;
}

void ValueEntryDialog::OnAmountTyped() {
    if (ReadAmount(true)) displayed_ = LimitAmount(displayed_);
    FillTargetList();
}

void ValueEntryDialog::CommitAmount() {
    ReadAmount();
    displayed_ = LimitAmount(displayed_);
    FillTargetList();
    ShowAmount();
}

void ValueEntryDialog::StepAmount(int steps, bool limit) {
    ReadAmount();
    if (limit) displayed_ = LimitAmount(displayed_);
    displayed_ += static_cast<float>(steps);
    displayed_ = limit ? LimitAmount(displayed_) : std::clamp(displayed_, -kSpinLimit, kSpinLimit);
    ShowAmount();
    FillTargetList();
}

void ValueEntryDialog::ShowAmount() { amount_->setText(AmountText(displayed_)); }

bool ValueEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == amount_ && event->type() == QEvent::FocusOut && isVisible() &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        CommitAmount();
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

bool ValueEntryDialog::KeepsRemovedItem() const {
    return mode_ == Mode::Edit && value_.itemId != 0 && value_.itemId == kept_.itemId &&
           value_.matterId == kept_.matterId && !SelectedItem();
}

void ValueEntryDialog::accept() {
    if ((!SelectedGroup() || !SelectedItem()) && !KeepsRemovedItem()) {
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("Choose a group and an item for the value."));
        return;
    }
    // Text that is no number keeps the dialog open, with the notes as typed.
    if (!ReadAmount()) {
        amount_->selectAll();
        return;
    }
    displayed_ = LimitAmount(displayed_);

    const QDate date = date_->date();
    const QTime time = time_->time();
    // Host seconds end at DateTimeControl::latest(); a later time on the
    // last day would wrap round to 1970.
    if (QDateTime(date, time, Qt::UTC) > DateTimeControl::latest()) {
        Services::Prompter().Error(this, kDesktopCaption,
                                   QStringLiteral("The time cannot be later than %1 on %2.")
                                       .arg(DateTimeControl::latest().time().toString(QStringLiteral("HH:mm:ss")),
                                            DateTimeControl::latest().date().toString(QStringLiteral("MM/dd/yyyy"))));
        time_->setFocus();
        return;
    }
    value_.date.year = static_cast<uint16_t>(date.year());
    value_.date.month = static_cast<uint16_t>(date.month());
    value_.date.day = static_cast<uint16_t>(date.day());
    value_.date.dayOfWeek = static_cast<uint16_t>(date.dayOfWeek() % 7);  // Sunday is 0
    value_.date.hour = static_cast<uint16_t>(time.hour());
    value_.date.minute = static_cast<uint16_t>(time.minute());
    value_.date.second = static_cast<uint16_t>(time.second());

    value_.value = displayed_ * unitFactor_;
    value_.notes = notes_->text().toStdString();
    QDialog::accept();
}

}  // namespace orv
