#include "editor/CViewDialogEditModel.h"

#include "core/CTimeStatistics.h"
#include "core/Diagnostics.h"
#include "gfx/gui/GuiHost.h"
#include "data/CPropertySet.h"
#include "data/StringTable.h"
#include "gfx/draw2d/CFontList.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/gui/CCI_Button.h"
#include "gfx/gui/CCI_Tree.h"
#include "gfx/gui/PropertyEditorFactory.h"
#include "input/UserCommands.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/PartClassTable.h"

namespace
{
constexpr int kConsumed = static_cast<int>(UC_UNDEFINED);
const TColor kBackground{16, 22, 34, 235};
constexpr int kErrorColour = 22;

struct TNewPartButton
{
    uint32_t command;
    int classIndex;
    bool button; // WHEEL3 and WING2 are reached by their commands only
};
const TNewPartButton kNewParts[] = {
    {UC_DLG_NEW_PART_COLLISION_POINT, PART_COLLISION_POINT, true},
    {UC_DLG_NEW_PART_DRAG, PART_DRAG, true},
    {UC_DLG_NEW_PART_ENGINE_PROP, PART_ENGINE_PROP, true},
    {UC_DLG_NEW_PART_GRAVITY, PART_GRAVITY, true},
    {UC_DLG_NEW_PART_INPUT_FORCE, PART_INPUT_FORCE, true},
    {UC_DLG_NEW_PART_SERVO, PART_SERVO, true},
    {UC_DLG_NEW_PART_PROPELLER, PART_PROPELLER, true},
    {UC_DLG_NEW_PART_VARIABLE, PART_VARIABLE, true},
    {UC_DLG_NEW_PART_WHEEL3, PART_WHEEL3, false},
    {UC_DLG_NEW_PART_WHEEL, PART_WHEEL, true},
    {UC_DLG_NEW_PART_WING2, PART_WING2, false},
    {UC_DLG_NEW_PART_WING3, PART_WING3, true},
    {UC_DLG_NEW_PART_MODEL_INFO, PART_MODEL_INFO, true},
    {UC_DLG_NEW_PART_BATTERY, PART_BATTERY, true},
    {UC_DLG_NEW_PART_FUEL_TANK, PART_FUEL_TANK, true},
};
} // namespace

CViewDialogEditModel::CViewDialogEditModel(const std::string& name, CModelEditor& editor)
    : CView(name, VS_TITLE_BAR), m_editor(editor)
{
    for (CControlPageEx* page : {&m_props, &m_treePage, &m_bar1, &m_bar2})
    {
        page->SetEnabled(true);
        Page().Add(page);
    }
    m_bar1.SetMouseOnly(true);
    m_bar2.SetMouseOnly(true);
    m_tree = std::make_unique<CCI_Tree>(20, 20, 200, 200 / CCI_Tree::kRowHeight);
    m_treePage.Add(m_tree.get());
    auto addButton = [this](CControlPageEx& bar, int x, const char* sprite, uint32_t command) {
        auto button = std::make_unique<CCI_Button>(x, 4, 24, 24, sprite);
        button->SetReleaseCommand(command);
        const char* s = UserCommandShortText(command);
        const char* l = UserCommandLongText(command);
        button->SetHelp(s && *s ? s : sprite, l ? l : "");
        bar.Add(button.get());
        m_buttons.push_back(std::move(button));
    };
    addButton(m_bar1, 10, "B_ARR_LEFT", UC_DLG_EDIT_MODEL_PREV_PART);
    addButton(m_bar1, 38, "B_ARR_RIGHT", UC_DLG_EDIT_MODEL_NEXT_PART);
    addButton(m_bar2, 0, "B_DELETE", UC_DLG_DELETE_PART);
    int x = 36;
    for (const TNewPartButton& entry : kNewParts)
        if (entry.button)
        {
            addButton(m_bar2, x, GetPartClass(entry.classIndex)->blockToken, entry.command);
            x += 28;
        }
    CView::Show(false);
}

CViewDialogEditModel::~CViewDialogEditModel()
{
    ClearPropertyPage();
    for (CControlPageEx* page : {&m_props, &m_treePage, &m_bar1, &m_bar2})
        page->Clear();
}

void CViewDialogEditModel::Show(bool visible)
{
    CView::Show(visible);
    if (visible)
        Rebuild();
}

