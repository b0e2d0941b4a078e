// A windowed run from start to exit. The application object will take this
// over; until then the order is: settings, command line, page list,
// document, files, window.
#include "gui/GuiStartup.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QTimer>

#include "app/CommandIds.h"
#include "app/CommandLine.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "document/CLP98Doc.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "gui/CMainFrame.h"
#include "gui/PageWidget.h"
#include "gui/QtMessages.h"
#include "platform/AppFolders.h"
#include "platform/FileSystem.h"
#include "view/CLP98View.h"

namespace lumipage {

namespace {

std::string storePathFor(const std::vector<std::string>& args, const AppFolders& folders) {
    Settings scratch;
    const StartupRequest probe = parseCommandLine(args, scratch);
    return probe.store == StartupRequest::Store::Ini ? folders.iniStorePath() : folders.defaultStorePath();
}

void openRequestedFiles(CLP98Doc& document, OpenFileTable& table, const StartupRequest& request) {
    for (const std::string& name : request.files) document.addByName(name);
    if (request.sortFiles && table.fileCount() > 1) table.sortEntries(1, table.fileCount());
    if (!table.empty()) document.goToPage(request.firstPage > 0 ? request.firstPage : 1);
}

// A debugging aid: with LUMIPAGE_SCREENSHOTS set to a folder, the window
// saves itself at the whole-page, page-width and 1:1 levels and quits.
void scheduleScreenshots(CMainFrame& frame) {
    const char* folder = std::getenv("LUMIPAGE_SCREENSHOTS");
    if (!folder || !*folder) return;
    const std::string dir = folder;
    QTimer::singleShot(500, &frame, [&frame, dir] {
        frame.runCommand(command::kFitWholePage);
        QApplication::processEvents();
        frame.grab().save(QString::fromStdString(dir + "/whole-page.png"));
        frame.runCommand(command::kFitPageWidth);
        QApplication::processEvents();
        frame.grab().save(QString::fromStdString(dir + "/page-width.png"));
        frame.view().toggleOneToOne();
        frame.refresh();
        QApplication::processEvents();
        frame.grab().save(QString::fromStdString(dir + "/one-to-one.png"));
        QApplication::quit();
    });
}

}  // namespace

int runBatch(const StartupRequest&) {
    std::fprintf(stderr, "lumipage: batch commands are not available in this build\n");
    return 2;
}

int runWindow(int argc, char** argv, const std::vector<std::string>& args) {
    QApplication application(argc, argv);
    const AppFolders folders = AppFolders::find();
    SettingsStore store(storePathFor(args, folders));
    store.load();
    Settings settings;
    settings.load(store, folders.currentFolder, folders.dataFolder, files::isDirectory);
    const StartupRequest request = parseCommandLine(args, settings);

    QtMessages messages;
    FilePageCounter counter(messages);
    OpenFileTable table(counter);
    CLP98Doc document(table, settings, request, messages);
    CMainFrame frame(settings, request, table, document);
    messages.setParent(&frame);
    openRequestedFiles(document, table, request);
    frame.showPlaced();
    scheduleScreenshots(frame);
    const int status = application.exec();

    if (!request.noSave) {
        settings.save(store);
        files::makeFolders(files::folderOf(store.path()));
        store.save();
    }
    return status;
}

}  // namespace lumipage
