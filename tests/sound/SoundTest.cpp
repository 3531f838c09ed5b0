// What a listener hears from the sound system, measured in the mix OpenAL Soft renders into
// memory: the level and pan laws, fading with distance, Doppler, the engine's voices by speed,
// a crash at its strength, and silence without a device.

#include <gtest/gtest.h>

#include <cstdlib>

#include "data/CFile.h"
#include "sound/CEngineSound.h"
#include "sound/SoundLaws.h"
#include "SoundTestSupport.h"
#include "support/DiagCapture.h"

using namespace sound_test;

TEST(SoundLawsTest, HundredthsOfDecibels)
{
    // volume: hundredths of dB
    const struct { float x; int volume; } volumes[] = {{1.0f, 0}, {0.5f, -500}, {0.25f, -1000}, {0.1f, -1661}, {0.0011f, -4914}, {0.001f, -10000},
                   {0.0f, -10000}, {2.0f, 0}, {std::nanf(""), -10000}};
    for (const auto& row : volumes)
        EXPECT_EQ(sound_laws::VolumeToHundredthsDb(row.x), row.volume) << row.x;
    const struct { float pan; int value; } pans[] = {{0.0f, 0}, {0.5f, -500}, {-0.5f, 500}, {1.0f, -10000}, {-1.0f, 10000}, {3.0f, -10000}};
    for (const auto& row : pans)
        EXPECT_EQ(sound_laws::PanToHundredthsDb(row.pan), row.value) << row.pan;
    // A source closing faster than sound keeps a finite pitch (the distance law is heard in the
    // mix below).
    EXPECT_EQ(sound_laws::DopplerFactor(CVector3(10, 0, 0), CVector3(-400, 0, 0), CVector3(), CVector3()), 1.0f);
    EXPECT_EQ(sound_laws::PlaybackFrequency(22050.0f, 0.0f), sound_laws::kMinFrequency);
}

class SoundMixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tones.created);
        tone = tones.sounds.List().Load("Tone441.wav");
        ASSERT_NE(tone, 0);
    }
    // Plays the 441 Hz tone for a second after the frame's update and returns the mix.
    TMix PlayTone()
    {
        tones.sounds.Update();
        tones.sounds.List().Play(tone, true);
        TMix mix = Render(tones.sounds, 1.0);
        tones.sounds.List().Stop(tone);
        return mix;
    }
    void PanLawOnly()
    {
        tones.sounds.Settings().positionalPanning = false;
        tones.sounds.ApplySettings();
    }

    CToneSounds tones;
    int tone = 0;
};

TEST_F(SoundMixTest, HalvedVolumeIsFiveDecibelsDownAndPanAttenuatesOneSide)
{
    const double full = Rms(PlayTone(), 0);
    EXPECT_NEAR(full, 0.5 / std::sqrt(2.0), 0.01); // the tone's own level: gain 1
    tones.sounds.List().SetVolume(tone, 0.5f);
    EXPECT_NEAR(Db(Rms(PlayTone(), 0) / full), -5.0, 0.05);
    tones.sounds.List().SetVolume(tone, 1.0f);
    tones.sounds.List().SetPan(tone, 0.5f);
    const TMix panned = PlayTone();
    EXPECT_NEAR(Db(Rms(panned, 0) / full), 0.0, 0.05);
    EXPECT_NEAR(Db(Rms(panned, 1) / full), -5.0, 0.05);
}

TEST_F(SoundMixTest, DistanceFadesToSilenceAt350Metres)
{
    PanLawOnly();
    const double full = Rms(PlayTone(), 0);
    tones.sounds.List().SetPosition(tone, CVector3(0.0f, 0.0f, -175.0f), CVector3());
    // Att 0.75: 100 * 16.61 * log10(0.75) = -208 hundredths of dB.
    EXPECT_NEAR(Db(Rms(PlayTone(), 0) / full), -2.08, 0.05);
    tones.sounds.List().SetPosition(tone, CVector3(0.0f, 0.0f, -350.0f), CVector3());
    EXPECT_EQ(Rms(PlayTone(), 0), 0.0);
    EXPECT_EQ(Rms(PlayTone(), 1), 0.0);
}

