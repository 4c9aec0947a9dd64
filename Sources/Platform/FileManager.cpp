// Files, forks and folders over POSIX: file references, the fork table, the private temporary
// folder and 1904-based dates.
#include "Platform/FileManager.h"

#include "Platform/AppleDouble.h"

#include <cctype>
#include <csignal>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <dirent.h>
#include <string>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Seconds from 1 January 1904 to 1 January 1970.
constexpr SInt64 kMacEpochOffset = 2082844800;

struct ForkEntry {
    int fd = -1;
    SInt8 permission = 0;
    FSRef ref{};
};

// Reference number n is slot n - 1; slots are reused after a close.
std::vector<ForkEntry> gForks;
std::string gTempFolder;
int gTempFolderLock = -1;
FSFaultInjection gFaults;

ForkEntry* FindFork(FSIORefNum refNum) {
    if (refNum < 1 || size_t(refNum) > gForks.size()) return nullptr;
    ForkEntry& e = gForks[size_t(refNum) - 1];
    return e.fd >= 0 ? &e : nullptr;
}

size_t FreeForkSlot() {
    size_t slot = 0;
    while (slot < gForks.size() && gForks[slot].fd >= 0)
        ++slot;
    return slot;
}

FSIORefNum AddFork(size_t slot, int fd, SInt8 permission, const FSRef& ref) {
    if (slot == gForks.size()) gForks.emplace_back();
    gForks[slot].fd = fd;
    gForks[slot].permission = permission;
    gForks[slot].ref = ref;
    return FSIORefNum(slot + 1);
}

