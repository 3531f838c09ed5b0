#include "model/CPropertySet_ModelInfo.h"

#include "model/PropertyAccess.h"

namespace
{
const TPropertyDeclaration kDeclarations[] = {
    {false, EPropertyType::STRING, "DESCRIPTION", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "DISPLAYED_SCALE_OF_FORCES", 0.01f, 0.01f, 10.0f, 0},
    {false, EPropertyType::STRING, "3D_MODEL_FILE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "3D_MODEL_SCALE", 0.001f, 0.001f, 1000.0f, 0},
    {false, EPropertyType::VECTOR3, "3D_MODEL_OFFSET_POS", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::STRING, "SHADOW_TEXTURE_FILE", 0.1f, kPropertyMin, kPropertyMax, 0},
    {false, EPropertyType::FLOAT, "SHADOW_SCALE", 0.01f, 0.01f, 100.0f, 0},
    {false, EPropertyType::VECTOR2, "SHADOW_OFFSET", 0.1f, -1000.0f, 1000.0f, 0},
    {false, EPropertyType::FLOAT, "MAX_INTEGRATION_STEP", 0.0005f, 0.001f, 0.05f, 0},
    {false, EPropertyType::STRING, "INSTRUMENT_PANEL_FILE", 0.1f, kPropertyMin, kPropertyMax, 0},
};
} // namespace

CPropertySet_ModelInfo::CPropertySet_ModelInfo()
{
    Init("MODEL_INFO", kDeclarations, static_cast<int>(sizeof(kDeclarations) / sizeof(kDeclarations[0])));
    SetDefaults();
    StoreProperties();
}

void CPropertySet_ModelInfo::SetDefaults()
{
    description.clear();
    forceDisplayScale = 0.1f;
    modelFile.clear();
    modelScale = 1.0f;
    modelOffset = CVector3();
    shadowTexture.clear();
    shadowScale = 1.0f;
    shadowOffsetX = shadowOffsetZ = 0.0f;
    maxIntegrationStep = 0.005f;
    instrumentPanelFile.clear();
}

void CPropertySet_ModelInfo::ReadValues()
{
    ReadProperty(*this, "DESCRIPTION", description);
    ReadProperty(*this, "DISPLAYED_SCALE_OF_FORCES", forceDisplayScale);
    ReadProperty(*this, "3D_MODEL_FILE", modelFile);
    ReadProperty(*this, "3D_MODEL_SCALE", modelScale);
    ReadProperty(*this, "3D_MODEL_OFFSET_POS", modelOffset);
    ReadProperty(*this, "SHADOW_TEXTURE_FILE", shadowTexture);
    ReadProperty(*this, "SHADOW_SCALE", shadowScale);
    ReadProperty(*this, "SHADOW_OFFSET", shadowOffsetX, shadowOffsetZ);
    ReadProperty(*this, "MAX_INTEGRATION_STEP", maxIntegrationStep);
    ReadProperty(*this, "INSTRUMENT_PANEL_FILE", instrumentPanelFile);
}

void CPropertySet_ModelInfo::WriteValues()
{
    StoreProperty(*this, "DESCRIPTION", description);
    StoreProperty(*this, "DISPLAYED_SCALE_OF_FORCES", forceDisplayScale);
    StoreProperty(*this, "3D_MODEL_FILE", modelFile);
    StoreProperty(*this, "3D_MODEL_SCALE", modelScale);
    StoreProperty(*this, "3D_MODEL_OFFSET_POS", modelOffset);
    StoreProperty(*this, "SHADOW_TEXTURE_FILE", shadowTexture);
    StoreProperty(*this, "SHADOW_SCALE", shadowScale);
    StoreProperty(*this, "SHADOW_OFFSET", shadowOffsetX, shadowOffsetZ);
    StoreProperty(*this, "MAX_INTEGRATION_STEP", maxIntegrationStep);
    StoreProperty(*this, "INSTRUMENT_PANEL_FILE", instrumentPanelFile);
}
