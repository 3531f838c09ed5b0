#include "input/CInput.h"

#include <SDL2/SDL.h>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "input/CRadioInterface.h"
#include "input/CKeyDefTable.h"
#include "input/CKeyboardAxes.h"
#include "input/IRadioInput.h"
#include "input/SdlKeyMap.h"
#include "input/UserCommands.h"

namespace
{
// What unbound axes and buttons point at.
const float kZeroAxis = 0.0f;
const uint8_t kZeroButton = 0;
constexpr size_t kMaxDumpText = 3000;
constexpr int kRadioChannelCount = 9;
} // namespace

CInput::CInput()
{
    BindDefaultPointers();
}

CInput::~CInput()
{
    CloseJoystick();
    SetRadio(nullptr);
}

void CInput::BindDefaultPointers()
{
    for (const float*& ptr : m_axisPtr)
        ptr = &kZeroAxis;
    for (const uint8_t*& ptr : m_buttonPtr)
        ptr = &kZeroButton;
    m_axisPtr[AXIS_MOUSE_X] = &m_mouse.x;
    m_axisPtr[AXIS_MOUSE_Y] = &m_mouse.y;
    m_axisPtr[AXIS_MOUSE_Z] = &m_mouse.wheel;
    for (int i = 0; i < 12; ++i)
        m_axisPtr[AXIS_JOYSTICK_X + i] = &m_joystick.axis[i];
    for (int i = 0; i < 3; ++i)
        m_buttonPtr[BUTTON_MOUSE_LEFT + i] = &m_mouse.buttons[i];
    for (int i = 0; i < kJoystickButtonCount; ++i)
        m_buttonPtr[BUTTON_JOYSTICK_1 + i] = &m_joystick.button[i];
    for (int i = 0; i < kHatCount * kHatDirectionCount; ++i)
        m_buttonPtr[BUTTON_JOYSTICK_POV1_N + i] = &m_joystick.hatDirection[i];
}

bool CInput::Init()
{
    if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0)
        OpenFirstJoystick();
    else
        DiagPrint("CInput: SDL joystick subsystem not initialised; no joystick\n");
    if (m_radio == nullptr)
    {
        m_ownedRadio = std::make_unique<CRadioInterface>(BuildDataPath(DF_OUTPUT, CTxCalibration::kFileName));
        SetRadio(m_ownedRadio.get());
    }
    return true;
}

void CInput::Shutdown()
{
    CloseJoystick();
    SetRadio(nullptr);
    m_ownedRadio.reset(); // closes the port
}

void CInput::OpenFirstJoystick()
{
    if (m_sdlJoystick != nullptr || m_joystickId >= 0 || SDL_WasInit(SDL_INIT_JOYSTICK) == 0)
        return;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index)
    {
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        if (joystick == nullptr)
            continue;
        m_sdlJoystick = joystick;
        m_joystickId = SDL_JoystickInstanceID(joystick);
        m_joystick.Reset();
        m_joystick.present = true;
        // Motion events report changes only: start from the device's current state.
        const int axes = SDL_JoystickNumAxes(joystick);
        for (int a = 0; a < axes && a < CInputJoystick::kAxisCount + CInputJoystick::kSliderCount; ++a)
        {
            const int16_t value = SDL_JoystickGetAxis(joystick, a);
            if (a < CInputJoystick::kAxisCount)
                m_joystick.rawAxis[a] = JoystickAxisFromSdl(value);
            else
                m_joystick.rawSlider[a - CInputJoystick::kAxisCount] = JoystickSliderFromSdl(value);
        }
        const int hats = SDL_JoystickNumHats(joystick);
        for (int h = 0; h < hats && h < CInputJoystick::kHatCount; ++h)
            m_joystick.rawHat[h] = JoystickHatFromSdl(SDL_JoystickGetHat(joystick, h));
        const int buttons = SDL_JoystickNumButtons(joystick);
        for (int b = 0; b < buttons && b < CInputJoystick::kButtonCount; ++b)
            m_joystick.rawButton[b] = SDL_JoystickGetButton(joystick, b) ? 0x80 : 0;
        const char* name = SDL_JoystickName(joystick);
        m_joystickName = name != nullptr ? name : "";
        char guid[33] = {};
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
        m_joystickGuid = guid;
        m_joystickAxisCount = axes;
        const bool own = m_joystickCalibrations && m_joystickCalibrations->HasOwn(m_joystickGuid, m_joystickName);
        DiagPrint("CInput: joystick \"%s\" (%s): %d axes, %d hats, %d buttons; %s\n", name != nullptr ? name : "?", guid,
                  axes, hats, buttons, own ? "its own calibration" : "the calibration of any joystick");
        return;
    }
}

