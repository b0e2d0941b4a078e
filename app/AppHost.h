#pragma once

namespace lumipage {

// What start-up needs from the window side: the main frame, its commands
// and the shell. The GUI implements it; batch runs and tests have their own.
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
    // Runs a command at once and returns when it is done (batch commands).
    virtual void runCommand(int commandId) = 0;
    // Queues a command for the event loop, to run once start-up is over.
    virtual void postCommand(int commandId) = 0;
};

}  // namespace lumipage
