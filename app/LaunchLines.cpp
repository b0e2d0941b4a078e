#include "app/LaunchLines.h"

#include "base/Settings.h"
#include "platform/FileSystem.h"

namespace lumipage::launch_lines {

namespace {

std::string colours(const Settings& s) {
    return "-CR" + std::to_string(s.paperColor) + "," + std::to_string(s.inkColor) + "," + std::to_string(s.bright) +
           "," + std::to_string(s.contrast) + "," + std::to_string(s.adjustGamma);
}

std::string onOff(const char* name, int value) { return std::string(name) + (value ? "1" : "0"); }

// Made absolute so that a name beginning with "-" can never read as a switch.
std::string fileArgument(const std::string& path) { return files::absolutePath(path); }

}  // namespace

std::vector<std::string> bookViewer(const Settings& settings, const std::string& bookPath) {
    return {colours(settings), onOff("-AS", settings.autoScroll), onOff("-CS", settings.catchScroll),
            "-T1", "-S0", "-M0", "-MF0", "-MS0", "-MX0", "-NS", "-W720", "-H540", fileArgument(bookPath)};
}

std::vector<std::string> preview(const Settings& settings, const PreviewWindow& window, int page,
                                 const std::optional<std::string>& path) {
    std::vector<std::string> args{colours(settings), "-X" + std::to_string(window.left),
                                  "-Y" + std::to_string(window.top), "-W" + std::to_string(window.width),
                                  "-H" + std::to_string(window.height)};
    if (page > 0) args.push_back("-P." + std::to_string(page));
    if (settings.previewWideStd == 0) args.push_back("-FIT");
    args.push_back(onOff("-AS", settings.autoScroll));
    args.push_back(onOff("-CS", settings.catchScroll));
    for (const char* fixed : {"-TOP", "-T0", "-S0", "-M0", "-MF0", "-MS0", "-NS", "-T:ﾌﾟﾚﾋﾞｭｰ"}) args.push_back(fixed);
    if (path) args.push_back(fileArgument(*path));
    return args;
}

}  // namespace lumipage::launch_lines
