#include "Files/SymbolLibrary.h"

#include "FilesFixture.h"
#include "TestSupport.h"

#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/Streams.h"
#include "Model/Symbols.h"
#include "Platform/AppleDouble.h"
#include "Platform/PascalBytes.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

std::string Name(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s) + 1, s[0]);
}
void SetName(StringPtr s, const std::string& text) {
    s[0] = UInt8(text.size());
    std::memcpy(s + 1, text.data(), text.size());
}

// The stored bytes of a definition's elements and fields, the name and the file number left out.
std::vector<UInt8> DefinitionBytes(const SymbolDefRecord* def) {
    StreamClearError();
    SInt16 s = OpenMemoryStream();
    SymbolDefRecord copy = *def;
    std::memset(copy.name, 0, sizeof copy.name);
    copy.number = 0;
    WriteSymbolDefRecord(s, &copy);
    for (const LineRecord* e = def->lineHead->next; e; e = e->next)
        WriteLineRecord(s, e);
    for (const ArcRecord* e = def->arcHead->next; e; e = e->next)
        WriteCircleRecord(s, e);
    for (const TextRecord* e = def->textHead->next; e; e = e->next)
        WriteTextRecord(s, e);
    for (const DimensionRecord* e = def->dimensionHead->next; e; e = e->next)
        WriteDimensionRecord(s, e);
    for (const PolylineRecord* e = def->polylineHead->next; e; e = e->next)
        WritePolylineRecord(s, e);
    for (const AreaRecord* e = def->areaHead->next; e; e = e->next)
        WriteAreaRecord(s, e);
    SInt64 size = 0;
    const UInt8* data = MemoryStreamData(s, &size);
    std::vector<UInt8> bytes(data, data + size);
    CloseMemoryStream(s);
    return bytes;
}

// A definition holding every element kind a drawing has: the filled document's own elements.
SymbolDefRecord* EveryKindDefinition(DocWindowRecord* doc, const std::string& name) {
    FillDocument(doc);
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    SetName(def->name, name);
    def->minX = -1, def->minY = -2, def->maxX = 100, def->maxY = 50, def->scale = 2.5;
    std::swap(def->lineHead->next, doc->lineHead->next);
    std::swap(def->arcHead->next, doc->arcHead->next);
    std::swap(def->textHead->next, doc->textHead->next);
    std::swap(def->dimensionHead->next, doc->dimensionHead->next);
    std::swap(def->polylineHead->next, doc->polylineHead->next);
    std::swap(def->areaHead->next, doc->areaHead->next);
    return def;
}

SymbolDefRecord* LineDefinition(const std::string& name, Float64 length) {
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    SetName(def->name, name);
    LineRecord* l = NewLineRecord();
    l->x2 = length, l->pen = 1, l->penBlock.penWidth100 = 25;
    def->lineHead->next = l;
    return def;
}

struct Bytes {
    std::vector<UInt8> b;
    void U16(UInt16 v) { b.insert(b.end(), {UInt8(v >> 8), UInt8(v)}); }
    void U32(UInt32 v) { U16(UInt16(v >> 16)), U16(UInt16(v)); }
    void Real(Float64 v, SInt16 format) {
        if (format == kRealDouble) {
            UInt64 bits;
            std::memcpy(&bits, &v, 8);
            for (int i = 0; i < 8; ++i)
                b.push_back(UInt8(bits >> (56 - 8 * i)));
            return;
        }
        // Extended: sign and exponent word, (two pad bytes,) 64-bit significand.
        int exponent = 0;
        Float64 fraction = std::frexp(std::fabs(v), &exponent);
        UInt16 word = v == 0 ? 0 : UInt16((v < 0 ? 0x8000 : 0) | (exponent - 1 + 16383));
        UInt64 significand = v == 0 ? 0 : UInt64(std::ldexp(fraction, 64));
        U16(word);
        if (format == kRealExtended96) U16(0);
        for (int i = 0; i < 8; ++i)
            b.push_back(UInt8(significand >> (56 - 8 * i)));
    }
    void Name(const std::string& name, size_t capacity) {
        b.push_back(UInt8(name.size()));
        b.insert(b.end(), name.begin(), name.end());
        b.insert(b.end(), capacity - name.size(), 0);
    }
};

