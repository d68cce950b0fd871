#include "export/workbook/TypedInput.h"

#include <charconv>
#include <cmath>

namespace orv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view upper) {
    if (a.size() != upper.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

// [+-]digits[.digits][(e|E)[+-]digits], at least one digit in the mantissa.
std::optional<double> ParseDecimal(std::string_view s) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    const std::size_t start = pos;
    std::size_t digits = 0;
    while (pos < s.size() && IsDigit(s[pos])) ++pos, ++digits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && IsDigit(s[pos])) ++pos, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
        std::size_t expDigits = 0;
        while (pos < s.size() && IsDigit(s[pos])) ++pos, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(s.data() + start, s.data() + s.size(), value);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
    return negative ? -value : value;
}

// Reads 1 to maxDigits digits.
bool ReadNumber(std::string_view s, std::size_t& pos, int maxDigits, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && IsDigit(s[pos]) && static_cast<int>(pos - start) < maxDigits) {
        value = value * 10 + (s[pos++] - '0');
    }
    return pos > start && (pos == s.size() || !IsDigit(s[pos]));
}

// H:M or H:M:S with H < 24, M < 60, S < 60; fraction of a day.
std::optional<double> ParseTime(std::string_view s) {
    std::size_t pos = 0;
    int h = 0, m = 0, sec = 0;
    if (!ReadNumber(s, pos, 2, h) || pos >= s.size() || s[pos++] != ':') return std::nullopt;
    if (!ReadNumber(s, pos, 2, m)) return std::nullopt;
    if (pos < s.size()) {
        if (s[pos++] != ':' || !ReadNumber(s, pos, 2, sec) || pos != s.size()) return std::nullopt;
    }
    if (h > 23 || m > 59 || sec > 59) return std::nullopt;
    return (h * 3600.0 + m * 60.0 + sec) / 86400.0;
}

// M/D/Y with an optional time after one or more spaces.
std::optional<double> ParseDate(std::string_view s, bool* withTime) {
    std::size_t pos = 0;
    int month = 0, day = 0, year = 0;
    if (!ReadNumber(s, pos, 2, month) || pos >= s.size() || s[pos++] != '/') return std::nullopt;
    if (!ReadNumber(s, pos, 2, day) || pos >= s.size() || s[pos++] != '/') return std::nullopt;
    const std::size_t yearStart = pos;
    if (!ReadNumber(s, pos, 4, year)) return std::nullopt;
    const std::size_t yearDigits = pos - yearStart;
    if (yearDigits == 3) return std::nullopt;
    if (yearDigits <= 2) year += year < 30 ? 2000 : 1900;
    const auto serial = DateSerial(year, month, day);
    if (!serial) return std::nullopt;
    *withTime = false;
    if (pos == s.size()) return *serial;
    if (s[pos] != ' ') return std::nullopt;
    while (pos < s.size() && s[pos] == ' ') ++pos;
    const auto time = ParseTime(s.substr(pos));
    if (!time) return std::nullopt;
    *withTime = true;
    return *serial + *time;
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

std::optional<int> DateSerial(int year, int month, int day) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    if (year == 1900 && month == 2 && day == 29) return 60;  // the 1900 leap-year rule of spreadsheets
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > monthDays) return std::nullopt;
    long long serial = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 31);
    if (serial >= 60) ++serial;  // every day from 1900-03-01 on counts the phantom 1900-02-29
    return static_cast<int>(serial);
}

std::optional<std::string> FormatNumber(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (value == 0) return std::string("0");  // also turns -0 into 0
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::optional<std::string> FormatNumber(float value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (value == 0) return std::string("0");
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

TypedInput InterpretTypedInput(std::string_view text) {
    TypedInput input;
    if (text.size() > 1 && text.front() == '=') {
        input.kind = TypedInput::Kind::Formula;
        input.value.assign(text.substr(1));
        return input;
    }
    if (!text.empty() && text.front() == '\'') {
        input.value.assign(text.substr(1));
        return input;
    }
    const std::string_view trimmed = Trim(text);
    if (const auto number = ParseDecimal(trimmed); number && std::isfinite(*number)) {
        input.kind = TypedInput::Kind::Number;
        input.value = *FormatNumber(*number);
        return input;
    }
    bool withTime = false;
    if (const auto date = ParseDate(trimmed, &withTime)) {
        input.kind = TypedInput::Kind::Number;
        input.value = *FormatNumber(*date);
        input.numberFormat = withTime ? 22 : 14;
        return input;
    }
    if (const auto time = ParseTime(trimmed)) {
        input.kind = TypedInput::Kind::Number;
        input.value = *FormatNumber(*time);
        input.numberFormat = 21;
        return input;
    }
    if (EqualsIgnoreAsciiCase(trimmed, "TRUE") || EqualsIgnoreAsciiCase(trimmed, "FALSE")) {
        input.kind = TypedInput::Kind::Boolean;
        input.value = (trimmed.size() == 4) ? "1" : "0";
        return input;
    }
    input.value.assign(text);
    return input;
}

}  // namespace orv
