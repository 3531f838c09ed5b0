#pragma once
// The keys of the MODEL_INFO block: the model's global settings.

#include <string>

#include "core/CVector3.h"
#include "model/CPartPropertySet.h"

class CPropertySet_ModelInfo : public CPartPropertySet
{
public:
    CPropertySet_ModelInfo();

    void SetDefaults() override;

protected:
    void ReadValues() override;
    void WriteValues() override;

public:
    // Settings as the file gives them.
    std::string description;
    float forceDisplayScale = 0.1f;   // DISPLAYED_SCALE_OF_FORCES, arrow m per N
    std::string modelFile;            // 3D_MODEL_FILE, scene file in Data/3D/
    float modelScale = 1.0f;          // 3D_MODEL_SCALE
    CVector3 modelOffset;             // 3D_MODEL_OFFSET_POS, body frame, m
    std::string shadowTexture;        // SHADOW_TEXTURE_FILE, in Data/Textures/
    float shadowScale = 1.0f;         // SHADOW_SCALE
    float shadowOffsetX = 0.0f;       // SHADOW_OFFSET
    float shadowOffsetZ = 0.0f;
    float maxIntegrationStep = 0.005f; // MAX_INTEGRATION_STEP, s
    std::string instrumentPanelFile;  // INSTRUMENT_PANEL_FILE
};
