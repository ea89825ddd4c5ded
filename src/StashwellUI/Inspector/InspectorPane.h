#pragma once

// The rounded pane the inspector sets its groups on: the card colour (translucent on glass) inside
// a strong line, corners of 12. Its layout is the caller's.

#include <QWidget>

namespace sw {

class InspectorPane : public QWidget {
    Q_OBJECT
public:
    static constexpr double radius = 12;

    explicit InspectorPane(QWidget *parent = nullptr);

    // Rules drawn across the pane in the line colour, over these children's rectangles.
    void addRule(QWidget *rule);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<QWidget *> m_rules;
};

// A one-pixel placeholder that an InspectorPane draws as a rule.
QWidget *makeRule(InspectorPane *pane);

}  // namespace sw
