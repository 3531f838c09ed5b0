#pragma once
// The main menu: the title over the background picture and four entries (fly, controllers,
// credits, exit). Escape restarts it.

#include "app/CProcMenuEx.h"

class CProcMenuMain : public CProcMenuEx
{
public:
    CProcMenuMain() : CProcMenuEx(PROC_MENU_MAIN) {}
    bool Init(CProcessManager* manager) override;
};
