// Helpers of the file tests.
#include "FilesFixture.h"

#include "Platform/AppResources.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Files/NativeFile.h"
#include "Model/NewDocument.h"
#include "Files/PrintRecords.h"
#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

void FilesTest::SetUp() {
    gDocumentHooks = DocumentHooks{};
    ClearRecordedAlerts();
    FSClearFaultInjection();
}

void FilesTest::TearDown() {
    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    gDocumentHooks = DocumentHooks{};
    SetAlertResponder(nullptr);
    ClearRecordedAlerts();
    FSClearFaultInjection();
}

DocWindowRecord* FilesTest::NewDoc() {
    DocWindowRecord* doc = nullptr;
    EXPECT_TRUE(NewDocument(&doc, nullptr, 0));
    return doc;
}

namespace {

void SetName(StringPtr s, const char* text) {
    CStrToPStr(s, 256, text);
}

Handle Points(std::initializer_list<Float64> xy) {
    Handle h = NewHandleClear(Size(xy.size() * 8));
    std::copy(xy.begin(), xy.end(), reinterpret_cast<Float64*>(*h));
    return h;
}

Handle Outline(SInt16 last, std::initializer_list<Float64> xy) {
    Handle h = NewOutlineHandle(last);
    std::copy(xy.begin(), xy.end(), OutlinePoints(h));
    return h;
}

} // namespace

void FillDocument(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    SetName(d->titleBlock->field4, "Bracket, left");
    doc->settings->unitCode = 1;
    doc->settings->drawingScale = 2.5;
    SetLayerVisible(doc->layerVisible, 7, false);
    doc->layerColors->colors[3] = RGBColor{1, 2, 3};
    SetName(doc->layerNames->names[5], "Hidden edges");
    doc->layerNames->names[6][0] = 0;

    SeekLastLine(doc);
    LineRecord* line = AppendLineAtCursor(doc, 0, 0, 100, 50, false);
    line->group = 7;
    line->penBlock.penWidth100 = 50;
    SeekLastArc(doc);
    AppendArcAtCursor(doc, 10, 20, 5, 0, 90, false);

    TextRecord* text = nullptr;
    TextRecord* last = nullptr;
    LastText(doc, &last);
    NewTextElement(doc, &text);
    SetName(text->text, "D\xC3\xBC"
                        "bel");
    text->x = 3, text->y = 4;
    last->next = text;
    TextRecord* box = nullptr;
    NewTextElement(doc, &box);
    box->textFlags = kFramedTextBoxFlags;
    PtrToHand("two\rlines", &box->boxText, 9);
    text->next = box;

    DimensionRecord* dim = nullptr;
    NewDimensionElement(doc, &dim);
    dim->x2 = 30, dim->kind = 1;
    SetName(dim->text, "30");
    doc->dimensionHead->next = dim;

    PolylineRecord* poly = nullptr;
    NewPolylineElement(doc, &poly);
    poly->pointCount = 3;
    poly->points = Points({0, 0, 1, 1, 2, 0});
    doc->polylineHead->next = poly;

    AreaRecord* area = nullptr;
    NewAreaElement(doc, &area);
    area->outline = Outline(3, {0, 0, 10, 0, 10, 10, 0, 10});
    area->lastHoleIndex = 0;
    area->holes = NewHandleClear(sizeof(Handle));
    reinterpret_cast<Handle*>(*area->holes)[0] = Outline(-1, {5, 5, 1, 2});
    doc->areaHead->next = area;

    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    SetName(def->name, "Screw");
    def->maxX = def->maxY = 4;
    for (int i = 0; i < 2; ++i) {
        LineRecord* l = NewLineRecord();
        l->x2 = i + 1, l->layer = 2, l->pen = 1, l->penBlock.penWidth100 = 25;
        l->next = def->lineHead->next;
        def->lineHead->next = l;
    }
    ArcRecord* a = NewArcRecord();
    a->radius = 2, a->endAngle = 360, a->penBlock.penWidth100 = 25;
    def->arcHead->next = a;
    doc->symbolDefHead->next = def;
    SymbolInstanceRecord* inst = nullptr;
    NewInstanceElement(doc, &inst);
    inst->x = 50, inst->y = 60, inst->xScale = inst->yScale = 1;
    inst->definition = def;
    doc->instanceHead->next = inst;

    AttributePreset* preset = NewAttributePreset();
    SetName(preset->name, "Thick");
    preset->mask = 0x80000000, preset->pen = 3, preset->scale = 1.5, preset->color = RGBColor{9, 8, 7};
    d->attributePresets = preset;
    LayerSetRecord* set = NewLayerSetRecord();
    SetName(set->name, "Walls");
    set->layers[0] = 0x81;
    d->layerSets = set;
    const char* viewNames[] = {"A", "b", "c"};
    SavedViewRecord** viewSlot = &d->savedViews;
    for (const char* n : viewNames) {
        SavedViewRecord* v = NewSavedView();
        SetName(v->name, n);
        v->rect[2] = 100;
        *viewSlot = v;
        viewSlot = &v->next;
    }
    FrameRecord* frame = NewFrameRecord();
    SetName(frame->name, "Sheet 1");
    frame->scale = 1, frame->rect[2] = 297, frame->rect[3] = 210, frame->scaleX = frame->scaleY = 1;
    PageFormatData page = DefaultPageFormat();
    page.orientation = 2;
    frame->pageFormat = NewPageFormatHandle(page);
    frame->printSettings = NewPrintSettingsHandle(DefaultPrintSettings());
    d->frames = frame;
    CStrToPStr(d->variables->entries[1], 256, "W=12");
    d->variableCount = 2;

    doc->imageCount = 1;
    ImageRecord& image = doc->images[0];
    image.x = 1, image.y = 2, image.resolution = 72;
    image.width = 2, image.height = 2, image.bytesPerRow = 8;
    image.pixels = NewHandleClear(16);
    (*image.pixels)[5] = 42;
    SetName(image.fileName, "scan.tif");

    SetName(d->headerFooter.texts[0], "Header");
    SetName(d->headerFooter.texts[5], "Footer 3");
    NamedTableRecord* table = NewNamedTableRecord();
    SetName(table->name, "Red lines");
    table->kind = 2, table->rowCount = 1, table->rows[0].criterion = 5;
    SetName(table->rows[0].condition, "= 2");
    d->criteriaTables = table;
}

