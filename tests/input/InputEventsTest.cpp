#include <gtest/gtest.h>

#include <vector>

#include "input/CInput.h"
#include "input/CKeyDefTable.h"
#include "input/CKeyboardAxes.h"
#include "input/IRadioInput.h"
#include "input/InputTestSupport.h"
#include "input/KeyCodes.h"

namespace
{
constexpr float kFrame = 0.05f; // s

std::vector<CInputEvent> EventsOf(CInput& input)
{
    std::vector<CInputEvent> events;
    for (CInputEvent* event = input.FirstEvent(); event != nullptr; event = input.NextEvent())
        events.push_back(*event);
    return events;
}

// The flags of the events for one key this frame.
std::vector<uint32_t> FlagsFor(CInput& input, uint32_t key)
{
    std::vector<uint32_t> flags;
    for (const CInputEvent& event : EventsOf(input))
        if (event.key == key)
            flags.push_back(event.flags);
    return flags;
}
// A joystick event of controller which: axis or hat motion (index, value), a button press
// (index), or the controller's removal.
SDL_Event Joy(uint32_t type, SDL_JoystickID which, uint8_t index = 0, int value = 0)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_JOYAXISMOTION)
        event.jaxis = {type, 0, which, index, 0, 0, 0, static_cast<Sint16>(value), 0};
    else if (type == SDL_JOYHATMOTION)
        event.jhat = {type, 0, which, index, static_cast<Uint8>(value), 0, 0};
    else if (type == SDL_JOYBUTTONDOWN)
        event.jbutton = {type, 0, which, index, SDL_PRESSED, 0, 0};
    else
        event.jdevice = {type, 0, which};
    return event;
}
} // namespace

