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

#include "app/CommandRouter.h"
#include "app/CommandTable.h"
#include "app/KeyTable.h"
#include "app/ViewerCommands.h"
#include "gui/dialogs/SaveTargetDialog.h"
#include "view/ViewTypes.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPrinter;
class QToolBar;

namespace lumipage {

class CLP98Doc;
class CoreSession;
class CLP98FAX;
class FaxSendUi;
class CLP98View;
class ColourAdjustment;
class ColourDialog;
class CommentDialog;
class FileEditor;
struct ConversionResult;
class PageFileOperations;
class Messages;
class FramePrinting;
class InstanceRequestHandler;
class FrameRequestSide;
class FrameScanning;
class QtMessages;
class RecentFileList;
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
    // Sees every command before it runs; returning true takes the command
    // away from the window. Lets automation and tests watch the commands
    // that keys and the mouse give without opening their dialogs.
    void setCommandFilter(std::function<bool(int)> filter) { commandFilter_ = std::move(filter); }
    // Commands the application object carries out (manual, guide book,
    // saving the view state): their state and their handler.
    void setApplicationCommands(std::function<std::optional<CommandState>(int)> state,
                                std::function<bool(int)> run);
    QAction* menuAction(int id) const;
    QAction* toolButton(int id) const;
    QString captionText() const;
    QString statusPaneText(int pane) const;
    const MenuShape& shape() const { return shape_; }

    // A request of another running copy, answered as the sender receives it.
    int request(uint32_t code, std::span<const uint8_t> data);
    // The window's side of those requests, which the copies' connection shares.
    FrameRequestSide& requestSide() { return *requestSide_; }
    // Told when a setting that other copies follow changed (code, value).
    void setBroadcaster(std::function<void(int, int)> broadcast);

    // Files dropped or opened: added to the page list, the first one shown.
    void openFiles(const std::vector<std::string>& paths);

    // The recent files the file menu offers (the application's list).
    void setRecentFiles(RecentFileList* list);
    // The printer kept for the run (the print dialog sets it up).
    QPrinter& printer();

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
    bool handleKey(QKeyEvent* event);
    KeyContext keyContext() const;
    bool runKeyAction(const KeyAction& action, bool autoRepeat = false);
    void postCommand(int id);
    CommandState stateOf(int id) const;
    // The command table: the core's update handlers, the window's handlers.
    void addHandlers();
    CommandRouter& router();
    void addFaxHandlers();
    void addColourHandlers();
    void addOptionsHandlers();
    void addPageFileHandlers();
    ViewRect pageClientRect() const;
    Messages& messages();
    FramePrinting& printing();
    void openContents();
    void openKeywordIndex();
    void openCommentDialog();
    void storeCommentDialogAtExit();
    void storeOpenDialogAtExit();
    void restoreToolBar();
    void storeToolBar();
    void openBookInformation();
    void followCommentTarget();
    void moveMouseToCentre();
    void openWithDialog();
    void applyPlacement();
    void storePlacement();
    // Fax.
    bool sendFax(bool selectedPages, FaxSendUi* ui);
    void openPhoneBook();
    void openVoiceCall();
    std::string phoneBookPath() const;

public:
    // Colour adjustment: the modeless colour dialog (CMainFrameColour.cpp).
    bool colourDialogOpen() const;
    ColourDialog* colourDialog() const { return colourDialog_; }
    // The colour settings changed underneath (another copy sent them): the view shows them.
    void coloursChanged();
    // Told after the colour dialog changed the colours, to pass them on to the other copies.
    void setColourBroadcaster(std::function<void()> broadcast);

private:
    void openColourDialog();
    void placeColourDialog();
    void colourDialogClosed(bool rememberPosition);
    void storeColourDialogPosition(bool open);
    void storeColourDialogAtExit();
    std::unique_ptr<ColourAdjustment> colourAdjustment_;
    ColourDialog* colourDialog_ = nullptr;
    std::function<void()> colourBroadcast_;

    // Scanning: the window's dialogs and jobs for the core's scans (CMainFrameScan.cpp).
    std::unique_ptr<FrameScanning> makeScanWindow();
    std::unique_ptr<FrameScanning> scanWindow_;

    // Recent files: their items in the file menu (CMainFrameRecent.cpp).
    void updateRecentMenu();
    void openRecent(size_t index);
    RecentFileList* recent_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::vector<QAction*> recentActions_;
    std::vector<std::string> recentShown_;

    // Options: the options dialog and what the window follows up after its OK (CMainFrameOptions.cpp).
    void openOptions();
    void reopenCommentDialog();

    // Mouse: the page view's gestures, fed by the page widget.
    std::unique_ptr<ViewMouse> mouse_;

    // Page files: saving, converting, deleting and editing them, and saving the index.
    PageFileOperations& pageFiles() const;
    static std::unique_ptr<FileEditor> makeFileEditor();
    std::optional<SaveChoice> askSaveTarget(const SaveTargetDialog::Shape& shape, const SaveChoice& initial,
                                            bool commonDialog);
    void keepSaveOptions(const SaveChoice& choice);
    void saveCurrentPageFile();
    void convertPageFiles(bool selectedOnly);
    std::string bookInformationText() const;
    void offerAfterConversion(const ConversionResult& result);
    void editCurrentPageFile();
    void saveIndexFile();
    SaveChoice saveOptions_;  // the save dialog's choices, kept for the run
    // A close asked for during a fax call cancels the call and closes the window once it has ended.
    bool faxCallRunning_ = false;
    bool closeAfterFax_ = false;

    Settings& settings_;
    const StartupRequest& startup_;
    OpenFileTable& table_;
    CLP98Doc& document_;
    MenuShape shape_;
    std::function<bool(int)> commandFilter_;
    PageWidget* page_;
    // The core under the window, and what it owns that the window uses most.
    std::unique_ptr<CoreSession> session_;
    PageListDocument* viewDocument_ = nullptr;
    CLP98View* view_ = nullptr;
    PageNavigator* navigator_ = nullptr;
    ViewerCommands* commands_ = nullptr;
    std::unique_ptr<FrameRequestSide> requestSide_;
    std::unique_ptr<InstanceRequestHandler> requests_;
    std::unique_ptr<FramePrinting> printing_;
    CommentDialog* commentDialog_ = nullptr;
    std::optional<std::pair<std::string, int>> commentShown_;
    std::map<int, QAction*> actions_;
    std::map<int, QAction*> buttons_;
    QToolBar* toolBar_ = nullptr;
    std::array<QLabel*, 5> panes_{};
    // Fax.
    std::string faxDataFolder_;
};

}  // namespace lumipage
