#pragma once

namespace lumipage {

// What start-up needs from the window side: the main frame, its commands,
// the batch commands that need the toolkit (printing) and the shell. The
// GUI implements it; batch runs and tests have their own.
class AppHost {
public:
    virtual ~AppHost() = default;
    // Creates the main frame, still hidden (the start-up request and the
    // settings are read from the application object).
    virtual void createMainWindow() = 0;
    virtual void showMainWindow() = 0;
    virtual void closeMainWindow() = 0;
    // The frame takes dropped files from now on.
    virtual void acceptDroppedFiles() {}
    // Runs a batch command of the command line (fax all, convert all, print
    // all) at once, without the main window, and returns when it is done.
    virtual void runBatchCommand(int commandId) = 0;
    // Queues a command for the event loop, to run once start-up is over.
    virtual void postCommand(int commandId) = 0;
};

}  // namespace lumipage
