#include <gtest/gtest.h>

#include <map>
#include <string>

#include "data/CTokenFile.h"
#include "input/CInputMapSet.h"
#include "input/IAxisSource.h"
#include "input/InputMenuModels.h"
#include "input/InputTestSupport.h"
#include "model/CVariable.h"
#include "model/CVariableTable.h"

namespace
{
class CAxisTable : public IAxisSource
{
public:
    float GetAxisValue(int axisId) const override
    {
        const auto it = values.find(axisId);
        return it != values.end() ? it->second : 0.0f;
    }
    std::map<int, float> values;
};

// The nine channel variables of the configuration.
struct CChannels
{
    CChannels()
    {
        for (int i = 1; i <= 9; ++i)
            table.Add("V_CH" + std::to_string(i));
    }
    float Value(int channel) const { return table.Find("V_CH" + std::to_string(channel))->GetValue(); }
    CVariable* Var(int channel) const { return table.Find("V_CH" + std::to_string(channel)); }
    CVariableTable table{"Input"};
};
} // namespace

TEST(InputMap, AppliesLinksWithReverseAndTheFrontLinkWins)
{
    CChannels channels;
    CAxisTable axes;
    axes.values[AXIS_JOYSTICK_Y] = 1.0f; // pushed fully forward
    axes.values[AXIS_MOUSE_X] = 0.25f;
    axes.values[AXIS_KEYBOARD_1] = -0.5f;
    CInputMap map;
    map.AddLink(channels.Var(2), "V_CH2", AXIS_JOYSTICK_Y, true);
    map.AddLink(channels.Var(1), "V_CH1", AXIS_MOUSE_X, false);    // front: wins
    map.AddLink(channels.Var(1), "V_CH1", AXIS_KEYBOARD_1, false); // same variable, later
    map.AddLink(channels.Var(3), "V_CH3", AXIS_UNKNOWN, true);     // "none" writes 0
    map.AddLink(nullptr, "V_MISSING", AXIS_MOUSE_X, false);         // skipped
    channels.Var(3)->SetValue(0.9f);
    map.Apply(axes);
    EXPECT_FLOAT_EQ(channels.Value(2), -1.0f);
    EXPECT_FLOAT_EQ(channels.Value(1), 0.25f);
    EXPECT_FLOAT_EQ(channels.Value(3), 0.0f);
}

TEST(InputMap, SetAddsUpToTwentyDeletesAndSelects)
{
    CInputMapSet set;
    for (int i = 0; i < CInputMapSet::kMaxMaps; ++i)
    {
        ASSERT_EQ(set.Add(), i);
        set.Get(i)->SetName("Map " + std::to_string(i));
    }
    EXPECT_EQ(set.Add(), -1);
    set.Select(19);
    set.Delete(3);
    EXPECT_EQ(set.GetCount(), 19);
    EXPECT_EQ(set.Get(3)->GetName(), "Map 4"); // moved down one place
    EXPECT_EQ(set.GetSelectedIndex(), 18);      // kept on a map that exists
    EXPECT_FALSE(set.Delete(-1));
    EXPECT_FALSE(set.Delete(19));
    EXPECT_EQ(set.GetCount(), 19);
    while (set.GetCount() > 1)
        ASSERT_TRUE(set.Delete(0));
    EXPECT_FALSE(set.Delete(0)) << "the last input map was deleted";
    EXPECT_EQ(set.GetCount(), 1);
}

TEST(InputMap, ReadWriteRoundTripInTheFileForm)
{
    CChannels channels;
    CTokenFile file;
    ASSERT_TRUE(file.LoadText(".SELECTED_INPUT_MAP  \"mouse\"\n"
                              ".INPUT_MAP \n{\n  .NAME  \"Keyboard\"\n"
                              "  .LINK {  .VARIABLE V_CH1  .INPUT_AXIS AXIS_KEYBOARD_1  .REVERSE 0  }\n}\n"
                              ".INPUT_MAP \n{\n  .NAME  \"Mouse\"\n  .DESCRIPTION  \"Mouse flying\"\n"
                              "  .LINK {  .VARIABLE V_CH2  .INPUT_AXIS AXIS_MOUSE_Y  .REVERSE 1  }\n"
                              "  .LINK {  .VARIABLE V_CH9  .INPUT_AXIS AXIS_UNKNOWN  }\n"
                              "  .LINK {  .VARIABLE V_OTHER  .INPUT_AXIS AXIS_MOUSE_X  .REVERSE 0  }\n}\n",
                              "Config.txt"));
    CInputMapSet set;
    std::string message;
    ASSERT_TRUE(set.Read(file, channels.table, message)) << message;
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetSelectedIndex(), 1); // names compare ignoring case
    // What was read is what is written below; the variables are bound where they exist.
    const CInputMap& mouse = *set.Get(1);
    ASSERT_EQ(mouse.GetLinkCount(), 3);
    EXPECT_EQ(mouse.GetLink(0).variable, channels.Var(2));
    EXPECT_EQ(mouse.GetLink(2).variable, nullptr); // not in the "Input" table

    const std::string text = WrittenText([&](CFile& out) { set.Write(out); });
    EXPECT_EQ(text, "//------------\r\n// Input Maps\r\n//------------\r\n"
                    ".SELECTED_INPUT_MAP  \"Mouse\"\r\n\r\n\r\n"
                    ".INPUT_MAP \r\n{\r\n  .NAME  \"Keyboard\"\r\n  .DESCRIPTION  \"\"\r\n"
                    "  .LINK {  .VARIABLE V_CH1  .INPUT_AXIS AXIS_KEYBOARD_1  .REVERSE 0  }\r\n}\r\n\r\n"
                    ".INPUT_MAP \r\n{\r\n  .NAME  \"Mouse\"\r\n  .DESCRIPTION  \"Mouse flying\"\r\n"
                    "  .LINK {  .VARIABLE V_CH2  .INPUT_AXIS AXIS_MOUSE_Y  .REVERSE 1  }\r\n"
                    "  .LINK {  .VARIABLE V_CH9  .INPUT_AXIS AXIS_UNKNOWN  .REVERSE 0  }\r\n"
                    "  .LINK {  .VARIABLE V_OTHER  .INPUT_AXIS AXIS_MOUSE_X  .REVERSE 0  }\r\n}\r\n\r\n");
}

