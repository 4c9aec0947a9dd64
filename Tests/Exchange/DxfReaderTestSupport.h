// Shared by the DXF reader tests: a fresh environment per test, DXF text made from group-code pairs,
// the import of a text or a file, and what came of it (elements, log, alerts).
#pragma once

#include "Exchange/DxfReader.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/NewDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using DxfCodePairs = std::vector<std::pair<int, std::string>>;

// The pairs, each on two lines ending in "\n".
std::string DxfText(const DxfCodePairs& pairs);
// An ENTITIES section holding the pairs, and the end mark.
std::string DxfEntities(const DxfCodePairs& pairs);

class DxfReaderTest : public ::testing::Test {
  protected:
    std::string folder;
    DocWindowRecord* doc = nullptr;
    void SetUp() override;
    void TearDown() override;
    // Writes the text to a file of that name and imports it; doc is the new document (or null).
    Boolean Import(const std::string& text, const std::string& name = "drawing.dxf");
    Boolean ImportFile(const std::string& path);
    std::string Log() const;
    // Numbers of the STR# 200 messages shown so far, found by their texts.
    std::vector<int> Messages() const;
};

template <class T> std::vector<T*> ListOf(T* head) {
    std::vector<T*> v;
    for (T* e = head ? head->next : nullptr; e != nullptr; e = e->next)
        v.push_back(e);
    return v;
}

std::vector<std::pair<double, double>> PointsOf(const PolylineRecord* p);
