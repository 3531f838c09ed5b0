#include "model/CPart.h"

#include <cmath>

#include "core/Diagnostics.h"

#include "data/CComponentNode.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "model/CAirfoilList.h"
#include "model/CModel.h"
#include "model/PartClassTable.h"

namespace
{
// The property listing of a part's debug text is cut here; the overlay has no room for more.
constexpr size_t kMaxPropertyListing = 6000;
} // namespace

CPart::CPart(int classIndex) : m_classIndex(classIndex) {}

CPart::~CPart()
{
    // The part's node stands for this object: take it out of the tree before the object goes.
    if (auto node = m_registryNode.lock())
        node->Detach();
}

bool CPart::AttachToModel(CModel& model)
{
    m_model = &model;
    GetPropertySet().SetChangeCallback(&CPart::OnPropertiesChanged, this);
    return true;
}

void CPart::OnPropertiesChanged(void* context)
{
    CPart* part = static_cast<CPart*>(context);
    part->ApplyProperties();
    if (part->m_model != nullptr)
        part->m_model->SetMassMustBeRecomputed();
}

void CPart::UpdateFrame(float) {}

CPropertySet& CPart::GetEditPropertySet()
{
    return GetPropertySet();
}

void CPart::DrawDebug(IDebugDraw&) {}

void CPart::DrawDebugExtra(IDebugDraw&) {}

const char* CPart::GetMarkerNode() const
{
    return nullptr;
}

int CPart::SaveState(std::vector<unsigned char>&)
{
    return 0;
}

int CPart::LoadState(const unsigned char*, int)
{
    return 0;
}

void CPart::GetDebugText(std::string& ioText)
{
    const TPartClassDescriptor* descriptor = GetPartClass(m_classIndex);
    ioText += "Part Type:";
    ioText += descriptor != nullptr ? descriptor->blockToken : "?";
    ioText += "\nToken:";
    ioText += GetName();
    ioText += "\n\n";
    std::string listing;
    GetPropertySet().Dump(listing);
    if (listing.size() > kMaxPropertyListing)
        listing.resize(kMaxPropertyListing);
    ioText += listing;
}

float CPart::UsableMass(float mass, const char* key) const
{
    if (mass >= 0.0f && std::isfinite(mass))
        return mass;
    const TPartClassDescriptor* part = GetPartClass(m_classIndex);
    DiagPrint("%s: %s '%s': %s %g is no mass; the part adds none\n",
              m_model != nullptr ? m_model->GetFileName().c_str() : "?", part != nullptr ? part->blockToken : "?",
              GetName().c_str(), key, static_cast<double>(mass));
    return 0.0f;
}

const std::string& CPart::GetName() const
{
    return GetPropertySet().Token();
}

void CPart::SetName(const std::string& name)
{
    GetPropertySet().SetToken(name);
}

CAirfoilList& CPart::Airfoils() const
{
    return m_model != nullptr ? *m_model->GetServices().airfoils : CAirfoilList::Shared();
}

bool CPart::GetPosition(CVector3& outPosition)
{
    if (!m_positionLooked)
    {
        m_positionProperty = GetPropertySet().FindProperty("POSITION");
        m_positionLooked = true;
    }
    if (m_positionProperty == nullptr)
    {
        outPosition = CVector3();
        return false;
    }
    outPosition = m_positionProperty->GetVector3();
    return true;
}

void CPart::SetRegistryNode(CComponentNode* node)
{
    if (node == nullptr)
        m_registryNode.reset();
    else
        m_registryNode = node->Handle();
}

CComponentNode* CPart::GetRegistryNode() const
{
    return m_registryNode.lock().get();
}
