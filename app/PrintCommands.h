#pragma once
#include "base/CommandIds.h"
#include "view/PrintLayout.h"

namespace lumipage {

// The print and preview commands: which pages each takes, and whether the
// printer dialog comes first or a preview is shown instead.
struct PrintCommand {
    int id;
    PrintRange range;
    bool dialog;
    bool preview;
};

inline constexpr PrintCommand kPrintCommands[] = {
    {command::kPrintAllDialog, PrintRange::AllPages, true, false},
    {command::kPrintAll, PrintRange::AllPages, true, false},
    {command::kPrintDirect, PrintRange::AllPages, false, false},
    {command::kPrintSelected, PrintRange::SelectedPages, true, false},
    {command::kPrintScreen, PrintRange::CurrentScreen, true, false},
    {command::kPreviewAll, PrintRange::AllPages, false, true},
    {command::kPreviewSelected, PrintRange::SelectedPages, false, true},
    {command::kPreviewScreen, PrintRange::CurrentScreen, false, true},
};

}  // namespace lumipage
