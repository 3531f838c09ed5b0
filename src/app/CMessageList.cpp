#include "app/CMessageList.h"

#include <algorithm>

#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"

namespace
{
float Width(int font, const std::string& text)
{
    float w = 0.0f, h = 0.0f;
    Fonts().TextExtent(font, text, 1.0f, w, h);
    return w;
}

// The text with every line wider than width broken after its last space or '/' that fits (a
// file path is one long word), or anywhere when none does.
std::string WrapToWidth(int font, const std::string& text, float width)
{
    std::string out;
    size_t start = 0;
    for (;;)
    {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        while (line.size() > 1 && Width(font, line) > width)
        {
            size_t fit = 1; // characters that fit
            while (fit < line.size() && Width(font, line.substr(0, fit + 1)) <= width)
                ++fit;
            const size_t cut = line.find_last_of(" /", fit - 1);
            const size_t take = cut != std::string::npos && cut > 0 ? cut + 1 : fit;
            std::string head = line.substr(0, take);
            if (head.back() == ' ')
                head.pop_back();
            out += head + '\n';
            line.erase(0, take);
        }
        out += line;
        if (end >= text.size())
            return out;
        out += '\n';
        start = end + 1;
    }
}
} // namespace

int CMessageList::Post(double now, double delay, const TColor& color, const std::string& text, double duration)
{
    int slot = -1;
    for (int i = 0; i < kSlotCount && slot < 0; ++i)
    {
        if (m_slots[i].active && m_slots[i].text == text)
            slot = i;
    }
    for (int i = 0; i < kSlotCount && slot < 0; ++i)
    {
        if (!m_slots[i].active)
            slot = i;
    }
    if (slot < 0)
        slot = kSlotCount - 1;
    TSlot& s = m_slots[slot];
    s.text = text;
    s.active = true;
    s.shown = false;
    s.started = now;
    s.delay = std::max(0.0, delay);
    s.duration = std::max(0.0, duration);
    s.color = color;
    return slot;
}

void CMessageList::Cancel(int& ioSlot, double now)
{
    if (ioSlot >= 0 && ioSlot < kSlotCount)
    {
        TSlot& s = m_slots[ioSlot];
        if (s.active && !s.shown)
            s.active = false;
        else if (s.active)
            s.duration = std::max(0.0, now - s.started);
    }
    ioSlot = -1;
}

std::vector<CMessageList::TLine> CMessageList::Update(double now)
{
    std::vector<TLine> lines;
    for (int i = 0; i < kSlotCount; ++i)
    {
        TSlot& s = m_slots[i];
        if (!s.active)
            continue;
        if (!s.shown)
        {
            if (now - s.started < s.delay)
                continue;
            s.shown = true;
            s.started = now;
        }
        const double t = now - s.started;
        if (t >= s.duration + kFadeSeconds)
        {
            s.active = false;
            s.shown = false;
            continue;
        }
        const double factor = t <= s.duration ? 1.0 : 1.0 - 2.0 * (t - s.duration);
        TLine line;
        line.slot = i;
        line.text = s.text;
        line.color = s.color;
        line.color.a = static_cast<uint8_t>(std::clamp(s.color.a * factor, 0.0, 255.0));
        lines.push_back(line);
    }
    return lines;
}

void CMessageList::Clear()
{
    for (TSlot& s : m_slots)
        s = TSlot();
    m_lastLines.clear();
}

bool CMessageList::IsActive(int slot) const
{
    return slot >= 0 && slot < kSlotCount && m_slots[slot].active;
}

bool CMessageList::IsShown(int slot) const
{
    return IsActive(slot) && m_slots[slot].shown;
}

int CMessageList::ActiveCount() const
{
    return static_cast<int>(std::count_if(std::begin(m_slots), std::end(m_slots), [](const TSlot& s) { return s.active; }));
}

std::vector<CMessageList::TRow> CMessageList::LayoutRows(const std::vector<TLine>& lines, float y, float rowHeight,
                                                         EAnchor anchor)
{
    std::vector<TRow> rows;
    for (const TLine& line : lines)
    {
        std::vector<std::string> texts;
        size_t start = 0;
        for (;;)
        {
            const size_t end = line.text.find('\n', start);
            texts.push_back(line.text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        const float height = rowHeight * static_cast<float>(texts.size());
        // Bottom-right: the message's last row sits on the current line, the others above it.
        float rowY = anchor == ANCHOR_CENTRED ? y : y - height + rowHeight;
        for (const std::string& text : texts)
        {
            rows.push_back(TRow{text, line.color, rowY});
            rowY += rowHeight;
        }
        y += anchor == ANCHOR_CENTRED ? height : -height;
    }
    return rows;
}

void CMessageList::Draw(double now, int font, float x, float y, EAnchor anchor)
{
    m_lastLines = Update(now);
    float w = 0.0f, rowHeight = 0.0f;
    Fonts().TextExtent(font, "X", 1.0f, w, rowHeight);
    const int oldAlign = TextAlign();
    SetTextAlign(anchor == ANCHOR_CENTRED ? (TA_CENTER | TA_TOP) : (TA_RIGHT | TA_BOTTOM));
    for (const TRow& row : LayoutRows(m_lastLines, y, rowHeight, anchor))
    {
        // A dark shadow one pixel down and right: bright text alone is lost over sunlit grass.
        SetColor(0, 0, 0, static_cast<uint8_t>(row.color.a * 3 / 4));
        Fonts().DrawText(font, x + 1.0f, row.y + 1.0f, row.text);
        SetColor(row.color);
        Fonts().DrawText(font, x, row.y, row.text);
    }
    SetTextAlign(oldAlign);
}

void CMessageList::DrawBottomRight(int font, float rightX, float bottomY, float lineHeight) const
{
    const int oldAlign = TextAlign();
    SetTextAlign(TA_RIGHT | TA_BOTTOM);
    // Top down in slot order, so the newest line ends at the bottom: lay out from y 0 and shift.
    std::vector<TRow> rows = LayoutRows(m_lastLines, 0.0f, lineHeight, ANCHOR_CENTRED);
    const float shift = rows.empty() ? 0.0f : bottomY - rows.back().y;
    for (const TRow& row : rows)
    {
        SetColor(row.color);
        Fonts().DrawText(font, rightX, row.y + shift, row.text);
    }
    SetTextAlign(oldAlign);
}

void CMessageList::DrawCentredBoxes(int font, float centreX, float top) const
{
    const int oldAlign = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    float y = top;
    const int margin = 12;
    for (const TLine& line : m_lastLines)
    {
        // A message wider than the window (a long path) is wrapped, not cut at its edges.
        const std::string text = WrapToWidth(font, line.text, 2.0f * centreX - 4.0f * margin);
        float w = 0.0f, h = 0.0f;
        Fonts().TextExtent(font, text, 1.0f, w, h);
        const int boxX = static_cast<int>(centreX - w / 2) - margin;
        SetColor(20, 20, 28, static_cast<uint8_t>(235 * line.color.a / 255));
        FillRect(boxX, static_cast<int>(y), static_cast<int>(w) + 2 * margin, static_cast<int>(h) + 2 * margin, 14);
        SetColor(line.color);
        Fonts().DrawMultiLineText(font, static_cast<float>(boxX + margin), y + margin, text);
        y += h + 2 * margin + 8;
    }
    SetTextAlign(oldAlign);
}
