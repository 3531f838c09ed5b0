#pragma once
// One airfoil file (Data/Airfoil/*.afl): source coefficient tables as the file gives them, and
// the combined table every lookup in flight uses.
//
// File (token text, keys in any order, unknown keys ignored):
//   .NAME "Clark Y"                 display name
//   .SYMMETRICAL 1                  the tables give only 0..180 degrees; the rest is mirrored
//   .TABLE_ALPHA_CD { a cd ... }               alpha (deg) -> Cd
//   .TABLE_ALPHA_CL_CM { a cl cm ... }         alpha (deg) -> Cl, Cm (Cm is never used)
//   .TABLE_ALPHA_CL_CD_CP { a cl cd cp ... }   alpha (deg) -> Cl, Cd, Cp (fraction of chord)
//   .TABLE_COORDS_UPPER { x y ... }            upper surface, x 0..1
//   .TABLE_COORDS_LOWER { x y ... }            lower surface
// A table block holds plain numbers row after row; rows need not be sorted.
//
// Load builds the combined table of 360 rows from -180 to +180 degrees (step 360/359, both ends
// present) of (Cl, Cd, Cp): Cl = Cd = 0 and Cp = 0.3 where no table speaks; Cd from ALPHA_CD,
// Cl from ALPHA_CL_CM, and ALPHA_CL_CD_CP, when present, overriding both. Source tables are
// extrapolated along their end segments beyond their keys, so a file should cover the whole
// range (or 0..180 when symmetrical); the loader warns when it does not. In flight a lookup is
// an index guess from the even spacing of those 360 rows, checked against the keys (a binary
// search where the guess misses): no allocation, no file access. The rows are kept a second time
// as plain structs for it, because every wing segment asks each sub-step and a propeller table
// ninety times a row; it finds the same segment and interpolates with the same arithmetic as TTableData::Lookup.
//
// Bad input never leaves a table half-read: a table with a token that is no finite number, or
// with fewer than two rows, is dropped whole with a message naming the file and the key.
//
// Owned by CAirfoilList; never unloaded while the program runs.

#include <cmath>
#include <string>
#include <vector>

#include "core/TTableData.h"

class CTokenFile;

class CAirfoil
{
public:
    // The combined table's rows, from -180 to +180 degrees.
    static constexpr int kCombinedRows = 360;
    // Defaults where no source table gives a value.
    static constexpr float kDefaultCp = 0.3f; // fraction of the chord from the leading edge
    static constexpr float kDegPerRad = 57.295776f;
    // Rows of the generated NACA shape (x = 0, 0.01 .. 1).
    static constexpr int kShapeRows = 101;

    // Reads Data/Airfoil/<fileName> and builds the combined table. False when the name is not a
    // plain name inside the airfoil folder or the file cannot be read as token text;
    // outReason (optional) then says why, for the caller's message.
    bool Load(const std::string& fileName, std::string* outReason = nullptr);
    // The same from a loaded token file (tests, and Load itself). Always succeeds.
    bool LoadFrom(CTokenFile& file, const std::string& fileName);

    // Coefficients at an angle of attack (radians, any value: it is wrapped into (-180, 180]
    // degrees). A non-finite angle gives Cl = Cd = 0 and Cp = kDefaultCp.
    void GetCoefficients(float alphaRad, float& outCl, float& outCd, float& outCp) const;
    // The row segment GetCoefficients interpolates in at an angle (rad) inside (-pi, pi]: the
    // coefficients are linear in the angle within one segment (the end segments extrapolate).
    // -1 for an angle outside that range or not finite, or a table of fewer than two rows.
    int GetSegment(float alphaRad) const;

    // Replaces the shape table by a four-digit NACA section "NACAmpxx" (camber m %, its
    // position p tenths of the chord, thickness xx %): rows x -> (upper y, lower y), thickness
    // added vertically to the camber line. False, shape unchanged, when the name is not "NACA"
    // (any letter case) and four digits. The shape is only drawn, never flown.
    bool GenerateNacaShape(const std::string& name);

    const std::string& GetFileName() const { return m_fileName; }
    const std::string& GetName() const { return m_name; }
    bool IsSymmetrical() const { return m_symmetrical; }
    bool IsLoaded() const { return m_loaded; }
    // Whether any coefficient table survived loading (else every angle gives Cl = Cd = 0).
    bool HasCoefficients() const { return GetAlphaCd() || GetAlphaClCm() || GetAlphaClCdCp(); }
    // Source tables: null when the file lacks the key or its table was refused.
    const TTableData* GetAlphaCd() const { return m_alphaCd.GetRowCount() ? &m_alphaCd : nullptr; }
    const TTableData* GetAlphaClCm() const { return m_alphaClCm.GetRowCount() ? &m_alphaClCm : nullptr; }
    const TTableData* GetAlphaClCdCp() const { return m_alphaClCdCp.GetRowCount() ? &m_alphaClCdCp : nullptr; }
    const TTableData* GetCoordsUpper() const { return m_coordsUpper.GetRowCount() ? &m_coordsUpper : nullptr; }
    const TTableData* GetCoordsLower() const { return m_coordsLower.GetRowCount() ? &m_coordsLower : nullptr; }
    // alpha (deg) -> Cl, Cd, Cp; kCombinedRows rows after a successful load.
    const TTableData& GetCombinedTable() const { return m_combined; }
    // x -> upper y, lower y; null until GenerateNacaShape ran.
    const TTableData* GetShape() const { return m_hasShape ? &m_shape : nullptr; }

private:
    void Reset();
    // Reads one table block into table; on any fault the table stays empty and a message names
    // the file and the key.
    void ReadTable(CTokenFile& file, const char* key, int valuesPerRow, TTableData& table);
    void BuildCombinedTable();
    // Copies the combined table into m_rows with its index guess.
    void BuildFlightRows();
    // The segment [key[lo], key[lo + 1]] holding alpha (deg, inside (-180, 180]); the ends
    // extrapolate. Needs at least two rows.
    int FindFlightRow(float alphaDeg) const;

