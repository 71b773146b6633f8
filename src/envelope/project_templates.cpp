// The four project templates "Grundtext1" to "Grundtext4", rewritten in the work folder at every
// start; the generated REAPER projects are assembled from them.
#include <string>
#include <string_view>

#include "common/errors.h"
#include "envelope/converter_window.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

// One template: its file name, its lines joined by "\n" (trailing blanks belong to the text), and
// whether its last line ends with a line end too.
struct ProjectTemplate {
  const char* name;
  std::string_view text;
  bool finalLineEnd;
};

// clang-format off
constexpr ProjectTemplate kProjectTemplates[] = {
    {"Grundtext1",
     R"(<REAPER_PROJECT 0.1  3.71 
  RIPPLE 0
  GROUPOVERRIDE 0 0 0
  AUTOXFADE 1
  ENVATTACH 1
  MIXERUIFLAGS 11 0
  PEAKGAIN 1.10000000000000
  FEEDBACK 0
  AUTOMUTE 0 7.94328235000000
  PANLAW 1.00000000000000
  PROJOFFS 0.00000000000000 0
  MAXPROJLEN 0 600.00000000000000
  GRID 1150 8 1.00000000000000 8 1.00000000000000 0
  TIMEMODE 0 0 0
  CURSOR 0.49999440126865
  ZOOM 228.25960675472621 0 0
  VZOOMEX 17
  USE_REC_CFG 0
  RECMODE 1
  SMPTESYNC 0 30.000000 100 40 1000 300 0 0.000000
  LOOP 0
  LOOPGRAN 0 4.00000000000000
  RECORD_PATH "" ""
  <RECORD_CFG
    ZXZhdxAA
  >
  <APPLYFX_CFG
  >
  RENDER_FILE "C:\Arbeit\Test-001.wav"
  RENDER_FMT 0 2 44100
  RENDER_1X 0
  RENDER_RANGE 1 0.00000000000000 0.00000000000000
  RENDER_RESAMPLE 8 0 1
  RENDER_ADDTOPROJ 0
  RENDER_STEMS 0
  RENDER_DITHER 0
  TIMELOCKMODE 0
  ITEMMIX 0
  DEFPITCHMODE 0
  TAKELANE 1
  SAMPLERATE 44100 0
  <RENDER_CFG
    ZXZhdxAA
  >
  Lock 1
  <METRONOME 6 2.000000
    VOL 0.250000 0.125000
    FREQ 800 1600
    BEATLEN 4
    SAMPLES "" ""
  >
  GLOBAL_AUTO -1
  TEMPO 120.00000000000000 4 4
  PLAYRATE 1.00000000000000 0 0.25000 4.00000
  SELECTION 0.00000000000000 0.00000000000000
  SELECTION2 0.00000000000000 0.00000000000000
  MASTERAUTOMODE 0
  MASTERTRACKHEIGHT 114
  MASTERMUTESOLO 0
  MASTERTRACKVIEW 0 0.666700 0.500000 0.500000 -1 -1 -1
  MASTERHWOUT 0 0 1.00000000000000 0.00000000000000 0 0 0 -1.00000000000000
  MASTER_NCH 2
  MASTER_VOLUME 1.00000000000000 0.00000000000000 -1.00000000000000
  MASTER_FX 0
  MASTER_SEL 0
  <MASTERFXLIST
    WNDRECT 0 38 691 432
    Show 0
    LASTSEL 0
    DOCKED 0
    FOLDED 1
  >
  <MASTERPLAYSPEEDENV
    ACT 0
    VIS 0 1 1.000000
    LANEHEIGHT 0 0
    ARM 1
    DEFSHAPE 0
    PT 0.000000 1.000000 0
    PT 4866.562241 1.000000 0
    PT 4866.647426 1.000000 0
    PT 4866.696104 3.837838 0
    PT 4866.726527 1.486486 0
    PT 4867.061185 0.391892 0
    PT 4867.070312 4.000000 0
    PT 4867.137244 2.783784 0
    PT 4867.246768 1.000000 0
    PT 4867.368462 3.594595 0 0 1
    PT 4867.468860 1.000000 0
  >
  <TEMPOENVEX
    ACT 0
    VIS 1 0 1.000000
    LANEHEIGHT 0 0
    ARM 0
    DEFSHAPE 0
  >
  <MASTERVOLENV
    ACT 0
    VIS 1 1 1.000000
    LANEHEIGHT 0 0
    ARM 1
    DEFSHAPE 0
  >
  <MASTERPANENV
    ACT 0
    VIS 1 1 1.000000
    LANEHEIGHT 0 0
    ARM 1
    DEFSHAPE 0
  >
  <MASTERVOLENV2
    ACT 0
    VIS 0 1 1.000000
    LANEHEIGHT 0 0
    ARM 1
    DEFSHAPE 0
  >
  <MASTERPANENV2
    ACT 0
    VIS 0 1 1.000000
    LANEHEIGHT 0 0
    ARM 1
    DEFSHAPE 0
  >)",
     false},
    {"Grundtext2",
     R"(  <TRACK '{0ABDCEC9-CD19-4648-A83C-2DD844D93945}')",
     false},
    {"Grundtext3",
     R"(    PEAKCOL 16842496
    BEAT -1
    AUTOMODE 0
    VOLPAN 1.00000000000000 0.00000000000000 -1.00000000000000
    MUTESOLO 0 0 0
    IPHASE 0
    ISBUS 0 0
    BUSCOMP 0 0
    SHOWINMIX 1 0.666700 0.500000 1 0.500000 -1 -1 -1
    FREEMODE 0
    SEL 1
    REC 0 0 0 0 0 0 0
    TRACKHEIGHT 314 0
    INQ 0 0 0 0.5000000000 100 0 0 100
    NCHAN 2
    FX 1
    TRACKID {0ABDCEC9-CD19-4648-A83C-2DD844D93945}
    PERF 0
    MIDIOUT -1
    MAINSEND 1
    <VOLENV2
      ACT 1
      VIS 1 0 1.000000
      LANEHEIGHT 0 0
      ARM 1
      DEFSHAPE 0)",
     false},
    {"Grundtext4",
     R"(    >
    <FXCHAIN
      WNDRECT 0 40 718 548
      SHOW 0
      LASTSEL 0
      DOCKED 0
      FOLDED 1
    >
  >
>)",
     true},
};
// clang-format on

}  // namespace

void ConverterWindow::WriteProjectTemplates() {
  // Each template is written beside its file and put in place only when complete: a write that
  // fails (a full disk) leaves the template as it was, never cut.
  for (const ProjectTemplate& t : kProjectTemplates) {
    const int f = files.FreeFile();
    files.OpenOutputReplacing(f, state.WorkFolder + t.name);
    try {
      std::string_view rest = t.text;
      for (;;) {
        const size_t end = rest.find('\n');
        if (end == std::string_view::npos) break;
        files.Print(f, rest.substr(0, end));
        rest.remove_prefix(end + 1);
      }
      if (t.finalLineEnd) files.Print(f, rest);
      else files.PrintText(f, rest);
    } catch (const common::RuntimeError&) {
      files.Discard(f);
      throw;
    }
    files.Close(f);
  }
}

}  // namespace envelope
