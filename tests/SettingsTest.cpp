#include <gtest/gtest.h>

#include <fstream>

#include "app/CommandLine.h"
#include "base/Settings.h"
#include "platform/IniSettingsStore.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

bool anyFolderExists(const std::string&) { return true; }

TEST(IniFile, KeepsSectionsKeysAndOrder) {
    IniFile ini;
    ini.parse("; comment\n[Option]\r\nAutoScroll = 0\nOutCode=12\n\n[Fax]\nLocalID=+81 3 0000\nstray line\n");
    EXPECT_EQ(ini.get("Option", "AutoScroll"), "0");
    EXPECT_EQ(ini.get("Fax", "LocalID"), "+81 3 0000");
    EXPECT_FALSE(ini.get("Fax", "AutoScroll"));
    ini.set("Option", "AutoScroll", "1");
    ini.set("Scan", "FilePath", "/home/u/scans");
    ini.remove("Option", "OutCode");
    EXPECT_EQ(ini.text(), "[Option]\nAutoScroll=1\n\n[Fax]\nLocalID=+81 3 0000\n\n[Scan]\nFilePath=/home/u/scans\n");
}

TEST(Settings, DefaultsFallbacksAndRoundTrip) {
    const std::string dir = test::tempFolder();
    const std::string path = dir + "/Lumipage.conf";
    {
        std::ofstream(path) << "[Option]\nOutCode=13\nAutoScroll=0\nWindowSize=1:800:600\n"
                               "[File]\nOpenPath=/gone\nSavePath=/kept\n[Scan]\nFilePath=/gone/scans\n";
    }
    IniSettingsStore store(path);
    store.load();
    Settings s;
    s.load(store, "/start", "/data", [](const std::string& p) { return p == "/kept"; });
    EXPECT_EQ(s.outCode, 12);  // a stored 13 is used as 12
    EXPECT_EQ(s.autoScroll, 0);
    EXPECT_EQ(s.bright, 100);
    EXPECT_EQ(s.dyalType, 'T');
    EXPECT_EQ(s.openPath, "/start");  // a stored folder that no longer exists
    EXPECT_EQ(s.savePath, "/kept");
    EXPECT_EQ(s.scanFilePath, "/data");
    EXPECT_EQ(s.windowSize, "1:800:600");
    EXPECT_FALSE(s.windowPos);

    s.paperColor = 0xCCEBFD;
    s.localId = "LUMI 1";
    s.save(store);
    ASSERT_TRUE(store.save());
    IniSettingsStore again(path);
    again.load();
    Settings t;
    t.load(again, "/start", "/data", anyFolderExists);
    EXPECT_EQ(t.paperColor, 0xCCEBFD);
    EXPECT_EQ(t.localId, "LUMI 1");
    EXPECT_EQ(t.savePath, "/kept");
    EXPECT_EQ(t.windowSize, "1:800:600");
    EXPECT_EQ(again.getInt("Option", "AutoScroll", 9), 0);
}

TEST(Settings, UnreadableStoreLeavesDefaults) {
    IniSettingsStore store("/nonexistent/Lumipage.conf");
    store.load();
    Settings s;
    s.load(store, "/cur", "/data", anyFolderExists);
    EXPECT_EQ(s.openPath, "/cur");
    EXPECT_EQ(s.pageStartPosition, 1);
    EXPECT_EQ(s.addPageToIndex, 1);
    EXPECT_EQ(s.baudRate, 14400);
}

StartupRequest parse(std::vector<std::string> args, Settings& s) { return parseCommandLine(args, s); }

TEST(CommandLine, StoreSwitchesAreFoundAnywhereAndIniWins) {
    Settings s;
    EXPECT_EQ(parse({"a.tif", "-USEREG", "b.tif"}, s).store, StartupRequest::Store::Default);
    const auto r = parse({"-USEREG", "x.MH", "-USEINI"}, s);
    EXPECT_EQ(r.store, StartupRequest::Store::Ini);
    EXPECT_EQ(r.files, std::vector<std::string>{"x.MH"});
}

