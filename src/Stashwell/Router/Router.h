#pragma once

// The record of window-level requests. The menu commands, the key commands and the global hot key
// write it; the library page watches it and acts on each change. A request is a change of one of
// its four properties:
//
//   savingLink           while present, the Save Link sheet shows with this text ("" for an empty field)
//   findRequests         each change asks the library window to focus its search field
//   emptyTrashRequests   each change asks the library window to offer emptying the trash
//   selecting            while present, the library window shows this save
//
// Assigning an equal value is stored silently; adding to a counter always notifies. One Router
// exists per process, made on first use by the application; it owns the key commands and the
// global hot key, so both live exactly as long as it does. Main thread only.

#include "Library/Save.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sw::app {

class Router final : public QObject {
    Q_OBJECT
public:
    // The two input sources, made by the Router's constructor with the actions they trigger. Each
    // action holds the Router weakly and does nothing once it is gone. A source that is not given
    // stays absent (tests, and platforms without a global hot key).
    struct Inputs {
        // The key commands: Ctrl+F runs onFind, Ctrl+V with a link on the clipboard onPaste.
        std::function<std::unique_ptr<QObject>(std::function<void()> onFind,
                                               std::function<void(const QString &)> onPaste)>
            keyCommands;
        // The global hot key, running `pressed` on each press.
        std::function<std::unique_ptr<QObject>(std::function<void()> pressed)> hotKey;
        // What a hot-key press does besides the request: bring the application to the front.
        std::function<void()> activate;
        // The clipboard's text when it reads as a link; none otherwise.
        std::function<std::optional<QString>()> copiedLink;
    };

    explicit Router(Inputs inputs = {}, QObject *parent = nullptr);
    ~Router() override;

    const std::optional<QString> &savingLink() const { return m_savingLink; }
    void setSavingLink(std::optional<QString> text);

    std::int64_t findRequests() const { return m_findRequests; }
    void setFindRequests(std::int64_t count);
    // Adds 1: always a change.
    void requestFind();

    std::int64_t emptyTrashRequests() const { return m_emptyTrashRequests; }
    void setEmptyTrashRequests(std::int64_t count);
    void requestEmptyTrash();

    const std::optional<Save::ID> &selecting() const { return m_selecting; }
    void setSelecting(std::optional<Save::ID> id);

    // The input sources; absent when not made.
    QObject *keys() const { return m_keys.get(); }
    QObject *hotKey() const { return m_hotKey.get(); }

    // A press of the global hot key: the application to the front, then the Save Link sheet with
    // the clipboard's link, or with an empty field when the clipboard holds none.
    void hotKeyPressed();

signals:
    void savingLinkChanged();
    void findRequestsChanged();
    void emptyTrashRequestsChanged();
    void selectingChanged();

private:
    std::optional<QString> m_savingLink;
    std::int64_t m_findRequests = 0;
    std::int64_t m_emptyTrashRequests = 0;
    std::optional<Save::ID> m_selecting;

    std::function<void()> m_activate;
    std::function<std::optional<QString>()> m_copiedLink;
    std::unique_ptr<QObject> m_keys;
    std::unique_ptr<QObject> m_hotKey;
};

}  // namespace sw::app
