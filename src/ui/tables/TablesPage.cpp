#include "ui/tables/TablesPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "data/RecordCache.h"
#include "report/ReportJobs.h"
#include "settings/ViewSettings.h"
#include "ui/PageStyle.h"
#include "ui/controls/Grid.h"
#include "ui/tables/TablesReport.h"
#include "util/DateText.h"
#include "util/NumberFormat.h"
#include "util/SlotScheme.h"

namespace orv {
namespace {

constexpr int kNarrowTotalsWidth = 190;

QString Column(const char* title) { return QString::fromLatin1(title); }

}  // namespace

TablesPage::TablesPage(const PageContext& context, QWidget* parent)
    : PeriodPage(context, &ViewSettings::tables, parent) {
    setObjectName(QStringLiteral("TablesPage"));
}

void TablesPage::LoadCacheParts() {
    cache_.LoadUnits(&db_);
    cache_.LoadTargets(&db_);
    cache_.LoadTargetNames(&db_);
    cache_.LoadGroups(&db_);
    cache_.LoadItems(&db_);
    cache_.LoadValues(&db_);
}

void TablesPage::CreateContent() {
    if (HasContent()) return;
    CreatePeriodRow();

    totalsGrid_ = new Grid(this);
    totalsGrid_->addColumn(Column(kDateColumn), 70);
    totalsGrid_->addColumn(Column(kValueColumn), 70);
    totalsGrid_->setAlternatingRowColors(kEvenRowColor, kOddRowColor);

    detailsGrid_ = new Grid(this);
    detailsGrid_->addColumn(Column(kDateColumn), 70);
    detailsGrid_->addColumn(Column(kTimeColumn), 70);
    detailsGrid_->addColumn(Column(kItemColumn), 100);
    detailsGrid_->addColumn(Column(kValueColumn), 70);
    detailsGrid_->addColumn(Column(kUnitColumn), 100);
    detailsGrid_->addColumn(Column(kNotesColumn), 100);
    detailsGrid_->addColumn(Column(kTargetValueColumn), 100);
    detailsGrid_->setAlternatingRowColors(kEvenRowColor, kOddRowColor);
    detailsGrid_->hide();

    statistics_ = new QLabel(this);
    showDetailsBox_ = new QCheckBox(QStringLiteral("Show Details"), this);
    mailButton_ = new QPushButton(QStringLiteral("Send e-mail"), this);
    printButton_ = new QPushButton(QStringLiteral("Print"), this);

    connect(showDetailsBox_, &QCheckBox::clicked, this, [this](bool checked) { SetShowDetails(checked); });
    connect(totalsGrid_, &Grid::currentRowChanged, this, &TablesPage::OnRowChosen);
    connect(totalsGrid_, &Grid::editRequested, this, &TablesPage::OnRowChosen);
    connect(printButton_, &QPushButton::clicked, this, &TablesPage::PrintReport);
    connect(mailButton_, &QPushButton::clicked, this, &TablesPage::SendReport);

    Apply(false);
    LayoutControls();
}

void TablesPage::ShowPeriod(PeriodChoice choice) {
    // No selection keeps the previous number of days.
    if (const std::optional<SlotScheme> scheme = SlotScheme::ForTables(choice)) dayCount_ = scheme->count();

    LoadCacheParts();
    const TargetRecord* target = cache_.FindTarget(SelectedTargetId());
    if (!target) return;  // nothing to show: the grids keep their rows
    totals_ = ComputeDailyTotals(cache_, &db_, target->id, Period().GetStart(), dayCount_);
    FillTotals();

    Caption()->setText(PageText(TablesHeading(cache_, PeriodBox()->currentText().toStdString(), *target)));
}

void TablesPage::FillTotals() {
    totalsGrid_->setRedraw(false);
    totalsGrid_->deleteAllRows();
    const SlotScheme scheme(kSecondsPerDay, totals_.Days());
    const HostDateTime start = Period().GetStart();
    for (int32_t day = totals_.Days() - 1; day >= 0; --day) {
        const int row = totalsGrid_->addRow();
        totalsGrid_->setRowNumber(row, day);
        const auto index = static_cast<std::size_t>(day);
        totalsGrid_->setCell(row, Column(kDateColumn),
                             PageText(FormatDateText(scheme.SlotStart(&db_, start, static_cast<uint32_t>(day)))));
        totalsGrid_->setCell(row, Column(kValueColumn), PageText(FixedText(totals_.totals[index], 5)));
    }
    totalsGrid_->setRedraw(true);
    statistics_->setText(PageText(totals_.StatisticsText()));
    FillDetails();
}

void TablesPage::FillDetails() {
    if (!detailsGrid_) return;
    detailsGrid_->setRedraw(false);
    detailsGrid_->deleteAllRows();
    const int row = totalsGrid_ ? totalsGrid_->currentRow() : -1;
    const int32_t day = row >= 0 ? totalsGrid_->rowNumber(row) : -1;
    if (day >= 0 && day < totals_.Days()) {
        for (const DailyDetail& entry : totals_.details[static_cast<std::size_t>(day)]) {
            const int line = detailsGrid_->addRow();
            const ItemRecord* item = cache_.FindItem(entry.itemId);
            const GroupRecord* group = cache_.FindGroup(entry.groupId);
            const UnitEntry* unit = group ? cache_.FindUnit(group->unitId) : nullptr;
            detailsGrid_->setCell(line, Column(kDateColumn), PageText(FormatDateText(entry.date)));
            detailsGrid_->setCell(line, Column(kTimeColumn), PageText(FormatTimeText(entry.date)));
            detailsGrid_->setCell(line, Column(kItemColumn), item ? PageText(item->name) : QString());
            detailsGrid_->setCell(line, Column(kValueColumn), PageText(FixedText(entry.value, 5)));
            detailsGrid_->setCell(line, Column(kUnitColumn), unit ? PageText(unit->name) : QString());
            detailsGrid_->setCell(line, Column(kNotesColumn), PageText(entry.notes));
            detailsGrid_->setCell(line, Column(kTargetValueColumn), PageText(FixedText(entry.product, 5)));
        }
    }
    detailsGrid_->setRedraw(true);
}

void TablesPage::SetShowDetails(bool on) {
    showDetails_ = on;
    if (showDetailsBox_) showDetailsBox_->setChecked(on);
    if (showDetails_) FillDetails();
    LayoutControls();
}

void TablesPage::OnRowChosen(int row) {
    if (row < 0) {
        FillDetails();
    } else if (!showDetails_) {
        SetShowDetails(true);
    } else {
        FillDetails();
    }
}

ReportContent TablesPage::ReportFigures() const {
    return BuildTablesReport(cache_, &db_, totals_, Period().GetStart(),
                             Caption() ? Caption()->text().toStdString() : std::string(), showDetails_);
}

void TablesPage::PrintReport() { orv::PrintReport(this, ReportFigures(), settings_.keyValueStore()); }

void TablesPage::SendReport() { MailReport(this, ReportFigures()); }

void TablesPage::LayoutContent(const QRect& client) {
    const int l = client.left();
    const int t = client.top();
    const int r = client.left() + client.width();
    const int b = client.top() + client.height();
    const int gridHeight = std::max(0, b - t - 92);
    if (showDetails_) {
        totalsGrid_->setGeometry(l + 10, t + 46, kNarrowTotalsWidth, gridHeight);
        detailsGrid_->setGeometry(l + 220, t + 46, std::max(0, r - l - 230), gridHeight);
        detailsGrid_->show();
    } else {
        totalsGrid_->setGeometry(l + 10, t + 46, std::max(0, r - l - 20), gridHeight);
        detailsGrid_->hide();
    }
    mailButton_->setGeometry(l + 10, b - 36, 100, kControlHeight);
    printButton_->setGeometry(l + 120, b - 36, 100, kControlHeight);
    statistics_->setGeometry(l + 230, b - 36, std::max(0, r - l - 350), kControlHeight);
    showDetailsBox_->setGeometry(r - 110, b - 36, 100, kControlHeight);
}

}  // namespace orv
