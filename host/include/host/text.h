// Text helpers: the add-in speaks UTF-16, the host keeps UTF-8.
#pragma once

#include <string>

namespace vxhost {

// Conversions between UTF-8 and UTF-16. Broken sequences become U+FFFD so
// that journaling an add-in's garbage never throws.
std::string to_utf8(const std::u16string& text);
std::u16string to_utf16(const std::string& text);

// A NUL-ended wide text read at most `limit` units far; stops at the limit
// when there is no terminator, so a bad buffer is never overrun.
std::u16string wide_text(const char16_t* text, std::size_t limit);

// Comparison ignoring case the way Windows file names do (ASCII, Latin-1,
// Greek and Cyrillic letters).
bool equal_nocase(const std::u16string& a, const std::u16string& b);
bool equal_nocase(const std::string& a, const std::string& b);

// The text with every letter in the one case that equal_nocase compares in:
// a key under which names equal ignoring case meet.
std::u16string fold_case(std::u16string text);

// Whether `text` fits `pattern` the way Windows file filters do: `*` any
// run of units, `?` any one unit, everything else equal ignoring case.
bool wildcard_match_nocase(const std::u16string& pattern, const std::u16string& text);

std::string upper_ascii(std::string text);

// "1:05:00": the hours, minutes and seconds of a time in milliseconds.
std::string clock_text(long long milliseconds);
std::string trim(const std::string& text);

}  // namespace vxhost
