#pragma once

// Pictures of views for people to look at, and a first check that a view draws at all. A view is
// drawn in each look the user can choose (light and dark appearance, solid and glass surface) and
// each picture is written as a PNG into the folder named by STASHWELL_GALLERY_DIR (ctest sets it to
// <build>/gallery); without that variable nothing is written.

#include "StashwellUI/Design/Theme.h"

#include <QImage>
#include <QList>
#include <QString>

class QWidget;

namespace sw::gallery {

struct Shot {
    Appearance appearance = Appearance::light;
    Surface surface = Surface::solid;
    QImage view;        // what the widget drew, on a transparent ground
    QImage picture;     // the view over the window (solid) or over a desktop backdrop (glass)
    QString path;       // where the picture was written; empty when it was not
    bool blank = true;  // the view drew nothing, or one flat colour
};

// "light-solid", "dark-glass", ...
QString lookName(Appearance appearance, Surface surface);

// Draws `widget` in the four looks, at its current size (its size hint when it has none), and
// writes "<name>-<look>.png". The theme is put back as it was.
QList<Shot> capture(QWidget &widget, const QString &name);

// True when every pixel of the image is the same.
bool isBlank(const QImage &image);

// capture() and a check that no look came out blank; on failure, `why` says which.
bool captureAndCheck(QWidget &widget, const QString &name, QString *why = nullptr);

}  // namespace sw::gallery
