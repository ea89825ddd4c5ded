#pragma once

// The small dashed-capsule field the user types a new tag into. Return emits submitted(), empty
// text included; the field neither trims, checks nor clears the text: the owner reads text() and
// decides.

#include <QLineEdit>

namespace sw {

class AddTagField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr double fieldWidth = 72;
    static constexpr double horizontalPadding = 10;
    static constexpr double verticalPadding = 4;

    explicit AddTagField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void submitted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyTheme();
};

}  // namespace sw
