#pragma once

// What a user probably meant by a name that is not there: the closest of
// the names that are, for the "did you mean" of a not-found message.
//
//   fail("No part named \"" + wanted + "\" in library L" + didYouMean(wanted, names));

#include <string>
#include <vector>

namespace partlib {

// At most three of `candidates`, closest first: the same name in another
// case or with other blanks, a stored "FILE:NAME" whose NAME it is, then
// names a few edits away (more for a longer name). None when nothing is
// close.
std::vector<std::string> closestNames(const std::string &wanted, const std::vector<std::string> &candidates);

// "; did you mean \"A\", \"B\" or \"C\"?" for the closest names, or empty.
std::string didYouMean(const std::string &wanted, const std::vector<std::string> &candidates);

} // namespace partlib
