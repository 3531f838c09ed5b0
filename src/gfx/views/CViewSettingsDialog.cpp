#include "gfx/views/CViewSettingsDialog.h"

#include <algorithm>

#include "data/CProperty.h"
#include "data/CPropertyEditorControls.h"
#include "data/CPropertySet.h"
#include "data/StringTable.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/PropertyEditorFactory.h"
#include "gfx/draw2d/CFontList.h"

namespace
{
constexpr int kHelpLines = 2;
const TColor kBackground{16, 22, 34, 225}; // dark and nearly opaque: the scene moves behind it
constexpr int kErrorColour = 22;           // palette: light red
constexpr int kErrorAboveButtons = 25;     // client pixels: between the rows and the buttons

std::unique_ptr<CCI_Button> MakeButton(int x, int y, const char* textId, const char* helpId)
{
    auto button = std::make_unique<CCI_Button>(x, y, CViewSettingsDialog::kButtonWidth,
                                               CViewSettingsDialog::kButtonHeight, "");
    const char* text = LookupString(textId);
    const char* help = LookupString(helpId);
    button->SetText(text ? text : "");
    button->SetHelp(text ? text : "", help ? help : "");
    return button;
}
} // namespace

CViewSettingsDialog::CViewSettingsDialog(const std::string& name, int left, int top, int rowCount)
    : CView(name, VS_TITLE_BAR | VS_CLOSE_BUTTON)
{
    const int extraRows = std::max(0, rowCount - kMinRows);
    m_buttonY = kButtonY + extraRows * kRowHeight;
    m_height = kHeight + extraRows * kRowHeight;
    m_client.SetEnabled(true);
    m_client.SetHelpLine(kHelpLines);
    // Sized before it joins the view's page, which would otherwise lay out around a default
    // 800 x 600 page and scroll.
    m_client.SetRect(TRect2D{0, kClientTop, kWidth, m_height - kClientTop});
    m_ok = MakeButton(kOkX, m_buttonY, "IDS_BUTTON_OK_S", "IDS_BUTTON_OK_L");
    m_cancel = MakeButton(kCancelX, m_buttonY, "IDS_BUTTON_CANCEL_S", "IDS_BUTTON_CANCEL_L");
    m_default = MakeButton(kDefaultX, m_buttonY, "IDS_BUTTON_DEFAULT_S", "IDS_BUTTON_DEFAULT_L");
    for (CCI_Button* button : {m_ok.get(), m_cancel.get(), m_default.get()})
        m_client.Add(button);
    Page().Add(&m_client);
    // Keys go to the settings, not to the close button in the corner.
    Page().SetFocusTo(&m_client);
    Viewport().SetPixelRect(TRect2D{left, top, kWidth, m_height});
    Page().SetRect(Viewport().PixelRect());
    CView::Show(false); // shown by the owner's command
}

CViewSettingsDialog::~CViewSettingsDialog()
{
    // The rows belong to the settings' properties but sit on this dialog's page.
    if (m_settings != nullptr)
        m_settings->ClearControls();
    m_client.Clear();
}

void CViewSettingsDialog::BuildRows(CPropertySet& settings)
{
    m_settings = &settings;
    const TPropertyEditorFactory& factory = GuiPropertyEditorFactory();
    if (m_rowsBuilt)
        return;
    for (int i = 0; i < settings.PropertyCount(); ++i)
    {
        CProperty* property = settings.PropertyAt(i);
        property->SetControls(factory.buildRow(*property, m_client, kRowX, kRowY + i * kRowHeight));
    }
    // The buttons come after the rows, so that Tab walks the page from top to bottom.
    for (CCI_Button* button : {m_ok.get(), m_cancel.get(), m_default.get()})
    {
        m_client.Remove(button);
        m_client.Add(button);
    }
    settings.RefreshControls();
    m_rowsBuilt = true;
}

void CViewSettingsDialog::Show(bool visible)
{
    if (visible && !m_editing)
    {
        if (m_settings != nullptr)
            BuildRows(*m_settings); // the editor factory may have come since
        TakeSnapshot();
        m_editing = true;
        m_error.clear();
        if (m_settings != nullptr)
            m_settings->RefreshControls();
        if (m_client.Count() > 0)
            m_client.SetFocusTo(m_client.At(0));
    }
    else if (!visible && m_editing)
    {
        // Closed without OK or Cancel: as Cancel.
        Restore();
        m_editing = false;
    }
    CView::Show(visible);
}

void CViewSettingsDialog::Run()
{
    CView::Run();
    if (m_settings != nullptr && m_settings->ReadControls())
        ApplySettings();
    if (m_ok->WasFired())
        Ok();
    if (m_cancel->WasFired())
        Cancel();
    if (m_default->WasFired())
        Default();
}

void CViewSettingsDialog::Ok()
{
    std::string error;
    if (!SaveSettings(error))
    {
        m_error = error;
        return;
    }
    m_error.clear();
    m_editing = false;
    RequestClose();
}

void CViewSettingsDialog::Cancel()
{
    Restore();
    m_editing = false;
    RequestClose();
}

void CViewSettingsDialog::Default()
{
    // A number still being typed would commit over the defaults afterwards.
    m_client.Deactivate();
    SetDefaults();
    if (m_settings != nullptr)
    {
        m_settings->StoreProperties();
        m_settings->RefreshControls();
    }
    ApplySettings();
    m_error.clear();
}

void CViewSettingsDialog::Restore()
{
    m_client.Deactivate();
    RestoreSnapshot();
    if (m_settings != nullptr)
    {
        m_settings->StoreProperties();
        m_settings->RefreshControls();
    }
    ApplySettings();
}

void CViewSettingsDialog::RenderScene()
{
    if (m_layoutPending)
        Layout();
}

void CViewSettingsDialog::Draw()
{
    const TRect2D& r = Viewport().PixelRect();
    SetColor(kBackground);
    FillRect(r.x, r.y, r.w, r.h);
    CView::Draw();
    if (!m_error.empty())
    {
        const int saved = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        SetColor(kErrorColour);
        Fonts().DrawText(Fonts().f07x12S, static_cast<float>(r.x + kOkX), static_cast<float>(r.y + kClientTop + m_buttonY - kErrorAboveButtons),
                         m_error, 1.0f);
        SetTextAlign(saved);
    }
}

void CViewSettingsDialog::Layout()
{
    CView::Layout();
    TRect2D r = Viewport().PixelRect();
    r.w = kWidth;
    r.h = m_height;
    r.x = std::max(0, std::min(r.x, WindowClientWidth() - kWidth));
    r.y = std::max(0, std::min(r.y, WindowClientHeight() - m_height));
    Viewport().SetPixelRect(r);
    Page().SetRect(r);
}
