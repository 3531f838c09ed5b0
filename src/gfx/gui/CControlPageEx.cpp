#include "gfx/gui/CControlPageEx.h"

#include <algorithm>
#include <cmath>

#include "gfx/draw2d/CFontList.h"
#include "gfx/gui/GuiHost.h"
#include "input/KeyCodes.h"

namespace
{
constexpr float kTooltipDelay = 0.3f; // s the pointer and the keys must rest
constexpr int kHelpLineMargin = 4;    // pixels between the page edges and the help text

bool GoingDownOrRepeat(const CInputEvent& e)
{
    return (e.flags & (IE_GOING_DOWN | IE_REPEAT)) != 0;
}
} // namespace

CControlPageEx::CControlPageEx() : CBControlItem(0, 0) {}

CControlPageEx::~CControlPageEx()
{
    // The controls outlive the page or die with its owner; either way they must forget it.
    for (CBControlItem* control : m_controls)
        control->SetParent(nullptr);
}

int CControlPageEx::Add(CBControlItem* control)
{
    if (control == nullptr || control == this || IndexOf(control) >= 0)
        return -1;
    if (control->Parent() != nullptr)
        control->Parent()->Remove(control);
    m_controls.push_back(control);
    control->SetParent(this);
    if (!Focusable(m_focusIndex))
    {
        // One step back, then one forward: the focus settles on a focusable control.
        FocusStep(-1);
        FocusStep(+1);
    }
    Layout();
    return static_cast<int>(m_controls.size()) - 1;
}

bool CControlPageEx::Remove(CBControlItem* control)
{
    const int index = IndexOf(control);
    if (index < 0)
        return false;
    if (index == m_focusIndex)
    {
        control->SetFocus(false);
        m_focusIndex = -1;
    }
    else if (index < m_focusIndex)
        --m_focusIndex;
    m_controls.erase(m_controls.begin() + index);
    control->SetParent(nullptr);
    if (m_hover == control)
        m_hover = nullptr;
    if (m_tooltip == control)
        m_tooltip = nullptr;
    if (m_focusIndex < 0)
        FocusStep(+1);
    Layout();
    return true;
}

int CControlPageEx::IndexOf(const CBControlItem* control) const
{
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i] == control)
            return static_cast<int>(i);
    return -1;
}

CBControlItem* CControlPageEx::At(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_controls.size()))
        return nullptr;
    return m_controls[index];
}

void CControlPageEx::Clear()
{
    Deactivate();
    for (CBControlItem* control : m_controls)
    {
        control->SetFocus(false);
        control->SetParent(nullptr);
    }
    m_controls.clear();
    m_focusIndex = -1;
    m_hover = nullptr;
    m_tooltip = nullptr;
    Layout();
}

void CControlPageEx::SetRect(const TRect2D& rect)
{
    if (rect.x == m_rect.x && rect.y == m_rect.y && rect.w == m_rect.w && rect.h == m_rect.h)
        return;
    m_rect = rect;
    SetPosition(rect.x, rect.y);
    Layout();
}

void CControlPageEx::Layout()
{
    m_contentHeight = 0;
    for (CBControlItem* control : m_controls)
    {
        TRect2D r;
        control->GetRect(r);
        m_contentHeight = std::max(m_contentHeight, r.y + r.h);
    }
    if (m_contentHeight > m_rect.h && m_rect.h > 0)
    {
        const float position = m_scrollBar ? m_scrollBar->Position() : 0.0f;
        if (!m_scrollBar)
            m_scrollBar = std::make_unique<CScrollBar>();
        int ax = 0, ay = 0;
        GetAbsolutePosition(ax, ay);
        m_scrollBar->SetGeometry(TRect2D{ax + m_rect.w - CScrollBar::kWidth, ay, CScrollBar::kWidth, m_rect.h},
                                 static_cast<float>(m_rect.h) / static_cast<float>(m_contentHeight));
        m_scrollBar->SetPosition(position);
    }
    else
        m_scrollBar.reset();
}

