// The sound dialog on the sound settings: what is heard changes with every edit, OK keeps it in
// Output/Sound.txt. (The dialog's buttons and Cancel are those of the wind dialog's tests; the
// master volume heard at once and kept after OK and a restart is the sound e2e run's.)

#include <gtest/gtest.h>

#include <filesystem>

#include "gfx/GuiTestSupport.h"
#include "gfx/gui/CCI_CheckBox.h"
#include "gfx/views/CViewSound.h"
#include "sound/CSoundSystem.h"
#include "support/DataDir.h"

TEST(ViewSoundTest, EditsAreHeardAtOnceAndOkKeepsThemInSoundTxt)
{
    TempDataDir data;
    std::filesystem::create_directories(data.dir.Path() / "Output");
    CRecordingHost host;
    CSoundSystem sound;
    sound.Create(CSoundSystem::EDevice::kNone); // the settings work the same without a device
    {
        CViewSound view("View Sound", sound);
        ASSERT_EQ(view.Client().Count(), 7) << "four rows and three buttons";
        view.Show(true);
        auto* stereo = dynamic_cast<CCI_CheckBox*>(view.Client().At(3));
        ASSERT_NE(stereo, nullptr);
        view.Client().SetFocusTo(stereo);
        view.OnCommand(KeyDown(DIK_SPACE));
        view.Run();
        EXPECT_FALSE(sound.List().GetPositionalPanning());
        EXPECT_EQ(data.Read("Output/Sound.txt").find(".POSITIONAL_PANNING 0"), std::string::npos)
            << "nothing written before OK";

        view.Ok();
        EXPECT_TRUE(view.IsCloseRequested());
    }
    CSoundSystem again;
    again.Create(CSoundSystem::EDevice::kNone);
    EXPECT_FALSE(again.Settings().positionalPanning);
}
