// The file layer: fork round trips and positions, end of file, error codes, what is not a file,
// the private temporary folder with the leftovers of ended runs, and 1904-based dates.
#include "Platform/AppleDouble.h"
#include "Platform/FileManager.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string FolderFile(const std::string& folder, const char* name) {
    return MakeTestFolder(folder) + "/" + name;
}

} // namespace

TEST(FileManager, ForkRoundTripPositionsAndEndOfFile) {
    std::string path = FolderFile("forks", "data.bin");
    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsRdWrPerm, &fork), fnfErr);
    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsRdWrPerm | fsCreateMissing, &fork), noErr);
    ASSERT_GT(fork, 0);
    EXPECT_STREQ(FSRefLeafName(FSGetForkRef(fork)), "data.bin");

    ByteCount actual = 0;
    ASSERT_EQ(FSWriteFork(fork, fsAtMark, 0, 11, "hello world", &actual), noErr);
    EXPECT_EQ(actual, 11u);
    SInt64 pos = -1, size = -1;
    EXPECT_EQ(FSGetForkPosition(fork, &pos), noErr);
    EXPECT_EQ(pos, 11);

    char buf[32] = {};
    EXPECT_EQ(FSReadFork(fork, fsFromStart, 6, 5, buf, &actual), noErr);
    EXPECT_EQ(std::string(buf, actual), "world");
    EXPECT_EQ(FSReadFork(fork, fsFromLEOF, -11, 5, buf, &actual), noErr);
    EXPECT_EQ(std::string(buf, actual), "hello");
    EXPECT_EQ(FSReadFork(fork, fsFromMark, 1, 3, buf, &actual), noErr);
    EXPECT_EQ(std::string(buf, actual), "wor");
    // Asking for more than is left delivers the rest and reports the end.
    EXPECT_EQ(FSReadFork(fork, fsAtMark, 0, 10, buf, &actual), eofErr);
    EXPECT_EQ(std::string(buf, actual), "ld");
    EXPECT_EQ(FSReadFork(fork, fsAtMark, 0, 1, buf, &actual), eofErr);
    EXPECT_EQ(actual, 0u);

    EXPECT_EQ(FSSetForkPosition(fork, fsFromStart, -1), posErr);
    EXPECT_EQ(FSSetForkPosition(fork, fsFromStart, 50), eofErr);
    EXPECT_EQ(FSGetForkPosition(fork, &pos), noErr);
    EXPECT_EQ(pos, 11);

    // Shrinking pulls the mark back to the new end; growing leaves it.
    EXPECT_EQ(FSSetForkSize(fork, fsFromStart, 5), noErr);
    EXPECT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(FSGetForkPosition(fork, &pos), noErr);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(FSSetForkSize(fork, fsFromLEOF, 3), noErr);
    EXPECT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 8);
    EXPECT_EQ(FSFlushFork(fork), noErr);
    EXPECT_EQ(FSCloseFork(fork), noErr);
    EXPECT_EQ(FSCloseFork(fork), rfNumErr);
    EXPECT_EQ(FSReadFork(fork, fsAtMark, 0, 1, buf, &actual), rfNumErr);

    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsRdPerm, &fork), noErr);
    EXPECT_EQ(FSReadFork(fork, fsAtMark, 0, 8, buf, &actual), noErr);
    EXPECT_EQ(std::string(buf, 8), std::string("hello\0\0\0", 8));
    EXPECT_EQ(FSWriteFork(fork, fsAtMark, 0, 1, "x", &actual), wrPermErr);
    EXPECT_EQ(FSSetForkSize(fork, fsFromStart, 0), wrPermErr);
    EXPECT_EQ(FSCloseFork(fork), noErr);
}

