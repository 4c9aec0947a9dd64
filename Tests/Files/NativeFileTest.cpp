// The data fork of drawing files: a full round trip byte for byte, the layout facts callers rely
// on, files of older versions built here from their layout, and damaged sections and counts.
#include "FilesFixture.h"
#include "TestSupport.h"

#include "Model/ElementEncoding.h"
#include "Platform/FileManager.h"
#include "Model/ElementLists.h"
#include "Platform/MemoryManager.h"
#include "Files/NativeFile.h"
#include "Model/NewDocument.h"
#include "Model/RecordBlocks.h"
#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

UInt32 Get32(const std::vector<UInt8>& b, size_t at) {
    return UInt32(b[at]) << 24 | UInt32(b[at + 1]) << 16 | UInt32(b[at + 2]) << 8 | b[at + 3];
}

// Reads bytes into the document as the open procedure does; 0 or the refusal's message.
SInt16 ReadInto(DocWindowRecord* doc, const std::vector<UInt8>& bytes, NativeReadOptions options = {}) {
    StreamClearError();
    SInt16 in = OpenMemoryStreamOn(bytes.data(), SInt64(bytes.size()));
    NativeFileHeader header;
    SInt16 message = ReadNativeHeader(in, &header);
    if (message == 0) message = ReadNativeBody(doc, in, header, options);
    CloseMemoryStream(in);
    return message;
}

// A drawing file of any version, written here from the layout: each section can be replaced.
struct OldFile {
    SInt16 version = 0x701;
    SInt16 format = kRealDouble; // how reals are stored
    SInt32 headerLength = 16;
    Boolean extendedFlag = false;
    std::vector<UInt8> b;

    void L(SInt32 v) {
        for (int s = 24; s >= 0; s -= 8)
            b.push_back(UInt8(UInt32(v) >> s));
    }
    void S(SInt16 v) {
        b.push_back(UInt8(UInt16(v) >> 8));
        b.push_back(UInt8(v));
    }
    void Bytes(size_t n, UInt8 value = 0) { b.insert(b.end(), n, value); }
    void P(const char* text, int capacity) {
        size_t n = std::strlen(text);
        b.push_back(UInt8(n));
        b.insert(b.end(), text, text + n);
        Bytes(size_t(capacity) - n);
    }
    void Real(Float64 v) {
        if (format == kRealDouble) {
            UInt64 bits;
            std::memcpy(&bits, &v, 8);
            for (int s = 56; s >= 0; s -= 8)
                b.push_back(UInt8(bits >> s));
            return;
        }
        UInt8 ext[10] = {};
        if (v != 0.0) {
            int exponent = 0;
            Float64 fraction = std::frexp(std::fabs(v), &exponent);
            UInt64 significand = UInt64(std::ldexp(fraction, 64));
            UInt16 word = UInt16((v < 0 ? 0x8000 : 0) | (exponent - 1 + 16383));
            ext[0] = UInt8(word >> 8), ext[1] = UInt8(word);
            for (int i = 0; i < 8; ++i)
                ext[2 + i] = UInt8(significand >> (56 - 8 * i));
        }
        b.insert(b.end(), ext, ext + 2);
        if (format == kRealExtended96) Bytes(2, 0xEE); // padding, ignored by readers
        b.insert(b.end(), ext + 2, ext + 10);
    }
    // A section with its 32-bit length in front.
    void Section(const std::function<void()>& body) {
        size_t at = b.size();
        L(0);
        body();
        SInt32 length = SInt32(b.size() - at - 4);
        for (int i = 0; i < 4; ++i)
            b[at + size_t(i)] = UInt8(UInt32(length) >> (24 - 8 * i));
    }
    void PenBlock(SInt16 width) {
        if (version >= 0x211) {
            S(0), S(1), S(2), S(3), S(width), L(0);
        } else if (version >= 0x120) {
            S(0);
        }
    }
    void Line(SInt16 group, Float64 x2, SInt16 width = 30) {
        S(group), S(0), S(4), S(1), S(1);
        Real(1), Real(2), Real(x2), Real(4), Real(1);
        PenBlock(width);
    }

    std::function<void()> titleBlock = [this] { Section([] {}); };
    std::function<void()> settings = [this] { Section([] {}); };
    std::function<void()> presets = [this] { Section([] {}); };
    std::function<void()> layerSets = [this] { Section([] {}); };
    std::function<void()> views = [this] { S(0); };
    std::function<void()> frames = [this] { S(0); };
    std::function<void()> counts = [this] {
        L(36);
        for (int i = 0; i < 9; ++i)
            L(0);
    };
    std::function<void()> elements = [] {};
    std::function<void()> images = [this] { L(0); };

