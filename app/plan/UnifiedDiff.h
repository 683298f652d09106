#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app::plan {

// The lines that differ between two versions of a text file, as a unified
// diff that patch and every diff viewer read: "--- old", "+++ new", then
// hunks "@@ -a,b +c,d @@" of " " (kept), "-" (removed) and "+" (added)
// lines with three lines of context. Nothing when the lines are equal.
//
// The differing middle of the two files is matched line by line when it is
// small enough to match quickly (one entry of a large tnsnames.ora); past
// that it is shown as removed and added whole, which is still a correct
// diff, only a longer one.
std::vector<std::string> UnifiedDiff(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                     std::string_view beforeName, std::string_view afterName);

}  // namespace app::plan
