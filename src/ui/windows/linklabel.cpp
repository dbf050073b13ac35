#include "linklabel.h"

#include "programart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
        if (!event->isAutoRepeat()) {
            Q_EMIT activated();
        }
        break;
    default:
        QWidget::keyPressEvent(event);
    }
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
