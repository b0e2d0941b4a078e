#pragma once
#include <functional>
#include <memory>

#include "app/CommandRouter.h"
#include "app/FaxSending.h"

namespace lumipage {

class CLP98Doc;
class CLP98FAX;
class CLP98View;
class FaxSendUi;
class CommentHost;
class PrintPages;
class FileEditor;
class OpenFileTable;
class PageFileOperations;
class PageListDocument;
class PageNavigator;
class PageListCommentHost;
class ViewPrintPages;
class ScanSession;
class ScanWindow;
class ViewHost;
class ViewerCommands;
struct Settings;

// What the session needs from the window it runs under: where the view
// draws, the program that edits files (with the window's event pump), the
// window's side of scanning (null: no scanning) and whether its colour
// dialog is open.
struct SessionWindow {
    ViewHost& viewHost;
    std::function<std::unique_ptr<FileEditor>()> makeFileEditor;
    ScanWindow* scanWindow = nullptr;
    std::function<bool()> colourDialogOpen;
};

// The core of a windowed run, without any toolkit: it owns the page view and
// what the view shows, the navigator, the viewer's commands, the fax
// object, scanning, the page-file operations and the command table every command
// goes through. The window turns its events into calls here, adds the
// handlers of the commands that open its dialogs, and paints the view.
class CoreSession {
public:
    CoreSession(Settings& settings, OpenFileTable& table, CLP98Doc& document, SessionWindow window);
    ~CoreSession();
    CoreSession(const CoreSession&) = delete;
    CoreSession& operator=(const CoreSession&) = delete;

    PageListDocument& viewDocument() { return *viewDocument_; }
    CLP98View& view() { return *view_; }
    PageNavigator& navigator() { return *navigator_; }
    ViewerCommands& commands() { return *commands_; }
    CommandRouter& router() { return router_; }
    const CommandRouter& router() const { return router_; }

    // The program's one fax object, made on first use; a test may give its own.
    CLP98FAX& fax();
    void useFax(std::unique_ptr<CLP98FAX> fax);
    // A send job over all or the selected pages with the program's fax object.
    bool sendFax(DocumentFaxPages::Range range, FaxSendUi& ui, const FaxCallWindow& window);
    // Saving, converting, deleting and editing page files, made on first use.
    PageFileOperations& pageFiles();
    FileEditor& fileEditor();
    // Whether a page file is being edited in another program now.
    bool editingPageFile() const;
    // Scanning, with the source manager loaded on first use; only with a scan window.
    ScanSession& scanning();
    // The pages a print job prints, the view following the job.
    PrintPages& printPages();
    // What the comment dialog edits: the current file or page. A written
    // comment refreshes the document's title and tells `changed`.
    CommentHost& commentHost();
    void setChangeListener(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    Settings& settings_;
    OpenFileTable& table_;
    CLP98Doc& document_;
    SessionWindow window_;
    std::unique_ptr<PageListDocument> viewDocument_;
    std::unique_ptr<CLP98View> view_;
    std::unique_ptr<PageNavigator> navigator_;
    std::unique_ptr<ViewerCommands> commands_;
    CommandRouter router_;
    std::unique_ptr<CLP98FAX> fax_;
    std::unique_ptr<PageFileOperations> pageFiles_;
    std::unique_ptr<FileEditor> fileEditor_;
    std::unique_ptr<ScanSession> scanning_;
    std::unique_ptr<ViewPrintPages> printPages_;
    std::unique_ptr<PageListCommentHost> commentHost_;
    std::function<void()> changed_;

    void addScanHandlers();
    void addFaxHandlers();
    bool scannerReady();
};

}  // namespace lumipage
