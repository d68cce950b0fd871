#pragma once
// Short texts for measured amounts and the steps of a value axis.
//
// Amounts below 10000 in magnitude are rounded half away from zero to five
// decimals before they are shown; trailing zeros and a bare decimal point are
// then removed, either keeping the text's width (right-aligned labels) or
// cutting the text. Axis steps come from a fixed 1-2-5 series.
//
// All formatting here is locale-independent: a user locale with a decimal
// comma never changes the digits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// The 1-2-5 axis steps, descending, positions 0 to 33.
inline constexpr std::array<double, 34> NiceStepSeries = {
    1000000, 500000, 200000, 100000, 50000,  20000,  10000,  5000,    2000,    1000,   500,  200,
    100,     50,     20,     10,     5,      2,      1,      0.5,     0.2,     0.1,    0.05, 0.02,
    0.01,    0.005,  0.002,  0.001,  0.0005, 0.0002, 0.0001, 0.00005, 0.00002, 0.00001};

// s * floor(s * x + 0.5) with s = -1 for negative x, else 1: 2.5 -> 3,
// -2.5 -> -3. Results outside the int32 range saturate; NaN gives 0.
int32_t RoundHalfAway(double x);

// Rounds half away from zero to five decimals when |x| < 10000; larger
// magnitudes (and NaN) are returned unchanged.
double RoundToFiveDecimals(double x);

// Only for texts containing '.': trailing zeros and then a bare '.' are
// removed and the rest is moved right so the text keeps its length; a text
// that ends up blank at the right gets a final "0". "5.600000" becomes
// "     5.6", ".000" becomes "   0".
void TrimZerosPadded(std::string& text);

// Only for texts containing '.': trailing zeros and then a bare '.' are cut
// off. "5.600000" becomes "5.6", "0.000000" becomes "0".
void TrimZerosCut(std::string& text);

// The smallest series value not below x for 0.00001 < x <= 1000000,
// 1000000 above that, and 1.0 for x <= 0.00001 (zero, negatives, NaN).
double NiceStep(double x);

// As NiceStep, restricted to the whole series values: the smallest whole
// series value not below x for 1 < x <= 1000000, 1000000 above, 1.0 for x <= 1.
double NiceStepWhole(double x);

// "   <name> was <value>", the value as "%0.6f" of RoundToFiveDecimals(value)
// passed through TrimZerosPadded (so it keeps its leading blanks).
std::string ChartValueText(double value, std::string_view targetName);

// printf's "%0.<decimals>f" without the locale: "%0.5f" is FixedText(v, 5).
// Decimals are clamped to 0..20.
std::string FixedText(double value, int decimals);

}  // namespace orv