TEST(FileManager, ReferenceNumbersAreReusedAndIndependent) {
    std::string folder = MakeTestFolder("refnums");
    FSIORefNum a = 0, b = 0, c = 0;
    ASSERT_EQ(FSOpenForkPath((folder + "/a").c_str(), fsWrPerm | fsCreateMissing, &a), noErr);
    ASSERT_EQ(FSOpenForkPath((folder + "/b").c_str(), fsWrPerm | fsCreateMissing, &b), noErr);
    EXPECT_NE(a, b);
    EXPECT_EQ(FSWriteFork(b, fsAtMark, 0, 2, "bb", nullptr), noErr);
    EXPECT_EQ(FSCloseFork(a), noErr);
    ASSERT_EQ(FSOpenForkPath((folder + "/c").c_str(), fsWrPerm | fsCreateMissing, &c), noErr);
    EXPECT_EQ(c, a);
    SInt64 pos = 0;
    EXPECT_EQ(FSGetForkPosition(b, &pos), noErr);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(FSCloseFork(b), noErr);
    EXPECT_EQ(FSCloseFork(c), noErr);
}

TEST(FileManager, ErrnoMapsOntoMacResultCodes) {
    struct Case {
        int err;
        OSErr code;
    } cases[] = {{0, noErr},           {ENOSPC, dskFulErr},       {EDQUOT, dskFulErr},
                 {ENOENT, fnfErr},     {EACCES, afpAccessDenied}, {EPERM, permErr},
                 {ENOMEM, memFullErr}, {EROFS, wPrErr},           {EEXIST, dupFNErr},
                 {EIO, ioErr},         {ENOTEMPTY, fBsyErr},      {EMFILE, tmfoErr},
                 {EBADF, rfNumErr},    {ENAMETOOLONG, bdNamErr},  {EISDIR, notAFileErr},
                 {ENOTDIR, dirNFErr},  {ELOOP, linkLoopErr}};
    for (const Case& c : cases)
        EXPECT_EQ(OSErrFromErrno(c.err), c.code) << "errno " << c.err;
}

TEST(FileManager, CallsReportWhatWentWrong) {
    std::string folder = MakeTestFolder("errors");
    FSRef dir, file, missing;
    ASSERT_EQ(FSMakeRef(folder.c_str(), &dir), noErr);
    ASSERT_EQ(FSMakeChildRef(&dir, "one", &file), noErr);
    EXPECT_EQ(FSMakeChildRef(&dir, "a/b", &missing), bdNamErr);
    EXPECT_EQ(FSMakeChildRef(&dir, "", &missing), bdNamErr);
    EXPECT_EQ(FSMakeRef(std::string(2000, 'x').c_str(), &missing), bdNamErr);

    EXPECT_EQ(FSCreateFile(&file), noErr);
    EXPECT_EQ(FSCreateFile(&file), dupFNErr);
    FSIORefNum fork = 0;
    EXPECT_EQ(FSOpenFork(&dir, fsRdPerm, &fork), notAFileErr);
    EXPECT_EQ(fork, 0);
    EXPECT_EQ(FSOpenFork(&file, fsRdPerm | fsCreateMissing, &fork), paramErr);

    Boolean isDir = false;
    EXPECT_EQ(FSPathMakeRef((folder + "/nothing").c_str(), &missing, &isDir), fnfErr);
    EXPECT_EQ(FSPathMakeRef((folder + "/one/deeper").c_str(), &missing, &isDir), dirNFErr);
    EXPECT_EQ(FSPathMakeRef(folder.c_str(), &missing, &isDir), noErr);
    EXPECT_TRUE(isDir);

    EXPECT_EQ(FSDeleteObject(&dir), fBsyErr);
    EXPECT_EQ(FSDeleteObject(&file), noErr);
    EXPECT_EQ(FSDeleteObject(&file), fnfErr);

    if (geteuid() != 0) {
        ASSERT_EQ(FSCreateFile(&file), noErr);
        chmod(file.path, 0444);
        EXPECT_EQ(FSOpenFork(&file, fsWrPerm, &fork), afpAccessDenied);
        chmod(file.path, 0644);
    }
}

