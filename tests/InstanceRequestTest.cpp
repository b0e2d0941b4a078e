// Requests between running copies over real sockets: a second "copy" on
// another thread sends, the main thread serves as the window's event loop would.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "base/CommandIds.h"
#include "app/CLP98App.h"
#include "app/InstanceConnection.h"
#include "app/InstanceBroadcast.h"
#include "app/InstanceRequestHandler.h"
#include "platform/InstanceRequestServer.h"
#include "platform/RunningCopies.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

using copy_requests::integerRequest;
using copy_requests::pathRequest;

struct FakeFrame : InstanceRequestFrame {
    std::string title = "Quor Lumipage [ x.MH ]";
    int mode = 2;
    bool colourDialog = false;
    std::vector<int> ran, posted;
    int colourChanges = 0, scrollChanges = 0, flagChanges = 0, pageChanges = 0;
    bool closed = false;
    std::function<void()> duringCommand;

    std::string windowTitle() override { return title; }
    int sizeMode() override { return mode; }
    void setSizeMode(int m) override { mode = m; }
    void closeWindow() override { closed = true; }
    void runCommand(int id) override {
        ran.push_back(id);
        if (duringCommand) duringCommand();
    }
    void postCommand(int id) override { posted.push_back(id); }
    bool colourDialogOpen() override { return colourDialog; }
    void coloursChanged() override { ++colourChanges; }
    void pagesChanged() override { ++pageChanges; }
    void scrollingChanged() override { ++scrollChanges; }
    void viewFlagsChanged() override { ++flagChanges; }
};

// Runs `send` on a second thread while serving `servers` here until it is done.
void whileServing(const std::vector<std::pair<InstanceRequestServer*, InstanceRequestListener*>>& servers,
                  const std::function<void()>& send) {
    std::atomic<bool> done = false;
    std::thread other([&] {
        send();
        done = true;
    });
    while (!done) {
        std::vector<pollfd> fds;
        for (const auto& s : servers) fds.push_back({s.first->fd(), POLLIN, 0});
        ::poll(fds.data(), fds.size(), 20);
        for (const auto& s : servers) s.first->handlePending(*s.second);
    }
    other.join();
}

struct InstanceRequests : test::DocumentFixture, ::testing::Test {
    PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::string three, one;
    FakeFrame frame;
    InstanceRequestHandler handler{doc, settings, frame};
    std::string folder = dir + "/copies";
    InstanceRequestServer server{folder, "main.sock"};

    InstanceRequests() {
        three = writeMH("three.MH", {&page, &page, &page}, 0);
        one = writeMH("one.MH", {&page}, 0);
    }
    void SetUp() override { ASSERT_TRUE(server.listen()); }

    std::optional<int32_t> ask(const InstanceRequest& request) {
        std::optional<int32_t> answer;
        whileServing({{&server, &handler}}, [&] { answer = RunningCopies::send(server.socketPath(), request, 5000); });
        return answer;
    }
    InstanceRequest raw(int32_t code, std::string bytes) {
        return InstanceRequest{code, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    }
};

TEST(InstanceRequestCodec, LittleEndianHeaderAndPathData) {
    const InstanceRequest r = pathRequest(InstanceRequestHandler::kOpenPath, 0x0102, "/d/a.MH", 1);
    const std::vector<uint8_t> bytes = r.encode();
    ASSERT_EQ(bytes.size(), 8u + 8u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{0x13, 0x00, 0x02, 0x01, 8, 0, 0, 0}));
    EXPECT_EQ(bytes.back(), 0);
    const auto header = decodeRequestHeader(std::span<const uint8_t, 8>(bytes.data(), 8));
    EXPECT_EQ(header.code, 0x01020013);
    EXPECT_EQ(header.size, 8u);
    EXPECT_EQ(decodeInt32(encodeInt32(-2)), -2);
    EXPECT_EQ(decodeInt32(encodeInt32(int32_t(0x80000001))), int32_t(0x80000001));
}

TEST_F(InstanceRequests, OpenAtPageAndGoToPages) {
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 2, three)), 1);
    EXPECT_EQ(table.currentPage(), 2);
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, one)), 1);
    ASSERT_EQ(table.totalPages(), 4);
    EXPECT_EQ(ask(InstanceRequest{4 | 3 << 16, {}}), 1);
    EXPECT_EQ(table.currentPage(), 3);
    // Beyond the last page: the last page is shown, but the answer is 0.
    EXPECT_EQ(ask(InstanceRequest{4 | 9 << 16, {}}), 0);
    EXPECT_EQ(table.currentPage(), 4);
    EXPECT_TRUE(doc.isLoaded());
    EXPECT_EQ(ask(InstanceRequest{4, {}}), 1);  // page 0: the current page
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, dir + "/missing.MH")), 0);
    EXPECT_EQ(frame.pageChanges, 6) << "the window redraws after every page request";
}