TEST_F(SoundMixTest, ClosingAtThirtyMetresPerSecondSoundsHigherByTheDopplerRatio)
{
    PanLawOnly();
    const double still = ToneFrequency(PlayTone(), 0);
    EXPECT_NEAR(still, 441.0, 1.0);
    tones.sounds.List().SetPosition(tone, CVector3(0.0f, 0.0f, -100.0f), CVector3(0.0f, 0.0f, 30.0f));
    const double ratio = 346.65 / (346.65 - 30.0);
    EXPECT_NEAR(ToneFrequency(PlayTone(), 0) / still, ratio, 0.003);
    // The listener running away from it by as much lowers it again to (346.65 - 30) / (346.65 - 30).
    tones.sounds.List().SetListener(CVector3(), CVector3(0.0f, 0.0f, 30.0f));
    tones.sounds.List().SetPosition(tone, CVector3(0.0f, 0.0f, -100.0f), CVector3(0.0f, 0.0f, 30.0f));
    EXPECT_NEAR(ToneFrequency(PlayTone(), 0) / still, 1.0, 0.003);
}

TEST_F(SoundMixTest, PositionalPanningPlacesTheSourceWhereItIs)
{
    const double centre = Rms(PlayTone(), 0);
    tones.sounds.List().SetListenerOrientation(CVector3(0.0f, 0.0f, -1.0f), CVector3(0.0f, 1.0f, 0.0f));
    tones.sounds.List().SetPosition(tone, CVector3(0.0f, 0.0f, -10.0f), CVector3());
    const TMix ahead = PlayTone();
    // Ahead it is as loud as without a position (less the 10 m of distance law), on both sides.
    EXPECT_NEAR(Db(Rms(ahead, 0) / centre), Db(std::pow(1.0 - 100.0 / 122500.0, 0.8305)), 0.3);
    EXPECT_NEAR(Db(Rms(ahead, 0) / Rms(ahead, 1)), 0.0, 0.05);
    tones.sounds.List().SetPosition(tone, CVector3(10.0f, 0.0f, -10.0f), CVector3());
    const TMix right = PlayTone();
    EXPECT_GT(Db(Rms(right, 1) / Rms(right, 0)), 10.0);
    // Switched off, only the pan law applies: both sides alike.
    PanLawOnly();
    const TMix plain = PlayTone();
    EXPECT_NEAR(Db(Rms(plain, 0) / Rms(plain, 1)), 0.0, 0.05);
}

TEST_F(SoundMixTest, EngineAtTwentyRevPerSecondIsVoiceZeroAloneAtATenth)
{
    PanLawOnly();
    const double full = AmplitudeAt(PlayTone(), 0, 441.0);
    std::unique_ptr<IEngineSound> engine = tones.sounds.CreateEngineSound();
    ASSERT_NE(engine, nullptr);
    engine->SetState(20.0f, 0.0f, true);
    engine->SetPosition(CVector3(), CVector3());
    engine->Update();
    tones.sounds.Update();
    const auto* voices = dynamic_cast<CEngineSound*>(engine.get());
    const TMix mix = Render(tones.sounds, 1.0);
    // Voice 0 (1000 Hz recorded) plays at 15750 / 22050 of its rate; x = 0.1 is -16.61 dB.
    const double voice0 = AmplitudeAt(mix, 0, 1000.0 * 15750.0 / 22050.0);
    EXPECT_NEAR(Db(voice0 / full), -16.61, 0.2);
    // Voices 1 and 2 (2000 and 3000 Hz recorded) would sound at 354 and 355 Hz.
    EXPECT_LT(AmplitudeAt(mix, 0, 2000.0 * 20.0 / 113.0), full * 1e-3);
    EXPECT_LT(AmplitudeAt(mix, 0, 3000.0 * 20.0 / 169.0), full * 1e-3);

    // Halfway through the hand-over at 3380 rpm: voice 0 at 0.06, voice 1 at 0.35.
    float gains[CEngineSound::kVoiceCount];
    voices->MixGains(3380.0f, gains);
    EXPECT_FLOAT_EQ(gains[0], 0.06f);
    EXPECT_FLOAT_EQ(gains[1], 0.35f);
    // The switch silences it; stopping the engine stops the voices.
    tones.sounds.ToggleEngineSound();
    engine->Update();
    tones.sounds.Update();
    EXPECT_LT(Rms(Render(tones.sounds, 0.2), 0, kRate / 20), 1e-6); // after the library's short fade
    engine->SetState(20.0f, 0.0f, false);
    EXPECT_FALSE(tones.sounds.List().IsPlaying(voices->VoiceHandle(0)));
}