void CInput::CloseJoystick()
{
    if (m_sdlJoystick != nullptr)
        SDL_JoystickClose(m_sdlJoystick);
    m_sdlJoystick = nullptr;
    m_joystickId = -1;
    m_joystickName.clear();
    m_joystickGuid.clear();
    m_joystickAxisCount = 0;
    m_joystick.Reset();
}

void CInput::AttachJoystickForTest(SDL_JoystickID instanceId)
{
    CloseJoystick();
    m_joystickId = instanceId;
    m_joystick.present = instanceId >= 0;
}

void CInput::HandleEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    {
        // The platform's own auto-repeat is ignored: repeats are made per frame here.
        if (event.key.repeat != 0)
            break;
        const uint32_t code = ScanCodeFromSdl(event.key.keysym.scancode);
        if (code != 0)
            m_keyboard.QueueRecord(code, event.type == SDL_KEYDOWN);
        const uint16_t mod = event.key.keysym.mod;
#if SDL_VERSION_ATLEAST(2, 0, 22)
        const bool scroll = (mod & KMOD_SCROLL) != 0;
#else
        const bool scroll = m_keyboard.IsScrollLock();
#endif
        m_keyboard.SetLockStates((mod & KMOD_CAPS) != 0, scroll, (mod & KMOD_NUM) != 0);
        break;
    }
    case SDL_MOUSEMOTION:
        m_mouse.AddMotion(event.motion.xrel, event.motion.yrel);
        m_mouse.SetPosition(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        if (event.button.button == SDL_BUTTON_LEFT)
            m_mouse.SetButton(0, down);
        else if (event.button.button == SDL_BUTTON_RIGHT)
            m_mouse.SetButton(1, down);
        else if (event.button.button == SDL_BUTTON_MIDDLE)
            m_mouse.SetButton(2, down);
        break;
    }
    case SDL_MOUSEWHEEL:
    {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        m_mouse.AddWheel(notches);
        break;
    }
    case SDL_JOYDEVICEADDED:
        OpenFirstJoystick();
        break;
    case SDL_JOYDEVICEREMOVED:
        if (event.jdevice.which == m_joystickId)
        {
            DiagPrint("CInput: joystick removed\n");
            CloseJoystick();
            OpenFirstJoystick();
        }
        break;
    case SDL_JOYAXISMOTION:
        if (event.jaxis.which == m_joystickId)
        {
            const int a = event.jaxis.axis;
            if (a < CInputJoystick::kAxisCount)
                m_joystick.rawAxis[a] = JoystickAxisFromSdl(event.jaxis.value);
            else if (a < CInputJoystick::kAxisCount + CInputJoystick::kSliderCount)
                m_joystick.rawSlider[a - CInputJoystick::kAxisCount] = JoystickSliderFromSdl(event.jaxis.value);
        }
        break;
    case SDL_JOYHATMOTION:
        if (event.jhat.which == m_joystickId && event.jhat.hat < CInputJoystick::kHatCount)
            m_joystick.rawHat[event.jhat.hat] = JoystickHatFromSdl(event.jhat.value);
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (event.jbutton.which == m_joystickId && event.jbutton.button < CInputJoystick::kButtonCount)
            m_joystick.rawButton[event.jbutton.button] = event.type == SDL_JOYBUTTONDOWN ? 0x80 : 0;
        break;
    case SDL_WINDOWEVENT:
        // Keys released while another window has the focus never reach us.
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        {
            m_keyboard.ReleaseAll();
            m_mouse.ReleaseAll();
        }
        break;
    default:
        break;
    }
}

void CInput::Update(float frameTime)
{
    if (frameTime > 0.0f)
        m_now += frameTime;
    m_keyboard.Queue().Clear();
    for (int i = 0; i < BUTTON_COUNT; ++i)
        m_previousButtons[i] = *m_buttonPtr[i];

    m_keyboard.Read(m_now);
    m_mouse.Read(m_now);
    m_joystick.Read(m_joystickCalibrations ? m_joystickCalibrations->Find(m_joystickGuid, m_joystickName) : nullptr);
    if (m_radio != nullptr)
        m_radio->Update(frameTime);

    UpdateButtonEdges();

    CInputEventQueue& queue = m_keyboard.Queue();
    for (int i = 0; i < queue.Count(); ++i)
    {
        CInputEvent& event = queue.At(i);
        if (m_keyDefs != nullptr)
            m_keyDefs->Resolve(event);
        else
        {
            event.command = kCommandNone;
            event.group = kGroupNone;
        }
    }
}

