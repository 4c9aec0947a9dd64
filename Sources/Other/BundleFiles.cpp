// The application's own files beside its resource descriptions.
#include "Other/BundleFiles.h"

#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"
#include "Platform/PointerBlocks.h"
#include "Platform/ImageFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace {
std::string BundlePath(const char* prefix, SInt16 number, const char* extension) {
    return AppResourceFolder() + "/" + prefix + std::to_string(number) + extension;
}
} // namespace

OSErr FindResourcesFolder(FSRef* folder) {
    return FSMakeRef(AppResourceFolder().c_str(), folder);
}

OSErr ResourcesSubfolderSpec(FSRef* folder, ConstStr255Param name) {
    std::string path = AppResourceFolder() + "/" + PStrToUTF8(name);
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return fnfErr;
    return FSMakeRef(path.c_str(), folder);
}

Boolean ReadBundleText(SInt16 number, Ptr* text, Size* length) {
    *text = nullptr;
    *length = 0;
    std::ifstream in(BundlePath("text_", number, ".txt"), std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Ptr p = NewPtr(static_cast<Size>(bytes.size()));
    if (!p) return false;
    std::memcpy(p, bytes.data(), bytes.size());
    *text = p;
    *length = static_cast<Size>(bytes.size());
    return true;
}

Boolean DrawBundlePicture(SInt16 number, CGrafPtr port, const Rect* rect) {
    return DrawImageFileInPort(BundlePath("pict_", number, ".png").c_str(), port, rect);
}

void DrawToolIcon(WindowRef window, SInt16 number, SInt16 left, SInt16 top, SInt16 width, SInt16 height) {
    if (!window) return;
    Rect r{top, left, static_cast<SInt16>(top + height), static_cast<SInt16>(left + width)};
    DrawImageFileInPort(BundlePath("cicn_", number, ".png").c_str(), GetWindowPort(window), &r);
}

void DrawPickModeIcon(WindowRef window, SInt16 pickMode) {
    if (!window) return;
    Rect port{};
    GetWindowPortBounds(window, &port);
    SInt16 icon = static_cast<SInt16>(pickMode >= 0 && pickMode <= 9 ? 133 + pickMode : 142);
    DrawToolIcon(window, icon, static_cast<SInt16>(port.left + 216), static_cast<SInt16>(port.bottom - 12),
                 16, 10);
}

void DrawPNGFile(const FSRef* file, WindowRef window, const Rect* rect) {
    if (file && window) DrawImageFileInPort(file->path, GetWindowPort(window), rect);
}
