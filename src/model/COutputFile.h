#pragma once
// Logs chosen variables once per frame into a tab-separated text file in Output/.
//
// The definition (the model's OUTPUT_FILE, a token file in Output/) holds a block OUTPUT_FILE
// with FILE_NAME (string, at most 260 characters; a plain name inside Output/, anything that
// climbs out is refused) and any number of OUT_VARIABLE names (at most 50 characters each).
// The first 20 are logged; a name found in no table keeps an empty column.
//
// Lines end in CR LF. The header names the columns, FRAME_RATE first, each name followed by a
// tab; each frame's line is the frame rate and the values as "%f\t". A line stays within 1000
// characters: a value that would not fit leaves its column empty rather than cutting a number.

#include <memory>
#include <string>

class CFile;
class CTokenFile;
class CVariable;
class CVariableSearchList;

class COutputFile
{
public:
    static constexpr int kMaxVariables = 20;

    COutputFile();
    ~COutputFile();

    // Finds the block, opens Output/<FILE_NAME> for writing and writes the header line (names
    // each followed by a tab). False (and invalid) when the block is missing, the name is not
    // plain or the file cannot be created.
    bool Init(CTokenFile& definition, const CVariableSearchList& variables);
    // One line: frame rate "%f\t", then per slot "%f\t" or a lone tab for an empty slot.
    void WriteLine(float frameRate);

    bool IsValid() const { return m_valid; }

private:
    CVariable* m_variables[kMaxVariables] = {}; // not owned; null = empty slot
    int m_count = 0;
    std::unique_ptr<CFile> m_file;
    bool m_valid = false;
};
