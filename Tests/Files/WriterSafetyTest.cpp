// Every writer of files (the native save, DXF and PDF, chosen in the Save As panel as a user does)
// under the same faults: a full disk at any byte (injected, and a real one on a small tmpfs), a
// failed flush or close, a read-only folder, a folder in the file's place, links planted where
// temporary files go, modes, a link as the target, and what killed writers left behind. Whatever
// fails, the old file stays byte for byte and the user is told; nothing else is left in the folder.
#include "FilesFixture.h"
#include "TestSupport.h"

#include "Exchange/DxfWriter.h"
#include "Files/FileNames.h"
#include "Files/NativeDocument.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/PdfOutput.h"
#include "Files/FileCommands.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Platform/AppleDouble.h"
#include "Platform/Events.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Writer {
    const char* name;
    SInt16 format;
    const char* leaf;
};
const Writer kWriters[] = {
    {"native", kSaveNative, "Plan.cadx"},
    {"DXF", kSaveDXF, "Plan.dxf"},
    {"PDF", kSavePDF, "Plan.pdf"},
};

int RunQuietly(const std::string& command) {
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The error alerts shown so far, by their texts.
std::vector<std::string> ErrorTexts() {
    std::vector<std::string> texts;
    for (const AlertRecord& alert : RecordedAlerts())
        if (alert.alertId == 128) texts.push_back(alert.params[0]);
    return texts;
}

class WriterSafetyTest : public FilesTest {
  public:
    void SetUp() override {
        EnsureTestApplication();
        FilesTest::SetUp();
        RegisterDXFExport();
        RegisterPDFExport();
        root = MakeTestFolder("writer-safety");
        umask(022);
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        RegisterExporter(kSaveDXF, nullptr);
        RegisterExporter(kSavePDF, nullptr);
        FilesTest::TearDown();
    }

    // A drawing of `lines` lines, backups off, its PDF area round them.
    DocWindowRecord* Drawing(int lines) {
        DocWindowRecord* doc = NewDoc();
        doc->settings->keepBackup = false;
        SeekLastLine(doc);
        for (int i = 0; i < lines; ++i)
            AppendLineAtCursor(doc, i * 0.5, i % 97, i * 0.5 + 20, (i * 7) % 89, false);
        const Float64 area[4] = {0, 0, lines * 0.5 + 20, 100};
        std::copy(area, area + 4, doc->settings->pdfArea);
        return doc;
    }

    // Save As in the writer's format, the panel answered as a user would.
    void SaveAs(DocWindowRecord* doc, const Writer& w, const std::string& path) {
        SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* chosen) {
            request.format = w.format;
            *chosen = path;
            return true;
        });
        Boolean saved = false;
        SaveDocumentAs(doc, true, false, false, false, &saved, false);
        SetFilePanelResponders(nullptr, nullptr);
    }

    // Whether the file is a whole one of the writer's kind.
    bool Whole(const Writer& w, const std::string& path) {
        if (w.format == kSavePDF) return RunQuietly("qpdf --check '" + path + "'") == 0;
        std::vector<UInt8> bytes = ReadFileBytes(path);
        if (w.format == kSaveDXF) {
            const std::string end = "EOF\r\n";
            return bytes.size() > end.size() && std::equal(end.begin(), end.end(), bytes.end() - 5);
        }
        FSRef ref = RefFor(path);
        DocWindowRecord* back = nullptr;
        bool opened = OpenDocument(&back, &ref, false, -1, 0, 0);
        if (back != nullptr) DisposeDocumentRecords(back);
        return opened;
    }

    std::string root;
};

struct Case {
    const char* name;
    std::function<void(WriterSafetyTest&, const Writer&, const std::string& folder)> run;
};

} // namespace

// The table: each case for every writer, each in a folder of its own.
class WriterSafetyTable : public WriterSafetyTest {
  public:
    void Old(const Writer& w, const std::string& path) {
        old = Drawing(40);
        SaveAs(old, w, path);
        ASSERT_TRUE(Whole(w, path));
        oldData = ReadFileBytes(path);
        oldSidecar = ReadFileBytes(SidecarPath(path.c_str()));
        ClearRecordedAlerts();
    }
    // The failure left the old file and its sidecar as they were, said why, and left nothing.
    void ExpectOldKept(const std::string& path, const char* told, const std::vector<std::string>& entries) {
        EXPECT_EQ(ReadFileBytes(path), oldData);
        EXPECT_EQ(ReadFileBytes(SidecarPath(path.c_str())), oldSidecar);
        std::vector<std::string> texts = ErrorTexts();
        ASSERT_FALSE(texts.empty()) << "nothing was said";
        EXPECT_NE(texts.back().find(told), std::string::npos) << texts.back();
        std::string folder = path.substr(0, path.rfind('/'));
        EXPECT_EQ(FolderEntries(folder), entries);
    }
    DocWindowRecord* old = nullptr;
    std::vector<UInt8> oldData, oldSidecar;
};

