#pragma once
// The flight model asks for wind through IWindField; the weather is src/env's CWind, which does
// not know the model. The flight session installs this adapter in the model's services.

#include "env/CWind.h"
#include "model/IWindField.h"

class CWeatherWindField : public IWindField
{
public:
    explicit CWeatherWindField(const CWind& wind) : m_wind(wind) {}

    CVector3 GetWind(const CVector3& worldPoint) const override { return m_wind.GetWindAt(worldPoint); }
    CVector3 GetMeanWind() const override { return m_wind.GetMeanWind(); }

private:
    const CWind& m_wind; // not owned: the session keeps the wind alive as long as the model
};
