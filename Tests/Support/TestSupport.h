// Helpers shared by all test executables.
#pragma once

#include <atomic>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>

// Points the config, runtime and temporary folders of the process at a fresh private folder.
void PrepareTestEnvironment(int argc, char** argv);

// Creates the Qt application once, for the suites that show windows or draw text.
void EnsureTestApplication();
// Ends the Qt application before the exit handlers run (Qt's own globals are gone by then).
void ShutdownTestApplication();

// A fresh empty folder under the test run's private folder.
std::string MakeTestFolder(const std::string& name);
// What a shell command writes on its standard output (the PDF tools, for instance).
std::string CommandOutput(const std::string& command);

// While it lives, a test that wrongly waits on one of the given pipes (named pipes made with
// mkfifo) is released after a few seconds, so it fails instead of hanging; timedOut() tells.
class PipeWatchdog {
  public:
    explicit PipeWatchdog(std::initializer_list<std::string> pipes, int seconds = 5);
    ~PipeWatchdog();
    bool timedOut() const { return timedOut_; }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<bool> timedOut_{false};
    std::thread thread_;
};

// The folder fixtures live in, and the folder test output (PNG renders) goes to.
std::string FixturePath(const std::string& name);
std::string TestOutputPath(const std::string& name);

// A Pascal string literal for tests: PStr("abc") gives a Str255 holding "abc".
struct PStrBuf {
    unsigned char bytes[256];
    operator unsigned char*() { return bytes; }
    operator const unsigned char*() const { return bytes; }
};
PStrBuf PStr(const std::string& text);
std::string ToStd(const unsigned char* pstr);
