#pragma once
// The flight model asks for wind through IWindField; the weather lives in src/env's CWind, which
// cannot know the model. The flight process installs this adapter in the model's services.

#include "env/CWind.h"
#include "model/IWindField.h"

class CWindFieldAdapter : public IWindField
{
public:
    explicit CWindFieldAdapter(const CWind& wind) : m_wind(wind) {}

    CVector3 GetWind(const CVector3& worldPoint) const override { return m_wind.GetWindAt(worldPoint); }
    CVector3 GetMeanWind() const override { return m_wind.GetMeanWind(); }

private:
    const CWind& m_wind; // not owned: the flight process owns the wind and outlives the model
};
