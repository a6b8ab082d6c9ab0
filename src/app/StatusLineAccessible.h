#pragma once

#include <QAccessibleWidget>

// The status line for assistive technology: a status bar whose name says
// what it is and what it shows now.
class StatusLineAccessible : public QAccessibleWidget
{
public:
    explicit StatusLineAccessible(QWidget *line);

    static QAccessibleInterface *Create(const QString &className, QObject *object);

    QString text(QAccessible::Text t) const override;
};
