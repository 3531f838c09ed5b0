#include "model/CAirfoil.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/Diagnostics.h"
#include "core/TTableDataEntryND.h"
#include "data/CFile.h"
#include "data/CTokenFile.h"

namespace
{
// A coefficient table should reach the ends of the angle range within this (deg); beyond it the
// loader warns, because extrapolating a lift curve over tens of degrees gives absurd forces.
constexpr float kCoverageSlackDeg = 1.0f;

// A whole token as a finite float; false for anything else ("1.2x", "nan", "1e99").
bool ParseFiniteFloat(const std::string& token, float& out)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    if (end != token.c_str() + token.size())
        return false;
    const float narrowed = static_cast<float>(value);
    if (!std::isfinite(value) || std::fabs(value) > 3.4e38 || !std::isfinite(narrowed))
        return false;
    out = narrowed;
    return true;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i] != '\0'; ++i)
    {
        if (i >= text.size() || std::toupper(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}
} // namespace

void CAirfoil::Reset()
{
    m_fileName.clear();
    m_name.clear();
    m_symmetrical = false;
    m_loaded = false;
    m_alphaCd.Clear();
    m_alphaClCm.Clear();
    m_alphaClCdCp.Clear();
    m_coordsUpper.Clear();
    m_coordsLower.Clear();
    m_combined.Clear();
    m_rows.clear();
    m_rowScale = 0.0f;
    m_rowOrigin = 0.0f;
    m_shape.Clear();
    m_hasShape = false;
}

bool CAirfoil::Load(const std::string& fileName, std::string* outReason)
{
    Reset();
    m_fileName = fileName;
    if (!IsPlainDataName(fileName))
    {
        if (outReason)
            *outReason = StringPrintf("is not a plain file name inside %s", DataFolderName(DF_AIRFOIL));
        return false;
    }
    CTokenFile file;
    if (!file.Load(BuildDataPath(DF_AIRFOIL, fileName)))
    {
        if (outReason)
            *outReason = StringPrintf("cannot be read from %s", DataFolderName(DF_AIRFOIL));
        return false;
    }
    return LoadFrom(file, fileName);
}

bool CAirfoil::LoadFrom(CTokenFile& file, const std::string& fileName)
{
    Reset();
    m_fileName = fileName;
    m_loaded = true;

    file.GetString("NAME", m_name, "");
    file.GetBool("SYMMETRICAL", m_symmetrical, false);
    ReadTable(file, "TABLE_ALPHA_CD", 1, m_alphaCd);
    ReadTable(file, "TABLE_ALPHA_CL_CM", 2, m_alphaClCm);
    ReadTable(file, "TABLE_ALPHA_CL_CD_CP", 3, m_alphaClCdCp);
    ReadTable(file, "TABLE_COORDS_UPPER", 1, m_coordsUpper);
    ReadTable(file, "TABLE_COORDS_LOWER", 1, m_coordsLower);

    // Only a bare "NACAxxxx" name describes its own shape; "NACA2412.afl" is just a file name.
    if (m_fileName.size() == 8 && StartsWithNoCase(m_fileName, "NACA"))
        GenerateNacaShape(m_fileName);

    BuildCombinedTable();
    BuildFlightRows();
    return m_loaded;
}

void CAirfoil::ReadTable(CTokenFile& file, const char* key, int valuesPerRow, TTableData& table)
{
    table.Clear();
    CTokenFile* block = file.OpenBlock(key);
    if (!block)
        return;

    const std::string where = DataFolderName(DF_AIRFOIL) + m_fileName;
    block->BeginList();
    std::string token;
    std::string badToken;
    const bool clean = table.ReadRows(
        [&](float& outNumber) {
            if (!badToken.empty() || !block->NextToken(token))
                return false;
            if (ParseFiniteFloat(token, outNumber))
                return true;
            badToken = token;
            return false;
        },
        valuesPerRow);

    if (!badToken.empty())
    {
        DiagPrint("%s: %s: '%s' is not a number; the table is ignored\n", where.c_str(), key, badToken.c_str());
        table.Clear();
        return;
    }
    if (!clean)
        DiagPrint("%s: %s: the last row is incomplete and is dropped\n", where.c_str(), key);
    if (table.GetRowCount() < 2)
    {
        DiagPrint("%s: %s: fewer than two rows; the table is ignored\n", where.c_str(), key);
        table.Clear();
    }
}

void CAirfoil::BuildCombinedTable()
{
    const std::string where = DataFolderName(DF_AIRFOIL) + m_fileName;
    if (m_symmetrical)
    {
        // Drag is even in alpha: a half-range Cd table gets its mirror image with the key
        // negated. Without it the negative angles would be extrapolated from the first two
        // rows, which soon gives negative drag (a wing that pushes the model forward).
        if (m_alphaCd.GetRowCount() > 0 && m_alphaCd.GetKey(0) >= 0.0f)
        {
            // Collected first: reading a row sorts the table, which would move appended rows.
            std::vector<std::pair<float, float>> mirrored;
            for (int i = 0; i < m_alphaCd.GetRowCount(); ++i)
            {
                if (m_alphaCd.GetKey(i) > 0.0f)
                    mirrored.emplace_back(-m_alphaCd.GetKey(i), m_alphaCd.GetValue(i, 0));
            }
            for (const auto& row : mirrored)
                m_alphaCd.AddRow(row.first, &row.second, 1);
        }
        // Lift is odd in alpha: the mirrored rows carry -alpha and -Cl, the rest unchanged.
        if (m_alphaClCm.GetRowCount() > 0)
            m_alphaClCm.Mirror(true, 0);
        if (m_alphaClCdCp.GetRowCount() > 0)
            m_alphaClCdCp.Mirror(true, 0);
    }

    struct TNamedTable
    {
        const char* key;
        const TTableData& table;
    };
    const TNamedTable coefficientTables[] = {
        {"TABLE_ALPHA_CD", m_alphaCd},
        {"TABLE_ALPHA_CL_CM", m_alphaClCm},
        {"TABLE_ALPHA_CL_CD_CP", m_alphaClCdCp},
    };
    bool anyTable = false;
    for (const TNamedTable& named : coefficientTables)
    {
        const int rows = named.table.GetRowCount();
        if (rows == 0)
            continue;
        anyTable = true;
        const float first = named.table.GetKey(0);
        const float last = named.table.GetKey(rows - 1);
        if (first > -180.0f + kCoverageSlackDeg || last < 180.0f - kCoverageSlackDeg)
            DiagPrint("%s: %s covers only %.1f .. %.1f degrees%s; beyond that it is extrapolated\n", where.c_str(),
                      named.key, first, last, m_symmetrical ? " after mirroring" : "");
    }
    if (!anyTable)
        DiagPrint("%s: no coefficient table; Cl = Cd = 0 at every angle\n", where.c_str());

    m_combined.Clear();
    for (int i = 0; i < kCombinedRows; ++i)
    {
        // In double so that the last row is exactly +180 (float steps end a hair short of it).
        const float alpha = static_cast<float>(i * 360.0 / (kCombinedRows - 1) - 180.0);
        float cl = 0.0f;
        float cd = 0.0f;
        float cp = kDefaultCp;
        float values[3];
        if (m_alphaCd.Lookup(alpha, values, 1))
            cd = values[0];
        if (m_alphaClCm.Lookup(alpha, values, 1))
            cl = values[0];
        if (m_alphaClCdCp.Lookup(alpha, values, 3))
        {
            cl = values[0];
            cd = values[1];
            cp = values[2];
        }
        m_combined.AddEntry(TTableDataEntry3D(alpha, cl, cd, cp));
    }
}

void CAirfoil::BuildFlightRows()
{
    m_rows.clear();
    const int rows = m_combined.GetRowCount();
    for (int i = 0; i < rows; ++i)
        m_rows.push_back({m_combined.GetKey(i), m_combined.GetValue(i, 0), m_combined.GetValue(i, 1),
                          m_combined.GetValue(i, 2)});
    // The guess of TTableData, computed the same way so that both pick the same segment.
    m_rowScale = 0.0f;
    m_rowOrigin = 0.0f;
    if (rows > 2)
    {
        const float span = m_rows.back().key - m_rows.front().key;
        const float scale = static_cast<float>(rows - 1) / span;
        if (span > 0.0f && std::isfinite(scale))
        {
            m_rowScale = scale;
            m_rowOrigin = m_rows.front().key;
        }
    }
}

bool CAirfoil::GenerateNacaShape(const std::string& name)
{
    if (name.size() != 8 || !StartsWithNoCase(name, "NACA"))
        return false;
    int digits[4];
    for (int k = 0; k < 4; ++k)
    {
        const char c = name[4 + static_cast<size_t>(k)];
        if (c < '0' || c > '9')
            return false;
        digits[k] = c - '0';
    }
    const float m = digits[0] * 0.01f;                    // maximum camber, chords
    const float p = digits[1] * 0.1f;                     // its position, chords
    const float t = (10 * digits[2] + digits[3]) * 0.01f; // thickness, chords

    m_shape.Clear();
    for (int i = 0; i < kShapeRows; ++i)
    {
        const float x = i * 0.01f;
        const float x2 = x * x;
        const float yt = (1.4845f * std::sqrt(x) - 0.63f * x - 1.758f * x2 + 1.4215f * x2 * x - 0.5075f * x2 * x2) * t;
        float yc = 0.0f;
        if (p > 0.0f)
        {
            if (x > p)
                yc = (1.0f - x) * (1.0f + x - 2.0f * p) * m / ((1.0f - p) * (1.0f - p));
            else
                yc = (2.0f * p - x) * x * m / (p * p);
        }
        m_shape.AddEntry(TTableDataEntry2D(x, yc + yt, yc - yt));
    }
    m_hasShape = true;
    return true;
}