TEST(FileManager, WhatIsNotAFileIsRefusedWithoutWaiting) {
    std::string folder = MakeTestFolder("notfiles");
    std::string pipe = folder + "/pipe.cadx", loop = folder + "/loop.cadx";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(mkdir((folder + "/folder.cadx").c_str(), 0700), 0);
    ASSERT_EQ(symlink("/dev/null", (folder + "/device.cadx").c_str()), 0);
    ASSERT_EQ(symlink("loop2", loop.c_str()), 0);
    ASSERT_EQ(symlink("loop.cadx", (folder + "/loop2").c_str()), 0);
    std::ofstream(folder + "/plain.cadx") << "data";
    struct Case {
        const char* name;
        SInt8 permission;
        OSErr expected;
    } cases[] = {
        {"pipe.cadx", fsRdPerm, notAFileErr},   {"pipe.cadx", fsWrPerm, notAFileErr},
        {"pipe.cadx", fsRdWrPerm, notAFileErr}, {"folder.cadx", fsRdPerm, notAFileErr},
        {"device.cadx", fsRdPerm, notAFileErr}, {"device.cadx", fsWrPerm, noErr},
        {"loop.cadx", fsRdPerm, linkLoopErr},   {"plain.cadx", fsRdPerm, noErr},
    };
    PipeWatchdog watchdog({pipe});
    for (const Case& c : cases) {
        FSIORefNum fork = 0;
        EXPECT_EQ(FSOpenForkPath((folder + "/" + c.name).c_str(), c.permission, &fork), c.expected)
            << c.name << " permission " << int(c.permission);
        if (fork > 0) {
            // What did open reads as an ordinary file: waiting for data, not failing without it.
            char buf[4] = {};
            if (c.permission == fsRdPerm) {
                EXPECT_EQ(FSReadFork(fork, fsFromStart, 0, 4, buf, nullptr), noErr);
            }
            FSCloseFork(fork);
        } else {
            EXPECT_EQ(fork, 0);
        }
    }
    EXPECT_FALSE(watchdog.timedOut());

    // A link loop is named as such by every call that meets it, creating a file of its name too.
    FSRef ref, resolved;
    ASSERT_EQ(FSMakeRef(loop.c_str(), &ref), noErr);
    EXPECT_EQ(FSCreateFile(&ref), linkLoopErr);
    EXPECT_EQ(FSResolveLinks(&ref, &resolved), linkLoopErr);
    FInfo info;
    EXPECT_EQ(FSGetFinderInfo(&ref, &info), linkLoopErr);
    Boolean isDir = false;
    EXPECT_EQ(FSPathMakeRef(loop.c_str(), &ref, &isDir), linkLoopErr);
}

TEST(FileManager, ParentChildAndRenameOver) {
    std::string folder = MakeTestFolder("rename");
    FSRef dir, target, temp, parent;
    ASSERT_EQ(FSMakeRef((folder + "/").c_str(), &dir), noErr);
    ASSERT_EQ(FSMakeChildRef(&dir, "drawing", &target), noErr);
    ASSERT_EQ(FSMakeChildRef(&dir, "temp save file", &temp), noErr);
    ASSERT_EQ(FSGetParentRef(&target, &parent), noErr);
    EXPECT_STREQ(parent.path, dir.path);

    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenFork(&target, fsWrPerm | fsCreateMissing, &fork), noErr);
    FSWriteFork(fork, fsAtMark, 0, 3, "old", nullptr);
    FSCloseFork(fork);
    ASSERT_EQ(FSOpenFork(&temp, fsWrPerm | fsCreateMissing, &fork), noErr);
    FSWriteFork(fork, fsAtMark, 0, 4, "new!", nullptr);
    FSCloseFork(fork);

    EXPECT_EQ(FSRenameReplacing(&temp, &target), noErr);
    EXPECT_FALSE(FSRefExists(&temp));
    FSFileInfo info;
    ASSERT_EQ(FSGetFileInfo(&target, &info), noErr);
    EXPECT_EQ(info.dataSize, 4);
    EXPECT_FALSE(info.isDirectory);
    UInt32 now = 0;
    GetDateTime(&now);
    EXPECT_LE(info.modificationDate, now + 1);
    EXPECT_GE(info.modificationDate + 60, now);
}

