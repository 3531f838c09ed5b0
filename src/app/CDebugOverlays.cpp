#include "app/CDebugOverlays.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/CFrameClock.h"
#include "app/CProcess.h"
#include "core/CTimeStatistics.h"
#include "core/Diagnostics.h"
#include "data/StringTable.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Gfx2D.h"
#include "gfx/draw2d/Palette.h"
#include "gfx/gui/CControlPageEx.h"
#include "input/CInput.h"
#include "input/CMouseRectRegistry.h"
#include "input/KeyCodes.h"
#include "input/UserCommands.h"
#include "sound/CSoundSystem.h"

const CDebugOverlays::TSwitch CDebugOverlays::kSwitches[] = {
    {UC_DEBUG_FPS, &CDebugOverlays::m_showFps},
    {UC_DEBUG_INPUT_DATA, &CDebugOverlays::m_showInputData},
    {UC_DEBUG_TEXTURE_INFO, &CDebugOverlays::m_showTextureInfo},
    {UC_DEBUG_KEY_EVENTS, &CDebugOverlays::m_showKeyEvents},
    {UC_DEBUG_MOUSE_RECTS, &CDebugOverlays::m_showMouseRects},
    {UC_DEBUG_CONTROL_PAGE_BOUNDING_RECTS, &CDebugOverlays::m_showControlPageRects},
    {UC_DEBUG_FONTS, &CDebugOverlays::m_showFonts},
    {UC_DEBUG_SOUND_ADMIN, &CDebugOverlays::m_showSoundAdmin},
    {UC_DEBUG_SCENE_MAIN, &CDebugOverlays::m_showSceneMain},
    {UC_DEBUG_SCENE_OBJECT_ADMIN, &CDebugOverlays::m_showSceneObjectAdmin},
    {UC_DEBUG_VDB_OBJECT_ADMIN, &CDebugOverlays::m_showVdbObjectAdmin},
};

bool CDebugOverlays::IsOn(uint32_t command) const
{
    if (command == UC_DEBUG_TIME_STATS)
        return m_timeStats && m_timeStats->IsDisplayOn();
    if (command == UC_DEBUG_STRINGS)
        return IsStringDebugOn();
    for (const TSwitch& s : kSwitches)
    {
        if (s.command == command)
            return this->*s.shown;
    }
    return false;
}

int CDebugOverlays::HandleCommand(uint32_t command)
{
    if (command == UC_DEBUG_TIME_STATS)
    {
        if (m_timeStats)
            m_timeStats->ToggleDisplay();
    }
    else if (command == UC_DEBUG_STRINGS)
        ToggleStringDebug();
    else
    {
        const TSwitch* end = std::end(kSwitches);
        const TSwitch* hit =
            std::find_if(std::begin(kSwitches), end, [command](const TSwitch& s) { return s.command == command; });
        if (hit == end)
            return 0;
        this->*hit->shown = !(this->*hit->shown);
    }
    return static_cast<int>(command);
}

