#pragma once

// The small dashed-capsule field the user types a new tag into. Return emits submitted(), empty
// text included; the field neither trims, checks nor clears the text: the owner reads text() and
// decides.

#include <QLineEdit>

namespace sw {

class AddTagField : public QLineEdit {
    Q_OBJECT
public:
    // The least width; a language whose placeholder needs more gets the width of its placeholder.
    static constexpr double fieldWidth = 72;
    static constexpr double horizontalPadding = 10;
    static constexpr double verticalPadding = 4;

    explicit AddTagField(QWidget *parent = nullptr);

    // The width that shows `placeholder` whole in `font` inside the padding, never below fieldWidth.
    static int widthFor(const QFont &font, const QString &placeholder);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void submitted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyTheme();
};

}  // namespace sw
