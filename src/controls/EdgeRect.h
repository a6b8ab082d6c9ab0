#pragma once

// Pixel edges; right and bottom are exclusive, so (0, 0, W, H) covers a
// W x H control.
struct EdgeRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const EdgeRect &other) const;
    bool operator!=(const EdgeRect &other) const { return !(*this == other); }
};
