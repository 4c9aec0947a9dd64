// Both forks of a file: AppleDouble sidecars (ours and a Mac's with extended attributes), the
// resource-fork format, and sidecars following their files through rename, exchange and delete.
#include "Platform/AppleDouble.h"
#include "Platform/FileManager.h"
#include "Platform/ResourceFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<UInt8> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<UInt8>(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const std::string& path, const std::vector<UInt8>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
void WriteText(const std::string& path, const std::string& text) {
    WriteAll(path, std::vector<UInt8>(text.begin(), text.end()));
}
std::string ReadText(const std::string& path) {
    std::vector<UInt8> b = ReadAll(path);
    return std::string(b.begin(), b.end());
}
bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}
FSRef Ref(const std::string& path) {
    FSRef ref;
    EXPECT_EQ(FSMakeRef(path.c_str(), &ref), noErr);
    return ref;
}
void Put32(std::vector<UInt8>& v, UInt32 x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(UInt8(x >> s));
}

// Gives a file a resource fork holding one resource and the given type.
void GiveForks(const std::string& path, const std::string& marker, OSType type) {
    FSRef ref = Ref(path);
    SInt16 res = FSOpenResFile(&ref, fsRdWrPerm);
    ASSERT_GT(res, 0);
    ASSERT_EQ(AddResourceBlock(res, FOUR_CHAR("TEXT"), 128, marker.data(), Size(marker.size()), nullptr),
              noErr);
    CloseResFile(res);
    ASSERT_EQ(ResError(), noErr);
    FInfo info{};
    ASSERT_EQ(FSGetFinderInfo(&ref, &info), noErr);
    info.fdType = type;
    ASSERT_EQ(FSSetFinderInfo(&ref, info), noErr);
}

