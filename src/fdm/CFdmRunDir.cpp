#include "fdm/CFdmRunDir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "data/CFile.h"

namespace fs = std::filesystem;

CFdmRunDir::~CFdmRunDir()
{
    if (m_root.empty() || m_keep)
        return;
    std::error_code error;
    // Leave the tree before removing it; remove_all does not follow the links into the data.
    fs::current_path(m_callerDir, error);
    fs::remove_all(m_root, error);
}

std::string CFdmRunDir::FromCaller(const std::string& path) const
{
    const fs::path p(path);
    return p.is_absolute() ? path : (fs::path(m_callerDir) / p).string();
}

bool CFdmRunDir::Create(const std::string& dataDir, const std::string& model, std::string& outError)
{
    std::error_code error;
    m_callerDir = fs::current_path(error).string();
    if (error)
        return outError = "the working directory cannot be read", false;

    const fs::path data = fs::absolute(FromCaller(dataDir), error);
    if (error || !fs::is_directory(data, error))
        return outError = "data folder '" + dataDir + "' not found", false;

    // The model: an existing file wins over a name in the data's Model folder. No model (an
    // air query) links the data's models only.
    fs::path modelFile = FromCaller(model);
    if (!model.empty() && !fs::is_regular_file(modelFile, error))
    {
        if (!IsPlainDataName(model) || !fs::is_regular_file(data / "Model" / model, error))
            return outError = "model '" + model + "' not found (neither a file nor in " + (data / "Model").string() + ")",
                   false;
        modelFile = data / "Model" / model;
    }
    if (!model.empty())
    {
        modelFile = fs::absolute(modelFile, error);
        m_modelName = modelFile.filename().string();
    }

    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kestro-fdm.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        return outError = "cannot create a run folder from " + pattern, false;
    m_root = buffer.data();

    const fs::path run = fs::path(m_root) / "run";
    const fs::path runData = run / "Data";
    fs::create_directories(runData / "Model", error);
    if (!error)
        fs::create_directories(run / "Output", error);
    if (!error)
        fs::create_directories(fs::path(m_root) / "DeveloperOutput", error);
    if (error)
        return outError = "cannot create folders in " + m_root + ": " + error.message(), false;
    m_outputDir = (run / "Output").string();

    for (const fs::directory_entry& entry : fs::directory_iterator(data, error))
    {
        const fs::path name = entry.path().filename();
        if (name == "Model")
            continue;
        fs::create_symlink(entry.path(), runData / name, error);
        if (error)
            return outError = "cannot link " + entry.path().string() + ": " + error.message(), false;
    }
    if (error)
        return outError = "cannot list " + data.string() + ": " + error.message(), false;
    // Other models stay reachable (a model may name another file of the folder).
    if (fs::is_directory(data / "Model", error))
        for (const fs::directory_entry& entry : fs::directory_iterator(data / "Model", error))
            if (entry.path().filename() != m_modelName)
                fs::create_symlink(entry.path(), runData / "Model" / entry.path().filename(), error);
    if (!model.empty())
        fs::create_symlink(modelFile, runData / "Model" / m_modelName, error);
    if (error)
        return outError = "cannot link the model " + modelFile.string() + ": " + error.message(), false;

    fs::current_path(run, error);
    if (error)
        return outError = "cannot enter " + run.string() + ": " + error.message(), false;
    InitBaseDirectory();
    return true;
}
