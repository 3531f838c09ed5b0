// Model operations (names, empty slots, save), the editor core (apply through the scratch file,
// undo and redo) and the graphic view's arithmetic; the round trip of the shipped models.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "editor/CEditAxisView.h"
#include "editor/CModelEditHistory.h"
#include "editor/CModelEditor.h"
#include "data/CPropertySet.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/ModelFileName.h"
#include "model/PartClassTable.h"
#include "support/DataDir.h"
#include "support/DiagCapture.h"

namespace fs = std::filesystem;

namespace
{
const char* const kModel = R"(
.MODEL_INFO M { }
.GRAVITY Gravity { }
.SERVO Elevator { .VARIABLE V_CH2 .POSITION 0 0 -0.2 .MASS 0.02 }
.SERVO Rudder { .VARIABLE V_CH4 .POSITION 0 0 0.1 .MASS 0.02 }
.BATTERY Pack { .POSITION 0 0 -0.3 .MASS 0.1 }
.VARIABLE Mix { }
.FUNCTION Mixer
{
  .OPS PUSH Mix PUSH 0.5 MUL POP Mix
}
)";

// The flying model of a test, replaced the way the flight screen replaces it.
struct TFlyingModel
{
    std::unique_ptr<CModel> model;
    int reloads = 0;
    CModel* Reload(const std::string& text, const std::string& fileName)
    {
        ++reloads;
        model = std::make_unique<CModel>();
        if (!model->LoadModelText(text, fileName))
            model.reset();
        return model.get();
    }
};

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.Write("Data/Model/Plane.mod", kModel);
        fs::create_directories(data.dir.Path() / "Output");
        flying.model = std::make_unique<CModel>();
        ASSERT_TRUE(flying.model->LoadModel("Plane.mod"));
    }
    CModelEditor MakeEditor(const std::string& scratch)
    {
        CModelEditor editor([this] { return flying.model.get(); },
                            [this](const std::string& t, const std::string& f) { return flying.Reload(t, f); },
                            scratch);
        editor.Reset();
        return editor;
    }
    int IndexOf(const std::string& name) const
    {
        for (int i = 0; i < flying.model->GetPartCount(); ++i)
            if (flying.model->GetPart(i) && flying.model->GetPart(i)->GetName() == name)
                return i;
        return -1;
    }
    TempDataDir data;
    TFlyingModel flying;
};
} // namespace

TEST(ModelFileNameTest, TypedNamesArePlainModelFilesOrRefused)
{
    // name: null: refused
    const struct { const char* typed; const char* name; } cases[] = {
        {"Glider", "Glider.mod"},   {"Glider.mod", "Glider.mod"}, {"  My plane ", "My plane.mod"},
        {"a.b", "a.b.mod"},         {"", nullptr},                {"   ", nullptr},
        {"../Config", nullptr},     {"..", nullptr},              {".", nullptr},
        {"sub/x.mod", nullptr},     {"/etc/passwd", nullptr},     {"C:x", nullptr},
        {"a\\b", nullptr},          {"a\nb", nullptr},
    };
    for (const auto& c : cases)
    {
        std::string name, error;
        const bool ok = MakeModelFileName(c.typed, name, error);
        EXPECT_EQ(ok, c.name != nullptr) << c.typed;
        if (c.name)
            EXPECT_EQ(name, c.name) << c.typed;
        else
            EXPECT_FALSE(error.empty()) << c.typed;
    }
}

