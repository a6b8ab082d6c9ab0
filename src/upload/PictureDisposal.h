#pragma once

#include "upload/ReplyJudge.h"

#include <QString>

class PictureRequest;

// What becomes of a picture once the service has judged it: an accepted
// one leaves the folder, a failed one is set aside under a name that
// replaces nothing. Only the bytes that were sent are handled: a name that
// leads to other bytes now holds a picture that was never sent, and it
// stays to go in its turn.
struct PictureDisposal
{
    enum class Kind {
        Deleted,
        SetAside,
        // Replaced since it was read.
        Stays,
        // Failed, and it cannot be set aside: it stays, named.
        PassedOver,
        // Accepted, and it cannot be deleted: the run ends.
        Unexpected,
    };

    static PictureDisposal Of(ReplyJudge::Verdict verdict, const PictureRequest &sent);

    Kind kind = Kind::Stays;
    QString asideName;
    QString error;
};
