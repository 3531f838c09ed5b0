// The configuration file: round trip, safe replacement, the defaults a first run starts from and
// what happens to a broken file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/CConfig.h"
#include "data/CFile.h"
#include "input/CKeyboardAxes.h"
#include "input/UserCommands.h"
#include "support/TempDir.h"

namespace
{
const char* const kMinimal = R"(
.VARIABLE V_CH1 { .DESCRIPTION "Aileron" }
.VARIABLE V_CH2 { .DESCRIPTION "Elevator" }
.SELECTED_INPUT_MAP  "Second"
.INPUT_MAP
{
  .NAME  "First"
  .DESCRIPTION  "one"
  .LINK {  .VARIABLE V_CH1  .INPUT_AXIS AXIS_MOUSE_X  .REVERSE 0  }
}
.INPUT_MAP
{
  .NAME  "Second"
  .DESCRIPTION  "two"
  .LINK {  .VARIABLE V_CH2  .INPUT_AXIS AXIS_KEYBOARD_2  .REVERSE 1  }
}
.AXIS_KEYBOARD AXIS_KEYBOARD_2
{
  .AUTO_CENTRE 0
  .TIME_FULL_RANGE 2.5
}
.KEY_DEF { .KEY "P"   .FUNCTION UC_APP_PAUSE }
.KEY_DEF { .KEY "CTRL+Q"   .FUNCTION UC_NO_SUCH_COMMAND }
.KEY_DEF { .KEY "SHIFT+CTRL+W"   .FUNCTION UC_APP_VIDEO_SYNC }
.SELECTED_MODEL  "Trainer.mod"
.COM_PORT  3
.COM_DEVICE  "/dev/pts/7"
.SWAP_INTERVAL  1
.JOYSTICK_CALIBRATION { .AXIS_JOYSTICK_X -400 12 380  .AXIS_JOYSTICK_Y 5 5 5  .AXIS_JOYSTICK_SL0 100 0 900 }
)";

std::string DefaultsPath()
{
    return (SourceDir() / "Data" / "Config" / "Config.txt").string();
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

class ConfigTest : public ::testing::Test
{
protected:
    std::string Output() const { return (dir.Path() / "Output").string() + "/"; }
    bool Exists(const char* name) const { return std::filesystem::exists(dir.Path() / "Output" / name); }

    TempDir dir;
    CKeyboardAxes axes;
    CConfig config{axes};
    std::string message;
};
} // namespace

TEST_F(ConfigTest, ReadsEverySection)
{
    ASSERT_TRUE(config.LoadText(kMinimal, "Config.txt", message)) << message;
    EXPECT_EQ(config.InputVariables().Count(), 2);
    ASSERT_EQ(config.InputMaps().GetCount(), 2);
    EXPECT_EQ(axes.Get(1).axisId, static_cast<uint32_t>(AXIS_KEYBOARD_2));
    EXPECT_EQ(config.GetSelectedModel(), "Trainer.mod");
    EXPECT_EQ(config.GetFlyingSite(), "FlyingSite") << "a file from before the slope site: the field";
    EXPECT_EQ(config.GetComPort(), 3);
    EXPECT_EQ(config.GetComDevice(), "/dev/pts/7");
    const SJoystickAxisCalibration* joystick = config.JoystickCalibrations().Find("", "");
    EXPECT_EQ(joystick[0].low, -400);
    EXPECT_EQ(joystick[6].high, 900) << "a slider needs no middle";
    EXPECT_EQ(config.GetSwapInterval(), 1);
    // An unknown command is skipped; the blocks around it still count.
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_APP_PAUSE), "P");
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_APP_VIDEO_SYNC), "SHIFT+CTRL+W");
}

TEST_F(ConfigTest, WrittenTextReadsBackToTheSameText)
{
    ASSERT_TRUE(config.LoadFile(DefaultsPath(), message)) << message;
    const std::string first = config.FormatText();
    CKeyboardAxes otherAxes;
    CConfig other(otherAxes);
    ASSERT_TRUE(other.LoadText(first, "Config.txt", message)) << message;
    EXPECT_EQ(other.FormatText(), first);
}

// Written to Config.tmp and renamed: no temporary file is left, and a second save keeps the first
// as Config.bak.
TEST_F(ConfigTest, SavesReplaceConfigTxtAndKeepTheLastAsBackup)
{
    std::filesystem::create_directories(Output());
    ASSERT_TRUE(config.LoadText(kMinimal, "Config.txt", message));
    ASSERT_TRUE(config.Save(Output()));
    EXPECT_FALSE(Exists("Config.tmp"));
    EXPECT_FALSE(Exists("Config.bak"));
    const std::string first = dir.Read("Output/Config.txt");
    config.SetSelectedModel("Glider.mod"); // the site kept over a restart is the site e2e run's
    ASSERT_TRUE(config.Save(Output()));
    EXPECT_EQ(dir.Read("Output/Config.bak"), first);
    EXPECT_NE(dir.Read("Output/Config.txt").find("\"Glider.mod\""), std::string::npos);
    EXPECT_FALSE(Exists("Config.tmp"));
}