void CInput::UpdateButtonEdges()
{
    const uint32_t modifiers = m_keyboard.GetModifiers();
    for (int i = 0; i < BUTTON_COUNT; ++i)
    {
        const bool wasDown = m_previousButtons[i] != 0;
        const bool isDown = *m_buttonPtr[i] != 0;
        CInputEvent event;
        event.key = KEY_BUTTON_BASE + static_cast<uint32_t>(i);
        if (!wasDown && !isDown)
            continue;
        if (!wasDown)
        {
            event.flags = modifiers | IE_GOING_DOWN | IE_IS_DOWN;
            m_buttonDownTime[i] = m_now;
            m_buttonRepeatCount[i] = 0;
            m_buttonDownModifiers[i] = modifiers;
        }
        else if (!isDown)
        {
            event.flags = m_buttonDownModifiers[i] | IE_GOING_UP;
        }
        else
        {
            event.flags = modifiers | IE_IS_DOWN;
            const double wait = m_buttonRepeatCount[i] == 0 ? kRepeatDelay : kRepeatInterval;
            if (m_now - m_buttonDownTime[i] >= wait - 1e-6)
            {
                m_buttonDownTime[i] = m_now;
                ++m_buttonRepeatCount[i];
                event.flags |= IE_REPEAT;
            }
        }
        m_keyboard.Queue().Post(event, m_now);
    }
}

float CInput::GetAxisValue(int axisId) const
{
    if (axisId < 0 || axisId >= AXIS_COUNT)
        return 0.0f;
    return *m_axisPtr[axisId];
}

uint8_t CInput::GetButtonState(int buttonId) const
{
    if (buttonId < 0 || buttonId >= BUTTON_COUNT)
        return 0;
    return *m_buttonPtr[buttonId];
}

void CInput::BindAxis(int axisId, const float* value)
{
    // AXIS_UNKNOWN always reads 0.
    if (axisId < 0 || axisId >= AXIS_UNKNOWN)
        return;
    m_axisPtr[axisId] = value != nullptr ? value : &kZeroAxis;
}

void CInput::BindKeyboardAxes(const CKeyboardAxes& axes)
{
    for (int slot = 0; slot < CKeyboardAxes::kCount; ++slot)
        BindAxis(AXIS_KEYBOARD_1 + slot, axes.GetValuePtr(slot));
}

void CInput::SetRadio(IRadioInput* radio)
{
    m_radio = radio;
    for (int channel = 0; channel < kRadioChannelCount; ++channel)
        BindAxis(AXIS_RADIOCONTROL_CH1 + channel, radio != nullptr ? radio->GetChannelValue(channel) : nullptr);
}

void CInput::PostCommand(uint32_t command, uint32_t flags)
{
    CInputEvent event;
    event.key = KEY_NONE;
    event.flags = flags;
    event.command = command;
    event.group = kGroupNone;
    m_keyboard.Queue().Post(event, m_now);
}

bool CInput::PostEvent(const CInputEvent& event)
{
    return m_keyboard.Queue().Post(event, m_now);
}

void CInput::GetMousePosition(int& outX, int& outY) const
{
    outX = m_mouse.GetWindowX();
    outY = m_mouse.GetWindowY();
}

void CInput::SetMousePosition(int x, int y)
{
    m_mouse.SetPosition(x, y);
}

float CInput::GetSecondsSinceLastKeyEvent() const
{
    return static_cast<float>(m_keyboard.Queue().SecondsSinceLastPost(m_now));
}

std::string CInput::GetDumpText() const
{
    std::string text;
    for (int i = 0; i < AXIS_COUNT; ++i)
        text += StringPrintf("%s=%3.3f\n", AxisToken(i), *m_axisPtr[i]);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        text += StringPrintf("%s=%i\n", ButtonToken(i), *m_buttonPtr[i]);
    if (text.size() > kMaxDumpText)
        text.resize(kMaxDumpText);
    return text;
}

std::string CInput::GetRadioStatusText() const
{
    return m_radio != nullptr ? m_radio->GetStatusText() : std::string();
}
