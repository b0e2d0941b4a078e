#pragma once
#include <string>

namespace lumipage {

// Decides whether an existing file may be replaced by a written page. The
// window answers from its save dialog's choices; batch runs use fixed ones.
class OverwritePolicy {
public:
    virtual ~OverwritePolicy() = default;
    // Asked only for a target that exists; `readOnly`: the user may not write it.
    virtual bool mayReplace(const std::string& path, bool readOnly) = 0;
};

// The save dialog's two choices: replacing existing files at all, and
// replacing read-only ones too. Both off by default.
struct OverwriteOptions {
    bool permitted = false;
    bool readOnlyToo = false;
};

class FixedOverwritePolicy : public OverwritePolicy {
public:
    explicit FixedOverwritePolicy(OverwriteOptions options) : options_(options) {}
    bool mayReplace(const std::string&, bool readOnly) override {
        return options_.permitted && (!readOnly || options_.readOnlyToo);
    }
    const OverwriteOptions& options() const { return options_; }

private:
    OverwriteOptions options_;
};

// True when `path` may be written: it does not exist, or the policy lets it
// be replaced. A refused target is skipped without a message.
bool mayWriteTarget(const std::string& path, OverwritePolicy& policy);

}  // namespace lumipage