TEST_F(ConfigTest, SaveIntoAMissingFolderFailsAndChangesNothing)
{
    ASSERT_TRUE(config.LoadText(kMinimal, "Config.txt", message));
    EXPECT_FALSE(config.Save((dir.Path() / "NoSuchFolder").string() + "/"));
}

TEST_F(ConfigTest, BrokenConfigIsKeptAsBadAndTheDefaultsAreRead)
{
    // mentioned: a word the message must contain
    struct SCase { const char* what; std::string text; const char* mentioned; };
    const SCase cases[] = {
        // An unknown axis in an input map is the menus e2e run's.
        {"bad keyboard-axis block", Replace(kMinimal, ".AXIS_KEYBOARD AXIS_KEYBOARD_2", ".AXIS_KEYBOARD AXIS_MOUSE_X"),
         "AXIS_MOUSE_X"},
        {"unterminated comment", std::string(kMinimal) + "/* never closed", "Config.txt"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.Path() / "Output");
        dir.Write("Output/Config.txt", c.text);
        ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
        EXPECT_NE(message.find(c.mentioned), std::string::npos) << message;
        EXPECT_NE(message.find("Config.bad"), std::string::npos) << message;
        EXPECT_EQ(dir.Read("Output/Config.bad"), c.text) << "the pilot's file is kept as it was";
        EXPECT_FALSE(Exists("Config.txt"));
        EXPECT_EQ(config.InputMaps().Get(0)->GetName(), "Keyboard") << "the defaults are loaded";
    }
}

TEST_F(ConfigTest, BrokenConfigAndBrokenDefaultsFail)
{
    dir.Write("Output/Config.txt", Replace(kMinimal, "AXIS_MOUSE_X", "AXIS_NO_SUCH"));
    const std::string badDefaults = dir.Write("Defaults.txt", ".VARIABLE V_CH1 { }\n");
    EXPECT_FALSE(config.Load(Output(), badDefaults, message));
    EXPECT_NE(message.find("Defaults.txt"), std::string::npos) << message;
    EXPECT_FALSE(config.IsValid());
}

TEST_F(ConfigTest, AFailedReadLeavesNothingOfTheBrokenFileBehind)
{
    ASSERT_TRUE(config.LoadText(kMinimal, "Config.txt", message));
    EXPECT_FALSE(config.LoadText(Replace(kMinimal, "AXIS_MOUSE_X", "AXIS_NO_SUCH"), "Config.txt", message));
    EXPECT_EQ(axes.Get(1).axisId, static_cast<uint32_t>(AXIS_UNKNOWN)) << "no half-read keyboard axes";
}

// CrashBetweenTheRenamesOfASaveLosesTheConfiguration: a save killed at any moment leaves a file
// the next start reads, and says which; the exit after it does not overwrite Config.bak.
TEST_F(ConfigTest, AStartAfterACrashedSaveFallsBackToTheBackupThenTheTemporaryFile)
{
    const std::string glider = Replace(kMinimal, "Trainer.mod", "Glider.mod");
    struct SCase
    {
        const char* what;
        const char* bak; // contents, or null for no file
        const char* tmp;
        const char* model;     // the model of the configuration loaded
        const char* mentioned; // in the message ("" for no message)
    } cases[] = {
        {"backup only", kMinimal, nullptr, "Trainer.mod", "Config.bak"},
        {"backup before the temporary file", kMinimal, glider.c_str(), "Trainer.mod", "Config.bak"},
        {"a temporary file that reads", nullptr, glider.c_str(), "Glider.mod", "Config.tmp"},
        {"a broken backup", ".COM_PORT 2\n/* cut", glider.c_str(), "Glider.mod", "Config.tmp"},
        {"a temporary file cut inside a comment: the defaults", nullptr, "/* cut", "Trainer.mod", "Config.tmp"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.Path() / "Output");
        std::filesystem::create_directories(Output());
        if (c.bak != nullptr)
            dir.Write("Output/Config.bak", c.bak);
        if (c.tmp != nullptr)
            dir.Write("Output/Config.tmp", c.tmp);
        ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
        EXPECT_EQ(config.GetSelectedModel(), c.model);
        EXPECT_NE(message.find(c.mentioned), std::string::npos) << message;

        ASSERT_TRUE(config.Save(Output()));
        if (c.bak != nullptr)
        {
            EXPECT_EQ(dir.Read("Output/Config.bak"), c.bak) << "the backup survives the next exit";
        }
        EXPECT_NE(dir.Read("Output/Config.txt").find(std::string("\"") + c.model + "\""), std::string::npos);
    }
}

