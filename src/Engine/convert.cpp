#include "Engine/convert.h"

#include "Engine/errors.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Strings here grow by appending: GCC 12 flags a prefix put before a temporary string
// ("x" + std::string(...)) with a false -Wrestrict once it inlines the insert.
[[noreturn]] void notA(const char *what, std::string_view text)
{
    std::string message = "'";
    message.append(text).append("' is not a valid ").append(what);
    throw EConvertError(message);
}

template <typename T> T parseInteger(std::string_view text, const char *what)
{
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() == '+' || digits.front() == '-')
        notA(what, text);
    // from_chars takes a leading minus but no plus; parse the magnitude with the sign in front.
    std::string signedText = negative ? "-" : "";
    signedText.append(digits);
    T value{};
    const char *end = signedText.data() + signedText.size();
    auto [ptr, ec] = std::from_chars(signedText.data(), end, value);
    if (ec != std::errc() || ptr != end)
        notA(what, text);
    return value;
}

} // namespace

int toInt(std::string_view text)
{
    return parseInteger<int>(text, "integer value");
}

std::int64_t toInt64(std::string_view text)
{
    return parseInteger<std::int64_t>(text, "integer value");
}

double toDouble(std::string_view text)
{
    std::string_view body = text;
    const bool plus = !body.empty() && body.front() == '+';
    if (plus)
        body.remove_prefix(1);
    if (body.empty() || body.front() == '+' || (plus && body.front() == '-'))
        notA("floating point value", text);
    double value = 0;
    const char *end = body.data() + body.size();
    auto [ptr, ec] = std::from_chars(body.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        notA("floating point value", text);
    return value;
}

std::string floatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // d.dddddddddddddde±x: the 15 significant digits and the decimal exponent.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    std::string text(buffer);
    const auto ePos = text.find('e');
    const int exponent = std::stoi(text.substr(ePos + 1));
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            digits += text[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const std::string sign = value < 0 ? "-" : "";

    const bool fixed = exponent < 15 && std::fabs(value) >= 0.00001;
    if (!fixed) {
        std::string mantissa = digits.substr(0, 1);
        if (digits.size() > 1)
            mantissa.append(".").append(digits, 1);
        return sign + mantissa + "E" + std::to_string(exponent);
    }
    if (exponent < 0)
        return sign + "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    const std::size_t whole = std::size_t(exponent) + 1;
    if (digits.size() <= whole)
        return sign + digits + std::string(whole - digits.size(), '0');
    return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}
