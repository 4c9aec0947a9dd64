// Shared helpers of the file tests: a headless document filled with one of everything a drawing
// file stores, its data fork as bytes, and files on disk.
#pragma once

#include "Platform/DialogManager.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every open document freed, hooks, alerts and injected faults cleared after each test.
class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    DocWindowRecord* NewDoc();
};

// One line, arc, text, framed text box, dimension, polyline, area with a hole, symbol definition
// with two lines and an arc and an instance of it, presets, layer sets, names, views, frames,
// variables, an image, header and footer texts and a selection table.
void FillDocument(DocWindowRecord* doc);
// The data fork the writer produces, with the save date and editing time fixed.
std::vector<UInt8> DataForkBytes(DocWindowRecord* doc);

std::vector<UInt8> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<UInt8>& bytes);
bool FileExists(const std::string& path);
// Names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
FSRef RefFor(const std::string& path);
// The document log as text, one line per message, each ending in a carriage return.
std::string DocumentLog(const DocWindowRecord* doc);
// Alerts of list 200 shown so far, as message numbers found by their texts (-1 for other texts).
std::vector<SInt16> ErrorMessagesShown();

// Running as root, permission bits are not checked; while this lives, they are.
class WithoutPermissionOverride {
  public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();

  private:
    UInt32 saved_[6] = {};
    bool active_ = false;
};

template <class T> int CountAfter(const T* head) {
    int n = 0;
    for (const T* e = head ? head->next : nullptr; e != nullptr; e = e->next)
        ++n;
    return n;
}
