// Item splitting and trimming shared by the address rule and the reply parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace relay {

// Splits `text` into items at `separator` ('.' or ','). CR and LF before an
// item are skipped; an item ends at the separator, CR, LF, a zero character or
// the end. A ' or " starts a quoted stretch in which only the same quote, a
// zero character or the end are noticed; quotes stay in the item. Empty items
// are dropped.
std::vector<std::string> SplitItems(std::string_view text, char separator);

// Removes every character with code 0..32 from both ends.
std::string TrimControl(std::string_view text);

}  // namespace relay
