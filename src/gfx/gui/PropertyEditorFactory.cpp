#include "gfx/gui/PropertyEditorFactory.h"

#include <memory>
#include <vector>

#include "data/CProperty.h"
#include "data/CPropertyEditorControls.h"
#include "data/CPropertySet.h"
#include "data/CStringList.h"
#include "data/StringTable.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/gui/CCI_ComboBox.h"
#include "gfx/gui/CCI_EditNumber.h"
#include "gfx/gui/CCI_EditString.h"
#include "gfx/gui/CCI_Slider.h"
#include "gfx/gui/CCI_StaticText.h"
#include "gfx/gui/CControlPageEx.h"

namespace
{
constexpr int kTokenEditWidth = 200;
constexpr int kTextEditWidth = 280;
constexpr int kSliderWidth = 150;
constexpr int kTitleColour = 30; // palette

CControlPageEx& AsPage(CPropertyEditorPage& page)
{
    // Every CPropertyEditorPage is a control page: it is the only class deriving from it.
    return static_cast<CControlPageEx&>(page);
}

// Reads every control's one-shot flag (all of them: a flag left set would report a stale change
// next time).
bool AnyActivated(const std::vector<std::unique_ptr<CBControlItem>>& controls)
{
    bool any = false;
    for (const auto& control : controls)
        any = control->WasActivated() || any;
    return any;
}

class CPropertyRow : public CPropertyEditorControls
{
public:
    CPropertyRow(CProperty& property, CControlPageEx& page, int x, int y)
    {
        const std::string label = property.Label().empty() ? property.Key() : property.Label();
        const int fx = x + kPropertyLabelWidth;
        switch (property.Type())
        {
        case EPropertyType::UNKNOWN:
        case EPropertyType::FLOAT:
            AddNumbers(1, fx, y, label, property);
            break;
        case EPropertyType::VECTOR3:
            AddNumbers(3, fx, y, label, property);
            break;
        case EPropertyType::VECTOR2:
        case EPropertyType::VECTORI2:
            AddNumbers(2, fx, y, label, property);
            break;
        case EPropertyType::BOOL:
        {
            auto box = std::make_unique<CCI_CheckBox>(fx, y, label);
            box->SetLabelOnLeft(true);
            m_check = box.get();
            m_controls.push_back(std::move(box));
            break;
        }
        case EPropertyType::SLIDER:
        {
            auto slider = std::make_unique<CCI_Slider>(fx, y, kSliderWidth, label, property.Min(), property.Max());
            m_slider = slider.get();
            m_controls.push_back(std::move(slider));
            break;
        }
        case EPropertyType::TOKEN_EXT:
        {
            auto combo = std::make_unique<CCI_ComboBox>(fx, y, kTokenEditWidth, label);
            if (property.ChoiceList() != nullptr)
                combo->SetItems(*property.ChoiceList());
            m_combo = combo.get();
            m_controls.push_back(std::move(combo));
            break;
        }
        case EPropertyType::TOKEN:
        case EPropertyType::STRING:
        {
            const int width = property.Type() == EPropertyType::STRING ? kTextEditWidth : kTokenEditWidth;
            auto edit = std::make_unique<CCI_EditString>(fx, y, width, label);
            m_edit = edit.get();
            m_controls.push_back(std::move(edit));
            break;
        }
        }
        for (auto& control : m_controls)
        {
            control->SetHelp(label, property.LongText());
            page.Add(control.get());
        }
    }

    bool ReadValue(TPropertyControlValue& outValue) override
    {
        if (!AnyActivated(m_controls))
            return false;
        for (size_t i = 0; i < m_numbers.size(); ++i)
            outValue.numbers[i] = m_numbers[i]->GetValue();
        if (m_slider != nullptr)
            outValue.numbers[0] = m_slider->GetValue();
        if (m_check != nullptr)
            outValue.checked = m_check->IsChecked();
        if (m_combo != nullptr)
            outValue.text = m_combo->SelectedText();
        if (m_edit != nullptr)
            outValue.text = m_edit->GetText();
        return true;
    }

