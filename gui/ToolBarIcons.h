#pragma once
#include <QIcon>

namespace lumipage {

// The tool bar's pictures, drawn here: plain shapes in a few colours that
// read at 16 pixels.
QIcon toolBarIcon(int commandId);

}  // namespace lumipage
