#include "app/CProcCalibrateTX.h"

#include <algorithm>

#include "app/CMainKestro.h"
#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "gfx/draw2d/CFontList.h"
#include "app/CConfig.h"
#include "input/CInput.h"
#include "input/CJoystickCalibrator.h"
#include "input/InputIds.h"
#include "input/CTxCalibrator.h"
#include "input/KeyCodes.h"

CProcCalibrateTX::CProcCalibrateTX() : CProcMenuEx(PROC_MENU_RADIO) {}

CProcCalibrateTX::~CProcCalibrateTX() = default;

bool CProcCalibrateTX::Init(CProcessManager* manager)
{
    return CProcMenuEx::Init(manager);
}

void CProcCalibrateTX::Start()
{
    CProcMenuEx::Start();
    CMainKestro* app = MainKestro();
    CRadioInterface* radio = app && app->Input() ? app->Input()->Radio() : nullptr;
    m_joystick.reset();
    if (!radio)
    {
        m_calibrator.reset();
        return;
    }
    m_calibrator = std::make_unique<CTxCalibrator>(*radio);
    if (app->Config())
    {
        // At once, like the transmitter's file: the finished step tells the pilot it is kept.
        CConfig* config = app->Config();
        m_calibrator->SetJoystickStore([config] { return config->Save(BuildDataPath(DF_OUTPUT, "")); },
                                       BuildDataPath(DF_OUTPUT, CConfig::kFileName));
    }
    AttachJoystick();
    m_calibrator->SetJoystick(m_joystick.get(), app->Input()->HasJoystick());
    m_calibrator->Start();
}

void CProcCalibrateTX::AttachJoystick()
{
    CMainKestro* app = MainKestro();
    const CInput* input = app ? app->Input() : nullptr;
    if (!input || !input->HasJoystick() || !app->Config())
        return;
    if (m_joystick && input->JoystickGuid() == m_joystick->Guid() && input->JoystickName() == m_joystick->Name())
        return;
    // Another device than the one being measured: the first keeps what it had, as nothing is
    // stored before the measurement finishes.
    m_joystick = std::make_unique<CJoystickCalibrator>(input->Joystick(), app->Config()->JoystickCalibrations(),
                                                       input->JoystickGuid(), input->JoystickName());
}

void CProcCalibrateTX::End()
{
    if (m_calibrator)
        m_calibrator->Leave();
    m_calibrator.reset();
    m_joystick.reset();
    CProcMenuEx::End();
}

int CProcCalibrateTX::OnEvent(const CInputEvent& event)
{
    if (!event.IsGoingDown() || event.key == KEY_NONE)
        return kEventNotHandled;
    if (!m_calibrator)
    {
        if (event.key == DIK_ESCAPE)
        {
            RequestProcess(PROC_MENU_RADIO);
            return kEventConsumed;
        }
        return kEventNotHandled;
    }
    if (m_calibrator->GetStep() == CTxCalibrator::STEP_FINISHED)
    {
        if (!m_calibrator->IsValid() && event.key == DIK_Y)
            m_calibrator->Retry();
        else if (m_calibrator->IsValid() || event.key == DIK_N)
            RequestProcess(PROC_MENU_RADIO);
        return kEventConsumed;
    }
    if (event.key == DIK_ESCAPE)
    {
        m_calibrator->Abort();
        RequestProcess(PROC_MENU_RADIO);
        return kEventConsumed;
    }
    if (event.key == DIK_RETURN || event.key == DIK_NUMPADENTER)
    {
        m_calibrator->Next();
        return kEventConsumed;
    }
    return kEventNotHandled;
}

void CProcCalibrateTX::Update()
{
    CProcMenuEx::Update();
    if (m_calibrator)
    {
        // A joystick plugged in while the screen waits counts as found.
        AttachJoystick();
        CMainKestro* app = MainKestro();
        m_calibrator->SetJoystick(m_joystick.get(), app && app->Input() && app->Input()->HasJoystick());
        m_calibrator->Update();
    }
}

