// Names typed into the command field looked up in a string list.
#include "Other/ToolListText.h"

#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"

#include <algorithm>
#include <string>

namespace {

char FoldLetter(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

Boolean TextContainsIgnoringCase(std::string_view text, std::string_view word) {
    if (word.empty()) return true;
    auto same = [](char a, char b) { return FoldLetter(a) == FoldLetter(b); };
    return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

Boolean FindListItemInText(std::string_view text, SInt16 listId, Float64* index) {
    for (int n = 1; n <= 32767; ++n) {
        Str255 item;
        GetIndString(item, listId, SInt16(n));
        if (item[0] == 0) return false;
        const std::string utf8 = PStrToUTF8(item);
        if (TextContainsIgnoringCase(text, utf8)) {
            if (index != nullptr) *index = n;
            return true;
        }
    }
    return false;
}
