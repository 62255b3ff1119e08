#include "Engine/convert.h"

#include "Engine/errors.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

[[noreturn]] void notA(const char *what, std::string_view text)
{
    throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

template<typename T>
T parseInteger(std::string_view text, const char *what)
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
    std::string signedText = negative ? "-" + std::string(digits) : std::string(digits);
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
    if (!body.empty() && body.front() == '+')
        body.remove_prefix(1);
    if (body.empty() || body.front() == '+' || body.front() == ' ')
        notA("floating point value", text);
    double value = 0;
    const char *end = body.data() + body.size();
    auto [ptr, ec] = std::from_chars(body.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        notA("floating point value", text);
    return value;
}
