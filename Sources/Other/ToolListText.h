// Names typed into the command field looked up in a string list: the first item whose text the typed
// text contains, letters compared without regard to case.
#pragma once

#include "Platform/MacTypes.h"

#include <string_view>

// True when word occurs in text, the letters A to Z folded to lower case in both (every other byte,
// UTF-8 too, compared as it is). An empty word occurs in every text.
Boolean TextContainsIgnoringCase(std::string_view text, std::string_view word);
// Walks the items 1, 2, ... of the string list (each turned into UTF-8 from the system encoding) up
// to the first empty one; the first item that the UTF-8 text contains gives its number in *index and
// true. False, *index untouched, when none does.
Boolean FindListItemInText(std::string_view text, SInt16 listId, Float64* index);
