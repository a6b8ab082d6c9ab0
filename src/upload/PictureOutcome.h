#pragma once

#include <QMetaType>
#include <QString>

// What became of one picture in a run: for the log, the summary and the
// views, which each take what they need from it.
struct PictureOutcome
{
    enum class Kind { Accepted, SetAside, PassedOver, Refused, Stopped, Error };

    Kind kind = Kind::Error;
    QString path;
    // -1 where the picture could not even be opened.
    qint64 size = -1;
    // The bare name a set-aside picture now has.
    QString asideName;
    // The service's own words for a failed picture, why a picture was
    // passed over, or the status an error ended the run with.
    QString words;
    // What was done to the bytes sent ("location removed"); empty when
    // they went as the file holds them.
    QString done;
};

Q_DECLARE_METATYPE(PictureOutcome)
