#include "document/OverwritePolicy.h"

#include "platform/FileSystem.h"

namespace lumipage {

bool mayWriteTarget(const std::string& path, OverwritePolicy& policy) {
    if (!files::exists(path)) return true;
    // A folder of the target's name is never replaced by a file.
    if (files::isDirectory(path)) return false;
    // The new file is renamed over the old one, so a read-only old file needs
    // no change of its permissions first: permission to replace is the policy's.
    return policy.mayReplace(path, files::isReadOnly(path));
}

}  // namespace lumipage