std::string MarkerOf(const std::string& path) {
    FSRef ref = Ref(path);
    SInt16 res = FSOpenResFile(&ref, fsRdPerm);
    if (res < 0) return "";
    std::vector<UInt8> bytes;
    GetResourceBlock(res, FOUR_CHAR("TEXT"), 128, &bytes);
    CloseResFile(res);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(ResourceForkFormat, RoundTripsTypesIdsNamesAndData) {
    std::vector<ResourceEntry> in(4);
    in[0] = {FOUR_CHAR("SPZF"), 129, 0, true, "Second", {1, 2, 3}};
    in[1] = {FOUR_CHAR("Kopf"), 128, 0, true, "Kopf-/Fu\xA7zeile", std::vector<UInt8>(1536, 7)};
    in[2] = {FOUR_CHAR("SPZF"), 128, 0, true, "First", {}};
    in[3] = {FOUR_CHAR("pset"), -300, 0, false, "", {9}};
    std::vector<UInt8> bytes;
    ASSERT_EQ(BuildResourceFork(in, &bytes), noErr);
    // The header names data at 256 and the map behind it.
    EXPECT_EQ(bytes[2], 0x01);
    std::vector<ResourceEntry> out;
    ASSERT_EQ(ParseResourceFork(bytes.data(), bytes.size(), &out), noErr);
    ASSERT_EQ(out.size(), 4u);
    for (const ResourceEntry& want : in) {
        bool found = false;
        for (const ResourceEntry& got : out)
            if (got.type == want.type && got.id == want.id) {
                found = true;
                EXPECT_EQ(got.data, want.data);
                EXPECT_EQ(got.hasName, want.hasName);
                EXPECT_EQ(got.name, want.name);
            }
        EXPECT_TRUE(found);
    }
    // An empty fork holds nothing; an empty map encodes and decodes.
    EXPECT_EQ(ParseResourceFork(nullptr, 0, &out), noErr);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(BuildResourceFork({}, &bytes), noErr);
    EXPECT_EQ(ParseResourceFork(bytes.data(), bytes.size(), &out), noErr);
    EXPECT_TRUE(out.empty());
}

TEST(ResourceForkFormat, RefusesEveryTruncationAndOutOfRangeOffset) {
    std::vector<ResourceEntry> in(2);
    in[0] = {FOUR_CHAR("TEXT"), 1000, 0, true, "log", std::vector<UInt8>(40, 'x')};
    in[1] = {FOUR_CHAR("vers"), 2, 0, false, "", {7, 1}};
    std::vector<UInt8> bytes, out;
    ASSERT_EQ(BuildResourceFork(in, &bytes), noErr);
    std::vector<ResourceEntry> entries;
    for (size_t n = 1; n < bytes.size(); ++n)
        EXPECT_EQ(ParseResourceFork(bytes.data(), n, &entries), mapReadErr) << n;
    // A data length that claims more than the data area holds.
    std::vector<UInt8> bad = bytes;
    bad[256] = 0x7F;
    EXPECT_EQ(ParseResourceFork(bad.data(), bad.size(), &entries), mapReadErr);
    // Two references sharing one block of data.
    size_t map = size_t(bytes[4]) << 24 | size_t(bytes[5]) << 16 | size_t(bytes[6]) << 8 | bytes[7];
    bad = bytes;
    size_t refs = map + 28 + 2 + 2 * 8;
    std::memcpy(&bad[refs + 12 + 5], &bad[refs + 5], 3);
    EXPECT_EQ(ParseResourceFork(bad.data(), bad.size(), &entries), mapReadErr);
}

TEST(AppleDoubleSidecar, ReadsAMacSidecarWithExtendedAttributesAndKeepsThem) {
    // As a Mac writes it: Finder information at 50 followed by an attribute block, then the fork.
    std::vector<UInt8> attrs = {0, 0, 'A', 'T', 'T', 'R', 0, 0, 0, 1, 0, 0, 0x0E, 0xE2};
    attrs.resize(3778, 0xA5);
    std::vector<UInt8> fork;
    ASSERT_EQ(BuildResourceFork({{FOUR_CHAR("vers"), 2, 0, false, "", {0x03, 0x50}}}, &fork), noErr);
    std::vector<UInt8> file;
    Put32(file, kAppleDoubleMagic);
    Put32(file, kAppleDoubleVersion);
    const char* filler = "Mac OS X        ";
    file.insert(file.end(), filler, filler + 16);
    file.push_back(0), file.push_back(2);
    Put32(file, 9), Put32(file, 50), Put32(file, UInt32(32 + attrs.size()));
    Put32(file, 2), Put32(file, UInt32(82 + attrs.size())), Put32(file, UInt32(fork.size()));
    const UInt8 info[32] = {'F', 'Z', 'E', '7', 'V', 'e', 'v', 'e', 0x08, 0x00};
    file.insert(file.end(), info, info + 32);
    file.insert(file.end(), attrs.begin(), attrs.end());
    file.insert(file.end(), fork.begin(), fork.end());

    std::string folder = MakeTestFolder("MacSidecar");
    WriteText(folder + "/Plan.cadx", "data");
    WriteAll(folder + "/._Plan.cadx", file);
    FSRef ref = Ref(folder + "/Plan.cadx");
    FInfo finder{};
    ASSERT_EQ(FSGetFinderInfo(&ref, &finder), noErr);
    EXPECT_EQ(finder.fdType, FOUR_CHAR("FZE7"));
    EXPECT_EQ(finder.fdCreator, FOUR_CHAR("Veve"));
    EXPECT_EQ(finder.fdFlags, kIsStationery);
    SInt16 res = FSOpenResFile(&ref, fsRdPerm);
    ASSERT_GT(res, 0);
    std::vector<UInt8> vers;
    EXPECT_TRUE(GetResourceBlock(res, FOUR_CHAR("vers"), 2, &vers));
    EXPECT_EQ(vers, (std::vector<UInt8>{0x03, 0x50}));
    CloseResFile(res);

    // Changing the flags keeps the attributes where the Mac expects them.
    finder.fdFlags = 0;
    ASSERT_EQ(FSSetFinderInfo(&ref, finder), noErr);
    std::vector<UInt8> rewritten = ReadAll(folder + "/._Plan.cadx");
    ASSERT_GE(rewritten.size(), 82 + attrs.size());
    EXPECT_TRUE(std::equal(attrs.begin(), attrs.end(), rewritten.begin() + 82));
    AppleDoubleContents back;
    ASSERT_EQ(ParseAppleDouble(rewritten.data(), rewritten.size(), &back), noErr);
    EXPECT_EQ(back.resourceFork, fork);
}

TEST(AppleDoubleSidecar, DamagedSidecarsReadAsNoneAndFilesWithoutOneHaveNoType) {
    std::string folder = MakeTestFolder("DamagedSidecar");
    WriteText(folder + "/a.cadx", "data");
    FSRef ref = Ref(folder + "/a.cadx");
    FInfo info{};
    EXPECT_EQ(FSGetFinderInfo(&ref, &info), noErr);
    EXPECT_EQ(info.fdType, 0u);
    EXPECT_EQ(FSOpenResFile(&ref, fsRdPerm), -1);
    EXPECT_EQ(ResError(), resFNotFound);

    std::vector<UInt8> sidecar = BuildAppleDouble(AppleDoubleContents{});
    for (size_t n = 0; n < 26; ++n) {
        AppleDoubleContents c;
        EXPECT_EQ(ParseAppleDouble(sidecar.data(), n, &c), paramErr) << n;
    }
    sidecar[33] = 0xFF; // the first entry's offset beyond the end
    WriteAll(folder + "/._a.cadx", sidecar);
    EXPECT_EQ(FSGetFinderInfo(&ref, &info), noErr);
    EXPECT_EQ(info.fdType, 0u);
    EXPECT_EQ(FSOpenResFile(&ref, fsRdPerm), -1);
    // Writing replaces the damaged sidecar with a sound one.
    GiveForks(folder + "/a.cadx", "fresh", FOUR_CHAR("FZE7"));
    EXPECT_EQ(MarkerOf(folder + "/a.cadx"), "fresh");
}

TEST(SidecarsFollowFiles, RenameDeleteAndNoReplaceRename) {
    std::string folder = MakeTestFolder("SidecarRename");
    WriteText(folder + "/a", "A");
    GiveForks(folder + "/a", "fork of a", FOUR_CHAR("FZE7"));
    FSRef a = Ref(folder + "/a"), b = Ref(folder + "/b"), c = Ref(folder + "/c");

    ASSERT_EQ(FSRenameNoReplace(&a, &b), noErr);
    EXPECT_FALSE(Exists(folder + "/._a"));
    EXPECT_EQ(MarkerOf(folder + "/b"), "fork of a");

    WriteText(folder + "/c", "C");
    EXPECT_EQ(FSRenameNoReplace(&b, &c), dupFNErr);
    EXPECT_EQ(ReadText(folder + "/c"), "C");
    EXPECT_EQ(MarkerOf(folder + "/b"), "fork of a");

    // Replacing a file that has no sidecar by one that has: the fork comes along.
    ASSERT_EQ(FSRenameReplacing(&b, &c), noErr);
    EXPECT_EQ(ReadText(folder + "/c"), "A");
    EXPECT_EQ(MarkerOf(folder + "/c"), "fork of a");
    // And the other way round: the replaced file's sidecar does not survive it.
    WriteText(folder + "/d", "D");
    FSRef d = Ref(folder + "/d");
    ASSERT_EQ(FSRenameReplacing(&d, &c), noErr);
    EXPECT_FALSE(Exists(folder + "/._c"));

    GiveForks(folder + "/c", "again", FOUR_CHAR("FZE7"));
    ASSERT_EQ(FSDeleteObject(&c), noErr);
    EXPECT_FALSE(Exists(folder + "/c"));
    EXPECT_FALSE(Exists(folder + "/._c"));
}

TEST(SidecarsFollowFiles, ExchangeSwapsBothForksAtomicallyOrByTheFallbacks) {
    struct Case {
        const char* name;
        bool refuseExchange, refuseLinks;
    } cases[] = {{"atomic", false, false}, {"link", true, false}, {"copy", true, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        std::string folder = MakeTestFolder(std::string("Exchange-") + k.name);
        WriteText(folder + "/new", "new contents");
        WriteText(folder + "/old", "old contents");
        GiveForks(folder + "/new", "new fork", FOUR_CHAR("FZE7"));
        GiveForks(folder + "/old", "old fork", FOUR_CHAR("FZEI"));
        FSFaultInjection faults;
        faults.refuseAtomicExchange = k.refuseExchange;
        faults.refuseHardLinks = k.refuseLinks;
        FSSetFaultInjection(faults);
        FSRef a = Ref(folder + "/new"), b = Ref(folder + "/old");
        OSErr err = FSExchangeObjects(&a, &b);
        FSClearFaultInjection();
        ASSERT_EQ(err, noErr);
        EXPECT_EQ(ReadText(folder + "/old"), "new contents");
        EXPECT_EQ(ReadText(folder + "/new"), "old contents");
        EXPECT_EQ(MarkerOf(folder + "/old"), "new fork");
        EXPECT_EQ(MarkerOf(folder + "/new"), "old fork");
        // Nothing else is left in the folder.
        EXPECT_FALSE(Exists(folder + "/old.old" + std::to_string(getpid()) + "-0"));
    }
    // A file without a sidecar exchanged with one that has one: the sidecar changes sides.
    std::string folder = MakeTestFolder("ExchangeOneSidecar");
    WriteText(folder + "/x", "x");
    WriteText(folder + "/y", "y");
    GiveForks(folder + "/x", "x fork", FOUR_CHAR("FZE7"));
    FSRef x = Ref(folder + "/x"), y = Ref(folder + "/y");
    ASSERT_EQ(FSExchangeObjects(&x, &y), noErr);
    EXPECT_EQ(MarkerOf(folder + "/y"), "x fork");
    EXPECT_FALSE(Exists(folder + "/._x"));
}

TEST(SidecarsFollowFiles, WriteBudgetFailsTheWriteThatCrossesIt) {
    std::string folder = MakeTestFolder("WriteBudget");
    FSRef ref = Ref(folder + "/f");
    ASSERT_EQ(FSCreateFile(&ref), noErr);
    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenFork(&ref, fsWrPerm, &fork), noErr);
    FSFaultInjection faults;
    faults.writeBudget = 5;
    FSSetFaultInjection(faults);
    ByteCount done = 0;
    EXPECT_EQ(FSWriteFork(fork, fsAtMark, 0, 3, "abc", &done), noErr);
    EXPECT_EQ(FSWriteFork(fork, fsAtMark, 0, 3, "def", &done), dskFulErr);
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(FSWriteFork(fork, fsAtMark, 0, 1, "g", &done), dskFulErr);
    FSClearFaultInjection();
    EXPECT_EQ(FSCloseFork(fork), noErr);
    EXPECT_EQ(ReadText(ref.path), "abcde");
}

TEST(SidecarsFollowFiles, LongNamesKeepSidecarsWhereTheNameLeavesRoom) {
    // "._" and the name must fit 255 bytes; the sidecar's temporary name is shortened to fit.
    std::string folder = MakeTestFolder("LongSidecars");
    for (size_t length : {240u, 243u, 250u, 253u, 254u, 255u}) {
        SCOPED_TRACE(length);
        std::string path = folder + "/" + std::string(length, 'n');
        WriteText(path, "data");
        FSRef ref = Ref(path);
        bool fits = length <= 253;
        EXPECT_EQ(bool(SidecarNameFits(path.c_str())), fits);
        FInfo info{};
        info.fdType = FOUR_CHAR("FZE7");
        EXPECT_EQ(FSSetFinderInfo(&ref, info), fits ? noErr : bdNamErr);
        FInfo back{};
        EXPECT_EQ(FSGetFinderInfo(&ref, &back), noErr); // none is no error
        EXPECT_EQ(back.fdType, fits ? FOUR_CHAR("FZE7") : 0u);
    }
    std::vector<std::string> names;
    FSRef folderRef = Ref(folder);
    ASSERT_EQ(FSListFolder(&folderRef, &names), noErr);
    EXPECT_EQ(names.size(), 6u + 4u); // six files, four sidecars, no temporary file left
}

TEST(SidecarsFollowFiles, AnExchangeIsBothForksOrNeither) {
    std::string folder = MakeTestFolder("ExchangeOrNeither");
    WriteText(folder + "/new", "new contents");
    WriteText(folder + "/old", "old contents");
    GiveForks(folder + "/new", "new fork", FOUR_CHAR("FZE7"));
    GiveForks(folder + "/old", "old fork", FOUR_CHAR("FZE7"));
    FSRef a = Ref(folder + "/new"), b = Ref(folder + "/old");
    FSFaultInjection faults;
    faults.failSidecarExchange = true;
    FSSetFaultInjection(faults);
    Boolean exchanged = true;
    EXPECT_NE(FSExchangeObjects(&a, &b, &exchanged), noErr);
    EXPECT_FALSE(exchanged);
    EXPECT_EQ(ReadText(folder + "/old"), "old contents");
    EXPECT_EQ(MarkerOf(folder + "/old"), "old fork");
    // When even the way back fails, the caller learns that the data forks stand exchanged.
    faults.failExchangeBack = true;
    FSSetFaultInjection(faults);
    EXPECT_NE(FSExchangeObjects(&a, &b, &exchanged), noErr);
    FSClearFaultInjection();
    EXPECT_TRUE(exchanged);
    EXPECT_EQ(ReadText(folder + "/old"), "new contents");
    // The sidecars alone put that right.
    ASSERT_EQ(FSExchangeSidecars(&a, &b), noErr);
    EXPECT_EQ(MarkerOf(folder + "/old"), "new fork");
    EXPECT_EQ(MarkerOf(folder + "/new"), "old fork");
}

TEST(SidecarsFollowFiles, StaleSidecarTemporariesOfEndedProcessesGo) {
    std::string folder = MakeTestFolder("SidecarTemps");
    std::string mine = "._a.tmp" + std::to_string(getpid()) + "-1";
    std::vector<std::string> kept = {mine, "._a.tmp-1", "._a.tmpx-1", "._a.tmp1", "a.tmp99999999-1"};
    for (const std::string& name : kept)
        WriteText(folder + "/" + name, "x");
    WriteText(folder + "/._a.tmp99999999-2", "x");
    SInt32 pid = 0;
    EXPECT_TRUE(IsSidecarTempName("._a.tmp99999999-2", &pid));
    EXPECT_EQ(pid, 99999999);
    FSRef folderRef = Ref(folder);
    RemoveStaleWriterTemps(&folderRef, false);
    for (const std::string& name : kept)
        EXPECT_TRUE(Exists(folder + "/" + name)) << name;
    EXPECT_FALSE(Exists(folder + "/._a.tmp99999999-2"));
}
