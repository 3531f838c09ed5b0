#pragma once
// kestro-fdm's base directory. The program reads Data/ and writes Output/ and
// ../DeveloperOutput/ relative to its working directory; a batch run must neither depend on nor
// disturb the pilot's Output/ (Weather.txt, the collision cache, Config.txt), and runs may go in
// parallel. So every run gets a private tree under $TMPDIR (or /tmp), removed at the end:
//
//   kestro-fdm.XXXXXX/
//     run/                  the working directory = base directory
//       Data/               one symbolic link per entry of the --data folder, except
//         Model/            a real folder of links to the data's models plus the model flown
//       Output/             Weather.txt, CacheCollision.tmp, a model's OUTPUT_FILE
//     DeveloperOutput/
//
// A model's own output files would be lost with the tree, so Keep() leaves it in place (the
// caller names the folder). --record and --csv take paths from the caller's directory.

#include <string>

class CFdmRunDir
{
public:
    CFdmRunDir() = default;
    ~CFdmRunDir();
    CFdmRunDir(const CFdmRunDir&) = delete;
    CFdmRunDir& operator=(const CFdmRunDir&) = delete;

    // Builds the tree for the data folder and the model (a path to a file, or a name in
    // dataDir/Model/; empty for none), and makes run/ the working directory. False with a
    // reason in outError.
    bool Create(const std::string& dataDir, const std::string& model, std::string& outError);

    // The model's name inside Data/Model/ of the tree.
    const std::string& GetModelName() const { return m_modelName; }
    // The caller's directory: where relative paths of the command line point.
    const std::string& GetCallerDirectory() const { return m_callerDir; }
    // A path of the command line made absolute against the caller's directory.
    std::string FromCaller(const std::string& path) const;
    const std::string& GetOutputFolder() const { return m_outputDir; }

    // Leaves the tree on disk when the object dies.
    void Keep() { m_keep = true; }

private:
    std::string m_root;       // kestro-fdm.XXXXXX, empty when not created
    std::string m_outputDir;  // run/Output
    std::string m_callerDir;
    std::string m_modelName;
    bool m_keep = false;
};
