#pragma once

// Settings that only the end-to-end tests use, read from the environment and only while
// STASHWELL_TEST_HOOKS is "1", so that a user's environment never changes what the application
// does:
//
//   STASHWELL_TEST_API_BASE   the FxTwitter API address (a loopback server of the test)
//   STASHWELL_TEST_STATE      a file that TestStateWriter keeps holding what the windows show, for a
//                             test that drives the program from outside and cannot look inside it
//   STASHWELL_TEST_STATE_SAVES "0": that file leaves out the saves shown, whose listing grows with
//                             the library, and is written only when missing (a benchmark that
//                             times the window on a large library asks for it by removing it)

#include "Capture/Url.h"

#include <QString>

#include <optional>

namespace sw::app {

struct TestHooks {
    std::optional<Url> apiBase;
    QString stateFile;
    bool stateListsSaves = true;

    static TestHooks fromEnvironment();
};

}  // namespace sw::app
