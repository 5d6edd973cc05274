// What the fuzz targets share: the input as text, as UTF-16 units, and
// the rule that a reader's only way to refuse its input is HostError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/errors.h"

namespace vxfuzz {

inline std::string text_of(const uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The input read as little-endian UTF-16 units; an odd last byte is dropped.
inline std::u16string units_of(const uint8_t* data, std::size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

// A property of the reader that does not hold: a finding.
[[noreturn]] inline void broken(const char* what)
{
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

// Runs a reader on the input. A HostError is how it says "malformed";
// any other exception escapes to libFuzzer, which reports it as a crash.
template <class Read>
void read_or_refuse(Read read)
{
    try {
        read();
    } catch (const vxhost::HostError&) {
    }
}

}  // namespace vxfuzz
