#include "app/CProcMenuEx.h"

#include "app/CMainKestro.h"
#include "data/StringTable.h"
#include "gfx/draw2d/CSpriteList.h"
#include "gfx/draw2d/CTextureManager.h"
#include "gfx/draw2d/Draw2D.h"
#include "gfx/draw2d/Palette.h"
#include "input/KeyCodes.h"

bool IsEscapePressed(const CInputEvent& event)
{
    return event.key == DIK_ESCAPE && (event.flags & IE_GOING_DOWN) != 0;
}

std::string Text(const char* id)
{
    return LookupString(id);
}

CProcMenuEx::CProcMenuEx(int backTarget) : m_backTarget(backTarget)
{
    m_page.SetGuiHost(MainKestro());
}

CProcMenuEx::~CProcMenuEx()
{
    // The page lists the controls without owning them: empty it before they go.
    m_page.Clear();
    m_controls.clear();
}

bool CProcMenuEx::Init(CProcessManager* manager)
{
    CProcess::Init(manager);
    m_page.SetRect(TRect2D{0, 0, kVirtualWidth, kVirtualHeight});
    m_page.SetEnabled(true);
    return true;
}

void CProcMenuEx::SetBackground(const char* spriteName)
{
    m_backgroundSprite = SpriteList().Find(spriteName);
}

void CProcMenuEx::Start()
{
    if (CMainKestro* app = MainKestro())
        app->SetMenuActive(true);
}

void CProcMenuEx::End()
{
    // The background (1024 x 1024, 4 MiB in the driver) is read again when a menu shows it
    // next: the flight that usually follows needs the memory more than the menu its 20 ms.
    if (m_backgroundSprite >= 0)
        TextureManager().ReleaseGLObject(SpriteList().Get(m_backgroundSprite).textureId);
    m_page.Deactivate();
    if (CMainKestro* app = MainKestro())
        app->SetMenuActive(false);
}

int CProcMenuEx::OnEvent(const CInputEvent& event)
{
    if (const int result = m_page.OnKey(event))
        return result;
    if (IsEscapePressed(event) && m_backTarget != PROC_NONE)
    {
        RequestProcess(m_backTarget);
        return kEventConsumed;
    }
    return 0;
}

int CProcMenuEx::OnMouseButton(const CInputEvent& event)
{
    return m_page.OnMouse(event);
}

void CProcMenuEx::Update()
{
    m_page.Run();
}

void CProcMenuEx::Render()
{
    CDraw2DScope scope;
    Set2DProjectionVirtual(0, 0, WindowClientWidth(), WindowClientHeight(), kVirtualWidth, kVirtualHeight);
    SetColor(20);
    if (m_backgroundSprite >= 0)
        DrawSprite(m_backgroundSprite, 0.0f, 0.0f, static_cast<float>(kVirtualWidth), static_cast<float>(kVirtualHeight));
    m_page.Draw();
    RenderExtra();
}
