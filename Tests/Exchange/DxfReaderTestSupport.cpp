#include "DxfReaderTestSupport.h"

#include "Files/Preferences.h"
#include "Model/NewDocument.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "TestSupport.h"

#include <fstream>

std::string DxfText(const DxfCodePairs& pairs) {
    std::string s;
    for (const auto& [code, value] : pairs)
        s += std::to_string(code) + "\n" + value + "\n";
    return s;
}

std::string DxfEntities(const DxfCodePairs& pairs) {
    DxfCodePairs all = {{0, "SECTION"}, {2, "ENTITIES"}};
    all.insert(all.end(), pairs.begin(), pairs.end());
    all.push_back({0, "ENDSEC"});
    all.push_back({0, "EOF"});
    return DxfText(all);
}

void DxfReaderTest::SetUp() {
    gDocumentHooks = DocumentHooks{};
    ClearRecordedAlerts();
    SetDefaultGeneralPrefs();
    folder = MakeTestFolder("DxfReader");
}

void DxfReaderTest::TearDown() {
    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    gDocumentHooks = DocumentHooks{};
    SetAlertResponder(nullptr);
    ClearRecordedAlerts();
}

Boolean DxfReaderTest::Import(const std::string& text, const std::string& name) {
    std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return ImportFile(path);
}

Boolean DxfReaderTest::ImportFile(const std::string& path) {
    FSRef ref;
    EXPECT_EQ(FSMakeRef(path.c_str(), &ref), noErr);
    doc = nullptr;
    return ImportDXF(&doc, &ref);
}

std::string DxfReaderTest::Log() const {
    Handle log = doc != nullptr ? doc->drawing->logText : nullptr;
    if (log == nullptr || *log == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(*log), size_t(GetHandleSize(log)));
}

std::vector<int> DxfReaderTest::Messages() const {
    std::vector<int> numbers;
    const std::vector<std::string>* list = FindStringList(200);
    for (const AlertRecord& alert : RecordedAlerts()) {
        int found = -1;
        for (size_t i = 0; list != nullptr && i < list->size() && found < 0; ++i) {
            const std::string& text = (*list)[i];
            if (text.empty()) continue;
            size_t hash = text.find('#');
            std::string head = text.substr(0, hash);
            std::string tail = hash == std::string::npos ? std::string() : text.substr(hash + 1);
            const std::string& shown = alert.params[0];
            if (shown.size() >= head.size() + tail.size() && shown.compare(0, head.size(), head) == 0 &&
                shown.compare(shown.size() - tail.size(), tail.size(), tail) == 0)
                found = int(i + 1);
        }
        numbers.push_back(found);
    }
    return numbers;
}

std::vector<std::pair<double, double>> PointsOf(const PolylineRecord* p) {
    std::vector<std::pair<double, double>> v;
    const Float64* xy = p->points ? reinterpret_cast<const Float64*>(*p->points) : nullptr;
    for (SInt16 i = 0; xy != nullptr && i < p->pointCount; ++i)
        v.push_back({xy[2 * i], xy[2 * i + 1]});
    return v;
}
