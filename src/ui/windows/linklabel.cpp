#include "linklabel.h"

#include "programart.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFocusRect>

#include <algorithm>

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xff));
    setPalette(palette);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(handCursor());
}

void LinkLabel::activate()
{
    Q_EMIT activated();
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release of the left button, both on the label.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click) {
        Q_EMIT activated();
    }
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    // The pointer is over the link, not over the window behind it.
    event->accept();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click is no new click: the page opens once.
    m_pressed = false;
    event->accept();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // A held key repeats its press; the link opens once for the first.
        if (!isRepeat(event)) {
            Q_EMIT activated();
        }
        m_heldKey = event->key();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool LinkLabel::isRepeat(const QKeyEvent* event) const
{
    // Flagged as a repeat, or a press of a key that was never released.
    if (event->isAutoRepeat() || event->key() == m_heldKey) {
        return true;
    }
    // X11 repeats a held key as a release and a press at the same moment. Whether Qt sees the
    // pair in time to flag it depends on how busy the machine is; the moments the server
    // gives the events do not. No hand lets go of a key and presses it again within one
    // interval of the keyboard's repeat. (Events without a moment, 0, are never taken for
    // repeats.)
    const int rate = std::max(1, QGuiApplication::styleHints()->keyboardAutoRepeatRate());
    const quint64 interval = static_cast<quint64>(1000 / rate);
    return event->key() == m_releasedKey && m_releasedAt != 0 &&
           event->timestamp() >= m_releasedAt && event->timestamp() - m_releasedAt < interval;
}

void LinkLabel::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && event->key() == m_heldKey) {
        m_heldKey = 0;
        m_releasedKey = event->key();
        m_releasedAt = event->timestamp();
    }
    QWidget::keyReleaseEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent* event)
{
    // The release of a key held now goes elsewhere (to the browser that opened, say).
    m_heldKey = 0;
    QWidget::focusOutEvent(event);
}

QSize LinkLabel::sizeHint() const
{
    return fontMetrics().size(Qt::TextSingleLine, m_text);
}

void LinkLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, palette(),
                          isEnabled(), m_text, QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
