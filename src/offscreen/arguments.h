#pragma once
// Pieces shared by the command-line options of the headless modes.
#include <charconv>
#include <string>

namespace smokedrift {

// The whole text as a number of type T, nothing more and nothing less (no sign for unsigned, no
// blanks, no overflow).
template <typename T>
bool parseNumber(const std::string& text, T& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// "WxH" (or "WXH") with two positive numbers; the callers apply their own limits.
bool parseSize(const std::string& text, int& width, int& height);

// Arguments are echoed in messages; control characters come out escaped (\x0a) so a message stays
// one harmless line on any terminal.
std::string printable(const std::string& text);

}  // namespace smokedrift
