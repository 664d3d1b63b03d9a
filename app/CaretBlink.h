#pragma once

#include <QObject>
#include <QTimer>

// Stops the text caret blinking after a spell without input, as GTK desktops
// do, so that an idle trainer never wakes up; the caret then stays drawn.
// The next key press, mouse click or input-method event starts it blinking
// again with the desktop's flash time. Watches the whole application.
class CaretBlink final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultTimeout = 10000; // milliseconds without input

    explicit CaretBlink(QObject *parent = nullptr, int timeout = DefaultTimeout);
    ~CaretBlink() override; // hands the desktop's flash time back

    bool isBlinking() const { return !m_stopped; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stop();

    QTimer m_quiet;
    int m_flashTime; // the desktop's before the stop, 0 where it wants no blinking at all
    bool m_stopped = false;
};