// A library's header and directory; slots given as {name, offset, format, scale flag}.
struct Slot {
    std::string name;
    UInt32 offset;
    UInt8 format = 2, scale = 1;
};
std::vector<UInt8> LibraryHeader(const std::vector<std::pair<int, Slot>>& slots, UInt16 lastSlot = 1023,
                                 UInt16 version = 258) {
    Bytes h;
    h.U16(version), h.U16(lastSlot);
    h.b.resize(kLibraryDirectoryBytes, 0);
    for (const auto& [i, s] : slots) {
        UInt8* p = h.b.data() + 4 + i * 26;
        p[0] = UInt8(s.name.size());
        std::memcpy(p + 1, s.name.data(), s.name.size() < 19 ? s.name.size() : 19);
        p[20] = UInt8(s.offset >> 24), p[21] = UInt8(s.offset >> 16), p[22] = UInt8(s.offset >> 8);
        p[23] = UInt8(s.offset);
        p[24] = s.format, p[25] = s.scale;
    }
    return h.b;
}

// A record of an older program: definition, marker (none for 0x119), one line of that version.
std::vector<UInt8> OldRecord(SInt16 version, SInt16 format, bool scaleStored) {
    Bytes r;
    for (Float64 v : {0.0, 0.0, 7.0, 3.0})
        r.Real(v, format);
    r.Name("Old", 19);
    r.U16(0);
    if (scaleStored) r.Real(4.0, format);
    if (version == 0x700) r.U16(0xFFFE);
    if (version == 0x211) r.U16(0xFFFF);
    r.U16(1); // one line
    r.U16(UInt16(-3)), r.U16(0), r.U16(5), r.U16(2), r.U16(0);
    for (Float64 v : {1.5, -2.0, 7.0, 3.0, 1.0})
        r.Real(v, format);
    if (version >= kPenFlagsVersion) r.U16(0);
    if (version >= kPenBlockVersion) r.U16(1), r.U16(2), r.U16(3), r.U16(35), r.U32(0);
    for (int g = 0; g < 5; ++g)
        r.U16(0);
    return r.b;
}

class SymbolLibraryTest : public FilesTest {
  protected:
    void SetUp() override {
        FilesTest::SetUp();
        InitSymbolLibraryList();
        folder = MakeTestFolder("SymbolLibrary");
    }
    void TearDown() override {
        DisposeSymbolLibraryList();
        FilesTest::TearDown();
    }
    std::string Write(const std::string& leaf, const std::vector<UInt8>& bytes) {
        std::string path = folder + "/" + leaf;
        WriteFileBytes(path, bytes);
        return path;
    }
    std::string NewLibrary(const std::string& leaf = "Parts.lib") {
        FSRef ref = RefFor(folder + "/" + leaf);
        EXPECT_EQ(CreateSymbolLibrary(&ref), noErr);
        EXPECT_EQ(OpenSymbolLibraryFile(&ref), noErr);
        return ref.path;
    }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (SInt16 i = 0; SymbolLibraryNodeAt(i) != nullptr; ++i)
            names.push_back(Name(SymbolLibraryNodeAt(i)->name));
        return names;
    }
    std::string folder;
};

// A scripted clash dialog: answers in turn, each with a new name and the apply-to-all box.
struct ClashAnswer {
    SInt16 outcome;
    std::string newName;
    Boolean all;
};
std::vector<ClashAnswer> gAnswers;
std::vector<std::string> gAsked;
SInt16 ScriptedClash(Boolean, ConstStr255Param name, Str255 newName, Boolean* all) {
    gAsked.push_back(Name(name));
    if (gAnswers.empty()) return kClashStop;
    ClashAnswer a = gAnswers.front();
    gAnswers.erase(gAnswers.begin());
    SetName(newName, a.newName);
    *all = a.all;
    return a.outcome;
}

} // namespace

