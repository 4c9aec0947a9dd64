// The document log, unit names and divisors, pen matching and the date strings.
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Platform/Fonts.h"
#include "Platform/MemoryManager.h"
#include "Model/SharedUtilities.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <regex>

namespace {

struct TestDocument {
    DocSettings settings{};
    DrawingRecord drawing{};
    DocWindowRecord doc{};
    TestDocument() {
        doc.settings = &settings;
        doc.drawing = &drawing;
    }
    ~TestDocument() {
        if (drawing.logText) DisposeHandle(drawing.logText);
    }
    std::string Log() const {
        if (!drawing.logText) return {};
        return std::string(*drawing.logText, static_cast<size_t>(GetHandleSize(drawing.logText)));
    }
};

} // namespace

TEST(DocumentLog, LinesEndWithCarriageReturnsBelowTheLimit) {
    TestDocument t;
    AppendLogLine(&t.doc, PStr("first"));
    AppendLogCString(&t.doc, "second");
    EXPECT_EQ(t.Log(), "first\rsecond\r");

    // A line of 255 characters keeps its carriage return: the next line starts on its own.
    std::string longLine(255, 'x');
    AppendLogLine(&t.doc, PStr(longLine));
    AppendLogLine(&t.doc, PStr("next"));
    EXPECT_EQ(t.Log(), "first\rsecond\r" + longLine + "\rnext\r");

    // 31990 bytes: a 9-character line would reach 32000 with its CR, an 8-character one stays below.
    SetHandleSize(t.drawing.logText, 31990);
    AppendLogLine(&t.doc, PStr("123456789"));
    EXPECT_EQ(GetHandleSize(t.drawing.logText), 31990);
    AppendLogLine(&t.doc, PStr("12345678"));
    EXPECT_EQ(GetHandleSize(t.drawing.logText), 31999);
    EXPECT_EQ(t.Log().substr(31990), "12345678\r");
}

TEST(DrawingUnitsTest, ZeroFactorUnitsDivideAsMillimetres) {
    TestDocument t;
    struct Case {
        SInt16 code;
        double custom;
        double factor;
        double divisor;
    };
    const Case cases[] = {
        {0, 0, 1, 1},  {8, 0, 25.4, 25.4}, {-3, 0, 1000, 1000}, {5, 0, 0, 1},
        {10, 0, 0, 1}, {12, 0, 0, 1},      {-5, 0, 0, 1},       {11, 3.5, 3.5, 3.5},
        {11, 0, 0, 1}, {11, NAN, NAN, 1},  {11, -2.0, -2, 1},
    };
    for (const Case& c : cases) {
        t.settings.unitCode = c.code;
        t.settings.customUnitFactor = c.custom;
        if (std::isnan(c.factor))
            EXPECT_TRUE(std::isnan(UnitToMillimetres(&t.doc)));
        else
            EXPECT_EQ(UnitToMillimetres(&t.doc), c.factor) << c.code;
        double d = UnitDivisor(&t.doc);
        EXPECT_EQ(d, c.divisor) << c.code;
        EXPECT_TRUE(std::isfinite(123.0 / d));
    }
}

TEST(DrawingUnitsTest, UnitNamesComeFromTheListOrTheCustomName) {
    TestDocument t;
    Str255 name;
    t.settings.unitCode = 0;
    UnitName(&t.doc, name);
    EXPECT_EQ(ToStd(name), "mm");
    t.settings.unitCode = 8;
    UnitName(&t.doc, name);
    EXPECT_EQ(ToStd(name), "in");
    t.settings.unitCode = 11;
    std::memcpy(t.settings.customUnitName,
                "\x03"
                "bar",
                4);
    UnitName(&t.doc, name);
    EXPECT_EQ(ToStd(name), "bar");
    t.settings.unitCode = 40;
    UnitName(&t.doc, name);
    EXPECT_EQ(ToStd(name), "");
}

TEST(SharedUtilities, NearestPenWidthTakesTheFirstOfEquals) {
    TestDocument t;
    const double widths[8] = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7, 0.5, 1.4};
    std::copy(widths, widths + 8, t.settings.penWidths);
    struct Case {
        SInt16 width100;
        SInt16 pen;
    };
    for (Case c : {Case{35, 4}, Case{30, 3}, Case{50, 5}, Case{60, 5}, Case{0, 1}, Case{900, 8}}) {
        NearestPenWidth(&t.doc, c.width100);
        EXPECT_EQ(t.settings.currentPen, c.pen) << c.width100;
    }
}

TEST(SharedUtilities, MessageListsAndDateStrings) {
    Str255 s;
    GetStr128(2, s);
    EXPECT_GT(s[0], 0);
    EXPECT_TRUE(MatchesAppString(PStr("Cancel"), 1));
    EXPECT_FALSE(MatchesAppString(PStr("cancel"), 1));
    Str20 date, time;
    DateTimeStrings(date, time);
    EXPECT_TRUE(std::regex_match(ToStd(date), std::regex(R"([1-9]\d?\.[1-9]\d?\.\d{4})"))) << ToStd(date);
    EXPECT_TRUE(std::regex_match(ToStd(time), std::regex(R"((0|[1-9]\d?)\.(0|[1-9]\d?))"))) << ToStd(time);
}

TEST(SharedUtilities, ApplicationFontsByName) {
    EXPECT_EQ(AppFontNumber(), kFontGeneva); // the string resources' names
    SetAppFontNames(PStr("Courier"), PStr("No Such Font"));
    EXPECT_EQ(AppFontNumber(), kFontCourier);
    EXPECT_EQ(AppSmallFontNumber(), 0);
    SetAppFontNames(PStr("Geneva"), PStr("Geneva"));
}
