#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/LaunchLines.h"
#include "app/RecentFileList.h"
#include "app/CommandState.h"
#include "base/Settings.h"
#include "platform/IniSettingsStore.h"
#include "document/CLP98Doc.h"
#include "document/DocumentObserver.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "platform/AppFolders.h"

namespace lumipage {

class AppHost;
class Messages;

// The application object: where the data and settings live, the settings
// themselves, the start-up request, the page list and its document for the
// whole run. The GUI calls initInstance() once and exitInstance() at the end.
class CLP98App : public DocumentObserver {
public:
    enum class Startup { Run, End };
    // The book a copy was started to show (a single argument of that name).
    enum class ShownBook { None, Manual, GuideBook };

    static constexpr const char* kAutoOpenIndex = "AutoOpen.LPX";
    static constexpr const char* kAutoOpenBook = "AutoOpen.LPB";
    static constexpr const char* kManualName = "LpManual.LPB";
    static constexpr const char* kGuideBookName = "Lumipage活用ガイド.LPB";

    CLP98App(AppFolders folders, Messages& messages);
    CLP98App(const CLP98App&) = delete;
    CLP98App& operator=(const CLP98App&) = delete;

    // Start-up: data folder, settings, command line, the files asked for,
    // batch commands, the saved view state or the auto-open files. End means
    // the program ends now (a batch command ran, or nothing could be opened).
    Startup initInstance(const std::vector<std::string>& args, AppHost& host);
    // The end of the run: the fax work folder goes, the settings are written
    // unless "NS". False when the settings file could not be written.
    bool exitInstance();

    // "表示状態を保存して終了": the page list as the saved view state, then the window closes.
    bool saveViewStateAndExit(AppHost& host);
    // The application's own commands (manual, guide book, saving the view
    // state and ending): their state, nothing for other commands; and running one.
    std::optional<CommandState> commandState(int id) const;
    bool runCommand(int id, AppHost& host);
    // Starts a copy showing the manual or the guide book (false when there is none).
    bool launchBook(const std::optional<std::string>& book) const;
    // Starts a preview copy for the file dialog (page 0: the first page).
    bool launchPreview(const launch_lines::PreviewWindow& window, int page,
                       const std::optional<std::string>& path) const;

    // The batch command of the start-up request: fax all, convert all, print all, in that order.
    static std::optional<int> batchCommandOf(const StartupRequest& request);

    Settings& settings() { return settings_; }
    const StartupRequest& startup() const { return startup_; }
    CLP98Doc& document() { return document_; }
    OpenFileTable& table() { return table_; }
    RecentFileList& recentFiles() { return recent_; }
    const AppFolders& folders() const { return folders_; }
    const std::optional<std::string>& manualPath() const { return manual_; }
    const std::optional<std::string>& guideBookPath() const { return guideBook_; }
    ShownBook shownBook() const { return shownBook_; }
    std::string viewStatePath() const;
    const std::string& storePath() const { return storePath_; }
    // The view's size mode: 1 whole page, 2 standard, 3 double size.
    int sizeMode() const { return sizeMode_; }
    void setSizeMode(int mode) { sizeMode_ = mode; }

    // Notices from the page list are passed on to this observer too (the file dialog).
    void setDocumentObserver(DocumentObserver* observer) { observer_ = observer; }
    void pathLeftList(const std::string& path) override;
    void indexChanged() override;
    void fileWritten(const std::string& path) override;
    void addRecentFile(const std::string& path) override;
    void removeRecentFile(const std::string& path) override;
    void scanNewFile(const std::string& path) override;

private:
    void findBooks();
    void readSettings(const std::vector<std::string>& args);
    void takeFileArguments();
    bool openFirst();
    void reopenDialogs(AppHost& host);
    void openSavedOrAutomatic(AppHost& host);

    AppFolders folders_;
    Settings settings_;
    StartupRequest startup_;
    FilePageCounter counter_;
    OpenFileTable table_;
    CLP98Doc document_;
    RecentFileList recent_;
    DocumentObserver* observer_ = nullptr;
    std::string storePath_;
    std::optional<std::string> manual_, guideBook_;
    ShownBook shownBook_ = ShownBook::None;
    std::optional<std::string> indexArgument_;  // the last ".LPX" file argument
    int sizeMode_ = 2;
    bool fileDialogPosted_ = false;
};

}  // namespace lumipage
