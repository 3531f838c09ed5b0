// Every string-table identifier the program asks for has an entry in the shipped
// Data/Config/String.txt, read through the program's own loader. A missing entry shows as an
// empty label or help line, which no other test would notice.
//
// The identifiers come from two places: the literals in src/ ("IDS_MENU_FLY_S", also the
// resolving spelling "ICS_..."), and the ones the code puts together at run time (the commands
// and their groups, the labels of every property set, the input-map editor's channel rows).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/Diagnostics.h"
#include "data/CFile.h"
#include "data/CProperty.h"
#include "data/CPropertySet.h"
#include "data/StringTable.h"
#include "env/CPropertySet_Wind.h"
#include "input/InputMenuModels.h"
#include "input/UserCommands.h"
#include "model/CPart.h"
#include "model/PartClassTable.h"
#include "model/PartHelp.h"
#include "support/TempDir.h"

namespace
{
class ShippedStringTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitBaseDirectory(); // the working directory is the source tree, which holds Data/
        ASSERT_TRUE(LoadStringTable());
        ASSERT_GT(StringTableCount(), 0);
    }
    void TearDown() override { FreeStringTable(); }

    // A set's labels are looked up when it is built, so sets are built after the table loaded.
    static void ExpectLabels(const CPropertySet& set, const std::string& owner)
    {
        EXPECT_STRNE(set.Label().c_str(), "") << owner << ": IDS_" << set.SetName() << "_S";
        EXPECT_STRNE(set.LongText().c_str(), "") << owner << ": IDS_" << set.SetName() << "_L";
        for (int i = 0; i < set.PropertyCount(); ++i)
        {
            const CProperty& property = *set.PropertyAt(i);
            const std::string id = "IDS_" + set.SetName() + "__" + property.Key();
            EXPECT_STRNE(property.Label().c_str(), "") << owner << ": " << id << "_S";
            EXPECT_STRNE(property.LongText().c_str(), "") << owner << ": " << id << "_L";
        }
    }

    ScopedWorkingDir cwd{SourceDir()};
};

TEST_F(ShippedStringTable, HoldsEveryIdentifierWrittenInTheSources)
{
    // A whole identifier in quotes; one ending in '_' is a prefix the code completes, and those
    // are checked by the run-time cases below.
    const std::regex literal("\"(I[CD]S_[A-Za-z0-9_]*[A-Za-z0-9])\"");
    std::set<std::string> ids;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SourceDir() / "src"))
    {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
            ids.insert((*it)[1].str());
    }
    // The sources ask for dozens: finding few means the scan, not the table, is broken.
    ASSERT_GT(ids.size(), 30u);
    for (int row = 1; row <= kChannelRowCount; ++row) // the input-map editor's rows, put together at run time
        ids.insert(StringPrintf("IDS_IM_CHANNEL_%i", row));
    for (const std::string& id : ids)
        EXPECT_TRUE(StringTableHas(id.c_str())) << id << " is asked for in src/ but missing from String.txt";
}

TEST_F(ShippedStringTable, HoldsTheCommandsAndTheirGroups)
{
    // Command 0 has fixed texts of its own; the others are menu entries and key-definition rows.
    for (uint32_t command = 1; command < kUserCommandCount; ++command)
    {
        EXPECT_STRNE(UserCommandShortText(command), "") << "IDS_" << UserCommandName(command) << "_S";
        EXPECT_STRNE(UserCommandLongText(command), "") << "IDS_" << UserCommandName(command) << "_L";
    }
    for (uint32_t group = 0; group < kUserCommandGroupCount; ++group)
    {
        EXPECT_STRNE(UserCommandGroupShortText(group), "") << "group " << group;
        EXPECT_STRNE(UserCommandGroupLongText(group), "") << "group " << group;
    }
}

// Every property set has its labels; PartHelp.txt is built from the part classes: every key of
// every part type is listed in its type's section with its purpose.
TEST_F(ShippedStringTable, HoldsTheLabelsOfEveryPropertySetAndPartHelpListsThem)
{
    ExpectLabels(CPropertySet_Wind(), "wind");
    const std::string help = BuildPartHelp();
    for (int index = 0; index < PART_CLASS_COUNT; ++index)
    {
        const std::unique_ptr<CPart> part = CreatePart(index);
        ASSERT_TRUE(part) << index;
        const std::string head = "\n." + std::string(GetPartClass(index)->blockToken) + " Name";
        const size_t begin = help.find(head);
        ASSERT_NE(begin, std::string::npos) << head;
        const std::string section = help.substr(begin, help.find("\n\n.", begin + 1) - begin);
        const CPropertySet& set = part->GetPropertySet();
        ExpectLabels(set, head);
        EXPECT_NE(section.find(set.LongText()), std::string::npos) << head << ": no purpose line";
        for (int i = 0; i < set.PropertyCount(); ++i)
        {
            const CProperty& property = *set.PropertyAt(i);
            const size_t at = section.find("\n  ." + property.Key() + " ");
            ASSERT_NE(at, std::string::npos) << head << " lacks ." << property.Key();
            const std::string line = section.substr(at + 1, section.find('\n', at + 1) - at - 1);
            EXPECT_NE(line.find(property.LongText()), std::string::npos) << line;
        }
    }
}
} // namespace