void CViewDialogEditModel::Layout()
{
    CView::Layout();
    const TRect2D& r = Viewport().PixelRect();
    const int top = kTitleBarHeight + 2;
    const int halfWidth = r.w / 2 - 30;
    const int height = r.h - 52 - top;
    m_props.SetRect(TRect2D{10, top + 4, halfWidth, height});
    m_treePage.SetRect(TRect2D{10 + r.w / 2, top + 4, halfWidth, height});
    m_bar1.SetRect(TRect2D{0, r.h - 32, 120, 32});
    m_bar2.SetRect(TRect2D{10 + r.w / 2, r.h - 32, r.w / 2 - 10, 32});
    // The tree fills its page.
    const int rows = std::max(3, (height - 30) / CCI_Tree::kRowHeight);
    auto tree = std::make_unique<CCI_Tree>(10, 10, std::max(200, halfWidth - 40), rows);
    for (int i = 0; i < m_tree->RowCount(); ++i)
        tree->AddRow(m_tree->Row(i));
    tree->SetSelected(m_tree->Selected());
    m_treePage.Clear();
    m_tree = std::move(tree);
    m_treePage.Add(m_tree.get());
    m_treePage.SetEnabled(true);
}

void CViewDialogEditModel::ClearPropertyPage()
{
    // Controls of a model that was replaced went with its parts.
    if (m_pageSet != nullptr && m_pageGeneration == m_editor.Generation())
        m_pageSet->ClearControls();
    m_pageSet = nullptr;
    m_props.Clear();
    m_props.SetEnabled(true);
}

void CViewDialogEditModel::BuildPropertyPage()
{
    ClearPropertyPage();
    CModel* model = m_editor.Model();
    CPart* part = model ? model->GetPart(m_editor.Selected()) : nullptr;
    if (part == nullptr)
        return;
    m_pageSet = &part->GetEditPropertySet();
    m_pageGeneration = m_editor.Generation();
    m_lists.Attach(*m_pageSet);
    m_pageSet->BuildControls(GuiPropertyEditorFactory(), m_props, 3, 10, 10);
    m_pageSet->RefreshControls();
}

void CViewDialogEditModel::FillTree()
{
    const int keep = m_tree->Selected();
    m_tree->Clear();
    CModel* model = m_editor.Model();
    if (model == nullptr)
        return;
    bool grouped[PART_CLASS_COUNT] = {};
    int selectedRow = -1;
    for (int i = 0; i < model->GetPartCount(); ++i)
    {
        CPart* part = model->GetPart(i);
        if (part == nullptr)
            continue;
        const TPartClassDescriptor* descriptor = GetPartClass(part->GetClassIndex());
        const int icon = SpriteList().Find(descriptor->blockToken);
        if (descriptor->inEditor && !grouped[descriptor->classIndex])
        {
            grouped[descriptor->classIndex] = true;
            TTreeRow group;
            group.text = std::string("All ") + descriptor->blockToken;
            group.group = true;
            group.icon = icon;
            group.userData = -1;
            m_tree->AddRow(group);
        }
        TTreeRow row;
        row.text = part->GetName();
        row.indent = descriptor->inEditor ? 1 : 0;
        row.icon = icon;
        row.userData = i;
        const int mask = part->GetEnableMask();
        const int available = part->GetAvailableChecks();
        const int bits[3] = {CPart::kEnableForces, CPart::kEnableMass, CPart::kEnableRender};
        for (int c = 0; c < 3; ++c)
            row.checks[c] = (available & (1 << c)) ? ((mask & bits[c]) ? 1 : 0) : -1;
        const int index = m_tree->AddRow(row);
        if (i == m_editor.Selected())
            selectedRow = index;
    }
    m_tree->SetSelected(selectedRow >= 0 ? selectedRow : keep);
}

void CViewDialogEditModel::Rebuild()
{
    m_lists.Rebuild(m_editor.Model());
    if (m_editor.Selected() < 0)
        m_editor.Select(0);
    FillTree();
    BuildPropertyPage();
}

void CViewDialogEditModel::SelectPart(int index)
{
    m_editor.Select(index);
    FillTree();
    BuildPropertyPage();
}

void CViewDialogEditModel::ReadTree()
{
    int row = -1, check = -1;
    m_tree->LastCheckChange(row, check);
    CModel* model = m_editor.Model();
    if (model == nullptr)
        return;
    bool flagsChanged = false;
    for (int r = 0; r < m_tree->RowCount(); ++r)
    {
        const TTreeRow& data = m_tree->Row(r);
        CPart* part = data.userData >= 0 ? model->GetPart(data.userData) : nullptr;
        if (part == nullptr)
            continue;
        int mask = part->GetEnableMask();
        const int bits[3] = {CPart::kEnableForces, CPart::kEnableMass, CPart::kEnableRender};
        for (int c = 0; c < 3; ++c)
            if (data.checks[c] >= 0)
                mask = data.checks[c] ? (mask | bits[c]) : (mask & ~bits[c]);
        if (mask != part->GetEnableMask())
        {
            part->SetEnableMask(mask);
            flagsChanged = true;
        }
    }
    if (flagsChanged)
    {
        model->SetMassMustBeRecomputed();
        m_editor.FlagsChanged();
    }
    const int selected = m_tree->Selected();
    if (selected >= 0 && m_tree->Row(selected).userData >= 0 && m_tree->Row(selected).userData != m_editor.Selected())
    {
        m_editor.Select(m_tree->Row(selected).userData);
        BuildPropertyPage();
    }
}

