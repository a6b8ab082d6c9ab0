#pragma once

// What a headless command tells its caller; scripts rely on every number.
namespace ExitStatus {

enum : int {
    Success = 0,
    Unexpected = 1,
    Usage = 2,
    Refused = 3,
    SocketError = 4,
    Stopped = 5,
    // The run went to its end, but some pictures were set aside or passed over.
    LeftSomething = 6,
    // Another upload or import holds the image folder; nothing was done.
    FolderBusy = 7,
};

}