TEST_F(SymbolLibraryTest, ANewLibraryIsEmptyTypedAndEveryKindReadsBackEqual) {
    std::string path = NewLibrary();
    std::vector<UInt8> fresh = ReadFileBytes(path);
    ASSERT_EQ(fresh.size(), size_t(kLibraryDirectoryBytes));
    EXPECT_EQ(fresh, LibraryHeader({}));
    FSRef ref = RefFor(path);
    FInfo info{};
    FSGetFinderInfo(&ref, &info);
    EXPECT_EQ(info.fdType, 0x4673796DU);
    EXPECT_EQ(info.fdCreator, kSymbolLibraryCreator);
    EXPECT_TRUE(Listed().empty());
    EXPECT_FALSE(FileExists(path + ".lib-part"));

    DocWindowRecord* doc = NewDoc();
    SymbolDefRecord* every = EveryKindDefinition(doc, "Every kind");
    SymbolDefRecord* longName = LineDefinition("A name of twenty-five ch", 3);
    SymbolDefRecord* bolt = LineDefinition("Bolt", 9);
    SymbolDefRecord* defs[] = {every, longName, bolt};
    EXPECT_EQ(CopySymbolsToLibrary(defs, 3, nullptr, nullptr), 3);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A name of twenty-fi", "Bolt", "Every kind"}));

    for (SInt16 i = 0; i < 3; ++i) {
        SymbolDefRecord* back = nullptr;
        ASSERT_EQ(ReadLibrarySymbol(doc, i, &back), noErr);
        const SymbolDefRecord* original = i == 0 ? longName : i == 1 ? bolt : every;
        EXPECT_EQ(DefinitionBytes(back), DefinitionBytes(original)) << i;
        EXPECT_EQ(back->scale, original->scale);
        DisposeSymbolDefRecord(&back);
    }
    // Closed and opened again, the library lists the same.
    CloseSymbolLibrary();
    EXPECT_EQ(OpenSymbolLibraryFile(&ref), noErr);
    EXPECT_EQ(Listed().size(), 3U);
    for (SymbolDefRecord* d : defs)
        DisposeSymbolDefRecord(&d);
    EXPECT_TRUE(ErrorMessagesShown().empty());
}

TEST_F(SymbolLibraryTest, OlderRecordsOfEveryVersionAndNumberFormatAreRead) {
    DocWindowRecord* doc = NewDoc();
    struct Case {
        SInt16 version, format;
        bool scaleStored;
    } cases[] = {
        {0x700, 2, true},  {0x700, 0, true}, {0x700, 1, false}, {0x211, 2, true}, {0x211, 1, true},
        {0x211, 0, false}, {0x119, 2, true}, {0x119, 0, true},  {0x119, 1, true}, {0x119, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << " format " << c.format);
        std::vector<UInt8> file = LibraryHeader({{4, {"Old", 26628, UInt8(c.format), UInt8(c.scaleStored)}}});
        std::vector<UInt8> record = OldRecord(c.version, c.format, c.scaleStored);
        file.insert(file.end(), record.begin(), record.end());
        FSRef ref = RefFor(Write("old.LIB", file));
        ASSERT_EQ(OpenSymbolLibraryFile(&ref), noErr);
        SymbolDefRecord* def = nullptr;
        ASSERT_EQ(ReadLibrarySymbol(doc, 0, &def), noErr);
        EXPECT_EQ(def->scale, c.scaleStored ? 4.0 : 1.0);
        EXPECT_EQ(def->maxX, 7.0);
        const LineRecord* l = def->lineHead->next;
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->next, nullptr);
        EXPECT_EQ(l->x1, 1.5);
        EXPECT_EQ(l->y1, -2.0);
        EXPECT_EQ(l->layer, 5);
        // Before the pen block the width comes from the drawing's pen table.
        if (c.version >= kPenBlockVersion) EXPECT_EQ(l->penBlock.penWidth100, 35);
        EXPECT_EQ(def->arcHead->next, nullptr);
        DisposeSymbolDefRecord(&def);
    }
    EXPECT_TRUE(ErrorMessagesShown().empty());
}

TEST_F(SymbolLibraryTest, ALibraryIsRecognisedByTypeOrExtension) {
    struct Case {
        const char* leaf;
        OSType type;
        bool library;
    } cases[] = {
        {"a.lib", 0, true},
        {"b.BiB", 0x54455854, true},
        {"c.txt", 0x4673796D, true},
        {"d", 0x4653594D, true},
        {"e.lib.txt", 0, false},
        {"f.libx", 0, false},
        {"g.cadx", 0x46534D59, false},
    };
    for (const Case& c : cases) {
        ClearRecordedAlerts();
        FSRef ref = RefFor(Write(c.leaf, LibraryHeader({})));
        if (c.type != 0) {
            FInfo info{};
            info.fdType = c.type;
            FSSetFinderInfo(&ref, info);
        }
        EXPECT_EQ(IsSymbolLibraryFile(&ref), c.library) << c.leaf;
        EXPECT_EQ(OpenSymbolLibraryFile(&ref) == noErr, c.library) << c.leaf;
        EXPECT_EQ(ErrorMessagesShown(), c.library ? std::vector<SInt16>{} : std::vector<SInt16>{55})
            << c.leaf;
        EXPECT_EQ(SymbolLibraryIsOpen(), c.library);
        CloseSymbolLibrary();
    }
}

