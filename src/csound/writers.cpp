#include "csound/writers.h"

#include <algorithm>
#include <string_view>

#include "common/codec.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "csound/fixed_texts.h"
#include "platform/drive_map.h"

namespace csound {
namespace {

using common::DoubleText;
using common::LeadingNumber;
using common::PrintedLine;
using common::RoundToStep;
using common::SingleText;
using common::ToSingle;
using common::WholePart;
using tonelist::ToneListState;
using tonelist::ToneValue;

// A setting as a number for the zero tests and the DEL term: an Integer or Number as held, Unset 0,
// a Text by its LeadingNumber, as the written numbers do, so that a Text that is not wholly a
// number ("3x") counts as what is written for it (3) and never fails.
double AsNumber(const ToneValue& v) { return v.AsLeadingNumber(); }

// The LeadingNumber of a value's text form: a Text as typed, a number by its double text form.
double WrittenNumber(const ToneValue& v) {
  if (v.IsText()) return LeadingNumber(v.text());
  if (v.IsUnset()) return 0.0;
  return LeadingNumber(DoubleText(v.AsNumber()));
}

const ToneValue& At(const std::vector<ToneValue>& values, int k) {
  static const ToneValue unset;
  return k >= 0 && static_cast<size_t>(k) < values.size() ? values[static_cast<size_t>(k)] : unset;
}

void Print(const WriterContext& c, int file, std::string_view line) { c.files.Print(file, line); }
void Print(const WriterContext& c, int file, const PrintedLine& line) {
  c.files.Print(file, line.str());
}
void Empty(const WriterContext& c, int file, int count) {
  for (int i = 0; i < count; ++i) c.files.Print(file, "");
}

std::string DateTimeText(const WriterContext& c) {
  return c.clock.DateText() + ", " + c.clock.TimeText();
}

// ---------------------------------------------------------------- score

// Lines 1 to 6 of both scores: the head, two empty lines and ";SCOMODUL-EINZELTON:".
void PrintScoreHead(const WriterContext& c, std::string_view generator) {
  Print(c, kScoreFile, " ;" + DateTimeText(c) + "  -  " + c.ScorePath + std::string(generator));
  Print(c, kScoreFile, " ;Hergestellt mit " + c.SourceDescription);
  Print(c, kScoreFile, " ;" + c.OriginNote);
  Print(c, kScoreFile, " ;Weitere Infos siehe Clip 'Dozudava' im NoteTab-Editor!");
  Empty(c, kScoreFile, 2);
  Print(c, kScoreFile, ";SCOMODUL-EINZELTON:");
}

// The sample-table block: ";SCOMODUL-DAUERTON:" to ";E-Scodatei2" and one empty line.
void PrintSampleBlock(const WriterContext& c) {
  Print(c, kScoreFile, ";SCOMODUL-DAUERTON:");
  Print(c, kScoreFile, ";A-Scodatei2");
  Print(c, kScoreFile, " f98   0.00   0  1  \"" + ScoreSamplePath(c.list.SampleFile) +
                           "\"  0  0  0 ; <----- Stereo ok.");
  Print(c, kScoreFile, ";E-Scodatei2");
  Empty(c, kScoreFile, 1);
}

// Line 9 or 12 of the FOF score: the default when the value is 0 as a number, else the value.
std::string FunctionLine(const ToneValue& v, std::string_view defaultLine) {
  if (AsNumber(v) == 0.0) return std::string(defaultLine);
  return " " + DoubleText(WrittenNumber(v)) + " 1 0";
}

void PrintNoteLines(const WriterContext& c, const ScoreTimes& times, bool fof) {
  const ToneListState& s = c.list;
  {
    PrintedLine line;
    line.Text(" i01").Tab(8).Integer(0).Tab(19).Text("-1").Tab(24);
    tonelist::PrintAsHeld(line, At(s.Pitches, 1));
    line.Tab(36).Text("0.000").Tab(46).Text("pp4").Tab(51).Text("pp5").Tab(58).Text(c.MinGlideText);
    if (fof) {
      line.Tab(68);
      tonelist::PrintAsHeld(line, At(s.FormantFreqs, 1));
      line.Tab(80).Text("pp9").Tab(87).Text("; 1");
    } else {
      line.Tab(67).Text("  ; 1");
    }
    Print(c, kScoreFile, line);
  }
  for (int i = 2; i <= s.PointCount; ++i) {
    PrintedLine line;
    line.Text(" i01").Tab(8).Double(times.EventStarts[static_cast<size_t>(i)]);
    line.Tab(19).Text("-1").Tab(24);
    tonelist::PrintAsHeld(line, At(s.Pitches, i));
    line.Tab(36);
    tonelist::PrintAsHeld(line, At(s.Loudnesses, i));
    line.Tab(46).Text("pp4").Tab(51).Text("pp5").Tab(57);
    line.Double(times.GlideDurations[static_cast<size_t>(i - 1)]);
    if (fof) {
      line.Tab(68);
      tonelist::PrintAsHeld(line, At(s.FormantFreqs, i));
      line.Tab(80).Text("pp9").Tab(87).Text(";").Integer(i);
    } else {
      line.Tab(67).Text("  ;").Integer(i);
    }
    Print(c, kScoreFile, line);
  }
}

void PrintSecondPart(const WriterContext& c, const ScoreTimes& times, bool fof) {
  const std::string S = SingleText(times.SustainDuration);
  Print(c, kScoreFile, " i96   0.00   " + S + "   ; FOF - Dauerton, " + S + " Sekunden lang");
  Print(c, kScoreFile, " i97   0.00   " + S + "   ; SAMPLE - Dauerton, " + S + " Sekunden lang");
  static constexpr std::string_view kHeads[] = {
      " i98   0.00   ", " i99   0.00   ", " i100  0.00   ", " i101  0.00   ",
      " i102  0.00   ", " i103  0.00   ", " i104  0.00   ", " i105  0.00   "};
  for (std::string_view head : kHeads)
    Print(c, kScoreFile,
          std::string(head) + S + "   ; weiterer Dauerton, " + S + " Sekunden lang");
  Empty(c, kScoreFile, 2);
  PrintedLine header;
  header.Text(" ;").Tab(9).Text("ZTP").Tab(19).Text("DT").Tab(24).Text("HT").Tab(36).Text("LT");
  if (fof)
    header.Tab(58).Text("GD").Tab(68).Text("KL (Reso.-Frq.)");
  else
    header.Tab(58).Text("GD (Gliss.-Dauer)");
  Print(c, kScoreFile, header);
  PrintNoteLines(c, times, fof);
  Empty(c, kScoreFile, 2);
  Print(c, kScoreFile, " ;[C:\\Arbeit\\cs06b.bat]");
  Print(c, kScoreFile, " e");
}

// ---------------------------------------------------------------- orchestra

FixedTextFields OrchestraFields(const WriterContext& c) {
  const ToneListState& s = c.list;
  FixedTextFields f;
  f.texts = {{"Date", c.clock.DateText()},
             {"Time", c.clock.TimeText()},
             {"OrchestraPath", c.OrchestraPath},
             {"SourceDescription", c.SourceDescription},
             {"OriginNote", c.OriginNote}};
  // LTF and LTS: the LeadingNumber of the text form of the product.
  // LTF and LTS are taken as numbers: a Text that is not wholly a number is error 13.
  f.numbers = {{"Ltf", LeadingNumber(DoubleText(s.ListLtf.AsNumber() * 0.07))},
               {"Lts", LeadingNumber(DoubleText(s.ListLts.AsNumber() * 0.015))},
               {"Hts", WrittenNumber(s.ListHts)},
               {"Fom", WrittenNumber(s.ListFom)},
               {"Ente", WrittenNumber(s.ListEnte)},
               {"Del", WrittenNumber(s.ListDel)}};
  f.flags = {{"FomGiven", AsNumber(s.ListFom) != 0.0},
             {"EnteGiven", AsNumber(s.ListEnte) != 0.0},
             {"DelGiven", AsNumber(s.ListDel) != 0.0}};
  return f;
}

void PrintFixedText(const WriterContext& c, int file, std::string_view text,
                    const FixedTextFields& fields) {
  for (const std::string& line : ExpandFixedText(text, fields)) c.files.Print(file, line);
}

}  // namespace

namespace {
float TimePoint(const ToneListState& list, int k) {
  return k >= 0 && static_cast<size_t>(k) < list.TimePoints.size()
             ? list.TimePoints[static_cast<size_t>(k)]
             : 0.0f;
}
}  // namespace

double PointValue(const ToneListState& list, int k) {
  return LeadingNumber(SingleText(TimePoint(list, k)));
}

ScoreTimes ComputeScoreTimes(const ToneListState& s, bool fof, std::string_view minGlideText) {
  ScoreTimes r;
  const int n = s.PointCount;
  const double F = s.RoundingFactor;
  // Step 2: the span in single precision, then whole seconds plus one.
  float sustain = ToSingle(PointValue(s, n) - PointValue(s, 1));
  sustain = ToSingle(WholePart(static_cast<double>(sustain) + 1.0));
  // Step 3 (FOF): six delays more, raised to the next multiple of 0.1 above the single value.
  if (fof) {
    sustain = ToSingle(static_cast<double>(sustain) + 6.0 * AsNumber(s.ListDel));
    sustain = ToSingle(WholePart(static_cast<double>(sustain) * 10.0 + 1.0) / 10.0);
  }
  r.SustainDuration = sustain;
  // Step 4: the glides from point k to point k + 1.
  r.GlideDurations.assign(static_cast<size_t>(std::max(n, 1)), 0.0);
  for (int k = 1; k <= n - 1; ++k)
    r.GlideDurations[static_cast<size_t>(k)] = RoundToStep(PointValue(s, k + 1) - PointValue(s, k), F);
  // Start values: StartTimeText is the text form of TimePoints(1), after the first note line the
  // text form of its number minus the number of MinGlideText.
  const std::string startText = SingleText(TimePoint(s, 1));
  const std::string shifted = DoubleText(LeadingNumber(startText) - LeadingNumber(minGlideText));
  const double start = LeadingNumber(shifted);
  r.EventStarts.assign(static_cast<size_t>(std::max(n, 1)) + 1, 0.0);
  for (int i = 2; i <= n; ++i)
    r.EventStarts[static_cast<size_t>(i)] = RoundToStep(PointValue(s, i - 1) - start, F);
  return r;
}

std::string ScoreSamplePath(std::string_view sampleFile) {
  // Csound opens the name with the score's bytes: the path goes in as the file system holds it
  // (UTF-8), not as Windows-1252 characters; a drive path as its host path.
  const std::string path = platform::DriveMap::IsDrivePath(sampleFile)
                               ? platform::Drives().ToHost(sampleFile).string()
                               : std::string(sampleFile);
  return common::BytesAsCp1252Text(path);
}

void WriteScoreSecondPart(const WriterContext& c, bool fof) {
  PrintSecondPart(c, ComputeScoreTimes(c.list, fof, c.MinGlideText), fof);
}

void WriteSineScore(const WriterContext& c) {
  const ScoreTimes times = ComputeScoreTimes(c.list, false, c.MinGlideText);
  const std::string S = SingleText(times.SustainDuration);
  PrintScoreHead(c, " (einfacher Generator)");
  Empty(c, kScoreFile, 3);
  Print(c, kScoreFile, " f1 0 4096 9 1 1 0");
  Print(c, kScoreFile, " f3 0 4096 9 1 1 0");
  Print(c, kScoreFile,
        " i96   0.00   " + S + "   0.5   1   ; SINUS - Dauerton, " + S + " Sekunden lang");
  Empty(c, kScoreFile, 3);
  PrintSampleBlock(c);
  PrintSecondPart(c, times, false);
}

void WriteFofScore(const WriterContext& c) {
  const ScoreTimes times = ComputeScoreTimes(c.list, true, c.MinGlideText);
  PrintScoreHead(c, " (FOF- Sample- und Percussion-Generator)");
  Empty(c, kScoreFile, 3);
  Print(c, kScoreFile, " f1 0 4096 9");
  Print(c, kScoreFile, FunctionLine(c.list.ListFua, " 1 1 0"));
  Empty(c, kScoreFile, 1);
  Print(c, kScoreFile, " f2 0 4096 9");
  Print(c, kScoreFile, FunctionLine(c.list.ListFub, " 2 1 0"));
  Empty(c, kScoreFile, 2);
  PrintSampleBlock(c);
  PrintSecondPart(c, times, true);
}

void WriteSineOrchestra(const WriterContext& c) {
  PrintFixedText(c, kOrchestraFile, kSineOrchestraText, OrchestraFields(c));
}

void WriteFofOrchestra(const WriterContext& c) {
  PrintFixedText(c, kOrchestraFile, kFofOrchestraText, OrchestraFields(c));
}

void WriteRenderBatch(const WriterContext& c) {
  FixedTextFields f;
  f.texts = {{"BatchPath", c.BatchPath},
             {"Date", c.clock.DateText()},
             {"Time", c.clock.TimeText()},
             {"Base", c.WorkFolder + c.OutputBaseName},
             {"BatchTag", c.BatchTag}};
  PrintFixedText(c, kBatchFile, kRenderBatchText, f);
}

}  // namespace csound
