#pragma once
// The part editor: the property page of the selected part (left), the part tree (right: a
// group row "All <TYPE>" before the first part of each type, each part with its forces, mass
// and render check boxes), and two button bars: previous / next part, and delete plus a new
// part of each type.
//
// Per frame: the property page is enabled unless the tree has the focus; a name typed into the
// page's name field renames the part ("_" appended while another part has the name); ticks in
// the tree set the parts' flag bits; a clicked part row selects it; a changed value goes into the
// part at once (the model flies with it) and is an undo step. New, deleted and renamed parts are
// applied by reloading the model (CModelEditor); undo and redo (Ctrl+Z, Ctrl+Y) too.

#include <memory>
#include <string>
#include <vector>

#include "editor/CModelEditor.h"
#include "editor/CModelNameLists.h"
#include "gfx/views/CView.h"

class CCI_Button;
class CCI_Tree;
class CPropertySet;

class CViewDialogEditModel : public CView
{
public:
    CViewDialogEditModel(const std::string& name, CModelEditor& editor);
    ~CViewDialogEditModel() override;

    int OnCommand(const CInputEvent& event) override;
    int OnMouse(const CInputEvent& event) override;
    void Run() override;
    void RenderScene() override;
    void Draw() override;
    void Layout() override;
    void Show(bool visible) override;

    // The editor's own commands (part stepping, new and deleted parts, undo, redo), also when
    // another view of the editor layout holds the keys. Returns the command when handled.
    int OnEditCommand(const CInputEvent& event);
    // Selects the part at index (or the nearest existing one below it).
    void SelectPart(int index);

    CModelEditor& Editor() { return m_editor; }
    CCI_Tree& Tree() { return *m_tree; }

private:
    void Rebuild();
    void FillTree();
    void BuildPropertyPage();
    void ClearPropertyPage();
    void ReadTree();

    CModelEditor& m_editor;
    CModelNameLists m_lists;
    CControlPageEx m_props;
    CControlPageEx m_treePage;
    CControlPageEx m_bar1;
    CControlPageEx m_bar2;
    std::unique_ptr<CCI_Tree> m_tree;
    std::vector<std::unique_ptr<CCI_Button>> m_buttons;
    CPropertySet* m_pageSet = nullptr; // whose controls are on m_props (a part of m_pageModel)
    const void* m_pageModel = nullptr;
    int m_pageGeneration = -1;
    bool m_treeHasFocus = false;
};