TEST_F(SymbolLibraryTest, DamagedLibrariesListWhatCanBeReadAndChangeNothing) {
    DocWindowRecord* doc = NewDoc();
    std::vector<UInt8> good = OldRecord(0x700, 2, true);
    auto with = [&](std::vector<UInt8> header, const std::vector<UInt8>& tail) {
        header.insert(header.end(), tail.begin(), tail.end());
        return header;
    };
    std::vector<UInt8> cutRecord(good.begin(), good.end() - 30);
    std::vector<UInt8> cutDirectory = LibraryHeader({});
    cutDirectory.pop_back();
    std::vector<UInt8> hugeCount = good;
    hugeCount[hugeCount.size() - 10] = 0xFF; // the arc group's count
    hugeCount[hugeCount.size() - 9] = 0xF0;
    std::vector<UInt8> badPolyline = good;
    badPolyline.resize(badPolyline.size() - 4); // the polyline and area counts
    Bytes poly;
    poly.U16(1);
    poly.b.insert(poly.b.end(), 20, 0x7F); // a polyline cut inside its fixed fields
    badPolyline.insert(badPolyline.end(), poly.b.begin(), poly.b.end());

    struct Case {
        const char* what;
        std::vector<UInt8> file;
        OSErr open;
        std::vector<SInt16> messages;
        std::vector<std::string> listed;
        bool readable; // the first listed symbol
    } cases[] = {
        {"garbage", std::vector<UInt8>(300, 0xA5), eofErr, {90}, {}, false},
        {"cut directory", cutDirectory, eofErr, {90}, {}, false},
        {"version", LibraryHeader({}, 1023, 257), paramErr, {11}, {}, false},
        {"last slot 0 lists nothing",
         with(LibraryHeader({{0, {"A", 26628}}}, 0), good),
         noErr,
         {},
         {},
         false},
        {"last slot past the directory",
         with(LibraryHeader({{1022, {"A", 26628}}, {1023, {"B", 26628}}}, 65535), good),
         noErr,
         {},
         {"A"},
         true},
        {"long slot name clamped",
         with(LibraryHeader({{0, {std::string(19, 'N'), 26628}}}), good),
         noErr,
         {},
         {std::string(19, 'N')},
         true},
        {"offsets and formats checked",
         with(LibraryHeader({{0, {"In directory", 100}},
                             {1, {"Past end", 99999}},
                             {2, {"Format 3", 26628, 3}},
                             {3, {"Good", 26628}}}),
              good),
         noErr,
         {6},
         {"Good"},
         true},
        {"record cut short",
         with(LibraryHeader({{0, {"Cut", 26628}}}), cutRecord),
         noErr,
         {},
         {"Cut"},
         false},
        {"group count past the end",
         with(LibraryHeader({{0, {"Huge", 26628}}}), hugeCount),
         noErr,
         {},
         {"Huge"},
         false},
        {"failed polyline",
         with(LibraryHeader({{0, {"Poly", 26628}}}), badPolyline),
         noErr,
         {},
         {"Poly"},
         false},
    };
    cases[5].file[4] = 200; // the slot's length byte says 200
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearRecordedAlerts();
        std::string path = Write("bad.lib", c.file);
        FSRef ref = RefFor(path);
        EXPECT_EQ(OpenSymbolLibraryFile(&ref), c.open);
        EXPECT_EQ(ErrorMessagesShown(), c.messages);
        EXPECT_EQ(SymbolLibraryIsOpen(), c.open == noErr);
        EXPECT_EQ(Listed(), c.listed);
        if (!c.listed.empty()) {
            SymbolDefRecord* def = nullptr;
            EXPECT_EQ(ReadLibrarySymbol(doc, 0, &def) == noErr, c.readable);
            EXPECT_EQ(def != nullptr, c.readable);
            if (def != nullptr) DisposeSymbolDefRecord(&def);
        }
        EXPECT_EQ(ReadFileBytes(path), c.file);
        CloseSymbolLibrary();
    }
    EXPECT_EQ(CountAfter(doc->symbolDefHead), 0);
}

