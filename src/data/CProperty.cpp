#include "data/CProperty.h"

#include <cassert>
#include <cctype>
#include <climits>
#include <cmath>

#include "core/Diagnostics.h"
#include "data/CComponentNode.h"
#include "data/CFile.h"
#include "data/CPropertyEditorControls.h"
#include "data/CPropertySet.h"
#include "data/CTokenFile.h"
#include "data/StringTable.h"

namespace
{
// Reading buffers of the token reader: a token keeps at most 49 characters, a quoted string 999.
constexpr size_t kTokenSize = 50;
constexpr size_t kStringSize = 1000;

bool IsKeyChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsControlChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f;
}

// Number edits deliver floats; integer properties keep the integer part, clamped so that a
// huge entry cannot overflow.
int TruncateToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<float>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<float>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

// The label goes behind "//"; a line break in it (the string table's "\n") would end the
// comment and leave the rest of the label to be read as data.
std::string CommentSafe(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (IsControlChar(c))
            c = ' ';
    return out;
}
} // namespace

CProperty::CProperty(CPropertySet& set, const std::string& setName, const TPropertyDeclaration& declaration)
    : m_required(declaration.required),
      m_type(declaration.type),
      m_key(declaration.key != nullptr ? declaration.key : ""),
      m_flags(declaration.flags),
      m_set(set),
      m_step(declaration.step),
      m_min(declaration.min),
      m_max(declaration.max)
{
    assert(declaration.key != nullptr && "a property declaration needs a key");
    const std::string id = "IDS_" + setName + "__" + m_key;
    m_label = LookupString((id + "_S").c_str());
    m_longText = LookupString((id + "_L").c_str());
    if (m_type == EPropertyType::VECTOR3)
        for (int i = 0; i < 3; ++i)
            m_components[i] = std::make_unique<CPropertyComponent>(*this, i);
}

CProperty::~CProperty()
{
    UnregisterComponents();
}

bool CProperty::IsText() const
{
    return m_type == EPropertyType::TOKEN_EXT || m_type == EPropertyType::TOKEN || m_type == EPropertyType::STRING;
}

int CProperty::GetInt() const
{
    return m_type == EPropertyType::UNKNOWN || m_type == EPropertyType::BOOL ? m_ints[0] : 0;
}

float CProperty::GetFloat() const
{
    return m_type == EPropertyType::FLOAT || m_type == EPropertyType::SLIDER ? m_floats[0] : 0.0f;
}

CVector3 CProperty::GetVector3() const
{
    if (m_type != EPropertyType::VECTOR3)
        return CVector3();
    return CVector3(m_floats[0], m_floats[1], m_floats[2]);
}

void CProperty::GetVector2(float& outX, float& outY) const
{
    const bool ok = m_type == EPropertyType::VECTOR2;
    outX = ok ? m_floats[0] : 0.0f;
    outY = ok ? m_floats[1] : 0.0f;
}

void CProperty::GetVectorI2(int& outX, int& outY) const
{
    const bool ok = m_type == EPropertyType::VECTORI2;
    outX = ok ? m_ints[0] : 0;
    outY = ok ? m_ints[1] : 0;
}

const std::string& CProperty::GetString() const
{
    static const std::string empty;
    return IsText() ? m_text : empty;
}

void CProperty::NotifyChanged()
{
    m_set.OnPropertyChanged();
    RefreshControls();
}

void CProperty::SetInt(int value)
{
    if (m_type == EPropertyType::BOOL)
        value = value != 0 ? 1 : 0;
    else if (m_type != EPropertyType::UNKNOWN)
        return;
    if (m_ints[0] == value)
        return;
    m_ints[0] = value;
    NotifyChanged();
}

void CProperty::SetFloat(float value)
{
    if (m_type != EPropertyType::FLOAT && m_type != EPropertyType::SLIDER)
        return;
    if (m_floats[0] == value)
        return;
    m_floats[0] = value;
    NotifyChanged();
}

