#pragma once

#include <string>
#include <string_view>
#include <vector>

// Lists of items in one text, as ODBC browse answers and sqlnet.ora values
// hold them: items end at the delimiter or at any character of code 32 or
// less, and an item opened with a double quote runs to the next lone
// double quote (two in a row stand for one).
namespace platform {

// Leading blanks and control characters are skipped, and so are those after
// each item and after each delimiter. Two delimiters in a row give an empty
// item between them; a delimiter at the very start or end gives an empty
// first or last item. A quoted item that is never closed runs to the end.
// The text ends at its first NUL character, as it would in the C APIs it
// comes from.
std::vector<std::string> SplitDelimited(std::string_view text, char delimiter);

// Joins with "," and no blanks. An item holding a character of code 32 or
// less, a comma or a double quote is quoted, its double quotes doubled; a
// list of one empty item is written as two double quotes, so that it
// splits back into one item.
std::string JoinCommaList(const std::vector<std::string>& items);

}  // namespace platform
