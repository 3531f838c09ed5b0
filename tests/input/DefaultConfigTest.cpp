#include <gtest/gtest.h>

#include <string>

#include "data/CFile.h"
#include "data/CTokenFile.h"
#include "data/StringTable.h"
#include "input/CInput.h"
#include "input/CInputMapSet.h"
#include "input/CKeyDefTable.h"
#include "input/CKeyboardAxes.h"
#include "input/InputTestSupport.h"
#include "support/DataDir.h"
#include "model/CVariableTable.h"

namespace
{
// The text between two markers of the committed file.
std::string Section(const std::string& text, const std::string& from, const std::string& to)
{
    const size_t begin = text.find(from);
    const size_t end = text.find(to, begin);
    if (begin == std::string::npos || end == std::string::npos)
        return "<missing>";
    return text.substr(begin, end - begin);
}

// The input sections of a configuration, read the way the configuration object reads them.
struct TInputSections
{
    explicit TInputSections(CTokenFile& file)
    {
        variablesRead = variables.Load(file, "Input", nullptr);
        mapsRead = maps.Read(file, variables, mapMessage);
        axesRead = axes.Read(file, axesMessage);
        keys.Read(file, keyWarnings);
    }
    CVariableTable variables;
    CInputMapSet maps;
    CKeyboardAxes axes;
    CKeyDefTable keys;
    bool variablesRead, mapsRead, axesRead;
    std::string mapMessage, axesMessage, keyWarnings;
};
} // namespace

// The shipped default configuration, read the way the configuration object reads it, and the
// input sections written back byte for byte.
TEST(DefaultConfig, ReadsCompletelyAndWritesBackTheSameSections)
{
    DataDirAt shipped(SourceDir());
    ASSERT_TRUE(LoadStringTable());
    const std::string path = BuildDataPath(DF_CONFIG, "Config.txt");
    std::string original;
    ASSERT_TRUE(ReadWholeFile(path, original));

    CTokenFile file;
    ASSERT_TRUE(file.Load(path));
    TInputSections input(file);
    ASSERT_TRUE(input.variablesRead);
    ASSERT_TRUE(input.mapsRead) << input.mapMessage;
    ASSERT_TRUE(input.axesRead) << input.axesMessage;
    EXPECT_EQ(input.keyWarnings, "");
    const CInputMapSet& maps = input.maps;
    EXPECT_EQ(maps.GetSelected()->GetName(), "Keyboard");
    for (int i = 0; i < maps.GetCount(); ++i)
        for (int l = 0; l < maps.Get(i)->GetLinkCount(); ++l)
            EXPECT_NE(maps.Get(i)->GetLink(l).variable, nullptr) << maps.Get(i)->GetName() << " link " << l;
    // Every command has its line, and no key is bound twice.
    int keyDefLines = 0;
    for (size_t pos = 0; (pos = original.find(".KEY_DEF {", pos)) != std::string::npos; ++pos)
        ++keyDefLines;
    EXPECT_EQ(keyDefLines, kUserCommandCount);
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < kUserCommandCount; ++i)
        texts.push_back(input.keys.GetKeyText(i));
    EXPECT_TRUE(FindDuplicateKeys(texts).empty());

    const std::string written = WrittenText([&](CFile& out) {
        input.maps.Write(out);
        input.axes.Write(out);
        input.keys.Write(out);
    });
    EXPECT_EQ(written, Section(original, "//------------\r\n// Input Maps", "//----------------\r\n// Selected Model"));
    FreeStringTable();
}

// Every cut of the default file (a save interrupted at any byte, a hand edit gone wrong) reads
// without crashing: each reader either succeeds or says what is wrong.
TEST(DefaultConfig, TruncatedFilesNeverCrashTheReaders)
{
    std::string original;
    ASSERT_TRUE(ReadWholeFile((SourceDir() / "Data/Config/Config.txt").string(), original));
    int failures = 0;
    for (size_t cut = 0; cut < original.size(); cut += 37)
    {
        CTokenFile file;
        if (!file.LoadText(original.substr(0, cut), "Config.txt"))
            continue;
        const TInputSections input(file);
        EXPECT_TRUE(input.mapsRead || !input.mapMessage.empty()) << cut;
        EXPECT_EQ(input.axesRead, input.axesMessage.empty()) << cut;
        failures += input.mapsRead ? 0 : 1;
    }
    EXPECT_GT(failures, 0); // the cuts before the first map do fail, with a message
}

// A whole frame chain with the shipped configuration: the Up arrow (key axis 2, reversed in the
// Keyboard map) pushes the elevator channel down, and letting go centres it again.
TEST(DefaultConfig, HoldingUpLowersTheElevatorChannel)
{
    std::string original;
    ASSERT_TRUE(ReadWholeFile((SourceDir() / "Data/Config/Config.txt").string(), original));
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(original, "Config.txt"));
    TInputSections config(file);
    ASSERT_TRUE(config.mapsRead && config.axesRead) << config.mapMessage << config.axesMessage;
    CKeyboardAxes& axes = config.axes;
    const CVariableTable& variables = config.variables;

    CInput input;
    input.BindKeyboardAxes(axes);
    input.SetKeyDefs(&config.keys);
    const float dt = 0.02f;
    auto frame = [&] {
        input.Update(dt);
        for (CInputEvent* event = input.FirstEvent(); event != nullptr; event = input.NextEvent())
            axes.HandleEvent(*event);
        axes.Update(dt);
        config.maps.ApplySelected(input);
    };
    input.HandleEvent(KeyEvent(SDL_SCANCODE_UP, true));
    for (int i = 0; i < 12; ++i) // 0.24 s at 2 units/s (-1 to 1 in 1 s)
        frame();
    EXPECT_NEAR(variables.Find("V_CH2")->GetValue(), -0.48f, 1e-4f);
    EXPECT_FLOAT_EQ(variables.Find("V_CH1")->GetValue(), 0.0f);
    input.HandleEvent(KeyEvent(SDL_SCANCODE_UP, false));
    for (int i = 0; i < 30; ++i)
        frame();
    EXPECT_FLOAT_EQ(variables.Find("V_CH2")->GetValue(), 0.0f);
}
