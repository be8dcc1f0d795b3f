// Texts of a colour file come back from a save as they were read, control
// codes and unpaired surrogates included (fuzzing finds: both used to change
// on each save).

#include "settings/color_file.h"

#include <gtest/gtest.h>

using namespace mekuri;

namespace {

TEST(ColorFileTexts, EveryByteBelow80SurvivesWriteAndRead) {
    for (int code = 1; code < 0x80; ++code) {
        ColorDialogState state;
        state.customColors = {QStringLiteral("ColorA=") + QChar(code) + QStringLiteral("FFFFFF")};
        ColorDialogState read;
        ASSERT_TRUE(parseColorFile(serializeColorFile(state), read).ok()) << code;
        EXPECT_EQ(read.customColors, state.customColors) << "code " << code;
    }
}

TEST(ColorFileTexts, UndecodableBytesReadOnceThenStayTheSame) {
    // A short string with a byte the code page does not define: whatever it
    // reads as, writing and reading again gives the same state.
    ColorDialogState written;
    written.customColors = {QStringLiteral("A~B")};
    QByteArray file = serializeColorFile(written);
    const qsizetype at = file.indexOf("A~B");
    ASSERT_GE(at, 0);
    file[at + 1] = char(0xa0);
    ColorDialogState first;
    ASSERT_TRUE(parseColorFile(file, first).ok());
    ASSERT_EQ(first.customColors.size(), 1);
    ColorDialogState second;
    ASSERT_TRUE(parseColorFile(serializeColorFile(first), second).ok());
    EXPECT_EQ(second, first);
}

TEST(ColorFileTexts, AnUnpairedSurrogateIsKeptByTheWideForm) {
    // Mostly ASCII with one lone surrogate: the short UTF-8 form would turn
    // it into "?" on every save.
    ColorDialogState state;
    state.customColors = {QStringLiteral("ColorA=FFFFFF") + QChar(0xDAFF)};
    ColorDialogState read;
    ASSERT_TRUE(parseColorFile(serializeColorFile(state), read).ok());
    EXPECT_EQ(read.customColors, state.customColors);
}

}  // namespace