    void Refresh(const CProperty& property) override
    {
        switch (property.Type())
        {
        case EPropertyType::UNKNOWN:
            SetNumber(0, static_cast<float>(property.GetInt()));
            break;
        case EPropertyType::FLOAT:
            SetNumber(0, property.GetFloat());
            break;
        case EPropertyType::VECTOR3:
        {
            const CVector3 v = property.GetVector3();
            SetNumber(0, v.x);
            SetNumber(1, v.y);
            SetNumber(2, v.z);
            break;
        }
        case EPropertyType::VECTOR2:
        {
            float vx = 0.0f, vy = 0.0f;
            property.GetVector2(vx, vy);
            SetNumber(0, vx);
            SetNumber(1, vy);
            break;
        }
        case EPropertyType::VECTORI2:
        {
            int ix = 0, iy = 0;
            property.GetVectorI2(ix, iy);
            SetNumber(0, static_cast<float>(ix));
            SetNumber(1, static_cast<float>(iy));
            break;
        }
        case EPropertyType::BOOL:
            if (m_check != nullptr)
                m_check->SetChecked(property.GetInt() != 0);
            break;
        case EPropertyType::SLIDER:
            if (m_slider != nullptr)
                m_slider->SetValue(property.GetFloat());
            break;
        case EPropertyType::TOKEN_EXT:
            if (m_combo != nullptr)
            {
                if (property.ChoiceList() != nullptr)
                    m_combo->SetItems(*property.ChoiceList());
                if (!m_combo->SelectText(property.GetString()))
                    m_combo->SetSelected(-1);
            }
            break;
        case EPropertyType::TOKEN:
        case EPropertyType::STRING:
            if (m_edit != nullptr && !m_edit->IsEditing())
                m_edit->SetText(property.GetString());
            break;
        }
    }

private:
    void AddNumbers(int count, int x, int y, const std::string& label, const CProperty& property)
    {
        for (int i = 0; i < count; ++i)
        {
            auto edit = std::make_unique<CCI_EditNumber>(x + i * (kPropertyNumberWidth + kPropertyFieldGap), y,
                                                         kPropertyNumberWidth, i == 0 ? label : std::string(),
                                                         property.Step(), property.Min(), property.Max());
            m_numbers.push_back(edit.get());
            m_controls.push_back(std::move(edit));
        }
    }

    void SetNumber(size_t index, float value)
    {
        if (index < m_numbers.size() && !m_numbers[index]->IsEditing())
            m_numbers[index]->SetValue(value);
    }

    // Owned; each takes itself off the page when destroyed.
    std::vector<std::unique_ptr<CBControlItem>> m_controls;
    std::vector<CCI_EditNumber*> m_numbers;
    CCI_CheckBox* m_check = nullptr;
    CCI_Slider* m_slider = nullptr;
    CCI_ComboBox* m_combo = nullptr;
    CCI_EditString* m_edit = nullptr;
};

class CPropertySetHeader : public CPropertySetEditorHeader
{
public:
    CPropertySetHeader(CPropertySet& set, CControlPageEx& page, int parts, int x, int y)
    {
        if (parts & 1)
        {
            m_icon = std::make_unique<CCI_Button>(x, y, 32, 32, set.SetName());
            m_icon->SetHelp(set.Label(), set.LongText());
            page.Add(m_icon.get());
        }
        if (parts & 2)
        {
            m_title = std::make_unique<CCI_StaticText>(x + 40, y + 12, set.SetName(), ST_PLAIN);
            m_title->SetColorIndex(kTitleColour);
            page.Add(m_title.get());
            y += 52;
        }
        // Looked up once: every header shows the same label.
        static const std::string tokenLabel = LookupString("IDS_PART_TOKEN_S");
        static const std::string tokenHelp = LookupString("IDS_PART_TOKEN_L");
        m_token = std::make_unique<CCI_EditString>(x + kPropertyLabelWidth, y, kTokenEditWidth, tokenLabel);
        m_token->SetHelp(tokenLabel, tokenHelp);
        page.Add(m_token.get());
    }

    bool ReadToken(std::string& outToken) override
    {
        if (!m_token->WasActivated())
            return false;
        outToken = m_token->GetText();
        return true;
    }

    void Refresh(const CPropertySet& set) override
    {
        if (!m_token->IsEditing())
            m_token->SetText(set.Token());
    }

private:
    std::unique_ptr<CCI_Button> m_icon;
    std::unique_ptr<CCI_StaticText> m_title;
    std::unique_ptr<CCI_EditString> m_token;
};

std::unique_ptr<CPropertySetEditorHeader> BuildHeader(CPropertySet& set, CPropertyEditorPage& page, int parts, int x,
                                                      int y)
{
    return std::make_unique<CPropertySetHeader>(set, AsPage(page), parts, x, y);
}

std::unique_ptr<CPropertyEditorControls> BuildRow(CProperty& property, CPropertyEditorPage& page, int x, int y)
{
    return std::make_unique<CPropertyRow>(property, AsPage(page), x, y);
}

const TPropertyEditorFactory kFactory{&BuildHeader, &BuildRow};
} // namespace

const TPropertyEditorFactory& GuiPropertyEditorFactory()
{
    return kFactory;
}
