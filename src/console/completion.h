// Tab completion in the console's editor: the command word from the command chain, and a
// command's first argument from the words it offers (key names after "bind"). Only the last
// command of the line (after its last ";") is completed. Window thread only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tam {

// The words that could complete the last word of `line`'s last command, sorted and unique;
// compared in lower case. Empty when that word is past the first argument.
std::vector<std::string> CompletionCandidates(std::string_view line);

// Completes Con().inputLine: one candidate replaces the typed word and adds a space; several
// extend it to their common beginning, and when that adds nothing and `again` (the key before
// was Tab too) they are listed in the log.
void CompleteInputLine(bool again);

}  // namespace tam
