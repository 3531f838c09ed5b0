// The switch point of the process manager: what each process sees, in which order, in the frame
// a switch was requested.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/CProcessManager.h"
#include "support/InputEvents.h"

namespace
{
// Writes every call into a shared log as "<name>.<call>".
class CLoggingProcess : public CProcess
{
public:
    CLoggingProcess(std::string name, std::vector<std::string>& log, int mouseResult = 0)
        : m_name(std::move(name)), m_log(log), m_mouseResult(mouseResult)
    {
    }
    void Start() override { m_log.push_back(m_name + ".Start"); }
    void End() override { m_log.push_back(m_name + ".End"); }
    int OnEvent(const CInputEvent& event) override
    {
        m_log.push_back(m_name + ".OnEvent");
        return 0;
    }
    int OnMouseButton(const CInputEvent& event) override
    {
        m_log.push_back(m_name + ".OnMouseButton");
        return m_mouseResult;
    }
    void Update() override { m_log.push_back(m_name + ".Update"); }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
    int m_mouseResult;
};

// Two menus and the credits (whose OnMouseButton consumes), the main menu current, the log empty.
void Populate(CProcessManager& manager, std::vector<std::string>& log)
{
    ASSERT_TRUE(manager.Add(PROC_MENU_MAIN, std::make_unique<CLoggingProcess>("main", log)));
    ASSERT_TRUE(manager.Add(PROC_MENU_CONTROLLER, std::make_unique<CLoggingProcess>("controller", log)));
    ASSERT_TRUE(manager.Add(PROC_CREDITS, std::make_unique<CLoggingProcess>("credits", log, 120)));
    manager.Request(PROC_MENU_MAIN);
    manager.Update();
    log.clear();
}

class ProcessManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { Populate(manager, log); }

    std::vector<std::string> log;
    CProcessManager manager;
};

using Log = std::vector<std::string>;
} // namespace

TEST_F(ProcessManagerTest, SwitchPointEndsTheOldStartsAndUpdatesTheNewInOneFrame)
{
    // requests: in one frame
    const struct { const char* what; std::vector<int> requests; Log log; int current; } cases[] = {
        {"switch", {PROC_MENU_CONTROLLER}, {"main.End", "controller.Start", "controller.Update"}, PROC_MENU_CONTROLLER},
        {"the current one restarts", {PROC_MENU_MAIN}, {"main.End", "main.Start", "main.Update"}, PROC_MENU_MAIN},
        {"the last request wins", {PROC_CREDITS, PROC_MENU_CONTROLLER},
         {"main.End", "controller.Start", "controller.Update"}, PROC_MENU_CONTROLLER},
        // Exit ends the old process, which still gets its last update; nothing starts.
        {"exit", {PROC_EXIT}, {"main.End", "main.Update"}, PROC_MENU_MAIN},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        CProcessManager fresh;
        Log freshLog;
        Populate(fresh, freshLog);
        for (int request : c.requests)
            fresh.Request(request);
        EXPECT_TRUE(freshLog.empty()) << "a request alone must not switch";
        fresh.Update();
        EXPECT_EQ(freshLog, c.log);
        EXPECT_EQ(fresh.GetCurrentIndex(), c.current);
        EXPECT_EQ(fresh.IsQuitRequested(), c.requests.back() == PROC_EXIT);
        EXPECT_EQ(fresh.GetRequested(), PROC_NONE);
        EXPECT_TRUE(c.current == PROC_MENU_MAIN || fresh.GetPreviousIndex() == PROC_MENU_MAIN);
    }
}

TEST_F(ProcessManagerTest, RequestForAMissingProcessIsIgnored)
{
    // The radio menu is not built: the current screen stays and is not restarted.
    manager.Request(PROC_MENU_RADIO);
    manager.Update();
    EXPECT_EQ(log, (Log{"main.Update"}));
    EXPECT_EQ(manager.GetCurrentIndex(), PROC_MENU_MAIN);
    for (int index : {-1, static_cast<int>(PROC_COUNT), 99})
    {
        manager.Request(index);
        manager.Update();
        EXPECT_EQ(manager.GetCurrentIndex(), PROC_MENU_MAIN) << index;
    }
}

TEST_F(ProcessManagerTest, MouseButtonConsumedByOnMouseButtonNeverReachesOnEvent)
{
    const CInputEvent click = KeyEventOf(KEY_MOUSE_LEFT, kPressed);
    manager.OnEvent(click); // not consumed: falls through
    EXPECT_EQ(log, (Log{"main.OnMouseButton", "main.OnEvent"}));

    manager.Request(PROC_CREDITS); // its OnMouseButton consumes
    manager.Update();
    log.clear();
    EXPECT_EQ(manager.OnEvent(click), 120);
    EXPECT_EQ(log, (Log{"credits.OnMouseButton"}));

    log.clear();
    manager.OnEvent(KeyEventOf(1, IE_GOING_DOWN));
    EXPECT_EQ(log, (Log{"credits.OnEvent"})) << "keys skip OnMouseButton";
}

TEST_F(ProcessManagerTest, AddRefusesTakenAndInvalidIndices)
{
    std::vector<std::string> other;
    EXPECT_FALSE(manager.Add(PROC_MENU_MAIN, std::make_unique<CLoggingProcess>("again", other)));
    EXPECT_FALSE(manager.Add(PROC_EXIT, std::make_unique<CLoggingProcess>("exit", other)));
    EXPECT_FALSE(manager.Add(PROC_COUNT, std::make_unique<CLoggingProcess>("past", other)));
    EXPECT_FALSE(manager.Add(PROC_FLY, nullptr));
}

TEST_F(ProcessManagerTest, NothingIsCurrentBeforeTheFirstRequestOrAfterShutdown)
{
    CProcessManager fresh;
    std::vector<std::string> freshLog;
    ASSERT_TRUE(fresh.Add(PROC_MENU_MAIN, std::make_unique<CLoggingProcess>("main", freshLog)));
    fresh.Update();
    EXPECT_TRUE(freshLog.empty());
    EXPECT_EQ(fresh.GetCurrentIndex(), PROC_NONE);

    manager.Request(PROC_CREDITS);
    manager.Shutdown();
    EXPECT_EQ(manager.GetCurrentIndex(), PROC_NONE);
    EXPECT_EQ(manager.GetRequested(), PROC_NONE);
    EXPECT_EQ(manager.GetProcess(PROC_MENU_MAIN), nullptr);
    manager.Update(); // nothing current, nothing called
}
