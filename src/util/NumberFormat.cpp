#include "util/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orv {
namespace {

// Step 1 of both trims: walks back from the end over zeros and at most one
// '.', blanking them. Returns how many characters were blanked.
std::size_t BlankTrailingZeros(std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = text.size(); i > 0; --i) {
        char& c = text[i - 1];
        if (c == '0') {
            c = ' ';
            ++count;
        } else if (c == '.') {
            c = ' ';
            ++count;
            break;
        } else {
            break;
        }
    }
    return count;
}

}  // namespace

int32_t RoundHalfAway(double x) {
    if (std::isnan(x)) return 0;
    const double s = x < 0 ? -1.0 : 1.0;
    const double r = s * std::floor(s * x + 0.5);
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

double RoundToFiveDecimals(double x) {
    // Below 10000 the product stays inside the int32 range.
    if (std::fabs(x) < 10000.0) return RoundHalfAway(x * 100000.0) / 100000.0;
    return x;
}

void TrimZerosPadded(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    const std::size_t count = BlankTrailingZeros(text);
    if (count > 0) {
        const std::size_t kept = text.size() - count;
        // Move the kept characters right by `count`, from the back.
        for (std::size_t i = kept; i > 0; --i) text[i - 1 + count] = text[i - 1];
        for (std::size_t i = 0; i < count && i < text.size(); ++i) text[i] = ' ';
    }
    if (!text.empty() && text.back() == ' ') text.back() = '0';
}

void TrimZerosCut(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    const std::size_t count = BlankTrailingZeros(text);
    text.resize(text.size() - count);
}

double NiceStep(double x) {
    for (std::size_t i = 1; i < NiceStepSeries.size(); ++i) {
        if (x > NiceStepSeries[i]) return NiceStepSeries[i - 1];
    }
    return 1.0;
}

double NiceStepWhole(double x) {
    for (std::size_t i = 1; i < NiceStepSeries.size(); ++i) {
        if (NiceStepSeries[i] < 1.0) break;
        if (x > NiceStepSeries[i]) return NiceStepSeries[i - 1];
    }
    return 1.0;
}

std::string ChartValueText(double value, std::string_view targetName) {
    std::string number = FixedText(RoundToFiveDecimals(value), 6);
    TrimZerosPadded(number);
    std::string text = "   ";
    text.append(targetName);
    text += " was ";
    text += number;
    return text;
}

std::string FixedText(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 20) decimals = 20;
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // The largest double has 309 integer digits.
    char buf[340];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return {};
    return std::string(buf, res.ptr);
}

}  // namespace orv
