#pragma once

// The author line as a widget of its own (the quick-save popover, the player sheet): it loads the
// avatar itself.

#include "StashwellUI/Saves/AuthorLine.h"

#include <QWidget>

namespace sw {

class CachedImage;

class AuthorLineView : public QWidget {
    Q_OBJECT
public:
    explicit AuthorLineView(QWidget *parent = nullptr);
    explicit AuthorLineView(const AuthorLine &line, QWidget *parent = nullptr);

    const AuthorLine &line() const { return m_line; }
    void setLine(const AuthorLine &line);

    // The avatar's picture loader; tests and off-screen renders start it themselves.
    CachedImage &avatarImage() { return *m_avatar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void apply();

    AuthorLine m_line;
    CachedImage *m_avatar;
};

}  // namespace sw