void CProperty::SetVector3(const CVector3& value)
{
    if (m_type != EPropertyType::VECTOR3)
        return;
    if (m_floats[0] == value.x && m_floats[1] == value.y && m_floats[2] == value.z)
        return;
    m_floats[0] = value.x;
    m_floats[1] = value.y;
    m_floats[2] = value.z;
    NotifyChanged();
}

void CProperty::SetVector2(float x, float y)
{
    if (m_type != EPropertyType::VECTOR2)
        return;
    if (m_floats[0] == x && m_floats[1] == y)
        return;
    m_floats[0] = x;
    m_floats[1] = y;
    NotifyChanged();
}

void CProperty::SetVectorI2(int x, int y)
{
    if (m_type != EPropertyType::VECTORI2)
        return;
    if (m_ints[0] == x && m_ints[1] == y)
        return;
    m_ints[0] = x;
    m_ints[1] = y;
    NotifyChanged();
}

void CProperty::SetString(const std::string& text)
{
    if (IsText())
        m_text = text;
}

void CProperty::StoreReadText(std::string text)
{
    // An empty token is written as nothing after the key, so the reader takes the next token:
    // the following key (a dot and a capital), or the brace that closes the block. Neither can
    // be a name. A path such as "../x" is a name, if a bad one: its reader says what is wrong.
    const bool nextKey = text.size() >= 2 && text[0] == '.' && (std::isupper(static_cast<unsigned char>(text[1])) != 0 || text[1] == '_');
    if (m_type != EPropertyType::STRING && (text == "." || nextKey || (!text.empty() && (text[0] == '{' || text[0] == '}'))))
        text.clear();
    m_text = std::move(text);
}

bool CProperty::Read(CTokenFile& block)
{
    const char* key = m_key.c_str();
    bool found = false;
    switch (m_type)
    {
    case EPropertyType::UNKNOWN:
    case EPropertyType::BOOL:
    {
        int value = 0;
        found = block.GetInt(key, value, m_ints[0]);
        m_ints[0] = m_type == EPropertyType::BOOL ? (value != 0 ? 1 : 0) : value;
        break;
    }
    case EPropertyType::FLOAT:
    case EPropertyType::SLIDER:
        found = block.GetFloat(key, m_floats[0], m_floats[0]);
        break;
    case EPropertyType::VECTOR3:
    {
        CVector3 value;
        found = block.GetVector3(key, value, GetVector3());
        m_floats[0] = value.x;
        m_floats[1] = value.y;
        m_floats[2] = value.z;
        break;
    }
    case EPropertyType::VECTOR2:
    {
        float x = 0.0f, y = 0.0f;
        found = block.GetVector2(key, x, y, m_floats[0], m_floats[1]);
        m_floats[0] = x;
        m_floats[1] = y;
        break;
    }
    case EPropertyType::VECTORI2:
    {
        int x = 0, y = 0;
        found = block.GetVectorI2(key, x, y, m_ints[0], m_ints[1]);
        m_ints[0] = x;
        m_ints[1] = y;
        break;
    }
    case EPropertyType::TOKEN_EXT:
    case EPropertyType::TOKEN:
    {
        std::string text;
        found = block.GetToken(key, text, "", kTokenSize);
        StoreReadText(std::move(text));
        break;
    }
    case EPropertyType::STRING:
    {
        std::string text;
        found = block.GetString(key, text, "", kStringSize);
        StoreReadText(std::move(text));
        break;
    }
    }

    // A repeated key: the first occurrence counts, the second is consumed so that it cannot be
    // mistaken for anything else.
    int ignored = 0;
    block.GetInt(key, ignored, 0);

    m_found = found;
    return found || !m_required;
}

void CProperty::GetNumbers(float outNumbers[3]) const
{
    const bool integer = m_type == EPropertyType::UNKNOWN || m_type == EPropertyType::BOOL ||
                         m_type == EPropertyType::VECTORI2;
    for (int i = 0; i < 3; ++i)
        outNumbers[i] = integer ? (i < 2 ? static_cast<float>(m_ints[i]) : 0.0f) : m_floats[i];
}