// How often a crash is heard is the collision point's rule (CollisionPointTest); here its
// strength is the volume it is heard at.
TEST_F(SoundMixTest, ACrashIsHeardAtItsStrength)
{
    PanLawOnly();
    tones.sounds.Update();
    tones.sounds.PlayCrash(1.0f, CVector3(), CVector3());
    const double loud = Rms(Render(tones.sounds, 0.04), 0);
    EXPECT_GT(loud, 0.05);
    Render(tones.sounds, 0.05); // to its end
    tones.sounds.PlayCrash(0.5f, CVector3(), CVector3());
    EXPECT_NEAR(Db(Rms(Render(tones.sounds, 0.04), 0) / loud), -5.0, 0.3);
}

TEST(SoundListTest, WithoutADeviceEverythingIsSilentAndSaidOnceAndTheSettingsLive)
{
    TempDataDir data;
    std::filesystem::create_directories(data.dir.Path() / "Output");
    CDiagCapture diag;
    CSoundSystem sounds;
    EXPECT_FALSE(sounds.Create(CSoundSystem::EDevice::kNone));
    EXPECT_EQ(sounds.List().Load("Pip1.wav"), 0);
    sounds.List().Play(0, true);
    sounds.PlayCrash(1.0f, CVector3(), CVector3());
    EXPECT_EQ(sounds.CreateEngineSound(), nullptr);
    sounds.Update();
    EXPECT_EQ(sounds.GetDiagnosticText(), "Sound\n Sound Not Initialized\n");
    // The settings still live in Output/Sound.txt.
    sounds.Settings().globalVolume = 0.3f;
    sounds.Settings().StoreProperties();
    ASSERT_TRUE(sounds.SaveSettings());
    CSoundSystem again;
    again.Create(CSoundSystem::EDevice::kNone);
    EXPECT_FLOAT_EQ(again.Settings().globalVolume, 0.3f);

    // Volumes out of range in the file are brought back into it.
    data.Write("Output/Sound.txt", ".VOLUME_GLOBAL 7\n.VOLUME_ENGINE nan\n.ENABLE_ENGINE_SOUND 0\n");
    CSoundSystem clamped;
    clamped.Create(CSoundSystem::EDevice::kNone);
    EXPECT_FLOAT_EQ(clamped.Settings().globalVolume, 1.0f);
    EXPECT_FLOAT_EQ(clamped.Settings().engineVolume, 1.0f);
    EXPECT_FALSE(clamped.Settings().engineEnabled);
    EXPECT_NE(data.Read("Output/Sound.txt").find(".ENABLE_ENGINE_SOUND"), std::string::npos) << "reading keeps the file";
}

TEST(SoundListTest, NoAudioDeviceReportsItAndRunsSilent)
{
    // OpenAL Soft reads its driver list once per process: the check runs in a child.
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
            CSoundList list;
            const bool opened = list.Init();
            std::exit(!opened && list.Load("Pip1.wav") == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Sound: no audio output device could be opened; the program runs silent");
}
