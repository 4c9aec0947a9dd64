// Encoding and decoding of the print settings and page format payloads.
#include "Files/PrintRecords.h"

#include "Platform/MemoryManager.h"

#include <cmath>
#include <cstring>

namespace {

constexpr UInt32 kPageFormatMagic = 0x44577066;    // 'DWpf'
constexpr UInt32 kPrintSettingsMagic = 0x44577073; // 'DWps'
constexpr UInt16 kPayloadVersion = 1;

struct Out {
    std::vector<UInt8> bytes;
    void U(UInt64 v, int n) {
        for (int i = n - 1; i >= 0; --i)
            bytes.push_back(UInt8(v >> (8 * i)));
    }
    void Real(Float64 v) {
        UInt64 bits;
        std::memcpy(&bits, &v, 8);
        U(bits, 8);
    }
    void R(const Rect& r) {
        U(UInt16(r.top), 2), U(UInt16(r.left), 2), U(UInt16(r.bottom), 2), U(UInt16(r.right), 2);
    }
};

struct In {
    const UInt8* p;
    size_t left;
    bool ok = true;
    UInt64 U(int n) {
        if (left < size_t(n)) {
            ok = false;
            return 0;
        }
        UInt64 v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | p[i];
        p += n, left -= size_t(n);
        return v;
    }
    Float64 Real() {
        UInt64 bits = U(8);
        Float64 v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    Rect R() {
        Rect r;
        r.top = SInt16(U(2)), r.left = SInt16(U(2)), r.bottom = SInt16(U(2)), r.right = SInt16(U(2));
        return r;
    }
};

bool EmptyRect(const Rect& r) {
    return r.bottom <= r.top || r.right <= r.left;
}

Handle ToHandle(const std::vector<UInt8>& bytes) {
    Handle h = nullptr;
    if (PtrToHand(bytes.data(), &h, Size(bytes.size())) != noErr) return nullptr;
    return h;
}

} // namespace

PageFormatData DefaultPageFormat() {
    PageFormatData d{};
    d.paperWidth = 595.0;
    d.paperHeight = 842.0;
    d.orientation = 1;
    d.scale = 100.0;
    d.paperRect = Rect{-18, -18, 824, 577};
    d.pageRect = Rect{0, 0, 806, 559};
    return d;
}

PrintSettingsData DefaultPrintSettings() {
    PrintSettingsData d{};
    d.copies = 1;
    d.firstPage = 1;
    d.lastPage = 0x7FFFFFFF;
    d.collate = true;
    return d;
}

std::vector<UInt8> FlattenPageFormat(const PageFormatData& d) {
    Out o;
    o.U(kPageFormatMagic, 4);
    o.U(kPayloadVersion, 2);
    o.Real(d.paperWidth);
    o.Real(d.paperHeight);
    o.U(UInt16(d.orientation), 2);
    o.Real(d.scale);
    o.R(d.paperRect);
    o.R(d.pageRect);
    return o.bytes;
}

std::vector<UInt8> FlattenPrintSettings(const PrintSettingsData& d) {
    Out o;
    o.U(kPrintSettingsMagic, 4);
    o.U(kPayloadVersion, 2);
    o.U(UInt16(d.copies), 2);
    o.U(UInt32(d.firstPage), 4);
    o.U(UInt32(d.lastPage), 4);
    o.U(d.collate ? 1 : 0, 1);
    UInt8 n = d.printerName[0] > 63 ? 63 : d.printerName[0];
    o.U(n, 1);
    o.bytes.insert(o.bytes.end(), d.printerName + 1, d.printerName + 1 + n);
    return o.bytes;
}

Boolean UnflattenPageFormat(const UInt8* bytes, size_t size, PageFormatData* out) {
    In in{bytes, size};
    if (bytes == nullptr || in.U(4) != kPageFormatMagic || in.U(2) != kPayloadVersion) return false;
    PageFormatData d{};
    d.paperWidth = in.Real();
    d.paperHeight = in.Real();
    d.orientation = SInt16(in.U(2));
    d.scale = in.Real();
    d.paperRect = in.R();
    d.pageRect = in.R();
    if (!in.ok || !(d.paperWidth > 0.0) || !(d.paperHeight > 0.0) || !std::isfinite(d.paperWidth) ||
        !std::isfinite(d.paperHeight) || !(d.scale > 0.0) || !std::isfinite(d.scale) ||
        EmptyRect(d.paperRect) || EmptyRect(d.pageRect))
        return false;
    *out = d;
    return true;
}

Boolean UnflattenPrintSettings(const UInt8* bytes, size_t size, PrintSettingsData* out) {
    In in{bytes, size};
    if (bytes == nullptr || in.U(4) != kPrintSettingsMagic || in.U(2) != kPayloadVersion) return false;
    PrintSettingsData d{};
    d.copies = SInt16(in.U(2));
    d.firstPage = SInt32(in.U(4));
    d.lastPage = SInt32(in.U(4));
    d.collate = in.U(1) != 0;
    UInt8 n = UInt8(in.U(1));
    if (!in.ok || n > 63 || in.left < n || d.copies < 1) return false;
    d.printerName[0] = n;
    std::memcpy(d.printerName + 1, in.p, n);
    *out = d;
    return true;
}

Handle NewPageFormatHandle(const PageFormatData& data) {
    return ToHandle(FlattenPageFormat(data));
}

Handle NewPrintSettingsHandle(const PrintSettingsData& data) {
    return ToHandle(FlattenPrintSettings(data));
}

PageFormatData PageFormatOf(Handle h) {
    PageFormatData d;
    if (h == nullptr ||
        !UnflattenPageFormat(reinterpret_cast<const UInt8*>(*h), size_t(GetHandleSize(h)), &d))
        return DefaultPageFormat();
    return d;
}

PrintSettingsData PrintSettingsOf(Handle h) {
    PrintSettingsData d;
    if (h == nullptr ||
        !UnflattenPrintSettings(reinterpret_cast<const UInt8*>(*h), size_t(GetHandleSize(h)), &d))
        return DefaultPrintSettings();
    return d;
}
