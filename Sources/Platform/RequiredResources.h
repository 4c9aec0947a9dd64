// The application resources the program asks for through a named constant rather than a literal
// number; the resource test checks each is present. Literal uses in the code are found by the test.
#pragma once

#include "MacTypes.h"

struct RequiredResource {
    ResType type;
    SInt16 id;
    SInt16 item; // for string lists: the item that must not be empty; 0 for the list itself
};

extern const RequiredResource kRequiredResources[];
extern const int kRequiredResourceCount;
