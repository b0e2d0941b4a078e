// The program installed into a fresh prefix, and as the Debian package
// unpacked into a fresh root: every file in its place, the desktop files
// accepted by the desktop's own validators, and the installed program
// converting, scanning and registering itself from where it was put.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "InstalledTree.h"
#include "support/TestImages.h"

namespace lumipage {
namespace {

namespace fs = std::filesystem;
using test::InstalledTree;
using test::runCommand;

constexpr const char* kId = "org.lumipage.Lumipage";

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The output of a shell command (standard error included).
std::string output(const std::string& command, int* status = nullptr) {
    const std::string file = test::tempFolder() + "/out";
    const int rc = runCommand("(" + command + ") >'" + file + "' 2>&1");
    if (status) *status = rc;
    return readText(file);
}

void expectEveryFile(const InstalledTree& tree) {
    for (const std::string& f : InstalledTree::expectedFiles())
        EXPECT_TRUE(fs::is_regular_file(tree.root + "/" + f)) << f;
    // Nothing but the program and its preview maker go into bin.
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.root + "/bin"), fs::directory_iterator{}), 2);
}

class Install : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = new std::string(test::tempFolder() + "/prefix");
        installed_ = runCommand("cmake --install '" LUMIPAGE_BUILD_DIR "' --prefix '" + *prefix_ + "' >/dev/null");
    }
    static void TearDownTestSuite() { delete prefix_; }
    void SetUp() override { ASSERT_EQ(installed_, 0) << "cmake --install failed"; }
    InstalledTree tree() const { return InstalledTree{*prefix_}; }

    static std::string* prefix_;
    static int installed_;
};
std::string* Install::prefix_ = nullptr;
int Install::installed_ = -1;

