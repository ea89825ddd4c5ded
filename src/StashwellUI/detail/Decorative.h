#pragma once

// How purely visual widgets present themselves to assistive technologies: a decorative one (an
// avatar, a placeholder bar, the soft scroll edges) is left out, and a mark that stands for
// something (the application's logo, the letter of X) is read as a picture with its name.

class QWidget;

namespace sw::Decorative {

// Left out of what assistive technologies read.
void hide(QWidget *widget);
// Read as a picture named by the widget's accessible name.
void markAsGraphic(QWidget *widget);

bool isHidden(const QWidget *widget);

}  // namespace sw::Decorative
