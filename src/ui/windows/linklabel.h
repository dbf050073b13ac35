#pragma once

#include <QWidget>

// A label that works as a link: a line of text, centred, that follows the mouse, can take
// the keyboard focus, and is activated by a click on it, by Enter or Space while it has the
// focus (once a press, however long the key is held), or by the "press" action of assistive
// technology, to which it is a link (see accessibility.h). It draws its own text: a QLabel that
// takes the focus sets up a whole text document for its caption, which would delay the window's
// first frame.
class LinkLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text CONSTANT)

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    QSize sizeHint() const override;

    // Activates the link as a click does.
    void activate();

Q_SIGNALS:
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isRepeat(const QKeyEvent* event) const;

    QString m_text;
    bool m_pressed = false;

    // The key that is down, and the last one released with the moment it was released.
    int m_heldKey = 0;
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};
