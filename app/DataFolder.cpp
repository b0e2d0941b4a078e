#include "app/DataFolder.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AppFolders.h"
#include "platform/File.h"

namespace lumipage::data_folder {

namespace {

// Renames without replacing an existing target: the new name is linked
// first, which fails when it is taken.
void renameIfFree(const std::string& from, const std::string& to) {
    if (!files::exists(from)) return;
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return;
    }
    // File systems without hard links: a plain rename when the name is free.
    if (errno != EEXIST && !files::exists(to)) ::rename(from.c_str(), to.c_str());
}

}  // namespace

bool copyIfMissing(const std::string& from, const std::string& to) {
    std::vector<uint8_t> bytes;
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !File::readAll(from, bytes)) return false;
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    const bool ok = ::close(fd) == 0 && done == bytes.size();
    if (!ok) ::unlink(to.c_str());  // never leave a part of a file under the name
    return ok;
}

std::string prepare(const std::string& preferred, const std::string& programFolder, bool useProgramFolder) {
    std::string folder = useProgramFolder ? programFolder : preferred;
    if (!files::makeFolders(folder)) folder = programFolder;
    renameIfFree(files::joinPath(folder, kOldPhoneBook), files::joinPath(folder, kPhoneBook));
    const std::string forms = files::joinPath(folder, kForms);
    files::makeFolders(forms);
    if (folder == programFolder) return folder;
    for (const char* name : {kPhoneBook, kFolderList, kProgramList})
        copyIfMissing(files::joinPath(programFolder, name), files::joinPath(folder, name));
    std::error_code ec;
    std::filesystem::directory_iterator it(files::joinPath(programFolder, kForms), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        copyIfMissing(it->path().string(), files::joinPath(forms, it->path().filename().string()));
    return folder;
}

}  // namespace lumipage::data_folder
