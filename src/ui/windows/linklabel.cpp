#include "linklabel.h"

#include "programart.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// What assistive technology sees: a link (rather than the label Qt would report) whose
// "press" action activates it as a click does.
class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction()) {
            static_cast<LinkLabel*>(widget())->activate();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }
};

QAccessibleInterface* accessibleLink(const QString& className, QObject* object)
{
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleLink);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
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
