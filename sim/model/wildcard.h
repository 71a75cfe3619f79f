// The CAD host's wildcard patterns for selection filters, matched without regard to
// letter case:
//   *  any run of characters, also none     ?  any one character
//   #  one digit                             @  one letter
//   .  one character that is not a letter or digit
//   [abc], [a-z], [~abc]  one character of (not of) the set
//   `x  the character x itself               ,  separates alternatives
//   ~  at the start of an alternative: whatever that alternative does not match
#pragma once

#include <string_view>

namespace sim {

bool wildcardMatch(std::wstring_view pattern, std::wstring_view text);

}  // namespace sim
