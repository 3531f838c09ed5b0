#include "gfx/views/CView.h"

#include "data/StringTable.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/UserCommands.h"

namespace
{
constexpr int kConsumed = static_cast<int>(UC_UNDEFINED);
} // namespace

CView::CView(const std::string& name, int style) : m_style(style), m_name(name)
{
    m_page.SetEnabled(true);
    m_page.SetVisible(true);
    m_page.SetRect(m_viewport.PixelRect());
    m_closeButton = std::make_unique<CCI_Button>(0, 0, 16, 16, "B_CLOSE");
    const char* tip = LookupString("IDS_CLOSE_WINDOW");
    m_closeButton->SetHelp(tip ? tip : "", "");
    m_closeButton->SetMouseOnly(true);
    if (m_style & VS_CLOSE_BUTTON)
        m_page.Add(m_closeButton.get());
}

CView::~CView()
{
    m_page.Clear();
}

int CView::OnCommand(const CInputEvent& event)
{
    int result = 0;
    bool own = true;
    switch (event.command)
    {
    case UC_DEBUG_GRAPHIC_STATE:
        m_debugText = !m_debugText;
        result = static_cast<int>(event.command);
        break;
    case UC_DEBUG_WIREFRAME:
        m_viewport.CyclePolygonMode();
        result = static_cast<int>(event.command);
        break;
    case UC_DEBUG_SCENEGRAPH_STATS:
        m_sceneStats = !m_sceneStats;
        m_sceneStatsTime = -1.0;
        result = static_cast<int>(event.command);
        break;
    default:
        own = false;
        break;
    }
    if (!own)
        result = m_page.OnKey(event);
    if (m_modal && result == 0)
        result = kConsumed;
    return result;
}

int CView::OnMouse(const CInputEvent& event)
{
    int mx = 0, my = 0;
    GuiMousePosition(GuiHost(), mx, my);
    if (m_dragging)
    {
        if (event.IsGoingUp())
            m_dragging = false;
        return kConsumed;
    }
    m_page.SetRect(m_viewport.PixelRect()); // the viewport may have moved since the last frame
    const int pageResult = m_page.OnMouse(event);
    if (pageResult != 0)
        return pageResult;
    if ((m_style & VS_TITLE_BAR) && event.IsGoingDown() && TitleBarRect().Contains(mx, my))
    {
        m_dragging = true;
        m_dragMouseX = mx;
        m_dragMouseY = my;
        m_dragStartRect = m_viewport.PixelRect();
        return kConsumed;
    }
    return 0;
}

void CView::Deactivate()
{
    m_page.Deactivate();
    m_dragging = false;
}

void CView::Run()
{
    if (m_closeButton->WasActivated())
        m_closeRequested = true;
    if (m_dragging)
    {
        int mx = 0, my = 0;
        GuiMousePosition(GuiHost(), mx, my);
        TRect2D rect = m_dragStartRect;
        rect.x += mx - m_dragMouseX;
        rect.y += my - m_dragMouseY;
        m_viewport.SetPixelRect(rect);
        m_page.SetRect(rect);
    }
    if (m_flash && Now() - m_flashStart >= kFlashSeconds)
        m_flash = false;
    m_page.Run();
}

void CView::Draw()
{
    const TRect2D& rect = m_viewport.PixelRect();
    if (m_style & VS_TITLE_BAR)
    {
        TColor left = PaletteColor(27);
        if (m_dragging)
            left = PaletteColor(21);
        else if (IsFlashing())
            left = PaletteColor(24);
        const TColor right = PaletteColor(m_dragging ? 37 : 20);
        DrawGradientHorizontal(rect.x, rect.y, rect.w, kTitleBarHeight, left, right);
        CFontList& fonts = Fonts();
        const int oldAlign = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        SetColor(20);
        fonts.DrawText(fonts.f09x12, static_cast<float>(rect.x + 20), static_cast<float>(rect.y + 4), m_title, 1.0f);
        SetTextAlign(oldAlign);
        DrawLine(static_cast<float>(rect.x), static_cast<float>(rect.y + 17), static_cast<float>(rect.x + rect.w),
                 static_cast<float>(rect.y + 17));
    }
    m_page.SetRect(rect);
    m_page.Draw();
    if (m_debugText)
        Fonts().DrawTextPanel(Fonts().f07x12S, static_cast<float>(rect.x + 20), static_cast<float>(rect.y + 100),
                              m_viewport.Describe(), PaletteColor(20));
    if (m_sceneStats)
    {
        if (m_sceneStatsTime < 0.0 || Now() - m_sceneStatsTime > 1.0)
        {
            m_sceneStatsText = m_viewport.DescribeSceneStatistics();
            m_sceneStatsTime = Now();
        }
        Fonts().DrawTextPanel(Fonts().f07x12S, static_cast<float>(rect.x + rect.w - 330),
                              static_cast<float>(rect.y + 60), m_sceneStatsText,
                              TColor{160, 220, 255, 255});
    }
}

void CView::RenderScene()
{
    if (m_layoutPending)
        Layout();
    m_viewport.Render(0.0, true);
}

void CView::Layout()
{
    m_layoutPending = false;
    m_viewport.Relayout();
    m_page.SetRect(m_viewport.PixelRect());
}

void CView::Show(bool visible)
{
    m_layoutPending = true;
    Deactivate();
    m_visible = visible;
}

void CView::StartActivationFlash()
{
    m_flash = true;
    m_flashStart = Now();
}

bool CView::IsFlashing() const
{
    return m_flash && Now() - m_flashStart < kFlashSeconds;
}

TRect2D CView::TitleBarRect() const
{
    const TRect2D& rect = m_viewport.PixelRect();
    return TRect2D{rect.x + 16, rect.y, rect.w - 16, kTitleBarHeight};
}