    std::vector<UInt8> Build() {
        b.clear();
        L(headerLength);
        std::vector<UInt8> header;
        S(version), S(0x1000), S(extendedFlag ? 0 : 255), S(0), L(0), L(format);
        b.resize(size_t(4 + headerLength), 0);
        titleBlock();
        settings();
        Section([] {}); // layer visibility
        Section([] {}); // layer colours
        if (version >= 0x181) presets();
        layerSets();
        Section([] {}); // layer names
        S(0);           // variables
        views();
        frames();
        Bytes(120);
        counts();
        elements();
        images();
        return b;
    }
};

void Counts(OldFile& f, std::initializer_list<SInt32> eight) {
    f.L(36);
    for (SInt32 c : eight)
        f.L(c);
    f.L(0);
}

} // namespace

class NativeFileTest : public FilesTest {};

TEST_F(NativeFileTest, EverythingStoredReadsBackToTheSameBytes) {
    DocWindowRecord* doc = NewDoc();
    FillDocument(doc);
    std::vector<UInt8> bytes = DataForkBytes(doc);
    ASSERT_EQ(StreamError, noErr);
    EXPECT_EQ(Get32(bytes, 0), 16u);
    EXPECT_EQ(bytes[4] << 8 | bytes[5], 0x701);

    DocWindowRecord* back = NewDoc();
    ASSERT_EQ(ReadInto(back, bytes), 0);
    EXPECT_EQ(DataForkBytes(back), bytes);

    // The symbol's contents went back into their definition and the instance found it.
    SymbolDefRecord* def = back->symbolDefHead->next;
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(ToStd(def->name), "Screw");
    EXPECT_EQ(CountAfter(def->lineHead), 2);
    EXPECT_EQ(CountAfter(def->arcHead), 1);
    EXPECT_EQ(CountAfter(back->lineHead), 1);
    EXPECT_EQ(back->lineHead->next->group, 7);
    EXPECT_EQ(back->instanceHead->next->definition, def);
    EXPECT_EQ(ToStd(back->drawing->titleBlock->field4), "Bracket, left");
    EXPECT_EQ(back->images[0].pixels != nullptr ? (*back->images[0].pixels)[5] : 0, 42);
}

// Elements read come from blocks of records; removing them one by one, in place and at random, and
// closing the drawing gives every block back.
TEST_F(NativeFileTest, ElementsReadAreRemovedOneByOneAndTheirBlocksGoWithThem) {
    size_t blocksBefore = RecordBlocksInUse();
    DocWindowRecord* doc = NewDoc();
    FillDocument(doc);
    SeekLastLine(doc);
    for (int i = 0; i < 25000; ++i)
        AppendLineAtCursor(doc, i, 0, i, 1, false);
    std::vector<UInt8> bytes = DataForkBytes(doc);

    DocWindowRecord* back = NewDoc();
    ASSERT_EQ(ReadInto(back, bytes), 0);
    EXPECT_GT(RecordBlocksInUse(), blocksBefore + 1);
    EXPECT_EQ(DataForkBytes(back), bytes);
    int n = 0, removed = 0;
    for (LineRecord* e = back->lineHead->next; e != nullptr;) {
        LineRecord* next = e->next;
        if (n++ % 3 == 1) RemoveLine(back, e), ++removed;
        e = next;
    }
    RemoveLine(back, back->lineHead->next);
    EXPECT_EQ(CountAfter(back->lineHead), n - removed - 1);
    DisposeDocumentRecords(back);
    EXPECT_EQ(RecordBlocksInUse(), blocksBefore);
}

// Opening reads the fork through a window; a window far smaller than the records, points and
// pictures reads the same drawing as the whole bytes do.
TEST_F(NativeFileTest, ADrawingReadThroughASmallWindowIsTheSameDrawing) {
    DocWindowRecord* doc = NewDoc();
    FillDocument(doc);
    std::vector<UInt8> bytes = DataForkBytes(doc);
    FSRef folder;
    ASSERT_EQ(GetPrivateTempFolder(&folder), noErr);
    std::string path = std::string(folder.path) + "/window.cadx";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    for (SInt32 window : {1, 37, 4096}) {
        SCOPED_TRACE(window);
        StreamClearError();
        FSIORefNum fork = 0;
        ASSERT_EQ(FSOpenForkPath(path.c_str(), fsRdPerm, &fork), noErr);
        SInt16 in = OpenForkReadStream(fork, window);
        NativeFileHeader header;
        DocWindowRecord* back = NewDoc();
        ASSERT_EQ(ReadNativeHeader(in, &header), 0);
        EXPECT_EQ(ReadNativeBody(back, in, header, NativeReadOptions{}), 0);
        CloseMemoryStream(in);
        EXPECT_EQ(DataForkBytes(back), bytes);
        DisposeDocumentRecords(back);
    }
    std::remove(path.c_str());
}

