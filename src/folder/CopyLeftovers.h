#pragma once

#include <QString>

// What a killed copy leaves in the image folder: its hidden temporary file,
// named by FileOps::TemporaryPrefix and TemporaryDigits hexadecimal digits.
namespace CopyLeftovers {

// Removes those plain files from the folder, and nothing of any other name
// or kind. Only while no copy can be running into it (under the folder's lock).
bool Remove(const QString &folder, int *removed, QString *error);

}
