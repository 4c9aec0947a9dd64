// Reads back which numbered message of string list 128 the code under test showed, from the alerts
// recorded without a window.
#pragma once

#include "Platform/MacTypes.h"

class MessageCapture {
  public:
    MessageCapture(); // forgets the alerts recorded so far
    // The item of list 128 whose text the last alert showed; 0 when none was shown, -1 for another text.
    SInt16 Last() const;
    size_t Count() const;
    void Clear();
};