TEST_F(NativeFileTest, LayoutFactsOfTheWriter) {
    DocWindowRecord* doc = NewDoc();
    const char* names[] = {"b", "A", "c"};
    for (const char* n : names) {
        AttributePreset* p = NewAttributePreset();
        CStrToPStr(p->name, 256, n);
        p->next = doc->drawing->attributePresets;
        doc->drawing->attributePresets = p;
    }
    for (Str255& name : doc->layerNames->names)
        name[0] = 0;
    std::vector<UInt8> bytes = DataForkBytes(doc);
    const size_t presets = 20 + 1492 + 2392 + 132 + 6148;
    EXPECT_EQ(Get32(bytes, presets), 216u);
    EXPECT_EQ(Get32(bytes, presets + 4 + 216), 0u);        // layer sets
    EXPECT_EQ(Get32(bytes, presets + 4 + 216 + 4), 1024u); // layer names, all empty

    // Presets come back sorted by name without regard to case.
    DocWindowRecord* back = NewDoc();
    ASSERT_EQ(ReadInto(back, bytes), 0);
    std::string order;
    for (AttributePreset* p = back->drawing->attributePresets; p != nullptr; p = p->next)
        order += ToStd(p->name);
    EXPECT_EQ(order, "Abc");

    // A text is followed by eight zero bytes, a framed text box by nothing more.
    size_t empty = bytes.size();
    TextRecord* text = nullptr;
    NewTextElement(doc, &text);
    CStrToPStr(text->text, 256, "ab");
    doc->textHead->next = text;
    EXPECT_EQ(DataForkBytes(doc).size(), empty + 180 + 3 + 8);
    text->textFlags = kFramedTextBoxFlags;
    PtrToHand("ab", &text->boxText, 2);
    EXPECT_EQ(DataForkBytes(doc).size(), empty + 180 + 4 + 2 + 8);
}

TEST_F(NativeFileTest, OlderVersionsReadWithTheirRealsGatesAndUpgrades) {
    struct Case {
        SInt16 version;
        SInt16 format;
        Boolean flag;
        SInt32 headerLength;
    } cases[] = {
        {0x200, kRealExtended96, true, 16},  // flag stored as 0: 12-byte reals
        {0x200, kRealExtended80, false, 16}, // flag stored as 255: 10-byte reals
        {0x180, kRealExtended80, false, 16}, {0x18F, kRealExtended96, true, 16},
        {0x300, kRealExtended80, false, 10}, // a short header reads the real format as 0
        {0x701, kRealDouble, false, 16},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << k.version << " format " << k.format);
        OldFile f;
        f.version = k.version, f.format = k.format, f.extendedFlag = k.flag, f.headerLength = k.headerLength;
        f.views = [&f] {
            f.S(1);
            f.P("Top", 63);
            f.Bytes(80);
            f.Real(1), f.Real(2), f.Real(3), f.Real(4.25);
        };
        f.frames = [&f] {
            f.S(1);
            f.P("Sheet", 63);
            f.S(3);
            for (int i = 1; i <= 7; ++i)
                f.Real(i * 1.5);
            f.Bytes(120);
        };
        f.counts = [&f] { Counts(f, {2, 0, 0, 0, 0, 0, 0, 0}); };
        f.elements = [&f] {
            f.Line(0, 3.5, 0);
            f.Line(0, -7.25, 600);
        };
        DocWindowRecord* doc = NewDoc();
        ASSERT_EQ(ReadInto(doc, f.Build()), 0);
        LineRecord* first = doc->lineHead->next;
        ASSERT_NE(first, nullptr);
        ASSERT_NE(first->next, nullptr);
        EXPECT_EQ(first->x2, 3.5);
        EXPECT_EQ(first->next->x2, -7.25);
        EXPECT_EQ(first->layer, 4);
        // Widths are clamped into 1..500 (600 reads as 25); older pens take the pen table (zero here).
        EXPECT_EQ(first->penBlock.penWidth100, 1);
        EXPECT_EQ(first->next->penBlock.penWidth100, k.version >= 0x211 ? 25 : 1);
        ASSERT_NE(doc->drawing->savedViews, nullptr);
        EXPECT_EQ(doc->drawing->savedViews->rect[3], 4.25);
        ASSERT_NE(doc->drawing->frames, nullptr);
        EXPECT_EQ(doc->drawing->frames->kind, 3);
        EXPECT_EQ(doc->drawing->frames->scaleY, 10.5);
        // Every version: the clamps; the oldest: the upgrades.
        EXPECT_EQ(doc->settings->word1992, 1);
        EXPECT_EQ(doc->settings->word250, 1);
        EXPECT_EQ(doc->settings->decimals, k.version <= 0x18F ? 2 : 0);
        EXPECT_EQ(doc->settings->dialogUnit, k.version <= 0x192 ? 1 : 0);
        EXPECT_EQ(doc->settings->dialog187Value1, k.version <= 0x193 ? 5.0 : 0.0);
    }
}

