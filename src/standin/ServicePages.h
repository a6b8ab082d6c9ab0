#pragma once

#include <QByteArray>

// The short replies of the upload script, in Windows-1251. Only the two
// marker texts carry meaning for the uploader; everything else is dressing.
namespace ServicePages {

QByteArray Accepted();
QByteArray Refused();
QByteArray Problem(const QByteArray &reason);

}
