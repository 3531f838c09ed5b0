#include "input/CInputMapSet.h"

#include <strings.h>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"

namespace
{
constexpr size_t kMaxSelectedName = 100;
}

int CInputMapSet::Add()
{
    if (m_count >= kMaxMaps)
        return -1;
    m_maps[m_count].Clear();
    return m_count++;
}

bool CInputMapSet::Delete(int index)
{
    if (index < 0 || index >= m_count || m_count == 1)
        return false;
    for (int i = index; i + 1 < m_count; ++i)
        m_maps[i].CopyFrom(m_maps[i + 1]);
    --m_count;
    m_maps[m_count].Clear();
    // The index stays; only a selection past the end is pulled back onto a map.
    if (m_selected >= m_count)
        m_selected = m_count - 1;
    return true;
}

CInputMap* CInputMapSet::Get(int index)
{
    return index >= 0 && index < m_count ? &m_maps[index] : nullptr;
}

const CInputMap* CInputMapSet::Get(int index) const
{
    return index >= 0 && index < m_count ? &m_maps[index] : nullptr;
}

void CInputMapSet::Select(int index)
{
    if (index >= 0 && index < m_count)
        m_selected = index;
}

const CInputMap* CInputMapSet::GetSelected() const
{
    return Get(m_selected);
}

void CInputMapSet::Clear()
{
    for (CInputMap& map : m_maps)
        map.Clear();
    m_count = 0;
    m_selected = 0;
}

bool CInputMapSet::SelectedReadsMouse() const
{
    const CInputMap* map = GetSelected();
    if (!map)
        return false;
    for (int i = 0; i < map->GetLinkCount(); ++i)
    {
        const CInputMapLink& link = map->GetLink(i);
        if (link.variable && link.axis >= AXIS_MOUSE_X && link.axis <= AXIS_MOUSE_Z)
            return true;
    }
    return false;
}

void CInputMapSet::ApplySelected(const IAxisSource& axes) const
{
    if (const CInputMap* map = GetSelected())
        map->Apply(axes);
}

bool CInputMapSet::Read(CTokenFile& file, CVariableTable& inputVariables, std::string& outMessage)
{
    Clear();
    for (CTokenFile* block; (block = file.OpenBlock("INPUT_MAP")) != nullptr;)
    {
        if (m_count >= kMaxMaps)
        {
            DiagPrint("%s: more than %d INPUT_MAP blocks; the rest are ignored\n", file.FileName().c_str(),
                      kMaxMaps);
            break;
        }
        CInputMap& map = m_maps[m_count++];
        if (!map.Read(*block, inputVariables, outMessage))
            return false;
    }
    if (m_count == 0)
    {
        outMessage = StringPrintf("%s: no INPUT_MAP block", file.FileName().c_str());
        return false;
    }
    std::string selected;
    file.GetString("SELECTED_INPUT_MAP", selected, "", kMaxSelectedName + 1);
    m_selected = 0;
    for (int i = 0; i < m_count; ++i)
        if (strcasecmp(m_maps[i].GetName().c_str(), selected.c_str()) == 0)
        {
            m_selected = i;
            break;
        }
    return true;
}

void CInputMapSet::Write(CFile& file) const
{
    file.WriteLine("//------------");
    file.WriteLine("// Input Maps");
    file.WriteLine("//------------");
    std::string selected = GetSelected() != nullptr ? GetSelected()->GetName() : std::string();
    for (char& c : selected)
        if (c == '"' || c == '\r' || c == '\n')
            c = ' ';
    file.WriteLine(StringPrintf(".SELECTED_INPUT_MAP  \"%s\"", selected.c_str()).c_str());
    file.WriteLine("");
    file.WriteLine("");
    for (int i = 0; i < m_count; ++i)
        m_maps[i].Write(file);
}
