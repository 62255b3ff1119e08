#pragma once

#include <cstdint>
#include <initializer_list>

namespace sim {

// A small, portable pseudo-random generator (splitmix64). The standard distributions differ
// between library implementations, so the world draws its numbers only through this.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}

    // An independent stream for one purpose, so adding draws in one place never shifts another.
    static Rng derived(std::uint64_t seed, std::initializer_list<std::uint64_t> parts)
    {
        Rng rng(seed);
        for (std::uint64_t part : parts)
            rng.state = rng.next() ^ (part * 0x9E3779B97F4A7C15ull);
        return rng;
    }

    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [low, high], both included.
    int range(int low, int high)
    {
        const auto span = std::uint64_t(std::int64_t(high) - low + 1);
        return int(std::int64_t(low) + std::int64_t(next() % span));
    }

    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) / double(1ull << 53); }

    bool chance(double probability) { return unit() < probability; }

private:
    std::uint64_t state;
};

} // namespace sim