// AFullDiskLeavesAnEmptyConfigTmp: a save that cannot be written leaves Config.txt as it was,
// and the note left for the next start is read once.
TEST_F(ConfigTest, ASaveThatCannotBeWrittenKeepsTheOldFileAndSaysWhy)
{
    std::filesystem::create_directories(Output());
    ASSERT_TRUE(config.LoadText(kMinimal, "Config.txt", message));
    ASSERT_TRUE(config.Save(Output()));
    const std::string before = dir.Read("Output/Config.txt");
    config.SetSelectedModel("Glider.mod");
    std::filesystem::create_symlink("/dev/full", dir.Path() / "Output" / "Config.tmp");
    EXPECT_FALSE(config.Save(Output()));
    EXPECT_EQ(dir.Read("Output/Config.txt"), before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir.Path() / "Output" / "Config.tmp")));
    EXPECT_NE(config.SaveError().find("Config.txt"), std::string::npos) << config.SaveError();

    ASSERT_TRUE(config.WriteSaveFailureNote(Output()));
    const std::string note = CConfig::TakeSaveFailureNote(Output());
    EXPECT_NE(note.find("could not be saved"), std::string::npos) << note;
    EXPECT_NE(note.find(config.SaveError()), std::string::npos) << note;
    EXPECT_EQ(CConfig::TakeSaveFailureNote(Output()), "");
    EXPECT_FALSE(config.WriteSaveFailureNote((dir.Path() / "NoSuchFolder").string() + "/"));
}

// ConfigCutShortInsideTheKeyDefinitionsLeavesTheKeysUnbound.
TEST_F(ConfigTest, AFileCutShortGivesTheMissingKeysTheirDefaultsAndSaysSo)
{
    std::string full;
    ASSERT_TRUE(ReadWholeFile(DefaultsPath(), full));
    const size_t cut = full.find("UC_MENU_KEY_DEF");
    ASSERT_NE(cut, std::string::npos);
    dir.Write("Output/Config.txt", full.substr(0, cut + 15) + " }\n.KEY_DEF { .KEY \"");
    ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
    EXPECT_NE(message.find("incomplete"), std::string::npos) << message;
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_KEYAXIS_1_DEC), "Left");
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_KEYAXIS_3_INC), "W");
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_APP_LOAD_MODEL), "CTRL+O") << "read from the file";

    ASSERT_TRUE(config.Save(Output())); // complete again

    ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
    EXPECT_EQ(message, "");
}

// AConfigWithoutInputMapsFallsBackToDefaultsEntirely: the last map deleted used to throw away
// every key definition and keyboard axis at the next start.
TEST_F(ConfigTest, AFileWithoutInputMapsKeepsEverythingElseAndTakesTheShippedMaps)
{
    std::string text = kMinimal;
    text = text.substr(0, text.find(".SELECTED_INPUT_MAP")) + text.substr(text.find(".AXIS_KEYBOARD"));
    dir.Write("Output/Config.txt", text);
    ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
    EXPECT_NE(message.find("no input map"), std::string::npos) << message;
    EXPECT_FALSE(Exists("Config.bad")) << "a file without maps is not broken";
    ASSERT_GT(config.InputMaps().GetCount(), 0);
    EXPECT_EQ(config.InputMaps().Get(0)->GetName(), "Keyboard");
    EXPECT_EQ(config.GetComPort(), 3) << "the rest of the pilot's file is kept";
    EXPECT_EQ(config.KeyDefs().GetKeyText(UC_APP_VIDEO_SYNC), "SHIFT+CTRL+W");
}

// ANewlyBrokenConfigOverwritesAnOlderConfigBad.
TEST_F(ConfigTest, ABrokenFileNeverReplacesAnOlderBadFile)
{
    dir.Write("Output/Config.bad", "the first broken file");
    dir.Write("Output/Config.txt", ".COM_PORT 2\n/* never closed");
    ASSERT_TRUE(config.Load(Output(), DefaultsPath(), message));
    EXPECT_EQ(dir.Read("Output/Config.bad"), "the first broken file");
    EXPECT_EQ(dir.Read("Output/Config.bad.2"), ".COM_PORT 2\n/* never closed");
    EXPECT_NE(message.find("Config.bad.2"), std::string::npos) << message;
}