int CControlPageEx::ScrollOffset() const
{
    if (!m_scrollBar)
        return 0;
    return static_cast<int>(std::lround(m_scrollBar->Position() * static_cast<float>(m_contentHeight - m_rect.h)));
}

void CControlPageEx::ScrollBy(int pixels)
{
    if (m_scrollBar && m_contentHeight > m_rect.h)
        m_scrollBar->Scroll(static_cast<float>(pixels) / static_cast<float>(m_contentHeight - m_rect.h));
}

void CControlPageEx::GetSize(int& outWidth, int& outHeight) const
{
    outWidth = m_rect.w;
    outHeight = m_rect.h;
}

bool CControlPageEx::Focusable(int index) const
{
    const CBControlItem* control = At(index);
    // On a mouse-only page (title bars, camera bars) a click must not leave a control focused.
    return !m_mouseOnly && control != nullptr && control->IsVisible() && control->IsEnabled() &&
           control->CanTakeFocus();
}

void CControlPageEx::SetFocusIndex(int index)
{
    if (index == m_focusIndex)
        return;
    if (CBControlItem* old = At(m_focusIndex))
        old->SetFocus(false);
    m_focusIndex = index;
    if (CBControlItem* now = At(m_focusIndex))
        now->SetFocus(true);
    m_scrollToFocusPending = true;
}

void CControlPageEx::FocusStep(int direction)
{
    const int n = Count();
    if (n == 0 || direction == 0)
        return;
    const int step = direction > 0 ? 1 : -1;
    int start = m_focusIndex;
    if (start < 0 || start >= n)
        start = step > 0 ? -1 : n;
    for (int k = 1; k <= n; ++k)
    {
        const int i = ((start + step * k) % n + n) % n;
        if (Focusable(i))
        {
            SetFocusIndex(i);
            return;
        }
    }
}

bool CControlPageEx::SetFocusTo(CBControlItem* control)
{
    const int index = IndexOf(control);
    if (!Focusable(index))
        return false;
    SetFocusIndex(index);
    return true;
}

void CControlPageEx::ScrollFocusIntoView()
{
    m_scrollToFocusPending = false;
    const CBControlItem* focused = Focused();
    if (focused == nullptr || !m_scrollBar)
        return;
    TRect2D r;
    focused->GetRect(r);
    const int range = m_contentHeight - m_rect.h;
    int offset = ScrollOffset();
    if (r.y < offset)
        offset = r.y;
    else if (r.y + r.h > offset + m_rect.h)
        offset = r.y + r.h - m_rect.h;
    m_scrollBar->SetPosition(static_cast<float>(offset) / static_cast<float>(range));
}

void CControlPageEx::Run()
{
    if (!IsVisible())
        return;
    if (m_scrollBar)
    {
        // The page may have moved with its parent: keep the bar on its right edge.
        int ax = 0, ay = 0;
        GetAbsolutePosition(ax, ay);
        m_scrollBar->SetGeometry(TRect2D{ax + m_rect.w - CScrollBar::kWidth, ay, CScrollBar::kWidth, m_rect.h},
                                 static_cast<float>(m_rect.h) / static_cast<float>(m_contentHeight));
    }
    if (m_scrollToFocusPending)
        ScrollFocusIntoView();

    int mx = -1, my = -1;
    GuiMousePosition(Host(), mx, my);
    if (m_scrollBar)
        m_scrollBar->Run(mx, my);

    CBControlItem* hover = nullptr;
    int ax = 0, ay = 0;
    GetAbsolutePosition(ax, ay);
    const TRect2D pageRect{ax, ay, m_rect.w, m_rect.h};
    if (pageRect.Contains(mx, my))
        for (CBControlItem* control : m_controls)
            if (control->IsVisible() && control->AbsoluteRect().Contains(mx, my))
            {
                hover = control;
                break;
            }
    m_hover = hover;
    const IGuiHost* host = Host();
    const bool resting = host != nullptr && host->MouseIdleSeconds() >= kTooltipDelay &&
                         host->KeyIdleSeconds() >= kTooltipDelay;
    m_tooltip = resting && m_hover != nullptr && !m_hover->ShortHelp().empty() ? m_hover : nullptr;

    for (CBControlItem* control : m_controls)
        if (control->IsVisible())
            control->Run();
}

