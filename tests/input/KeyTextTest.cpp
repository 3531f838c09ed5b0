#include <gtest/gtest.h>

#include <string>

#include <SDL2/SDL_keyboard.h>

#include "input/KeyCodes.h"
#include "input/SdlKeyMap.h"
#include "input/UserCommands.h"

// Parsing takes the first name that matches ignoring case, so this also fails for a name that
// two codes share.
TEST(KeyText, EveryKeyCodeRoundTripsThroughItsTextWithEveryModifierSet)
{
    for (uint32_t code = 0; code < KEY_CODE_COUNT; ++code)
        for (uint32_t modifiers : {0u, IE_SHIFT, IE_CTRL | IE_ALT, IE_SHIFT | IE_CTRL | IE_ALT})
        {
            const std::string text = FormatKey(code, modifiers);
            uint32_t key = 0, parsedModifiers = 0;
            // Code 304 with modifiers has no key after its prefixes: not a key text.
            if (code == KEY_NONE && modifiers != 0)
                continue;
            ASSERT_TRUE(ParseKey(text, key, parsedModifiers)) << text;
            EXPECT_EQ(key, code) << text;
            EXPECT_EQ(parsedModifiers, modifiers) << text;
        }
}

// The names other tests cannot see: gaps in the table and names kept as earlier files wrote them.
TEST(KeyText, IrregularNames)
{
    const std::pair<uint32_t, const char*> rows[] = {
        {0x00, "0x00"}, {0x54, "0x54"}, {0xFF, "0xFF"},   // unused codes print as hex
        {0x9D, "Right Contol"},                           // misspelt, but files hold it so
        {303, "BOTH KEYS"}, {304, ""}, {305, ""},         // KEY_NONE and past the table
    };
    for (const auto& [code, name] : rows)
        EXPECT_STREQ(KeyName(code), name) << code;
}

TEST(KeyText, ParseCases)
{
    struct Row { const char* text; bool ok; uint32_t key; uint32_t modifiers; };
    const Row rows[] = {
        {"CTRL+SHIFT+w", true, DIK_W, IE_CTRL | IE_SHIFT}, // key names ignore case
        {"ALT+CTRL+ALT+d", true, DIK_D, IE_ALT | IE_CTRL}, // prefixes repeat in any order
        {"shift+W", false, KEY_NONE, 0},                   // prefixes are case-sensitive
        {"", true, KEY_NONE, 0},                           // the empty text is "no key"
        {"SHIFT+", false, KEY_NONE, IE_SHIFT},             // modifiers alone name no key
        {"Right Contol", true, DIK_RCONTROL, 0},
        {"numpad enter", true, DIK_NUMPADENTER, 0},
        {"0x54", true, 0x54, 0},
        {"SHIFT+Nonsense", false, KEY_NONE, IE_SHIFT},      // recognised modifiers are kept
        {"W ", false, KEY_NONE, 0},                         // no trimming
        {"CTRL+ALT+SHIFT+Mouse Right Button", true, KEY_MOUSE_RIGHT, IE_CTRL | IE_ALT | IE_SHIFT},
        {"Joystick POV3 se", true, KEY_BUTTON_BASE + BUTTON_JOYSTICK_POV3_N + 3, 0},
        {"-", true, DIK_MINUS, 0},
    };
    for (const Row& row : rows)
    {
        uint32_t key = 1, modifiers = 1;
        EXPECT_EQ(ParseKey(row.text, key, modifiers), row.ok) << row.text;
        EXPECT_EQ(key, row.key) << row.text;
        EXPECT_EQ(modifiers, row.modifiers) << row.text;
    }
}

TEST(KeyText, EveryDefaultKeyOfTheCommandTableParses)
{
    for (uint32_t command = 0; command < kUserCommandCount; ++command)
    {
        const SUserCommandDesc* desc = UserCommandDesc(command);
        ASSERT_NE(desc, nullptr);
        EXPECT_EQ(desc->command, command);
        uint32_t key = 0, modifiers = 0;
        EXPECT_TRUE(ParseKey(desc->defaultKey, key, modifiers)) << UserCommandName(command);
        // A default key text is already in the written form.
        EXPECT_EQ(FormatKey(key, modifiers), desc->defaultKey) << UserCommandName(command);
    }
}

TEST(KeyText, CommandNamesLookUpExactly)
{
    EXPECT_EQ(LookupUserCommand("uc_app_video_sync"), -1);
    EXPECT_EQ(LookupUserCommand("UC_UNDEFINED"), static_cast<int>(UC_UNDEFINED));
    for (int i = 0; i <= static_cast<int>(UC_UNDEFINED); ++i)
        EXPECT_EQ(LookupUserCommand(UserCommandName(i)), i);
}

TEST(SdlKeyMap, MappedKeysLandOnNamedSlots)
{
    struct Row { SDL_Scancode sdl; uint32_t dik; };
    const Row rows[] = {
        {SDL_SCANCODE_RETURN, DIK_RETURN}, {SDL_SCANCODE_UP, DIK_UP},       {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
        {SDL_SCANCODE_RCTRL, DIK_RCONTROL}, {SDL_SCANCODE_0, 11},           {SDL_SCANCODE_F12, 0x58},
        {SDL_SCANCODE_F16, 0},              {SDL_SCANCODE_UNKNOWN, 0},      // no slot: ignored
    };
    for (const Row& row : rows)
        EXPECT_EQ(ScanCodeFromSdl(row.sdl), row.dik) << SDL_GetScancodeName(row.sdl);
    // Every slot SDL reaches has a name of its own (none shows as a hex code).
    for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl)
    {
        const uint32_t dik = ScanCodeFromSdl(static_cast<SDL_Scancode>(sdl));
        if (dik == 0)
            continue;
        const std::string name = KeyName(dik);
        EXPECT_NE(name.rfind("0x", 0), 0u) << sdl << " " << name;
    }
}

TEST(SdlKeyMap, JoystickUnits)
{
    EXPECT_EQ(JoystickAxisFromSdl(-32768), -1000);
    EXPECT_EQ(JoystickAxisFromSdl(32767), 1000);
    EXPECT_EQ(JoystickAxisFromSdl(0), 0);
    EXPECT_EQ(JoystickSliderFromSdl(-32768), 0);
    EXPECT_EQ(JoystickSliderFromSdl(32767), 1000);
    EXPECT_EQ(JoystickHatFromSdl(SDL_HAT_CENTERED), 0xFFFFFFFFu);
    EXPECT_EQ(JoystickHatFromSdl(SDL_HAT_RIGHTUP), 4500u);
    EXPECT_EQ(JoystickHatFromSdl(SDL_HAT_LEFT), 27000u);
}
