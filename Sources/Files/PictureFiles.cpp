// PICT files placed into a drawing or opened as one, and the clipboard's picture pasted: each picture
// is checked whole before it becomes an element, so nothing of it is read past its end later.
#include "Files/PictureFiles.h"

#include "Files/FileNames.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "Model/NewDocument.h"
#include "Model/Polylines.h"
#include "Other/Alerts.h"
#include "Platform/Clipboard.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "View/ContentPasses.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

constexpr SInt16 kMsgNoMemoryForPicture = 48;
// The largest picture the decoder draws is 4096 pixels square at 32 bits: a file far beyond that is
// not read into memory.
constexpr SInt64 kLargestPictureFile = SInt64(128) << 20;
constexpr Float64 kMillimetresPerPoint = 25.4 / 72.0;

// The element takes the picture; a picture it could not take is released here.
Boolean InsertPicture(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2, Handle picture) {
    if (!InsertPictureElement(doc, x1, y1, x2, y2, picture)) {
        DisposeHandle(picture);
        return false;
    }
    RequestRedraw(doc);
    return true;
}

// The picture from the point up and to the right, as large as its frame on paper at the drawing scale.
Boolean InsertAtFrameSize(DocWindowRecord* doc, Float64 x, Float64 y, Handle picture) {
    Rect frame{};
    GetPictureFrame(reinterpret_cast<const UInt8*>(*picture), size_t(GetHandleSize(picture)), &frame);
    const Float64 scale = doc->settings->drawingScale;
    const Float64 factor = kMillimetresPerPoint * (std::isfinite(scale) && scale > 0 ? scale : 1.0);
    return InsertPicture(doc, x, y, x + (frame.right - frame.left) * factor,
                         y + (frame.bottom - frame.top) * factor, picture);
}

} // namespace

Handle PictureFromFileData(const UInt8* bytes, size_t size) {
    if (bytes == nullptr || size <= kPictFileHeaderSize) return nullptr;
    const UInt8* picture = bytes + kPictFileHeaderSize;
    const size_t length = size - kPictFileHeaderSize;
    if (!PictureFitsData(picture, length)) return nullptr;
    Handle h = nullptr;
    if (PtrToHand(picture, &h, Size(length)) != noErr) return nullptr;
    return h;
}

Handle ReadPictureFile(const FSRef* file) {
    Str255 name;
    LeafNameOf(file, name);
    FSIORefNum fork = 0;
    SInt64 size = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err == noErr) err = FSGetForkSize(fork, &size);
    std::vector<UInt8> bytes;
    bool tooLarge = size > kLargestPictureFile;
    if (err == noErr && size > SInt64(kPictFileHeaderSize) && !tooLarge) {
        try {
            bytes.resize(size_t(size));
        } catch (const std::bad_alloc&) {
            tooLarge = true;
        }
    }
    if (!bytes.empty()) {
        ByteCount count = 0;
        err = FSReadFork(fork, fsFromStart, 0, ByteCount(size), bytes.data(), &count);
        // A file that shrank while it was read keeps only what was read.
        if (err == eofErr) err = noErr;
        bytes.resize(size_t(count));
    }
    if (fork != 0) FSCloseFork(fork);
    if (err != noErr) {
        ShowOSErrorAlert(err);
        return nullptr;
    }
    if (tooLarge) {
        ShowErrorAlert(kMsgNoMemoryForPicture, name);
        return nullptr;
    }
    Handle picture = PictureFromFileData(bytes.data(), bytes.size());
    if (picture == nullptr) ShowErrorAlert(kMsgNoPictureInFile, name);
    return picture;
}

Boolean PlacePictureFile(DocWindowRecord* doc, const FSRef* file, Boolean atView, Float64 x, Float64 y) {
    Handle picture = ReadPictureFile(file);
    if (picture == nullptr) return false;
    if (atView) {
        x = doc->drawing->view.originX;
        y = doc->drawing->view.originY;
    }
    return InsertAtFrameSize(doc, x, y, picture);
}

Boolean PastePicture(DocWindowRecord* doc, Float64 left, Float64 bottom, Float64 right, Float64 top) {
    if (ScrapFlavorAvailable(kScrapFlavorPicture) != noErr) return false;
    Handle picture = NewHandle(0);
    if (picture == nullptr) {
        ShowOutOfMemoryAlert();
        return false;
    }
    if (PrvGetScrap(picture, kScrapFlavorPicture) != noErr) {
        DisposeHandle(picture);
        const Str255 empty = {0};
        ShowErrorAlert(kMsgNoPictureOnClipboard, empty);
        return false;
    }
    return InsertPicture(doc, left, bottom, right, top, picture);
}

Boolean ImportPictureFile(DocWindowRecord** slot, const FSRef* file) {
    *slot = nullptr;
    // The picture first: a file without one leaves no empty drawing behind.
    Handle picture = ReadPictureFile(file);
    if (picture == nullptr) return false;
    Str255 name;
    LeafNameOf(file, name);
    if (name[0] > 63) name[0] = 63;
    if (!NewDocument(slot, name, 0)) {
        DisposeHandle(picture);
        return false;
    }
    DocWindowRecord* doc = *slot;
    LoadDocumentDefaults(doc);
    InsertAtFrameSize(doc, doc->drawing->view.originX, doc->drawing->view.originY, picture);
    if (doc->window != nullptr) {
        ShowWindow(doc->window);
        RelayoutDocumentWindow(doc);
    }
    return true;
}

void RegisterPictureImporter() {
    RegisterImporter(kOpenPicture, FormatImporter{nullptr, ImportPictureFile});
}
