#pragma once

// The result of checking whether the network route reaches the outside, and the small badge that
// shows it: a symbol (or a spinner while checking) and a line of text coloured by the result.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <variant>

class QTimer;

namespace sw {

class ConnectionState {
public:
    // The check failed; the message says why and is shown as it is.
    struct Unreachable {
        QString message;
        friend bool operator==(const Unreachable &, const Unreachable &) = default;
    };
    // No check made yet.
    struct Unknown {
        friend bool operator==(const Unknown &, const Unknown &) = default;
    };
    // A check is under way.
    struct Checking {
        friend bool operator==(const Checking &, const Checking &) = default;
    };
    // The check succeeded.
    struct Reachable {
        friend bool operator==(const Reachable &, const Reachable &) = default;
    };
    using Value = std::variant<Unreachable, Unknown, Checking, Reachable>;

    ConnectionState() : m_value(Unknown{}) {}
    ConnectionState(Value value) : m_value(std::move(value)) {}
    static ConnectionState unreachable(const QString &message) { return ConnectionState(Unreachable{message}); }
    static ConnectionState unknown() { return ConnectionState(Unknown{}); }
    static ConnectionState checking() { return ConnectionState(Checking{}); }
    static ConnectionState reachable() { return ConnectionState(Reachable{}); }

    const Value &value() const { return m_value; }
    bool isChecking() const { return std::holds_alternative<Checking>(m_value); }

    friend bool operator==(const ConnectionState &, const ConnectionState &) = default;

private:
    Value m_value;
};

class ConnectionStatus : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 8;
    static constexpr int maximumLines = 2;
    static constexpr double spinnerSide = 14;

    explicit ConnectionStatus(const ConnectionState &state = ConnectionState(), QWidget *parent = nullptr);

    ConnectionState state() const { return m_state; }
    void setState(const ConnectionState &state);

    // What the badge shows for a state: its symbol (empty for the spinner), text and colour.
    static QString symbolFor(const ConnectionState &state);
    static QString textFor(const ConnectionState &state);
    static QColor colorFor(const ConnectionState &state);
    // The text as laid out in `width`: at most two lines, the second cut with an ellipsis when
    // the text needs more.
    static QStringList lines(const QString &text, double width);

    bool isSpinning() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    ConnectionState m_state;
    QTimer *m_spin = nullptr;
    int m_step = 0;

    double leadingSide() const;
    void syncSpinner();
};

}  // namespace sw
