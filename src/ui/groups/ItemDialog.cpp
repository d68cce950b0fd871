#include "ui/groups/ItemDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "data/RecordCache.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/controls/NameFit.h"
#include "ui/controls/NumberSpin.h"
#include "ui/controls/PropertyList.h"
#include "util/DecimalText.h"

namespace orv {
namespace {

constexpr double kStep = 0.1;
constexpr int kAmountColumn = 1;
constexpr int kUnitLabelWidth = 240;

}  // namespace

ItemDialog::ItemDialog(const QString& title, const ItemRecord& item, const RecordCache& cache, QWidget* owner)
    : QDialog(owner), cache_(cache), item_(item) {
    setObjectName(QStringLiteral("dialog415"));
    setWindowTitle(title);
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 8));

    name_ = new QLineEdit(this);
    default_ = new QLineEdit(this);
    default_->setAlignment(Qt::AlignRight);
    auto* spinner = new NumberSpin(
        default_, [this](int steps) { StepDefault(steps); }, [this](int angleDelta) { WheelDefault(angleDelta); }, {},
        this);
    unit_ = new QLabel(this);
    perUnit_ = new QLabel(this);

    amounts_ = new PropertyList(this);
    amounts_->setColumns({{QStringLiteral("Item"), 120, Qt::AlignLeft},
                          {QStringLiteral("Value"), 60, Qt::AlignRight},
                          {QStringLiteral("Unit"), 75, Qt::AlignLeft}});

    auto* defaultLine = new QHBoxLayout;
    defaultLine->setSpacing(0);
    defaultLine->addWidget(default_);
    defaultLine->addWidget(spinner);
    defaultLine->addSpacing(6);
    defaultLine->addWidget(unit_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Def. value"), this), 1, 0);
    grid->addLayout(defaultLine, 1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ItemDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(perUnit_);
    layout->addWidget(amounts_);
    layout->addWidget(buttons);

    // A missing group or unit leaves the unit name empty.
    QString unitName;
    if (const GroupRecord* group = cache_.FindGroup(item_.matterId)) {
        if (const UnitEntry* unit = cache_.FindUnit(group->unitId)) unitName = QString::fromStdString(unit->name);
    }
    SetElidedText(unit_, unitName, kUnitLabelWidth);
    SetElidedText(perUnit_, QStringLiteral("All the values below are per 1 %1").arg(unitName), 2 * kUnitLabelWidth);

    item_.count = std::clamp<int32_t>(item_.count, 0, kMaxListEntries);
    if (item_.values.size() < static_cast<std::size_t>(kMaxListEntries)) item_.values.resize(kMaxListEntries, 0.0f);
    FillAmounts();

    item_.defaultValue = static_cast<float>(LimitDefault(item_.defaultValue));
    ShowDefault();
    name_->setText(QString::fromStdString(item_.name));
    name_->setFocus();
    PlaceDialog(this, owner);
}

ItemDialog::~ItemDialog() { default_->removeEventFilter(this); }

double ItemDialog::LimitDefault(double value) {
    if (value >= kDefaultCeiling) return kDefaultCeiling;
    if (value <= kDefaultFloor) return kDefaultFloor + 1.0;
    return value;
}

std::optional<double> ItemDialog::ParseDefaultText(const QString& typed) {
    const QString text = LocaleNumberText(typed);
    const std::optional<double> value = PropertyList::parseNumber(text);
    if (!value) return std::nullopt;
    if (*value == 0.0) {
        const QString trimmed = text.trimmed();
        if (!trimmed.startsWith(QLatin1Char('0'))) return std::nullopt;
    }
    return value;
}

QString ItemDialog::DefaultText(double value) { return QString::number(value, 'g', 4); }

QString ItemDialog::LocaleNumberText(const QString& text) {
    return QString::fromStdString(WithDecimalPoint(text.toStdString(), QLocale().decimalPoint().toStdString()));
}

void ItemDialog::ShowDefault() {
    shownDefault_ = DefaultText(item_.defaultValue);
    default_->setText(shownDefault_);
}

void ItemDialog::FillAmounts() {
    amounts_->clearRows();
    shownAmounts_.clear();
    const GroupRecord* group = cache_.FindGroup(item_.matterId);
    if (!group) return;
    const int32_t rows = std::min<int32_t>(group->count, static_cast<int32_t>(group->targets.size()));
    for (int32_t i = 0; i < rows && i < kMaxListEntries; ++i) {
        const TargetRecord* target = cache_.FindTarget(group->targets[static_cast<std::size_t>(i)]);
        QString unitName;
        if (target) {
            if (const UnitEntry* unit = cache_.FindUnit(target->unitId)) unitName = QString::fromStdString(unit->name);
        }
        const int row =
            amounts_->addRow({target ? QString::fromStdString(target->name) : QString(), QString(), unitName});
        amounts_->setNumber(row, kAmountColumn, item_.values[static_cast<std::size_t>(i)]);
        shownAmounts_.push_back(amounts_->cellText(row, kAmountColumn));
    }
}

void ItemDialog::ReadAmounts() {
    // Only the item's own COUNT amounts are taken back; a cell that holds no
    // number leaves its amount as it was.
    // A cell still showing what it was filled with keeps the amount with all
    // of its digits.
    const int32_t rows = std::min<int32_t>(item_.count, amounts_->rowCount());
    for (int32_t i = 0; i < rows; ++i) {
        const QString text = amounts_->cellText(i, kAmountColumn);
        if (i < static_cast<int32_t>(shownAmounts_.size()) && text == shownAmounts_[static_cast<std::size_t>(i)]) {
            continue;
        }
        if (const std::optional<double> value = PropertyList::parseNumber(LocaleNumberText(text))) {
            item_.values[static_cast<std::size_t>(i)] = static_cast<float>(*value);
        }
    }
}

bool ItemDialog::ReadFields() {
    item_.name = name_->text().toStdString();
    ReadAmounts();
    // The default value as shown holds four digits only: an untouched field
    // keeps it with all of its digits.
    if (default_->text() == shownDefault_) return true;
    const std::optional<double> value = ParseDefaultText(default_->text());
    if (!value) {
        Services::Prompter().Beep();
        default_->setFocus();
        return false;
    }
    // Keep huge values finite as a float so the limit can bring them back.
    item_.defaultValue = static_cast<float>(std::clamp(*value, kDefaultFloor * 2, kDefaultCeiling * 2));
    return true;
}

void ItemDialog::StepDefault(int steps) {
    ReadFields();
    const double value =
        std::clamp(static_cast<double>(item_.defaultValue) + kStep * steps, kDefaultFloor, kDefaultCeiling);
    item_.defaultValue = static_cast<float>(value);
    ShowDefault();
    FillAmounts();
}

void ItemDialog::WheelDefault(int angleDelta) {
    if (!ReadFields()) return;
    item_.defaultValue = static_cast<float>(LimitDefault(item_.defaultValue + NumberSpin::Notches(angleDelta)));
    ShowDefault();
}

void ItemDialog::accept() {
    const bool valid = ReadFields();
    if (item_.name.empty()) {
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("Item name is empty!!!"));
        return;
    }
    if (!valid) return;
    item_.defaultValue = static_cast<float>(LimitDefault(item_.defaultValue));
    ShowDefault();
    QDialog::accept();
}

}  // namespace orv
