#pragma once
// Base of every menu screen: an 800 x 600 virtual screen stretched over the window, an optional
// background picture, a control page with the menu's controls (owned here, the page only lists
// them) and the process that Escape returns to.
//
// Start sets the application's menu-active switch (the frame is cleared to black before the menu
// draws); End clears it. Events go to the page first; Escape going down that the page did not
// use requests the back target.

#include <memory>
#include <utility>
#include <vector>

#include "app/CProcess.h"
#include "app/CProcessManager.h"
#include "gfx/gui/CControlPageEx.h"

class CProcMenuEx : public CProcess
{
public:
    static constexpr int kVirtualWidth = 800;
    static constexpr int kVirtualHeight = 600;

    explicit CProcMenuEx(int backTarget);
    ~CProcMenuEx() override;

    bool Init(CProcessManager* manager) override;
    void Start() override;
    void End() override;
    int OnEvent(const CInputEvent& event) override;
    int OnMouseButton(const CInputEvent& event) override;
    void Update() override;
    void Render() override;

    int BackTarget() const { return m_backTarget; }
    CControlPageEx& Page() { return m_page; }

protected:
    // Creates a control, puts it on the page and keeps it until the menu is deleted.
    template <class T, class... Args>
    T* AddControl(Args&&... args)
    {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = control.get();
        m_page.Add(raw);
        m_controls.push_back(std::move(control));
        return raw;
    }
    // Drawn after the page, inside the menu's 2D projection (virtual screen coordinates).
    virtual void RenderExtra() {}
    // Sets the background picture by sprite name (missing: no background).
    void SetBackground(const char* spriteName);

private:
    CControlPageEx m_page;
    std::vector<std::unique_ptr<CBControlItem>> m_controls; // listed by m_page
    int m_backgroundSprite = -1;
    int m_backTarget;
};

// Escape going down (key code 1, any state with GOING-DOWN).
bool IsEscapePressed(const CInputEvent& event);
// A string-table text as std::string.
std::string Text(const char* id);
