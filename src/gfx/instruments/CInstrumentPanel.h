#pragma once
// A model's instrument panel: the gauges read from a panel file of Data/Model/, the panel's own
// variable table (the model appends it to its search list so functions can read the gauges),
// and the two inside variables it fills every frame.
//
// Panel file (token text):
//   .Instruments { .VARIABLE V_AIRSPEED { .DESCRIPTION "..." } ... }  the panel's variables
//   .AIR_SPEED { .DESCRIPTION "Air Speed" .POSITION 4 4 .UNITS KNOT .VARIABLE_AIR_SPEED V_AIRSPEED }
//   ... any number of instrument blocks, types searched in the order of kInstrumentTypes ...
//   .INSIDE_VARIABLES { .VARIABLE_INTEGRATION_STEP V_DT .VARIABLE_VAR_HEIGHT_ABOVE_TERRAIN V_AGL }
//
// Loading reads the Instruments block, then passes over the type tokens, each pass creating the
// next block of every type, until a pass finds none; an instrument whose Init fails is dropped
// (the rest work). A missing file, Instruments block, INSIDE_VARIABLES block or inside variable
// makes the whole panel invalid: nothing is kept and nothing is drawn.
//
// Each frame (Update, at the end of the model's frame): every instrument in creation order, then
// the frame time into the first inside variable and the model's height above the terrain into
// the second. Draw: every instrument in creation order at the panel's origin, while shown.

#include <memory>
#include <string>
#include <vector>

#include "model/CVariableTable.h"
#include "model/IInstrumentPanel.h"

#include "gfx/instruments/CBInstrument.h"
class CModel;
class CVariable;

class CInstrumentPanel : public IInstrumentPanel
{
public:
    static constexpr int kTypeCount = 9;
    // Block tokens in search order.
    static const char* const kInstrumentTypes[kTypeCount];

    CInstrumentPanel() = default;
    ~CInstrumentPanel() override;
    CInstrumentPanel(const CInstrumentPanel&) = delete;
    CInstrumentPanel& operator=(const CInstrumentPanel&) = delete;

    // Reads Data/Model/<fileName> for the model; returns the valid flag. The model must outlive
    // the panel (it owns it).
    bool Load(const std::string& fileName, CModel& model);

    // IInstrumentPanel
    CVariableTable* GetVariables() override { return m_valid ? &m_variables : nullptr; }
    void Update(float frameTime) override;

    // Draws every gauge with the panel's origin at (x, y) of the current 2D projection; nothing
    // while hidden or invalid. Needs a GL context and the fonts.
    void Draw(int x, int y) const;
    void SetShown(bool shown) { m_shown = shown; }
    void ToggleShown() { m_shown = !m_shown; }
    bool IsShown() const { return m_shown; }

    bool IsValid() const { return m_valid; }
    const std::string& GetFileName() const { return m_fileName; }
    int GetInstrumentCount() const { return static_cast<int>(m_instruments.size()); }
    CBInstrument* GetInstrument(int index) const;
    // The first instrument of that class, or null (for the flight view's tests and debugging).
    template <class T> T* Find() const
    {
        for (const auto& instrument : m_instruments)
            if (T* found = dynamic_cast<T*>(instrument.get()))
                return found;
        return nullptr;
    }
    // The panel of a model, when the model has one made by this factory's panels.
    static CInstrumentPanel* OfModel(const CModel& model);

private:
    void Clear();
    static std::unique_ptr<CBInstrument> Create(int typeIndex);

    std::string m_fileName;
    CModel* m_model = nullptr; // not owned: the model owns the panel
    std::vector<std::unique_ptr<CBInstrument>> m_instruments; // creation order
    CVariableTable m_variables{"Instruments"};
    CVariable* m_integrationStep = nullptr;    // in m_variables
    CVariable* m_heightAboveTerrain = nullptr; // in m_variables
    bool m_valid = false;
    bool m_shown = true;
};
