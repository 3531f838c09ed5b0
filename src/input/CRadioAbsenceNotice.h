#pragma once
// Decides when the flight screen says that no transmitter is detected: the selected input map
// reads transmitter channels, and the transmitter has been missing for a whole second (the
// interface needs a few frames to be seen after a start). Said once; said again only after the
// transmitter was seen in between, the map changed to one without transmitter channels, or a new
// flight began (Reset).

class CInputMap;

class CRadioAbsenceNotice
{
public:
    static constexpr float kGraceSeconds = 1.0f;

    void Reset();
    // True in the one frame in which the message is due. frameTime in s.
    bool Update(float frameTime, bool mapReadsRadio, bool radioDetected);

    // Whether a map reads any of AXIS_RADIOCONTROL_CH1 .. CH9.
    static bool MapReadsRadio(const CInputMap& map);

private:
    float m_missingSeconds = 0.0f;
    bool m_said = false;
};
