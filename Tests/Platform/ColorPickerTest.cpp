#include "Platform/ColorPicker.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(ColorPicker, QueuedAnswersAreTakenInOrderAndCancelLeavesTheColour) {
    const RGBColor start{1, 2, 3};
    QueueColorPickerAnswer(true, RGBColor{0xFFFF, 0x8000, 0});
    QueueColorPickerAnswer(false, RGBColor{9, 9, 9});
    SInt32 asked = ColorPickerRequests();

    RGBColor out = start;
    EXPECT_TRUE(GetColor(Point{0, 0}, PStr("Colour"), &start, &out));
    EXPECT_EQ(out.red, 0xFFFF);
    EXPECT_EQ(out.green, 0x8000);
    EXPECT_EQ(out.blue, 0);

    out = start;
    EXPECT_FALSE(GetColor(Point{0, 0}, PStr("Colour"), &start, &out));
    EXPECT_EQ(out.red, 1);

    // Nobody answers offscreen: cancelled, colour untouched.
    EXPECT_FALSE(GetColor(Point{0, 0}, nullptr, &start, &out));
    EXPECT_EQ(out.blue, 3);
    EXPECT_EQ(ColorPickerRequests(), asked + 3);
}
