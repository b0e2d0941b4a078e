// lumipage-thumbnailer INPUT OUTPUT.png SIZE: the desktop's file previews.
// The same pictures as `lumipage --thumbnail`, from a program that loads no
// toolkit, so that a file manager waits a few milliseconds, not the window
// library's start-up.
#include "app/PageThumbnail.h"

int main(int argc, char** argv) {
    return lumipage::runThumbnailCommand(argc - 1, argv + 1);
}
