#include "input/CMouseRectRegistry.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "input/UserCommands.h"

void CMouseRectRegistry::Register(int& ioHandle, int x, int y, int width, int height, int viewX, int viewY,
                                  int viewWidth, int viewHeight, const std::string& shortText,
                                  const std::string& longText, const std::string& keyText)
{
    Release(ioHandle);
    // Clip to the view: a negative corner shortens the rectangle, an edge past the view is cut.
    if (x < 0)
    {
        width += x;
        x = 0;
    }
    if (y < 0)
    {
        height += y;
        y = 0;
    }
    if (x + width > viewWidth)
        width = viewWidth - x;
    if (y + height > viewHeight)
        height = viewHeight - y;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width < 1 || height < 1)
        return;
    for (int slot = 0; slot < kSlotCount; ++slot)
    {
        SRect& rect = m_slots[slot];
        if (rect.used)
            continue;
        rect.x = viewX + x;
        rect.y = viewY + y;
        rect.width = width;
        rect.height = height;
        rect.shortText = shortText;
        rect.longText = longText;
        rect.keyText = keyText;
        rect.used = true;
        ioHandle = slot;
        return;
    }
}

void CMouseRectRegistry::Release(int& ioHandle)
{
    if (ioHandle >= 0 && ioHandle < kSlotCount)
    {
        m_slots[ioHandle] = SRect();
        // A released slot must not stay the tooltip or a hit until the next Update.
        if (m_tooltip == ioHandle)
            m_tooltip = -1;
        int kept = 0;
        for (int i = 0; i < m_hitCount; ++i)
            if (m_hits[i].slot != ioHandle)
                m_hits[kept++] = m_hits[i];
        m_hitCount = kept;
    }
    ioHandle = -1;
}

void CMouseRectRegistry::Update(int mouseX, int mouseY, bool rightButtonDown, float mouseIdleSeconds,
                                float keyIdleSeconds)
{
    m_hitCount = 0;
    for (int slot = 0; slot < kSlotCount && m_hitCount < kMaxHits; ++slot)
    {
        const SRect& rect = m_slots[slot];
        if (!rect.used)
            continue;
        if (mouseX >= rect.x && mouseX < rect.x + rect.width && mouseY >= rect.y && mouseY < rect.y + rect.height)
            m_hits[m_hitCount++] = {slot, mouseX - rect.x, mouseY - rect.y};
    }
    if (!rightButtonDown)
        m_helpMode = false;
    if (m_helpMode)
    {
        m_cursor = HC_NONE;
        m_tooltip = -1;
        return;
    }
    const int top = GetTopHit();
    if (top < 0)
        m_cursor = HC_NONE;
    else if (!m_slots[top].longText.empty())
        m_cursor = HC_LONG_HELP;
    else if (!m_slots[top].shortText.empty())
        m_cursor = HC_SHORT_HELP;
    else
        m_cursor = HC_NONE;
    m_tooltip = (mouseIdleSeconds >= kTooltipDelay && keyIdleSeconds >= kTooltipDelay) ? top : -1;
}

int CMouseRectRegistry::HandleEvent(const CInputEvent& event)
{
    if (event.key == KEY_MOUSE_RIGHT && event.IsGoingDown() && m_hitCount > 0)
    {
        m_helpMode = true;
        m_tooltip = -1;
        return UC_UNDEFINED;
    }
    return 0;
}

bool CMouseRectRegistry::IsHit(int slot) const
{
    for (int i = 0; i < m_hitCount; ++i)
        if (m_hits[i].slot == slot)
            return true;
    return false;
}

int CMouseRectRegistry::GetUsedCount() const
{
    int count = 0;
    for (const SRect& rect : m_slots)
        count += rect.used ? 1 : 0;
    return count;
}

std::string CMouseRectRegistry::GetHelpText() const
{
    if (m_helpMode)
    {
        const int top = GetTopHit();
        if (top < 0)
            return std::string();
        const SRect& rect = m_slots[top];
        return rect.longText.empty() ? rect.shortText : rect.longText;
    }
    if (m_tooltip < 0 || !m_slots[m_tooltip].used)
        return std::string();
    const SRect& rect = m_slots[m_tooltip];
    std::string text = rect.shortText;
    if (!rect.keyText.empty())
        text += "  (" + rect.keyText + ")";
    return text;
}

std::string CMouseRectRegistry::GetDebugText(int mouseX, int mouseY) const
{
    std::string text = StringPrintf("MousePos[%i,%i]  MouseRects[%i]  \nHits:\n", mouseX, mouseY, GetUsedCount());
    for (int i = 0; i < m_hitCount; ++i)
    {
        const SRect& rect = m_slots[m_hits[i].slot];
        text += StringPrintf("[%i]%s  %s  %s\n", m_hits[i].slot, rect.shortText.c_str(), rect.longText.c_str(),
                             rect.keyText.c_str());
    }
    return text;
}
