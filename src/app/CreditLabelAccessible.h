#pragma once

#include <QAccessibleWidget>

// The author credit for assistive technology: a link named by the author's
// short name, described by its address, that can be followed.
class CreditLabelAccessible : public QAccessibleWidget
{
public:
    explicit CreditLabelAccessible(QWidget *label);

    static QAccessibleInterface *Create(const QString &className, QObject *object);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
