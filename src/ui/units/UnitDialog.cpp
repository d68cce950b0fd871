#include "ui/units/UnitDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "data/RecordCache.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "ui/PageStyle.h"
#include "ui/controls/NameFit.h"
#include "ui/controls/NumberSpin.h"
#include "util/DecimalText.h"

namespace orv {
namespace {

const QString kNoBaseUnit = QStringLiteral("<No>");
constexpr float kFactorStep = 0.001f;
const QString kUnstorableFactor =
    QStringLiteral("The factor must be a number greater than 0 (at least 1.2e-38, the smallest that can be stored).");

// A factor the host can keep: a finite float above 0 that does not lose its
// digits to underflow.
bool IsStorableFactor(double value) {
    return std::isfinite(value) && value >= static_cast<double>(std::numeric_limits<float>::min());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when `text` is exactly one decimal number: optional sign, digits with
// an optional point (at least one digit), optional exponent with digits.
bool IsDecimalNumber(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponent = 0;
        while (i < n && IsDigit(text[i])) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    return i == n;
}

}  // namespace

UnitDialog::UnitDialog(const QString& title, const UnitEntry& entry, const RecordCache& cache, QWidget* owner)
    : QDialog(owner), cache_(cache), entry_(entry) {
    setObjectName(QStringLiteral("dialog411"));
    setWindowTitle(title);
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 8));

    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("control1362"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("control1305"));
    factor_ = new QLineEdit(this);
    factor_->setObjectName(QStringLiteral("control1363"));
    factor_->setAlignment(Qt::AlignRight);
    factor_->installEventFilter(this);
    base_ = new QComboBox(this);
    base_->setObjectName(QStringLiteral("control1306"));
    KeepNameBoxNarrow(category_);
    KeepNameBoxNarrow(base_);

    // The up-down control sits against the right edge of the factor edit.
    spinner_ = new NumberSpin(
        factor_, [this](int steps) { StepFactor(steps); }, [this](int angleDelta) { WheelFactor(angleDelta); }, {},
        this);
    spinner_->setObjectName(QStringLiteral("control1364"));