TEST_F(EditorTest, NewPartsGetDistinctNamesAndRenamesAppendUnderscores)
{
    CModelEditor editor = MakeEditor(BuildDataPath(DF_OUTPUT, "scratch.tmp"));
    const int slots = flying.model->GetPartCount();
    ASSERT_TRUE(editor.AddPart(PART_SERVO));
    ASSERT_TRUE(editor.AddPart(PART_SERVO));
    EXPECT_GE(IndexOf("SERVO" + std::to_string(slots)), 0);
    EXPECT_GE(IndexOf("SERVO" + std::to_string(slots + 1)), 0);
    // The new part is selected.
    EXPECT_EQ(flying.model->GetPart(editor.Selected())->GetName(), "SERVO" + std::to_string(slots + 1));

    editor.Select(IndexOf("Rudder"));
    EXPECT_EQ(editor.RenameSelected("Elevator"), "Elevator_");
    editor.Select(IndexOf("Pack"));
    EXPECT_EQ(editor.RenameSelected("Elevator"), "Elevator__");
    EXPECT_EQ(flying.model->UniquePartName("Elevator", flying.model->GetPart(IndexOf("Elevator"))), "Elevator");
    // The model info is found by its name alone: it keeps it and stays.
    editor.Select(IndexOf("M"));
    EXPECT_EQ(editor.RenameSelected("Gravity"), "M");
    EXPECT_FALSE(editor.DeleteSelected());
    EXPECT_GE(IndexOf("M"), 0);
}

TEST_F(EditorTest, SteppingSkipsEmptySlotsAndStaysAtTheEnds)
{
    CModel& model = *flying.model;
    const int elevator = IndexOf("Elevator");
    const int rudder = IndexOf("Rudder");
    const int mix = IndexOf("Mix"); // parts stand in class order: the servos, then the variable
    ASSERT_EQ(mix, rudder + 1);
    ASSERT_TRUE(model.DeletePart(rudder));
    EXPECT_EQ(model.GetPart(rudder), nullptr);
    EXPECT_EQ(model.NextPart(elevator), mix);
    EXPECT_EQ(model.PrevPart(mix), elevator);
    EXPECT_EQ(model.PrevPart(0), -1);
    EXPECT_EQ(model.NextPart(model.GetPartCount() - 1), -1);
    EXPECT_FALSE(model.DeletePart(rudder));
    model.UpdateModel(0.01f); // a frame with a hole in the list

    CModelEditor editor = MakeEditor(BuildDataPath(DF_OUTPUT, "scratch.tmp"));
    editor.Select(0);
    editor.SelectPrev();
    EXPECT_EQ(editor.Selected(), 0);
    editor.Select(rudder); // an empty slot selects the part below it
    EXPECT_EQ(editor.Selected(), elevator);
}

TEST_F(EditorTest, ApplyGoesThroughTheScratchFileAndKeepsTheFileName)
{
    const std::string scratch = BuildDataPath(DF_OUTPUT, "scratch.tmp");
    CModelEditor editor = MakeEditor(scratch);
    editor.Select(IndexOf("Rudder"));
    ASSERT_TRUE(editor.DeleteSelected());
    EXPECT_EQ(flying.reloads, 1);
    EXPECT_EQ(IndexOf("Rudder"), -1);
    EXPECT_EQ(flying.model->GetFileName(), "Plane.mod");
    EXPECT_TRUE(fs::exists(scratch));
    // Nothing lands in the pilot's model folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(data.dir.Path() / "Data" / "Model"), fs::directory_iterator()), 1);
    ASSERT_TRUE(flying.model->SaveModel(flying.model->GetFileName()));
    EXPECT_EQ(data.Read("Data/Model/Plane.mod").find("Rudder"), std::string::npos);
}

TEST_F(EditorTest, AScratchFileThatCannotBeWrittenReloadsNothingAndKeepsTheModel)
{
    CDiagCapture diag;
    CModelEditor editor = MakeEditor((data.dir.Path() / "NoSuchFolder" / "scratch.tmp").string());
    const std::string before = flying.model->SaveText();
    editor.Select(IndexOf("Rudder"));
    EXPECT_FALSE(editor.DeleteSelected());
    EXPECT_FALSE(editor.AddPart(PART_SERVO));
    EXPECT_NE(editor.GetError().find("cannot be written"), std::string::npos);
    ASSERT_NE(flying.model, nullptr);
    EXPECT_EQ(flying.model->SaveText(), before);
    EXPECT_EQ(flying.model->GetFileName(), "Plane.mod");
    EXPECT_EQ(editor.History().UndoCount(), 0);
}

