#include "host/cli/ReportCommand.h"

#include <QFileInfo>

#include "data/RecordCache.h"
#include "platform/Clock.h"
#include "platform/QtKeyValueStore.h"
#include "platform/Services.h"
#include "report/PrintLayout.h"
#include "report/ReportJobs.h"
#include "report/ReportText.h"
#include "settings/ViewSettings.h"
#include "ui/tables/TablesReport.h"

namespace orv::host {
namespace {

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

std::optional<PeriodChoice> ChoiceOfDays(int days) {
    for (std::size_t i = 0; i < kPeriodChoices.size(); ++i)
        if (kPeriodChoices[i].days == days) return static_cast<PeriodChoice>(i);
    return std::nullopt;
}

int32_t TargetNamed(const RecordCache& cache, const std::string& name) {
    for (const int32_t id : cache.TargetNames().Ids()) {
        const TargetRecord* target = cache.FindTarget(id);
        if (target && target->name == name) return id;
    }
    return 0;
}

}  // namespace

bool WriteTablesReport(HostDatabase& db, const ReportRequest& request, QString* error) {
    const QString suffix = QFileInfo(request.out).suffix().toLower();
    if (suffix != QLatin1String("html") && suffix != QLatin1String("pdf"))
        return Fail(error, QStringLiteral("the report file must end in .html or .pdf: %1").arg(request.out));

    RecordCache cache;
    cache.LoadUnits(&db);
    cache.LoadTargets(&db);
    cache.LoadTargetNames(&db);
    cache.LoadGroups(&db);
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    ViewSettings stored;
    stored.Load(&db);

    PeriodChoice choice =
        stored.tables.period >= 0 && stored.tables.period < static_cast<int32_t>(kPeriodChoices.size())
            ? stored.tables.period
            : kPeriod7Days;
    if (request.periodDays) {
        const auto chosen = ChoiceOfDays(*request.periodDays);
        if (!chosen) return Fail(error, QStringLiteral("the period is 7, 15, 30, 60 or 120 days"));
        choice = *chosen;
    }

    int32_t targetId = 0;
    if (!request.target.isEmpty()) {
        targetId = TargetNamed(cache, request.target.toStdString());
        if (targetId == 0) return Fail(error, QStringLiteral("no target named \"%1\"").arg(request.target));
    } else if (cache.FindTarget(stored.tables.targetId)) {
        targetId = stored.tables.targetId;
    } else if (!cache.TargetNames().empty()) {
        targetId = cache.TargetNames().IdAt(0);
    }

    const QDateTime now = Services::Clock().Now();
    const auto content =
        TablesReportFor(cache, &db, targetId, choice, ToHostDateTime(now.date().startOfDay()), request.details);
    if (!content) return Fail(error, QStringLiteral("the database has no target to report on"));
    const std::string html = BuildReportText(*content, ToHostDateTime(now));

    if (suffix == QLatin1String("html")) {
        if (WriteReportFile(html, request.out.toStdString()) != 0)
            return Fail(error, QStringLiteral("cannot write %1").arg(request.out));
        return true;
    }
    QtKeyValueStore store;
    return print::WriteReportPdf(QString::fromStdString(html), request.out, print::ReadPageSetup(store),
                                 print::BandValuesFor(QString(), request.out, now), {}, error);
}

}  // namespace orv::host