TEST_F(WriterSafetyTable, EveryWriterUnderEveryFault) {
    const std::vector<Case> cases = {
        {"a full disk at any byte",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             auto& self = static_cast<WriterSafetyTable&>(t);
             std::string path = folder + "/" + w.leaf;
             self.Old(w, path);
             DocWindowRecord* doc = t.Drawing(400);
             // The disk fills before the first byte, after one, half-way and one byte short.
             std::string whole = t.root + "/whole-" + w.name + std::strrchr(w.leaf, '.');
             t.SaveAs(doc, w, whole);
             SInt64 size = SInt64(ReadFileBytes(whole).size());
             ASSERT_GT(size, 1000);
             std::vector<std::string> entries = FolderEntries(folder);
             for (SInt64 budget : {SInt64(0), SInt64(1), size / 2, size - 1}) {
                 SCOPED_TRACE(budget);
                 ClearRecordedAlerts();
                 FSFaultInjection faults;
                 faults.writeBudget = budget;
                 FSSetFaultInjection(faults);
                 t.SaveAs(doc, w, path);
                 FSClearFaultInjection();
                 self.ExpectOldKept(path, "disk is full", entries);
             }
         }},
        {"a flush or close that fails",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             auto& self = static_cast<WriterSafetyTable&>(t);
             std::string path = folder + "/" + w.leaf;
             self.Old(w, path);
             std::vector<std::string> entries = FolderEntries(folder);
             DocWindowRecord* doc = t.Drawing(60);
             for (int which = 0; which < 2; ++which) {
                 ClearRecordedAlerts();
                 FSFaultInjection faults;
                 (which == 0 ? faults.failFlushAt : faults.failCloseAt) = 1;
                 FSSetFaultInjection(faults);
                 t.SaveAs(doc, w, path);
                 FSClearFaultInjection();
                 self.ExpectOldKept(path, "", entries);
             }
         }},
        {"a read-only folder",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             auto& self = static_cast<WriterSafetyTable&>(t);
             std::string path = folder + "/" + w.leaf;
             self.Old(w, path);
             std::vector<std::string> entries = FolderEntries(folder);
             WithoutPermissionOverride noOverride;
             chmod(folder.c_str(), 0555);
             t.SaveAs(t.Drawing(60), w, path);
             chmod(folder.c_str(), 0755);
             self.ExpectOldKept(path, "denied", entries);
         }},
        {"a folder in the file's place",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             std::string path = folder + "/" + w.leaf;
             ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
             WriteFileBytes(path + "/inside", {'k', 'e', 'p', 't'});
             t.SaveAs(t.Drawing(10), w, path);
             std::vector<std::string> texts = ErrorTexts();
             ASSERT_FALSE(texts.empty());
             EXPECT_NE(texts.back().find("not an ordinary file"), std::string::npos) << texts.back();
             EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{w.leaf});
             EXPECT_EQ(FolderEntries(path), std::vector<std::string>{"inside"});
         }},
        {"links planted at every name a temporary file ever had",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             std::string path = folder + "/" + w.leaf;
             std::string victim = t.root + "/victim-" + w.name;
             WriteFileBytes(victim, {'m', 'i', 'n', 'e'});
             std::vector<std::string> planted = {std::string(w.leaf) + ".pdf-part",
                                                 std::string(w.leaf) + ".dxf-part",
                                                 std::string("._") + w.leaf + ".tmp1-1"};
             UInt32 now = TickCount();
             for (UInt32 tick = now; tick < now + 600; ++tick)
                 planted.push_back(TempSaveFileName(tick));
             for (size_t i = 0; i < planted.size(); ++i) {
                 // Links to the victim, and some that lead nowhere (a name taken all the same).
                 std::string to = i % 3 == 2 ? t.root + "/nowhere" : victim;
                 ASSERT_EQ(symlink(to.c_str(), (folder + "/" + planted[i]).c_str()), 0);
             }
             t.SaveAs(t.Drawing(30), w, path);
             EXPECT_TRUE(ErrorTexts().empty()) << ErrorTexts().front();
             EXPECT_TRUE(t.Whole(w, path));
             EXPECT_EQ(ReadFileBytes(victim), (std::vector<UInt8>{'m', 'i', 'n', 'e'}));
             EXPECT_EQ(FolderEntries(folder).size(), planted.size() + (w.format == kSaveNative ? 2 : 1));
         }},
        {"modes: kept when written over, the umask's when new, the sidecar's from its file",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             std::string path = folder + "/" + w.leaf;
             t.SaveAs(t.Drawing(10), w, path);
             EXPECT_EQ(ModeOf(path), 0644u);
             chmod(path.c_str(), 0600);
             t.SaveAs(t.Drawing(20), w, path);
             EXPECT_TRUE(t.Whole(w, path));
             EXPECT_EQ(ModeOf(path), 0600u);
             if (w.format == kSaveNative) EXPECT_EQ(ModeOf(SidecarPath(path.c_str())), 0600u);
         }},
        {"a link as the target stays a link to the file written",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             std::string real = folder + "/real";
             ASSERT_EQ(mkdir(real.c_str(), 0755), 0);
             std::string target = real + "/" + w.leaf, link = folder + "/" + w.leaf;
             t.SaveAs(t.Drawing(10), w, target);
             chmod(target.c_str(), 0640);
             ASSERT_EQ(symlink(("real/" + std::string(w.leaf)).c_str(), link.c_str()), 0);
             std::vector<UInt8> before = ReadFileBytes(target);
             t.SaveAs(t.Drawing(25), w, link);
             EXPECT_TRUE(IsLink(link));
             EXPECT_NE(ReadFileBytes(target), before);
             EXPECT_TRUE(t.Whole(w, target));
             EXPECT_EQ(ModeOf(target), 0640u);
         }},
        {"leftovers of killed writers go, look-alikes stay",
         [](WriterSafetyTest& t, const Writer& w, const std::string& folder) {
             std::string path = folder + "/" + w.leaf;
             t.SaveAs(t.Drawing(10), w, path);
             std::string leaf = w.leaf, mine = std::to_string(getpid());
             std::vector<std::string> leftovers = {leaf + ".tmp99999999-0123456789ab",
                                                   "._" + leaf + ".tmp99999999-0123456789ab",
                                                   "._" + leaf + ".tmp99999999-7", leaf + ".old99999999-0"};
             // An exchange's second name goes only beside the file it was made from.
             std::vector<std::string> stay = {leaf + ".tmp" + mine + "-0123456789ab",
                                              leaf + ".tmp99999999-xyz", leaf + ".old99999999-",
                                              "other.old99999999-0"};
             (w.format == kSaveNative ? leftovers : stay).push_back("._" + leaf + ".old99999999-0");
             for (const std::string& name : leftovers)
                 WriteFileBytes(folder + "/" + name, {'x'});
             for (const std::string& name : stay)
                 WriteFileBytes(folder + "/" + name, {'u'});
             // Not a file of ours whatever its name.
             ASSERT_EQ(symlink(path.c_str(), (folder + "/" + leaf + ".tmp99999999-aaaaaaaaaaaa").c_str()), 0);
             stay.push_back(leaf + ".tmp99999999-aaaaaaaaaaaa");
             t.SaveAs(t.Drawing(20), w, path);
             EXPECT_TRUE(t.Whole(w, path));
             for (const std::string& name : leftovers)
                 EXPECT_FALSE(FileExists(folder + "/" + name)) << name;
             for (const std::string& name : stay)
                 EXPECT_TRUE(IsLink(folder + "/" + name) || FileExists(folder + "/" + name)) << name;
         }},
    };
    for (const Case& c : cases)
        for (const Writer& w : kWriters) {
            SCOPED_TRACE(std::string(c.name) + ", " + w.name);
            std::string folder = root + "/" + std::to_string(&c - cases.data()) + "-" + w.name;
            ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
            ClearRecordedAlerts();
            c.run(*this, w, folder);
            while (OpenDocumentList != nullptr)
                DisposeDocumentRecords(OpenDocumentList);
        }
}