TEST_F(NativeFileTest, VersionAndHeaderGates) {
    struct Case {
        SInt16 version;
        SInt32 headerLength;
        SInt16 message;
    } cases[] = {{0x17F, 16, kMsgVersionTooOld},
                 {0x702, 16, kMsgVersionTooNew},
                 {0x701, 4, kMsgBadHeader},
                 {0x701, 17, kMsgBadHeader},
                 {0x180, 16, 0},
                 {0x701, 5, 0}};
    for (const Case& k : cases) {
        OldFile f;
        f.version = k.version, f.headerLength = k.headerLength;
        if (k.version < 0x220) f.format = kRealExtended80;
        if (k.headerLength < 16) f.format = kRealExtended80; // the format word is cut off: format 0
        DocWindowRecord* doc = NewDoc();
        EXPECT_EQ(ReadInto(doc, f.Build()), k.message) << std::hex << k.version << " " << k.headerLength;
    }
    // A real format the program does not know is a damaged header.
    OldFile f;
    f.format = 7;
    EXPECT_EQ(ReadInto(NewDoc(), f.Build()), kMsgBadHeader);
}

TEST_F(NativeFileTest, SectionsContinueAtTheirStartPlusLengthWhateverWasRead) {
    OldFile f;
    // A preset section of one record and three stray bytes, a title block and settings with extra
    // bytes, a settings section cut short: each following section is still found.
    f.titleBlock = [&f] { f.Section([&f] { f.Bytes(1488 + 10, 0); }); };
    f.settings = [&f] { f.Section([&f] { f.Bytes(100, 0); }); };
    f.presets = [&f] {
        f.Section([&f] {
            f.P("One", 31);
            f.L(1);
            f.Bytes(16), f.Real(2), f.Bytes(6), f.Bytes(6);
            f.Bytes(3, 0x55);
        });
    };
    f.layerSets = [&f] {
        f.Section([&f] {
            f.P("Set", 63);
            f.Bytes(128, 0x0F);
            f.Bytes(5);
        });
    };
    f.counts = [&f] { Counts(f, {1, 0, 0, 0, 0, 0, 0, 0}); };
    f.elements = [&f] { f.Line(0, 9); };
    DocWindowRecord* doc = NewDoc();
    ASSERT_EQ(ReadInto(doc, f.Build()), 0);
    ASSERT_NE(doc->drawing->attributePresets, nullptr);
    EXPECT_EQ(doc->drawing->attributePresets->next, nullptr);
    EXPECT_EQ(doc->drawing->attributePresets->scale, 2.0);
    ASSERT_NE(doc->drawing->layerSets, nullptr);
    EXPECT_EQ(doc->drawing->layerSets->layers[0], 0x0F);
    ASSERT_NE(doc->lineHead->next, nullptr);
    EXPECT_EQ(doc->lineHead->next->x2, 9.0);
    EXPECT_EQ(doc->settings->word1992, 1);

    // Files of a 'vers' before 3.0.0 store layer sets with their bits the other way round.
    DocWindowRecord* old = NewDoc();
    NativeReadOptions options;
    options.versResource = 0x0250;
    ASSERT_EQ(ReadInto(old, f.Build(), options), 0);
    EXPECT_EQ(old->drawing->layerSets->layers[0], 0xF0);
}