    auto* factorLine = new QHBoxLayout;
    factorLine->setSpacing(0);
    factorLine->addWidget(factor_);
    factorLine->addWidget(spinner_);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Category:"), this), 0, 0);
    grid->addWidget(category_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Name"), this), 1, 0);
    grid->addWidget(name_, 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("="), this), 2, 1);
    grid->addLayout(factorLine, 2, 2);
    grid->addWidget(base_, 2, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &UnitDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    // Base unit: "<No>", then every unit in list order (the unit itself too).
    const NameList& units = cache_.UnitNames();
    base_->addItem(kNoBaseUnit);
    for (const int32_t id : units.Ids()) base_->addItem(QString::fromStdString(units.NameOf(id)));
    base_->setCurrentIndex(entry_.baseUnit == 0 ? 0 : units.PositionOf(entry_.baseUnit) + 1);

    // Category: the named unit categories only.
    const NameList& categories = cache_.UnitCategories().names;
    int selected = 0;
    for (const int32_t number : categories.Ids()) {
        const std::string& categoryName = categories.NameOf(number);
        if (categoryName.empty()) continue;
        if (number == entry_.category) selected = static_cast<int>(categoryByPosition_.size());
        category_->addItem(QString::fromStdString(categoryName));
        categoryByPosition_.push_back(number);
    }
    category_->setCurrentIndex(categoryByPosition_.empty() ? -1 : selected);

    entry_.factor = ClampFactor(entry_.factor);
    name_->setText(QString::fromStdString(entry_.name));
    ShowFactor();
    factor_->setFocus();
    PlaceDialog(this, owner);
}

UnitDialog::~UnitDialog() { factor_->removeEventFilter(this); }

float UnitDialog::ClampFactor(float factor) {
    if (factor >= kFactorCeiling) return kFactorLimit;
    if (factor <= 0.0f) return 1.0f;
    return factor;
}

std::optional<double> UnitDialog::ParseFactorText(const QString& text) {
    std::string number = WithDecimalPoint(text.toStdString(), QLocale().decimalPoint().toStdString());
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = 0;
    std::size_t end = number.size();
    while (begin < end && blank(number[begin])) ++begin;
    while (end > begin && blank(number[end - 1])) --end;
    number = number.substr(begin, end - begin);
    if (!IsDecimalNumber(number)) return std::nullopt;

    // from_chars takes no leading '+' and ignores the locale.
    const std::size_t start = number.front() == '+' ? 1 : 0;
    double value = 0.0;
    const auto [rest, error] = std::from_chars(number.data() + start, number.data() + number.size(), value);
    if (error != std::errc() || rest != number.data() + number.size()) return std::nullopt;
    if (value == 0.0 && number.front() != '0') return std::nullopt;
    return value;
}

QString UnitDialog::FactorText(float factor) { return QString::number(static_cast<double>(factor), 'g', 6); }

void UnitDialog::ShowFactor() {
    shownFactor_ = FactorText(entry_.factor);
    factor_->setText(shownFactor_);
}

bool UnitDialog::ReadFactor() {
    // The text as shown holds six digits only: an untouched field keeps the
    // factor with all of its digits.
    if (factor_->text() == shownFactor_) return true;
    const std::optional<double> value = ParseFactorText(factor_->text());
    if (!value) {
        Services::Prompter().Beep();
        factor_->setFocus();
        ShowFactor();
        return false;
    }
    // Keep huge values finite as a float so the clamp can bring them back; a
    // positive value too small for a float reads as 0, which OK refuses.
    entry_.factor = *value >= kFactorCeiling ? kFactorCeiling : static_cast<float>(*value);
    if (*value > 0.0 && !IsStorableFactor(*value)) entry_.factor = 0.0f;
    return true;
}

void UnitDialog::StepFactor(int steps) {
    ReadFactor();
    float factor = entry_.factor + kFactorStep * static_cast<float>(steps);
    if (factor >= kFactorCeiling) factor = kFactorCeiling;
    if (factor <= 0.0f) factor = 0.0f;
    entry_.factor = factor;
    ShowFactor();
}

void UnitDialog::WheelFactor(int angleDelta) {
    if (!ReadFactor()) return;
    entry_.factor = ClampFactor(entry_.factor + static_cast<float>(NumberSpin::Notches(angleDelta)));
    ShowFactor();
}

void UnitDialog::FinishFactorEdit() {
    if (!ReadFactor()) return;
    // A factor that cannot be stored stays as typed, for OK to refuse it.
    if (!IsStorableFactor(entry_.factor)) return;
    entry_.factor = ClampFactor(entry_.factor);
    ShowFactor();
}

bool UnitDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == factor_ && event->type() == QEvent::FocusOut && isVisible()) FinishFactorEdit();
    return QDialog::eventFilter(watched, event);
}

void UnitDialog::accept() {
    if (!ReadFactor()) return;
    const std::string name = name_->text().toStdString();
    if (name.empty()) {
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("The unit name is empty!!!"));
        return;
    }
    // Names that differ only by blanks, points or commas at their ends are
    // the same unit name; case matters.
    const auto& byName = cache_.UnitIdsByName();
    const auto found = byName.find(UnitNameKey(name));
    if (found != byName.end() && found->second != entry_.id) {
        Services::Prompter().Error(this, kDesktopCaption, QStringLiteral("The unit name must be unique !"));
        return;
    }
    entry_.name = name;  // stored as typed, untrimmed

    const int basePosition = base_->currentIndex();
    if (basePosition > 0 && !IsStorableFactor(entry_.factor)) {
        Services::Prompter().Error(this, kDesktopCaption, kUnstorableFactor);
        factor_->setFocus();
        factor_->selectAll();
        return;
    }
    entry_.factor = ClampFactor(entry_.factor);
    if (basePosition <= 0) {
        entry_.baseUnit = 0;
        entry_.factor = 1.0f;
    } else {
        entry_.baseUnit = cache_.UnitNames().IdAt(basePosition - 1);
    }

    const int categoryPosition = category_->currentIndex();
    if (categoryPosition >= 0 && categoryPosition < static_cast<int>(categoryByPosition_.size())) {
        entry_.category = categoryByPosition_[static_cast<std::size_t>(categoryPosition)];
    }
    // The edit loses the focus as the dialog closes; let it read back what
    // was decided here.
    ShowFactor();
    QDialog::accept();
}

}  // namespace orv