std::vector<UInt8> DataForkBytes(DocWindowRecord* doc) {
    doc->settings->saveDate = 1;
    doc->settings->editingSeconds = 2;
    StreamClearError();
    SInt16 out = OpenMemoryStream();
    NumberSymbolDefinitions(doc);
    WriteNativeDataFork(doc, out, false);
    SInt64 size = 0;
    const UInt8* data = MemoryStreamData(out, &size);
    std::vector<UInt8> bytes(data, data + size);
    CloseMemoryStream(out);
    return bytes;
}

std::vector<UInt8> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<UInt8>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::vector<UInt8>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

FSRef RefFor(const std::string& path) {
    FSRef ref;
    EXPECT_EQ(FSMakeRef(path.c_str(), &ref), noErr);
    return ref;
}

std::string DocumentLog(const DocWindowRecord* doc) {
    Handle log = doc->drawing->logText;
    if (log == nullptr || *log == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(*log), size_t(GetHandleSize(log)));
}

std::vector<SInt16> ErrorMessagesShown() {
    std::vector<SInt16> numbers;
    const std::vector<std::string>* list = FindStringList(200);
    for (const AlertRecord& alert : RecordedAlerts()) {
        SInt16 found = -1;
        if (list != nullptr)
            for (size_t i = 0; i < list->size() && found < 0; ++i) {
                const std::string& text = (*list)[i];
                if (text.empty()) continue;
                // The text around the "#" that the file name replaced.
                size_t hash = text.find('#');
                std::string head = text.substr(0, hash);
                std::string tail = hash == std::string::npos ? std::string() : text.substr(hash + 1);
                const std::string& shown = alert.params[0];
                if (shown.size() >= head.size() + tail.size() && shown.compare(0, head.size(), head) == 0 &&
                    shown.compare(shown.size() - tail.size(), tail.size(), tail) == 0)
                    found = SInt16(i + 1);
            }
        numbers.push_back(found);
    }
    return numbers;
}

WithoutPermissionOverride::WithoutPermissionOverride() {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    if (syscall(SYS_capget, &header, data) != 0) return;
    std::memcpy(saved_, data, sizeof data);
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        data[cap / 32].effective &= ~(1u << (cap % 32));
    active_ = syscall(SYS_capset, &header, data) == 0;
}

WithoutPermissionOverride::~WithoutPermissionOverride() {
    if (!active_) return;
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    syscall(SYS_capset, &header, saved_);
}
