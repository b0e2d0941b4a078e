// Start-up of a windowed run: the application object reads the settings and
// the command line, creates the main window through the host below, opens
// the files and runs a batch command; the window then answers the requests
// of other running copies until it closes.
#include "gui/GuiStartup.h"

#include <cstdlib>

#include <QApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "app/AppHost.h"
#include "app/BatchFax.h"
#include "app/BatchMode.h"
#include "app/DocumentPrintPages.h"
#include "app/CLP98App.h"
#include "base/CommandIds.h"
#include "app/InstanceConnection.h"
#include "gui/CMainFrame.h"
#include "gui/FramePrinting.h"
#include "gui/FrameRequestSide.h"
#include "gui/QtMessages.h"
#include "gui/QtTranslations.h"
#include "platform/AppFolders.h"
#include "view/CLP98View.h"

namespace lumipage {

namespace {

// The window side of start-up.
class WindowHost : public AppHost {
public:
    WindowHost(CLP98App& app, QtMessages& messages) : app_(app), messages_(messages) {}

    CMainFrame* frame() const { return frame_.get(); }

    void createMainWindow() override {
        frame_ = std::make_unique<CMainFrame>(app_.settings(), app_.startup(), app_.table(), app_.document());
        messages_.setParent(frame_.get());
        frame_->setFaxDataFolder(app_.folders().dataFolder);
        frame_->setRecentFiles(&app_.recentFiles());
        frame_->setApplicationCommands([this](int id) { return app_.commandState(id); },
                                       [this](int id) { return app_.runCommand(id, *this); });
        // Requests of other copies set the size mode the application keeps.
        frame_->requestSide().useSizeMode([this] { return app_.sizeMode(); },
                                          [this](int mode) { app_.setSizeMode(mode); });
    }
    void showMainWindow() override { frame_->showPlaced(); }
    void closeMainWindow() override {
        if (frame_) frame_->close();
    }
    void runBatchCommand(int id) override {
        switch (id) {
            // Faxing all pages: the "#" number and the kept values, progress on standard error.
            case command::kFaxAll:
                batchFailed_ = !faxAllPages(app_.document(), app_.settings(), messages_,
                                            app_.startup().faxNumber.value_or(std::string()), stderr);
                break;
            // Printing all pages: with a display the print dialog is shown;
            // without one the pages go to the default printer.
            case command::kPrintAll: {
                DocumentPrintPages pages(app_.document());
                FramePrinting printing(nullptr, pages, app_.settings(), messages_);
                if (QGuiApplication::platformName() == "offscreen") batchFailed_ = !printing.printAllDirect();
                else printing.print(PrintRange::AllPages, PrinterDialog::Show, {});
                break;
            }
            case command::kConvertAll:
                batchFailed_ = runBatch(app_.startup(), app_.settings(), messages_, nullptr) != 0;
                break;
            default: break;
        }
    }
    void postCommand(int id) override {
        QTimer::singleShot(0, frame_.get(), [this, id] { frame_->runCommand(id); });
    }
    bool batchFailed() const { return batchFailed_; }

private:
    CLP98App& app_;
    QtMessages& messages_;
    std::unique_ptr<CMainFrame> frame_;
    bool batchFailed_ = false;
};

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

int runWindow(int argc, char** argv, const std::vector<std::string>& args) {
    // Printing all pages needs no display: without one the printer is driven off screen.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    installJapaneseTranslations(application);
    QtMessages messages;
    CLP98App app(AppFolders::find(), messages);
    WindowHost host(app, messages);
    if (app.initInstance(args, host) == CLP98App::Startup::End) {
        const bool failed = host.batchFailed() || app.table().empty();
        app.exitInstance();
        return failed ? 1 : 0;
    }

    // The saved view state or the auto-open files may have come after the window was shown.
    host.frame()->refresh();
    InstanceConnection link(app, host.frame()->requestSide());
    std::unique_ptr<QSocketNotifier> notifier;
    if (link.listen()) {
        notifier = std::make_unique<QSocketNotifier>(link.fd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&link] { link.handlePending(); });
        host.frame()->setBroadcaster([&link](int code, int value) { link.broadcast(uint32_t(code), value); });
        host.frame()->setColourBroadcaster([&link] { link.broadcastColours(); });
    }
    scheduleScreenshots(*host.frame());
    const int status = application.exec();
    link.closePreviews();
    app.exitInstance();
    return status;
}

}  // namespace lumipage
