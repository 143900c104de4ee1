// A seeded random user drives the window through thousands of actions, and
// what must hold of the window is checked after each one. A failure names the
// seed and every action up to it.
//   MIRA_RANDOM_USER_ACTIONS     actions per seed (default 400)
//   MIRA_RANDOM_USER_SEEDS       how many seeds (default 8)
//   MIRA_RANDOM_USER_FIRST_SEED  the first of them (default 1)
#include "random_user.h"
#include "window_invariants.h"
#include "window_model.h"
#include "workbench/window/main_form.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

int FromEnvironment(const char* name, int fallback)
{
    bool number = false;
    const int value = qEnvironmentVariableIntValue(name, &number);
    return number && value > 0 ? value : fallback;
}

const int actionsPerSeed = FromEnvironment("MIRA_RANDOM_USER_ACTIONS", 400);
const int seedCount = FromEnvironment("MIRA_RANDOM_USER_SEEDS", 8);
const int firstSeed = FromEnvironment("MIRA_RANDOM_USER_FIRST_SEED", 1);

// A hang cannot be caught from its own thread: when no new action starts for
// a while, this ends the process with the seed and the actions so far.
class HangWatchdog {
public:
    HangWatchdog(unsigned seed, std::chrono::seconds limit)
        : seed_(seed), limit_(limit), thread_([this] { Watch(); })
    {
    }
    ~HangWatchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void ActionStarts(const QString& action)
    {
        const std::lock_guard lock(mutex_);
        actions_.push_back(action.toStdString());
    }

private:
    void Watch()
    {
        std::unique_lock lock(mutex_);
        while (!stopped_) {
            const std::size_t seen = actions_.size();
            if (wake_.wait_for(lock, limit_, [&] { return stopped_ || actions_.size() != seen; })) {
                continue;
            }
            std::cerr << "seed " << seed_ << ": hung for " << limit_.count() << " s after\n";
            for (const std::string& action : actions_) {
                std::cerr << "  " << action << '\n';
            }
            std::abort();
        }
    }

    const unsigned seed_;
    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> actions_;
    bool stopped_ = false;
    std::thread thread_; // last: it reads the members above
};

} // namespace

class RandomUserTest : public ::testing::TestWithParam<int> {};

TEST_P(RandomUserTest, LeavesTheWindowSound)
{
    const auto seed = static_cast<unsigned>(GetParam());
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir folder;
    TMainForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const WindowParts parts(&form);
    WindowModel model(form);
    RandomUser user(form, model, seed, folder.path());
    HangWatchdog watchdog(seed, std::chrono::seconds(60));
    user.actionStarts = [&watchdog](const QString& action) { watchdog.ActionStarts(action); };

    for (int action = 0; action < actionsPerSeed; ++action) {
        user.Act();
        const QStringList faults =
            model.Check() + GridFaults(form, parts) + EditorFaults(parts) + ViewFaults(form, parts);
        if (!faults.isEmpty()) {
            FAIL() << "seed " << seed << ": " << faults.join("; ").toStdString()
                   << "\nafter these actions:\n  " << user.Actions().join("\n  ").toStdString();
        }
    }
    std::cout << "seed " << seed << ": " << user.Actions().size() << " actions\n";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomUserTest, ::testing::Range(firstSeed, firstSeed + seedCount));
