// The pictures we store: a version 2 picture holding one direct-colour pixel map, its rows packed
// component by component, as the decoder beside it reads them.
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"

#include <vector>

namespace {

void Put16(std::vector<UInt8>& out, UInt32 v) {
    out.push_back(UInt8(v >> 8));
    out.push_back(UInt8(v));
}
void Put32(std::vector<UInt8>& out, UInt32 v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}
void PutRect(std::vector<UInt8>& out, SInt16 top, SInt16 left, SInt16 bottom, SInt16 right) {
    Put16(out, UInt16(top)), Put16(out, UInt16(left)), Put16(out, UInt16(bottom)), Put16(out, UInt16(right));
}

// PackBits of one row: runs of three or more equal bytes repeat, the rest is copied.
void PackBits(const UInt8* in, size_t n, std::vector<UInt8>& out) {
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && in[i + run] == in[i])
            ++run;
        if (run >= 3) {
            out.push_back(UInt8(257 - run));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        size_t start = i;
        while (i < n && i - start < 128) {
            if (i + 2 < n && in[i] == in[i + 1] && in[i] == in[i + 2]) break;
            ++i;
        }
        out.push_back(UInt8(i - start - 1));
        out.insert(out.end(), in + start, in + i);
    }
}

} // namespace

PicHandle NewBitmapPicture(const UInt32* pixels, SInt32 rowBytes, SInt16 width, SInt16 height) {
    if (pixels == nullptr || width < 2 || width > 4095 || height <= 0 || rowBytes < SInt32(width) * 4)
        return nullptr;
    std::vector<UInt8> out;
    Put16(out, 0); // size: the low word of the length, set below
    PutRect(out, 0, 0, height, width);
    Put16(out, 0x0011), Put16(out, 0x02FF);
    Put16(out, 0x0C00), Put16(out, 0xFFFE), Put16(out, 0);
    Put32(out, 0x00480000), Put32(out, 0x00480000);
    PutRect(out, 0, 0, height, width);
    Put32(out, 0);
    Put16(out, 0x0001), Put16(out, 10);
    PutRect(out, 0, 0, height, width);
    Put16(out, 0x009A);
    Put32(out, 0x000000FF);
    Put16(out, 0x8000 | UInt32(width) * 4);
    PutRect(out, 0, 0, height, width);
    Put16(out, 0), Put16(out, 4), Put32(out, 0);    // version, packing by component
    Put32(out, 0x00480000), Put32(out, 0x00480000); // resolutions
    Put16(out, 16), Put16(out, 32), Put16(out, 3);  // direct pixels, 32 bits, three components
    Put16(out, 8), Put32(out, 0), Put32(out, 0), Put32(out, 0);
    PutRect(out, 0, 0, height, width);
    PutRect(out, 0, 0, height, width);
    Put16(out, 0); // srcCopy
    std::vector<UInt8> planes(size_t(width) * 3), packed;
    for (SInt16 y = 0; y < height; ++y) {
        const UInt32* row = reinterpret_cast<const UInt32*>(reinterpret_cast<const UInt8*>(pixels) +
                                                            size_t(y) * size_t(rowBytes));
        for (SInt16 x = 0; x < width; ++x) {
            planes[size_t(x)] = UInt8(row[x] >> 16);
            planes[size_t(width) + size_t(x)] = UInt8(row[x] >> 8);
            planes[2 * size_t(width) + size_t(x)] = UInt8(row[x]);
        }
        packed.clear();
        PackBits(planes.data(), planes.size(), packed);
        if (width * 4 > 250)
            Put16(out, UInt32(packed.size()));
        else
            out.push_back(UInt8(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    if (out.size() & 1) out.push_back(0);
    Put16(out, 0x00FF);
    out[0] = UInt8(out.size() >> 8), out[1] = UInt8(out.size());
    Handle h = nullptr;
    if (PtrToHand(out.data(), &h, Size(out.size())) != noErr) return nullptr;
    return h;
}
