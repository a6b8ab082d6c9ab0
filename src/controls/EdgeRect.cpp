#include "controls/EdgeRect.h"

bool EdgeRect::operator==(const EdgeRect &other) const
{
    return Left == other.Left && Top == other.Top && Right == other.Right && Bottom == other.Bottom;
}
