#pragma once
// Pieces shared by the command-line options of the headless modes.
#include <charconv>
#include <initializer_list>
#include <string>
#include <vector>

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

// Reads args[i] as one of the `known` options and args[i + 1] as its value, and moves i to the
// value. False with a one-line reason for an unknown option or a missing value.
bool takeOption(const std::vector<std::string>& args, std::size_t& i, std::initializer_list<const char*> known,
                std::string& option, std::string& value, std::string& error);

// "WxH" (or "WXH") with two positive numbers; the callers apply their own limits.
bool parseSize(const std::string& text, int& width, int& height);

// Arguments are echoed in messages; control characters come out escaped (\x0a) so a message stays
// one harmless line on any terminal.
std::string printable(const std::string& text);

}  // namespace smokedrift
