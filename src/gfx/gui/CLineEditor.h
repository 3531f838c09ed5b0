#pragma once
// The text-editing state shared by the string and number fields: a copy of the text being
// edited and a cursor. Keys arrive as scan codes; ScanCodeToChar turns them into characters of
// a US keyboard (Shift for the upper row).
//
// While editing: printable keys insert at the cursor, Backspace and Delete remove, Left, Right,
// Home and End move; Enter commits, Escape cancels. While not editing, a printable key starts a
// new text (it replaces the field's), Backspace starts editing the field's text at its end.

#include <cstdint>
#include <string>

#include "input/CInputEvent.h"

// The character of a key, or 0 for keys that type nothing.
char ScanCodeToChar(uint32_t key, bool shift);

class CLineEditor
{
public:
    enum class Result
    {
        Ignored,   // not an editing key: the control may use it
        Consumed,  // edited, moved, or started editing
        Committed, // Enter while editing: Text() holds the new text
        Cancelled, // Escape while editing
    };

    // allowed: characters that may be typed (empty = any printable); maxLength in characters.
    explicit CLineEditor(std::string allowed = std::string(), size_t maxLength = 255);

    // current: the field's text, taken when an edit starts.
    Result OnKey(const CInputEvent& event, const std::string& current);
    void Begin(const std::string& text);
    void Cancel() { m_editing = false; }
    // Ends an edit the way leaving its field does: true, with the typed text, when one was open.
    bool Finish(std::string& outText)
    {
        if (!m_editing)
            return false;
        m_editing = false;
        outText = m_text;
        return true;
    }
    bool IsEditing() const { return m_editing; }
    const std::string& Text() const { return m_text; }
    size_t Cursor() const { return m_cursor; }

private:
    std::string m_allowed;
    size_t m_maxLength;
    bool m_editing = false;
    std::string m_text;
    size_t m_cursor = 0;
};
