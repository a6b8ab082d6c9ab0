#pragma once

#include <QByteArrayView>
#include <QString>

// Both link files only ever grow: existing bytes stay, the file is created
// when missing, and a failure comes back as a message naming the file.
namespace TextFileAppender {

bool Append(const QString &path, QByteArrayView bytes, QString *error);

}
