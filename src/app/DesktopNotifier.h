#pragma once

#include <QString>

// A message through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). Sent without waiting
// for an answer; where there is no bus or no such service nothing happens
// and nothing is reported, since the window says the same.
class DesktopNotifier
{
public:
    // false when there was no session bus to send it on.
    bool Notify(const QString &summary, const QString &body);
};