// Events handed in before each frame and the flags of one key's events in that frame.
TEST(InputEvents, EdgesRepeatsModifiersFocusLossAndShortClicks)
{
    constexpr uint32_t GD = IE_GOING_DOWN, ID = IE_IS_DOWN, GU = IE_GOING_UP;
    SDL_Event platformRepeat = KeyEvent(SDL_SCANCODE_W, true);
    platformRepeat.key.repeat = 1;
    const SDL_Event left = MouseButton(SDL_BUTTON_LEFT, true), leftUp = MouseButton(SDL_BUTTON_LEFT, false);
    const SDL_Event right = MouseButton(SDL_BUTTON_RIGHT, true), rightUp = MouseButton(SDL_BUTTON_RIGHT, false);
    const SDL_Event middle = MouseButton(SDL_BUTTON_MIDDLE, true), middleUp = MouseButton(SDL_BUTTON_MIDDLE, false);
    struct TFrame { std::vector<SDL_Event> events; float dt; std::vector<uint32_t> flags; };
    struct TScript { const char* what; uint32_t key; std::vector<TFrame> frames; };
    const TScript scripts[] = {
        // Frames of 0.05 s: frame 0 is the press; repeats at 0.2 s, 0.3 s, 0.4 s.
        {"a held key repeats after two tenths, then every tenth", DIK_SPACE,
         {{{KeyEvent(SDL_SCANCODE_SPACE, true)}, kFrame, {GD | ID}}, {{}, kFrame, {ID}}, {{}, kFrame, {ID}},
          {{}, kFrame, {ID}}, {{}, kFrame, {ID | IE_REPEAT}}, {{}, kFrame, {ID}}, {{}, kFrame, {ID | IE_REPEAT}},
          {{}, kFrame, {ID}}, {{}, kFrame, {ID | IE_REPEAT}}}},
        {"mouse buttons have codes from 256 and repeat like keys", KEY_MOUSE_RIGHT,
         {{{right}, kFrame, {GD | ID}}, {{}, kFrame, {ID}}, {{}, kFrame, {ID}}, {{}, kFrame, {ID}},
          {{}, kFrame, {ID | IE_REPEAT}}, {{rightUp}, kFrame, {GU}}}},
        {"press and release within a frame: both edges in order, no held event", DIK_P,
         {{{KeyEvent(SDL_SCANCODE_P, true), KeyEvent(SDL_SCANCODE_P, false)}, kFrame, {GD | ID, GU}}, {{}, kFrame, {}}}},
        {"repeat timing follows the frame times; a zero step is a frame in which no time passed", DIK_A,
         {{{KeyEvent(SDL_SCANCODE_A, true)}, 0.01f, {GD | ID}}, {{}, 0.15f, {ID}}, {{}, 0.06f, {ID | IE_REPEAT}},
          {{}, 0.0f, {ID}}}},
        {"a key pressed with a modifier also gets a held event that frame", DIK_X,
         {{{KeyEvent(SDL_SCANCODE_LCTRL, true), KeyEvent(SDL_SCANCODE_X, true)}, kFrame,
           {IE_CTRL | GD | ID, IE_CTRL | ID}}}},
        {"focus loss releases a held key (a held key has an event every frame)", DIK_W,
         {{{KeyEvent(SDL_SCANCODE_W, true)}, kFrame, {GD | ID}}, {{FocusLost()}, kFrame, {GU}}, {{}, kFrame, {}}}},
        {"the platform's auto-repeat is ignored", DIK_W,
         {{{KeyEvent(SDL_SCANCODE_W, true)}, kFrame, {GD | ID}}, {{platformRepeat}, kFrame, {ID}}}},
        // A click faster than the frame used to vanish: the button was up at both reads.
        {"a click shorter than a frame gives both edges, a frame apart", KEY_MOUSE_LEFT,
         {{{left, leftUp}, kFrame, {GD | ID}}, {{}, kFrame, {GU}}, {{}, kFrame, {}}}},
        {"a double click within a frame: each press followed by its release", KEY_MOUSE_RIGHT,
         {{{right, rightUp, right, rightUp}, kFrame, {GD | ID}}, {{}, kFrame, {GU}}, {{}, kFrame, {GD | ID}},
          {{}, kFrame, {GU}}, {{}, kFrame, {}}}},
        {"released and pressed again within a frame while held: the release is not lost",
         KEY_BUTTON_BASE + BUTTON_MOUSE_CENTER,
         {{{middle}, kFrame, {GD | ID}}, {{middleUp, middle}, kFrame, {GU}}, {{}, kFrame, {GD | ID}}}},
        {"focus lost in the middle of a quick click: up, with no press left queued", KEY_MOUSE_LEFT,
         {{{left}, kFrame, {GD | ID}}, {{leftUp, left, FocusLost()}, kFrame, {GU}}, {{}, kFrame, {}}}},
    };
    for (const TScript& script : scripts)
    {
        SCOPED_TRACE(script.what);
        CInput input;
        for (size_t frame = 0; frame < script.frames.size(); ++frame)
        {
            for (const SDL_Event& event : script.frames[frame].events)
                input.HandleEvent(event);
            input.Update(script.frames[frame].dt);
            EXPECT_EQ(FlagsFor(input, script.key), script.frames[frame].flags) << "frame " << frame;
            EXPECT_TRUE(frame > 0 || script.key < KEY_MOUSE_LEFT ||
                        input.GetButtonState(static_cast<int>(script.key - KEY_BUTTON_BASE)) == 0x80)
                << "a button is down for its first frame, however short the click";
        }
    }
}

TEST(InputEvents, ModifierBitsFollowEitherKeyOfAPair)
{
    CInput input;
    input.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, true));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_RSHIFT, true));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_RCTRL, true));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_LALT, true));
    input.Update(kFrame);
    EXPECT_EQ(input.GetModifiers(), IE_SHIFT | IE_CTRL | IE_ALT);
    input.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, false)); // the right Shift still holds
    input.HandleEvent(KeyEvent(SDL_SCANCODE_LALT, false));
    input.Update(kFrame);
    EXPECT_EQ(input.GetModifiers(), IE_SHIFT | IE_CTRL);
}

TEST(InputEvents, ReleaseCarriesTheModifiersOfItsPress)
{
    // T pressed alone, Shift pressed, T released: the release still pairs with the plain press,
    // so a keyboard axis bound to T lets go.
    CKeyDefTable defs;
    defs.SetDefaultKeys();
    CKeyboardAxes axes;
    CInput input;
    input.SetKeyDefs(&defs);
    input.HandleEvent(KeyEvent(SDL_SCANCODE_T, true));
    input.Update(kFrame);
    for (CInputEvent* event = input.FirstEvent(); event; event = input.NextEvent())
        axes.HandleEvent(*event);
    EXPECT_TRUE(axes.Get(0).incHeld);
    input.HandleEvent(KeyEvent(SDL_SCANCODE_LSHIFT, true));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_T, false));
    input.Update(kFrame);
    for (CInputEvent* event = input.FirstEvent(); event; event = input.NextEvent())
        axes.HandleEvent(*event);
    EXPECT_FALSE(axes.Get(0).incHeld);
}

