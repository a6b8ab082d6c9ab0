#pragma once

#include <QString>
#include <QStringList>

// The pictures set aside in the image folder ("a.jpg_!", "a (2).jpg_!"),
// and their way back into the queue: renamed to their ".jpg" names so that
// the next run sends them. A name already taken is never overwritten.
namespace SetAsideQueue {

inline constexpr char Pattern[] = "*.jpg_!";

// The bare names of the set-aside pictures, sorted as the picture list is.
QStringList Names(const QString &folder, QString *error);
// The n-th candidate name for a set-aside picture back in the queue:
// a.jpg, a (2).jpg, a (3).jpg, …
QString ReturnName(const QString &asideName, int n = 1);
// Returns the named set-aside pictures; stops at the first failure, those
// returned before it stay returned, counted in *returned.
bool Requeue(const QString &folder, const QStringList &names, int *returned, QString *error);

}
