#include "data/CStringList.h"

#include <gtest/gtest.h>

#include "support/DataDir.h"
#include "support/DiagCapture.h"

namespace
{
std::vector<std::string> Items(const CStringList& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.emplace_back(list.Get(i));
    return items;
}
} // namespace

TEST(StringList, StaticFindAndGet)
{
    const char* const names[] = {"UC_APP_QUIT", "UC_FLY_RESET", "UC_APP_QUIT"};
    const CStringListStatic list(names, 3);
    EXPECT_EQ(list.Find("UC_APP_QUIT"), 0);
    EXPECT_EQ(list.Find("UC_FLY_RESET"), 1);
    EXPECT_EQ(list.Find("uc_fly_reset"), -1);
    EXPECT_EQ(list.Find(nullptr), -1);
    EXPECT_STREQ(list.Get(3), "");
    EXPECT_STREQ(list.Get(-1), "");
}

TEST(StringList, DynamicEditing)
{
    CDiagCapture quiet;
    CStringListDynamic list;
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("b"), 1);
    EXPECT_EQ(list.Add("a"), 2);
    list.Set(1, "d");
    list.Set(7, "ignored");
    EXPECT_EQ(list.Find("d"), 1);
    EXPECT_STREQ(list.Get(3), "");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, SortIgnoresCase)
{
    CStringListDynamic list;
    for (const char* name : {"trainer.mod", "Glider.mod", "a_b.mod", "ab.mod", "Zlin.mod", "AB.mod"})
        list.Add(name);
    list.Sort();
    // '_' sorts after the upper-case letters but before the lower-case ones they are folded to.
    EXPECT_EQ(Items(list),
              (std::vector<std::string>{"a_b.mod", "ab.mod", "AB.mod", "Glider.mod", "trainer.mod", "Zlin.mod"}));
}

TEST(StringList, AddFilesMatchesWildcards)
{
    TempDataDir dir;
    for (const char* name : {"Trainer.mod", "glider.MOD", "a.mod.bak", "readme", "x1.afl", "x22.afl"})
        dir.Write(std::string("Data/Model/") + name, "");
    dir.Write("Data/Model/Folder.mod/inner.mod", ""); // folders are not files

    struct Case { const char* pattern; std::vector<std::string> expected; };
    const Case cases[] = {
        {"*.mod", {"glider.MOD", "Trainer.mod"}},
        {"x?.afl", {"x1.afl"}},
        {"x*.afl", {"x1.afl", "x22.afl"}},
        {"*.*", {"a.mod.bak", "glider.MOD", "readme", "Trainer.mod", "x1.afl", "x22.afl"}},
        {"*mod*", {"a.mod.bak", "glider.MOD", "Trainer.mod"}},
        {"readme", {"readme"}},
        {"*.txt", {}},
    };
    for (const Case& c : cases)
    {
        CStringListDynamic list;
        EXPECT_EQ(list.AddFiles(DF_MODEL, c.pattern), static_cast<int>(c.expected.size())) << c.pattern;
        list.Sort();
        EXPECT_EQ(Items(list), c.expected) << c.pattern;
    }
    CDiagCapture quiet;
    CStringListDynamic none;
    EXPECT_EQ(none.AddFiles(DF_AIRFOIL, "*.afl"), 0) << "a missing folder lists nothing";
}
