#pragma once

// What the running application shows, written to a file for a test that drives the real program
// from outside (keys and clicks through the X server) and cannot look into its widgets. Made only
// when the test hooks ask for it (TestHooks::stateFile); a user's run never has one.
//
// Every 50 ms the state is worked out and, when it differs from the last one written, replaced in
// the file at once (written aside and renamed), as one JSON object:
//
//   active     the class of the active window ("" when none of ours is)
//   focus      the class of the widget with the keyboard focus
//   query      the library page's search text
//   empty      whether the shelf shows its empty state
//   sheet      the Save Link sheet shown: {"url", "phase": "typing"|"fetching"|"found"}, or null
//   saves      the texts of the saves the shelf shows for the filter and the search, in its order
//   cells      the cards and rows of the shelf's sections on screen, in shelf order: {"text", "x",
//              "y"} with the centre of the cell in screen coordinates (the home's latest save,
//              drawn on its own, is none of them)
//   language   the interface language in use ("en", "ja", ...)
//   menu       the items of the popup menu on screen: {"text", "x", "y"}, empty when none is open
//   points     the centres of what a test clicks, each present while shown: "fileMenu" (the menu
//              bar's File), "trayIcon", "languagePicker" and "relaunch" (the settings window's)

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

namespace sw::app {

class StashwellApp;

class TestStateWriter final : public QObject {
    Q_OBJECT
public:
    TestStateWriter(StashwellApp &app, QString path, QObject *parent = nullptr);

    // The state as it stands.
    QJsonObject state() const;

private:
    void write();
    QJsonObject points() const;

    StashwellApp &m_app;
    QString m_path;
    QByteArray m_written;
    QTimer m_timer;
};

}  // namespace sw::app
