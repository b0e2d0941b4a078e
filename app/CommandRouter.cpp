#include "app/CommandRouter.h"

namespace lumipage {

CommandState CommandRouter::state(int id) const {
    const auto it = entries_.find(id);
    if (it != entries_.end() && it->second.update) return it->second.update();
    return fallbackUpdate_ ? fallbackUpdate_(id) : CommandState{};
}

bool CommandRouter::run(int id) {
    const auto it = entries_.find(id);
    if (it != entries_.end() && it->second.handler) {
        if (!state(id).enabled) return false;
        it->second.handler();
        return true;
    }
    return fallbackRun_ && fallbackRun_(id);
}

bool CommandRouter::decides(int id) const {
    const auto it = entries_.find(id);
    return it != entries_.end() && it->second.update != nullptr;
}

}  // namespace lumipage
