#pragma once
#include <sane/sane.h>

namespace lumipage::twaindsm {

enum class SourceDialogAnswer { Scan, Cancelled, NotShown };

// The source's own dialog of the device's options (TWAIN's ShowUI). It
// needs a window system, which the manager itself does without: it lives
// in a library of its own beside this one, loaded the first time it is
// shown and kept. NotShown when that library or a window is missing.
SourceDialogAnswer showSourceDialog(SANE_Handle handle, const char* device);

}  // namespace lumipage::twaindsm
