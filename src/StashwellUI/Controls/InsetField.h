#pragma once

// The look of the text fields of the network settings page: monospaced text 12 in from each side
// of a faint rounded field with a firm border, exactly 32 high.

#include <QLineEdit>

namespace sw {

class InsetField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 12;
    static constexpr double radius = 10;

    explicit InsetField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyTheme();
};

// The colours of a line edit that paints its own field: a transparent ground, the text and
// placeholder colours of the appearance and a faint accent selection. Set again when the theme
// changes (the field calls it again then).
void applyFieldPalette(QLineEdit &field);

}  // namespace sw