void CProcCalibrateTX::RenderExtra()
{
    CFontList& fonts = Fonts();
    const int oldAlign = TextAlign();
    SetTextAlign(TA_CENTER | TA_TOP);
    SetColor(70, 255, 170, 255);
    fonts.DrawText(fonts.f09x13B, kVirtualWidth / 2, 50, Text("IDS_RXCAL_CAL_RT"), 1.5f);
    SetColor(230, 230, 230, 255);
    const std::string step = m_calibrator ? Text(m_calibrator->StepStringId()) : Text("IDS_ERROR_INTERFACE_NOT_DETECTED");
    const bool unsaved = m_calibrator && m_calibrator->GetStep() == CTxCalibrator::STEP_FINISHED &&
                         !m_calibrator->UnsavedFile().empty();
    if (unsaved)
        SetColor(255, 200, 90, 255);
    fonts.DrawText(fonts.f09x12, kVirtualWidth / 2, 100, step);
    if (unsaved)
    {
        // The full path: the pilot has to find the file (or its folder) to mend what stopped it.
        // Its end names the file, so a path wider than the screen loses its beginning.
        constexpr size_t kFits = 80; // characters of this font across the screen
        const std::string& path = m_calibrator->UnsavedFile();
        fonts.DrawText(fonts.f09x12, kVirtualWidth / 2, 124,
                       path.size() <= kFits ? path : "..." + path.substr(path.size() - (kFits - 3)));
        fonts.DrawText(fonts.f09x12, kVirtualWidth / 2, 148, Text("IDS_RXCAL_PREVIOUS_KEPT"));
        SetColor(230, 230, 230, 255);
    }

    CMainKestro* app = MainKestro();
    CRadioInterface* radio = app && app->Input() ? app->Input()->Radio() : nullptr;
    if (m_calibrator && radio && radio->GetNumChannels() > 0 && m_calibrator->GetStep() != CTxCalibrator::STEP_DETECT)
    {
        SetTextAlign(TA_LEFT_TOP);
        SetColor(70, 255, 170, 255);
        fonts.DrawText(fonts.f07x12S, 200, 300, "Channel  Raw       Min   Center  Max");
        SetColor(230, 230, 230, 255);
        const int channels = std::min(radio->GetNumChannels(), CRadioInterface::kChannelCount);
        for (int n = 1; n <= channels; ++n)
        {
            const STxChannelCalibration& c = radio->Calibration().Channel(n);
            fonts.DrawText(fonts.f07x12S, 230, static_cast<float>(320 + 20 * (n - 1)),
                           StringPrintf("%i     %3.1i       %3.1i    %3.1i    %3.1i", n, radio->GetChannelCount(n),
                                        c.minCount, c.centreCount, c.maxCount));
        }
    }
    const CInput* input = app ? app->Input() : nullptr;
    if (m_calibrator && m_joystick && input && input->HasJoystick() &&
        m_calibrator->GetStep() != CTxCalibrator::STEP_DETECT)
    {
        // SDL numbers a device's axes in its own order: the number tells which stick is which.
        SetTextAlign(TA_LEFT_TOP);
        SetColor(70, 255, 170, 255);
        fonts.DrawText(fonts.f07x12S, 470, 280, input->JoystickName());
        fonts.DrawText(fonts.f07x12S, 470, 300, "Axis            Raw    Low  Centre  High");
        SetColor(230, 230, 230, 255);
        const int axes = std::min(input->JoystickAxisCount(), CInputJoystick::kCalibratedCount);
        for (int i = 0; i < axes; ++i)
        {
            const SJoystickAxisCalibration& c = m_joystick->Calibration()[i];
            fonts.DrawText(fonts.f07x12S, 470, static_cast<float>(320 + 20 * i),
                           StringPrintf("%i %-12s %5i  %5i  %5i  %5i", i, AxisDisplayName(AXIS_JOYSTICK_X + i),
                                        input->Joystick().RawValue(i), c.low, c.centre, c.high));
        }
    }
    SetTextAlign(oldAlign);
}
