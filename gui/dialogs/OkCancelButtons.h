#pragma once

class QDialog;
class QDialogButtonBox;

namespace lumipage {

// The program's OK and "ｷｬﾝｾﾙ" buttons (ids 1 and 2) for a dialog, wired to
// accept and reject it.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

}  // namespace lumipage
