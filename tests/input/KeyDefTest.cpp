#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CTokenFile.h"
#include "data/StringTable.h"
#include "input/CKeyDefTable.h"
#include "input/InputMenuModels.h"
#include "input/InputTestSupport.h"
#include "input/KeyCodes.h"
#include "support/InputEvents.h"

namespace
{
uint32_t Resolve(const CKeyDefTable& defs, uint32_t key, uint32_t flags)
{
    uint32_t command = 0, group = 0;
    defs.Resolve(KeyEventOf(key, flags), command, group);
    return command;
}

constexpr uint32_t D = IE_GOING_DOWN, U = IE_GOING_UP, H = IE_IS_DOWN, R = IE_REPEAT;
} // namespace

TEST(KeyDefs, ResolutionWithExactModifiersAndStates)
{
    CKeyDefTable defs;
    defs.SetDefaultKeys();
    struct Row { uint32_t key; uint32_t flags; uint32_t command; const char* why; };
    const Row rows[] = {
        {DIK_W, IE_SHIFT | IE_CTRL | D | H, UC_APP_VIDEO_SYNC, "SHIFT+CTRL+W"},
        {DIK_W, IE_CTRL | D | H, kCommandNone, "CTRL+W is bound to nothing"},
        {DIK_X, IE_CTRL | D | H, kCommandNone, "CTRL+X does not fire X's command"},
        {DIK_P, D | H, UC_APP_PAUSE, "P"},
        {DIK_P, IE_SHIFT | D | H, UC_MODEL_PAUSE, "SHIFT+P is another key"},
        {DIK_P, H, kCommandNone, "P held: state D only"},
        {DIK_NUMPAD4, D | H, UC_CAMERA_LEFT, "press counts as held"},
        {DIK_NUMPAD4, H, UC_CAMERA_LEFT, "held every frame"},
        {DIK_NUMPAD4, U, UC_CAMERA_LEFT, "and once on release"},
        {DIK_T, D | H, UC_KEYAXIS_1_INC, "T down"},
        {DIK_T, H | R, kCommandNone, "T held frames: nothing"},
        {DIK_T, U, UC_KEYAXIS_1_INC, "T up"},
        {DIK_F10, H, UC_APP_PAUSE_STEP, "F10 held steps every frame"},
        {DIK_RETURN, IE_ALT | D | H, UC_VIEW_TOGGLE_FULL_SCREEN, "ALT+Return"},
        {KEY_NONE, D | H, kCommandNone, "no key never matches"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Resolve(defs, row.key, row.flags), row.command) << row.why;
    EXPECT_EQ(Resolve(defs, DIK_F1, D | H), kCommandNone); // F1 is bound only with CTRL
    EXPECT_EQ(Resolve(defs, DIK_F1, IE_CTRL | D | H), static_cast<uint32_t>(UC_APP_ABOUT));
}

TEST(KeyDefs, TheLowerCommandWinsAKeyBoundTwice)
{
    CKeyDefTable defs;
    defs.SetDefaultKeys();
    defs.SetKeyFromText(UC_DEBUG_FPS, "P"); // also UC_APP_PAUSE's
    EXPECT_EQ(Resolve(defs, DIK_P, D | H), static_cast<uint32_t>(UC_APP_PAUSE));
}

TEST(KeyDefs, SetKeyFromTextKeepsStatesAndReformats)
{
    CKeyDefTable defs;
    EXPECT_TRUE(defs.SetKeyFromText(UC_CAMERA_LEFT, "ctrl+numpad 4") == false); // prefix case
    EXPECT_TRUE(defs.SetKeyFromText(UC_CAMERA_LEFT, "CTRL+numpad 4"));
    EXPECT_EQ(defs.GetKeyText(UC_CAMERA_LEFT), "CTRL+NumPad 4");
    EXPECT_EQ(defs.Get(UC_CAMERA_LEFT).flags, IE_CTRL | U | H);
    EXPECT_FALSE(defs.SetKeyFromText(UC_CAMERA_LEFT, "SHIFT+Bogus"));
    EXPECT_EQ(defs.Get(UC_CAMERA_LEFT).key, KEY_NONE);
    EXPECT_EQ(defs.Get(UC_CAMERA_LEFT).flags, IE_SHIFT | U | H);
    EXPECT_TRUE(defs.SetKeyFromText(UC_CAMERA_LEFT, ""));
    EXPECT_EQ(defs.GetKeyText(UC_CAMERA_LEFT), "");
}

TEST(KeyDefs, DuplicateDetectionOverTheEditedTextsAndItsWarning)
{
    std::vector<std::string> texts = DefaultKeyTexts();
    EXPECT_TRUE(FindDuplicateKeys(texts).empty()); // the defaults bind no key twice
    texts[UC_DEBUG_FPS] = "P";
    texts[UC_RECORDING_PLAY] = "P";
    texts[UC_KEYAXIS_1_DEC] = "Home";
    using Pair = std::pair<uint32_t, uint32_t>;
    EXPECT_EQ(FindDuplicateKeys(texts),
              (std::vector<Pair>{{UC_APP_PAUSE, UC_RECORDING_PLAY}, {UC_RECORDING_START, UC_KEYAXIS_1_DEC},
                                 {UC_APP_PAUSE, UC_DEBUG_FPS}}));
    // Moving a key from one command to another is no duplicate: the old box is empty now.
    texts = DefaultKeyTexts();
    texts[UC_DEBUG_FPS] = "P";
    texts[UC_APP_PAUSE] = "";
    EXPECT_TRUE(FindDuplicateKeys(texts).empty());

    LoadStringTableFromText("IDS_WARNING_KEY_DEFINED_TWICE  Twice:\n"
                            "IDS_WARNING_KEY_DEFINED_TWICE__AND  and\n"
                            "IDS_UCG_APP_S  Application\nIDS_UCG_DEBUG_S  Debug\n"
                            "IDS_UC_APP_PAUSE_S  Pause\nIDS_UC_DEBUG_FPS_S  FPS\n");
    texts = DefaultKeyTexts();
    texts[UC_DEBUG_FPS] = "P";
    EXPECT_EQ(FormatDuplicateWarning(FindDuplicateKeys(texts), texts),
              "Twice:\n     Application: Pause  and  Debug: FPS (P)");
    EXPECT_EQ(FormatDuplicateWarning({}, texts), "");
    FreeStringTable();
}

TEST(KeyDefs, WrittenLinesPadTheKeyToTwentyCharacters)
{
    CKeyDefTable defs;
    defs.SetDefaultKeys();
    defs.SetKeyFromText(UC_APP_PAUSE, "SHIFT+CTRL+ALT+Mouse Center Button"); // longer than 20
    // Keys up to 20 characters, the empty one too, are padded as the shipped file (DefaultConfig's
    // byte-for-byte check); a longer one keeps three spaces.
    const std::string text = WrittenText([&](CFile& file) { defs.Write(file); });
    EXPECT_NE(text.find(".KEY_DEF { .KEY \"SHIFT+CTRL+ALT+Mouse Center Button\"   .FUNCTION UC_APP_PAUSE }\r\n"),
              std::string::npos);
    EXPECT_EQ(text.rfind("\r\n\r\n\r\n"), text.size() - 6); // two empty lines close the section
}

TEST(KeyDefs, ReadSkipsBadBlocksAndRoundTrips)
{
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(".KEY_DEF { .KEY \"CTRL+O\" .FUNCTION UC_APP_LOAD_MODEL }\n"
                              ".KEY_DEF { .KEY \"P\" .FUNCTION UC_NO_SUCH_COMMAND }\n"
                              ".KEY_DEF { .KEY \"Not A Key\" .FUNCTION UC_APP_PAUSE }\n"
                              ".KEY_DEF { .KEY \"\" .FUNCTION UC_APP_ABOUT }\n"
                              ".KEY_DEF { .FUNCTION UC_APP_SAVE_MODEL }\n"
                              ".KEY_DEF { .KEY \"numpad 4\" .FUNCTION UC_CAMERA_LEFT }\n",
                              "Config.txt"));
    CKeyDefTable defs;
    defs.SetDefaultKeys(); // reading starts from "no keys"
    std::string warnings;
    defs.Read(file, warnings);
    EXPECT_EQ(defs.GetKeyText(UC_APP_LOAD_MODEL), "CTRL+O");
    EXPECT_EQ(defs.Get(UC_APP_LOAD_MODEL).flags, IE_CTRL | D);
    EXPECT_EQ(defs.GetKeyText(UC_CAMERA_LEFT), "NumPad 4"); // text formatted again
    EXPECT_EQ(defs.Get(UC_APP_PAUSE).key, KEY_NONE);
    EXPECT_EQ(defs.Get(UC_APP_ABOUT).key, KEY_NONE);
    EXPECT_EQ(defs.Get(UC_APP_SAVE_MODEL).key, KEY_NONE);
    EXPECT_EQ(defs.Get(UC_DEBUG_FPS).key, KEY_NONE);
    EXPECT_NE(warnings.find("Config.txt: KEY_DEF 2: unknown FUNCTION 'UC_NO_SUCH_COMMAND'"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("KEY \"Not A Key\""), std::string::npos) << warnings;

    // Written and read back: the same keys.
    CKeyDefTable all;
    all.SetDefaultKeys();
    // The longest key texts (34 characters) must come back too.
    all.SetKeyFromText(UC_RECORDING_START, "SHIFT+CTRL+ALT+Mouse Center Button");
    all.SetKeyFromText(UC_RECORDING_STOP, "SHIFT+CTRL+ALT+Joystick Button 12");
    const std::string text = WrittenText([&](CFile& out) { all.Write(out); });
    CTokenFile again;
    ASSERT_TRUE(again.LoadText(text, "Config.txt"));
    CKeyDefTable back;
    back.Read(again, warnings);
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
    {
        EXPECT_EQ(back.Get(i).key, all.Get(i).key) << i;
        EXPECT_EQ(back.Get(i).flags, all.Get(i).flags) << i;
    }
}

TEST(KeyDefs, MenuRowsAndDefaults)
{
    const std::vector<SKeyDefRow> rows = KeyDefMenuRows();
    int hidden = 0;
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
        hidden += (UserCommandDesc(i)->menuFlags & UCM_HIDDEN) ? 1 : 0;
    EXPECT_EQ(rows.size(), kUserCommandCount - hidden);
    // Group 0 starts at 10; UC_APP_PAUSE_STEP and UC_APP_VIDEO_SYNC add the gap.
    EXPECT_EQ(rows[1].command, static_cast<uint32_t>(UC_APP_LOAD_MODEL));
    EXPECT_EQ(rows[1].y, 10);
    EXPECT_EQ(rows[5].command, static_cast<uint32_t>(UC_APP_VIDEO_SYNC));
    EXPECT_EQ(rows[5].y, 10 + 3 * 20 + 28);
    EXPECT_EQ(rows[6].y, 10 + 3 * 20 + 28 + 28);

    CKeyDefTable defs;
    defs.SetDefaultKeys();
    EXPECT_EQ(defs.GetCommandKeyText("UC_MODEL_RESET_POSITION"), "Space");
    EXPECT_EQ(defs.GetCommandKeyText("UC_BOGUS"), "");
}