TEST(FileManager, PrivateTempFolderIsMadeOnceAndRemoved) {
    FSRef first, again, file1, file2;
    ASSERT_EQ(GetPrivateTempFolder(&first), noErr);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    EXPECT_EQ(std::string(first.path).rfind(std::string(runtime) + "/", 0), 0u) << first.path;
    struct stat st;
    ASSERT_EQ(stat(first.path, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_EQ(GetPrivateTempFolder(&again), noErr);
    EXPECT_STREQ(first.path, again.path);
    ASSERT_EQ(FSCreateTempFile("journal", &file1), noErr);
    ASSERT_EQ(FSCreateTempFile("journal", &file2), noErr);
    EXPECT_STRNE(file1.path, file2.path);
    EXPECT_EQ(std::string(FSRefLeafName(&file1)).rfind("journal", 0), 0u);
    EXPECT_EQ(FSCreateTempFile("a/b", &file1), bdNamErr);

    DisposePrivateTempFolder();
    EXPECT_FALSE(FSRefExists(&first));
    EXPECT_FALSE(FSRefExists(&file2));
    ASSERT_EQ(GetPrivateTempFolder(&again), noErr);
    EXPECT_STRNE(first.path, again.path);
    DisposePrivateTempFolder();

    // Without a runtime folder the fallback is /tmp.
    std::string saved = runtime;
    unsetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(GetPrivateTempFolder(&again), noErr);
    EXPECT_EQ(std::string(again.path).rfind("/tmp/draftwerk-", 0), 0u) << again.path;
    DisposePrivateTempFolder();
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

namespace {

// A child process that makes its own private temporary folder and reports its path; it ends at
// once without removing it (as a crash would), or when `release` is closed.
pid_t RunChildWithTempFolder(std::string* path, int* release) {
    int report[2], hold[2];
    if (pipe(report) != 0 || pipe(hold) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        close(hold[1]);
        FSRef folder;
        if (GetPrivateTempFolder(&folder) != noErr) _exit(1);
        std::ofstream(std::string(folder.path) + "/journal") << "undo";
        if (write(report[1], folder.path, std::strlen(folder.path)) < 0) _exit(1);
        close(report[1]);
        char c;
        if (release != nullptr) (void)!read(hold[0], &c, 1);
        _exit(0);
    }
    close(report[1]);
    close(hold[0]);
    char buf[kFSRefPathCapacity] = {};
    ssize_t n = read(report[0], buf, sizeof buf - 1);
    close(report[0]);
    *path = n > 0 ? std::string(buf, size_t(n)) : std::string();
    if (release != nullptr)
        *release = hold[1];
    else
        close(hold[1]);
    return pid;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Points XDG_RUNTIME_DIR elsewhere for as long as it lives.
struct RuntimeFolder {
    std::string saved = std::getenv("XDG_RUNTIME_DIR");
    explicit RuntimeFolder(const std::string& folder) { setenv("XDG_RUNTIME_DIR", folder.c_str(), 1); }
    ~RuntimeFolder() {
        DisposePrivateTempFolder();
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    }
};

} // namespace

TEST(FileManager, LeftoverTempFoldersOfEndedRunsGoAndNothingElse) {
    std::string base = MakeTestFolder("leftovers");
    RuntimeFolder runtime(base);
    DisposePrivateTempFolder(); // the children make folders of their own

    std::string crashed, running;
    int release = -1;
    pid_t crashedPid = RunChildWithTempFolder(&crashed, nullptr);
    pid_t runningPid = RunChildWithTempFolder(&running, &release);
    ASSERT_GT(crashedPid, 0);
    ASSERT_GT(runningPid, 0);
    waitpid(crashedPid, nullptr, 0);
    ASSERT_EQ(crashed.rfind(base + "/draftwerk-", 0), 0u) << crashed;
    ASSERT_TRUE(Exists(crashed + "/journal"));
    FSRef own;
    ASSERT_EQ(GetPrivateTempFolder(&own), noErr);

    // Look-alikes that hold an unlocked lock file where one would be: none is certainly ours.
    namespace fs = std::filesystem;
    auto folderWithLock = [&](const std::string& name) {
        fs::create_directory(base + "/" + name);
        std::ofstream(base + "/" + name + "/.owner") << "1\n";
        return base + "/" + name;
    };
    std::vector<std::string> kept = {folderWithLock("draftwerk-test-a1B2c3"),
                                     folderWithLock("draftwerk-a1B2-3"), folderWithLock("draftwerk-a1B2c3d"),
                                     folderWithLock("Draftwerk-a1B2c3")};
    fs::create_directory(base + "/draftwerk-a1B2c4"); // no lock file: older, or being made right now
    kept.push_back(base + "/draftwerk-a1B2c4");
    std::string elsewhere = folderWithLock("elsewhere");
    fs::create_directory(base + "/draftwerk-a1B2c5"); // the lock file is a link
    fs::create_symlink(elsewhere + "/.owner", base + "/draftwerk-a1B2c5/.owner");
    kept.push_back(base + "/draftwerk-a1B2c5/.owner");
    fs::create_directory_symlink(elsewhere, base + "/draftwerk-a1B2c6"); // the folder is a link
    kept.push_back(base + "/draftwerk-a1B2c6");
    kept.push_back(elsewhere + "/.owner");
    std::ofstream(base + "/draftwerk-a1B2c7") << "a file";
    kept.push_back(base + "/draftwerk-a1B2c7");
    fs::create_directories(base + "/draftwerk-a1B2c8/.owner"); // the lock file is a folder
    kept.push_back(base + "/draftwerk-a1B2c8/.owner");
    if (geteuid() == 0) {
        std::string other = folderWithLock("draftwerk-a1B2c9");
        ASSERT_EQ(chown((other + "/.owner").c_str(), 65534, 65534), 0);
        ASSERT_EQ(chown(other.c_str(), 65534, 65534), 0);
        kept.push_back(other + "/.owner");
    }

    RemoveLeftoverTempFolders();
    EXPECT_FALSE(Exists(crashed));
    EXPECT_TRUE(Exists(running + "/journal"));
    EXPECT_TRUE(Exists(std::string(own.path) + "/.owner"));
    for (const std::string& path : kept)
        EXPECT_TRUE(Exists(path)) << path;

    // Once the other run has ended, its folder goes too; this run's stays until it quits.
    close(release);
    waitpid(runningPid, nullptr, 0);
    RemoveLeftoverTempFolders();
    EXPECT_FALSE(Exists(running));
    EXPECT_TRUE(Exists(own.path));
    DisposePrivateTempFolder();
    EXPECT_FALSE(Exists(own.path));
}

TEST(FileManager, DatesCountSecondsSince1904) {
    UInt32 secs = MacSecondsFromUnixTime(0);
    struct tm local;
    time_t zero = 0;
    localtime_r(&zero, &local);
    EXPECT_EQ(SInt64(secs) - local.tm_gmtoff, 2082844800);
    for (SInt64 t : {SInt64(0), SInt64(1700000000), SInt64(2000000000)})
        EXPECT_EQ(UnixTimeFromMacSeconds(MacSecondsFromUnixTime(t)), t);
    UInt32 now = 0;
    GetDateTime(&now);
    EXPECT_GT(now, MacSecondsFromUnixTime(1700000000));
}
