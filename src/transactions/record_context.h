#pragma once
// What a record processor and its record transaction work with: the data
// module, the message seam, the clock, the regional settings, and the unit of
// work the engine hands the line (its statements committed each on its own
// when none is handed).
#include "db/dtmmain.h"
#include "db/unit_of_work.h"
#include "runtime/clock.h"
#include "runtime/messages.h"

namespace ligamor {

struct RecordContext {
    DataModule& dtmain;
    Messages& messages;
    const Clock& clock;
    RegionalSettings regional;
    UnitOfWork* work = nullptr;
    OwnCommitWork ownCommit{dtmain.conmain};

    UnitOfWork& Work() { return work != nullptr ? *work : ownCommit; }
};

// The line's unit of work while it runs; the one before comes back after.
class HandedWork {
public:
    HandedWork(RecordContext& ctx, UnitOfWork& work) : ctx_(ctx), before_(ctx.work) { ctx_.work = &work; }
    ~HandedWork() { ctx_.work = before_; }
    HandedWork(const HandedWork&) = delete;
    HandedWork& operator=(const HandedWork&) = delete;

private:
    RecordContext& ctx_;
    UnitOfWork* before_;
};

}  // namespace ligamor