TEST(CommandLine, ColourSwitches) {
    Settings s;
    parse({"-C255"}, s);
    EXPECT_EQ(s.paperColor, 0xFFFFFF);
    EXPECT_EQ(s.paperColorMode, 0);
    parse({"-C255,0,0"}, s);
    EXPECT_EQ(s.paperColor, 0x0000FF);  // red as 0x00BBGGRR
    parse({"-C10,20,30,40,50,60,70,80"}, s);
    EXPECT_EQ(s.paperColor, 0x1E140A);
    EXPECT_EQ(s.inkColor, 0x3C3228);
    EXPECT_EQ(s.inkColorMode, 0);
    EXPECT_EQ(s.bright, 70);
    EXPECT_EQ(s.contrast, 80);
    parse({"-CR16777215,0,90,110,1", "-AS0", "-CS1"}, s);
    EXPECT_EQ(s.paperColor, 0xFFFFFF);
    EXPECT_EQ(s.paperColorMode, 0);  // a launched copy keeps the colours it was given
    EXPECT_EQ(s.adjustGamma, 1);
    EXPECT_EQ(s.catchScroll, 1);
    EXPECT_EQ(s.autoScroll, 0);
    parse({"-Cx"}, s);
    EXPECT_EQ(s.paperColorMode, 4);
    parse({"-Wx"}, s);
    EXPECT_EQ(s.paperColorMode, 2);
    parse({"-Yz"}, s);
    EXPECT_EQ(s.paperColorMode, 3);
}

TEST(CommandLine, ModesWindowAndBatchSwitches) {
    Settings s;
    const auto r = parse({"-FIT", "-T:ﾌﾟﾚﾋﾞｭｰ", "-TOP", "-T0", "-S0", "-M2", "-MX0", "-LP2", "-P.7", "-W800",
                          "-X10", "-Y-5", "-NS", "-G3MR", "-=/tmp/out.tif", "-#0312345678", "-PRINT", "-ESC1",
                          "-unknown", "file.FAX"},
                         s);
    EXPECT_EQ(r.sizeMode, 1);
    EXPECT_EQ(r.caption, "ﾌﾟﾚﾋﾞｭｰ");
    EXPECT_TRUE(r.topMost);
    EXPECT_EQ(r.toolBar, false);
    EXPECT_EQ(r.statusBar, false);
    EXPECT_EQ(r.menuMode, 1);
    EXPECT_FALSE(r.fileMenu);
    EXPECT_FALSE(r.scanning);
    EXPECT_FALSE(r.fax);
    EXPECT_EQ(s.viewCenter, 0);
    EXPECT_EQ(s.viewFrameShadow, 1);
    EXPECT_EQ(r.firstPage, 7);
    EXPECT_EQ(r.windowWidth, 800);
    EXPECT_FALSE(r.windowHeight);
    EXPECT_EQ(r.windowSizeMode, 1);
    EXPECT_EQ(r.windowX, 10);
    EXPECT_EQ(r.windowY, -5);
    EXPECT_TRUE(r.noSave);
    EXPECT_EQ(s.outCode, 13);
    EXPECT_EQ(r.convertTarget, "/tmp/out.tif");
    EXPECT_EQ(r.faxNumber, "0312345678");
    EXPECT_TRUE(r.printAll);
    EXPECT_EQ(s.enableEscKey, 1);
    EXPECT_EQ(r.files, std::vector<std::string>{"file.FAX"});
    EXPECT_EQ(r.shellCommand(), StartupRequest::ShellCommand::Print);
}

TEST(CommandLine, AtMost100FilesAreTaken) {
    Settings s;
    std::vector<std::string> args;
    for (int i = 0; i < 101; ++i) args.push_back("/d/p" + std::to_string(i) + ".MH");
    const auto r = parse(args, s);
    ASSERT_EQ(r.files.size(), 100u);
    EXPECT_EQ(r.files.back(), "/d/p99.MH");
    EXPECT_EQ(parse({}, s).shellCommand(), StartupRequest::ShellCommand::New);
}

}  // namespace
}  // namespace lumipage
