#pragma once

#include <QtGlobal>

// What one client, or many, may make the stand-in hold and for how long.
// The defaults leave the uploader's largest picture room and let nothing
// else pile up; tests set them small.
struct StandinLimits
{
    int maxConnections = 64;
    // Above the uploader's largest picture and its framing.
    qint64 maxBody = qint64(512) * 1024 * 1024;
    // Bodies held at once, across every connection.
    qint64 maxBuffered = qint64(1024) * 1024 * 1024;
    // From the connection to the head's blank line, however steadily it trickles.
    int headTimeoutMs = 15 * 1000;
    // Without a byte in either direction.
    int idleTimeoutMs = 30 * 1000;
};
