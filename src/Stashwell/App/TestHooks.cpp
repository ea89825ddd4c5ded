#include "Stashwell/App/TestHooks.h"

#include <QtGlobal>

namespace sw::app {

TestHooks TestHooks::fromEnvironment()
{
    TestHooks hooks;
    if (qEnvironmentVariable("STASHWELL_TEST_HOOKS") != QStringLiteral("1"))
        return hooks;
    if (const QString base = qEnvironmentVariable("STASHWELL_TEST_API_BASE"); !base.isEmpty())
        hooks.apiBase = Url::parse(base);
    hooks.stateFile = qEnvironmentVariable("STASHWELL_TEST_STATE");
    hooks.stateListsSaves = qEnvironmentVariable("STASHWELL_TEST_STATE_SAVES") != QStringLiteral("0");
    return hooks;
}

}  // namespace sw::app
