// Two running copies of the program: a real lumipage process (off screen)
// answers the requests this test sends it over its socket, as a second copy
// started from the shell would.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/InstanceBroadcast.h"
#include "app/InstanceRequestHandler.h"
#include "platform/RunningCopies.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct TwoInstances : test::DocumentFixture, ::testing::Test {
    pid_t pid = 0;
    std::string socket;

    ~TwoInstances() override {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    // Starts the program on `file` and waits for its socket.
    bool start(const std::string& file) {
        const std::string run = dir + "/run";
        std::filesystem::create_directories(run);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);
        pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            ::execl(LUMIPAGE_EXE, LUMIPAGE_EXE, "-NS", file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const RunningCopies copies(run + "/lumipage");
        for (int i = 0; i < 300; ++i) {
            const auto found = copies.sockets();
            if (!found.empty() && RunningCopies::title(found.front())) {
                socket = found.front();
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::string title() const { return RunningCopies::title(socket).value_or(""); }
    // The copy shows a page it was sent to when its event loop next runs, a
    // moment after it answered: the title is asked again for up to 2 s.
    std::string titleShowing(const std::string& text) const {
        std::string now = title();
        for (int i = 0; i < 40 && now.find(text) == std::string::npos; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            now = title();
        }
        return now;
    }
};

TEST_F(TwoInstances, GoingBeyondTheLastPageAnswersZeroAndShowsTheLastPage) {
    const PageRaster page = test::makePage(test::Pattern::Text, 400, 300, 1);
    const std::string file = writeMH("three.MH", {&page, &page, &page});
    ASSERT_TRUE(start(file)) << "the program's socket did not appear";
    EXPECT_NE(titleShowing("three.MH(1/3)").find("three.MH(1/3)"), std::string::npos) << title();

    // Code 4 with page 10 in the high half: there are three pages.
    EXPECT_EQ(RunningCopies::send(socket, copy_requests::pathRequest(InstanceRequestHandler::kGoToPage, 10, ""), 5000), 0);
    EXPECT_NE(titleShowing("three.MH(3/3)").find("three.MH(3/3)"), std::string::npos) << title();
    EXPECT_EQ(RunningCopies::send(socket, copy_requests::pathRequest(InstanceRequestHandler::kGoToPage, 2, ""), 5000), 1);
    EXPECT_NE(titleShowing("three.MH(2/3)").find("three.MH(2/3)"), std::string::npos) << title();

    // A path without its NUL is refused and changes nothing: taken, it would
    // add the other file's page as page 4. Going to page 4 then answers 0
    // and shows the last of three pages; once that shows, the refused
    // request has been dealt with too.
    const std::string other = writeMH("other.MH", {&page});
    InstanceRequest noNul{int32_t(InstanceRequestHandler::kOpenPath), std::vector<uint8_t>(other.begin(), other.end())};
    EXPECT_EQ(RunningCopies::send(socket, noNul, 5000), 0);
    EXPECT_EQ(RunningCopies::send(socket, copy_requests::pathRequest(InstanceRequestHandler::kGoToPage, 4, ""), 5000), 0);
    EXPECT_NE(titleShowing("three.MH(3/3)").find("three.MH(3/3)"), std::string::npos) << title();
    // The same request with its NUL is taken, and page 4 is there.
    EXPECT_EQ(RunningCopies::send(socket, copy_requests::pathRequest(InstanceRequestHandler::kOpenPath, 0, other), 5000), 1);
    EXPECT_NE(titleShowing("other.MH").find("other.MH"), std::string::npos) << title();
    EXPECT_EQ(RunningCopies::send(socket, copy_requests::pathRequest(InstanceRequestHandler::kGoToPage, 4, ""), 5000), 1);

    // Asked to close, the copy ends.
    EXPECT_EQ(RunningCopies::send(socket, InstanceRequest{InstanceRequest::kCloseWindow, {}}, 5000), 1);
    int status = -1;
    for (int i = 0; i < 100 && ::waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(WIFEXITED(status)) << "the copy did not end";
    pid = 0;
}

}  // namespace
}  // namespace lumipage
