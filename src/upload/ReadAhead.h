#pragma once

#include "upload/PictureRequest.h"

#include <QFile>
#include <QString>

#include <memory>

class RequestBuilder;

// What would otherwise stand between two pictures is done while the
// service stores one: giving back the storage of the picture handled last,
// and reading the next one, which is sent only if the folder still holds it
// unchanged when its turn comes.
class ReadAhead
{
public:
    // Deleting a picture that is still open only takes its name away; its
    // storage is given back when UseTheWait closes it.
    void Keep(std::unique_ptr<QFile> handled) { m_handled = std::move(handled); }
    void UseTheWait(RequestBuilder &builder, const PicturePreparation &preparation, const QString &next,
                    const QString &login, const QString &password);
    // The request read ahead for path into *request; false, with nothing
    // kept, when none was.
    bool Take(const QString &path, PictureRequest *request);
    void Clear();

private:
    PictureRequest m_ahead;
    std::unique_ptr<QFile> m_handled;
};
