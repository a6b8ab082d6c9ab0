#include "linktools/TextFileAppender.h"

#include <QDir>
#include <QFile>

namespace TextFileAppender {

bool Append(const QString &path, QByteArrayView bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("Cannot open %1 for appending: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    // Buffered bytes only meet the disk at flush, so a full disk shows there.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        *error = QStringLiteral("Cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

}
