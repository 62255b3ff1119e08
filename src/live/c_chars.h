#pragma once

// The C library's white space and digits in its "C" locale, whatever locale the program runs in:
// key numbers are read as atol reads them, and names are split at the same blanks.
inline bool isCBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool isCDigit(char c)
{
    return c >= '0' && c <= '9';
}
