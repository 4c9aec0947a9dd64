// Helpers shared by all test executables.
#include "TestSupport.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <vector>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {
int gArgc = 1;
char gArg0[] = "draftwerk-test";
char* gArgv[] = {gArg0, nullptr};
std::string gRoot;
std::unique_ptr<QApplication> gApp;
} // namespace

void PrepareTestEnvironment(int argc, char** argv) {
    (void)argc;
    (void)argv;
    // A death test's child process re-runs main: it shares its parent's folder and leaves cleanup to it.
    if (const char* inherited = std::getenv("DW_TEST_ROOT")) {
        gRoot = inherited;
        return;
    }
    std::string pattern = std::filesystem::temp_directory_path().string() + "/draftwerk-test-XXXXXX";
    std::unique_ptr<char[]> buf(new char[pattern.size() + 1]);
    std::strcpy(buf.get(), pattern.c_str());
    if (!mkdtemp(buf.get())) std::abort();
    gRoot = buf.get();
    setenv("DW_TEST_ROOT", gRoot.c_str(), 1);
    std::filesystem::create_directories(gRoot + "/config");
    std::filesystem::create_directories(gRoot + "/runtime");
    std::filesystem::permissions(gRoot + "/runtime", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(gRoot + "/data");
    setenv("XDG_CONFIG_HOME", (gRoot + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (gRoot + "/runtime").c_str(), 1);
    setenv("XDG_DATA_HOME", (gRoot + "/data").c_str(), 1);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::atexit([] {
        gApp.reset();
        std::error_code ec;
        std::filesystem::remove_all(gRoot, ec);
    });
}

void EnsureTestApplication() {
    if (gApp || QApplication::instance()) return;
    gApp = std::make_unique<QApplication>(gArgc, gArgv);
    std::setlocale(LC_NUMERIC, "C");
}

void ShutdownTestApplication() {
    gApp.reset();
}

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::string MakeTestFolder(const std::string& name) {
    std::string path = gRoot + "/" + name;
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path);
    return path;
}

PipeWatchdog::PipeWatchdog(std::initializer_list<std::string> pipes, int seconds) {
    std::vector<std::string> paths(pipes);
    thread_ = std::thread([this, paths, seconds] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) return;
        timedOut_ = true;
        // Opened for reading and writing, a pipe lets a waiting reader or writer on, until the test ends.
        while (!finished_) {
            std::vector<int> held;
            for (const std::string& p : paths)
                if (int fd = open(p.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC); fd >= 0) held.push_back(fd);
            done_.wait_for(lock, std::chrono::milliseconds(50), [this] { return finished_; });
            for (int fd : held)
                close(fd);
        }
    });
}

PipeWatchdog::~PipeWatchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    thread_.join();
}

std::string FixturePath(const std::string& name) {
    return std::string(DW_FIXTURE_DIR) + "/" + name;
}

std::string TestOutputPath(const std::string& name) {
    std::filesystem::create_directories(DW_TEST_OUTPUT_DIR);
    return std::string(DW_TEST_OUTPUT_DIR) + "/" + name;
}

PStrBuf PStr(const std::string& text) {
    PStrBuf b{};
    size_t n = text.size() < 255 ? text.size() : 255;
    b.bytes[0] = static_cast<unsigned char>(n);
    std::memcpy(b.bytes + 1, text.data(), n);
    return b;
}

std::string ToStd(const unsigned char* pstr) {
    return std::string(reinterpret_cast<const char*>(pstr + 1), pstr[0]);
}
