#pragma once
#include "base/CommandIds.h"
#include "view/PrintLayout.h"

namespace lumipage {

// The print and preview commands: which pages each takes, and whether the
// printer dialog comes first or a preview is shown instead.
struct PrintCommand {
    int id;
    PrintRange range;
    PrinterDialog dialog;
    bool preview;
};

inline constexpr PrintCommand kPrintCommands[] = {
    {command::kPrintAllDialog, PrintRange::AllPages, PrinterDialog::Show, false},
    {command::kPrintAll, PrintRange::AllPages, PrinterDialog::Show, false},
    {command::kPrintDirect, PrintRange::AllPages, PrinterDialog::Skip, false},
    {command::kPrintSelected, PrintRange::SelectedPages, PrinterDialog::Show, false},
    {command::kPrintScreen, PrintRange::CurrentScreen, PrinterDialog::Show, false},
    {command::kPreviewAll, PrintRange::AllPages, PrinterDialog::Skip, true},
    {command::kPreviewSelected, PrintRange::SelectedPages, PrinterDialog::Skip, true},
    {command::kPreviewScreen, PrintRange::CurrentScreen, PrinterDialog::Skip, true},
};

}  // namespace lumipage
