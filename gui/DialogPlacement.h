#pragma once
#include <optional>
#include <string>

class QWidget;

namespace lumipage {

// Where a modeless dialog stood, as its "Settings" entry keeps it: the
// dialog goes back there when that place is still on a screen, else to the
// middle of the main window.
void placeDialog(QWidget& dialog, const std::optional<std::string>& entry, const QWidget& frame);
// The entry for the dialog's window rectangle now, with its open flag.
std::string placementEntry(const QWidget& dialog, bool open);
// The same entry with the open flag cleared; nothing when there is none.
std::optional<std::string> closedEntry(const std::optional<std::string>& entry);
// With `AutoMousePos`, a dialog that opens takes the pointer to its middle.
void movePointerInto(const QWidget& dialog);

}  // namespace lumipage
