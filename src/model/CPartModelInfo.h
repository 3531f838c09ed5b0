#pragma once
// The MODEL_INFO part "M": the model's global settings. Applying it (re)loads the 3D object when
// its file changed (then every part relinks, as DOFs may have changed), places it, reloads the
// shadow when its texture changed, and hands the integration step and the force display scale
// to the body and the records. File names must be plain names inside their folders.

#include <string>

#include "model/CPart.h"
#include "model/CPropertySet_ModelInfo.h"

class CPartModelInfo : public CPart
{
public:
    // The accepted range of MAX_INTEGRATION_STEP (s); values outside are clamped into it.
    static constexpr float kMinIntegrationStep = 0.001f;
    static constexpr float kMaxIntegrationStep = 0.05f;

    CPartModelInfo();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }

    const CPropertySet_ModelInfo& GetSettings() const { return m_set; }
    CPropertySet_ModelInfo& GetSettings() { return m_set; }
    // Whether the presentation accepted the 3D object.
    bool Is3DObjectLoaded() const { return m_objectLoaded; }

private:
    CPropertySet_ModelInfo m_set;
    std::string m_loadedModelFile;   // what the 3D object was made from
    bool m_objectTried = false;      // a first attempt was made (even if it failed)
    bool m_objectLoaded = false;
    std::string m_loadedShadowTexture;
    bool m_shadowTried = false;
};
