#pragma once
// Thrust and torque of a fixed-pitch propeller by a blade-element sum.
//
// Ten sections i = 1..10 centred at radius r = 0.05 (i - 0.5) D, each 0.05 D wide, so together
// they cover the blade from the hub to the tip (R = D / 2); centred on the tip, the outermost
// would put half a section beyond it and about 15 % more thrust and 20 % more torque. Spacing the sections 0.1 D apart would put blade out to a whole
// diameter and give about four times the thrust of a real propeller of that size (a 10x6 would
// make 90 N statically instead of the published 20-25 N). Chord c = CHORD_TO_DIAMETER_RATIO D.
// For an axial air speed V
// and a speed n (rev/s), per section:
//   beta  = atan(P / (2 pi r))        blade angle of a helix of geometric pitch P
//   u     = 2 pi r n                  rotational speed of the section
//   gamma = atan(V / u)               inflow angle; alpha = beta - gamma
//   q     = (u^2 + V^2) c b 0.6125    dynamic pressure times area (0.6125 = half the sea-level
//                                     air density, 1.225 kg/m^3)
//   L = q Cl across the local flow, D = q Cd along it
//   thrust += L cos gamma - D sin gamma; torque += (L sin gamma + D cos gamma) r
// and both sums are multiplied by the blade count. V is the axial air speed plus the induced
// speed vi of momentum theory, T = 2 rho A (V + vi) vi, times kInducedPowerFactor (none while
// the propeller brakes), found by
// a few relaxed fixed-point steps. Below 1 rev/min (n <= 1/60) the propeller
// gives nothing (the inflow angle would be undefined at u = 0).
//
// In flight the sum is not run: it would cost ninety airfoil lookups per sub-step. Every term
// above scales with s = V + pi n D (no Reynolds or Mach effects, constant density), so thrust
// and torque are s^2 times a function of x = V / s alone, x in [0, 1) for V >= 0: x = 0 is the
// static propeller, x -> 1 a windmilling one. Setup samples both functions at kTableRows even
// steps of x with the sum itself and Calc interpolates linearly between them. Over 0..50 m/s
// and 1..350 rev/s this stays within 0.1 % of the sum's static thrust and torque at the same s
// (the table test says so); a negative or non-finite air speed falls back to the sum.
//
// Invalid (no airfoil, or a geometry that cannot turn: zero diameter or no blades): zero thrust
// and torque. The airfoil is owned by CAirfoilList and outlives the calculator.

#include <string>
#include <vector>

class CAirfoil;

class CPropellerCalculator
{
public:
    static constexpr int kSections = 10;
    static constexpr float kHalfAirDensity = 0.6125f; // kg/m^3
    static constexpr float kMinSpeed = 1.0f / 60.0f;  // rev/s
    static constexpr float kAirDensity = 1.225f;      // kg/m^3
    static constexpr int kInflowIterations = 8;
    // Real discs load unevenly and lose lift at the tips: their induced speed is about 15 %
    // above the uniform-disc value (the induced power factor of rotor theory).
    static constexpr float kInducedPowerFactor = 1.15f;
    static constexpr int kTableRows = 2049;

    // Fills the geometry; valid when an airfoil is given and the geometry can produce thrust.
    void Setup(const CAirfoil* airfoil, int blades, float diameter, float pitch, float chordToDiameterRatio);
    void Invalidate();

    // Thrust (N, along the axis) and torque (N*m, against the rotation) at an axial air speed
    // (m/s) and a propeller speed (rev/s), from the table. With a trace (diagnostics only) it
    // runs the sum instead and the trace receives its section table.
    void Calc(float airSpeed, float revPerSecond, float& outThrust, float& outTorque,
              std::string* trace = nullptr) const;
    // The same from the blade-element sum itself (what the table is sampled from).
    void CalcBladeElements(float airSpeed, float revPerSecond, float& outThrust, float& outTorque,
                           std::string* trace = nullptr) const;

    bool IsValid() const { return m_valid; }
    float GetDiameter() const { return m_diameter; }     // m
    float GetRadius() const { return m_radius; }         // m
    float GetDiskArea() const { return m_diskArea; }     // m^2
    const CAirfoil* GetAirfoil() const { return m_airfoil; }

private:
    // The blade-element sum at an axial speed (m/s) that already holds the induced speed.
    void SumSections(float axialSpeed, float revPerSecond, float& outThrust, float& outTorque,
                     std::string* trace) const;
    void BuildTable();

    bool m_valid = false;
    int m_blades = 0;
    float m_diameter = 0.0f;            // D, m
    float m_pitch = 0.0f;               // P, m per revolution
    float m_chord = 0.0f;               // c, m
    float m_chordToDiameterRatio = 0.0f;
    float m_diskArea = 0.0f;            // pi R^2, m^2
    float m_radius = 0.0f;              // R = D / 2, m
    // Per section, fixed by the geometry and so computed once in Setup: the circumference
    // 2 pi r (m) and the blade angle beta (rad); the sum runs for every table row.
    float m_circumference[kSections] = {};
    float m_bladeAngle[kSections] = {};
    float m_tipFactor = 0.0f; // pi D, m: s = V + n pi D
    // Thrust (N) and torque (N*m) divided by s^2 at x = row / (kTableRows - 1), row after row.
    struct TTableRow
    {
        float thrust, torque;
    };
    std::vector<TTableRow> m_table;
    const CAirfoil* m_airfoil = nullptr; // not owned: CAirfoilList keeps it for the process
};
