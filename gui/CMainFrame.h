#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include <QMainWindow>

#include "app/CommandTable.h"
#include "app/ViewerCommands.h"
#include "gui/SaveTargetDialog.h"
#include "view/ViewTypes.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolBar;

namespace lumipage {

class CLP98Doc;
class CLP98FAX;
class FaxSendUi;
class CLP98View;
class CommentDialog;
class FileEditor;
struct ConversionResult;
class PageFileOperations;
class Messages;
class FrameCommentHost;
class FramePrintPages;
class FramePrinting;
class FrameRequests;
class FrameScanning;
class QtMessages;
class OpenFileTable;
class PageListDocument;
class PageNavigator;
class PageWidget;
class ViewerCommands;
class ViewMouse;
struct Settings;
struct StartupRequest;

// The program's main window: menu bar, tool bar and status bar around the
// page view, built from the command table and shaped by the start-up
// modes; it keeps its placement, shows the caption, takes dropped files and
// answers the requests of other running copies.
class CMainFrame : public QMainWindow {
public:
    static constexpr const char* kApplicationTitle = "Quor Lumipage";

    CMainFrame(Settings& settings, const StartupRequest& startup, OpenFileTable& table, CLP98Doc& document,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Places the window as stored or asked on the command line and shows it.
    void showPlaced();
    // Shows the document's current page and refreshes everything around it.
    void showCurrentPage();
    // Caption, counters, buttons and the enabled and checked states.
    void refresh();

    bool runCommand(int id);
    // Commands the application object carries out (manual, guide book,
    // saving the view state): their state and their handler.
    void setApplicationCommands(std::function<std::optional<CommandState>(int)> state,
                                std::function<bool(int)> run);
    // Batch printing: every page to the default printer.
    bool printAllPages();
    QAction* menuAction(int id) const;
    QAction* toolButton(int id) const;
    QString captionText() const;
    QString statusPaneText(int pane) const;
    const MenuShape& shape() const { return shape_; }

    // Requests of other running copies: the whole request as it arrives, or
    // one method per request for a transport that decodes them itself.
    int request(uint32_t code, std::span<const uint8_t> data);
    int closeAllRequest();
    int closePathRequest(const std::string& path);
    int replaceByPathRequest(const std::string& path, int page);
    int openPathRequest(const std::string& path, int page);
    int goToPageRequest(int page);
    // Told when a setting that other copies follow changed (code, value).
    void setBroadcaster(std::function<void(int, int)> broadcast);

    // Files dropped or opened: added to the page list, the first one shown.
    void openFiles(const std::vector<std::string>& paths);

    CLP98View& view() { return *view_; }
    PageNavigator& navigator() { return *navigator_; }
    PageWidget* pageWidget() const { return page_; }

    // The dialogs, opened from their commands.
    void openJumpDialog();
    void openPageList(bool selectedOnly);

    // Fax: the send job over all or the selected pages, the phone book and
    // the voice call, with the program's one fax object.
    CLP98FAX& fax();
    // The fax object made by the caller (a test's modem timing).
    void useFax(std::unique_ptr<CLP98FAX> fax);
    // The folder of the phone book file.
    void setFaxDataFolder(std::string folder) { faxDataFolder_ = std::move(folder); }
    // All pages to `number` with the kept values, progress on standard
    // error: the command line's fax run. False when the job did not end well.
    bool faxAllPages(const std::string& number);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void addMenuLines(QMenu* menu, std::span<const MenuLine> lines, size_t& at, int depth);
    QAction* makeAction(const MenuLine& line, QObject* parent);
    void buildToolBar();
    void buildStatusBar();
    void updateStates();
    void updateToolButtons();
    bool runWindowCommand(int id);
    bool handleKey(QKeyEvent* event);
    bool handleCharacter(QKeyEvent* event);
    void postCommand(int id);
    CommandState stateOf(int id) const;
    std::optional<CommandState> documentCommandState(int id) const;
    bool runDocumentCommand(int id);
    ViewRect pageClientRect() const;
    Messages& messages();
    FramePrinting& printing();
    void openContents();
    void openKeywordIndex();
    void openCommentDialog();
    void openBookInformation();
    void followCommentTarget();
    void moveMouseToCentre();
    void openWithDialog();
    void applyPlacement();
    void storePlacement();
    // Fax.
    std::optional<CommandState> faxCommandState(int id) const;
    bool runFaxCommand(int id);
    bool sendFax(bool selectedPages, FaxSendUi* ui);
    void openPhoneBook();
    void openVoiceCall();
    std::string phoneBookPath() const;

    // Scanning: the scan, copy and scan-to-fax commands (CMainFrameScan.cpp).
    std::optional<CommandState> scanCommandState(int id) const;
    bool runScanCommand(int id);
    FrameScanning& scanning() const;
    mutable std::unique_ptr<FrameScanning> scanning_;

    // Mouse: the page view's gestures, fed by the page widget.
    std::unique_ptr<ViewMouse> mouse_;

    // Page files: saving, converting, deleting and editing them, and saving the index.
    std::optional<CommandState> pageFilesCommandState(int id) const;
    bool runPageFilesCommand(int id);
    PageFileOperations& pageFiles() const;
    std::optional<SaveChoice> askSaveTarget(const SaveTargetDialog::Shape& shape, const SaveChoice& initial,
                                            bool commonDialog);
    void keepSaveOptions(const SaveChoice& choice);
    void saveCurrentPageFile();
    void convertPageFiles(bool selectedOnly);
    std::string bookInformationText() const;
    void offerAfterConversion(const ConversionResult& result);
    void editCurrentPageFile();
    void saveIndexFile();
    mutable std::unique_ptr<PageFileOperations> pageFiles_;
    mutable std::unique_ptr<FileEditor> fileEditor_;
    SaveChoice saveOptions_;  // the save dialog's choices, kept for the run

    Settings& settings_;
    const StartupRequest& startup_;
    OpenFileTable& table_;
    CLP98Doc& document_;
    MenuShape shape_;
    PageWidget* page_;
    std::unique_ptr<PageListDocument> viewDocument_;
    std::unique_ptr<CLP98View> view_;
    std::unique_ptr<PageNavigator> navigator_;
    std::unique_ptr<ViewerCommands> commands_;
    std::unique_ptr<FrameRequests> requests_;
    std::unique_ptr<QtMessages> messages_;
    std::unique_ptr<FramePrintPages> printPages_;
    std::unique_ptr<FramePrinting> printing_;
    std::unique_ptr<FrameCommentHost> commentHost_;
    CommentDialog* commentDialog_ = nullptr;
    std::optional<std::pair<std::string, int>> commentShown_;
    std::function<std::optional<CommandState>(int)> applicationState_;
    std::function<bool(int)> applicationRun_;
    std::map<int, QAction*> actions_;
    std::map<int, QAction*> buttons_;
    QToolBar* toolBar_ = nullptr;
    std::array<QLabel*, 5> panes_{};
    // Fax.
    std::unique_ptr<CLP98FAX> fax_;
    std::string faxDataFolder_;
};

}  // namespace lumipage