TEST_F(InstanceRequests, MalformedRequestsChangeNothing) {
    EXPECT_EQ(ask(raw(3 | 0x10, three)), 0);  // no NUL within the data
    EXPECT_EQ(frame.mode, 2);                 // the size mode stays as well
    EXPECT_EQ(ask(raw(3, "/" + std::string(4095, 'a') + '\0')), 0);  // path too long
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(ask(InstanceRequest{3, {}}), 0);   // nothing to open
    EXPECT_EQ(ask(InstanceRequest{4 | 1 << 16, {}}), 0);  // no pages open
    EXPECT_EQ(ask(raw(257, "abc")), 0);
    EXPECT_EQ(ask(raw(261, "abcde")), 0);
    EXPECT_EQ(ask(InstanceRequest{256, std::vector<uint8_t>(31)}), 0);
    EXPECT_EQ(ask(InstanceRequest{300, {}}), 0);
    EXPECT_EQ(ask(InstanceRequest{7, {}}), 0);
    EXPECT_EQ(settings.autoScroll, 1);
    EXPECT_EQ(frame.scrollChanges + frame.flagChanges + frame.colourChanges, 0);
}

TEST_F(InstanceRequests, OversizedRequestIsRefusedAndServingGoesOn) {
    std::optional<int32_t> answer;
    whileServing({{&server, &handler}}, [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strcpy(a.sun_path, server.socketPath().c_str());
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        const uint8_t header[8] = {3, 0, 0, 0, 0, 0, 0, 0x40};  // 1 GiB of data announced
        ASSERT_EQ(::send(fd, header, 8, MSG_NOSIGNAL), 8);
        uint8_t reply[4] = {9, 9, 9, 9};
        if (::recv(fd, reply, 4, MSG_WAITALL) == 4) answer = decodeInt32(reply);
        ::close(fd);
    });
    EXPECT_EQ(answer, 0);
    // A sender that connects and says nothing is dropped after the time-out.
    whileServing({{&server, &handler}}, [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strcpy(a.sun_path, server.socketPath().c_str());
        ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        answer = RunningCopies::send(server.socketPath(), InstanceRequest{257, {0, 0, 0, 0}}, 5000);
        ::close(fd);
    });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(settings.autoScroll, 0);
}

TEST_F(InstanceRequests, SettingsAndViewRequests) {
    std::vector<uint8_t> colours;
    for (int32_t v : {0x00CCEBFD, 0, 90, 110, 0x0000FF, 0, 1, 0}) {
        const auto b = encodeInt32(v);
        colours.insert(colours.end(), b.begin(), b.end());
    }
    frame.colourDialog = true;
    EXPECT_EQ(ask(InstanceRequest{256, colours}), 0);
    frame.colourDialog = false;
    EXPECT_EQ(ask(InstanceRequest{256, colours}), 1);
    EXPECT_EQ(settings.paperColor, 0xCCEBFD);
    EXPECT_EQ(settings.paperColorMode, 0);
    EXPECT_EQ(settings.bright, 90);
    EXPECT_EQ(settings.contrast, 110);
    EXPECT_EQ(settings.inkColor, 0xFF);
    EXPECT_EQ(settings.adjustGamma, 1);
    EXPECT_EQ(settings.fastUpdate, 0);
    EXPECT_EQ(frame.colourChanges, 1);

    EXPECT_EQ(ask(integerRequest(258, 1)), 1);
    EXPECT_EQ(settings.catchScroll, 1);
    EXPECT_EQ(ask(integerRequest(261, 2)), 1);
    EXPECT_EQ(settings.viewCenter, 0);
    EXPECT_EQ(settings.viewFrameShadow, 1);
    EXPECT_EQ(frame.flagChanges, 1);

    // Set double size, then apply it. A command that runs the event loop
    // meanwhile does not get the next request served inside this one.
    int reentered = -1;
    frame.duringCommand = [&] { reentered = server.handlePending(handler); };
    EXPECT_EQ(ask(InstanceRequest{15 | 3 << 4, {}}), 1);
    EXPECT_EQ(frame.ran, std::vector<int>{command::kFitTwicePageWidth});
    EXPECT_EQ(reentered, 0);
    EXPECT_EQ(ask(InstanceRequest{272, {}}), 1);
    EXPECT_TRUE(frame.posted.empty());  // nothing open: nothing to print
    ASSERT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, one)), 1);
    EXPECT_EQ(ask(InstanceRequest{272, {}}), 1);
    EXPECT_EQ(frame.posted, std::vector<int>{command::kPrintAll});
}

TEST_F(InstanceRequests, ClosingRequests) {
    ASSERT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, three)), 1);
    ASSERT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, one)), 1);
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kClosePath, 0, one)), 1);
    EXPECT_EQ(table.fileCount(), 1);
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kClosePath, 0, one)), 0);  // not open any more

    // Another index file closes the entries it lists, relative ones included.
    ASSERT_EQ(ask(pathRequest(InstanceRequestHandler::kOpenPath, 0, one)), 1);
    writeText("list.LPX", "<LumipageIndex 2.1>\r\nPageStartPosition:1\r\n<DataFiles>\r\nthree.MH  <Page:3>\r\n");
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kClosePath, 0, dir + "/list.LPX")), 1);
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, one);

    // Replacing: with a file open that is not the one asked for, everything closes first.
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kReplacePath, 2, three)), 1);
    ASSERT_EQ(table.fileCount(), 1);
    EXPECT_EQ(table.entry(1).path, three);
    EXPECT_EQ(table.currentPage(), 2);
    // The only open file asked for again stays open and moves to the page.
    EXPECT_EQ(ask(pathRequest(InstanceRequestHandler::kReplacePath, 3, three)), 1);
    EXPECT_EQ(table.currentPage(), 3);

    EXPECT_EQ(ask(InstanceRequest{0, {}}), 1);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(ask(InstanceRequest{0, {}}), 1);
}

