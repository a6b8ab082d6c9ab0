#pragma once

#include <QString>

// Writes a few small but real JPEG pictures, so a demonstration or a
// benchmark has something true to upload.
namespace SampleMaker {

bool Make(const QString &folder, int count, int width, int height, QString *error);

}
