// The resources the program asks for by an id or item it computes. Together with every resource the
// code names by a number or a named constant (k...Alert, k...Dialog, k...List, ...), which the
// resource test finds in the sources, they make the registry whose every entry must exist.
#pragma once

#include "Platform/MacTypes.h"

struct RequiredResource {
    ResType type;
    SInt16 id;
    SInt16 item; // for string lists: the item that must not be empty; 0 for the list itself
};

extern const RequiredResource kRequiredResources[];
extern const int kRequiredResourceCount;
