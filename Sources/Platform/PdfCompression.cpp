// Qt's PDF writer, for files and print jobs alike, compresses every content stream at zlib's default
// level and has no setting for it. A drawing of a million lines spent three quarters of its PDF time
// there; at the fastest level the file is about a tenth larger and written three times as fast. This
// definition of the stream set-up takes the place of the library's for the whole program (the linker
// prefers the program's own): a stream asked for at the default level gets the fastest, an explicit
// level is kept.
#include "Platform/PlatformWindowInternal.h"

#include <zlib.h>

extern "C" int deflateInit_(z_streamp stream, int level, const char* version, int streamSize) {
    if (level == Z_DEFAULT_COMPRESSION) level = Z_BEST_SPEED;
    constexpr int kDefaultMemLevel = 8;
    return deflateInit2_(stream, level, Z_DEFLATED, MAX_WBITS, kDefaultMemLevel, Z_DEFAULT_STRATEGY, version,
                         streamSize);
}

void PlatformLinkFastPdfCompression() {}
