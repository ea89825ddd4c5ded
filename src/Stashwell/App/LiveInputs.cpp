#include "Stashwell/App/LiveInputs.h"

#include "Stashwell/App/GlobalHotKey.h"
#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Commands/KeyCommands.h"

namespace sw::app {

Router::Inputs liveRouterInputs()
{
    Router::Inputs inputs;
    inputs.keyCommands = [](std::function<void()> onFind,
                            std::function<void(const QString &)> onPaste) -> std::unique_ptr<QObject> {
        return std::make_unique<KeyCommands>(std::move(onFind), std::move(onPaste));
    };
    inputs.hotKey = [](std::function<void()> pressed) -> std::unique_ptr<QObject> {
        return std::make_unique<GlobalHotKey>(std::move(pressed));
    };
    inputs.copiedLink = &copiedLink;
    return inputs;
}

}  // namespace sw::app
