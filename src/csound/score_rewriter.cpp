#include "csound/score_rewriter.h"

#include "common/codec.h"
#include "common/errors.h"

namespace csound {
namespace {

bool HoldsI96(const std::string& line) {
  // Positions count the file's characters, one byte each in Windows-1252.
  const std::string codes = common::Utf8ToCp1252(line);
  for (size_t k = 0; k < static_cast<size_t>(kLastI96Position) && k + 3 <= codes.size(); ++k)
    if (codes.compare(k, 3, "i96") == 0) return true;
  return false;
}

void RewriteScoreSecondPart(const WriterContext& c, bool fof) {
  std::vector<std::string> oldLines;
  c.files.OpenInput(kScoreFile, c.ScorePath);
  while (!c.files.Eof(kScoreFile)) {
    if (static_cast<int>(oldLines.size()) == kOldLineCapacity)
      common::Raise(common::kSubscriptOutOfRange);
    oldLines.push_back(c.files.LineInput(kScoreFile));
  }
  c.files.Close(kScoreFile);

  // Without a line holding "i96" the second part has no place: the rewrite fails before the
  // score is touched, so its old lines are not lost.
  const int first = FirstI96Line(oldLines);
  if (first == 0) common::Raise(common::kSubscriptOutOfRange);

  c.files.OpenOutputReplacing(kScoreFile, c.ScorePath);
  c.files.Print(kScoreFile, " ;" + c.clock.DateText() + ", " + c.clock.TimeText() +
                                "  -  zweiten Teil der Partitur neu geschrieben.");
  for (int j = 1; j < first; ++j) c.files.Print(kScoreFile, oldLines[static_cast<size_t>(j - 1)]);
  WriteScoreSecondPart(c, fof);
  c.files.Close(kScoreFile);
}

}  // namespace

int FirstI96Line(const std::vector<std::string>& oldLines) {
  for (size_t j = 0; j < oldLines.size(); ++j)
    if (HoldsI96(oldLines[j])) return static_cast<int>(j + 1);
  return 0;
}

void RewriteSineScoreSecondPart(const WriterContext& c) { RewriteScoreSecondPart(c, false); }
void RewriteFofScoreSecondPart(const WriterContext& c) { RewriteScoreSecondPart(c, true); }

}  // namespace csound
