#include "data/CPropertySet.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CFileText.h"
#include "data/CPropertyEditorControls.h"
#include "data/CTokenFile.h"
#include "data/StringTable.h"

namespace
{
const char* const kSeparatorLine = "//------------------------------------------------------------------------------";

bool WriteText(CFile& file, const std::string& text)
{
    return file.Write(text.c_str()) == text.size();
}
} // namespace

CPropertySet::CPropertySet() = default;

CPropertySet::~CPropertySet() = default;

void CPropertySet::Init(const char* setName, const TPropertyDeclaration* declarations, int count)
{
    m_setName = setName != nullptr ? setName : "";
    m_properties.clear();
    m_properties.reserve(count > 0 ? static_cast<size_t>(count) : 0);
    for (int i = 0; i < count; ++i)
        m_properties.push_back(std::make_unique<CProperty>(*this, m_setName, declarations[i]));
    m_label = LookupString(("IDS_" + m_setName + "_S").c_str());
    m_longText = LookupString(("IDS_" + m_setName + "_L").c_str());
}

CProperty* CPropertySet::FindProperty(const char* key) const
{
    if (key == nullptr)
        return nullptr;
    for (auto it = m_properties.rbegin(); it != m_properties.rend(); ++it)
        if ((*it)->Key() == key)
            return it->get();
    return nullptr;
}

CProperty* CPropertySet::PropertyAt(int index) const
{
    if (index < 0 || index >= PropertyCount())
        return nullptr;
    return m_properties[static_cast<size_t>(index)].get();
}

void CPropertySet::ReadValues(CTokenFile& block, const std::string& token)
{
    m_token = token;
    for (auto& property : m_properties)
    {
        if (!property->Read(block))
            DiagPrint("%s: %s '%s': required key %s missing\n", block.FileName().c_str(), m_setName.c_str(),
                      m_token.c_str(), property->Key().c_str());
    }
}

bool CPropertySet::Read(CTokenFile& block, const std::string& token)
{
    ReadValues(block, token);
    return ApplyProperties();
}

bool CPropertySet::ReadFile(const std::string& name, const std::string& token)
{
    if (!IsPlainDataName(name))
    {
        DiagPrint("%s: refused to read '%s' outside the output folder\n", m_setName.c_str(), name.c_str());
        return false;
    }
    const std::string path = BuildDataPath(DF_OUTPUT, name);
    CTokenFile file;
    if (!file.Load(path))
    {
        // A missing file is normal on the first run; one that exists and does not load is not.
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored))
            DiagPrint("%s: cannot be read; %s settings left unchanged\n", path.c_str(), m_setName.c_str());
        return false;
    }
    std::vector<std::array<float, 3>> before(m_properties.size());
    for (size_t i = 0; i < m_properties.size(); ++i)
        m_properties[i]->GetNumbers(before[i].data());
    ReadValues(file, token);
    for (size_t i = 0; i < m_properties.size(); ++i)
    {
        const std::string change = m_properties[i]->ClampToRange(before[i].data());
        if (!change.empty())
            DiagPrint("%s: .%s is outside %g .. %g: %s\n", path.c_str(), m_properties[i]->Key().c_str(),
                      static_cast<double>(m_properties[i]->Min()), static_cast<double>(m_properties[i]->Max()),
                      change.c_str());
    }
    return ApplyProperties();
}

bool CPropertySet::WriteProperties(CFile& file) const
{
    bool ok = true;
    for (const auto& property : m_properties)
        ok = property->Write(file) && ok;
    return ok;
}

bool CPropertySet::Write(CFile& file) const
{
    bool ok = WriteText(file, "\r\n");
    ok = WriteText(file, std::string(kSeparatorLine) + "\r\n") && ok;
    ok = WriteText(file, std::string(kSeparatorLine) + "\r\n") && ok;
    ok = WriteText(file, "." + m_setName + " " + m_token + "\r\n") && ok;
    ok = WriteText(file, "{\r\n") && ok;
    ok = WriteProperties(file) && ok;
    ok = WriteText(file, "}\r\n") && ok;
    return ok;
}

bool CPropertySet::WriteFile(const std::string& name) const
{
    if (!IsPlainDataName(name))
    {
        DiagPrint("%s: refused to write '%s' outside the output folder\n", m_setName.c_str(), name.c_str());
        return false;
    }
    // Formatted whole first and replaced in one step: a crash or a full disk leaves the previous
    // settings intact.
    CFileText text;
    WriteProperties(text);
    return ReplaceFile(BuildDataPath(DF_OUTPUT, name), text.Text());
}

void CPropertySet::Dump(std::string& ioText) const
{
    bool first = true;
    for (const auto& property : m_properties)
    {
        if (!first)
            ioText += '\n';
        first = false;
        ioText += StringPrintf("  .%-30.30s %s", property->Key().c_str(), property->DisplayText().c_str());
    }
}

void CPropertySet::SetChangeCallback(TPropertyChangedFn callback, void* context)
{
    m_callback = callback;
    m_callbackContext = context;
}

void CPropertySet::OnPropertyChanged()
{
    ApplyProperties();
    if (m_callback != nullptr)
        m_callback(m_callbackContext);
}

void CPropertySet::RegisterComponents(CComponentNode& parent)
{
    for (auto& property : m_properties)
        property->RegisterComponents(parent);
}

void CPropertySet::UnregisterComponents()
{
    for (auto& property : m_properties)
        property->UnregisterComponents();
}

void CPropertySet::RenameTokenReferences(const std::string& oldName, const std::string& newName)
{
    for (auto& property : m_properties)
    {
        const EPropertyType type = property->Type();
        if ((type == EPropertyType::TOKEN || type == EPropertyType::TOKEN_EXT) && property->GetString() == oldName)
            property->SetString(newName);
    }
}

void CPropertySet::BuildControls(const TPropertyEditorFactory& factory, CPropertyEditorPage& page, int parts,
                                 int x, int y)
{
    ClearControls();
    if ((parts & 3) != 0 && factory.buildHeader != nullptr)
        m_header = factory.buildHeader(*this, page, parts, x, y);
    if ((parts & 2) != 0)
        y += 52;
    if ((parts & 3) != 0)
        y += 30;

    for (auto& property : m_properties)
    {
        if (factory.buildRow != nullptr)
            property->SetControls(factory.buildRow(*property, page, x, y));
        y += 20;
        if ((property->Flags() & kPropertyFlagExtraSpace) != 0)
            y += 10;
    }
    RefreshControls();
}

void CPropertySet::ClearControls()
{
    m_header.reset();
    for (auto& property : m_properties)
        property->SetControls(nullptr);
}

bool CPropertySet::ReadControls()
{
    bool changed = false;
    for (auto& property : m_properties)
        changed = property->ReadControls() || changed;
    return changed;
}

void CPropertySet::RefreshControls()
{
    if (m_header)
        m_header->Refresh(*this);
    for (auto& property : m_properties)
        property->RefreshControls();
}

bool CPropertySet::ReadTokenControl(std::string& outToken)
{
    return m_header != nullptr && m_header->ReadToken(outToken);
}