std::string CProperty::ClampToRange(const float* fallback)
{
    int count = 0;
    bool integer = false;
    switch (m_type)
    {
    case EPropertyType::UNKNOWN: count = 1; integer = true; break;
    case EPropertyType::VECTORI2: count = 2; integer = true; break;
    case EPropertyType::FLOAT:
    case EPropertyType::SLIDER: count = 1; break;
    case EPropertyType::VECTOR2: count = 2; break;
    case EPropertyType::VECTOR3: count = 3; break;
    default: return std::string();
    }
    if (!(m_min <= m_max))
        return std::string(); // no usable range declared
    const std::string before = DisplayText();
    bool changed = false;
    for (int i = 0; i < count; ++i)
    {
        if (integer)
        {
            const float value = static_cast<float>(m_ints[i]);
            const float clamped = std::fmin(std::fmax(value, std::ceil(m_min)), std::floor(m_max));
            if (clamped != value)
            {
                m_ints[i] = TruncateToInt(clamped);
                changed = true;
            }
            continue;
        }
        float& value = m_floats[i];
        if (!std::isfinite(value))
        {
            const float previous = fallback != nullptr ? fallback[i] : m_min;
            value = !std::isfinite(previous) ? m_min : std::fmin(std::fmax(previous, m_min), m_max);
            changed = true;
        }
        else if (value < m_min || value > m_max)
        {
            value = value < m_min ? m_min : m_max;
            changed = true;
        }
    }
    if (!changed)
        return std::string();
    return before + " -> " + DisplayText();
}

std::string CProperty::FileValueText() const
{
    switch (m_type)
    {
    case EPropertyType::UNKNOWN:
    case EPropertyType::BOOL:
        return StringPrintf("%i", m_ints[0]);
    case EPropertyType::FLOAT:
    case EPropertyType::SLIDER:
        return StringPrintf("%f", m_floats[0]);
    case EPropertyType::VECTOR3:
        return StringPrintf("%f %f %f", m_floats[0], m_floats[1], m_floats[2]);
    case EPropertyType::VECTOR2:
        return StringPrintf("%f %f", m_floats[0], m_floats[1]);
    case EPropertyType::VECTORI2:
        return StringPrintf("%i %i", m_ints[0], m_ints[1]);
    case EPropertyType::TOKEN_EXT:
    case EPropertyType::TOKEN:
    case EPropertyType::STRING:
        break;
    }

    // Texts: only what the reader can take back without disturbing any other key.
    const bool isString = m_type == EPropertyType::STRING;
    const std::string& text = m_text;
    const size_t limit = (isString ? kStringSize : kTokenSize) - 1;
    std::string out;
    out.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size() && out.size() < limit; ++i)
    {
        const char c = text[i];
        if (IsControlChar(c) || (!isString && c == ' '))
            out += isString ? ' ' : '_'; // a line break would end the line, a blank the token
        else if (c == '"' && isString)
            out += '\'';                 // would end the quoted string early
        else if (c == '{')
            out += '(';                  // braces change the block depth of every later key
        else if (c == '}')
            out += ')';
        else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*')
            out += isString ? "/ " : "_"; // would comment out the following lines
        else if (c == '.' && isString && i + 1 < text.size() && IsKeyChar(text[i + 1]))
        {
            // The reader takes any dot as a possible key: ".MASS 5" inside a description would
            // be found before the real key.
            size_t end = i + 1;
            while (end < text.size() && IsKeyChar(text[end]))
                ++end;
            out += m_set.FindProperty(text.substr(i + 1, end - i - 1).c_str()) != nullptr ? ' ' : '.';
        }
        else
            out += c;
    }
    if (out.size() > limit)
        out.resize(limit);
    if (out != text)
        DiagPrint("%s '%s': %s written as \"%s\" so that the file reads back\n", m_set.SetName().c_str(),
                  m_set.Token().c_str(), m_key.c_str(), out.c_str());
    return isString ? "\"" + out + "\"" : out;
}

bool CProperty::Write(CFile& file) const
{
    const std::string line = "  ." + m_key + " " + FileValueText();
    const std::string comment = "   //" + CommentSafe(m_label) + "\r\n";
    const bool lineOk = file.Write(line.c_str()) == line.size();
    const bool commentOk = file.Write(comment.c_str()) == comment.size();
    return lineOk && commentOk;
}

