#pragma once
// The model selection dialog, for loading and for saving ("Save as"): the *.mod files of
// Data/Model/ in a list (refreshed every 2 s, the selection kept), a "File" edit box that a
// click on the list fills, and OK, Cancel and Delete.
//
// Every name that leaves the dialog is a plain file name inside Data/Model/ (".mod" added when
// missing): a typed name with a folder, "..", or nothing in it is refused with a message in the
// dialog, which stays open and touches no file; that holds for OK (load or save) and Delete
// alike. Delete asks first ("Delete File?"); Yes removes the file and refreshes the list.
//
// OK sets the result (TakeResult) and asks the owner to close the view; Cancel clears it.

#include <memory>
#include <string>

#include "data/CStringList.h"
#include "gfx/views/CView.h"

class CCI_Button;
class CCI_EditString;
class CCI_ListBox;

class CViewSelectModel : public CView
{
public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 250;
    static constexpr int kClientTop = kTitleBarHeight + 2;
    static constexpr double kRefreshSeconds = 2.0;

    explicit CViewSelectModel(const std::string& name);
    ~CViewSelectModel() override;

    void Show(bool visible) override;
    void Run() override;
    void RenderScene() override;
    void Draw() override;
    void Layout() override;

    // Refills the list from Data/Model/*.mod, keeping the selected name.
    void Refresh();
    // The button actions.
    void Ok();
    void Cancel();
    void Delete();
    // The answer to the delete question.
    void Answer(bool yes);

    // True once after OK; the chosen file name is the result text.
    bool TakeResult();
    const std::string& ResultText() const { return m_resultText; }
    const std::string& GetMessage() const { return m_message; }
    bool IsAsking() const { return m_asking; }
    CCI_EditString& FileEdit() { return *m_edit; }
    const CStringListDynamic& Files() const { return m_files; }

private:
    CControlPageEx m_client;
    CStringListDynamic m_files;
    std::unique_ptr<CCI_ListBox> m_list;
    std::unique_ptr<CCI_EditString> m_edit;
    std::unique_ptr<CCI_Button> m_ok, m_cancel, m_delete;
    double m_lastRefresh = -1.0e9;
    bool m_result = false;
    std::string m_resultText;
    std::string m_message;      // refusals and failures, shown under the buttons
    bool m_asking = false;      // the delete question is shown: OK answers yes, Cancel no
    std::string m_deleteName;
};
