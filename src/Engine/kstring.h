#pragma once

#include <string>

// The program's text type: the standard narrow string (UTF-8) with a few text operations
// that the service code needs. Every constructor copies up to the first NUL character.
class kstring : public std::string
{
public:
    kstring() = default;
    kstring(const kstring &other);
    kstring(kstring &&other) noexcept = default;
    kstring(const std::string &text);
    kstring(const std::wstring &text);
    kstring(const char *text);
    ~kstring() = default;

    kstring &operator=(const kstring &other) = default;
    kstring &operator=(kstring &&other) noexcept = default;
    kstring &operator=(const char *text);
    kstring operator+(const char *text) const;

    // Token number `index` (from 1) between occurrences of `separator`; empty for index <= 0.
    kstring token(kstring separator, int index) const;
    // `first` = token 1, `second` = token 2.
    void split(kstring separator, kstring &first, kstring &second) const;
    // Characters `first` to `last`, both included; a length beyond the end, or a negative one,
    // runs to the end. `first` beyond the length raises std::out_of_range.
    kstring part(int first, int last) const;
    // Removes every occurrence, searching again from the start after each; returns the count.
    int cut(const kstring &pattern);
    // Replaces left to right, never searching inserted text again; returns the count.
    int replaceSubstr(const kstring &what, const kstring &with);
};

// Appends one code point as UTF-8 (1 to 4 bytes); the caller passes a valid code point.
void appendUtf8(std::string &out, char32_t codePoint);
