#pragma once
// One component (0 = X, 1 = Y, 2 = Z) of a VECTOR3 property, as the component tree names it
// ("Wing.POSITION.X"): what a variable links to when it drives a single coordinate.

class CProperty;

class CPropertyComponent
{
public:
    CPropertyComponent(CProperty& property, int index) : m_property(property), m_index(index) {}

    // The component, or 0 when the property is not a VECTOR3.
    float Get() const;
    // Stores the component, then tells the set and refreshes the controls, changed or not (a
    // linked variable leaves out the writes that would change nothing). Ignored when the
    // property is not a VECTOR3.
    void Set(float value);

    CProperty& Property() const { return m_property; }
    int Index() const { return m_index; }

private:
    CProperty& m_property; // owns this component
    int m_index;
};
