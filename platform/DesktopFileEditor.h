#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileEditor.h"

namespace lumipage {

// Edits a file with the desktop's default application for its type: the
// type comes from `xdg-mime query filetype`, the application from
// `xdg-mime query default`, whose desktop entry's Exec line is run as a
// child process. While it runs, `pump` is called every 100 ms so the window
// stays responsive.
class DesktopFileEditor : public FileEditor {
public:
    explicit DesktopFileEditor(std::function<void()> pump = {}) : pump_(std::move(pump)) {}

    bool knowsProgramFor(const std::string& path) override { return commandFor(path).has_value(); }
    bool editAndWait(const std::string& path) override;

    // The arguments of a desktop entry's Exec line for one file: quoting and
    // escapes undone, %f %F %u %U replaced by the path (appended when the
    // line has none), other field codes dropped, "%%" kept as "%".
    static std::vector<std::string> execArguments(std::string_view exec, const std::string& path);
    // The Exec line of the [Desktop Entry] group of a desktop file's text.
    static std::optional<std::string> execLineOf(std::string_view desktopFile);

private:
    std::optional<std::vector<std::string>> commandFor(const std::string& path) const;

    std::function<void()> pump_;
};

}  // namespace lumipage