TEST(InputEvents, QueueKeepsThirtyTwoEventsAndDropsTheRest)
{
    CInput input;
    for (int i = 0; i < 20; ++i) // A to T, pressed and released
    {
        input.HandleEvent(KeyEvent(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), true));
        input.HandleEvent(KeyEvent(static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), false));
    }
    input.Update(kFrame);
    EXPECT_EQ(input.Events().Count(), 32);
    // The first 32 in record order: the 16th key's release is the last kept.
    EXPECT_EQ(input.Events().At(31).key, static_cast<uint32_t>(DIK_P));
    EXPECT_EQ(input.Events().At(31).flags, IE_GOING_UP);
    input.Update(kFrame);
    EXPECT_EQ(input.Events().Count(), 0); // every key is up again: no state was lost
}

TEST(InputEvents, MouseAxesScaleClampAndRecentre)
{
    CInput input;
    input.HandleEvent(MouseMotion(200, 0));
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_X), 0.5f);
    input.HandleEvent(MouseMotion(200, 150)); // 400 counts from the centre: saturated
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_X), 1.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_Y), -0.5f); // screen down is negative
    input.HandleEvent(MouseMotion(100, 0));
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_X), 1.0f);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 3;
    input.HandleEvent(wheel);
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_Z), 3.0f / 300.0f);

    input.SetRecentre(true);
    input.HandleEvent(MouseButton(SDL_BUTTON_LEFT, true));
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_X), 0.5f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_Y), -0.25f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_MOUSE_Z), 3.0f / 300.0f); // the wheel stays
}

TEST(InputEvents, IdleTimesRestartOnMotionHeldButtonsAndKeyEvents)
{
    CInput input;
    input.HandleEvent(MouseMotion(1, 0, 10, 20));
    input.Update(kFrame);
    EXPECT_FLOAT_EQ(input.GetMouseIdleSeconds(), 0.0f);
    for (int i = 0; i < 4; ++i)
        input.Update(0.1f);
    EXPECT_NEAR(input.GetMouseIdleSeconds(), 0.4f, 1e-5f);
    input.HandleEvent(MouseButton(SDL_BUTTON_MIDDLE, true));
    input.Update(0.1f);
    input.Update(0.1f);
    EXPECT_FLOAT_EQ(input.GetMouseIdleSeconds(), 0.0f);

    // The key idle time counts from the last posted event.
    input.HandleEvent(MouseButton(SDL_BUTTON_MIDDLE, false));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_P, true));
    input.HandleEvent(KeyEvent(SDL_SCANCODE_P, false));
    input.Update(0.1f);
    EXPECT_FLOAT_EQ(input.GetSecondsSinceLastKeyEvent(), 0.0f);
    input.Update(0.1f);
    input.Update(0.2f);
    EXPECT_NEAR(input.GetSecondsSinceLastKeyEvent(), 0.3f, 1e-5f);
}

