#include "app/StatusLineAccessible.h"

#include "app/StatusLine.h"

#include <QCoreApplication>

StatusLineAccessible::StatusLineAccessible(QWidget *line)
    : QAccessibleWidget(line, QAccessible::StatusBar)
{
}

QAccessibleInterface *StatusLineAccessible::Create(const QString &className, QObject *object)
{
    if (className == QLatin1String("StatusLine") && object && object->isWidgetType())
        return new StatusLineAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

// QLabel announces a change of its text as a change of its name.
QString StatusLineAccessible::text(QAccessible::Text t) const
{
    const QString shown = static_cast<const StatusLine *>(widget())->text();
    if (t == QAccessible::Name)
        return QCoreApplication::translate("StatusLineAccessible", "Status: %1").arg(shown);
    if (t == QAccessible::Value)
        return shown;
    return QAccessibleWidget::text(t);
}
