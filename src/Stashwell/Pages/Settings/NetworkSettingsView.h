#pragma once

// The network settings drawn: the connection section (the four ways, the proxy's host and port
// while a proxy is chosen, a line saying why a host cannot be stored, the connection status, Test
// and Apply) and the section that reads pasted terminal lines. It shows the page's form and hands
// every edit and press to the page. Return applies the form (Apply is the default button), except
// in the paste field, where it uses the pasted lines.

#include "StashwellUI/Settings/SettingsSection.h"

#include <QPointer>
#include <QWidget>

namespace sw {
class ConnectionStatus;
class GlassButton;
class GlassSegments;
class InsetField;
class StyledText;
}

namespace sw::app {

class NetworkSettingsPage;

class NetworkSettingsView final : public QWidget {
    Q_OBJECT
public:
    explicit NetworkSettingsView(NetworkSettingsPage &page, QWidget *parent = nullptr);

    GlassSegments &modeSegments() const { return *m_mode; }
    InsetField &hostField() const { return *m_host; }
    InsetField &portField() const { return *m_port; }
    // The line under the proxy fields that says why the host cannot be stored.
    StyledText &problemLine() const { return *m_problem; }
    // Whether the proxy's fields are part of the connection section.
    bool showsProxy() const;
    ConnectionStatus &status() const { return *m_status; }
    GlassButton &testButton() const { return *m_test; }
    GlassButton &applyButton() const { return *m_apply; }
    InsetField &pasteField() const { return *m_paste; }
    GlassButton &useButton() const { return *m_use; }
    SettingsSection &connectionSection() const { return *m_connection; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rebuildConnection();
    void refresh();

    NetworkSettingsPage &m_page;
    QWidget *m_modeLine = nullptr;
    QWidget *m_proxy = nullptr;
    QWidget *m_statusLine = nullptr;
    QPointer<SettingsSection> m_connection;
    GlassSegments *m_mode = nullptr;
    InsetField *m_host = nullptr;
    InsetField *m_port = nullptr;
    StyledText *m_problem = nullptr;
    QWidget *m_problemBox = nullptr;
    ConnectionStatus *m_status = nullptr;
    GlassButton *m_test = nullptr;
    GlassButton *m_apply = nullptr;
    InsetField *m_paste = nullptr;
    GlassButton *m_use = nullptr;
};

}  // namespace sw::app
