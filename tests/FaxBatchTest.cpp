// Faxing all pages from the command line: no window is shown, progress goes
// to standard error, the pages reach the simulated modem mapped to COM1 by
// the settings, and the exit status tells whether the job ended well.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/Class2ModemSimulator.h"
#include "support/DocumentFixture.h"
#include "support/ReceivedFax.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct FaxBatch : test::DocumentFixture, ::testing::Test {
    void writeSettings(const std::string& device) {
        std::filesystem::create_directories(dir + "/config/Quor");
        std::ofstream(dir + "/config/Quor/Lumipage.conf") << "[Fax]\nCom1Device=" << device << "\nLocalID=LUMIPAGE\n";
    }
    int run(const std::string& switches, const std::string& file) {
        const std::string command = "cd '" + dir + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                    "XDG_CONFIG_HOME='" + dir + "/config' XDG_DATA_HOME='" + dir +
                                    "/data' ASAN_OPTIONS=detect_leaks=0 timeout 120 '" + LUMIPAGE_EXE + "' " +
                                    switches + " '" + file + "' 2>'" + dir + "/err.txt'";
        return test::runCommand(command);
    }
};

TEST_F(FaxBatch, SendsEveryPageToTheGivenNumber) {
    test::Class2ModemSimulator simulator;
    ASSERT_TRUE(simulator.ok());
    writeSettings(simulator.device());
    // Pages of the fax page's size: each must arrive as it is.
    const PageRaster first = test::makePage(test::Pattern::Text, 1728, 2290, 1);
    const PageRaster second = test::makePage(test::Pattern::ThinLines, 1728, 2290, 2);
    const std::string file = writeMH("two.MH", {&first, &second});
    EXPECT_EQ(run("-F -#03-1234-5678", file), 0) << readText("err.txt");
    test::expectReceivedPages(simulator.pages(), {&first, &second});
    const auto commands = simulator.commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "ATDT03-1234-5678"), commands.end());
    const std::string err = readText("err.txt");
    EXPECT_NE(err.find("正常終了"), std::string::npos) << err;
}

TEST_F(FaxBatch, WithoutANumberNothingIsDialled) {
    test::Class2ModemSimulator simulator;
    writeSettings(simulator.device());
    const PageRaster page = test::makePage(test::Pattern::Text, 800, 600, 1);
    const std::string file = writeMH("one.MH", {&page});
    EXPECT_NE(run("-F", file), 0);
    EXPECT_NE(readText("err.txt").find("電話番号が入力されていません"), std::string::npos) << readText("err.txt");
    EXPECT_TRUE(simulator.pages().empty());
}

}  // namespace
}  // namespace lumipage
