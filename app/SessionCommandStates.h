#pragma once
#include <functional>

#include "app/CommandRouter.h"

namespace lumipage {

class CLP98Doc;
class FileEditor;
class OpenFileTable;
class PageFileOperations;

// What the states of the window's commands depend on: the page list and
// the document, the page-file operations, and the few facts only the window
// knows (whether a scanner can be used now, whether the colour dialog is open).
struct SessionFacts {
    OpenFileTable& table;
    CLP98Doc& document;
    std::function<PageFileOperations&()> pageFiles;
    std::function<FileEditor&()> fileEditor;
    std::function<bool()> scannerReady;  // a source manager is there and no scan runs
    std::function<bool()> colourDialogOpen;
};

// Registers when each of the commands beyond the viewer's is enabled,
// checked and how it reads: printing, comments and the book information,
// fax, scanning, page files and the index, options and colour adjustment.
void addSessionStates(CommandRouter& router, const SessionFacts& facts);

}  // namespace lumipage