TEST_F(SymbolLibraryTest, AFullLibraryRefusesTheCopyAndKeepsEverySymbol) {
    std::vector<UInt8> good = OldRecord(0x700, 2, true);
    // The last-slot word lists two slots, both used; a third symbol has no listed slot to go to.
    std::vector<UInt8> file = LibraryHeader({{0, {"A", 26628}}, {1, {"B", 26628}}}, 2);
    file.insert(file.end(), good.begin(), good.end());
    std::string path = Write("full.lib", file);
    FSRef ref = RefFor(path);
    ASSERT_EQ(OpenSymbolLibraryFile(&ref), noErr);
    SymbolDefRecord* def = LineDefinition("C", 1);
    EXPECT_EQ(CopySymbolsToLibrary(&def, 1, nullptr, nullptr), 0);
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{8});
    EXPECT_EQ(ReadFileBytes(path), file);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B"}));
    DisposeSymbolDefRecord(&def);
}

TEST_F(SymbolLibraryTest, AFailedWriteLeavesTheLibraryAsItWas) {
    DocWindowRecord* doc = NewDoc();
    std::string path = NewLibrary();
    SymbolDefRecord* first = LineDefinition("Nut", 1);
    ASSERT_EQ(StoreLibrarySymbol(first, first->name, false), noErr);
    std::vector<UInt8> before = ReadFileBytes(path);
    SymbolDefRecord* second = LineDefinition("Nut", 2);

    FSFaultInjection full;
    full.writeBudget = 40; // the record does not fit
    FSFaultInjection flush;
    flush.failFlushAt = 2; // the directory's flush fails after the record's
    for (const FSFaultInjection& f : {full, flush}) {
        ClearRecordedAlerts();
        FSSetFaultInjection(f);
        EXPECT_NE(StoreLibrarySymbol(second, second->name, true), noErr);
        FSClearFaultInjection();
        EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{10});
        EXPECT_EQ(ReadFileBytes(path), before);
        SymbolDefRecord* back = nullptr;
        ASSERT_EQ(ReadLibrarySymbol(doc, 0, &back), noErr);
        EXPECT_EQ(back->lineHead->next->x2, 1.0); // the replaced symbol is still there
        DisposeSymbolDefRecord(&back);
    }
    DisposeSymbolDefRecord(&first);
    DisposeSymbolDefRecord(&second);
}

TEST_F(SymbolLibraryTest, ClashesIntoTheLibraryStopRenameOrReplaceOnceOrForAll) {
    DocWindowRecord* doc = NewDoc();
    std::string path = NewLibrary();
    SymbolDefRecord* a = LineDefinition("A", 1);
    SymbolDefRecord* b = LineDefinition("B", 1);
    SymbolDefRecord* c = LineDefinition("C", 1);
    SymbolDefRecord* all[] = {a, b, c};
    ASSERT_EQ(CopySymbolsToLibrary(all, 3, nullptr, nullptr), 3);
    SInt16 slotOfB = SymbolLibraryNodeAt(1)->slot;
    a->lineHead->next->x2 = b->lineHead->next->x2 = c->lineHead->next->x2 = 2;

    // Stop ends the whole copy.
    gAnswers = {{kClashStop, "", false}}, gAsked.clear();
    EXPECT_EQ(CopySymbolsToLibrary(all, 3, ScriptedClash, nullptr), 0);
    EXPECT_EQ(gAsked, std::vector<std::string>{"A"});

    // A rename that is taken too asks again; then replace for all settles B and C unasked.
    gAnswers = {{kClashRename, "B", false}, {kClashRename, "A2", false}, {kClashReplace, "", true}};
    gAsked.clear();
    size_t sizeBefore = ReadFileBytes(path).size();
    EXPECT_EQ(CopySymbolsToLibrary(all, 3, ScriptedClash, nullptr), 3);
    EXPECT_EQ(gAsked, (std::vector<std::string>{"A", "B", "B"}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "A2", "B", "C"}));
    EXPECT_GT(ReadFileBytes(path).size(), sizeBefore);
    EXPECT_EQ(SymbolLibraryNodeAt(2)->slot, slotOfB); // the replaced symbol keeps its slot
    SymbolDefRecord* back = nullptr;
    ASSERT_EQ(ReadLibrarySymbol(doc, 2, &back), noErr);
    EXPECT_EQ(back->lineHead->next->x2, 2.0);
    DisposeSymbolDefRecord(&back);
    for (SymbolDefRecord* d : all)
        DisposeSymbolDefRecord(&d);
}

