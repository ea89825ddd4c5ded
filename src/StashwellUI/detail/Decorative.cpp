#include "StashwellUI/detail/Decorative.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace sw::Decorative {

namespace {

constexpr const char *kKind = "sw.accessibleKind";
constexpr int kHidden = 1;
constexpr int kGraphic = 2;

class HiddenInterface : public QAccessibleWidget {
public:
    explicit HiddenInterface(QWidget *widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.focusable = false;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    switch (widget->property(kKind).toInt()) {
    case kHidden:
        return new HiddenInterface(widget);
    case kGraphic:
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    default:
        return nullptr;
    }
}

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace

void hide(QWidget *widget)
{
    install();
    widget->setProperty(kKind, kHidden);
}

void markAsGraphic(QWidget *widget)
{
    install();
    widget->setProperty(kKind, kGraphic);
}

bool isHidden(const QWidget *widget)
{
    return widget && widget->property(kKind).toInt() == kHidden;
}

}  // namespace sw::Decorative