TEST(InputMap, BrokenSectionsFailWithAMessage)
{
    struct Row { const char* text; const char* message; int mapsRead; };
    const Row rows[] = {
        {".INPUT_MAP { .NAME \"Joy\" .LINK { .VARIABLE V_CH1 .INPUT_AXIS AXIS_JOYSTICK_W .REVERSE 0 } }\n"
         ".INPUT_MAP { .NAME \"Never\" }\n",
         "Config.txt: INPUT_MAP \"Joy\": LINK 1: unknown INPUT_AXIS 'AXIS_JOYSTICK_W'", 1},
        {".INPUT_MAP { .NAME \"A\" }\n.INPUT_MAP { .NAME \"B\" .LINK { .VARIABLE V_CH1 .REVERSE 1 } }\n",
         "Config.txt: INPUT_MAP \"B\": LINK 1: no INPUT_AXIS", 2},
        {".SELECTED_INPUT_MAP \"A\"\n", "Config.txt: no INPUT_MAP block", 0},
        {".INPUT_MAP { .NAME \"C\" .LINK { .VARIABLE V_CH1 .INPUT_AXIS axis_mouse_x } }\n",
         "Config.txt: INPUT_MAP \"C\": LINK 1: unknown INPUT_AXIS 'axis_mouse_x'", 1}, // tokens are exact
    };
    for (const Row& row : rows)
    {
        CChannels channels;
        CTokenFile file;
        ASSERT_TRUE(file.LoadText(row.text, "Config.txt"));
        CInputMapSet set;
        std::string message;
        EXPECT_FALSE(set.Read(file, channels.table, message)) << row.text;
        EXPECT_EQ(message, row.message);
        EXPECT_EQ(set.GetCount(), row.mapsRead);
        if (row.mapsRead > 0 && set.Get(row.mapsRead - 1)->GetLinkCount() > 0)
        {
            EXPECT_FALSE(set.Get(row.mapsRead - 1)->IsValid());
            EXPECT_EQ(set.Get(row.mapsRead - 1)->GetLink(0).axis, AXIS_UNKNOWN);
        }
    }
}

TEST(InputMap, EditorRowsRoundTrip)
{
    CChannels channels;
    CInputMap map;
    map.AddLink(channels.Var(4), "V_CH4", AXIS_JOYSTICK_RZ, true);
    map.AddLink(channels.Var(4), "V_CH4", AXIS_MOUSE_X, false); // hidden behind the front link
    map.AddLink(nullptr, "V_SPOILER", AXIS_MOUSE_Z, false);    // not a channel: not shown
    std::vector<SChannelRow> rows = ChannelRowsFromMap(map);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[3].axis, AXIS_JOYSTICK_RZ);
    EXPECT_TRUE(rows[3].reverse);
    EXPECT_EQ(rows[0].axis, AXIS_UNKNOWN);

    rows[8].axis = AXIS_RADIOCONTROL_CH9;
    ApplyChannelRows(map, "Edited", "desc", rows, channels.table);
    EXPECT_EQ(map.GetName(), "Edited");
    ASSERT_EQ(map.GetLinkCount(), 2);
    EXPECT_EQ(map.GetLink(0).variable, channels.Var(4));
    EXPECT_EQ(map.GetLink(1).variable, channels.Var(9));
    EXPECT_EQ(DescribeMapLinks(map), "V_CH4  Joystick RZ\nV_CH9  RadioTX CH9");

    CInputMapSet set;
    set.Add();
    set.Get(0)->CopyFrom(map);
    EXPECT_EQ(CopyMap(set, 0, "Copy of"), 1);
    EXPECT_EQ(set.Get(1)->GetName(), "Copy of Edited");
    EXPECT_EQ(set.Get(1)->GetLinkCount(), 2);
    EXPECT_EQ(CopyMap(set, 5, "Copy of"), -1);
}