TEST_F(InstanceRequests, BroadcastReachesOnlyOtherProgramWindows) {
    FakeFrame otherFrame, foreignFrame, previewFrame;
    foreignFrame.title = "Quor Lumipage2";
    previewFrame.title = "Quor Lumipage ﾌﾟﾚﾋﾞｭｰ";
    Settings otherSettings, foreignSettings, previewSettings;
    InstanceRequestHandler other{doc, otherSettings, otherFrame};
    InstanceRequestHandler foreign{doc, foreignSettings, foreignFrame};
    InstanceRequestHandler preview{doc, previewSettings, previewFrame};
    InstanceRequestServer otherServer{folder, "other.sock"}, foreignServer{folder, "foreign.sock"},
        previewServer{folder, "preview.sock"};
    ASSERT_TRUE(otherServer.listen());
    ASSERT_TRUE(foreignServer.listen());
    ASSERT_TRUE(previewServer.listen());
    // A copy that ended without removing its socket.
    const std::string stale = folder + "/stale.sock";
    {
        InstanceRequestServer gone{folder, "stale.sock"};
        ASSERT_TRUE(gone.listen());
        ::link(gone.socketPath().c_str(), (stale + ".keep").c_str());
    }
    ASSERT_EQ(::rename((stale + ".keep").c_str(), stale.c_str()), 0);

    RunningCopies copies(folder);
    int answered = -1, closed = -1;
    std::optional<std::string> title;
    whileServing({{&server, &handler}, {&otherServer, &other}, {&foreignServer, &foreign}, {&previewServer, &preview}},
                 [&] {
                     title = RunningCopies::title(otherServer.socketPath());
                     answered = copy_requests::broadcast(copies, server.socketPath(), integerRequest(257, 0));
                     closed = copy_requests::closePreviews(copies, server.socketPath());
                 });
    EXPECT_EQ(title, "Quor Lumipage [ x.MH ]");
    EXPECT_EQ(answered, 2);
    EXPECT_EQ(otherSettings.autoScroll, 0);
    EXPECT_EQ(previewSettings.autoScroll, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(previewFrame.closed);
    EXPECT_FALSE(otherFrame.closed || foreignFrame.closed || frame.closed);
    EXPECT_EQ(foreignSettings.autoScroll, 1);
    EXPECT_EQ(settings.autoScroll, 1);  // not sent to itself
    EXPECT_FALSE(test::runCommand("test -e " + stale) == 0);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(InstanceConnection, ChangedSettingsReachTheOtherCopyOnce) {
    const std::string dir = test::tempFolder();
    test::RecordingMessages messages;
    AppFolders folders;
    folders.currentFolder = dir;
    CLP98App first(folders, messages), second(folders, messages);
    FakeFrame firstFrame, secondFrame;
    InstanceConnection one(first, firstFrame, dir + "/copies", "one.sock");
    InstanceConnection two(second, secondFrame, dir + "/copies", "two.sock");
    ASSERT_TRUE(one.listen());
    ASSERT_TRUE(two.listen());
    std::vector<int> reached;
    std::atomic<bool> done = false;
    std::thread sender([&] {
        reached.push_back(one.setAutoScroll(0));
        reached.push_back(one.setAutoScroll(0));  // no change: nothing is sent
        reached.push_back(one.setCatchScroll(1));
        reached.push_back(one.setViewFlags(1));
        done = true;
    });
    while (!done) {
        pollfd p{two.fd(), POLLIN, 0};
        ::poll(&p, 1, 20);
        two.handlePending();
    }
    sender.join();
    EXPECT_EQ(reached, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(first.settings().autoScroll, 0);
    EXPECT_EQ(second.settings().autoScroll, 0);
    EXPECT_EQ(second.settings().catchScroll, 1);
    EXPECT_EQ(second.settings().viewFlags(), 1);
    EXPECT_EQ(secondFrame.scrollChanges, 2);
    EXPECT_EQ(secondFrame.flagChanges, 1);
}

TEST(RunningCopiesFolder, RefusesAFolderOthersCanEnter) {
    const std::string dir = test::tempFolder() + "/open";
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    EXPECT_FALSE(RunningCopies::prepareFolder(dir));
    InstanceRequestServer server(dir, "x.sock");
    EXPECT_FALSE(server.listen());
    ::chmod(dir.c_str(), 0700);
    EXPECT_TRUE(RunningCopies::prepareFolder(dir));
}

}  // namespace
}  // namespace lumipage
