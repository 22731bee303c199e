// Names given as alternatives, longest first, one per line: "Tonewerks +vectorgram\n+vectorgram\n+vgm".
#pragma once

#include <string>
#include <string_view>

// The name for a field of at most maxLength characters: the first alternative that fits, else the last
// one cut to maxLength. Empty lines are no alternatives (a list may end in a newline). Nothing fits a
// length of 0 or below.
std::string pickMultiLengthName(std::string_view names, int maxLength);
