#include "app/CLP98App.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/CommandIds.h"
#include "app/AppHost.h"
#include "app/DataFolder.h"
#include "app/LaunchLines.h"
#include "comments/FileKind.h"
#include "document/IndexFile.h"
#include "platform/FileSystem.h"
#include "platform/ProcessLauncher.h"
#include "platform/ShellRegistration.h"

namespace lumipage {

namespace {

// The first of the places a book may be installed in that exists.
std::optional<std::string> firstExisting(const std::string& programFolder, const char* subfolder, const char* name) {
    for (const std::string& candidate : {files::joinPath(programFolder, std::string(subfolder) + "/" + name),
                                         files::joinPath(programFolder, name),
                                         files::joinPath(programFolder, std::string("../") + subfolder + "/" + name)}) {
        const std::string path = files::absolutePath(candidate);
        if (files::exists(path) && !files::isDirectory(path)) return path;
    }
    return std::nullopt;
}

// A "Settings" dialog entry "open:top:left:bottom:right" whose open flag is 1.
bool dialogWasOpen(const std::optional<std::string>& entry) {
    int open = 0, top = 0, left = 0, bottom = 0, right = 0;
    return entry && std::sscanf(entry->c_str(), "%d:%d:%d:%d:%d", &open, &top, &left, &bottom, &right) == 5 &&
           open == 1;
}

}  // namespace

CLP98App::CLP98App(AppFolders folders, Messages& messages)
    : folders_(std::move(folders)),
      counter_(messages),
      table_(counter_, this),
      document_(table_, settings_, startup_, messages, this) {}

std::string CLP98App::viewStatePath() const {
    return files::joinPath(folders_.windowsFolder, std::string(IndexFile::kViewStateName));
}

std::optional<int> CLP98App::batchCommandOf(const StartupRequest& r) {
    if (r.faxAll) return command::kFaxAll;
    if (r.convertTarget) return command::kConvertAll;
    if (r.printAll) return command::kPrintAll;
    return std::nullopt;
}

CLP98App::Startup CLP98App::initInstance(const std::vector<std::string>& args, AppHost& host) {
    findBooks();
    readSettings(args);
    folders_.dataFolder =
        data_folder::prepare(folders_.dataFolder, folders_.programFolder, settings_.appDataModulePath == 1);

    startup_ = parseCommandLine(args, settings_);
    sizeMode_ = startup_.sizeMode;
    if (startup_.registerProgram && !folders_.dataHome.empty())
        shell_registration::registerProgram(
            folders_.programFile, shell_registration::shareFolderFor(folders_.programFolder), folders_.dataHome);
    if (startup_.files.size() == 1) {
        const std::string name = files::fileNameOf(startup_.files.front());
        if (name == kManualName) shownBook_ = ShownBook::Manual;
        if (name == kGuideBookName) shownBook_ = ShownBook::GuideBook;
    }
    takeFileArguments();
    if (const auto batch = batchCommandOf(startup_)) {
        // No window is made; the program ends when the command is done.
        if (openFirst() && !table_.empty()) host.runBatchCommand(*batch);
        return Startup::End;
    }
    host.createMainWindow();
    const bool opening = !table_.empty() || indexArgument_;
    if (opening && !openFirst()) return Startup::End;
    host.showMainWindow();
    host.acceptDroppedFiles();
    const bool windowRequested = startup_.windowSizeMode != 0 || startup_.windowX || startup_.windowY;
    if (!startup_.noSave && !windowRequested) reopenDialogs(host);
    if (startup_.scanMode) {
        host.postCommand(command::kScanNew);
        return Startup::Run;
    }
    openSavedOrAutomatic(host);
    return Startup::Run;
}

void CLP98App::findBooks() {
    manual_ = firstExisting(folders_.bookFolder(), "Manual", kManualName);
    guideBook_ = firstExisting(folders_.bookFolder(), "GuideBook", kGuideBookName);
}

void CLP98App::readSettings(const std::vector<std::string>& args) {
    storePath_ =
        storeOf(args) == StartupRequest::Store::Ini ? folders_.iniStorePath() : folders_.defaultStorePath();
    IniSettingsStore store(storePath_);
    store.load();
    recent_.load(store);
    settings_.load(store, folders_.currentFolder, folders_.dataFolder, files::isDirectory);
}

// Open and scan mode take a first argument naming a folder as their folder
// and open nothing; otherwise every argument is added to the page list,
// except index files: the last one named is opened instead.
void CLP98App::takeFileArguments() {
    if (startup_.openMode || startup_.scanMode) {
        if (startup_.files.empty()) return;
        const std::string folder = files::absolutePath(startup_.files.front());
        if (!files::isDirectory(folder)) return;
        if (startup_.openMode) settings_.openPath = folder;
        if (startup_.scanMode) settings_.scanFilePath = folder;
        return;
    }
    for (const std::string& name : startup_.files) {
        if (table_.fileCount() >= OpenFileTable::kMaxFiles) break;
        if (fileKindOf(name) == FileKind::Index) indexArgument_ = files::absolutePath(name);
        else document_.addByName(name);
    }
    if (!table_.empty() && startup_.sortFiles) table_.sortEntries(1, table_.fileCount());
}

bool CLP98App::openFirst() {
    if (indexArgument_) return document_.index().read(*indexArgument_, false, startup_.firstPage);
    if (table_.empty()) return false;
    return document_.goToPage(startup_.firstPage > 0 ? startup_.firstPage : 1);
}

void CLP98App::reopenDialogs(AppHost& host) {
    if (dialogWasOpen(settings_.commentDlg)) host.postCommand(command::kEditComment);
    if (dialogWasOpen(settings_.paperColorDlg)) host.postCommand(command::kColourAdjustment);
    if (dialogWasOpen(settings_.fileOpenDlg)) {
        host.postCommand(command::kOpen);
        fileDialogPosted_ = true;
    }
}

// With nothing open the saved view state comes back (and is used up), else
// the auto-open index or book; open mode shows the file dialog otherwise.
void CLP98App::openSavedOrAutomatic(AppHost& host) {
    const auto openDialog = [&] {
        if (startup_.openMode && !fileDialogPosted_) host.postCommand(command::kOpen);
    };
    const std::string saved = viewStatePath();
    if (files::exists(saved)) {
        if (table_.empty()) {
            document_.index().read(saved, false, 0);
            files::removeFile(saved);
        }
        return;
    }
    if (!startup_.fileMenu || !table_.empty()) return openDialog();
    const std::string autoIndex = files::joinPath(folders_.bookFolder(), kAutoOpenIndex);
    const std::string autoBook = files::joinPath(folders_.bookFolder(), kAutoOpenBook);
    if (files::exists(autoIndex)) document_.index().read(autoIndex, false, 0);
    else if (files::exists(autoBook)) document_.openPath(autoBook);
    else openDialog();
}

bool CLP98App::exitInstance() {
    std::error_code ec;
    if (files::isDirectory(folders_.faxWorkFolder)) std::filesystem::remove_all(folders_.faxWorkFolder, ec);
    const IndexState& index = table_.index();
    if (index.inUse) {
        if (index.path.find(IndexFile::kViewStateName) == std::string::npos) recent_.add(index.path);
        settings_.pageStartPosition = index.pageStartBefore;
    }
    if (startup_.noSave) return true;
    IniSettingsStore store(storePath_.empty() ? folders_.defaultStorePath() : storePath_);
    store.load();  // keys of other parts of the program stay as they are
    settings_.save(store);
    recent_.save(store);
    files::makeFolders(files::folderOf(store.path()));
    return store.save();
}

std::optional<CommandState> CLP98App::commandState(int id) const {
    switch (id) {
        case command::kManual: return CommandState{manualPath().has_value(), false, {}};
        case command::kGuideBook: return CommandState{guideBookPath().has_value(), false, {}};
        case command::kSaveStateAndExit: return CommandState{!table_.empty(), false, {}};
        default: return std::nullopt;
    }
}

bool CLP98App::runCommand(int id, AppHost& host) {
    switch (id) {
        case command::kManual: launchBook(manualPath()); return true;
        case command::kGuideBook: launchBook(guideBookPath()); return true;
        case command::kSaveStateAndExit: saveViewStateAndExit(host); return true;
        default: return false;
    }
}

bool CLP98App::saveViewStateAndExit(AppHost& host) {
    files::makeFolders(folders_.windowsFolder);
    const IndexState& index = table_.index();
    const std::string name = index.inUse ? index.displayName : std::string();
    if (!document_.index().write(viewStatePath(), name, true)) return false;
    host.closeMainWindow();
    return true;
}

bool CLP98App::launchBook(const std::optional<std::string>& book) const {
    if (!book) return false;
    return process::startDetached(folders_.programFile, launch_lines::bookViewer(settings_, *book));
}

bool CLP98App::launchPreview(const launch_lines::PreviewWindow& window, int page,
                             const std::optional<std::string>& path) const {
    return process::startDetached(folders_.programFile, launch_lines::preview(settings_, window, page, path));
}

void CLP98App::pathLeftList(const std::string& path) {
    if (observer_) observer_->pathLeftList(path);
}
void CLP98App::indexChanged() {
    if (observer_) observer_->indexChanged();
}
void CLP98App::fileWritten(const std::string& path) {
    if (observer_) observer_->fileWritten(path);
}
void CLP98App::addRecentFile(const std::string& path) {
    recent_.add(path);
    if (observer_) observer_->addRecentFile(path);
}
void CLP98App::removeRecentFile(const std::string& path) {
    recent_.remove(path);
    if (observer_) observer_->removeRecentFile(path);
}
void CLP98App::scanNewFile(const std::string& path) {
    if (observer_) observer_->scanNewFile(path);
}

}  // namespace lumipage
