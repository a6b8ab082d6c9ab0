#include "app/CreditLabelAccessible.h"

#include "app/CreditLabel.h"

CreditLabelAccessible::CreditLabelAccessible(QWidget *label)
    : QAccessibleWidget(label, QAccessible::Link)
{
}

QAccessibleInterface *CreditLabelAccessible::Create(const QString &className, QObject *object)
{
    if (className == QLatin1String("CreditLabel") && object && object->isWidgetType())
        return new CreditLabelAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

QString CreditLabelAccessible::text(QAccessible::Text t) const
{
    const auto *label = static_cast<const CreditLabel *>(widget());
    if (t == QAccessible::Name && label->accessibleName().isEmpty())
        return label->text();
    if (t == QAccessible::Description && label->accessibleDescription().isEmpty())
        return label->Page().toString();
    return QAccessibleWidget::text(t);
}

QAccessible::State CreditLabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList CreditLabelAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void CreditLabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        static_cast<CreditLabel *>(widget())->Open();
    else
        QAccessibleWidget::doAction(actionName);
}
