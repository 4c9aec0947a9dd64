// Fuzz target: the picture decoder, drawing into a port and into a drawing context, each at a size
// other than the picture's frame; and the same bytes as a PICT file, whose picture after the 512-byte
// header is taken only when it fits its data, and is then drawn. Whatever the bytes, nothing is read
// past their end, no size asks for unbounded memory, and the walk ends.
#include "Files/PictureFiles.h"
#include "Platform/CGContext.h"
#include "Platform/PlatformApp.h"
#include "Platform/Pictures.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

GWorldPtr gWorld = nullptr;

struct Bytes {
    std::vector<uint8_t> b;
    Bytes& U8(int v) { return b.push_back(uint8_t(v)), *this; }
    Bytes& U16(int v) { return U8(v >> 8).U8(v); }
    Bytes& R(int t, int l, int bo, int r) { return U16(t).U16(l).U16(bo).U16(r); }
};

// With DW_FUZZ_SEED_DIR set: a version 1 picture of every shape family, lines and text, and a
// version 2 picture with colours, an origin change and a packed bitmap.
void WriteSeeds() {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    if (folder == nullptr) return;
    Bytes v1;
    v1.U16(0).R(0, 0, 40, 40).U8(0x11).U8(0x01);
    v1.U8(0x07).U16(2).U16(2).U8(0x0B).U16(6).U16(6);
    v1.U8(0x30).R(1, 1, 20, 20).U8(0x41).R(2, 2, 18, 30).U8(0x52).R(3, 3, 10, 10);
    v1.U8(0x61).R(0, 0, 40, 40).U16(0).U16(90).U8(0x6C).U16(90).U16(45);
    v1.U8(0x70).U16(18).R(0, 0, 30, 30).U16(1).U16(1).U16(30).U16(5);
    v1.U8(0x80)
        .U16(10)
        .R(5, 5, 9, 9)
        .U8(0x20)
        .U16(0)
        .U16(0)
        .U16(39)
        .U16(39)
        .U8(0x22)
        .U16(3)
        .U16(3)
        .U8(5)
        .U8(251);
    v1.U8(0x0D).U16(12).U8(0x28).U16(30).U16(2).U8(2).U8('H').U8('i').U8(0x29).U8(4).U8(1).U8('!');
    v1.U8(0xFF);
    Bytes v2;
    v2.U16(0).R(0, 0, 16, 16).U16(0x0011).U16(0x02FF).U16(0x0C00);
    for (int i = 0; i < 24; ++i)
        v2.U8(0);
    v2.U16(0x001A).U16(0xFFFF).U16(0).U16(0).U16(0x000C).U16(10).U16(10);
    v2.U16(0x0031).R(10, 10, 18, 18).U16(0x0098).U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
    v2.U8(2).U8(0xF9).U8(0xFF).U8(2).U8(0xF9).U8(0x00).U16(0x00FF);
    std::ofstream(std::string(folder) + "/shapes-v1.pict", std::ios::binary)
        .write(reinterpret_cast<const char*>(v1.b.data()), std::streamsize(v1.b.size()));
    std::ofstream(std::string(folder) + "/colours-v2.pict", std::ios::binary)
        .write(reinterpret_cast<const char*>(v2.b.data()), std::streamsize(v2.b.size()));
    // The same pictures as files, behind their header.
    for (const auto& [name, picture] :
         {std::pair{"shapes-v1-file.pict", &v1}, std::pair{"colours-v2-file.pict", &v2}}) {
        std::vector<uint8_t> file(kPictFileHeaderSize, 0);
        file.insert(file.end(), picture->b.begin(), picture->b.end());
        std::ofstream(std::string(folder) + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
}

} // namespace

// The font library keeps what the text opcodes' fonts looked up for the whole run; that is its cache,
// not a leak of the decoder.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PlatformInitialize(*argc, *argv);
    if (NewOffscreenGWorld(&gWorld, 48, 32, 32, 0) != noErr) std::abort();
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so a read past its end is caught.
    std::vector<UInt8> bytes(data, data + size);
    SetGWorld(gWorld);
    Rect dest{2, 3, 30, 45};
    DrawPictureData(bytes.data(), bytes.size(), &dest);
    CGContextRef ctx = nullptr;
    if (QDBeginCGContext(gWorld, &ctx) == noErr) {
        QDPictDrawToCGContext(ctx, CGRectMake(1, 1, 20, 30), bytes.data(), bytes.size());
        QDEndCGContext(gWorld, &ctx);
    }
    // A picture taken from a file must fit its data: its frame is readable and it draws.
    if (Handle picture = PictureFromFileData(bytes.data(), bytes.size())) {
        if (GetHandleSize(picture) != Size(size - kPictFileHeaderSize)) std::abort();
        Rect frame{};
        if (!GetPictureFrame(reinterpret_cast<const UInt8*>(*picture), size_t(GetHandleSize(picture)),
                             &frame))
            std::abort();
        DrawPicture(picture, &dest);
        DisposeHandle(picture);
    }
    return 0;
}
