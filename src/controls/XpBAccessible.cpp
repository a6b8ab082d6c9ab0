#include "controls/XpBAccessible.h"

#include "controls/XpB.h"

#include <QKeySequence>

XpBAccessible::XpBAccessible(XpB *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

QAccessibleInterface *XpBAccessible::Create(const QString &className, QObject *object)
{
    if (className == QLatin1String("XpB") && object && object->isWidgetType())
        return new XpBAccessible(static_cast<XpB *>(object));
    return nullptr;
}

QString XpBAccessible::ShownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption.at(i);
    }
    return shown;
}

XpB *XpBAccessible::Button() const
{
    return static_cast<XpB *>(widget());
}

QString XpBAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return ShownCaption(Button()->Caption());
    if (t == QAccessible::Accelerator && !Button()->AccessKey().isEmpty()) {
        const auto key = Qt::Key(Button()->AccessKey().at(0).toUpper().unicode());
        return QKeySequence(QKeyCombination(Qt::AltModifier, key)).toString(QKeySequence::NativeText);
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State XpBAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = Button()->IsPressed() != 0;
    return state;
}

QStringList XpBAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void XpBAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        Button()->Press();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList XpBAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction()) {
        const QString key = text(QAccessible::Accelerator);
        return key.isEmpty() ? QStringList{QStringLiteral("Space")} : QStringList{QStringLiteral("Space"), key};
    }
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
