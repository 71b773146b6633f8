// The tone-progression list (.rsz): line reader, parser and bracket terms, working on the parsed
// fields and scratch fields of the compiler's state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tonelist/tone_value.h"

namespace platform {
class FileTable;
}
namespace forms {
class ListBox;
}

namespace tonelist {

// The 14 keywords, capitals as shown.
inline constexpr const char* kKeywords[] = {"ZP",  "HT",  "LT",  "KL",  "FUA", "FUB", "DEL",
                                            "ENTE", "FOM", "FRV", "LTF", "LTS", "HTS", "SMP"};

// The tone-list number of the file the reader takes its lines from.
inline constexpr int kToneListFile = 1;

struct ToneListState {
  explicit ToneListState(int pointCapacity);

  // Highest index of ToneListLines and of the four value arrays (index 0 exists).
  int PointCapacity;
  // Start and glide values are rounded to 1/RoundingFactor; the pass sets 10000.
  std::int16_t RoundingFactor = 10000;

  // The file's lines 1..LineCount (index 0 is never written).
  std::vector<std::string> ToneListLines;
  std::int16_t LineCount = 0;

  // The parsed tone list.
  std::vector<float> TimePoints;
  std::vector<ToneValue> Pitches, Loudnesses, FormantFreqs;
  std::int16_t PointCount = 0;
  bool FofMode = false;
  ToneValue ListFua, ListFub, ListDel, ListEnte, ListFom, ListFrv;
  ToneValue ListLtf, ListLts, ListHts;
  std::string SampleFile;

  // Scratch fields of the reader and parser.
  std::int16_t LineIndex = 0;
  std::string CurrentLine, CurrentChar, CurrentWord, CurrentKeyword;
  // CurrentLine as the file holds it, one byte a character (Windows-1252): positions count these.
  // CurrentWord and BracketLeft/BracketRight are built from it.
  std::string CurrentLineCodes;
  std::int16_t KeywordSeen = 0;
  std::int16_t CharPos = 0;
  std::int16_t ValueIndex = 0;
  std::int16_t ScanPos = 0;
  std::string BracketLeft, BracketOp, BracketRight;
  double BracketResult = 0;
};

// Reads all remaining lines of file number 1 into ToneListLines from index 1 and sets LineCount;
// more than PointCapacity lines is error 9.
void ReadToneListLines(ToneListState& s, platform::FileTable& files);

// Parses ToneListLines(1..LineCount); raises at the first failure and catches nothing.
void ParseToneList(ToneListState& s);

// Evaluates the bracket term whose word ended at CharPos; sets BracketResult and leaves CharPos
// on the term's closing "]".
void EvaluateBracketTerm(ToneListState& s);

// Appends the time points, pitches and loudness values to the list box.
void ListParsedValues(ToneListState& s, forms::ListBox& list);

}  // namespace tonelist
