// Small REAPER projects for the converter tests, written line by line the way REAPER writes them
// (LF line ends, two blanks of indent per block level); every call returns the line number of
// the line it added, so that tests state their expectations in those numbers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "envelope/converter_fixture.h"

namespace envelope_test {

class ReaperProject {
 public:
  struct Envelope {
    long head = 0, firstPoint = 0, lastPoint = 0, end = 0;
  };

  long Add(std::string line) {
    lines_.push_back(std::move(line));
    return static_cast<long>(lines_.size());
  }

  long Head() { return Add("<REAPER_PROJECT 0.1 \"7.07/linux-x86_64\" 1712345678"); }

  // "  SELECTION 1 5.5"
  long Selection(const std::string& fields) { return Add("  SELECTION " + fields); }

  // A marker as today's REAPER writes it: the name quoted only when it is empty or holds a blank.
  long Marker(int number, const std::string& time, const std::string& name) {
    const bool quote = name.empty() || name.find(' ') != std::string::npos;
    return QuotedMarker(number, time, quote ? "\"" + name + "\"" : name);
  }
  // A marker whose name field is given as written ("\"440\"" or 440).
  long QuotedMarker(int number, const std::string& time, const std::string& nameField) {
    return Add("  MARKER " + std::to_string(number) + " " + time + " " + nameField +
               " 0 0 1 B {5E1B7A9C-3D0F-4C2A-9B61-0A7E2F4D8C13}");
  }

  // "<TRACK" and its NAME line, written as given (`R-01` or `"Spur 1"`); returns the NAME line.
  long Track(const std::string& nameField) {
    Add("  <TRACK {8D2C5B0B-6E41-4F3A-A1D2-93B0C4E5F607}");
    return Add("    NAME " + nameField);
  }
  long EndTrack() { return Add("  >"); }

  // A volume envelope block with its property lines, one PT line per point ("6.85714286
  // 0.09772372 0", selected "21 0.11220185 0 0 1") and its closing line (none when `close` is
  // false). With the head and track lines above, the first point of a project's first track
  // stands on line 12.
  Envelope VolumeEnvelope(const std::vector<std::string>& points, bool close = true) {
    return Block("<VOLENV2", points, close);
  }
  Envelope PanEnvelope(const std::vector<std::string>& points) {
    return Block("<PANENV2", points, true);
  }

  // The project text with LF line ends (the final ">" included, and a line end after it).
  std::string Text(const std::string& lineEnd = "\n") const {
    std::string text;
    for (const std::string& line : lines_) text += line + lineEnd;
    return text;
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  Envelope Block(const std::string& head, const std::vector<std::string>& points, bool close) {
    Envelope e;
    e.head = Add("    " + head);
    for (const char* property :
         {"      EGUID {9857F58A-F425-874C-8D90-3202E22C27F4}", "      ACT 1 -1", "      VIS 1 1 1",
          "      LANEHEIGHT 0 0", "      ARM 0", "      DEFSHAPE 0 -1 -1", "      VOLTYPE 1"})
      Add(property);
    for (const std::string& point : points) {
      const long n = Add("      PT " + point);
      if (e.firstPoint == 0) e.firstPoint = n;
      e.lastPoint = n;
    }
    if (close) e.end = Add("    >");
    return e;
  }

  std::vector<std::string> lines_;
};

// Point lines of `count` points from `first` seconds on, one second apart, unselected.
inline std::vector<std::string> EvenPoints(int count, int first = 0) {
  std::vector<std::string> points;
  for (int i = 0; i < count; ++i) points.push_back(std::to_string(first + i) + " 0.5 0");
  return points;
}

// A project with markers (time, name) and one track "R-01" whose volume envelope has a first point
// at 0 s and then `points` ("1 0.5"), the first and the last of them selected: the range a run
// converts.
inline ReaperProject MarkedRangeProject(
    const std::vector<std::string>& points,
    const std::vector<std::pair<std::string, std::string>>& markers) {
  ReaperProject p;
  p.Head();
  int number = 1;
  for (const auto& [time, name] : markers) p.Marker(number++, time, name);
  p.Track("R-01");
  std::vector<std::string> lines = {"0 1 0"};
  for (size_t k = 0; k < points.size(); ++k)
    lines.push_back(points[k] + (k == 0 || k + 1 == points.size() ? " 0 0 1" : " 0"));
  p.VolumeEnvelope(lines);
  p.EndTrack();
  p.Add(">");
  return p;
}

// `count` points from 1 s on, one second apart, all at the level 0.5 ("1 0.5", "2 0.5", ...).
inline std::vector<std::string> SecondPoints(int count) {
  std::vector<std::string> points;
  for (int k = 1; k <= count; ++k) points.push_back(std::to_string(k) + " 0.5");
  return points;
}

// A converter window whose project is "C:\Arbeit\<name>.rpp" on the temporary drive root.
class ProjectTest : public ConverterTest {
 protected:
  ProjectTest() {
    window->state.WorkFolder = "C:\\Arbeit\\";
    window->state.TrackName = "R-01";
  }
  envelope::ConverterState& s() { return window->state; }

  // Writes the project, points the window at it and reads its lines.
  void Load(const ReaperProject& project, const std::string& name = "Stueck") {
    LoadText(project.Text(), name);
  }
  void LoadText(const std::string& bytes, const std::string& name = "Stueck") {
    root.Write("c/Arbeit/" + name + ".rpp", bytes);
    s().ProjectName = name;
    s().ProjectPath = s().WorkFolder + name + ".rpp";
    window->LoadProjectLines();
  }
  // Track, volume envelope and point lines, as a run finds them.
  void FindEnvelope() {
    window->FindTrackByName();
    window->FindVolumeEnvelope();
    window->FindPointLines();
  }
};

}  // namespace envelope_test
