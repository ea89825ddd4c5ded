#pragma once

// The running application for a random walk: the library window of the real program, offscreen,
// with its library in a temporary home and the FxTwitter API, the media and the web pages on one
// loopback server. run() carries out one step as a user would (through the widgets where a user
// would use them, through the view's signals where a widget is impractical to aim at), lets the
// event loop settle, and check() tells what no longer holds, if anything.
//
// The loopback server answers by the link's number n and handle:
//   someone/status/n    n % 5: 0 text only, 1 a picture, 2 a picture whose download fails,
//                       3 a video that arrives slowly, 4 two pictures
//   slow/status/n       the same post of "slow" after a pause
//   broken/status/n     a server error;  gone/status/n   not found
//   /page/n             a web page

#include "HttpServer.h"
#include "WalkSteps.h"

#include "Stashwell/App/StashwellApp.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>

namespace sw::app {
class LibraryPageView;
}

namespace sw::walk {

class World {
public:
    World();
    ~World();

    void run(const Step &step);
    // Empty while everything holds; otherwise what does not.
    QString check();

    app::StashwellApp &app() { return *m_app; }

private:
    QString checkOnce();
    void settle();
    bool blocked() const;
    app::LibraryPageView &view() const;
    test::HttpReply answer(const test::HttpRequest &request) const;

    void saveLink(const Step &step);
    void closeSheet();
    void clickItem(const Step &step, bool twice);
    void pressCardPart(const Step &step, bool trash);
    void key(const Step &step);
    void selectAll(const Step &step);
    void toastUndo();
    void inspector(const Step &step);
    void bulk(const Step &step);
    void newCollection(const Step &step);
    void editCollection(const Step &step);
    void deleteCollection(const Step &step);
    void dropOnRow(const Step &step);
    void emptyTrash(const Step &step);
    void dialog(const Step &step);
    void filter(const Step &step);
    void search(const Step &step);
    void player(const Step &step);
    void resize(const Step &step);
    void look(const Step &step);

    QTemporaryDir m_dir;
    test::HttpServer m_server;
    QByteArray m_picture;
    std::unique_ptr<app::StashwellApp> m_app;
    bool m_mediaMoved = false;
};

}  // namespace sw::walk
