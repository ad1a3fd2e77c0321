// Marks an engine procedure that may wait (and so let events run) as being on
// the call stack. A new game asked for meanwhile is started only once the
// outermost of them has returned.
#pragma once

#include "engine/game.h"

namespace zarv {

class EngineEntry {
public:
    explicit EngineEntry(Game& game) : game_(game) { ++game_.entryDepth_; }
    ~EngineEntry() {
        if (--game_.entryDepth_ == 0) game_.services_.view.GameUnwound();
    }
    EngineEntry(const EngineEntry&) = delete;
    EngineEntry& operator=(const EngineEntry&) = delete;

private:
    Game& game_;
};

} // namespace zarv
