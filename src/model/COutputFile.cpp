#include "model/COutputFile.h"

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "model/CVariable.h"
#include "model/CVariableSearchList.h"

namespace
{
constexpr size_t kMaxFileNameLength = 260;
constexpr size_t kMaxVariableNameLength = 50;
// Longest line of values, line break included.
constexpr size_t kMaxLineLength = 1000;
constexpr size_t kLineBreakLength = 2; // CR LF, as every file the program writes
} // namespace

COutputFile::COutputFile() = default;

COutputFile::~COutputFile() = default;

bool COutputFile::Init(CTokenFile& definition, const CVariableSearchList& variables)
{
    m_valid = false;
    m_count = 0;
    m_file.reset();
    const char* definitionName = definition.FileName().c_str();

    CTokenFile* block = definition.OpenBlock("OUTPUT_FILE");
    if (block == nullptr)
    {
        DiagPrint("%s: no OUTPUT_FILE block; no output file\n", definitionName);
        return false;
    }
    std::string fileName;
    block->GetString("FILE_NAME", fileName, "", kMaxFileNameLength + 1);
    if (!IsPlainDataName(fileName))
    {
        DiagPrint("%s: OUTPUT_FILE FILE_NAME '%s' refused: not a plain file name inside Output/\n", definitionName,
                  fileName.c_str());
        return false;
    }
    const std::string path = BuildDataPath(DF_OUTPUT, fileName);
    m_file = OpenFile(path, FM_WRITE);
    if (!m_file)
    {
        DiagPrint("%s: OUTPUT_FILE: '%s' cannot be created; no output file\n", definitionName, path.c_str());
        return false;
    }

    // The first column holds the frame rate; naming it keeps every name above its own values.
    std::string header = "FRAME_RATE\t";
    std::string name;
    int ignored = 0;
    while (block->GetToken("OUT_VARIABLE", name, "", kMaxVariableNameLength + 1))
    {
        if (m_count >= kMaxVariables)
        {
            ++ignored;
            continue;
        }
        m_variables[m_count] = variables.Find(name);
        if (m_variables[m_count] == nullptr)
            DiagPrint("%s: OUT_VARIABLE '%s': no such variable; its column stays empty\n", definitionName,
                      name.c_str());
        ++m_count;
        header += name;
        header += '\t';
    }
    if (ignored > 0)
        DiagPrint("%s: %i OUT_VARIABLE entries beyond the first %i are not logged\n", definitionName, ignored,
                  kMaxVariables);
    header += "\r\n";
    m_file->Write(header.c_str());
    m_valid = true;
    return true;
}

void COutputFile::WriteLine(float frameRate)
{
    if (!m_valid || !m_file)
        return;
    const size_t maxText = kMaxLineLength - kLineBreakLength;
    std::string line = StringPrintf("%f\t", static_cast<double>(frameRate));
    for (int i = 0; i < m_count; ++i)
    {
        std::string field = "\t";
        if (m_variables[i] != nullptr)
            field = StringPrintf("%f\t", static_cast<double>(m_variables[i]->GetValue()));
        // Huge values print with many digits. A field that would push the line past its limit is
        // left empty, so that every later value still stands in its own column and no number is
        // cut into a different one. Each slot still to come needs at least its tab.
        const size_t slotsAfter = static_cast<size_t>(m_count - i - 1);
        if (line.size() + field.size() + slotsAfter > maxText)
            field = "\t";
        line += field;
    }
    // The line and its break in one write.
    line += "\r\n";
    m_file->Write(line.c_str());
}