std::string RandomHex(size_t digits) {
    std::vector<unsigned char> bytes((digits + 1) / 2);
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = getrandom(bytes.data() + got, bytes.size() - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    // Without the kernel's randomness the name is still unique (O_EXCL), only less secret.
    for (size_t i = got; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(std::rand());
    static const char hex[] = "0123456789abcdef";
    std::string s;
    for (unsigned char b : bytes)
        s += hex[b >> 4], s += hex[b & 15];
    s.resize(digits);
    return s;
}

bool AllOf(const std::string& s, size_t from, size_t to, const char* set) {
    if (to <= from) return false;
    for (size_t i = from; i < to; ++i)
        if (std::strchr(set, s[i]) == nullptr || s[i] == 0) return false;
    return true;
}

// "<leaf><marker><pid>-<tail>" with a leaf of at least one byte and a pid of 1 to 10 digits; the
// tail is the caller's to check.
bool SplitWriterName(const std::string& name, const char* marker, SInt32* pid, std::string* tail) {
    size_t dash = name.rfind('-');
    size_t length = std::strlen(marker);
    if (dash == std::string::npos || dash < length + 2) return false;
    size_t at = name.rfind(marker, dash - length - 1);
    if (at == std::string::npos || at == 0) return false;
    size_t digits = at + length;
    if (dash - digits > 10 || !AllOf(name, digits, dash, "0123456789")) return false;
    if (pid) *pid = SInt32(std::strtol(name.c_str() + digits, nullptr, 10));
    *tail = name.substr(dash + 1);
    return true;
}

constexpr size_t kTempRandomDigits = 12;

OSErr CopyPath(const std::string& path, FSRef* ref) {
    if (path.empty() || path.size() >= kFSRefPathCapacity) return bdNamErr;
    std::memset(ref->path, 0, sizeof ref->path);
    std::memcpy(ref->path, path.data(), path.size());
    return noErr;
}

bool ValidLeafName(const char* name) {
    return name && *name && std::strchr(name, '/') == nullptr && std::strcmp(name, ".") != 0 &&
           std::strcmp(name, "..") != 0;
}

OSErr ForkSize(const ForkEntry& e, SInt64* size) {
    struct stat st;
    if (fstat(e.fd, &st) != 0) return OSErrFromErrno(errno);
    *size = st.st_size;
    return noErr;
}

// The absolute position a position mode and offset stand for; posErr before the start.
OSErr ResolvePosition(const ForkEntry& e, UInt16 mode, SInt64 offset, SInt64* position) {
    SInt64 base = 0;
    switch (mode) {
    case fsAtMark:
        offset = 0;
        [[fallthrough]];
    case fsFromMark: {
        off_t mark = lseek(e.fd, 0, SEEK_CUR);
        if (mark < 0) return OSErrFromErrno(errno);
        base = mark;
        break;
    }
    case fsFromStart:
        break;
    case fsFromLEOF: {
        OSErr err = ForkSize(e, &base);
        if (err != noErr) return err;
        break;
    }
    default:
        return paramErr;
    }
    if (offset < 0 && base < -offset) return posErr;
    *position = base + offset;
    return noErr;
}

OSErr SeekTo(const ForkEntry& e, SInt64 position) {
    if (lseek(e.fd, off_t(position), SEEK_SET) < 0) return OSErrFromErrno(errno);
    return noErr;
}

// Moves the mark for a read or a set position; a position past the end leaves the mark at the end
// and gives eofErr.
OSErr SeekWithinFork(const ForkEntry& e, UInt16 mode, SInt64 offset) {
    SInt64 position = 0, size = 0;
    OSErr err = ResolvePosition(e, mode, offset, &position);
    if (err == noErr) err = ForkSize(e, &size);
    if (err != noErr) return err;
    if (position > size) {
        SeekTo(e, size);
        return eofErr;
    }
    return SeekTo(e, position);
}

// Repeats a read or write until requestCount bytes have moved; a call that moves nothing ends
// with stalled (the end of the file, or a full disk).
template <class Step>
OSErr Transfer(ByteCount requestCount, ByteCount* actualCount, OSErr stalled, Step step) {
    ByteCount done = 0;
    OSErr err = noErr;
    while (done < requestCount) {
        ssize_t n = step(done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = OSErrFromErrno(errno);
            break;
        }
        if (n == 0) {
            err = stalled;
            break;
        }
        done += ByteCount(n);
    }
    if (actualCount) *actualCount = done;
    return err;
}

// Errors by which a file system says it does not offer a rename flag.
bool RefusedByFileSystem(int err) {
    return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

bool IsSymbolicLink(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

// Moves the sidecar of `from` to `to`; a sidecar left at `to` belonged to the replaced file and goes.
OSErr MoveSidecar(const char* from, const char* to) {
    std::string sf = SidecarPath(from), st = SidecarPath(to);
    if (access(sf.c_str(), F_OK) == 0) {
        if (std::rename(sf.c_str(), st.c_str()) != 0) return OSErrFromErrno(errno);
    } else {
        unlink(st.c_str());
    }
    return noErr;
}

OSErr CopyFileContents(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return OSErrFromErrno(errno);
    struct stat st;
    fstat(in, &st);
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (out < 0) {
        int e = errno;
        close(in);
        return OSErrFromErrno(e);
    }
    OSErr err = noErr;
    char buffer[65536];
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = OSErrFromErrno(errno);
        if (n <= 0) break;
        for (ssize_t done = 0; done < n && err == noErr;) {
            ssize_t w = write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0)
                err = w < 0 ? OSErrFromErrno(errno) : OSErr(dskFulErr);
            else
                done += w;
        }
        if (err != noErr) break;
    }
    if (err == noErr && fsync(out) != 0) err = OSErrFromErrno(errno);
    if (close(out) != 0 && err == noErr) err = OSErrFromErrno(errno);
    close(in);
    if (err != noErr) unlink(to.c_str());
    return err;
}

// Exchanges two names in one folder. Without the atomic exchange: b's contents get a second name
// (a hard link, or a copy), a replaces b in one rename, and the second name becomes a.
OSErr ExchangePaths(const std::string& a, const std::string& b) {
    if (!gFaults.refuseAtomicExchange &&
        renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0)
        return noErr;
    if (!gFaults.refuseAtomicExchange && !RefusedByFileSystem(errno)) return OSErrFromErrno(errno);
    std::string keep;
    for (int n = 0;; ++n) {
        keep = FSPathWithSuffix(b, ".old" + std::to_string(getpid()) + "-" + std::to_string(n));
        if (access(keep.c_str(), F_OK) != 0) break;
    }
    OSErr err = noErr;
    if (gFaults.refuseHardLinks || link(b.c_str(), keep.c_str()) != 0) err = CopyFileContents(b, keep);
    if (err != noErr) return err;
    if (std::rename(a.c_str(), b.c_str()) != 0) {
        err = OSErrFromErrno(errno);
        unlink(keep.c_str());
        return err;
    }
    if (std::rename(keep.c_str(), a.c_str()) != 0) return OSErrFromErrno(errno);
    return noErr;
}

constexpr char kTempFolderPrefix[] = "draftwerk-";
constexpr size_t kTempFolderSuffixLength = 6; // what mkdtemp puts in place of XXXXXX
// The file inside the temporary folder that its program keeps locked while it runs.
constexpr char kTempFolderLockName[] = ".owner";

std::vector<std::string> TempFolderBases() {
    std::vector<std::string> bases;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') bases.push_back(runtime);
    bases.push_back("/tmp");
    return bases;
}

// Exactly what mkdtemp makes of our pattern: the prefix and six letters or digits.
bool IsTempFolderName(const char* name) {
    const size_t prefix = sizeof kTempFolderPrefix - 1;
    if (std::strncmp(name, kTempFolderPrefix, prefix) != 0 ||
        std::strlen(name) != prefix + kTempFolderSuffixLength)
        return false;
    for (const char* c = name + prefix; *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    return true;
}

// Locks a file inside the new folder for as long as the program runs (the lock goes with the
// process, however it ends). The file gets its name only once locked, so that no other program
// can find it unlocked while this one lives. The descriptor, or -1.
int LockTempFolder(const std::string& folder) {
    std::string made = folder + "/" + kTempFolderLockName + "-new";
    std::string named = folder + "/" + kTempFolderLockName;
    int fd = open(made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || std::rename(made.c_str(), named.c_str()) != 0) {
        close(fd);
        unlink(made.c_str());
        return -1;
    }
    std::string pid = std::to_string(getpid()) + "\n"; // for people who look
    if (write(fd, pid.data(), pid.size()) < 0) errno = 0;
    return fd;
}

void ReleaseTempFolderLock() {
    if (gTempFolderLock >= 0) close(gTempFolderLock);
    gTempFolderLock = -1;
}

// The lock of a folder whose program has ended, or -1. Only a real folder of this user that holds
// a lock file of this user, which no running program holds, qualifies: anything else is not
// certainly ours, or still in use, or still being made.
int TakeLeftoverLock(const std::string& folder) {
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return -1;
    std::string lockPath = folder + "/" + kTempFolderLockName;
    int fd = open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() ||
        flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

SInt64 LocalOffsetAt(SInt64 unixTime) {
    time_t t = time_t(unixTime);
    struct tm local;
    if (!localtime_r(&t, &local)) return 0;
    return local.tm_gmtoff;
}

} // namespace

OSErr OSErrFromErrno(int err) {
    switch (err) {
    case 0:
        return noErr;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return dskFulErr;
    case ENOENT:
        return fnfErr;
    case ENOTDIR:
        return dirNFErr;
    case EACCES:
        return afpAccessDenied;
    case EPERM:
        return permErr;
    case ENOMEM:
        return memFullErr;
    case EROFS:
        return wPrErr;
    case EEXIST:
        return dupFNErr;
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
        return fBsyErr;
    case ENAMETOOLONG:
        return bdNamErr;
    case ELOOP:
        return linkLoopErr;
    case EMFILE:
    case ENFILE:
        return tmfoErr;
    case EBADF:
        return rfNumErr;
    case EISDIR:
        return notAFileErr;
    case EXDEV:
        return diffVolErr;
    case EINVAL:
        return paramErr;
    case ENODEV:
    case ENXIO:
        return nsvErr;
    default:
        return ioErr;
    }
}

std::string FSPathWithSuffix(const std::string& path, const std::string& suffix) {
    constexpr size_t kMaxLeaf = 255;
    size_t slash = path.rfind('/');
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::string leaf = path.substr(start);
    size_t room = suffix.size() < kMaxLeaf ? kMaxLeaf - suffix.size() : 0;
    if (leaf.size() > room) {
        size_t n = room;
        while (n > 0 && (static_cast<unsigned char>(leaf[n]) & 0xC0) == 0x80)
            --n;
        leaf.resize(n);
    }
    return path.substr(0, start) + leaf + suffix;
}

OSErr FSMakeRef(const char* path, FSRef* ref) {
    if (!path || !*path) return bdNamErr;
    std::string p = path;
    if (p[0] != '/') {
        std::error_code ec;
        std::filesystem::path abs = std::filesystem::absolute(p, ec);
        if (ec) return bdNamErr;
        p = abs.string();
    }
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return CopyPath(p, ref);
}

OSErr FSPathMakeRef(const char* path, FSRef* ref, Boolean* isDirectory) {
    FSRef made;
    OSErr err = FSMakeRef(path, &made);
    if (err != noErr) return err;
    struct stat st;
    if (stat(made.path, &st) != 0) return OSErrFromErrno(errno);
    if (isDirectory) *isDirectory = S_ISDIR(st.st_mode);
    *ref = made;
    return noErr;
}

OSErr FSMakeChildRef(const FSRef* parent, const char* name, FSRef* child) {
    if (!ValidLeafName(name) || !parent->path[0]) return bdNamErr;
    std::string p = parent->path;
    if (p.back() != '/') p += '/';
    p += name;
    return CopyPath(p, child);
}

OSErr FSGetParentRef(const FSRef* ref, FSRef* parent) {
    std::string p = ref->path;
    size_t slash = p.rfind('/');
    if (p.empty() || slash == std::string::npos || p == "/") return paramErr;
    return CopyPath(slash == 0 ? std::string("/") : p.substr(0, slash), parent);
}

const char* FSRefLeafName(const FSRef* ref) {
    const char* slash = std::strrchr(ref->path, '/');
    return slash ? slash + 1 : ref->path;
}

Boolean FSRefExists(const FSRef* ref) {
    struct stat st;
    return ref->path[0] && stat(ref->path, &st) == 0;
}

OSErr FSGetFileInfo(const FSRef* ref, FSFileInfo* info) {
    struct stat st;
    if (!ref->path[0]) return bdNamErr;
    if (stat(ref->path, &st) != 0) return OSErrFromErrno(errno);
    info->dataSize = S_ISDIR(st.st_mode) ? 0 : SInt64(st.st_size);
    info->modificationDate = MacSecondsFromUnixTime(st.st_mtime);
    info->isDirectory = S_ISDIR(st.st_mode);
    info->isOrdinary = S_ISREG(st.st_mode);
    return noErr;
}

OSErr FSCreateFile(const FSRef* ref) {
    if (!ref->path[0]) return bdNamErr;
    int fd = open(ref->path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        int err = errno;
        // The name is taken by a link that leads nowhere but round: say so, not that a file exists.
        struct stat st;
        if (err == EEXIST && IsSymbolicLink(ref->path) && stat(ref->path, &st) != 0 && errno == ELOOP)
            err = ELOOP;
        return OSErrFromErrno(err);
    }
    if (close(fd) != 0) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSCreateFolder(const FSRef* ref) {
    if (!ref->path[0]) return bdNamErr;
    if (mkdir(ref->path, 0777) != 0) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSDeleteObject(const FSRef* ref) {
    if (!ref->path[0]) return bdNamErr;
    if (std::remove(ref->path) != 0) return OSErrFromErrno(errno);
    unlink(SidecarPath(ref->path).c_str());
    return noErr;
}

OSErr FSRenameReplacing(const FSRef* from, const FSRef* to) {
    if (!from->path[0] || !to->path[0]) return bdNamErr;
    bool link = IsSymbolicLink(from->path);
    if (std::rename(from->path, to->path) != 0) return OSErrFromErrno(errno);
    return link ? OSErr(noErr) : MoveSidecar(from->path, to->path);
}

OSErr FSRenameNoReplace(const FSRef* from, const FSRef* to) {
    if (!from->path[0] || !to->path[0]) return bdNamErr;
    if (std::strcmp(from->path, to->path) == 0) return noErr;
    bool symlink = IsSymbolicLink(from->path);
    if (renameat2(AT_FDCWD, from->path, AT_FDCWD, to->path, RENAME_NOREPLACE) != 0) {
        if (!RefusedByFileSystem(errno)) return OSErrFromErrno(errno);
        // Without the flag a hard link claims the name atomically; without links, a check must do.
        if (!gFaults.refuseHardLinks && link(from->path, to->path) == 0) {
            unlink(from->path);
        } else {
            if (errno == EEXIST || access(to->path, F_OK) == 0) return dupFNErr;
            if (std::rename(from->path, to->path) != 0) return OSErrFromErrno(errno);
        }
    }
    // A link's sidecar is that of the file it names, which stays where it is.
    return symlink ? OSErr(noErr) : MoveSidecar(from->path, to->path);
}

OSErr FSExchangeObjects(const FSRef* a, const FSRef* b, Boolean* dataExchanged) {
    if (dataExchanged) *dataExchanged = false;
    if (!a->path[0] || !b->path[0]) return bdNamErr;
    struct stat st;
    if (stat(a->path, &st) != 0 || stat(b->path, &st) != 0) return OSErrFromErrno(errno);
    if (gFaults.failExchange) return ioErr;
    OSErr err = ExchangePaths(a->path, b->path);
    if (err != noErr) return err;
    if (dataExchanged) *dataExchanged = true;
    if (gFaults.stopAfterDataExchange) return ioErr;
    if (gFaults.pauseAfterDataExchangeMs > 0) usleep(useconds_t(gFaults.pauseAfterDataExchangeMs) * 1000);
    err = gFaults.failSidecarExchange ? OSErr(ioErr) : FSExchangeSidecars(a, b);
    if (err == noErr) return noErr;
    // Both forks or neither: new data beside an old sidecar would be a drawing that never existed.
    if (!gFaults.failExchangeBack && ExchangePaths(a->path, b->path) == noErr && dataExchanged)
        *dataExchanged = false;
    return err;
}

OSErr FSExchangeSidecars(const FSRef* a, const FSRef* b) {
    if (!a->path[0] || !b->path[0]) return bdNamErr;
    std::string sa = SidecarPath(a->path), sb = SidecarPath(b->path);
    bool hasA = access(sa.c_str(), F_OK) == 0, hasB = access(sb.c_str(), F_OK) == 0;
    if (hasA && hasB) return ExchangePaths(sa, sb);
    if (hasA && std::rename(sa.c_str(), sb.c_str()) != 0) return OSErrFromErrno(errno);
    if (hasB && std::rename(sb.c_str(), sa.c_str()) != 0) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSListFolder(const FSRef* folder, std::vector<std::string>* names) {
    names->clear();
    if (!folder->path[0]) return bdNamErr;
    DIR* dir = opendir(folder->path);
    if (dir == nullptr) return OSErrFromErrno(errno);
    while (const dirent* e = readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names->push_back(e->d_name);
    closedir(dir);
    return noErr;
}

OSErr FSLockFolder(const FSRef* folder, Boolean exclusive, SInt32* lock) {
    *lock = -1;
    if (!folder->path[0]) return bdNamErr;
    int fd = open(folder->path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);
    int rc;
    do
        rc = flock(fd, exclusive ? LOCK_EX | LOCK_NB : LOCK_SH);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        OSErr err = errno == EWOULDBLOCK ? OSErr(fBsyErr) : OSErrFromErrno(errno);
        close(fd);
        return err;
    }
    *lock = fd;
    return noErr;
}

void FSUnlockFolder(SInt32 lock) {
    if (lock >= 0) close(lock); // closing the descriptor releases the lock
}

OSErr FSSyncFolder(const FSRef* folder) {
    if (!folder->path[0]) return bdNamErr;
    int fd = open(folder->path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);
    OSErr err = fsync(fd) == 0 ? OSErr(noErr) : OSErrFromErrno(errno);
    close(fd);
    return err;
}

OSErr FSResolveLinks(const FSRef* ref, FSRef* resolved) {
    std::string p = ref->path;
    if (p.empty()) return bdNamErr;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return CopyPath(p, resolved);
        std::vector<char> target(size_t(st.st_size > 0 ? st.st_size : 1024) + 1);
        ssize_t n = readlink(p.c_str(), target.data(), target.size() - 1);
        if (n < 0) return OSErrFromErrno(errno);
        std::string t(target.data(), size_t(n));
        if (t.empty()) return bdNamErr;
        if (t[0] != '/')
            p = p.substr(0, p.rfind('/') + 1) + t;
        else
            p = t;
    }
    return linkLoopErr;
}

OSErr FSCopyAccessMode(const FSRef* from, const FSRef* to) {
    struct stat st;
    if (stat(from->path, &st) != 0) return OSErrFromErrno(errno);
    // Only root may give the file away; others keep what they can.
    if (chown(to->path, st.st_uid, st.st_gid) != 0 && chown(to->path, uid_t(-1), st.st_gid) != 0) errno = 0;
    if (chmod(to->path, st.st_mode & 07777) != 0) return OSErrFromErrno(errno);
    return noErr;
}

void FSSetFaultInjection(const FSFaultInjection& faults) {
    gFaults = faults;
}

void FSClearFaultInjection() {
    gFaults = FSFaultInjection{};
}

OSErr FSOpenFork(const FSRef* ref, SInt8 permission, FSIORefNum* refNum) {
    *refNum = 0;
    if (!ref->path[0]) return bdNamErr;
    SInt8 access = permission & fsRdWrPerm;
    int flags = O_CLOEXEC;
    switch (access) {
    case fsRdPerm:
        flags |= O_RDONLY;
        break;
    case fsWrPerm:
        flags |= O_WRONLY;
        break;
    case fsRdWrPerm:
        flags |= O_RDWR;
        break;
    default:
        return paramErr;
    }
    if (permission & fsCreateMissing) {
        if (access == fsRdPerm) return paramErr;
        flags |= O_CREAT;
    }
    if (permission & fsNoFollow) flags |= O_NOFOLLOW;

    size_t slot = FreeForkSlot();
    if (slot >= 32767) return tmfoErr;

    // Without O_NONBLOCK a pipe holds open() until someone writes to it, for good if nobody does; it
    // is cleared once the descriptor is known to be a file.
    int fd = open(ref->path, flags | O_NONBLOCK, 0666);
    if (fd < 0) {
        int err = errno;
        struct stat st;
        // A pipe that nobody reads refuses a writer with ENXIO: it is no file either way.
        if (err == ENXIO && stat(ref->path, &st) == 0 && S_ISFIFO(st.st_mode)) return notAFileErr;
        return OSErrFromErrno(err);
    }
    struct stat st;
    OSErr err = noErr;
    int status = 0;
    if (fstat(fd, &st) != 0)
        err = OSErrFromErrno(errno);
    else if (S_ISDIR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        err = notAFileErr;
    else if (access == fsRdPerm && !S_ISREG(st.st_mode))
        err = notAFileErr; // a writer may be given a device, a reader gets files only
    else if ((status = fcntl(fd, F_GETFL)) < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        err = OSErrFromErrno(errno);
    if (err != noErr) {
        close(fd);
        return err;
    }
    *refNum = AddFork(slot, fd, access, *ref);
    return noErr;
}

OSErr FSOpenForkPath(const char* path, SInt8 permission, FSIORefNum* refNum) {
    FSRef ref;
    OSErr err = FSMakeRef(path, &ref);
    if (err != noErr) {
        *refNum = 0;
        return err;
    }
    return FSOpenFork(&ref, permission, refNum);
}

OSErr FSReadFork(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                 void* buffer, ByteCount* actualCount) {
    if (actualCount) *actualCount = 0;
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    if (!(e->permission & fsRdPerm)) return permErr;
    if (OSErr err = SeekWithinFork(*e, positionMode, positionOffset); err != noErr) return err;
    return Transfer(requestCount, actualCount, eofErr, [&](ByteCount done) {
        return read(e->fd, static_cast<char*>(buffer) + done, requestCount - done);
    });
}

OSErr FSWriteFork(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset, ByteCount requestCount,
                  const void* buffer, ByteCount* actualCount) {
    if (actualCount) *actualCount = 0;
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    if (!(e->permission & fsWrPerm)) return wrPermErr;
    SInt64 position = 0;
    OSErr err = ResolvePosition(*e, positionMode, positionOffset, &position);
    if (err == noErr) err = SeekTo(*e, position);
    if (err != noErr) return err;

    ByteCount allowed = requestCount;
    if (gFaults.writeBudget >= 0 && SInt64(allowed) > gFaults.writeBudget)
        allowed = ByteCount(gFaults.writeBudget);
    err = Transfer(allowed, actualCount, dskFulErr, [&](ByteCount done) {
        return write(e->fd, static_cast<const char*>(buffer) + done, allowed - done);
    });
    if (gFaults.writeBudget >= 0) {
        gFaults.writeBudget -= SInt64(allowed);
        if (err == noErr && allowed < requestCount) err = gFaults.writeError;
    }
    return err;
}

OSErr FSGetForkPosition(FSIORefNum refNum, SInt64* position) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    off_t mark = lseek(e->fd, 0, SEEK_CUR);
    if (mark < 0) return OSErrFromErrno(errno);
    *position = mark;
    return noErr;
}

OSErr FSSetForkPosition(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    return SeekWithinFork(*e, positionMode, positionOffset);
}

OSErr FSGetForkSize(FSIORefNum refNum, SInt64* forkSize) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    return ForkSize(*e, forkSize);
}

OSErr FSSetForkSize(FSIORefNum refNum, UInt16 positionMode, SInt64 positionOffset) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    if (!(e->permission & fsWrPerm)) return wrPermErr;
    SInt64 size = 0, mark = 0;
    OSErr err = ResolvePosition(*e, positionMode, positionOffset, &size);
    if (err == noErr) err = FSGetForkPosition(refNum, &mark);
    if (err != noErr) return err;
    if (ftruncate(e->fd, off_t(size)) != 0) return OSErrFromErrno(errno);
    if (mark > size) return SeekTo(*e, size);
    return noErr;
}

OSErr FSFlushFork(FSIORefNum refNum) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    if (fsync(e->fd) != 0) return OSErrFromErrno(errno);
    if ((e->permission & fsWrPerm) && gFaults.failFlushAt > 0 && --gFaults.failFlushAt == 0) return ioErr;
    return noErr;
}

OSErr FSCloseFork(FSIORefNum refNum) {
    ForkEntry* e = FindFork(refNum);
    if (!e) return rfNumErr;
    int fd = e->fd;
    bool writing = (e->permission & fsWrPerm) != 0;
    e->fd = -1;
    e->permission = 0;
    // The descriptor is gone whatever close reports (Linux never retries a close), but a failure
    // here can mean that written data never reached the disk, so it is reported.
    if (close(fd) != 0) return OSErrFromErrno(errno);
    if (writing && gFaults.failCloseAt > 0 && --gFaults.failCloseAt == 0) return ioErr;
    return noErr;
}

const FSRef* FSGetForkRef(FSIORefNum refNum) {
    ForkEntry* e = FindFork(refNum);
    return e ? &e->ref : nullptr;
}

OSErr GetPrivateTempFolder(FSRef* folder) {
    struct stat st;
    if (gTempFolder.empty() || stat(gTempFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        gTempFolder.clear();
        ReleaseTempFolderLock();
        int lastErr = 0;
        for (const std::string& base : TempFolderBases()) {
            std::string pattern = base + "/" + kTempFolderPrefix + "XXXXXX";
            std::vector<char> buf(pattern.begin(), pattern.end());
            buf.push_back('\0');
            if (mkdtemp(buf.data())) {
                gTempFolder = buf.data();
                break;
            }
            lastErr = errno;
        }
        if (gTempFolder.empty()) return OSErrFromErrno(lastErr);
        // Without the lock the folder still serves; only a later start cannot tell it was left over.
        gTempFolderLock = LockTempFolder(gTempFolder);
    }
    return CopyPath(gTempFolder, folder);
}

void DisposePrivateTempFolder() {
    if (gTempFolder.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(gTempFolder, ec);
    gTempFolder.clear();
    ReleaseTempFolderLock();
}

void RemoveLeftoverTempFolders() {
    for (const std::string& base : TempFolderBases()) {
        DIR* dir = opendir(base.c_str());
        if (dir == nullptr) continue;
        std::vector<std::string> ended;
        std::vector<int> locks;
        while (const dirent* entry = readdir(dir)) {
            if (!IsTempFolderName(entry->d_name)) continue;
            std::string path = base + "/" + entry->d_name;
            if (path == gTempFolder) continue;
            int lock = TakeLeftoverLock(path);
            if (lock < 0) continue;
            ended.push_back(path);
            locks.push_back(lock);
        }
        closedir(dir);
        // Removed while still locked, so that another program starting now leaves them alone.
        for (size_t i = 0; i < ended.size(); ++i) {
            std::error_code ec;
            std::filesystem::remove_all(ended[i], ec);
            close(locks[i]);
        }
    }
}

OSErr FSCreateTempFile(const char* prefix, FSRef* file) {
    if (!prefix || std::strchr(prefix, '/')) return bdNamErr;
    FSRef folder;
    OSErr err = GetPrivateTempFolder(&folder);
    if (err != noErr) return err;
    std::string pattern = std::string(folder.path) + "/" + prefix + "XXXXXX";
    if (pattern.size() >= kFSRefPathCapacity) return bdNamErr;
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = mkostemp(buf.data(), O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);
    close(fd);
    return CopyPath(buf.data(), file);
}

OSErr FSCreateTempBeside(const FSRef* target, const FSRef* modeFrom, FSRef* temp, FSIORefNum* refNum) {
    *refNum = 0;
    if (!target->path[0]) return bdNamErr;
    size_t slot = FreeForkSlot();
    if (slot >= 32767) return tmfoErr;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string path = FSPathWithSuffix(target->path, ".tmp" + std::to_string(getpid()) + "-" +
                                                              RandomHex(kTempRandomDigits));
        FSRef made;
        if (OSErr err = CopyPath(path, &made); err != noErr) return err;
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return OSErrFromErrno(errno);
        struct stat st;
        if (stat(modeFrom ? modeFrom->path : target->path, &st) == 0) {
            // The group where the user may give it; the mode always (the file is ours).
            if (fchown(fd, uid_t(-1), st.st_gid) != 0) errno = 0;
            if (fchmod(fd, st.st_mode & 07777) != 0) {
                OSErr err = OSErrFromErrno(errno);
                close(fd);
                unlink(path.c_str());
                return err;
            }
        }
        *refNum = AddFork(slot, fd, fsWrPerm, made);
        *temp = made;
        return noErr;
    }
    return dupFNErr;
}

Boolean IsTempBesideName(const std::string& name, SInt32* pid) {
    std::string tail;
    return SplitWriterName(name, ".tmp", pid, &tail) && tail.size() == kTempRandomDigits &&
           AllOf(tail, 0, tail.size(), "0123456789abcdef");
}

Boolean IsExchangeKeepName(const std::string& name, SInt32* pid) {
    std::string tail;
    return SplitWriterName(name, ".old", pid, &tail) && tail.size() <= 10 &&
           AllOf(tail, 0, tail.size(), "0123456789");
}

Boolean ProcessMayRun(SInt32 pid) {
    if (pid <= 0 || pid == SInt32(getpid())) return true;
    return kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

UInt32 MacSecondsFromUnixTime(SInt64 unixTime) {
    // Wraps in 2040 as the Mac's own clock does.
    return UInt32(UInt64(unixTime + LocalOffsetAt(unixTime) + kMacEpochOffset));
}

SInt64 UnixTimeFromMacSeconds(UInt32 secs) {
    SInt64 asUtc = SInt64(secs) - kMacEpochOffset;
    SInt64 guess = asUtc - LocalOffsetAt(asUtc);
    return asUtc - LocalOffsetAt(guess);
}

void GetDateTime(UInt32* secs) {
    *secs = MacSecondsFromUnixTime(SInt64(std::time(nullptr)));
}
