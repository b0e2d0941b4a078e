// Printing all pages from the command line on a machine with neither a
// display nor a printer: a message on standard error and a failure status,
// never a dialog nobody can answer.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

struct PrintBatch : test::DocumentFixture, ::testing::Test {};

TEST_F(PrintBatch, NoPrinterEndsWithAMessageAndFailure) {
    const PageRaster page = test::makePage(test::Pattern::Text, 400, 300, 1);
    const std::string file = writeMH("two.MH", {&page, &page});
    // No display, and a print server that is not there.
    const std::string command = "cd '" + dir + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                "CUPS_SERVER='" + dir + "/no-cups.sock' XDG_CONFIG_HOME='" + dir +
                                "/config' ASAN_OPTIONS=detect_leaks=0 timeout 60 '" + LUMIPAGE_EXE + "' -PRINT '" +
                                file + "' 2>'" + dir + "/err.txt'";
    const int status = test::runCommand(command);
    EXPECT_NE(status, 0);
    EXPECT_NE(readText("err.txt").find("プリンタが見つかりません"), std::string::npos) << readText("err.txt");
}

}  // namespace
}  // namespace lumipage
