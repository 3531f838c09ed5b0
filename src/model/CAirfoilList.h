#pragma once
// The airfoils loaded by this process, shared by every part of every model: a wing asks for
// its file by name and gets the one loaded object. Airfoils are never unloaded while the
// program runs (parts keep raw pointers to them), so a reloaded model finds its airfoils here.
//
// A file that fails to load is not kept: a later request tries the file again (the user may
// have fixed it meanwhile).

#include <memory>
#include <string>
#include <vector>

class CAirfoil;

class CAirfoilList
{
public:
    CAirfoilList();
    ~CAirfoilList();
    CAirfoilList(const CAirfoilList&) = delete;
    CAirfoilList& operator=(const CAirfoilList&) = delete;

    // The list of the process: made on first use, destroyed with its airfoils at exit.
    static CAirfoilList& Shared();

    // The airfoil of that file name (letter case ignored), loaded on first request; null when
    // it cannot be loaded, with outReason (optional) saying why for the caller's message.
    CAirfoil* Get(const std::string& fileName, std::string* outReason = nullptr);

    // The airfoil a part names: the same lookup, but a file that cannot be read or that has no
    // usable coefficient table gives null and one message "<who>: airfoil '<file>' <reason>",
    // who naming the model file and the part. A name in quotes is taken without them.
    CAirfoil* GetForPart(const std::string& fileName, const std::string& who);

    int Count() const { return static_cast<int>(m_airfoils.size()); }
    CAirfoil* At(int index) const;

private:
    std::vector<std::unique_ptr<CAirfoil>> m_airfoils; // owned, in load order
};
