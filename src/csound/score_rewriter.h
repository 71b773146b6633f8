// Build B keeps the head of the existing score and rewrites everything from its first line that
// holds "i96" with a freshly computed second part.
#pragma once

#include "csound/writers.h"

namespace csound {

// At most this many lines of the old score are read; line 1001 is error 9.
inline constexpr int kOldLineCapacity = 1000;
// "i96" is looked for at the positions 1 to 121 of a line.
inline constexpr int kLastI96Position = 121;

// Both open, read, rewrite and close ScorePath as file number 2 themselves (it must not be open).
// The new score is written beside the old one and put in its place when it is complete: a score
// without a line holding "i96", or any failure while writing, leaves the old score as it was.
void RewriteSineScoreSecondPart(const WriterContext& c);
void RewriteFofScoreSecondPart(const WriterContext& c);

// The number (from 1) of the first line holding "i96" at the positions 1 to 121, or 0.
int FirstI96Line(const std::vector<std::string>& oldLines);

}  // namespace csound