TEST_F(NativeFileTest, CountsAndSizesTheFileCannotHoldAreRefusedBeforeAllocating) {
    struct Case {
        const char* what;
        std::function<void(OldFile&)> change;
        SInt16 message;
    } cases[] = {
        {"a billion lines",
         [](OldFile& f) { f.counts = [&f] {
                              Counts(f, {1000000000, 0, 0, 0, 0, 0, 0, 0});
                          }; },
         kMsgBadElementCounts},
        {"negative count", [](OldFile& f) { f.counts = [&f] {
                                                Counts(f, {0, 0, -1, 0, 0, 0, 0, 0});
                                            }; },
         kMsgBadElementCounts},
        {"count section of 20", [](OldFile& f) { f.counts = [&f] { f.L(20), f.Bytes(20); }; },
         kMsgBadElementCounts},
        {"views beyond the end", [](OldFile& f) { f.views = [&f] { f.S(30000); }; }, kMsgFileDamaged},
        {"frames beyond the end", [](OldFile& f) { f.frames = [&f] { f.S(5000); }; }, kMsgFileDamaged},
        {"section longer than the file", [](OldFile& f) { f.settings = [&f] { f.L(1 << 30); }; },
         kMsgFileDamaged},
        {"a huge image",
         [](OldFile& f) {
             f.images = [&f] {
                 f.L(1);
                 f.Real(0), f.Real(0), f.Real(72), f.L(0), f.L(0);
                 f.L(100000), f.L(100000), f.L(400000);
                 f.P("x", 255);
             };
         },
         kMsgFileDamaged},
        {"truncated line",
         [](OldFile& f) {
             f.counts = [&f] { Counts(f, {2, 0, 0, 0, 0, 0, 0, 0}); };
             f.elements = [&f] { f.Line(0, 1), f.Bytes(30); };
         },
         kMsgBadElementCounts},
        {"polyline with more points than the file holds",
         [](OldFile& f) {
             f.counts = [&f] { Counts(f, {0, 0, 0, 0, 0, 1, 0, 0}); };
             f.elements = [&f] {
                 f.S(0), f.S(0), f.S(1), f.S(1), f.S(0), f.S(0), f.S(0), f.S(0), f.S(0);
                 f.Real(0), f.Real(0), f.Real(0);
                 f.S(1000);
                 f.Bytes(12), f.Real(1), f.PenBlock(25);
                 f.Bytes(64);
             };
         },
         kMsgFileDamaged},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        OldFile f;
        k.change(f);
        DocWindowRecord* doc = NewDoc();
        EXPECT_EQ(ReadInto(doc, f.Build()), k.message);
        EXPECT_EQ(doc->lineHead->next, nullptr);
    }
    // Images: ten at most; more read as none.
    OldFile f;
    f.images = [&f] { f.L(11); };
    DocWindowRecord* doc = NewDoc();
    EXPECT_EQ(ReadInto(doc, f.Build()), 0);
    EXPECT_EQ(doc->imageCount, 0);
    // A first image that only names its file: the drawing keeps none, and the second image's pixels
    // are freed, not lost (the leak checker of the sanitized run sees it).
    f.images = [&f] {
        f.L(2);
        f.Real(0), f.Real(0), f.Real(72), f.L(1), f.L(0);
        f.P("linked.tif", 255);
        f.Real(0), f.Real(0), f.Real(72), f.L(0), f.L(0);
        f.L(2), f.L(2), f.L(8);
        f.P("kept.tif", 255);
        f.Bytes(16, 7);
    };
    DocWindowRecord* linked = NewDoc();
    EXPECT_EQ(ReadInto(linked, f.Build()), 0);
    EXPECT_EQ(linked->imageCount, 0);
    EXPECT_EQ(linked->images[1].pixels, nullptr);
}