int CControlPageEx::OnKey(const CInputEvent& event)
{
    if (!IsEnabled() || !IsVisible() || m_locked || m_mouseOnly)
        return kEventNotHandled;
    CBControlItem* focused = Focused();
    if (focused == nullptr)
        return kEventNotHandled;
    if (focused->IsEnabled() && focused->IsVisible())
    {
        const int result = focused->OnKey(event);
        if (result != kEventNotHandled)
            return result;
    }
    if (event.key == DIK_TAB && GoingDownOrRepeat(event) && (event.flags & (IE_CTRL | IE_ALT)) == 0)
    {
        if (event.flags & IE_SHIFT)
        {
            FocusStep(-1);
            GuiPlaySound(Host(), kSoundFocusBack);
        }
        else
        {
            FocusStep(+1);
            GuiPlaySound(Host(), kSoundFocusNext);
        }
        return kEventConsumed;
    }
    if ((event.key == DIK_UP || event.key == DIK_DOWN) && GoingDownOrRepeat(event) && (event.flags & IE_CTRL))
    {
        ScrollBy(event.key == DIK_UP ? -kScrollStep : kScrollStep);
        return kEventConsumed;
    }
    return kEventNotHandled;
}

int CControlPageEx::OnMouse(const CInputEvent& event)
{
    if (!IsEnabled() || !IsVisible())
        return kEventNotHandled;
    CBControlItem* focused = Focused();
    if (focused != nullptr && focused->IsEnabled() && focused->IsVisible())
    {
        const int result = focused->OnMouse(event);
        if (result != kEventNotHandled)
            return result;
    }
    const bool leftPress = event.key == KEY_MOUSE_LEFT && event.IsGoingDown();
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        CBControlItem* control = m_controls[i];
        if (control == focused || !control->IsEnabled() || !control->IsVisible())
            continue;
        // The list may change under a handler (a button that clears its page): remember the index.
        const int result = control->OnMouse(event);
        if (result != kEventNotHandled)
        {
            if (leftPress && IndexOf(control) == static_cast<int>(i) && Focusable(static_cast<int>(i)))
                SetFocusIndex(static_cast<int>(i));
            return result;
        }
    }
    if (m_scrollBar)
    {
        int mx = -1, my = -1;
        GuiMousePosition(Host(), mx, my);
        if (m_scrollBar->OnMouse(event, mx, my))
            return kEventConsumed;
    }
    return kEventNotHandled;
}

void CControlPageEx::SetHelpLine(int lines)
{
    m_helpLines = std::max(0, lines);
}

int CControlPageEx::HelpLineHeight() const
{
    if (m_helpLines == 0)
        return 0;
    float w = 0.0f, h = 0.0f;
    Fonts().TextExtent(Fonts().f07x12S, "M", 1.0f, w, h);
    return m_helpLines * static_cast<int>(h) + 2 * kHelpLineMargin;
}

std::string CControlPageEx::HelpLineText() const
{
    if (m_helpLines == 0)
        return std::string();
    // The pointer names what the user is looking at; without it, the focus says what the keys
    // will change.
    const CBControlItem* shown = m_hover != nullptr && !m_hover->LongHelp().empty() ? m_hover : Focused();
    return shown != nullptr && shown->IsVisible() ? shown->LongHelp() : std::string();
}

