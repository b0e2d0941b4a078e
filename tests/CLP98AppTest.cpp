// The application object over a private set of folders: data folder set-up,
// both settings stores, the saved view state, batch commands, auto-open files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/CommandIds.h"
#include "app/AppHost.h"
#include "app/CLP98App.h"
#include "app/LaunchLines.h"
#include "app/WindowRequest.h"
#include "platform/ProcessLauncher.h"
#include "support/DocumentFixture.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

namespace fs = std::filesystem;

struct FakeHost : AppHost {
    bool created = false, shown = false, closed = false;
    std::vector<int> ran, posted;
    void createMainWindow() override { created = true; }
    void showMainWindow() override { shown = true; }
    void closeMainWindow() override { closed = true; }
    void runBatchCommand(int id) override { ran.push_back(id); }
    void postCommand(int id) override { posted.push_back(id); }
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct App : test::DocumentFixture, ::testing::Test {
    AppFolders folders;
    PageRaster page = test::makePage(test::Pattern::Text, 96, 40, 1);
    std::string a, b;

    App() {
        folders.programFolder = dir + "/prog";
        folders.programFile = folders.programFolder + "/lumipage";
        folders.windowsFolder = dir + "/config/Quor";
        folders.dataFolder = dir + "/data/Quor/Lumipage";
        folders.faxWorkFolder = dir + "/tmp/LpFax";
        folders.currentFolder = dir;
        fs::create_directories(folders.programFolder);
        a = writeMH("a.MH", {&page, &page}, 0);
        b = writeMH("b.MH", {&page, &page, &page}, 0);
    }
    std::unique_ptr<CLP98App> start(const std::vector<std::string>& args, FakeHost& host,
                                    CLP98App::Startup expected = CLP98App::Startup::Run) {
        auto app = std::make_unique<CLP98App>(folders, messages);
        EXPECT_EQ(app->initInstance(args, host), expected);
        return app;
    }
};

TEST_F(App, DataFolderIsFilledFromTheProgramFolderWithoutReplacing) {
    const std::string& prog = folders.programFolder;
    const std::string& data = folders.dataFolder;
    write(prog + "/LpNormal.TEL", "program phone book");
    write(prog + "/LpFolder.LST", "program folders");
    write(prog + "/Form/Letter.(F)", "form");
    write(data + "/LP98FAX.TEL", "old phone book");
    write(data + "/LpFolder.LST", "my folders");
    FakeHost host;
    auto app = start({}, host);
    EXPECT_EQ(app->folders().dataFolder, data);
    EXPECT_EQ(readAll(data + "/LpNormal.TEL"), "old phone book");  // renamed first, then kept
    EXPECT_FALSE(fs::exists(data + "/LP98FAX.TEL"));
    EXPECT_EQ(readAll(data + "/LpFolder.LST"), "my folders");
    EXPECT_FALSE(fs::exists(data + "/LpProg.LST"));
    EXPECT_EQ(readAll(data + "/Form/Letter.(F)"), "form");

    // The old name is not renamed over an existing phone book.
    write(data + "/LP98FAX.TEL", "second old one");
    start({}, host);
    EXPECT_EQ(readAll(data + "/LpNormal.TEL"), "old phone book");
    EXPECT_EQ(readAll(data + "/LP98FAX.TEL"), "second old one");
}

TEST_F(App, DataFolderFallsBackToTheProgramFolder) {
    write(dir + "/blocked", "a file where a folder should be");
    folders.dataFolder = dir + "/blocked/Quor/Lumipage";
    FakeHost host;
    auto app = start({"-NS"}, host);
    EXPECT_EQ(app->folders().dataFolder, folders.programFolder);
    EXPECT_TRUE(fs::is_directory(folders.programFolder + "/Form"));

    folders.dataFolder = dir + "/data";
    write(folders.windowsFolder + "/Lumipage.conf", "[Option]\nAppDataModulePath=1\n");
    EXPECT_EQ(start({"-NS"}, host)->folders().dataFolder, folders.programFolder);
    EXPECT_FALSE(fs::exists(dir + "/data"));
}

TEST_F(App, SettingsRoundTripThroughBothStores) {
    const std::string ini = folders.programFolder + "/Lumipage.ini";
    const std::string conf = folders.windowsFolder + "/Lumipage.conf";
    FakeHost host;
    auto first = start({"-USEINI", a}, host);
    EXPECT_EQ(first->storePath(), ini);
    first->settings().bright = 80;
    first->settings().localId = "LUMI 1";
    first->recentFiles().add(b);
    ASSERT_TRUE(first->exitInstance());
    EXPECT_TRUE(fs::exists(ini));
    EXPECT_FALSE(fs::exists(conf));

    auto second = start({"-USEREG", "-USEINI"}, host);
    EXPECT_EQ(second->settings().bright, 80);
    EXPECT_EQ(second->settings().localId, "LUMI 1");
    EXPECT_EQ(second->recentFiles().paths(), (std::vector<std::string>{b}));

    // The default store is separate; garbage values and a stored MR coding fall back.
    write(conf, "[PaperColor]\nBright=lots\nContrast=\n[Option]\nOutCode=13\nAutoScroll=0\n"
                "[Recent File List]\nFile1=/x/one.LPX\nFile2=/x/one.LPX\n");
    auto third = start({}, host);
    EXPECT_EQ(third->storePath(), conf);
    EXPECT_EQ(third->settings().bright, 100);
    EXPECT_EQ(third->settings().contrast, 100);
    EXPECT_EQ(third->settings().outCode, 12);
    EXPECT_EQ(third->settings().autoScroll, 0);
    EXPECT_EQ(third->settings().localId, "");
    EXPECT_EQ(third->recentFiles().paths().size(), 1u);
    ASSERT_TRUE(third->exitInstance());
    EXPECT_NE(readAll(conf).find("Bright=100"), std::string::npos);
    EXPECT_NE(readAll(conf).find("OutCode=12"), std::string::npos);

    // "NS" writes nothing at all.
    fs::remove(conf);
    auto fourth = start({"-NS", "-AS1"}, host);
    fourth->settings().bright = 50;
    EXPECT_TRUE(fourth->exitInstance());
    EXPECT_FALSE(fs::exists(conf));
}

TEST_F(App, SavedViewStateReopensOnceAndOnlyWithoutFiles) {
    FakeHost host;
    auto first = start({a, b, "-P.4"}, host);
    ASSERT_EQ(first->table().fileCount(), 2);
    EXPECT_EQ(first->table().currentPage(), 4);
    EXPECT_TRUE(host.shown);
    first->table().select(2, true);
    ASSERT_TRUE(first->saveViewStateAndExit(host));
    EXPECT_TRUE(host.closed);
    const std::string saved = first->viewStatePath();
    EXPECT_EQ(saved, folders.windowsFolder + "/LpSave.LPX");
    EXPECT_NE(readAll(saved).find("<CurrentPage>\r\n4\r\n"), std::string::npos);

    FakeHost withFiles;
    auto second = start({b}, withFiles);
    EXPECT_EQ(second->table().fileCount(), 1);
    EXPECT_TRUE(fs::exists(saved));

    FakeHost empty;
    auto third = start({}, empty);
    ASSERT_EQ(third->table().fileCount(), 2);
    EXPECT_EQ(third->table().currentPage(), 4);
    EXPECT_TRUE(third->table().word(2).has(PageWord::kSelected));
    EXPECT_TRUE(third->table().index().writeProtected);
    EXPECT_FALSE(fs::exists(saved));
    ASSERT_TRUE(third->exitInstance());
    for (const std::string& recent : third->recentFiles().paths())
        EXPECT_EQ(recent.find("LpSave.LPX"), std::string::npos) << recent;
}

TEST_F(App, BatchCommandsRunWithTheWindowHidden) {
    FakeHost convert;
    start({"-=" + dir + "/out.tif", a, b}, convert, CLP98App::Startup::End);
    EXPECT_EQ(convert.ran, std::vector<int>{command::kConvertAll});
    EXPECT_FALSE(convert.created);
    EXPECT_FALSE(convert.shown);

    FakeHost both;  // fax all comes before print all
    start({"-PRINT", "-F", a}, both, CLP98App::Startup::End);
    EXPECT_EQ(both.ran, std::vector<int>{command::kFaxAll});

    FakeHost nothing;
    start({"-PRINT", dir + "/missing.MH"}, nothing, CLP98App::Startup::End);
    EXPECT_TRUE(nothing.ran.empty());
    EXPECT_FALSE(nothing.shown);
    EXPECT_NE(messages.last().find("missing.MH"), std::string::npos);
}

TEST_F(App, AutoOpenFilesOpenModeAndReopenedDialogs) {
    write(folders.programFolder + "/AutoOpen.LPX",
          "<LumipageIndex 2.1>\r\nPageStartPosition:1\r\n<DataFiles>\r\n" + b + "\r\n");
    FakeHost host;
    auto app = start({}, host);
    ASSERT_EQ(app->table().fileCount(), 1);
    EXPECT_EQ(app->table().entry(1).path, b);
    EXPECT_TRUE(host.posted.empty());

    fs::remove(folders.programFolder + "/AutoOpen.LPX");
    FakeHost open;
    auto opened = start({"-OPEN", dir + "/"}, open);
    EXPECT_EQ(opened->settings().openPath, dir);
    EXPECT_TRUE(opened->table().empty());
    EXPECT_EQ(open.posted, std::vector<int>{command::kOpen});

    // Dialogs open at the last exit come back, the file dialog only once.
    write(folders.windowsFolder + "/Lumipage.conf",
          "[Settings]\nFileOpenDlg=1:0:0:300:400\nPaperColorDlg=0:0:0:10:10\nCommentDlg=1:1:1:9:9\n");
    FakeHost reopened;
    start({"-OPEN"}, reopened);
    EXPECT_EQ(reopened.posted, (std::vector<int>{command::kEditComment, command::kOpen}));
    FakeHost sized;
    start({"-W720", "-H540", a}, sized);
    EXPECT_TRUE(sized.posted.empty());
    FakeHost scan;
    start({"-SCAN", "-NS"}, scan);
    EXPECT_EQ(scan.posted, std::vector<int>{command::kScanNew});
}

TEST_F(App, ExitRemovesTheFaxWorkFolderAndRemembersTheIndex) {
    write(folders.faxWorkFolder + "/page1.FAX", "x");
    writeText("list.LPX", "<LumipageIndex 2.1>\r\nPageStartPosition:3\r\n<DataFiles>\r\na.MH\r\n");
    FakeHost host;
    auto app = start({dir + "/list.LPX"}, host);
    ASSERT_EQ(app->table().fileCount(), 1);
    EXPECT_EQ(app->settings().pageStartPosition, 3);
    ASSERT_TRUE(app->exitInstance());
    EXPECT_FALSE(fs::exists(folders.faxWorkFolder));
    EXPECT_EQ(app->recentFiles().paths().front(), dir + "/list.LPX");
    EXPECT_EQ(app->settings().pageStartPosition, 1);  // the value from before the index
}

TEST_F(App, RegisteringMakesTheProgramKnownToTheDesktop) {
    folders.dataHome = dir + "/share";
    folders.programFile = dir + "/my $prog/lumipage";
    // The desktop files as the build stages them beside the program.
    fs::copy(LUMIPAGE_BUILD_DIR "/share", folders.programFolder + "/share", fs::copy_options::recursive);
    FakeHost host;
    start({"-REGPRG", "-NS"}, host);
    const std::string desktop = readAll(dir + "/share/applications/org.lumipage.Lumipage.desktop");
    // Quoted for the Exec key, "$" escaped, and the escape itself doubled for the file format.
    EXPECT_NE(desktop.find("Exec=\"" + dir + "/my \\\\$prog/lumipage\" %F\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("TryExec=" + dir + "/my $prog/lumipage\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("application/x-lumipage-index;"), std::string::npos);
    ASSERT_TRUE(fs::exists(dir + "/share/mime/packages/org.lumipage.Lumipage.xml"));
    EXPECT_TRUE(fs::exists(dir + "/share/icons/hicolor/scalable/apps/org.lumipage.Lumipage.svg"));
    // Previews come from the thumbnailer beside the program.
    const std::string thumbnailer = readAll(dir + "/share/thumbnailers/lumipage.thumbnailer");
    EXPECT_NE(thumbnailer.find("Exec=\"" + dir + "/my \\\\$prog/lumipage-thumbnailer\" %i %o %s\n"), std::string::npos)
        << thumbnailer;
    EXPECT_NE(thumbnailer.find("TryExec=" + dir + "/my $prog/lumipage-thumbnailer\n"), std::string::npos);
    if (test::runCommand("command -v update-mime-database >/dev/null 2>&1") == 0) {
        // The desktop's own tool took the types in.
        EXPECT_TRUE(fs::exists(dir + "/share/mime/application/x-lumipage-index.xml"));
        EXPECT_TRUE(fs::exists(dir + "/share/mime/image/x-lumipage-page.xml"));
    }
    FakeHost plain;
    folders.dataHome = dir + "/share2";
    start({"-NS"}, plain);
    EXPECT_FALSE(fs::exists(dir + "/share2"));
}

TEST_F(App, BooksAreShownInACopyStartedWithTheLaunchLine) {
    // A stand-in for the program that writes down the arguments it was given.
    const std::string started = dir + "/started.txt";
    write(folders.programFile, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + started + ".part\"\nmv \"" + started +
                                   ".part\" \"" + started + "\"\n");
    fs::permissions(folders.programFile, fs::perms::owner_all);
    write(folders.programFolder + "/Manual/LpManual.LPB", "book");
    FakeHost host;
    auto app = start({"-NS", "-AS0"}, host);
    ASSERT_EQ(app->manualPath(), folders.programFolder + "/Manual/LpManual.LPB");
    EXPECT_FALSE(app->guideBookPath());
    EXPECT_FALSE(app->launchBook(app->guideBookPath()));
    ASSERT_TRUE(app->launchBook(app->manualPath()));
    for (int i = 0; i < 250 && !fs::exists(started); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readAll(started), "-CR16777215,0,100,100,0\n-AS0\n-CS0\n-T1\n-S0\n-M0\n-MF0\n-MS0\n-MX0\n-NS\n"
                                "-W720\n-H540\n" + folders.programFolder + "/Manual/LpManual.LPB\n");
}

TEST(LaunchLines, ANewCopyReadsThemBack) {
    Settings s;
    s.paperColor = 0xCCEBFD;
    s.inkColor = 0x0000FF;
    s.bright = 90;
    s.contrast = 110;
    s.adjustGamma = 1;
    s.autoScroll = 0;
    s.catchScroll = 1;
    Settings copy;
    StartupRequest r = parseCommandLine(launch_lines::bookViewer(s, "/opt/lp/Manual/LpManual.LPB"), copy);
    EXPECT_EQ(copy.paperColor, 0xCCEBFD);
    EXPECT_EQ(copy.inkColor, 0xFF);
    EXPECT_EQ(copy.paperColorMode, 0);
    EXPECT_EQ(copy.bright, 90);
    EXPECT_EQ(copy.contrast, 110);
    EXPECT_EQ(copy.adjustGamma, 1);
    EXPECT_EQ(copy.autoScroll, 0);
    EXPECT_EQ(copy.catchScroll, 1);
    EXPECT_TRUE(r.noSave);
    EXPECT_EQ(r.menuMode, 0);
    EXPECT_FALSE(r.fileMenu || r.scanning || r.fax);
    EXPECT_EQ(r.toolBar, true);
    EXPECT_EQ(r.statusBar, false);
    EXPECT_EQ(r.windowWidth, 720);
    EXPECT_EQ(r.windowHeight, 540);
    EXPECT_EQ(r.files, std::vector<std::string>{"/opt/lp/Manual/LpManual.LPB"});

    s.previewWideStd = 0;
    r = parseCommandLine(launch_lines::preview(s, {-10, 20, 300, 400}, 5, std::string("-odd name.TIF")), copy);
    EXPECT_EQ(r.windowX, -10);
    EXPECT_EQ(r.windowY, 20);
    EXPECT_EQ(r.windowWidth, 300);
    EXPECT_EQ(r.windowHeight, 400);
    EXPECT_EQ(r.firstPage, 5);
    EXPECT_EQ(r.sizeMode, 1);
    EXPECT_TRUE(r.topMost && r.noSave);
    EXPECT_EQ(r.caption, "ﾌﾟﾚﾋﾞｭｰ");
    ASSERT_EQ(r.files.size(), 1u);  // a relative name starting with "-" still arrives as a file
    EXPECT_TRUE(r.files[0].starts_with("/") && r.files[0].ends_with("/-odd name.TIF"));
    s.previewWideStd = 1;
    r = parseCommandLine(launch_lines::preview(s, {0, 0, 200, 150}, 0, std::nullopt), copy);
    EXPECT_EQ(r.firstPage, 0);
    EXPECT_EQ(r.sizeMode, 2);
    EXPECT_TRUE(r.files.empty());
}

TEST(WindowRequest, SizeRulesOnA1024By768Screen) {
    Settings s;
    auto rect = [&](std::vector<std::string> args) { return requestedWindow(parseCommandLine(args, s), 1024, 768); };
    EXPECT_FALSE(rect({"a.MH"}));
    EXPECT_EQ(rect({"-W800"}), (WindowRect{112, 84, 800, 600}));
    EXPECT_EQ(rect({"-H600"}), (WindowRect{112, 84, 800, 600}));
    EXPECT_EQ(rect({"-X5"}), (WindowRect{0, 0, 1024, 768}));
    EXPECT_EQ(rect({"-W100", "-H50"}), (WindowRect{432, 324, 160, 120}));
    EXPECT_EQ(rect({"-W5000", "-X900", "-Y700", "-H300"}), (WindowRect{0, 468, 1024, 300}));
}

TEST(ProcessLauncher, StartsDetachedAndRefusesWhatCannotRun) {
    const std::string file = test::tempFolder() + "/started";
    ASSERT_TRUE(process::startDetached("/bin/sh", {"-c", "echo started > \"$0\"", file}));
    for (int i = 0; i < 250 && readAll(file).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readAll(file), "started\n");
    EXPECT_FALSE(process::startDetached("/nonexistent/lumipage", {}));
}

}  // namespace
}  // namespace lumipage
