#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text helpers shared by every layer. All text is UTF-8.
namespace platform {

// Upper-cases the ASCII letters a to z only; every other byte is kept.
std::string AsciiUpper(std::string_view text);

// True when both texts are equal with ASCII letters compared without case.
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);

// Compares as the Windows registry and the wizard's name lookups do:
// letters of either case, Polish ones included, are equal. Returns <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  return CompareNoCase(a, b) == 0;
}

// A key under which texts that CompareNoCase finds equal are equal, for
// hashed lookups that must not scan a whole list.
std::u32string CaseKey(std::string_view text);

// Index of the first item equal to name without regard to case, or -1.
int IndexOfNoCase(const std::vector<std::string>& items, std::string_view name);

// Which bytes Trim takes off the ends of a text: what counts as a blank
// differs between the texts read. The answers file and .reg text know the
// space and the tab only; the Oracle files (as the Oracle client reads
// them), ODBC lists, server names and messages count every byte of code 32
// or less, line ends and other control characters included.
enum class Blanks { SpaceAndTab, SpaceAndControls };

inline bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// The text without the blanks at its start and at its end.
std::string_view Trim(std::string_view text, Blanks blanks);

// The value of a hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

// A text as one field of a line in a file of ours: "%", control characters
// (TAB and line ends among them), DEL and a blank at either end are written
// as %XX, so that any text round-trips and none breaks its line.
std::string EscapeField(std::string_view text);
// Nothing when a "%" is not followed by two hex digits.
std::optional<std::string> UnescapeField(std::string_view text);

// Replaces each "%s" of pattern, in turn, by the next argument.
std::string Format(std::string_view pattern, const std::vector<std::string>& args);

}  // namespace platform
