#include "export/ExcelAutomation.h"

#include "export/workbook/Workbook.h"

namespace orv {
namespace {

AutomationLogHook& LogHook() {
    static AutomationLogHook hook;
    return hook;
}

constexpr const char* kOpenError = "ORV Conduit warning: Excel open worksheet error";
constexpr const char* kSelectError = "ORV Conduit warning: Excel set worksheet error";
constexpr const char* kCopyError = "ORV Conduit warning: Excel copy worksheet error";
constexpr const char* kCellError = "ORV Conduit warning: Excel worksheet RC error";
constexpr const char* kFloatCellError = "ORV Conduit warning: Excel worksheet RC float error";
constexpr const char* kSaveError = "ORV Conduit warning: Cannot save workbook";

}  // namespace

void SetAutomationLogHook(AutomationLogHook hook) { LogHook() = std::move(hook); }

ExcelAutomation::ExcelAutomation() : workbook_(std::make_unique<Workbook>()) {}

ExcelAutomation::~ExcelAutomation() = default;

void ExcelAutomation::Fail(const char* text, std::string diagnostic) {
    diagnostic_ = std::move(diagnostic);
    if (LogHook()) LogHook()(text);
}

int32_t ExcelAutomation::Open(const std::string& path) {
    std::string diag;
    if (workbook_->Open(path, false, &diag) != kWorkbookOk) {
        Fail(kOpenError, diag);
        return -1;
    }
    currentRow = 1;
    return 0;
}

int32_t ExcelAutomation::SelectWorksheet(int32_t index, std::string* name) {
    std::string diag;
    if (workbook_->SelectSheet(index, &diag) != kWorkbookOk) {
        Fail(kSelectError, diag);
        return -1;
    }
    if (name) *name = workbook_->SheetName();
    return 0;
}

int32_t ExcelAutomation::Save() {
    std::string diag;
    if (workbook_->Save(&diag) != kWorkbookOk) {
        Fail(kSaveError, diag);
        return -1;
    }
    return 0;
}

int32_t ExcelAutomation::Close() {
    if (!workbook_->IsOpen()) return 0;
    std::string diag;
    if (workbook_->Close(true, &diag) != kWorkbookOk) {
        Fail(kSaveError, diag);
        // The file stays as last saved; let go of the workbook regardless.
        workbook_->Close(false);
        return -1;
    }
    return 0;
}

void ExcelAutomation::WriteText(int32_t row, int32_t column, const std::string& text) {
    std::string diag;
    if (workbook_->SetText(row, column, text, &diag) != kWorkbookOk) Fail(kCellError, diag);
}

void ExcelAutomation::WriteLiteral(int32_t row, int32_t column, const std::string& text) {
    std::string diag;
    if (workbook_->SetLiteralText(row, column, text, &diag) != kWorkbookOk) Fail(kCellError, diag);
}

void ExcelAutomation::WriteNumber(int32_t row, int32_t column, float value) {
    std::string diag;
    if (workbook_->SetNumber(row, column, value, &diag) != kWorkbookOk) Fail(kFloatCellError, diag);
}

void ExcelAutomation::WriteWholeNumber(int32_t column, int32_t value) {
    std::string diag;
    workbook_->SetCurrentRow(currentRow);
    if (workbook_->SetWholeNumber(column, value, &diag) != kWorkbookOk) Fail(kCellError, diag);
}

int32_t ExcelAutomation::CopyRows(int32_t first, int32_t count, int32_t destination, int32_t repeat) {
    std::string diag;
    const int next = workbook_->CopyRows(first, count, destination, repeat, &diag);
    if (next <= 0) {
        Fail(kCopyError, diag);
        return destination;
    }
    return next;
}

int32_t ExcelAutomation::DeleteRows(int32_t first, int32_t count) {
    std::string diag;
    if (workbook_->DeleteRows(first, count, &diag) != kWorkbookOk) {
        Fail(kCopyError, diag);
        return -1;
    }
    return 0;
}

}  // namespace orv
