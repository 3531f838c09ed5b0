#pragma once
// The 120 key definitions, one per user command (record i is command i). Resolves each frame's
// key events to commands, finds keys bound twice, and reads and writes the KEY_DEF lines of
// Config.txt:
//
//   .KEY_DEF { .KEY "CTRL+O"                 .FUNCTION UC_APP_LOAD_MODEL }
//
// (the key text padded with blanks to 20 characters, then three blanks), every record in command
// order, each group preceded by three comment lines with the group's short text. Reading skips
// blocks naming an unknown command, a key that does not parse or no key; those commands keep no
// key. Owned by the configuration object.

#include <string>
#include <utility>
#include <vector>

#include "input/CKeyDef.h"
#include "input/UserCommands.h"
#include "model/IKeyNames.h"

class CFile;
class CTokenFile;

class CKeyDefTable : public IKeyNames
{
public:
    // Every record set to its command with no key (what holds before Config.txt is read).
    CKeyDefTable();

    // Back to "every command, no key".
    void ResetToCommands();
    // Every command gets its default key (the defaults table; what "Reset defaults" + OK does).
    void SetDefaultKeys();

    // The first record in command order that matches the event; (120, 12) when none does.
    void Resolve(const CInputEvent& event, uint32_t& outCommand, uint32_t& outGroup) const;
    // Resolves in place: sets event.command and event.group.
    void Resolve(CInputEvent& ioEvent) const;

    const CKeyDef& Get(uint32_t command) const; // command 0..119 (asserted)
    CKeyDef& Get(uint32_t command);
    const std::string& GetKeyText(uint32_t command) const;
    // Parses the text and replaces the key of the command (see CKeyDef::SetKeyFromText).
    bool SetKeyFromText(uint32_t command, const std::string& text);

    // The command other than exceptCommand whose stored key text equals text (exact), in
    // command order; 0 when none is equal or the first equal record is command 0.
    uint32_t FindCommandWithKeyText(const std::string& text, uint32_t exceptCommand) const;

    // IKeyNames: the key text of the command named e.g. "UC_MODEL_RESET_POSITION" ("" when the
    // command is unknown or has no key).
    std::string GetCommandKeyText(const char* commandName) const override;

    // The whole section: the "// Key Defs" header, the KEY_DEF lines with their group comment
    // lines, then two empty lines.
    void Write(CFile& file) const;
    // Resets to "no keys", then reads every KEY_DEF block. Skipped blocks are described in
    // outWarnings (one line each, with the file name); never fails.
    void Read(CTokenFile& file, std::string& outWarnings);

private:
    CKeyDef m_defs[kUserCommandCount];
};

// Keys bound twice among a set of key texts (one per command 0..119, e.g. the boxes of the
// key-definition menu): pairs (earlier command, later command) with equal, non-empty texts; for
// each later command only the earliest earlier one is reported.
std::vector<std::pair<uint32_t, uint32_t>> FindDuplicateKeys(const std::vector<std::string>& keyTexts);

// The menu's warning text for those pairs ("" when there are none): the string
// "IDS_WARNING_KEY_DEFINED_TWICE", then per pair "\n     ", group text of the first, ": ", its
// short text, "  ", "IDS_WARNING_KEY_DEFINED_TWICE__AND", "  ", group and short text of the
// second, " (", the key text, ")".
std::string FormatDuplicateWarning(const std::vector<std::pair<uint32_t, uint32_t>>& duplicates,
                                   const std::vector<std::string>& keyTexts);
