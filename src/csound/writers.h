// The Csound writers of the compiler pass: score, orchestra and render
// batch. Each prints to the file number the caller has opened for output (score 2,
// orchestra 3, batch 4) and leaves it open; errors (a full disk, a value that overflows) are raised
// as runtime errors for the pass's trap.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_table.h"
#include "tonelist/tone_list.h"

namespace csound {

inline constexpr int kScoreFile = 2;
inline constexpr int kOrchestraFile = 3;
inline constexpr int kBatchFile = 4;

struct WriterContext {
  platform::FileTable& files;           // the writers print to the file number the caller opened
  const tonelist::ToneListState& list;  // parsed tone list
  platform::Clock& clock;
  std::string ScorePath{}, OrchestraPath{}, BatchPath{};  // Windows paths as the system writes them
  std::string WorkFolder = "C:\\Arbeit\\", OutputBaseName = "Dozudava";
  std::string SourceDescription{}, OriginNote{};
  std::string MinGlideText = "0.0001";
  // The batch named in brackets on the render batch's last line.
  std::string BatchTag = "c:\\arbeit\\cs06b.bat";
};

void WriteSineScore(const WriterContext&);  // prints to file 2
void WriteFofScore(const WriterContext&);   // file 2
// The score second part alone (from the "FOF - Dauerton" sustain line to " e"), sine or FOF note
// table; the two score writers end with this same code. Build B's rewriter calls it.
void WriteScoreSecondPart(const WriterContext&, bool fof);  // file 2
void WriteSineOrchestra(const WriterContext&);  // file 3
void WriteFofOrchestra(const WriterContext&);   // file 3
void WriteRenderBatch(const WriterContext&);    // file 4

// The times the score writers compute before the first line (sustain length, glides and the
// start values), exposed for tests. t(k), the value of a time point, is the LeadingNumber of the
// 7-digit text form of TimePoints(k), read as a double.
struct ScoreTimes {
  float SustainDuration = 0;          // S; FOF: with 6 x DEL and raised to the next 0.1
  std::vector<double> GlideDurations; // 1..PointCount-1 (element 0 is the text MinGlideText)
  std::vector<double> EventStarts;    // 1..PointCount (EventStarts[1] is the whole number 0)
};
double PointValue(const tonelist::ToneListState& list, int k);
ScoreTimes ComputeScoreTimes(const tonelist::ToneListState& list, bool fof,
                             std::string_view minGlideText);

// The f98 sample path as the score writes it: a Windows drive path through the drive map (Csound's
// score parser reads backslashes as escapes), its host path given so that the Windows-1252 score
// holds the bytes the file system holds (common::BytesAsCp1252Text); anything else as written,
// byte for byte as the tone list holds it.
std::string ScoreSamplePath(std::string_view sampleFile);

}  // namespace csound