void CViewDialogEditModel::Run()
{
    CTimeSection section(TimeStatistics(), "CViewDialogEditModel::Run");
    CView::Run();
    if (m_pageGeneration != m_editor.Generation() || m_pageSet == nullptr)
    {
        m_pageSet = nullptr;
        Rebuild();
        return;
    }
    // 1. The property page takes no keys while the tree has them.
    m_props.SetEnabled(!(m_treeHasFocus && IsActive()));
    // 2. Renaming.
    std::string typed;
    if (m_pageSet->ReadTokenControl(typed))
    {
        m_editor.RenameSelected(typed);
        Rebuild();
        return;
    }
    // 3. The tree.
    if (m_tree->WasActivated())
        ReadTree();
    // 4. Values.
    if (m_pageSet->ReadControls())
    {
        m_editor.PropertyChanged();
        FillTree();
    }
}

int CViewDialogEditModel::OnMouse(const CInputEvent& event)
{
    // The page clicked last has the keys: decided before the pages see the click, so that a
    // click on the property page reaches it even while the tree had the focus.
    if (event.IsGoingDown() && (event.key == KEY_MOUSE_LEFT || event.key == KEY_MOUSE_RIGHT))
    {
        int mx = 0, my = 0;
        GuiMousePosition(GuiHost(), mx, my);
        const TRect2D tree = m_treePage.AbsoluteRect();
        const TRect2D props = m_props.AbsoluteRect();
        const auto inside = [mx, my](const TRect2D& r) { return mx >= r.x && my >= r.y && mx < r.x + r.w && my < r.y + r.h; };
        if (inside(tree))
            m_treeHasFocus = true;
        else if (inside(props))
            m_treeHasFocus = false;
        m_props.SetEnabled(!m_treeHasFocus);
    }
    return CView::OnMouse(event);
}

int CViewDialogEditModel::OnCommand(const CInputEvent& event)
{
    const int result = CView::OnCommand(event);
    if (result != 0)
        return result;
    return OnEditCommand(event);
}

int CViewDialogEditModel::OnEditCommand(const CInputEvent& event)
{
    if (!event.IsGoingDown() || event.command == kCommandNone)
        return 0;
    const uint32_t command = event.command;
    switch (command)
    {
    case UC_DLG_EDIT_MODEL_NEXT_PART:
        m_editor.SelectNext();
        FillTree();
        BuildPropertyPage();
        return static_cast<int>(command);
    case UC_DLG_EDIT_MODEL_PREV_PART:
        m_editor.SelectPrev();
        FillTree();
        BuildPropertyPage();
        return static_cast<int>(command);
    case UC_DLG_EDIT_MODEL_UNDO:
        m_editor.Undo();
        return static_cast<int>(command);
    case UC_DLG_EDIT_MODEL_REDO:
        m_editor.Redo();
        return static_cast<int>(command);
    case UC_DLG_DELETE_PART:
        ClearPropertyPage();
        m_editor.DeleteSelected();
        return static_cast<int>(command);
    default:
        break;
    }
    for (const TNewPartButton& entry : kNewParts)
        if (entry.command == command)
        {
            ClearPropertyPage();
            m_editor.AddPart(entry.classIndex);
            return static_cast<int>(command);
        }
    return 0;
}

void CViewDialogEditModel::RenderScene()
{
    if (m_layoutPending)
        Layout();
}

void CViewDialogEditModel::Draw()
{
    const TRect2D& r = Viewport().PixelRect();
    SetColor(kBackground);
    FillRect(r.x, r.y, r.w, r.h);
    CView::Draw();
    const int saved = TextAlign();
    SetTextAlign(TA_LEFT_TOP);
    const float y = static_cast<float>(r.y + r.h - 26);
    if (!m_editor.GetError().empty())
    {
        SetColor(kErrorColour);
        Fonts().DrawText(Fonts().f07x12S, static_cast<float>(r.x + 80), y, m_editor.GetError(), 1.0f);
    }
    else
    {
        SetColor(30);
        const CModelEditHistory& history = m_editor.History();
        Fonts().DrawText(Fonts().f07x12S, static_cast<float>(r.x + 80), y,
                         StringPrintf("undo %i  redo %i", history.UndoCount(), history.RedoCount()), 1.0f);
    }
    SetTextAlign(saved);
}
