// A process killed in the middle of a bulk insert loses at most that
// transaction: the file opens, is intact, and every committed set of rows is
// whole.

#include "tests/store/StoreTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kovrin;
using namespace kovrin::test;

namespace {

constexpr int kRowsPerSet = 10000;
constexpr int kFirstSet = 1000;

// Child: writes sets of 10,000 key colours, one transaction each, with light
// ids 1000, 1001, ..., and reports each finished set with one byte.
[[noreturn]] void WriteSetsForever(const std::string& data_folder, const std::string& model,
                                   int report_fd) {
    KeyboardDatabase store;
    if (!store.Open(data_folder, model)) {
        ::_exit(2);
    }
    for (int set = kFirstSet;; ++set) {
        std::vector<KeyLightRow> rows(kRowsPerSet);
        for (int i = 0; i < kRowsPerSet; ++i) {
            rows[static_cast<std::size_t>(i)] = {
                .profile = 1, .light_id = set, .key_code = i, .key_rgb = i * 31};
        }
        if (store.AddKeyLights(rows) != kRowsPerSet) {
            ::_exit(3);
        }
        const char done = 'd';
        if (::write(report_fd, &done, 1) != 1) {
            ::_exit(4);
        }
    }
}

struct KillResult {
    int sets_reported = 0;
    bool killed = false;
};

// Lets the child finish three sets, then kills it at the given fraction of
// the time one set takes.
KillResult KillDuringInsert(const std::string& data_folder, const std::string& model,
                            double fraction) {
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        WriteSetsForever(data_folder, model, fds[1]);
    }
    ::close(fds[1]);
    KillResult result;
    char byte;
    auto last = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration per_set{};
    while (result.sets_reported < 3 && ::read(fds[0], &byte, 1) == 1) {
        const auto now = std::chrono::steady_clock::now();
        per_set = now - last;
        last = now;
        ++result.sets_reported;
    }
    std::this_thread::sleep_for(
        std::chrono::duration_cast<std::chrono::microseconds>(per_set * fraction));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    while (::read(fds[0], &byte, 1) == 1) {
        ++result.sets_reported;
    }
    ::close(fds[0]);
    return result;
}

TEST(StoreCrash, KillDuringABulkInsertKeepsAllOrNoneOfItsRows) {
    TempDataFolder folder;
    for (double fraction : {0.2, 0.5, 0.8}) {
        SCOPED_TRACE(fraction);
        const std::string model = "Crash" + std::to_string(static_cast<int>(fraction * 10));
        {
            KeyboardDatabase store;
            ASSERT_TRUE(store.Open(folder.path(), model));
        }
        const KillResult result = KillDuringInsert(folder.path(), model, fraction);
        ASSERT_TRUE(result.killed) << "the writer ended before it was killed";
        ASSERT_GE(result.sets_reported, 3);

        KeyboardDatabase store;
        ASSERT_TRUE(store.Open(folder.path(), model)) << store.LastError();
        ASSERT_TRUE(store.Close());
        RawDb raw(folder.DbFile(model));
        EXPECT_EQ(raw.Value("PRAGMA integrity_check"), "ok");
        const Rows sets = raw.Query(
            "SELECT light_id, count(*) FROM t_key_light_data GROUP BY light_id ORDER BY 1");
        // Every reported set is whole; the set under way is whole or absent.
        ASSERT_GE(sets.size(), static_cast<std::size_t>(result.sets_reported));
        ASSERT_LE(sets.size(), static_cast<std::size_t>(result.sets_reported) + 1);
        for (std::size_t i = 0; i < sets.size(); ++i) {
            EXPECT_EQ(sets[i][0], std::to_string(kFirstSet + static_cast<int>(i)));
            EXPECT_EQ(sets[i][1], std::to_string(kRowsPerSet)) << "light id " << sets[i][0];
        }
    }
}

} // namespace