std::string CProperty::DisplayText() const
{
    switch (m_type)
    {
    case EPropertyType::UNKNOWN:
        return StringPrintf("%i", m_ints[0]);
    case EPropertyType::BOOL:
        return m_ints[0] != 0 ? "True" : "False";
    case EPropertyType::FLOAT:
    case EPropertyType::SLIDER:
        return StringPrintf(" % 8.3f", m_floats[0]);
    case EPropertyType::VECTOR3:
        return StringPrintf("(% 8.3f, % 8.3f, % 8.3f)", m_floats[0], m_floats[1], m_floats[2]);
    case EPropertyType::VECTOR2:
        return StringPrintf("(% 8.3f, % 8.3f)", m_floats[0], m_floats[1]);
    case EPropertyType::VECTORI2:
        return StringPrintf("(%i, %i)", m_ints[0], m_ints[1]);
    case EPropertyType::TOKEN_EXT:
    case EPropertyType::TOKEN:
    case EPropertyType::STRING:
        return m_text;
    }
    return std::string();
}

CPropertyComponent* CProperty::Component(int index)
{
    if (index < 0 || index > 2)
        return nullptr;
    return m_components[index].get();
}

void CProperty::RegisterComponents(CComponentNode& parent)
{
    UnregisterComponents();
    CComponentNode* node = parent.AddChild(m_key, CLASS_CProperty, this);
    if (m_type == EPropertyType::VECTOR3)
    {
        static const char* const kAxisNames[3] = {"X", "Y", "Z"};
        for (int i = 0; i < 3; ++i)
            node->AddChild(kAxisNames[i], CLASS_CPropertyComponent, m_components[i].get());
    }
    m_node = node->Handle();
}

void CProperty::UnregisterComponents()
{
    if (std::shared_ptr<CComponentNode> node = m_node.lock())
        node->Detach();
    m_node.reset();
}

CComponentNode* CProperty::ComponentNode() const
{
    return m_node.lock().get();
}

void CProperty::SetControls(std::unique_ptr<CPropertyEditorControls> controls)
{
    m_controls = std::move(controls);
}

void CProperty::RefreshControls()
{
    if (m_controls)
        m_controls->Refresh(*this);
}

bool CProperty::ReadControls()
{
    if (!m_controls)
        return false;
    TPropertyControlValue value;
    if (!m_controls->ReadValue(value))
        return false;

    bool differs = false;
    switch (m_type)
    {
    case EPropertyType::UNKNOWN:
    case EPropertyType::BOOL:
    {
        const int n = m_type == EPropertyType::BOOL ? (value.checked ? 1 : 0) : TruncateToInt(value.numbers[0]);
        differs = n != m_ints[0];
        m_ints[0] = n;
        break;
    }
    case EPropertyType::VECTORI2:
    {
        const int x = TruncateToInt(value.numbers[0]);
        const int y = TruncateToInt(value.numbers[1]);
        differs = x != m_ints[0] || y != m_ints[1];
        m_ints[0] = x;
        m_ints[1] = y;
        break;
    }
    case EPropertyType::FLOAT:
    case EPropertyType::SLIDER:
    case EPropertyType::VECTOR2:
    case EPropertyType::VECTOR3:
    {
        const int count = m_type == EPropertyType::VECTOR3 ? 3 : (m_type == EPropertyType::VECTOR2 ? 2 : 1);
        for (int i = 0; i < count; ++i)
        {
            differs = differs || value.numbers[i] != m_floats[i];
            m_floats[i] = value.numbers[i];
        }
        break;
    }
    case EPropertyType::TOKEN_EXT:
    case EPropertyType::TOKEN:
    case EPropertyType::STRING:
        differs = value.text != m_text;
        m_text = value.text;
        break;
    }

    if (differs)
        NotifyChanged();
    DiagPrint("CProperty Value Has Changed %s\n", m_label.c_str());
    return true;
}
