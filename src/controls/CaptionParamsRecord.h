#pragma once

// Text-drawing parameters of the caption; margins and tab length in
// average character widths.
struct CaptionParamsRecord
{
    int cbSize = 20;
    int iTabLength = 1;
    int iLeftMargin = 1;
    int iRightMargin = 1;
    int uiLengthDrawn = 0;
};
