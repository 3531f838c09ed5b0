#pragma once
// kestro-fdm --report: what a model is made of, measured on the loaded model rather than read
// from its file: mass, centre of mass and inertia as the body integrates them, every part with
// its key figures, and the static thrust of every engine (CStaticThrust).

#include <string>

class CModelReport
{
public:
    // The report of the model Data/Model/<modelName>, measured on copies of it so that the
    // flight itself starts untouched; the loader's message when it does not load.
    static std::string Build(const std::string& modelName);
};
