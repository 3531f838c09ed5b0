#include "gfx/gui/CLineEditor.h"

#include "input/KeyCodes.h"

char ScanCodeToChar(uint32_t key, bool shift)
{
    static const char kRow1[] = "1234567890-=";      // 0x02..0x0D
    static const char kRow1S[] = "!@#$%^&*()_+";
    static const char kRow2[] = "qwertyuiop[]";      // 0x10..0x1B
    static const char kRow2S[] = "QWERTYUIOP{}";
    static const char kRow3[] = "asdfghjkl;'`";      // 0x1E..0x29
    static const char kRow3S[] = "ASDFGHJKL:\"~";
    static const char kRow4[] = "zxcvbnm,./";        // 0x2C..0x35
    static const char kRow4S[] = "ZXCVBNM<>?";
    static const char kNumPad[] = "789-456+1230.";   // 0x47..0x53
    if (key >= 0x02 && key <= 0x0D)
        return (shift ? kRow1S : kRow1)[key - 0x02];
    if (key >= 0x10 && key <= 0x1B)
        return (shift ? kRow2S : kRow2)[key - 0x10];
    if (key >= 0x1E && key <= 0x29)
        return (shift ? kRow3S : kRow3)[key - 0x1E];
    if (key >= 0x2C && key <= 0x35)
        return (shift ? kRow4S : kRow4)[key - 0x2C];
    if (key == DIK_BACKSLASH)
        return shift ? '|' : '\\';
    if (key == DIK_SPACE)
        return ' ';
    if (key == DIK_MULTIPLY)
        return '*';
    if (key == DIK_DIVIDE)
        return '/';
    if (key >= 0x47 && key <= 0x53)
        return kNumPad[key - 0x47];
    return 0;
}

CLineEditor::CLineEditor(std::string allowed, size_t maxLength) : m_allowed(std::move(allowed)), m_maxLength(maxLength)
{
}

void CLineEditor::Begin(const std::string& text)
{
    m_editing = true;
    m_text = text.substr(0, m_maxLength);
    m_cursor = m_text.size();
}

CLineEditor::Result CLineEditor::OnKey(const CInputEvent& event, const std::string& current)
{
    if ((event.flags & (IE_GOING_DOWN | IE_REPEAT)) == 0 || (event.flags & (IE_CTRL | IE_ALT)) != 0)
        return Result::Ignored;
    const uint32_t key = event.key;
    const char ch = ScanCodeToChar(key, (event.flags & IE_SHIFT) != 0);
    const bool typable = ch != 0 && (m_allowed.empty() || m_allowed.find(ch) != std::string::npos);

    if (!m_editing)
    {
        if (typable)
        {
            Begin(current);
            // Typing into a field that was not being edited replaces its text, as fields do.
            m_text.clear();
            m_cursor = 0;
        }
        else if (key == DIK_BACK)
        {
            Begin(current);
        }
        else
            return Result::Ignored;
    }

    switch (key)
    {
    case DIK_RETURN:
    case DIK_NUMPADENTER:
        m_editing = false;
        return Result::Committed;
    case DIK_ESCAPE:
        m_editing = false;
        return Result::Cancelled;
    case DIK_BACK:
        if (m_cursor > 0)
            m_text.erase(--m_cursor, 1);
        return Result::Consumed;
    case DIK_DELETE:
        if (m_cursor < m_text.size())
            m_text.erase(m_cursor, 1);
        return Result::Consumed;
    case DIK_LEFT:
        if (m_cursor > 0)
            --m_cursor;
        return Result::Consumed;
    case DIK_RIGHT:
        if (m_cursor < m_text.size())
            ++m_cursor;
        return Result::Consumed;
    case DIK_HOME:
        m_cursor = 0;
        return Result::Consumed;
    case DIK_END:
        m_cursor = m_text.size();
        return Result::Consumed;
    default:
        break;
    }
    if (typable)
    {
        if (m_text.size() < m_maxLength)
            m_text.insert(m_cursor++, 1, ch);
        return Result::Consumed;
    }
    // Tab, arrows up and down and function keys keep their meaning while editing.
    return Result::Ignored;
}
