#pragma once

// What the running application shows, written to a file for a test that drives the real program
// from outside (keys and clicks through the X server) and cannot look into its widgets. Made only
// when the test hooks ask for it (TestHooks::stateFile); a user's run never has one.
//
// Every 50 ms what is cheap to tell is worked out (the windows, the focus, the sheet, the cells on
// screen) and, when the state differs from the last one written, the file is replaced at once
// (written aside and renamed). The list of every save shown, which grows with the library, is
// listed again only after the library page says that the shelf, the filter or the search changed,
// so that a test that drives a large library measures the program and not this hook. One JSON
// object:
//
//   active     the class of the active window ("" when none of ours is)
//   focus      the class of the widget with the keyboard focus
//   query      the library page's search text
//   empty      whether the shelf shows its empty state
//   sheet      the Save Link sheet shown: {"url", "phase": "typing"|"fetching"|"found"}, or null
//   saves      the texts of the saves the shelf shows for the filter and the search, in its order
//              (always empty when the writer is told not to list them)
//   cells      the cards and rows of the shelf's sections on screen, in shelf order: {"text", "x",
//              "y"} with the centre of the cell in screen coordinates (the home's latest save,
//              drawn on its own, is none of them)
//   language   the interface language in use ("en", "ja", ...)
//   menu       the items of the popup menu on screen: {"text", "x", "y"}, empty when none is open
//   points     the centres of what a test clicks, each present while shown: "fileMenu" (the menu
//              bar's File), "trayIcon", "languagePicker" and "relaunch" (the settings window's),
//              "gridOption" and "listOption" (the shelf bar's layout switch), "search" (its field)
//   areas      rectangles on screen ({"x", "y", "width", "height"}), each present while shown:
//              "shelf" (the shelf's viewport), "bar" (the shelf bar), "window" (the library
//              window's inside)
//   filters    the sidebar's rows, in order: {"text", "x", "y"}

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>

namespace sw::app {

class StashwellApp;

class TestStateWriter final : public QObject {
    Q_OBJECT
public:
    // Without `listsSaves` the saves shown are never listed ("saves" stays empty) and the file is
    // written only while it is missing: whoever reads it removes it to ask for the state as it
    // stands, and nothing is worked out in between.
    TestStateWriter(StashwellApp &app, QString path, bool listsSaves = true, QObject *parent = nullptr);

    // The state as it stands.
    QJsonObject state() const;

    // Writes the file now when the state changed (the timer's work).
    void write();
    // Figures for tests: the files written, and the times the saves shown were listed.
    int writes() const { return m_writes; }
    int savesListed() const { return m_savesListed; }

private:
    // Everything but the saves.
    QJsonObject shownState() const;
    QJsonArray savesShown() const;
    QJsonObject points() const;
    QJsonObject areas() const;
    QJsonArray filters() const;

    StashwellApp &m_app;
    QString m_path;
    QByteArray m_shown;          // the last state without the saves
    QByteArray m_saves;          // the saves' list
    bool m_unwritten = true;     // either differs from the file
    bool m_savesStale = true;    // the page changed what it shows since the list was made
    bool m_listsSaves = true;
    int m_writes = 0;
    int m_savesListed = 0;
    QTimer m_timer;
};

}  // namespace sw::app
