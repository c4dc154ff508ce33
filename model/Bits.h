// The bits of a double and back. libc++ 13 (the browser build's) has no
// std::bit_cast; a copy of the object representation is the same thing.
#pragma once

#include <cstdint>
#include <cstring>

inline std::uint64_t BitsOfDouble(double d)
{
    std::uint64_t n = 0;
    static_assert(sizeof n == sizeof d);
    std::memcpy(&n, &d, sizeof n);
    return n;
}

inline double DoubleOfBits(std::uint64_t n)
{
    double d = 0;
    std::memcpy(&d, &n, sizeof d);
    return d;
}
