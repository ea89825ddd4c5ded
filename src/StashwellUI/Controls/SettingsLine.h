#pragma once

// The frame of any line of the settings pages: as wide as it is given, at least 32 high, content
// on the leading side and centred vertically, with 8 above and below, so never lower than 48.

#include <QPointer>
#include <QWidget>

namespace sw {

class SettingsLine : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumContentHeight = 32;
    static constexpr double verticalPadding = 8;

    explicit SettingsLine(QWidget *content = nullptr, QWidget *parent = nullptr);

    QWidget *content() const { return m_content; }
    // The line takes the widget as its child; an earlier content is deleted.
    void setContent(QWidget *content);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPointer<QWidget> m_content;
    void place();
};

}  // namespace sw
