#pragma once
// The flight screen's part info (UC_DEBUG_PART_INFO): the selected part's property dump and
// runtime figures (its forces and torques this frame) on the left, and on the right the model's
// summary: its air data this frame and the preflight check's figures and warnings (CModelCheck,
// run once per loaded model on private copies, so the flight is not disturbed).
//
// The selected part steps with UC_DEBUG_SELECT_PREV_PART / _NEXT_PART (the flight process keeps
// the index); an index past the end of a smaller model wraps to the first part.

#include <memory>
#include <string>

class CModel;
class CModelCheck;
class IKeyNames;

class CPartInfoOverlay
{
public:
    CPartInfoOverlay();
    ~CPartInfoOverlay();

    // Draws both panels in window pixels; keys (may be null) names the stepping keys.
    void Draw(CModel& model, int selectedPart, const IKeyNames* keys);
    // The check of the model last drawn (null before the first draw).
    const CModelCheck* GetCheck() const { return m_check.get(); }

private:
    std::unique_ptr<CModelCheck> m_check;
    std::string m_checkedModel; // file name the check belongs to
    bool m_checkLoaded = false;
};
