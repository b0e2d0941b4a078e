#include "InstalledTree.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "scan/ScanJob.h"
#include "scan/SourceManagerLibrary.h"
#include "scan/TwainSession.h"
#include "support/DocumentFixture.h"
#include "support/FakeTwainSource.h"
#include "support/LibtiffFiles.h"
#include "support/SaneTestBackend.h"
#include "support/ScriptedScanUi.h"
#include "support/TestImages.h"

namespace lumipage::test {

std::vector<std::string> InstalledTree::expectedFiles() {
    const std::string id = "org.lumipage.Lumipage";
    std::vector<std::string> list{"bin/lumipage",
                                  "bin/lumipage-thumbnailer",
                                  "lib/lumipage/libtwaindsm.so",
                                  "lib/lumipage/libtwaindsm-options.so",
                                  "share/lumipage/AutoOpen.LPB",
                                  "share/lumipage/GuideBook/Lumipage活用ガイド.LPB",
                                  "share/lumipage/Manual/LpManual.LPB",
                                  "share/lumipage/screenshots/whole-page.png",
                                  "share/lumipage/screenshots/page-width.png",
                                  "share/lumipage/screenshots/one-to-one.png",
                                  "share/applications/" + id + ".desktop",
                                  "share/mime/packages/" + id + ".xml",
                                  "share/metainfo/" + id + ".metainfo.xml",
                                  "share/thumbnailers/lumipage.thumbnailer",
                                  "share/man/man1/lumipage.1.gz",
                                  "share/man/man1/lumipage-thumbnailer.1.gz",
                                  "share/doc/lumipage/copyright",
                                  "share/doc/lumipage/changelog.gz",
                                  "share/icons/hicolor/scalable/apps/" + id + ".svg"};
    for (const char* size : {"16x16", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"})
        list.push_back(std::string("share/icons/hicolor/") + size + "/apps/" + id + ".png");
    return list;
}

std::string InstalledTree::checkBatchConversion(const std::string& work) const {
    std::vector<PageRaster> pages;
    for (int i = 0; i < 3; ++i) pages.push_back(makePage(Pattern::Text, 640 + 8 * i, 480, uint32_t(i + 1)));
    std::vector<LibtiffPage> stored;
    for (const PageRaster& p : pages) stored.push_back(LibtiffPage{&p});
    const std::string source = work + "/source.tif";
    const std::string out = work + "/all.tif";
    if (!writeTiffWithLibtiff(source, stored)) return "the source could not be written";
    // A fresh home: the installed program reads and writes only there.
    const std::string command = "cd '" + work + "' && HOME='" + work + "' XDG_CONFIG_HOME='" + work +
                                "/config' XDG_DATA_HOME='" + work + "/data' '" + program() + "' -ONE '-=" + out +
                                "' '" + source + "' 2>'" + work + "/batch.err'";
    if (runCommand(command) != 0) return "the batch conversion failed: " + command;
    for (int i = 0; i < 3; ++i) {
        PageRaster back;
        if (!readTiffWithLibtiff(out, i, back)) return "page " + std::to_string(i + 1) + " cannot be read back";
        if (firstDifferentRow(back, pages[size_t(i)]) != -1) return "page " + std::to_string(i + 1) + " differs";
    }
    return "";
}

std::string InstalledTree::checkScan() const {
    std::string error;
    const std::string sane = useSaneTestBackend(error);
    if (sane.empty()) return error;
    std::ofstream(sane + "/dll.conf") << "test\n";
    std::ofstream(sane + "/test.conf") << "number_of_devices 1\nmode Gray\ndepth 8\ntest-picture \"Grid\"\n"
                                       << "read-status-code \"Default\"\n";
    // Where the installed program looks for the manager it is configured with.
    const std::vector<std::string> candidates =
        DlopenSourceManager::candidatesFor(root + "/bin", "libtwaindsm.so");
    std::string manager;
    for (const std::string& c : candidates)
        if (std::filesystem::exists(c)) {
            manager = c;
            break;
        }
    if (manager != root + "/lib/lumipage/libtwaindsm.so") return "the installed source manager is not found: " + manager;

    DocumentFixture doc;
    FakeHost host;
    DlopenSourceManager library{manager};
    TwainSession session{library, doc.messages, host, "Lumipage test"};
    ScriptedScanUi ui;
    ScanSettings settings;
    settings.folder = doc.dir;
    settings.prefix = "SCAN";
    settings.customSize = true;
    settings.customWidth = 40;
    settings.customHeight = 30;
    ScanJob job(session, doc.doc, doc.messages, ui, settings, doc.dir + "/LpFax");
    ui.answers = {ScanDialogResult::Execute};
    job.run(ScanMode::NewFiles);
    if (!doc.messages.said.empty()) return "the scan said: " + doc.messages.said.front();
    PageRaster scanned;
    if (!readTiffWithLibtiff(doc.dir + "/SCAN001.TIF", 0, scanned)) return "no scanned file";
    // 40 mm at 300 dpi, cut to whole bytes; the grid is about half ink.
    if (scanned.width != 472 || scanned.height < 350) return "the scanned page has the wrong size";
    size_t ink = 0;
    for (int y = 0; y < scanned.height; ++y)
        for (int x = 0; x < scanned.width; ++x) ink += (scanned.row(y)[x / 8] >> (7 - x % 8)) & 1;
    if (ink < size_t(scanned.width) * size_t(scanned.height) / 4) return "the scanned page holds no grid";
    return "";
}

}  // namespace lumipage::test
