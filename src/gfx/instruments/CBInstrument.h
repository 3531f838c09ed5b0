#pragma once
// Base of the gauges of an instrument panel. An instrument reads one quantity of the model every
// frame (Update), publishes it in SI into a variable of the panel's own table (so model
// functions can use it), converts it to its display unit, and describes its face (BuildFace);
// Draw puts that face on screen.
//
// Block keys common to every instrument: DESCRIPTION (the title, at most 100 characters) and
// POSITION (x y of the gauge's top-left corner, pixels, default 0 0). An instrument whose
// variable or part is missing fails its Init and the panel drops it.

#include <string>

class CInstrumentFace;
class CModel;
class CTokenFile;
class CVariable;
class CVariableTable;

class CBInstrument
{
public:
    virtual ~CBInstrument() = default;

    // Reads the block. The model and the panel's table outlive the instrument (the model owns
    // the panel, which owns both the table and its instruments).
    virtual bool Init(CTokenFile& block, CModel& model, CVariableTable& panelVariables, const char* typeName);
    // Reads the model, publishes and converts the reading.
    virtual void Update() = 0;
    // The face of the last reading, in gauge pixels.
    virtual void BuildFace(CInstrumentFace& outFace) const = 0;
    // Draws the face with the gauge's top-left at origin + POSITION. Needs a GL context.
    void Draw(int originX, int originY) const;

    int GetX() const { return m_x; } // pixels, relative to the panel's origin
    int GetY() const { return m_y; }
    const std::string& GetTypeName() const { return m_typeName; }
    const std::string& GetDescription() const { return m_description; }

    // The value, or 0 when it would print as "-0.0" at one decimal: a gauge at rest reads 0.0.
    static float TidyZero(float value) { return (value > -0.05f && value < 0.05f) ? 0.0f : value; }

protected:
    // The panel variable named by key in the block, or null after a message naming the file,
    // the instrument and the key.
    CVariable* FindPanelVariable(CTokenFile& block, const char* key, CVariableTable& panelVariables);
    // "<file>: <TYPE> '<description>': " for messages.
    std::string Who() const;

    CModel* m_model = nullptr; // not owned: the model owns the panel that owns this instrument
    std::string m_fileName;    // the panel file, for messages

private:
    int m_x = 0;
    int m_y = 0;
    std::string m_typeName;
    std::string m_description;
};
