#pragma once

// What every fuzz target shares: the input as text, pieces of it, the document it parses into,
// and the rule that a reader's own errors are answers while anything else is a finding.

#include "Engine/errors.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::string_view text(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

// The pieces between NUL bytes: several inputs in one.
inline std::vector<std::string_view> pieces(std::string_view input)
{
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const std::size_t end = input.find('\0', start);
        out.push_back(input.substr(start, end - start));
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

// Parsed as the program parses a service answer; false for text that is not well-formed.
inline bool parse(pugi::xml_document &document, std::string_view input)
{
    return bool(document.load_buffer(input.data(), input.size()));
}

// A broken expectation: print it and abort, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

// Runs a reader: its own error classes are a proper answer to bad input; any other exception
// (a std::out_of_range from deep inside, say) leaves the target and is reported as a crash.
template <typename Work> bool readerAccepts(Work &&work)
{
    try {
        work();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

} // namespace fuzz
