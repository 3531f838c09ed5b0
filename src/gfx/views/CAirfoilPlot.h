#pragma once
// The airfoil viewer's drawing: an airfoil's lift, drag and centre-of-pressure coefficients
// against the angle of attack over -180 .. +180 deg, and a generated four-digit NACA section.
//
// Laid out in a 640 x 480 virtual screen scaled to the window: the file name at (10, 100); the
// value axis at x = 316 (ticks every 0.4 from -1.6 to 1.6, 70 pixels per unit, zero at y = 220);
// the angle axis along y = 220 (x = (alpha + 180) 1.7 + 10, ticks every 20 deg); one dot per
// whole degree for Cl, Cd and Cp; the legend at (450, 270 .. 290); the section as two polylines
// through 100 points, x = i / 99, drawn at (x 400 + 100, 50.5 - y 400).

class CAirfoil;

class CAirfoilPlot
{
public:
    // Draws over the whole window (sets its own projection and restores the window's).
    static void Draw(const CAirfoil& airfoil);
    // Screen position (virtual 640 x 480) of an angle (deg) and a coefficient value.
    static float AngleX(float alphaDeg) { return (alphaDeg + 180.0f) * 1.7f + 10.0f; }
    static float ValueY(float value) { return 220.0f - value * 70.0f; }
};
