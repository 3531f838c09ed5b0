#pragma once
// The preflight check of a model: what a designer wants to know before the first flight, judged
// from the parts alone (kestro-fdm --check, and the part-info overlay of the flight screen).
//
// The model is loaded into private sessions (the flight being flown, if any, is not touched),
// linked and weighed, then:
//   1. mass and centre of mass as the body integrates them; static thrust flown by
//      CStaticThrust; thrust-to-weight.
//   2. Lifting surfaces: every WING3 segment (mirrored ones too) and every WING2, with its area,
//      quarter-chord point and upper normal (body frame). A surface counts towards lift and
//      pitch stability by its projection on the horizontal: area * ny for lift, area * ny^2 for
//      the lift slope against pitch (a fin, ny = 0, drops out).
//   3. Lift slope: a0 = dCl/dalpha of the surface's airfoil table over -2 .. +2 deg, corrected
//      for the part's aspect ratio AR and span efficiency e (Helmbold / lifting line):
//          a = a0 / (1 + a0 / (pi e AR)).
//   4. Main wing: the lifting part of the largest projected area; its mean aerodynamic chord
//      MAC = sum(S c) / sum(S) and quarter-chord point z_w. A surface of another part whose
//      quarter chord lies more than kTailDistanceChords MAC behind z_w is a tail: it works in the
//      main wing's downwash, d(eps)/d(alpha) = 2 a_w / (pi AR_w), and counts with
//      (1 - d(eps)/d(alpha)). The others (canards, outer panels) belong to the wing group.
//   5. Neutral point z_np = sum(a S ny^2 f z) / sum(a S ny^2 f), f the downwash factor; static
//      margin = (z_np - z_cg) / MAC in percent (body z points aft: positive is stable).
//   6. Stall speed Vs = sqrt(2 m g / (rho S_wing Clmax)), Clmax the largest Cl of the main
//      wing's airfoil between 0 and 30 deg, S_wing the wing group's horizontal projection.
//   7. Glide of a model without an engine: the polar of the wing group (profile drag of its
//      airfoil at the angle that gives CL, induced drag CL^2 / (pi e AR)), the other surfaces'
//      drag at zero angle and the DRAG parts' frontal drag; the best lift-to-drag ratio, its speed
//      and sink rate.
//   8. Flown figures, from the model's own forces (what Kestro's physics will do, downwash,
//      slipstream and all): the copy is put 100 m up, level at kProbeSpeed m/s, pitched to an
//      angle of attack, and one 1 ms frame sums its forces. The pitching moment M about the
//      centre of mass and the lift L at 1 and 5 deg give the flown neutral point,
//      z_np - z_cg = -dM/dL. With the elevator channel held at full up, the angle where M
//      turns nose-down is the trim the model flies at its slowest; the slowest steady speed is
//      kProbeSpeed sqrt(m g / L) at that angle (or at the angle of the largest lift, if it
//      trims beyond it).
//   9. Controls, flown: each primary channel (V_CH1 roll right, V_CH2 nose up, V_CH4 yaw right)
//      is held at +0.5 and at -0.5 on the ground-free, still copy until the servos have
//      travelled, through the model's own functions and servos; every control surface's change
//      of deflection times its effectiveness gives a force along its normal at its quarter
//      chord, and the moment about the centre of mass tells whether the part moves the model the
//      way the channel convention says.
// Warnings name the part: centre of mass behind the neutral point (estimated, or flown), margin outside 5 .. 30 %,
// thrust-to-weight below 0.3 on a powered model, a wing without its airfoil, a servo no part
// uses, a primary channel nothing reads, a DOF name the 3D object lacks, a reversed control.

#include <string>
#include <vector>

#include "core/CVector3.h"

class CModelCheck
{
public:
    static constexpr float kAirDensity = 1.225f;          // kg/m^3, sea level
    static constexpr float kGravity = 9.81f;              // m/s^2
    static constexpr float kMinMarginPercent = 5.0f;
    static constexpr float kMaxMarginPercent = 30.0f;
    static constexpr float kMinThrustToWeight = 0.3f;
    static constexpr float kTailDistanceChords = 1.5f;    // MAC behind the main wing: a tail
    static constexpr float kProbeSpeed = 15.0f;           // m/s of the force probes

    // One lifting surface (a WING3 segment or a WING2).
    struct TSurface
    {
        std::string part;
        int segment = -1;          // WING3 segment index, -1 for a WING2
        float area = 0.0f;         // m^2
        float chord = 0.0f;        // m
        float normalY = 0.0f;      // vertical component of the upper normal (body frame)
        float liftSlope = 0.0f;    // 1/rad, corrected for aspect ratio
        CVector3 quarterChord;     // body frame, m
        float downwashFactor = 1.0f; // 1 - d(eps)/d(alpha); 1 off the wake
        bool tail = false;
    };

    struct TWarning
    {
        std::string code;  // stable identifier: "unstable", "margin_low", ...
        std::string part;  // the part (or channel) it is about
        std::string text;  // one line for the designer
    };

    // Figures; NaN where they do not apply (no engine, no wing).
    struct TFigures
    {
        float massKg = 0.0f;
        CVector3 centreOfMass;                 // body frame, m
        bool powered = false;
        float staticThrustN = 0.0f;
        float thrustToWeight = 0.0f;
        std::string mainWing;
        float wingAreaM2 = 0.0f;               // wing group, horizontal projection
        float wingLoadingNPerM2 = 0.0f;
        float meanChordM = 0.0f;               // MAC of the main wing
        float aspectRatio = 0.0f;              // of the main wing
        float downwashGradient = 0.0f;         // d(eps)/d(alpha) behind the main wing
        float neutralPointZ = 0.0f;            // body z, m (aft positive)
        float staticMarginPercent = 0.0f;
        float clMax = 0.0f;
        float stallSpeedMps = 0.0f;
        float neutralPointFlownZ = 0.0f;       // body z, m, from the model's own forces
        float staticMarginFlownPercent = 0.0f;
        float trimAlphaFullUpDeg = 0.0f;       // angle of attack trimmed at full up elevator
        float slowestSpeedMps = 0.0f;          // steady, at full up elevator
        float glideRatio = 0.0f;
        float glideSpeedMps = 0.0f;
        float glideSinkMps = 0.0f;
    };

    // Loads Data/Model/<modelName> into private sessions and judges it. False when the model does
    // not load (GetError says why); the figures are then meaningless.
    bool Run(const std::string& modelName);

    const std::string& GetModelName() const { return m_modelName; }
    const std::string& GetError() const { return m_error; }
    const TFigures& GetFigures() const { return m_figures; }
    const std::vector<TSurface>& GetSurfaces() const { return m_surfaces; }
    const std::vector<TWarning>& GetWarnings() const { return m_warnings; }

    // The figures and warnings as lines for a reader.
    std::string FormatText() const;
    // The key figures and warnings in short lines (at most width characters), for an overlay.
    std::string FormatSummary(int width) const;
    // One line of JSON with every figure, surface and warning (no line break).
    std::string FormatJson() const;

private:
    std::string m_modelName;
    std::string m_error;
    TFigures m_figures;
    std::vector<TSurface> m_surfaces;
    std::vector<TWarning> m_warnings;
};