TEST_F(EditorTest, UndoAndRedoWalkTheEditsInOrderAtLeastFiftyDeep)
{
    CModelEditor editor = MakeEditor(BuildDataPath(DF_OUTPUT, "scratch.tmp"));
    auto massOf = [&](const std::string& name) {
        return flying.model->GetPart(IndexOf(name))->GetPropertySet().FindProperty("MASS")->GetFloat();
    };
    // 60 property edits, then a structural one.
    for (int i = 1; i <= 60; ++i)
    {
        flying.model->GetPart(IndexOf("Pack"))->GetPropertySet().FindProperty("MASS")->SetFloat(0.1f + i * 0.01f);
        editor.PropertyChanged();
    }
    editor.Select(IndexOf("Rudder"));
    ASSERT_TRUE(editor.DeleteSelected());
    ASSERT_TRUE(editor.Undo());
    EXPECT_GE(IndexOf("Rudder"), 0);
    EXPECT_FLOAT_EQ(massOf("Pack"), 0.70f);
    for (int i = 59; i >= 10; --i)
    {
        ASSERT_TRUE(editor.Undo()) << i;
        EXPECT_FLOAT_EQ(massOf("Pack"), 0.1f + i * 0.01f) << i;
    }
    ASSERT_TRUE(editor.Redo());
    EXPECT_FLOAT_EQ(massOf("Pack"), 0.21f);
    EXPECT_EQ(flying.model->GetFileName(), "Plane.mod");
    // A new edit drops what could be redone.
    flying.model->GetPart(IndexOf("Pack"))->GetPropertySet().FindProperty("MASS")->SetFloat(1.0f);
    editor.PropertyChanged();
    EXPECT_FALSE(editor.Redo());

    CModelEditHistory history(3);
    for (const char* text : {"a", "b", "c", "d"})
        history.Push(text);
    std::string out;
    EXPECT_EQ(history.UndoCount(), 3);
    ASSERT_TRUE(history.Undo("e", out));
    EXPECT_EQ(out, "d");
    ASSERT_TRUE(history.Redo("d", out));
    EXPECT_EQ(out, "e");
}

TEST_F(EditorTest, ASaveThatCannotWriteSaysSoAndKeepsTheOldFile)
{
    CDiagCapture diag;
    const std::string old = data.Read("Data/Model/Plane.mod");
    // The temporary file's place is taken by a folder: nothing can be written there.
    fs::create_directories(data.dir.Path() / "Data" / "Model" / "Plane.mod.tmp");
    flying.model->DeletePart(IndexOf("Rudder"));
    EXPECT_FALSE(flying.model->SaveModel("Plane.mod"));
    EXPECT_EQ(data.Read("Data/Model/Plane.mod"), old);
    for (const char* refused : {"../Plane.mod", "", "sub/x.mod"})
        EXPECT_FALSE(flying.model->SaveModel(refused)) << refused;
    EXPECT_FALSE(fs::exists(data.dir.Path() / "Data" / "Plane.mod"));
}

TEST(EditAxisViewTest, ZoomStaysInItsLimitsAndDragsSnapToTheGrid)
{
    CEditAxisView view(CEditAxisView::TOP);
    for (int i = 0; i < 200; ++i)
        view.ZoomIn();
    EXPECT_FLOAT_EQ(view.Scale(), CEditAxisView::kMinScale);
    for (int i = 0; i < 200; ++i)
        view.ZoomOut();
    EXPECT_FLOAT_EQ(view.Scale(), CEditAxisView::kMaxScale);

    const struct { float value, grid, snapped; } snaps[] = {{0.14f, 0.1f, 0.1f}, {0.15f, 0.1f, 0.2f}, {-0.15f, 0.1f, -0.2f}, {-0.04f, 0.1f, 0.0f},
                 {2.5f, 1.0f, 3.0f},  {-2.5f, 1.0f, -3.0f}};
    for (const auto& s : snaps)
        EXPECT_NEAR(CEditAxisView::Snap(s.value, s.grid), s.snapped, 1e-6f) << s.value;

    // Scale 1 m on a 200-pixel view: 1 cm per pixel, grid 0.1 m. The left view maps +Z to the
    // right and +Y up.
    CEditAxisView left(CEditAxisView::LEFT);
    left.SetScale(1.0f);
    EXPECT_FLOAT_EQ(left.MoveStep(200), 0.01f);
    EXPECT_FLOAT_EQ(left.GridStep(), 0.1f);
    const CVector3 moved = left.Drag(CVector3(0.3f, 0.0f, 0.0f), 16.0f, -4.0f, 200);
    EXPECT_NEAR(moved.x, 0.3f, 1e-6f); // the axis across the view is kept
    EXPECT_NEAR(moved.z, 0.2f, 1e-6f);
    EXPECT_NEAR(moved.y, 0.0f, 1e-6f);
}