    std::string m_fileName;     // as requested, relative to Data/Airfoil/
    std::string m_name;         // NAME
    bool m_symmetrical = false; // SYMMETRICAL
    bool m_loaded = false;

    // Source tables; empty means absent.
    TTableData m_alphaCd;     // 1 column: Cd
    TTableData m_alphaClCm;   // 2 columns: Cl, Cm
    TTableData m_alphaClCdCp; // 3 columns: Cl, Cd, Cp
    TTableData m_coordsUpper; // 1 column: y
    TTableData m_coordsLower; // 1 column: y

    TTableData m_combined;    // 3 columns: Cl, Cd, Cp
    struct TFlightRow
    {
        float key; // alpha, deg
        float cl, cd, cp;
    };
    std::vector<TFlightRow> m_rows; // m_combined in key order; empty until a load
    float m_rowScale = 0.0f;        // rows per degree, as TTableData guesses
    float m_rowOrigin = 0.0f;       // key of the first row, deg
    TTableData m_shape;       // 2 columns: upper y, lower y
    bool m_hasShape = false;
};

// Inline: the wings call it for every segment of every sub-step, a propeller's table for every
// blade section of every row.
inline void CAirfoil::GetCoefficients(float alphaRad, float& outCl, float& outCd, float& outCp) const
{
    outCl = 0.0f;
    outCd = 0.0f;
    outCp = kDefaultCp;
    float alpha = alphaRad * kDegPerRad;
    if (!std::isfinite(alpha))
        return;
    // Any number of turns, into (-180, 180]: -180 itself reads the +180 row. An angle already
    // inside (the usual case) skips the library remainder, which would return it unchanged.
    if (!(alpha > -180.0f && alpha <= 180.0f))
    {
        alpha = std::fmod(alpha, 360.0f);
        if (alpha > 180.0f)
            alpha -= 360.0f;
        else if (alpha <= -180.0f)
            alpha += 360.0f;
    }
    const int last = static_cast<int>(m_rows.size()) - 1;
    if (last < 0)
        return;
    if (last == 0)
    {
        outCl = m_rows[0].cl;
        outCd = m_rows[0].cd;
        outCp = m_rows[0].cp;
        return;
    }
    const int lo = FindFlightRow(alpha);
    const TFlightRow& prev = m_rows[lo];
    const TFlightRow& next = m_rows[lo + 1];
    const float width = next.key - prev.key;
    if (width == 0.0f)
    {
        const TFlightRow& step = alpha >= next.key ? next : prev;
        outCl = step.cl;
        outCd = step.cd;
        outCp = step.cp;
        return;
    }
    const float t = (alpha - prev.key) / width;
    outCl = prev.cl * (1.0f - t) + next.cl * t;
    outCd = prev.cd * (1.0f - t) + next.cd * t;
    outCp = prev.cp * (1.0f - t) + next.cp * t;
}

inline int CAirfoil::FindFlightRow(float alpha) const
{
    const int last = static_cast<int>(m_rows.size()) - 1;
    const auto brackets = [&](int lo) {
        return (lo == 0 || m_rows[lo].key <= alpha) && (lo == last - 1 || alpha < m_rows[lo + 1].key);
    };
    int lo = 0;
    if (m_rowScale > 0.0f)
    {
        const float t = (alpha - m_rowOrigin) * m_rowScale;
        if (t > 0.0f)
            lo = t < static_cast<float>(last - 1) ? static_cast<int>(t) : last - 1;
        if (lo > 0 && alpha < m_rows[lo].key)
            --lo;
        else if (lo < last - 1 && alpha >= m_rows[lo + 1].key)
            ++lo;
        if (brackets(lo))
            return lo;
    }
    lo = 0;
    int hi = last;
    while (hi - lo > 1)
    {
        const int mid = (lo + hi) / 2;
        if (alpha >= m_rows[mid].key)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

inline int CAirfoil::GetSegment(float alphaRad) const
{
    const float alpha = alphaRad * kDegPerRad;
    if (!(alpha > -180.0f && alpha <= 180.0f) || m_rows.size() < 2)
        return -1;
    return FindFlightRow(alpha);
}
