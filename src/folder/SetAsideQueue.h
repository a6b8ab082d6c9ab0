#pragma once

#include <QString>
#include <QStringList>

// The pictures set aside in the image folder ("a.jpg_!", "a (2).jpg_!"),
// and their way back into the queue: renamed to their ".jpg" names so that
// the next run sends them (".jpeg" ones alike). A name already taken is
// never overwritten.
namespace SetAsideQueue {

inline constexpr char Pattern[] = "*.jpg_!;*.jpeg_!";

// The bare names of the set-aside pictures, sorted as the picture list is.
QStringList Names(const QString &folder, QString *error);
// The n-th candidate name for a set-aside picture back in the queue:
// a.jpg, a (2).jpg, a (3).jpg, …
QString ReturnName(const QString &asideName, int n = 1);
// Returns the named set-aside pictures, counted in *returned; one that
// cannot go back is named in *troubles, and the others go all the same.
bool Requeue(const QString &folder, const QStringList &names, int *returned, QStringList *troubles);

}
