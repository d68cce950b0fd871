#include "export/ExcelAutomation.h"

#include "export/workbook/Workbook.h"
#include "platform/Environment.h"
#include "platform/Services.h"

namespace orv {
namespace {

constexpr const char* kOpenError = "ORV Conduit warning: Excel open worksheet error";
constexpr const char* kSelectError = "ORV Conduit warning: Excel set worksheet error";
constexpr const char* kCopyError = "ORV Conduit warning: Excel copy worksheet error";
constexpr const char* kCellError = "ORV Conduit warning: Excel worksheet RC error";
constexpr const char* kFloatCellError = "ORV Conduit warning: Excel worksheet RC float error";
constexpr const char* kSaveError = "ORV Conduit warning: Cannot save workbook";

}  // namespace

ExcelAutomation::ExcelAutomation() : workbook_(std::make_unique<Workbook>()) {}

ExcelAutomation::~ExcelAutomation() = default;

void ExcelAutomation::Fail(const char* text, std::string diagnostic, int failure) {
    diagnostic_ = std::move(diagnostic);
    failure_ = failure;
    if (const auto& diagnostics = Services::Environment().diagnostics) diagnostics(text);
}

int32_t ExcelAutomation::Open(const std::string& path) {
    std::string diag;
    if (const int result = workbook_->Open(path, false, &diag); result != kWorkbookOk) {
        Fail(kOpenError, diag, result);
        return -1;
    }
    currentRow = 1;
    return 0;
}

int32_t ExcelAutomation::SelectWorksheet(int32_t index, std::string* name) {
    std::string diag;
    if (const int result = workbook_->SelectSheet(index, &diag); result != kWorkbookOk) {
        Fail(kSelectError, diag, result);
        return -1;
    }
    if (name) *name = workbook_->SheetName();
    return 0;
}

int32_t ExcelAutomation::Save() {
    std::string diag;
    if (const int result = workbook_->Save(&diag); result != kWorkbookOk) {
        Fail(kSaveError, diag, result);
        return -1;
    }
    return 0;
}

int32_t ExcelAutomation::Close() {
    if (!workbook_->IsOpen()) return 0;
    std::string diag;
    if (const int result = workbook_->Close(true, &diag); result != kWorkbookOk) {
        Fail(kSaveError, diag, result);
        // The file stays as last saved; let go of the workbook regardless.
        workbook_->Close(false);
        return -1;
    }
    return 0;
}

void ExcelAutomation::WriteText(int32_t row, int32_t column, const std::string& text) {
    std::string diag;
    if (const int result = workbook_->SetText(row, column, text, &diag); result != kWorkbookOk)
        Fail(kCellError, diag, result);
}

void ExcelAutomation::WriteLiteral(int32_t row, int32_t column, const std::string& text) {
    std::string diag;
    if (const int result = workbook_->SetLiteralText(row, column, text, &diag); result != kWorkbookOk)
        Fail(kCellError, diag, result);
}

void ExcelAutomation::WriteNumber(int32_t row, int32_t column, float value) {
    std::string diag;
    if (const int result = workbook_->SetNumber(row, column, value, &diag); result != kWorkbookOk)
        Fail(kFloatCellError, diag, result);
}

void ExcelAutomation::WriteFormula(int32_t row, int32_t column, const std::string& formula, double result) {
    std::string diag;
    const std::string_view body = formula.starts_with('=') ? std::string_view(formula).substr(1) : formula;
    if (const int code = workbook_->SetFormula(row, column, body, result, &diag); code != kWorkbookOk)
        Fail(kCellError, diag, code);
}

void ExcelAutomation::ReportOpenFailure(std::string diagnostic) {
    Fail(kOpenError, std::move(diagnostic), kWorkbookFileError);
}

void ExcelAutomation::WriteWholeNumber(int32_t column, int32_t value) {
    std::string diag;
    workbook_->SetCurrentRow(currentRow);
    if (const int result = workbook_->SetWholeNumber(column, value, &diag); result != kWorkbookOk)
        Fail(kCellError, diag, result);
}

int32_t ExcelAutomation::CopyRows(int32_t first, int32_t count, int32_t destination, int32_t repeat) {
    std::string diag;
    const int next = workbook_->CopyRows(first, count, destination, repeat, &diag);
    if (next <= 0) {
        Fail(kCopyError, diag, next);
        return destination;
    }
    return next;
}

int32_t ExcelAutomation::DeleteRows(int32_t first, int32_t count) {
    std::string diag;
    if (const int result = workbook_->DeleteRows(first, count, &diag); result != kWorkbookOk) {
        Fail(kCopyError, diag, result);
        return -1;
    }
    return 0;
}

}  // namespace orv
