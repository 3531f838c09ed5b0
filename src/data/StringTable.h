#pragma once
// The string table: every text the pilot sees, looked up by its IDS_ identifier in
// Data/Config/String.txt. A text may itself be an identifier, resolved in turn.

#include <string>

// Loads Data/Config/String.txt below the base directory. A missing file gives an empty table.
bool LoadStringTable();
// Parses a table from text (what LoadStringTable does with the file's contents).
bool LoadStringTableFromText(const std::string& text);
// The resolved text, never null; the empty text for an unknown identifier.
const char* LookupString(const char* id);
void FreeStringTable();
// Each call flips the switch; switching on overwrites every text by as many 'X' as it has letters.
void ToggleStringDebug();
bool IsStringDebugOn();
// Number of entries parsed.
int StringTableCount();
// Whether the table has an entry with exactly this identifier (for content checks).
bool StringTableHas(const char* id);