TEST_F(NativeFileTest, SymbolNumbersThatMatchNothing) {
    auto instance = [](OldFile& f, SInt16 number) {
        f.S(0), f.S(0), f.S(1);
        for (int i = 0; i < 13; ++i)
            f.Real(i == 3 ? 1.0 : 0.0);
        f.S(number);
        f.Real(1);
    };
    auto definition = [](OldFile& f, const char* name, SInt16 number) {
        f.Real(0), f.Real(0), f.Real(1), f.Real(1);
        f.P(name, 19);
        f.S(number);
        f.Real(1);
    };
    // No definitions at all: the instance goes, with a line in the log.
    OldFile none;
    none.counts = [&] { Counts(none, {0, 0, 0, 0, 1, 0, 0, 0}); };
    none.elements = [&] { instance(none, -1); };
    DocWindowRecord* doc = NewDoc();
    ASSERT_EQ(ReadInto(doc, none.Build()), 0);
    EXPECT_EQ(doc->instanceHead->next, nullptr);
    ASSERT_NE(doc->drawing->logText, nullptr);

    // Definitions exist: an unknown number shows the last; elements of an unknown one are dropped.
    OldFile some;
    some.counts = [&] { Counts(some, {3, 0, 0, 0, 2, 0, 2, 0}); };
    some.elements = [&] {
        some.Line(0, 1);
        some.Line(-2, 2);
        some.Line(-9, 3);
        instance(some, -1);
        instance(some, -5);
        definition(some, "First", -1);
        definition(some, "Second", -2);
    };
    doc = NewDoc();
    ASSERT_EQ(ReadInto(doc, some.Build()), 0);
    EXPECT_EQ(CountAfter(doc->lineHead), 1);
    SymbolDefRecord* first = doc->symbolDefHead->next;
    ASSERT_NE(first, nullptr);
    SymbolDefRecord* second = first->next;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CountAfter(first->lineHead), 0);
    EXPECT_EQ(CountAfter(second->lineHead), 1);
    EXPECT_EQ(doc->instanceHead->next->definition, first);
    EXPECT_EQ(doc->instanceHead->next->next->definition, second);
}

TEST_F(NativeFileTest, InsertingMovesScalesRenamesAndLeavesTheDrawingAloneWhenRefused) {
    DocWindowRecord* source = NewDoc();
    FillDocument(source);
    std::vector<UInt8> bytes = DataForkBytes(source);

    DocWindowRecord* target = NewDoc();
    target->settings->unitCode = 1;
    SymbolDefRecord* own = nullptr;
    NewSymbolDefElement(&own);
    CStrToPStr(own->name, 256, "SCREW");
    target->symbolDefHead->next = own;
    SeekLastLine(target);
    AppendLineAtCursor(target, 0, 0, 1, 1, false);

    NativeReadOptions options;
    options.insert = true;
    options.dx = 10, options.dy = 20;
    options.layer = 9;
    ASSERT_EQ(ReadInto(target, bytes, options), 0);
    // The file's elements come first, moved; the drawing's own follow unchanged.
    LineRecord* inserted = target->lineHead->next;
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->x1, 10.0);
    EXPECT_EQ(inserted->y2, 70.0);
    EXPECT_EQ(inserted->layer, 9);
    ASSERT_NE(inserted->next, nullptr);
    EXPECT_EQ(inserted->next->x2, 1.0);
    // The inserted definition of a name in use takes "#1".
    EXPECT_EQ(ToStd(target->symbolDefHead->next->name), "Screw#1");
    EXPECT_EQ(target->symbolDefHead->next->next, own);
    ASSERT_NE(target->drawing->frames, nullptr);
    EXPECT_EQ(target->drawing->frames->rect[2], 307.0);

    // A damaged file inserted changes nothing.
    std::vector<UInt8> before = DataForkBytes(target);
    std::vector<UInt8> damaged = bytes;
    damaged.resize(damaged.size() - 40);
    EXPECT_NE(ReadInto(target, damaged, options), 0);
    EXPECT_EQ(DataForkBytes(target), before);
}

TEST_F(NativeFileTest, UniqueDefinitionNames) {
    struct Case {
        const char* name;
        const char* existing;
        const char* expected;
    } cases[] = {{"Screw", "Screw", "Screw#1"},
                 {"Screw#1", "screw#1", "Screw#2"},
                 {"Screw", "Screw#1", "Screw"},
                 {"A very long name 19", "A VERY LONG NAME 19", "A very long name #1"},
                 {"Nut#9", "Nut#9", "Nut#10"}};
    for (const Case& k : cases) {
        DocWindowRecord* doc = NewDoc();
        SymbolDefRecord *a = nullptr, *b = nullptr;
        NewSymbolDefElement(&a);
        NewSymbolDefElement(&b);
        CStrToPStr(a->name, 20, k.name);
        CStrToPStr(b->name, 20, k.existing);
        doc->symbolDefHead->next = a;
        a->next = b;
        MakeUniqueDefinitionName(doc, a);
        EXPECT_EQ(ToStd(a->name), k.expected) << k.name;
        DisposeDocumentRecords(doc);
    }
}
