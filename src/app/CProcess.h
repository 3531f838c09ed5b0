#pragma once
// A screen of the program (main menu, flight, credits, the controller menus). Exactly one
// process is current; the process manager forwards the frame's update, render and input events
// to it and switches between processes at one point of the frame (CProcessManager::Update).
//
// Event handlers return 0 when they did not handle the event, a user-command index when they
// did, and 120 (UC_UNDEFINED) when they consumed it without a command.

#include <cstdint>
#include <string>

#include "input/CInputEvent.h"

class CProcessManager;

class CProcess
{
public:
    CProcess() = default;
    virtual ~CProcess() = default;
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    // Called once, right after construction: stores the manager and builds the resources.
    virtual bool Init(CProcessManager* manager)
    {
        m_manager = manager;
        return true;
    }
    // The process becomes current / stops being current.
    virtual void Start() = 0;
    virtual void End() = 0;
    // One input event (key, mouse button or user command).
    virtual int OnEvent(const CInputEvent& event) = 0;
    // Offered first for mouse-button events.
    virtual int OnMouseButton(const CInputEvent& event) { return 0; }
    // Work a screen can do before its first Start while another one is shown (loading files,
    // first uses of the graphics), so that switching to it is quick; nothing by default. The
    // GL context is current; anything drawn is painted over by the current screen's frame.
    virtual void Prepare() {}
    // Releases per-visit resources.
    virtual void Release() {}
    // Once per frame while current.
    virtual void Update() = 0;
    // Once per rendered frame while current.
    virtual void Render() {}
    // The text dump a debug command shows (UC_DEBUG_SCENE_MAIN, the admins of the scene), for
    // what this process owns; nothing by default.
    virtual void DescribeForDebug(uint32_t command, std::string& ioText) const {}

    // Forwarded to the manager: takes effect at the start of the next process update.
    void RequestProcess(int index);
    CProcess* GetProcess(int index) const;
    CProcessManager* Manager() const { return m_manager; }

private:
    CProcessManager* m_manager = nullptr; // not owned: the manager owns the processes
};
