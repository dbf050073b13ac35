#include "accessibility.h"

#include "frmMain.h"
#include "linklabel.h"

#include <QAccessibleWidget>

namespace {

// The link label to assistive technology: a link whose "press" action activates it as a
// click does.
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

QAccessibleInterface* accessibleWidget(const QString& className, QObject* object)
{
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String(LinkLabel::staticMetaObject.className())) {
        return new AccessibleLink(static_cast<LinkLabel*>(widget));
    }
    if (className == QLatin1String(frmMain::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(accessibleWidget);
}
