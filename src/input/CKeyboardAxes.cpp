#include "input/CKeyboardAxes.h"

#include <cassert>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "input/UserCommands.h"

namespace
{
constexpr size_t kMaxAxisToken = 50;
constexpr float kDefaultTimeFullRange = 5.0f; // s, when the file gives none (or 0)
} // namespace

void CKeyboardAxes::Update(float frameTime)
{
    for (CKeyboardAxis& axis : m_axes)
        axis.Update(frameTime);
}

int CKeyboardAxes::HandleEvent(const CInputEvent& event)
{
    if (event.command < UC_KEYAXIS_1_INC || event.command > UC_KEYAXIS_6_DEC)
        return 0;
    const uint32_t offset = event.command - UC_KEYAXIS_1_INC;
    CKeyboardAxis& axis = m_axes[offset / 2];
    bool& held = (offset % 2 == 0) ? axis.incHeld : axis.decHeld;
    if (event.flags & IE_IS_DOWN)
        held = true;
    if (event.flags & IE_GOING_UP)
        held = false;
    return static_cast<int>(event.command);
}

CKeyboardAxis& CKeyboardAxes::Get(int slot)
{
    assert(slot >= 0 && slot < kCount);
    return m_axes[slot >= 0 && slot < kCount ? slot : 0];
}

const CKeyboardAxis& CKeyboardAxes::Get(int slot) const
{
    assert(slot >= 0 && slot < kCount);
    return m_axes[slot >= 0 && slot < kCount ? slot : 0];
}

void CKeyboardAxes::ReleaseKeys()
{
    for (CKeyboardAxis& axis : m_axes)
        axis.incHeld = axis.decHeld = false;
}

bool CKeyboardAxes::Read(CTokenFile& file, std::string& outMessage)
{
    for (CKeyboardAxis& axis : m_axes)
        axis = CKeyboardAxis();
    for (;;)
    {
        std::string token;
        CTokenFile* block = file.OpenBlock("AXIS_KEYBOARD", &token, kMaxAxisToken + 1);
        if (block == nullptr)
            break;
        const int axisId = LookupAxisToken(token.c_str());
        if (axisId < AXIS_KEYBOARD_1 || axisId > AXIS_KEYBOARD_6)
        {
            outMessage = StringPrintf("%s: AXIS_KEYBOARD '%s' is not one of AXIS_KEYBOARD_1 .. AXIS_KEYBOARD_6",
                                      file.FileName().c_str(), token.c_str());
            return false;
        }
        CKeyboardAxis& axis = m_axes[axisId - AXIS_KEYBOARD_1];
        if (axis.axisId != AXIS_UNKNOWN)
        {
            outMessage = StringPrintf("%s: AXIS_KEYBOARD '%s' appears twice", file.FileName().c_str(), token.c_str());
            return false;
        }
        axis.axisId = static_cast<uint32_t>(axisId);
        float seconds = 0.0f;
        block->GetFloat("TIME_FULL_RANGE", seconds, 0.0f);
        bool autoCentre = true;
        block->GetBool("AUTO_CENTRE", autoCentre, true);
        axis.min = -1.0f;
        axis.max = 1.0f;
        axis.centre = 0.0f;
        axis.autoCentre = autoCentre;
        axis.SetTimeFullRange(seconds == 0.0f ? kDefaultTimeFullRange : seconds);
    }
    return true;
}

void CKeyboardAxes::Write(CFile& file) const
{
    file.WriteLine("//---------------");
    file.WriteLine("// Keyboard Axes");
    file.WriteLine("//---------------");
    for (const CKeyboardAxis& axis : m_axes)
    {
        if (axis.axisId == AXIS_UNKNOWN)
            continue;
        file.WriteLine(StringPrintf(".%s %s", "AXIS_KEYBOARD", AxisToken(static_cast<int>(axis.axisId))).c_str());
        file.WriteLine("{");
        file.WriteLine(StringPrintf("  .%s %i", "AUTO_CENTRE", axis.autoCentre ? 1 : 0).c_str());
        file.WriteLine(StringPrintf("  .%s %f", "TIME_FULL_RANGE", axis.timeFullRange).c_str());
        file.WriteLine("}");
        file.WriteLine("");
    }
}
