#pragma once

// The square picture of an author: the avatar picture when its address is known and it has loaded,
// otherwise a tile with the name's initial on a colour that depends on the name alone, so the
// same author looks the same in every view and every run. Purely decorative.

#include "StashwellUI/Pictures/PictureCache.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace sw {

class CachedImage;

class Avatar : public QWidget {
    Q_OBJECT
public:
    static constexpr double kDefaultSize = 34;

    explicit Avatar(QWidget *parent = nullptr);
    Avatar(const QString &name, const std::optional<Url> &url, double size = kDefaultSize, QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    std::optional<Url> url() const { return m_url; }
    void setUrl(const std::optional<Url> &url);
    double avatarSize() const { return m_size; }
    void setAvatarSize(double size);

    // The picture shown now, if any (else the initial tile).
    PicturePointer picture() const;
    // The loader of the picture; tests and off-screen renders start it themselves.
    CachedImage &image() { return *m_image; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The pixels the picture is asked for at a side of `size` points: three times, rounded toward
    // zero (34 gives 102).
    static std::int64_t maxPixels(double size);
    // The first user-perceived character of `name`, unchanged but for Unicode uppercasing; "?" for
    // an empty name.
    static QString initial(const QString &name);
    // The index into the avatar palette: the sum of the name's Unicode scalar values modulo its
    // length.
    static int paletteIndex(const QString &name);
    // Corner radius: 0.3 of the side.
    static double cornerRadius(double size) { return size * 0.3; }

    // Paints the avatar into `square`: the picture filling it (cut, never letter-boxed) or the
    // initial tile, clipped to the rounded square.
    static void paint(QPainter &painter, const QRectF &square, const QString &name, const PicturePointer &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sourceChanged();

    QString m_name;
    std::optional<Url> m_url;
    double m_size = kDefaultSize;
    CachedImage *m_image = nullptr;
};

}  // namespace sw
