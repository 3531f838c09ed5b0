#pragma once
// Owns every process of the program for the whole run and performs the switches between them.
//
// A switch is only requested (Request stores the index, a later request in the same frame
// replaces it) and takes effect at the start of the next Update:
//   1. the current process (if any) gets End;
//   2. a request for index 0 raises the quit flag, and the old process gets one more Update
//      (nothing else starts);
//   3. otherwise the requested process becomes current and gets Start;
//   then the current process gets Update. So End of the old, Start and the first Update of the
// new process happen in one frame, and requesting the current process restarts it.
//
// A request for an index with no process (a screen that is not built) is ignored with a
// diagnostic; the current process stays.

#include <memory>

#include "app/CProcess.h"

enum EProcessIndex
{
    PROC_EXIT = 0, // no process: requesting it ends the program
    PROC_FLY = 1,
    PROC_MENU_MAIN = 2,
    PROC_UNUSED_3 = 3,
    PROC_MENU_CONTROLLER = 4,
    PROC_CALIBRATE_TX = 5,
    PROC_MENU_EDIT_INPUT_MAP = 6,
    PROC_MENU_RADIO = 7,
    PROC_MENU_KEY_AXIS = 8,
    PROC_MENU_KEY_DEF = 9,
    PROC_CREDITS = 10,
    PROC_COUNT = 11,
    PROC_NONE = 12, // no current process / no request
};

class CProcessManager
{
public:
    CProcessManager() = default;
    ~CProcessManager();
    CProcessManager(const CProcessManager&) = delete;
    CProcessManager& operator=(const CProcessManager&) = delete;

    // Takes ownership of the process for this index and calls its Init(this); false (and the
    // process deleted) when Init fails or the index is out of range or taken.
    bool Add(int index, std::unique_ptr<CProcess> process);

    void Request(int index);
    int GetRequested() const { return m_requested; }
    int GetCurrentIndex() const { return m_current; }
    // The process that was current before the last switch (PROC_NONE at first).
    int GetPreviousIndex() const { return m_previous; }
    CProcess* GetCurrent() const { return GetProcess(m_current); }
    CProcess* GetProcess(int index) const;

    // Prepare of every process but the current one.
    void PrepareOthers();
    // The switch point, then the current process's Update.
    void Update();
    // Mouse-button events go to OnMouseButton first; what it consumes never reaches OnEvent.
    int OnEvent(const CInputEvent& event);
    void Render();

    // Raised by a request for index 0; the application ends the loop after this frame.
    bool IsQuitRequested() const { return m_quit; }

    // Deletes every process in index order, then back to the empty state.
    void Shutdown();

private:
    std::unique_ptr<CProcess> m_processes[PROC_COUNT];
    int m_current = PROC_NONE;
    int m_previous = PROC_NONE;
    int m_requested = PROC_NONE;
    bool m_quit = false;
};