std::vector<std::string> CControlPageEx::HelpLineRows() const
{
    std::vector<std::string> rows;
    const std::string text = HelpLineText();
    if (text.empty())
        return rows;
    float charWidth = 0.0f, h = 0.0f;
    Fonts().TextExtent(Fonts().f07x12S, "M", 1.0f, charWidth, h);
    const int columns = charWidth > 0.0f
                            ? std::max(1, static_cast<int>(static_cast<float>(m_rect.w - 2 * kHelpLineMargin) / charWidth))
                            : static_cast<int>(text.size());
    // Word wrap; a word longer than a row is cut.
    std::string row;
    size_t i = 0;
    while (i < text.size())
    {
        if (text[i] == ' ' || text[i] == '\n')
        {
            if (text[i] == '\n')
            {
                rows.push_back(row);
                row.clear();
            }
            ++i;
            continue;
        }
        size_t end = text.find_first_of(" \n", i);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(i, end - i);
        i = end;
        while (!word.empty())
        {
            const size_t needed = row.empty() ? word.size() : row.size() + 1 + word.size();
            if (needed <= static_cast<size_t>(columns))
            {
                row += (row.empty() ? "" : " ") + word;
                word.clear();
            }
            else if (row.empty())
            {
                row = word.substr(0, static_cast<size_t>(columns));
                word.erase(0, static_cast<size_t>(columns));
                rows.push_back(row);
                row.clear();
            }
            else
            {
                rows.push_back(row);
                row.clear();
            }
        }
    }
    if (!row.empty())
        rows.push_back(row);
    if (rows.size() > static_cast<size_t>(m_helpLines))
        rows.resize(static_cast<size_t>(m_helpLines));
    return rows;
}

void CControlPageEx::Draw()
{
    if (!IsVisible())
        return;
    int ax = 0, ay = 0;
    GetAbsolutePosition(ax, ay);
    for (CBControlItem* control : m_controls)
    {
        if (!control->IsVisible())
            continue;
        if (m_scrollBar)
        {
            // Controls scrolled partly out of the page are not drawn over its neighbours.
            const TRect2D r = control->AbsoluteRect();
            if (r.y < ay || r.y + r.h > ay + m_rect.h)
                continue;
        }
        control->Draw();
    }
    // A page inside a page shows its focused control only while it holds the outer page's focus:
    // otherwise the pilot sees two focus frames and cannot tell where the keys go.
    CBControlItem* focused = Focused();
    if (focused != nullptr && focused->IsVisible() && IsEnabled() && !m_mouseOnly && (Parent() == nullptr || HasFocus()))
        focused->DrawFocus();
    if (m_scrollBar)
        m_scrollBar->Draw();

    if (Host() != nullptr && Host()->ShowsBoundingRects())
    {
        SetColor(24);
        DrawRect(ax, ay, m_rect.w, m_rect.h);
        SetColor(36);
        for (CBControlItem* control : m_controls)
        {
            const TRect2D r = control->AbsoluteRect();
            DrawRect(r.x, r.y, r.w, r.h);
        }
    }

    if (m_helpLines > 0)
    {
        const int top = ay + m_rect.h - HelpLineHeight();
        SetColor(10);
        DrawLine(static_cast<float>(ax + kHelpLineMargin), static_cast<float>(top),
                 static_cast<float>(ax + m_rect.w - kHelpLineMargin), static_cast<float>(top));
        float w = 0.0f, lineHeight = 0.0f;
        Fonts().TextExtent(Fonts().f07x12S, "M", 1.0f, w, lineHeight);
        const int saved = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        SetColor(17);
        float y = static_cast<float>(top + kHelpLineMargin);
        for (const std::string& row : HelpLineRows())
        {
            Fonts().DrawText(Fonts().f07x12S, static_cast<float>(ax + kHelpLineMargin), y, row, 1.0f);
            y += lineHeight;
        }
        SetTextAlign(saved);
    }

    if (m_tooltip != nullptr)
    {
        int mx = 0, my = 0;
        GuiMousePosition(Host(), mx, my);
        float w = 0.0f, h = 0.0f;
        Fonts().TextExtent(Fonts().f09x12, m_tooltip->ShortHelp(), 1.0f, w, h);
        const int bx = mx + 12, by = my + 18;
        SetColor(37);
        FillRect(bx, by, static_cast<int>(w) + 8, static_cast<int>(h) + 6, 8);
        SetColor(0);
        const int saved = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        Fonts().DrawMultiLineText(Fonts().f09x12, static_cast<float>(bx + 4), static_cast<float>(by + 3),
                                  m_tooltip->ShortHelp(), 1.0f);
        SetTextAlign(saved);
    }
}

void CControlPageEx::Deactivate()
{
    for (CBControlItem* control : m_controls)
        control->Deactivate();
}
