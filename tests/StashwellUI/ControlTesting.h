#pragma once

// Helpers for the tests of the painted controls: counting repaints, pressing, and reading what
// assistive technologies read.

#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace sw::test {

// English texts and no animations, so that what is drawn and read does not depend on timing.
inline void prepareControls()
{
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
    Tokens::Motion::setEnabled(false);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    int count() const { return m_count; }
    void reset() { m_count = 0; }
    // Lets pending repaints happen and returns how many there were since the last reset.
    int settle()
    {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QTest::qWait(5);
        }
        return m_count;
    }
    // Lets the window finish showing (exposure, activation, focus) and starts counting afresh.
    void start()
    {
        QTest::qWait(50);
        settle();
        reset();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    QWidget *m_widget;
    int m_count = 0;
};

// Shows a widget in a window of its own and waits until it is exposed.
inline bool showWidget(QWidget &widget)
{
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}

inline QAccessibleInterface *accessibleOf(QWidget *widget) { return QAccessible::queryAccessibleInterface(widget); }

inline QString accessibleName(QWidget *widget) { return accessibleOf(widget)->text(QAccessible::Name); }

// Runs the press action the way an assistive technology would.
inline bool accessiblyPress(QWidget *widget)
{
    QAccessibleInterface *iface = accessibleOf(widget);
    QAccessibleActionInterface *actions = iface ? iface->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        return false;
    actions->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

}  // namespace sw::test
