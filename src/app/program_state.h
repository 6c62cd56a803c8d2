#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "rules/rule_service_client.h"
#include "runtime/datetime.h"
#include "runtime/locks.h"
#include "verification/verification_run.h"
#include "verification/work_pool.h"

// The program-wide state: everything that lives from start-up to the exit
// clean-up, as plain fields in one place. Handlers are handed the fields they
// use. Texts are GBK. Nothing here is kept between runs.
namespace zelvo {

struct ProgramState {
    // --- Generation ---
    // The 规则 template split at "+"; every generation run replaces it.
    std::vector<std::string> templateParts;
    // Advanced by each {时间} expansion.
    DateTime runningTime;

    // --- Rules ---
    // The whole RuleList, one RuleRecord per line; loaded once per run.
    std::string ruleText;
    // Tracking-query address prefix of the RuleRecord applied last.
    std::string queryUrlPrefix;
    // The connection to the rule source: built unconnected with the state,
    // closed by the exit clean-up.
    RuleServiceClient ruleService;

    // --- Result list ---
    // Flips at every header click; the sort that follows is ascending when true.
    bool sortAscending = false;

    // --- Verification ---
    // The program's one WorkPool; every verification run starts it anew.
    WorkPool workPool;
    // The verification runs: the current run owns its numbers, lock,
    // progress and blank numbers while its workers fill them.
    VerificationRun verification;
    // The user-interface thread's copy of the current run's numbers, the
    // numbers found without a tracking record (each followed by "\r\n") and
    // the stop request, taken from verification when a handler needs them.
    std::vector<std::string> runNumbers;
    LockHandle runLock;
    std::string blankNumbers;
    std::atomic<bool> stopRequested{false};

    // --- Working folder ---
    // True when start-up entered the user's own folder because files cannot
    // be created in the program's folder; saves there say where the file went.
    bool inUserFolder = false;

    // --- Process end ---
    // Told the exit code when the program ends; the frontend leaves its
    // message loop with it.
    std::function<void(int exitCode)> onExit;
    // -1 until the program has ended.
    int exitCode = -1;
    bool cleanedUp = false;
};

}  // namespace zelvo
