#pragma once

#include <QAccessibleWidget>

class XpB;

// What assistive technology is told about a button: a push button named by
// its caption as shown (the access-key marker gone, "&&" as one "&"), that
// can be pressed.
class XpBAccessible : public QAccessibleWidget
{
public:
    explicit XpBAccessible(XpB *button);

    // The factory for QAccessible::installFactory.
    static QAccessibleInterface *Create(const QString &className, QObject *object);
    static QString ShownCaption(const QString &caption);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    XpB *Button() const;
};