// A real full disk: an 8 MB tmpfs left with 0, 2 and 20 pages free, in a child process of its own
// mount namespace. Each writer either reports success with a whole file or fails with the disk-full
// message and the old file byte for byte; a cut file never stands.
TEST_F(WriterSafetyTest, ARealFullDiskNeverLeavesACutFile) {
    std::string mountPoint = root + "/tmpfs";
    ASSERT_EQ(mkdir(mountPoint.c_str(), 0755), 0);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        std::string report;
        auto say = [&](const std::string& line) { report += line + "\n"; };
        bool mounted = (unshare(CLONE_NEWNS) == 0 || unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) &&
                       mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=8m,mode=0755") == 0;
        if (!mounted) {
            say("SKIP cannot mount a tmpfs here: " + std::string(std::strerror(errno)));
        } else {
            for (const Writer& w : kWriters)
                for (int pages : {0, 2, 20}) {
                    std::string folder = mountPoint + "/" + w.name + std::to_string(pages);
                    mkdir(folder.c_str(), 0755);
                    std::string path = folder + "/" + w.leaf, filler = mountPoint + "/filler";
                    SaveAs(Drawing(3000), w, path);
                    std::vector<UInt8> oldData = ReadFileBytes(path);
                    std::vector<std::string> entries = FolderEntries(folder);
                    // Fill the disk, then free the pages asked for.
                    int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                    std::vector<char> block(4096, 'f');
                    off_t size = 0;
                    while (write(fd, block.data(), block.size()) == ssize_t(block.size()))
                        size += off_t(block.size());
                    ftruncate(fd, size - off_t(pages) * 4096);
                    close(fd);
                    ClearRecordedAlerts();
                    SaveAs(Drawing(40000), w, path);
                    std::vector<std::string> texts = ErrorTexts();
                    std::string where =
                        std::string(w.name) + " with " + std::to_string(pages) + " pages free: ";
                    if (texts.empty()) {
                        if (!Whole(w, path)) say(where + "reported success but the file is not whole");
                        if (pages == 0) say(where + "wrote a file on a full disk");
                    } else {
                        if (texts.back().find("disk is full") == std::string::npos)
                            say(where + "said " + texts.back());
                        if (ReadFileBytes(path) != oldData) say(where + "the old file changed");
                        if (w.format == kSavePDF && RunQuietly("qpdf --check '" + path + "'") != 0)
                            say(where + "qpdf finds the PDF damaged");
                        if (FolderEntries(folder) != entries) say(where + "left files behind");
                    }
                    unlink(filler.c_str());
                }
        }
        ssize_t ignored = write(pipeEnds[1], report.data(), report.size());
        (void)ignored;
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child did not finish";
    if (report.rfind("SKIP", 0) == 0) GTEST_SKIP() << report;
    EXPECT_EQ(report, "");
}

