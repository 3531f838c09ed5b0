#include "app/CPartInfoOverlay.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/IKeyNames.h"
#include "model/PartClassTable.h"
#include "sim/CModelCheck.h"

namespace
{
constexpr int kSummaryWidthChars = 46;
constexpr float kLinePixels = 13.0f; // F07x12S line pitch

// The first lines of text that fit in maxLines, with a note of what was left out.
std::string FirstLines(const std::string& text, int maxLines)
{
    size_t at = 0;
    for (int line = 0; line < maxLines; ++line)
    {
        at = text.find('\n', at);
        if (at == std::string::npos)
            return text;
        ++at;
    }
    const long rest = std::count(text.begin() + static_cast<long>(at), text.end(), '\n');
    return text.substr(0, at) + StringPrintf("... %ld more lines\n", rest);
}
} // namespace

CPartInfoOverlay::CPartInfoOverlay() = default;
CPartInfoOverlay::~CPartInfoOverlay() = default;

void CPartInfoOverlay::Draw(CModel& model, int selectedPart, const IKeyNames* keys)
{
    if (!m_check || m_checkedModel != model.GetFileName())
    {
        m_check = std::make_unique<CModelCheck>();
        m_checkedModel = model.GetFileName();
        m_checkLoaded = m_check->Run(m_checkedModel);
    }
    CFontList& fonts = Fonts();
    const int height = WindowClientHeight();
    const int width = WindowClientWidth();
    const int maxLines = std::max(10, static_cast<int>((static_cast<float>(height) - 100.0f) / kLinePixels));

    const int count = model.GetPartCount();
    if (count > 0)
    {
        const int index = ((selectedPart % count) + count) % count;
        CPart* part = model.GetPart(index);
        std::string text = StringPrintf("Part %d of %d", index + 1, count);
        if (keys != nullptr)
            text += "   previous <" + keys->GetCommandKeyText("UC_DEBUG_SELECT_PREV_PART") + ">  next <" +
                    keys->GetCommandKeyText("UC_DEBUG_SELECT_NEXT_PART") + ">";
        text += part->IsLinked() ? "\n" : "\nnot linked: produces no force\n";
        part->GetDebugText(text);
        fonts.DrawTextPanel(fonts.f07x12S, 60.0f, 60.0f, FirstLines(text, maxLines), PaletteColor(24));
    }

    const CEngineDynamic& body = model.GetBody();
    std::string summary = "Model " + model.GetFileName() + "\n";
    summary += StringPrintf("airspeed %.1f m/s, climb %.1f m/s\n", static_cast<double>(model.GetAirspeed()),
                            static_cast<double>(-model.GetVerticalAirSpeed()));
    summary += StringPrintf("heading %.0f, pitch %.0f, roll %.0f deg\n",
                            static_cast<double>(model.GetHeading() * 57.29578f),
                            static_cast<double>(model.GetPitch() * 57.29578f),
                            static_cast<double>(model.GetRoll() * 57.29578f));
    summary += StringPrintf("mass %.3f kg, %d sub-steps of %.4f s\n\n", static_cast<double>(body.GetMass()),
                            body.GetLastSubStepCount(), static_cast<double>(body.GetLastSubStepLength()));
    summary += m_checkLoaded ? m_check->FormatSummary(kSummaryWidthChars)
                             : "Preflight check: " + m_check->GetError() + "\n";
    const float x = std::min(660.0f, static_cast<float>(width) - kSummaryWidthChars * 7.0f - 10.0f);
    fonts.DrawTextPanel(fonts.f07x12S, x, 160.0f, FirstLines(summary, maxLines - 8), PaletteColor(20));
}
