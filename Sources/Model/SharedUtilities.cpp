// The document log, unit names and divisors, pen matching, message lists and date strings.
#include "Model/SharedUtilities.h"

#include "Platform/AppResources.h"
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Platform/Fonts.h"
#include "Platform/Events.h"
#include "Platform/MemoryManager.h"
#include "Other/NumberFormat.h"
#include "Platform/ResourceFiles.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

void AppendLogLine(DocWindowRecord* doc, ConstStr255Param line) {
    if (!doc || !doc->drawing || !line) return;
    DrawingRecord* d = doc->drawing;
    if (!d->logText) {
        d->logText = NewHandle(0);
        if (!d->logText) return;
    }
    // Every line keeps its carriage return, also one of 255 characters, so lines never run together.
    Size length = line[0];
    Size size = GetHandleSize(d->logText);
    if (size + length + 1 >= kDocumentLogLimit) return;
    SetHandleSize(d->logText, size + length + 1);
    if (MemError() != noErr || GetHandleSize(d->logText) != size + length + 1) return;
    std::memcpy(*d->logText + size, line + 1, static_cast<size_t>(length));
    (*d->logText)[size + length] = '\r';
}

void AppendLogCString(DocWindowRecord* doc, const char* line) {
    Str255 s;
    CStrToPStr(s, sizeof s, line ? line : "");
    AppendLogLine(doc, s);
}

Boolean UserCancelled() {
    EventRecord e{};
    if (!WaitNextEvent(keyDownMask | autoKeyMask, &e, 0, nullptr)) return false;
    return EventCharCode(e) == '.' && (e.modifiers & cmdKey);
}

void UnitName(const DocWindowRecord* doc, StringPtr dest) {
    dest[0] = 0;
    if (!doc || !doc->settings) return;
    const DocSettings* s = doc->settings;
    if (s->unitCode == 11) {
        CopyPStr(dest, sizeof(Str255), s->customUnitName);
        return;
    }
    GetIndString(dest, kUnitNameList, static_cast<SInt16>(s->unitCode + 5));
}

Float64 UnitDivisorForFactor(Float64 factor) {
    return std::isfinite(factor) && factor > 0.0 ? factor : 1.0;
}

Float64 UnitDivisor(const DocWindowRecord* doc) {
    return UnitDivisorForFactor(UnitToMillimetres(doc));
}

Boolean MatchesAppString(ConstStr255Param s, SInt16 index) {
    Str255 app;
    GetAppString(index, app);
    return EqualPStr(s, app);
}

void GetStr128(SInt16 index, StringPtr dest) {
    GetIndString(dest, kMessageList, index);
}

namespace {
Str255 gFontNames[2];
bool gFontNamesSet = false;

SInt16 FontNumberOf(int which) {
    if (!gFontNamesSet) {
        GetStringResource(128, gFontNames[0]);
        GetStringResource(129, gFontNames[1]);
        gFontNamesSet = true;
    }
    SInt16 number = 0;
    GetFNum(gFontNames[which], &number);
    return number;
}
} // namespace

void SetAppFontNames(ConstStr255Param mainFont, ConstStr255Param smallFont) {
    CopyPStr(gFontNames[0], sizeof(Str255), mainFont);
    CopyPStr(gFontNames[1], sizeof(Str255), smallFont);
    gFontNamesSet = true;
}

SInt16 AppFontNumber() {
    return FontNumberOf(0);
}
SInt16 AppSmallFontNumber() {
    return FontNumberOf(1);
}

void NearestPenWidth(DocWindowRecord* doc, SInt16 width100) {
    if (!doc || !doc->settings) return;
    DocSettings* s = doc->settings;
    double best = 0;
    SInt16 bestPen = 0;
    for (SInt16 pen = 0; pen < 8; ++pen) {
        double d = s->penWidths[pen] * 100.0 - width100;
        if (bestPen == 0 || d * d < best) {
            best = d * d;
            bestPen = static_cast<SInt16>(pen + 1);
        }
    }
    s->currentPen = bestPen;
}

void DeleteResource(SInt16 resourceFile, ResType type, SInt16 id) {
    if (!HasResource(resourceFile, type, id)) return;
    RemoveResourceBlock(resourceFile, type, id);
    UpdateResFile(resourceFile);
}

void DeleteAllResources(SInt16 resourceFile, ResType type) {
    // The file offers no list of its ids: every id is tried until none of the type is left.
    for (SInt32 id = -32768; id <= 32767 && CountResourcesOfType(resourceFile, type) > 0; ++id)
        if (HasResource(resourceFile, type, static_cast<SInt16>(id)))
            RemoveResourceBlock(resourceFile, type, static_cast<SInt16>(id));
    UpdateResFile(resourceFile);
}

void DateTimeStrings(StringPtr date, StringPtr time) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string d = std::to_string(local.tm_mday) + "." + std::to_string(local.tm_mon + 1) + "." +
                    std::to_string(local.tm_year + 1900);
    std::string t = std::to_string(local.tm_hour) + "." + std::to_string(local.tm_min);
    CStrToPStr(date, 21, d.c_str());
    CStrToPStr(time, 21, t.c_str());
}
