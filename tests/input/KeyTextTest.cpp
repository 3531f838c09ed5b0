#include <gtest/gtest.h>

#include <set>
#include <string>

#include <strings.h>

#include <SDL2/SDL_keyboard.h>

#include "input/KeyCodes.h"
#include "input/SdlKeyMap.h"
#include "input/UserCommands.h"

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

TEST(KeyText, NamesAreUniqueIgnoringCase)
{
    // Parsing takes the first case-insensitive match: a duplicate would shadow a key.
    std::set<std::string> seen;
    for (uint32_t code = 0; code < KEY_CODE_COUNT; ++code)
    {
        std::string lower = KeyName(code);
        for (char& c : lower)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(lower).second) << "duplicate name " << KeyName(code);
    }
}

TEST(KeyText, NamesOfTheTable)
{
    struct Row
    {
        uint32_t code;
        const char* name;
    };
    const Row rows[] = {
        {0x00, "0x00"},         {0x01, "Escape"},          {0x0B, "0"},
        {0x0C, "-"},            {0x1C, "Return"},          {0x37, "NumPad Multiply"},
        {0x54, "0x54"},         {0x56, "OEM_102"},         {0x9D, "Right Contol"}, // the name as it stands
        {0xB5, "NumPad Divide"}, {0xC8, "Up"},             {0xD0, "Down"},
        {0xE4, "0xE4"},         {0xED, "Media Select"},    {0xFF, "0xFF"},
        {256, "Mouse Left Button"}, {257, "Mouse Right Button"}, {259, "Joystick Button 1"},
        {270, "Joystick Button 12"}, {271, "Joystick POV1 N"}, {278, "Joystick POV1 NW"},
        {302, "Joystick POV4 NW"},  {303, "BOTH KEYS"},     {304, ""},
    };
    for (const Row& row : rows)
        EXPECT_STREQ(KeyName(row.code), row.name) << row.code;
    EXPECT_STREQ(KeyName(305), "");
}

TEST(KeyText, FormatOrdersModifiersShiftCtrlAlt)
{
    EXPECT_EQ(FormatKey(DIK_W, IE_ALT | IE_CTRL | IE_SHIFT), "SHIFT+CTRL+ALT+W");
    EXPECT_EQ(FormatKey(DIK_F1 + 3, IE_ALT), "ALT+F4");
    EXPECT_EQ(FormatKey(DIK_NUMPAD5, IE_GOING_DOWN | IE_IS_DOWN), "NumPad 5"); // state bits are not text
}

TEST(KeyText, ParseCases)
{
    struct Row
    {
        const char* text;
        bool ok;
        uint32_t key;
        uint32_t modifiers;
    };
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

TEST(KeyText, DescribeListsStatesInFixedOrderThenTheCommand)
{
    CInputEvent event;
    event.key = DIK_P;
    event.flags = IE_SHIFT | IE_REPEAT | IE_GOING_DOWN | IE_IS_DOWN;
    event.command = UC_MODEL_PAUSE;
    EXPECT_EQ(DescribeEvent(event), "SHIFT+P IS-DOWN GOING-DOWN REPEAT UC_MODEL_PAUSE");
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
    EXPECT_EQ(LookupUserCommand("UC_APP_VIDEO_SYNC"), static_cast<int>(UC_APP_VIDEO_SYNC));
    EXPECT_EQ(LookupUserCommand("UC_UNDEFINED"), 120);
    EXPECT_EQ(LookupUserCommand("uc_app_video_sync"), -1);
    EXPECT_EQ(LookupUserCommand("UC_KEYAXIS_1_INC"), 83);
    EXPECT_EQ(LookupUserCommand("UC_DEBUG_SELECT_NEXT_PART"), 119);
    for (int i = 0; i <= 120; ++i)
        EXPECT_EQ(LookupUserCommand(UserCommandName(i)), i);
}

TEST(SdlKeyMap, MappedKeysLandOnNamedSlots)
{
    struct Row
    {
        SDL_Scancode sdl;
        uint32_t dik;
    };
    const Row rows[] = {
        {SDL_SCANCODE_ESCAPE, 1},       {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_UP, 200},
        {SDL_SCANCODE_DOWN, 208},       {SDL_SCANCODE_LEFT, 203},     {SDL_SCANCODE_RIGHT, 205},
        {SDL_SCANCODE_KP_ENTER, 0x9C},  {SDL_SCANCODE_RCTRL, 0x9D},   {SDL_SCANCODE_RALT, 0xB8},
        {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_1, 2},
        {SDL_SCANCODE_0, 11},           {SDL_SCANCODE_A, 0x1E},       {SDL_SCANCODE_F12, 0x58},
        {SDL_SCANCODE_F16, 0},          {SDL_SCANCODE_UNKNOWN, 0},
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
