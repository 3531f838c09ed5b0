#include "editor/CViewSelectModel.h"

#include <algorithm>

#include "data/CFile.h"
#include "data/StringTable.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_ListBox.h"
#include "model/ModelFileName.h"

namespace
{
// Client coordinates (below the title bar).
constexpr int kListY = 8;
constexpr int kEditY = 123;
constexpr int kButtonY = 147;
constexpr int kMessageY = 176;
constexpr int kErrorColour = 22;
const TColor kTop{10, 10, 40, 255};
const TColor kBottom{50, 50, 150, 255};

std::unique_ptr<CCI_Button> MakeButton(int x, const std::string& text)
{
    auto button = std::make_unique<CCI_Button>(x, kButtonY, 64, 24, "");
    button->SetText(text);
    return button;
}

// Breaks a message into lines of at most width characters at blanks (the dialog is narrow).
std::string Wrap(const std::string& text, size_t width)
{
    std::string out;
    size_t lineStart = 0;
    size_t lastBlank = std::string::npos;
    for (char c : text)
    {
        out += c;
        if (c == '\n')
        {
            lineStart = out.size();
            lastBlank = std::string::npos;
            continue;
        }
        if (c == ' ')
            lastBlank = out.size() - 1;
        if (out.size() - lineStart > width && lastBlank != std::string::npos)
        {
            out[lastBlank] = '\n';
            lineStart = lastBlank + 1;
            lastBlank = std::string::npos;
        }
    }
    return out;
}

std::string Text(const char* id, const char* fallback)
{
    const char* text = LookupString(id);
    return text && *text ? text : fallback;
}
} // namespace

CViewSelectModel::CViewSelectModel(const std::string& name) : CView(name, VS_TITLE_BAR | VS_CLOSE_BUTTON)
{
    m_client.SetEnabled(true);
    m_client.SetRect(TRect2D{0, kClientTop, kWidth, kHeight - kClientTop});
    m_list = std::make_unique<CCI_ListBox>(10, kListY, 280, 105 / CCI_ListBox::kRowHeight, &m_files);
    m_edit = std::make_unique<CCI_EditString>(50, kEditY, 220, "File");
    m_ok = MakeButton(10, Text("IDS_BUTTON_OK_S", "OK"));
    m_cancel = MakeButton(86, Text("IDS_BUTTON_CANCEL_S", "Cancel"));
    m_delete = MakeButton(162, "Delete");
    for (CBControlItem* control : std::initializer_list<CBControlItem*>{m_list.get(), m_edit.get(), m_ok.get(),
                                                                         m_cancel.get(), m_delete.get()})
        m_client.Add(control);
    Page().Add(&m_client);
    Page().SetFocusTo(&m_client);
    Viewport().SetPixelRect(TRect2D{250, 120, kWidth, kHeight});
    Page().SetRect(Viewport().PixelRect());
    CView::Show(false);
}

CViewSelectModel::~CViewSelectModel()
{
    m_client.Clear();
}

void CViewSelectModel::Show(bool visible)
{
    if (visible && !IsVisible())
    {
        m_message.clear();
        m_asking = false;
        m_result = false;
        Refresh();
        m_client.SetFocusTo(m_list.get());
    }
    CView::Show(visible);
}

void CViewSelectModel::Refresh()
{
    const std::string selected = m_list->SelectedText();
    m_files.Clear();
    m_files.AddFiles(DF_MODEL, "*.mod");
    m_files.Sort();
    if (!selected.empty())
        m_list->SelectText(selected);
    m_lastRefresh = Now();
}

void CViewSelectModel::Run()
{
    CView::Run();
    if (Now() - m_lastRefresh >= kRefreshSeconds)
        Refresh();
    if (m_list->WasActivated() && !m_list->SelectedText().empty())
        m_edit->SetText(m_list->SelectedText());
    if (m_edit->WasActivated() && !m_asking)
        Ok();
    if (m_ok->WasFired())
        m_asking ? Answer(true) : Ok();
    if (m_cancel->WasFired())
        m_asking ? Answer(false) : Cancel();
    if (m_delete->WasFired() && !m_asking)
        Delete();
}

void CViewSelectModel::Ok()
{
    std::string name;
    if (!MakeModelFileName(m_edit->GetText(), name, m_message))
        return;
    m_resultText = name;
    m_result = true;
    m_message.clear();
    RequestClose();
}

void CViewSelectModel::Cancel()
{
    m_resultText.clear();
    m_result = false;
    m_message.clear();
    RequestClose();
}

void CViewSelectModel::Delete()
{
    std::string name;
    if (!MakeModelFileName(m_edit->GetText(), name, m_message))
        return;
    m_deleteName = name;
    m_asking = true;
    m_message = "Delete File?\nAre you sure you want to delete <" + std::string(DataFolderName(DF_MODEL)) + name + ">";
    m_ok->SetText("Yes");
    m_cancel->SetText("No");
}

void CViewSelectModel::Answer(bool yes)
{
    m_asking = false;
    m_ok->SetText(Text("IDS_BUTTON_OK_S", "OK"));
    m_cancel->SetText(Text("IDS_BUTTON_CANCEL_S", "Cancel"));
    m_message.clear();
    if (yes && !DeleteDataFile(m_deleteName, DF_MODEL))
        m_message = m_deleteName + " could not be deleted";
    Refresh();
}

bool CViewSelectModel::TakeResult()
{
    const bool result = m_result;
    m_result = false;
    return result;
}

void CViewSelectModel::RenderScene()
{
    if (m_layoutPending)
        Layout();
}

void CViewSelectModel::Draw()
{
    const TRect2D& r = Viewport().PixelRect();
    // The backdrop runs from dark blue at the top to a lighter blue at the bottom, in bands.
    constexpr int kBands = 16;
    for (int i = 0; i < kBands; ++i)
    {
        const float t = (i + 0.5f) / kBands;
        auto mix = [t](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * t); };
        SetColor(TColor{mix(kTop.r, kBottom.r), mix(kTop.g, kBottom.g), mix(kTop.b, kBottom.b), 255});
        const int y0 = r.y + r.h * i / kBands;
        const int y1 = r.y + r.h * (i + 1) / kBands;
        FillRect(r.x, y0, r.w, y1 - y0);
    }
    CView::Draw();
    if (!m_message.empty())
    {
        const int saved = TextAlign();
        SetTextAlign(TA_LEFT_TOP);
        SetColor(m_asking ? 30 : kErrorColour);
        Fonts().DrawMultiLineText(Fonts().f07x12S, static_cast<float>(r.x + 10),
                                  static_cast<float>(r.y + kClientTop + kMessageY), Wrap(m_message, 38), 1.0f);
        SetTextAlign(saved);
    }
}

void CViewSelectModel::Layout()
{
    CView::Layout();
    TRect2D r = Viewport().PixelRect();
    r.w = kWidth;
    r.h = kHeight;
    r.x = std::max(0, std::min(r.x, WindowClientWidth() - kWidth));
    r.y = std::max(0, std::min(r.y, WindowClientHeight() - kHeight));
    Viewport().SetPixelRect(r);
    Page().SetRect(r);
}
