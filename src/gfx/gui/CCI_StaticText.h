#pragma once
// A text in one of several styles. Only the menu-link style (and the selectable styles above it)
// takes the focus; plain, title and heading texts are skipped by Tab.
//
// Menu link: Enter going down without modifier, or a left click on it, plays the click sound,
// sets activated and requests its target process (when set); Up and Down going down or
// repeating move the page's focus to the previous or next control.
// Title: the text twice at scale 2.5, centred on x: (70, 255, 170) and 2 pixels right and down
// (45, 198, 105).

#include <string>

#include "gfx/gui/CBControlItem.h"
#include "gfx/draw2d/Palette.h"

enum EStaticTextStyle
{
    ST_PLAIN = 0,      // font F09x12, the text's colour
    ST_TITLE = 1,      // centred title, scale 2.5
    ST_MENU_LINK = 2,  // large menu entry, takes the focus
    ST_HEADING = 3,    // bold, the text's colour, no focus
    ST_SELECTABLE = 4, // plain text that takes the focus (styles above 3)
};

class CCI_StaticText : public CBControlItem
{
public:
    CCI_StaticText(int x, int y, const std::string& text, int style = ST_PLAIN);

    void SetText(const std::string& text) { m_text = text; }
    const std::string& Text() const { return m_text; }
    int Style() const { return m_style; }
    void SetColor(const TColor& color) { m_color = color; }
    void SetColorIndex(int paletteIndex) { m_color = PaletteColor(paletteIndex); }
    // Process requested by a menu link (kProcessNone = none).
    void SetTargetProcess(int process) { m_targetProcess = process; }
    // Font index and scale for plain and heading styles (defaults: F09x12 / F09x13B at 1.0).
    void SetFont(int font, float scale = 1.0f) { m_font = font; m_scale = scale; }

    bool CanTakeFocus() const override { return m_style == ST_MENU_LINK || m_style > ST_HEADING; }
    int OnKey(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Draw() override;
    void GetSize(int& outWidth, int& outHeight) const override;
    void GetRect(TRect2D& outRect) const override;

private:
    void Activate();
    int FontIndex() const;
    float Scale() const;

    std::string m_text;
    int m_style;
    TColor m_color{255, 255, 255, 255};
    int m_targetProcess = 12;
    int m_font = -1;
    float m_scale = 1.0f;
};