TEST_F(SymbolLibraryTest, ReplacingInTheDrawingMovesEveryInstanceToTheNewDefinition) {
    DocWindowRecord* doc = NewDoc();
    NewLibrary();
    SymbolDefRecord* stored = LineDefinition("Screw", 8);
    ASSERT_EQ(StoreLibrarySymbol(stored, stored->name, false), noErr);
    DisposeSymbolDefRecord(&stored);

    FillDocument(doc); // a "Screw" with one instance
    SymbolDefRecord* old = FindSymbolDefinition(doc, reinterpret_cast<const unsigned char*>("\x05Screw"));
    ASSERT_NE(old, nullptr);
    SymbolInstanceRecord* second = CreateSymbolInstance(doc, 5, 5, 0, 1, 1, old);
    ASSERT_NE(second, nullptr);

    SInt16 first = 0;
    gAnswers = {{kClashRename, "Screw 2", false}}, gAsked.clear();
    EXPECT_EQ(CopySymbolsToDrawing(doc, &first, 1, ScriptedClash, nullptr), 1);
    EXPECT_EQ(CountSymbolDefinitions(doc), 2);
    EXPECT_EQ(CountSymbolInstances(doc, old), 2);

    gAnswers = {{kClashReplace, "", false}};
    EXPECT_EQ(CopySymbolsToDrawing(doc, &first, 1, ScriptedClash, nullptr), 1);
    EXPECT_EQ(CountSymbolDefinitions(doc), 2);
    SymbolDefRecord* fresh = FindSymbolDefinition(doc, reinterpret_cast<const unsigned char*>("\x05Screw"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->lineHead->next->x2, 8.0);
    for (SymbolInstanceRecord* s = doc->instanceHead->next; s; s = s->next)
        EXPECT_EQ(s->definition, fresh);
    EXPECT_EQ(CountSymbolInstances(doc, fresh), 2);
    EXPECT_TRUE(doc->drawing->changed);

    gAnswers = {{kClashStop, "", false}};
    EXPECT_EQ(CopySymbolsToDrawing(doc, &first, 1, ScriptedClash, nullptr), 0);
    EXPECT_EQ(CountSymbolDefinitions(doc), 2);
}

TEST_F(SymbolLibraryTest, RenamingAndDeletingInBothLists) {
    DocWindowRecord* doc = NewDoc();
    std::string path = NewLibrary();
    SymbolDefRecord* a = LineDefinition("Anchor", 1);
    SymbolDefRecord* b = LineDefinition("Bolt", 1);
    SymbolDefRecord* both[] = {a, b};
    ASSERT_EQ(CopySymbolsToLibrary(both, 2, nullptr, nullptr), 2);

    EXPECT_EQ(RenameLibrarySymbol(0, reinterpret_cast<const unsigned char*>("\x04"
                                                                            "Bolt")),
              dupFNErr);
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{3});
    ASSERT_EQ(RenameLibrarySymbol(0, reinterpret_cast<const unsigned char*>("\x04Zinc")), noErr);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Bolt", "Zinc"}));
    SInt16 zinc = 1;
    ASSERT_EQ(DeleteLibrarySymbols(&zinc, 1), noErr);
    EXPECT_EQ(Listed(), std::vector<std::string>{"Bolt"});
    FSRef ref = RefFor(path);
    CloseSymbolLibrary();
    ASSERT_EQ(OpenSymbolLibraryFile(&ref), noErr);
    EXPECT_EQ(Listed(), std::vector<std::string>{"Bolt"});

    // A failed directory write is told and changes nothing.
    std::vector<UInt8> before = ReadFileBytes(path);
    FSFaultInjection f;
    f.failFlushAt = 1;
    FSSetFaultInjection(f);
    ClearRecordedAlerts();
    EXPECT_NE(RenameLibrarySymbol(0, reinterpret_cast<const unsigned char*>("\x03Pin")), noErr);
    FSClearFaultInjection();
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{10});

    FillDocument(doc);
    SymbolDefRecord* screw = doc->symbolDefHead->next;
    ClearRecordedAlerts();
    EXPECT_TRUE(RenameDrawingSymbol(doc, screw, reinterpret_cast<const unsigned char*>("\x06Washer")));
    EXPECT_EQ(Name(screw->name), "Washer");
    CreateSymbolInstance(doc, 1, 1, 0, 1, 1, screw);
    CreateSymbolInstance(doc, 2, 1, 0, 1, 1, screw);
    EXPECT_EQ(CountSymbolInstances(doc, screw), 3);
    DeleteDrawingSymbol(doc, screw);
    EXPECT_EQ(CountSymbolDefinitions(doc), 0);
    EXPECT_EQ(CountAfter(doc->instanceHead), 0);
    for (SymbolDefRecord* d : both)
        DisposeSymbolDefRecord(&d);
}