void CDebugOverlays::Draw(const CInput* input, const CMouseRectRegistry* mouseRects, const CSoundSystem* sound,
                          const CProcess* process, int height) const
{
    CFontList& fonts = Fonts();
    if (m_showKeyEvents && input)
    {
        SetColor(255, 255, 120, 255);
        const CInputEventQueue& events = input->Events();
        for (int i = 0; i < events.Count(); ++i)
            fonts.DrawText(fonts.f07x12S, 5.0f, 45.0f + 15.0f * static_cast<float>(i), DescribeEvent(events.At(i)));
    }
    // The text dumps of what the current process owns (the scene's registries).
    struct TDump
    {
        bool on;
        uint32_t command;
        const char* section;
        float x, y;
        TColor colour;
    };
    const TDump dumps[] = {
        {m_showSceneObjectAdmin, UC_DEBUG_SCENE_OBJECT_ADMIN, "SceneObjectAdmin", 10.0f, 30.0f, {255, 255, 160, 255}},
        {m_showVdbObjectAdmin, UC_DEBUG_VDB_OBJECT_ADMIN, "VdbObjectAdmin", 400.0f, 30.0f, {160, 230, 255, 255}},
        {m_showSceneMain, UC_DEBUG_SCENE_MAIN, "SceneMain", 10.0f, 330.0f, {200, 255, 200, 255}},
    };
    for (const TDump& dump : dumps)
    {
        if (!dump.on)
            continue;
        CTimeSection section(m_timeStats, dump.section);
        std::string text;
        if (process)
            process->DescribeForDebug(dump.command, text);
        if (text.empty())
            text = std::string(dump.section) + "\n(nothing loaded)\n";
        fonts.DrawTextPanel(fonts.f07x12S, dump.x, dump.y, text, dump.colour);
    }
    if (m_showInputData && input)
    {
        CTimeSection section(m_timeStats, "InputData");
        SetColor(200, 255, 200, 255);
        fonts.DrawMultiLineText(fonts.f07x12S, 250.0f, 45.0f, input->GetDumpText());
        // The transmitter's state beside the axes it feeds, below the instrument row and on a
        // dark backdrop: it is read over the flying site.
        const std::string radio = input->GetRadioStatusText();
        if (!radio.empty())
        {
            float w = 0.0f, h = 0.0f;
            fonts.TextExtent(fonts.f06x12, radio, 1.0f, w, h);
            SetColor(0, 0, 0, 170);
            FillRect(446, 104, static_cast<int>(w) + 8, static_cast<int>(h) + 8);
            SetColor(200, 220, 255, 255);
            fonts.DrawMultiLineText(fonts.f06x12, 450.0f, 108.0f, radio);
        }
    }
    if (m_showSoundAdmin && sound)
    {
        // On a dark backdrop: the list lies over the gauges and the sky.
        const std::string text = sound->GetDiagnosticText();
        float w = 0.0f, h = 0.0f;
        size_t lines = 0;
        for (size_t start = 0; start < text.size(); ++lines)
        {
            const size_t end = std::min(text.find('\n', start), text.size());
            float lineWidth = 0.0f, lineHeight = 0.0f;
            fonts.TextExtent(fonts.f07x12S, text.substr(start, end - start), 1.0f, lineWidth, lineHeight);
            w = std::max(w, lineWidth);
            h = std::max(h, lineHeight);
            start = end + 1;
        }
        SetColor(0, 0, 0, 170);
        FillRect(6, 8, static_cast<int>(w) + 8, static_cast<int>(h * static_cast<float>(lines)) + 4);
        SetColor(255, 255, 255, 255);
        fonts.DrawMultiLineText(fonts.f07x12S, 10.0f, 10.0f, text);
    }
    {
        CTimeSection section(m_timeStats, "Time Statistics");
        const int font = fonts.Find(CTimeStatistics::kFontName);
        const std::vector<CTimeStatisticsLine> lines =
            m_timeStats ? m_timeStats->GetDisplayLines() : std::vector<CTimeStatisticsLine>();
        // A dark backdrop: the table lies over the instrument panel and a bright sky.
        float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
        for (const CTimeStatisticsLine& line : lines)
        {
            float w = 0.0f, h = 0.0f;
            fonts.TextExtent(font, line.text, 1.0f, w, h);
            left = std::min(left, static_cast<float>(line.x));
            top = std::min(top, static_cast<float>(line.y));
            right = std::max(right, static_cast<float>(line.x) + w);
            bottom = std::max(bottom, static_cast<float>(line.y) + h);
        }
        if (!lines.empty())
        {
            SetColor(0, 0, 0, 170);
            FillRect(static_cast<int>(left) - 4, static_cast<int>(top) - 2, static_cast<int>(right - left) + 8,
                     static_cast<int>(bottom - top) + 4);
        }
        for (const CTimeStatisticsLine& line : lines)
        {
            SetColor(PaletteColor(line.colourIndex));
            fonts.DrawText(font, static_cast<float>(line.x), static_cast<float>(line.y), line.text);
        }
    }
    if (m_showFonts)
    {
        SetColor(255, 255, 255, 255);
        fonts.DrawDebug(10.0f, 60.0f);
    }
    if (m_showTextureInfo)
    {
        CTimeSection section(m_timeStats, "Texture Info");
        std::string text;
        TextureManager().Describe(text);
        SetColor(255, 255, 255, 255);
        fonts.DrawMultiLineText(fonts.f07x12S, 5.0f, 25.0f, text);
    }
    if (m_showMouseRects && mouseRects)
    {
        for (int slot = 0; slot < CMouseRectRegistry::kSlotCount; ++slot)
        {
            const CMouseRectRegistry::SRect& rect = mouseRects->GetSlot(slot);
            if (!rect.used)
                continue;
            SetColor(mouseRects->IsHit(slot) ? 36 : 30);
            DrawRect(rect.x, rect.y, rect.width, rect.height);
        }
        int mouseX = 0, mouseY = 0;
        if (input)
            input->GetMousePosition(mouseX, mouseY);
        fonts.DrawTextPanel(fonts.f07x12S, 5.0f, height - 120.0f, mouseRects->GetDebugText(mouseX, mouseY),
                            TColor{255, 255, 255, 255});
    }
}

void CDebugOverlays::DrawFps(const CFrameClock* clock, int width) const
{
    if (!m_showFps || !clock)
        return;
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_RIGHT | TA_TOP);
    SetColor(255, 20, 25, 255);
    fonts.DrawText(fonts.f09x13B, width - 20.0f, 30.0f, StringPrintf("FPS %3.2f", clock->GetMeanRealFps()), 2.0f);
    SetTextAlign(oldAlign);
}
