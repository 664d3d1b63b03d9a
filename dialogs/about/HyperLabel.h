#pragma once

#include <QLabel>
#include <QUrl>

class Shell;

// A label showing an address: blue and underlined, red under the mouse;
// a click opens the address through the shell.
class THyperLabel : public QLabel
{
    Q_OBJECT
public:
    explicit THyperLabel(Shell &shell, QWidget *parent = nullptr);

signals:
    void clicked();
    // The desktop had no program to open the address with.
    void openFailed(const QUrl &address);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setTextColor(const QColor &color);

    Shell &m_shell;
};
