#pragma once
#include <QPrinter>
#include <memory>
#include <optional>

#include "view/PrintJob.h"

class QWidget;

namespace lumipage {

class Messages;
struct Settings;

// The print commands: print with or without the printer dialog, preview,
// printer set-up. One printer is kept for the whole run. `window` is the
// main window the dialogs belong to; null when printing runs without one
// (the command line's "-PRINT").
class FramePrinting {
public:
    FramePrinting(QWidget* window, PrintPages& pages, Settings& settings, Messages& messages)
        : window_(window), pages_(pages), settings_(settings), messages_(messages) {}
    static constexpr const char* kNoPrinter = "プリンタが見つかりません";

    // `client`: the page area's rectangle, for the current-screen range.
    void print(PrintRange range, PrinterDialog dialog, const ViewRect& client);
    void preview(PrintRange range, const ViewRect& client);
    void printerSetup();
    // Batch printing: all pages to the default printer; false when there is none.
    bool printAllDirect();

    QPrinter& printer();

private:
    void setUp(PrintJob& job, PrintRange range, bool preview, const ViewRect& client);
    // With `AutoMousePos` the pointer goes to the middle of the main window first.
    void moveMouseToCentre();

    QWidget* window_;
    PrintPages& pages_;
    Settings& settings_;
    Messages& messages_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace lumipage