TEST_F(Install, EveryFileIsInItsPlaceAndTheDesktopAcceptsThem) {
    const InstalledTree t = tree();
    expectEveryFile(t);

    const std::string desktop = t.share(std::string("applications/") + kId + ".desktop");
    int status = 0;
    EXPECT_EQ(output("desktop-file-validate '" + desktop + "'", &status), "");
    EXPECT_EQ(status, 0);
    const std::string entry = readText(desktop);
    for (const char* line : {"Exec=lumipage %F\n", "Icon=org.lumipage.Lumipage\n", "Name=Lumipage\n", "Name[ja]=",
                             "GenericName=", "Comment=", "Categories=Graphics;Viewer;", "Keywords=",
                             "MimeType=application/x-lumipage-index;application/x-lumipage-book;image/x-lumipage-page;"
                             "image/x-lumipage-fax;image/tiff;image/bmp;\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;

    const std::string metainfo = t.share(std::string("metainfo/") + kId + ".metainfo.xml");
    const std::string verdict = output("appstreamcli validate --no-net '" + metainfo + "'", &status);
    EXPECT_EQ(status, 0) << verdict;
    EXPECT_NE(readText(metainfo).find("/whole-page.png</image>"), std::string::npos);

    // The MIME database compiles the types, magic included.
    const std::string data = test::tempFolder();
    const std::string mime = data + "/mime";
    fs::create_directories(mime + "/packages");
    fs::copy_file(t.share(std::string("mime/packages/") + kId + ".xml"), mime + "/packages/" + kId + ".xml");
    EXPECT_EQ(output("XDG_DATA_DIRS='" + data + "' update-mime-database '" + mime + "'", &status), "");
    EXPECT_EQ(status, 0);
    const std::string magic = readText(mime + "/magic");
    for (const char* type : {"image/x-lumipage-page", "image/x-lumipage-fax", "application/x-lumipage-book",
                             "application/x-lumipage-index"})
        EXPECT_NE(magic.find(type), std::string::npos) << type;
    const std::string globs = readText(mime + "/globs2");
    EXPECT_NE(globs.find("image/x-lumipage-page:*.mh?"), std::string::npos);

    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string png = t.share("icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                                        "/apps/" + kId + ".png");
        EXPECT_NE(output("pngtopnm '" + png + "' | pnmfile").find(std::to_string(size) + " by " + std::to_string(size)),
                  std::string::npos)
            << png;
    }
    EXPECT_NE(readText(t.share(std::string("icons/hicolor/scalable/apps/") + kId + ".svg")).find("<svg"),
              std::string::npos);

    const std::string thumbnailer = readText(t.share("thumbnailers/lumipage.thumbnailer"));
    EXPECT_NE(thumbnailer.find("Exec=lumipage-thumbnailer %i %o %s\n"), std::string::npos);

    // The manual page formats without complaint and documents batch conversion.
    const std::string page = output("MANWIDTH=80 man --warnings -l '" + t.share("man/man1/lumipage.1.gz") + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(page.find("warning"), std::string::npos) << page;
    EXPECT_NE(page.find("BATCH CONVERSION"), std::string::npos);
    EXPECT_NE(page.find("--thumbnail"), std::string::npos);
}

TEST_F(Install, TheInstalledProgramConvertsAndScansWithItsOwnSourceManager) {
    const InstalledTree t = tree();
    EXPECT_EQ(t.checkBatchConversion(test::tempFolder()), "");
    EXPECT_EQ(t.checkScan(), "");
}

// Started with nothing, the installed program opens its guide book from
// share/lumipage and shows the very window the build's screenshots show;
// -REGPRG puts the desktop files into the user's data folder, naming the
// installed program.
TEST_F(Install, StartedAloneItShowsItsGuideBookAndRegistersItself) {
    const InstalledTree t = tree();
    const std::string work = test::tempFolder();
    const std::string shots = work + "/shots";
    fs::create_directories(shots);
    const std::string command = "cd '" + work + "' && ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen HOME='" +
                                work + "' XDG_CONFIG_HOME='" + work + "/config' XDG_DATA_HOME='" + work +
                                "/data' XDG_RUNTIME_DIR='" + work + "' LUMIPAGE_SCREENSHOTS='" + shots + "' '" +
                                t.program() + "' -NS -REGPRG -W1024 -H768";
    ASSERT_EQ(runCommand(command + " >/dev/null 2>&1"), 0) << command;
    const std::string mine = output("pngtopnm '" + shots + "/whole-page.png' | md5sum");
    const std::string built = output("pngtopnm '" + t.share("lumipage/screenshots/whole-page.png") + "' | md5sum");
    EXPECT_EQ(mine, built) << "the installed program started on something else than its guide book";

    const std::string desktop = work + "/data/applications/" + kId + ".desktop";
    int status = 0;
    EXPECT_EQ(output("desktop-file-validate '" + desktop + "'", &status), "");
    EXPECT_EQ(status, 0);
    EXPECT_NE(readText(desktop).find("Exec=\"" + t.program() + "\" %F\n"), std::string::npos) << readText(desktop);
    const std::string thumbnailer = fs::path(t.program()).parent_path() / "lumipage-thumbnailer";
    EXPECT_NE(readText(work + "/data/thumbnailers/lumipage.thumbnailer").find("Exec=\"" + thumbnailer + "\" %i %o %s\n"),
              std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(work + "/data/mime/packages/" + std::string(kId) + ".xml"));
    EXPECT_TRUE(fs::is_regular_file(work + "/data/icons/hicolor/48x48/apps/" + std::string(kId) + ".png"));
    EXPECT_TRUE(fs::is_regular_file(work + "/data/icons/hicolor/scalable/apps/" + std::string(kId) + ".svg"));
}

// The Debian package, built by CPack from this build and unpacked into a
// fresh root as dpkg would, without installing it.
TEST(Package, TheUnpackedPackageDeclaresItsNeedsAndWorksFromItsRoot) {
    const std::string work = test::tempFolder();
    ASSERT_EQ(runCommand("cd '" + work + "' && cpack --config '" LUMIPAGE_BUILD_DIR "/CPackConfig.cmake' -G DEB -B '" +
                         work + "/out' >'" + work + "/cpack.log' 2>&1"),
              0)
        << readText(work + "/cpack.log");
    std::string deb;
    for (const auto& e : fs::directory_iterator(work + "/out"))
        if (e.path().extension() == ".deb") deb = e.path().string();
    ASSERT_FALSE(deb.empty());
    EXPECT_NE(fs::path(deb).filename().string().find("lumipage_0.1"), std::string::npos) << deb;

    const std::string depends = output("dpkg-deb -f '" + deb + "' Depends");
    for (const char* needed : {"libc6", "libqt6widgets6", "libqt6gui6", "libqt6core6", "libsane1"})
        EXPECT_NE(depends.find(needed), std::string::npos) << needed << " missing in " << depends;

    const std::string root = work + "/root";
    ASSERT_EQ(runCommand("dpkg-deb -x '" + deb + "' '" + root + "'"), 0);
    const InstalledTree t{root + "/usr"};
    expectEveryFile(t);
    EXPECT_EQ(t.checkBatchConversion(test::tempFolder()), "");
    EXPECT_EQ(t.checkScan(), "");

    // No lintian errors; its warnings are looked at by hand.
    int status = 0;
    const std::string lint = output("lintian --fail-on error '" + deb + "'", &status);
    EXPECT_EQ(status, 0) << lint;
}

}  // namespace
}  // namespace lumipage
