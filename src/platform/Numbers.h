#pragma once
// Number rules of the game: halves round to the even integer, integer
// division and remainder round their operands first, and numbers turn into
// text in their shortest plain decimal form.
#include <QString>
#include <cmath>
#include <cstdint>

namespace num {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Values
// beyond the integer range saturate and NaN gives 0, so a damaged number
// from a file never makes the conversion undefined.
inline long long RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9.2e18) return INT64_MAX;
    if (v <= -9.2e18) return INT64_MIN;
    return static_cast<long long>(std::nearbyint(v));  // default FE_TONEAREST
}

// Integer division `\`: both operands rounded first, then truncated toward zero.
inline long long IntDiv(double a, double b) {
    const long long x = RoundHalfEven(a), y = RoundHalfEven(b);
    return y == 0 ? 0 : x / y;
}

// Remainder `mod`: operands rounded first; the sign follows the dividend.
inline long long Mod(double a, double b) {
    const long long x = RoundHalfEven(a), y = RoundHalfEven(b);
    return y == 0 ? 0 : x % y;
}

// A stored 16-bit value: rounded, then clamped into the signed 16-bit range.
inline int16_t ToInt16Clamped(double v) {
    const long long r = RoundHalfEven(v);
    if (r > INT16_MAX) return INT16_MAX;
    if (r < INT16_MIN) return INT16_MIN;
    return static_cast<int16_t>(r);
}

// Plain decimal text without leading blank: 9550 -> "9550", -120 -> "-120",
// 11885.5 -> "11885.5". Single-precision values keep seven significant digits.
QString Text(double v);

// Reads a number the way the settings files do: leading and trailing blanks
// skipped, the whole rest must be a decimal number. Returns false otherwise.
bool Parse(const QString& text, double* out);

}  // namespace num
