#include "app/CProcessManager.h"

#include "core/Diagnostics.h"

void CProcess::RequestProcess(int index)
{
    if (m_manager)
        m_manager->Request(index);
}

CProcess* CProcess::GetProcess(int index) const
{
    return m_manager ? m_manager->GetProcess(index) : nullptr;
}

CProcessManager::~CProcessManager()
{
    Shutdown();
}

bool CProcessManager::Add(int index, std::unique_ptr<CProcess> process)
{
    if (!process || index <= PROC_EXIT || index >= PROC_COUNT || m_processes[index])
    {
        DiagPrint("CProcessManager: no process can be added at index %i\n", index);
        return false;
    }
    if (!process->Init(this))
    {
        DiagPrint("CProcessManager: process %i failed to initialise\n", index);
        return false;
    }
    m_processes[index] = std::move(process);
    return true;
}

void CProcessManager::Request(int index)
{
    m_requested = index;
}

CProcess* CProcessManager::GetProcess(int index) const
{
    return index >= 0 && index < PROC_COUNT ? m_processes[index].get() : nullptr;
}

void CProcessManager::Update()
{
    if (m_requested != PROC_NONE)
    {
        const int requested = m_requested;
        m_requested = PROC_NONE;
        if (requested != PROC_EXIT && !GetProcess(requested))
        {
            // A screen that is not built yet: staying on the current one is better than ending
            // up with no screen at all.
            DiagPrint("CProcessManager: request for process %i ignored: no such process\n", requested);
        }
        else
        {
            if (CProcess* old = GetCurrent())
                old->End();
            if (requested == PROC_EXIT)
            {
                m_quit = true;
                if (CProcess* old = GetCurrent())
                    old->Update();
                return;
            }
            m_previous = m_current;
            m_current = requested;
            m_processes[m_current]->Start();
        }
    }
    if (CProcess* current = GetCurrent())
        current->Update();
}

int CProcessManager::OnEvent(const CInputEvent& event)
{
    CProcess* current = GetCurrent();
    if (!current)
        return 0;
    if (event.key == KEY_MOUSE_LEFT)
    {
        if (const int result = current->OnMouseButton(event))
            return result;
    }
    return current->OnEvent(event);
}

void CProcessManager::PrepareOthers()
{
    for (int index = 0; index < PROC_COUNT; ++index)
        if (index != m_current)
            if (CProcess* process = GetProcess(index))
                process->Prepare();
}

void CProcessManager::Render()
{
    if (CProcess* current = GetCurrent())
        current->Render();
}

void CProcessManager::Shutdown()
{
    for (auto& process : m_processes)
        process.reset();
    m_current = PROC_NONE;
    m_previous = PROC_NONE;
    m_requested = PROC_NONE;
    m_quit = false;
}
