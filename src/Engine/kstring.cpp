#include "Engine/kstring.h"

#include <stdexcept>

namespace {

std::string upToNul(const std::string &text)
{
    return text.substr(0, text.find('\0'));
}

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both become UTF-8. A character that
// cannot be represented (a lone surrogate, a value past U+10FFFF) becomes '?'.
std::string wideToUtf8(const std::wstring &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size() && text[i] != L'\0'; ++i) {
        char32_t c = char32_t(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                char32_t low = char32_t(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        if (isSurrogate(c) || c > 0x10FFFF)
            out += '?';
        else
            appendUtf8(out, c);
    }
    return out;
}

} // namespace

kstring::kstring(const kstring &other) : std::string(upToNul(other)) {}

kstring::kstring(const std::string &text) : std::string(upToNul(text)) {}

kstring::kstring(const std::wstring &text) : std::string(wideToUtf8(text)) {}

kstring::kstring(const char *text) : std::string(text ? text : "") {}

kstring &kstring::operator=(const char *text)
{
    assign(text ? text : "");
    return *this;
}

kstring kstring::operator+(const char *text) const
{
    kstring result(*this);
    result.append(text ? text : "");
    return result;
}

kstring kstring::token(kstring separator, int index) const
{
    if (separator.empty() || index <= 0)
        return {};
    const std::string s = separator + *this;
    size_type start = 0;
    size_type end = 0;
    for (int i = 0; i < index; ++i) {
        if (end == npos)
            return {};
        start = end + separator.size();
        end = s.find(separator, start);
    }
    if (start > s.size())
        return {};
    return s.substr(start, end == npos ? npos : end - start);
}

void kstring::split(kstring separator, kstring &first, kstring &second) const
{
    first = token(separator, 1);
    second = token(separator, 2);
}

kstring kstring::part(int first, int last) const
{
    if (first < 0 || size_type(first) > size())
        throw std::out_of_range("kstring::part: position out of range");
    // The length is an unsigned count: a negative one means "to the end".
    const auto length = size_type(static_cast<long long>(last) - first + 1);
    return substr(size_type(first), length);
}

int kstring::cut(const kstring &pattern)
{
    if (pattern.empty())
        return 0;
    int removals = 0;
    for (size_type at = find(pattern); at != npos; at = find(pattern)) {
        erase(at, pattern.size());
        ++removals;
    }
    return removals;
}

int kstring::replaceSubstr(const kstring &what, const kstring &with)
{
    if (what.empty())
        return 0;
    int replacements = 0;
    for (size_type at = find(what); at != npos; at = find(what, at + with.size())) {
        replace(at, what.size(), with);
        ++replacements;
    }
    return replacements;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}
