#pragma once
// The page the property editor builds its rows on, as the data layer sees it: every control
// page is one (CControlPageEx derives from it), so a set can be handed any page.

class CPropertyEditorPage
{
public:
    virtual ~CPropertyEditorPage() = default;
};
