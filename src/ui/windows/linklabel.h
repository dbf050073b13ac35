#pragma once

#include <QLabel>

// A label that works as a link: it follows the mouse, can take the keyboard focus, and is
// activated by a click on it, by Enter or Space while it has the focus (once a press, however
// long the key is held), or by the "press" action of assistive technology, to which it is a
// link.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Activates the link as a click does.
    void activate();

Q_SIGNALS:
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};
