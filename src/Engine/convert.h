#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Strict conversions for every text read "as a number": the whole text must be the number.
// Anything else raises EConvertError with a message naming the text.

// Optional sign and decimal digits only, within the 32-bit range.
int toInt(std::string_view text);
// Optional sign and decimal digits only, within the 64-bit range.
std::int64_t toInt64(std::string_view text);
// A decimal number with optional sign, fraction and exponent ("1.5", "-2e3").
double toDouble(std::string_view text);

// The general floating format with 15 significant digits: fixed notation without trailing
// zeros when the value has at most 15 digits before the point and is not smaller in magnitude
// than 0.00001 (3.0 gives "3", 2.5 gives "2.5"), scientific otherwise ("1E20", "1.5E-6").
std::string floatToStr(double value);
