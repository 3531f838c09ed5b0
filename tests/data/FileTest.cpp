#include "data/CFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/DataDir.h"

namespace fs = std::filesystem;

TEST(File, WriteAndLength)
{
    TempDir dir;
    const std::string path = (dir.Path() / "out.txt").string();
    {
        auto file = OpenFile(path, FM_WRITE);
        ASSERT_NE(file, nullptr);
        file->WriteLine("  .MASS 1.5   //Mass");
        file->WriteFormat("%s=%d", "n", 42);
    }
    EXPECT_EQ(dir.Read("out.txt"), "  .MASS 1.5   //Mass\r\nn=42");

    CFileDisk file;
    ASSERT_TRUE(file.Open(path, FM_READ));
    EXPECT_EQ(file.Length(), 26);
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.Close()) << "reports whether it was open";
}

TEST(File, OpenFailures)
{
    TempDir dir;
    EXPECT_EQ(OpenFile((dir.Path() / "absent.txt").string(), FM_READ), nullptr);
    EXPECT_EQ(OpenFile(dir.Write("x.txt", "x"), 3), nullptr);
    EXPECT_EQ(OpenFile(dir.Path().string(), FM_READ), nullptr) << "a folder is no file";
    std::string text = "stale";
    EXPECT_FALSE(ReadWholeFile((dir.Path() / "absent.txt").string(), text));
    EXPECT_TRUE(text.empty());
    // Opening a FIFO for reading would wait for a writer forever.
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(fifo, text));
}

TEST(File, ReadWholeFileKeepsEveryByte)
{
    TempDir dir;
    const std::string content("a\0b\r\n", 5);
    const std::string path = dir.Write("bin.dat", content);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text));
    EXPECT_EQ(text, content);
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadWholeFileBinary(path, bytes));
    EXPECT_EQ(bytes.size(), 5u);
    ASSERT_TRUE(ReadWholeFile(dir.Write("empty.txt", ""), text));
    EXPECT_TRUE(text.empty());
}

TEST(File, DataPathsAndFolders)
{
    TempDir dir;
    {
        DataDirAt here(dir.Path());
        const std::string base = BaseDirectory();
        ASSERT_FALSE(base.empty());
        EXPECT_EQ(base.back(), '/');
        EXPECT_EQ(fs::path(base), fs::current_path() / "");
        EXPECT_EQ(BuildDataPath(DF_MODEL, "Sub\\Trainer.mod"), base + "Data/Model/Sub/Trainer.mod");
        EXPECT_EQ(BuildDataPath(DF_DEVELOPER_OUTPUT, "PartHelp.txt"), base + "../DeveloperOutput/PartHelp.txt");
        EXPECT_STREQ(DataFolderName(DF_COUNT), "");

        dir.Write("Output/Config.tmp", "new");
        EXPECT_TRUE(RenameDataFile("Config.tmp", "Config.txt", DF_OUTPUT));
        EXPECT_EQ(dir.Read("Output/Config.txt"), "new");
        EXPECT_FALSE(RenameDataFile("Config.tmp", "Config.txt", DF_OUTPUT));
        EXPECT_TRUE(DeleteDataFile("Config.txt", DF_OUTPUT));
        EXPECT_FALSE(DeleteDataFile("Config.txt", DF_OUTPUT));
    }
}

TEST(File, PlainDataNames)
{
    struct Case { const char* name; bool plain; };
    const Case cases[] = {
        {"Trainer.mod", true},   {"Sub\\Wing.txt", true}, {"a/b/c.txt", true}, {"..hidden", true},
        {"", false},             {"../x.txt", false},     {"a\\..\\..\\x", false}, {"/etc/passwd", false},
        {"\\\\server\\x", false}, {"C:\\x.txt", false},   {"a/..", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlainDataName(c.name), c.plain) << c.name;
}