// A sidecar that cannot be read is named to the user when the drawing opens, and the save that
// replaces it keeps it beside the drawing under a name that says what it is.
TEST_F(WriterSafetyTest, ADamagedSidecarIsToldAndKeptThroughTheNextSave) {
    std::string path = root + "/Damaged.cadx";
    DocWindowRecord* doc = Drawing(5);
    doc->drawing->file = RefFor(path);
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    std::vector<UInt8> sidecar = ReadFileBytes(SidecarPath(path.c_str()));
    // The resource fork's map points past its end.
    ASSERT_GT(sidecar.size(), 100u);
    std::vector<UInt8> damaged = sidecar;
    for (size_t i = 82; i < 90; ++i)
        damaged[i] = 0xFF;
    WriteFileBytes(SidecarPath(path.c_str()), damaged);
    ClearRecordedAlerts();

    FSRef ref = RefFor(path);
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    std::vector<std::string> texts = ErrorTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("damaged"), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("Damaged.cadx.damaged-sidecar"), std::string::npos) << texts[0];
    EXPECT_NE(DocumentLog(back).find("._Damaged.cadx is damaged"), std::string::npos);
    // Opening changed nothing on disk.
    EXPECT_EQ(ReadFileBytes(SidecarPath(path.c_str())), damaged);

    MarkDocumentChanged(back);
    ASSERT_TRUE(SaveDocument(back, false, false, false, false, false));
    EXPECT_EQ(ReadFileBytes(path + ".damaged-sidecar"), damaged);
    EXPECT_EQ(FolderEntries(root),
              (std::vector<std::string>{"._Damaged.cadx", "Damaged.cadx", "Damaged.cadx.damaged-sidecar"}));
    // A whole sidecar again: the next open says nothing.
    DisposeDocumentRecords(back);
    ClearRecordedAlerts();
    back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_TRUE(ErrorTexts().empty());
}
