#include "model/CPartModelInfo.h"

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "model/CModel.h"
#include "model/IModelPresentation.h"
#include "model/PartClassTable.h"

namespace
{
// A name read from a model file must stay inside its data folder; anything else is refused
// with the file and key named.
bool CheckPlainName(const CModel& model, const char* key, const std::string& name)
{
    if (name.empty() || IsPlainDataName(name))
        return true;
    DiagPrint("%s: MODEL_INFO: %s '%s' refused: not a plain file name inside its data folder\n",
              model.GetFileName().c_str(), key, name.c_str());
    return false;
}
} // namespace

CPartModelInfo::CPartModelInfo() : CPart(PART_MODEL_INFO) {}

bool CPartModelInfo::AttachToModel(CModel& model)
{
    return CPart::AttachToModel(model);
}

bool CPartModelInfo::ApplyProperties()
{
    m_linked = true;
    if (m_model == nullptr)
        return true;
    IModelPresentation& presentation = *m_model->GetServices().presentation;

    if (!m_objectTried || m_set.modelFile != m_loadedModelFile)
    {
        m_objectTried = true;
        m_loadedModelFile = m_set.modelFile;
        m_objectLoaded = false;
        if (!m_set.modelFile.empty() && CheckPlainName(*m_model, "3D_MODEL_FILE", m_set.modelFile))
            m_objectLoaded = presentation.Load3DObject(m_set.modelFile, m_model->GetDegreesOfFreedom());
        // The DOFs are kept (parts hold pointers to them) and bound anew; the parts relink so
        // that each finds its DOF in the new object.
        m_model->SetPartsMustBeLinked();
    }
    presentation.Set3DObjectTransform(m_set.modelScale, m_set.modelOffset);

    if (!m_shadowTried || m_set.shadowTexture != m_loadedShadowTexture)
    {
        m_shadowTried = true;
        m_loadedShadowTexture = m_set.shadowTexture;
        if (!m_set.shadowTexture.empty() && CheckPlainName(*m_model, "SHADOW_TEXTURE_FILE", m_set.shadowTexture))
            presentation.LoadShadow(m_set.shadowTexture);
    }
    presentation.SetShadowShape(m_set.shadowScale, m_set.shadowOffsetX, m_set.shadowOffsetZ);

    // Outside its range the step either freezes the program (a microsecond step means tens of
    // thousands of sub-steps a frame) or makes the integration unstable.
    float step = m_set.maxIntegrationStep;
    if (!(step >= kMinIntegrationStep && step <= kMaxIntegrationStep))
    {
        step = !(step >= kMinIntegrationStep) ? kMinIntegrationStep : kMaxIntegrationStep;
        DiagPrint("%s: MODEL_INFO: MAX_INTEGRATION_STEP %g outside %g .. %g, using %g\n",
                  m_model->GetFileName().c_str(), static_cast<double>(m_set.maxIntegrationStep),
                  static_cast<double>(kMinIntegrationStep), static_cast<double>(kMaxIntegrationStep),
                  static_cast<double>(step));
    }
    m_model->GetBody().SetMaxIntegrationStep(step);
    m_model->SetForceDisplayScale(m_set.forceDisplayScale);
    return true;
}
