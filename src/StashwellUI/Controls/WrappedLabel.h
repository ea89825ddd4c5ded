#pragma once

// A label of wrapped text that lays its text out once per width. A layout asks a wrapped label
// its height for a width many times over for each change around it (the column's hints, its
// minimum, the scroll area fitting its content), and QLabel lays its whole text out afresh for
// every one of them: for a long post in the inspector that was most of a selection's work.

#include <QHash>
#include <QLabel>

namespace sw {

class WrappedLabel : public QLabel {
public:
    explicit WrappedLabel(QWidget *parent = nullptr);

    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    // The text the kept heights were worked out for; a change of font, style or margins lets
    // them go too.
    mutable QString m_measured;
    mutable QHash<int, int> m_heights;
};

}  // namespace sw