TEST(InputEvents, JoystickConversionHatsAndButtons)
{
    CInput input;
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_POV1), 0.0f); // no controller: 0, not -1
    input.AttachJoystickForTest(7);
    input.HandleEvent(Joy(SDL_JOYAXISMOTION, 7, 1, -32768)); // stick pushed forward
    input.HandleEvent(Joy(SDL_JOYAXISMOTION, 7, 6, -32768)); // slider 0 at its low end
    input.HandleEvent(Joy(SDL_JOYAXISMOTION, 8, 0, 32767));  // another controller is ignored
    input.HandleEvent(Joy(SDL_JOYHATMOTION, 7, 1, SDL_HAT_RIGHTUP));
    input.HandleEvent(Joy(SDL_JOYBUTTONDOWN, 7, 11));
    input.Update(kFrame);

    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_Y), 1.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_X), 0.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_SL0), 1.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_POV1), -1.0f); // centred
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_POV2), 0.125f);
    EXPECT_EQ(input.GetButtonState(BUTTON_JOYSTICK_POV2_N + 1), 0x80); // NE
    EXPECT_EQ(input.GetButtonState(BUTTON_JOYSTICK_12), 0x80);
    EXPECT_EQ(FlagsFor(input, KEY_BUTTON_BASE + BUTTON_JOYSTICK_12),
              std::vector<uint32_t>{IE_GOING_DOWN | IE_IS_DOWN});

    input.HandleEvent(Joy(SDL_JOYHATMOTION, 7, 1, SDL_HAT_CENTERED));
    input.Update(kFrame);
    EXPECT_EQ(input.GetButtonState(BUTTON_JOYSTICK_POV2_N + 1), 0);
    EXPECT_EQ(FlagsFor(input, KEY_BUTTON_BASE + BUTTON_JOYSTICK_POV2_N + 1), std::vector<uint32_t>{IE_GOING_UP});

    // Unplugged: everything reads 0 and held buttons go up.
    input.HandleEvent(Joy(SDL_JOYDEVICEREMOVED, 7));
    input.Update(kFrame);
    EXPECT_FALSE(input.HasJoystick());
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_JOYSTICK_Y), 0.0f);
    EXPECT_EQ(FlagsFor(input, KEY_BUTTON_BASE + BUTTON_JOYSTICK_12), std::vector<uint32_t>{IE_GOING_UP});
}

TEST(InputEvents, HatDirectionSectors)
{
    // direction: -1: none lit
    struct Row { uint32_t hundredths; int direction; };
    const Row rows[] = {{0, 0}, {2250, 0}, {4499, 0}, {4500, 1}, {9000, 2}, {35999, 7}, {36000, 0},
                        {0xFFFFFFFFu, -1}};
    for (const Row& row : rows)
    {
        CInputJoystick joystick;
        joystick.present = true;
        joystick.rawHat[0] = row.hundredths;
        joystick.Read();
        for (int d = 0; d < 8; ++d)
            EXPECT_EQ(joystick.hatDirection[d] != 0, d == row.direction) << row.hundredths << " dir " << d;
    }
}

TEST(InputEvents, ResolutionAndPostedCommands)
{
    CKeyDefTable defs;
    defs.SetDefaultKeys();
    CInput input;
    input.SetKeyDefs(&defs);
    input.HandleEvent(KeyEvent(SDL_SCANCODE_P, true));
    input.Update(kFrame);
    input.PostCommand(UC_MENU_KEY_DEF, IE_GOING_DOWN);
    const std::vector<CInputEvent> events = EventsOf(input);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].command, static_cast<uint32_t>(UC_APP_PAUSE));
    EXPECT_EQ(events[0].group, static_cast<uint32_t>(UCG_APP));
    EXPECT_EQ(events[1].key, KEY_NONE);
    EXPECT_EQ(events[1].command, static_cast<uint32_t>(UC_MENU_KEY_DEF));
    EXPECT_EQ(events[1].group, kGroupNone);
}

namespace
{
class CFakeRadio : public IRadioInput
{
public:
    void Update(float) override { ++updates; }
    const float* GetChannelValue(int channel) const override { return &channels[channel]; }
    std::string GetStatusText() const override { return "fake"; }
    float channels[9] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};
    int updates = 0;
};
} // namespace

TEST(InputEvents, AxesReadThroughTheirBindings)
{
    CInput input;
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_RADIOCONTROL_CH3), 0.0f); // no transmitter yet
    CFakeRadio radio;
    input.SetRadio(&radio);
    CKeyboardAxes axes;
    axes.Get(5).value = -0.7f;
    input.BindKeyboardAxes(axes);
    input.BindAxis(AXIS_UNKNOWN, &radio.channels[0]); // refused: "none" reads 0
    input.Update(kFrame);
    EXPECT_EQ(radio.updates, 1);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_RADIOCONTROL_CH3), 0.3f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_KEYBOARD_6), -0.7f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_UNKNOWN), 0.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(-1), 0.0f);
    EXPECT_FLOAT_EQ(input.GetAxisValue(31), 0.0f);
    input.SetRadio(nullptr);
    EXPECT_FLOAT_EQ(input.GetAxisValue(AXIS_RADIOCONTROL_CH3), 0.0f);
}