TEST(EditAxisViewTest, TheOrthographicCameraPutsModelPointsUnderTheirOverlayPixels)
{
    // A 300 x 200 view at (40, 30) whose overlay centre sits 8 pixels below the rectangle's
    // (title bar), panned off the origin: the 3D picture must line up with grid and icons.
    const CVector3 point(0.31f, -0.12f, -0.47f);
    for (int i = 0; i < CEditAxisView::COUNT; ++i)
    {
        CEditAxisView view(i);
        view.SetScale(0.8f);
        view.SetCentre(CVector3(0.05f, 0.1f, -0.2f));
        const CMatrix3 axes = view.CameraAxes();
        EXPECT_NEAR(axes.row[0].Cross(axes.row[1]).Dot(axes.row[2]), 1.0f, 1e-6f) << i; // a rotation
        float left = 0, right = 0, bottom = 0, top = 0;
        view.OrthoExtents(40, 30, 300, 200, 190.0f, 138.0f, left, right, bottom, top);
        const CVector3 d = point - view.Centre();
        const float px = 40.0f + (d.Dot(axes.row[0]) - left) / (right - left) * 300.0f;
        const float py = 30.0f + (top - d.Dot(axes.row[1])) / (top - bottom) * 200.0f;
        float sx = 0.0f, sy = 0.0f;
        view.ToScreen(point, 190.0f, 138.0f, 200, sx, sy);
        EXPECT_NEAR(px, sx, 1e-3f) << i;
        EXPECT_NEAR(py, sy, 1e-3f) << i;
    }
}

namespace
{
std::string RunFdm(const std::string& args)
{
    std::string out;
    FILE* pipe = popen((std::string(KESTRO_FDM_PATH) + " " + args + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}
} // namespace

TEST(ModelRoundTripTest, EveryShippedModelSavedAndLoadedFliesTheSame)
{
    const fs::path source = fs::path(KESTRO_SOURCE_DIR) / "Data";
    TempDataDir data;
    fs::copy(source, data.dir.Path() / "Data", fs::copy_options::recursive);
    for (const char* name : {"Trainer", "Glider", "Delta"})
    {
        CModel model;
        {
            CDiagCapture quiet;
            ASSERT_TRUE(model.LoadModel(std::string(name) + ".mod")) << name;
        }
        const std::string copy = std::string("RoundTrip") + name + ".mod";
        ASSERT_TRUE(model.SaveModel(copy)) << name;
        const std::string dataDir = (data.dir.Path() / "Data").string();
        auto fly = [&](const std::string& file, const char* csv) {
            const std::string csvPath = (data.dir.Path() / csv).string();
            std::string out = RunFdm("--data " + dataDir + " --model " + file +
                                  " --seconds 30 --ramp V_CH3=-1:1:0.5:1.5 --set V_CH2=0.1 --report --csv " + csvPath);
            std::ifstream in(csvPath);
            std::stringstream rows;
            rows << in.rdbuf();
            // The report names the file; everything else must match.
            out = std::regex_replace(out, std::regex(file), "MODEL");
            out = std::regex_replace(out, std::regex("\"wall_seconds\":[^,]*,\"real_time_factor\":[^,]*,"), "");
            return out + rows.str();
        };
        const std::string original = fly(std::string(name) + ".mod", "a.csv");
        const std::string saved = fly(copy, "b.csv");
        EXPECT_GT(original.size(), 1000u) << name;
        EXPECT_TRUE(original == saved) << name << ": the saved copy flies differently";
    }
}
