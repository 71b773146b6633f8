// The compiler pass: settings, tone list, render batch, orchestra, score, the editor's window,
// the batch start, and the end of the program.
#include <functional>
#include <optional>

#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "csound/score_rewriter.h"
#include "csound/writers.h"
#include "platform/clock.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace compiler {
namespace {

constexpr int kScoreFile = 2;
constexpr int kOrchestraFile = 3;
constexpr int kBatchFile = 4;
constexpr int kScoreListingFile = 4;
constexpr int kOrchestraListingFile = 5;

}  // namespace

void CompilerWindow::Form_Load() {
  CompilerState& s = state;
  // 1-2: the window stays invisible for the whole life of the program.
  frmDatei.SetVisible(false);
  ArrangeMainWindow();
  Zufallsliste.SetDefault(false);

  // 3: values every pass resets.
  s.MinGlideText = "0.0001";
  s.RoundingFactor = 10000;
  s.FofMode = false;
  for (tonelist::ToneValue* v : {&s.ListFua, &s.ListFub, &s.ListDel, &s.ListEnte, &s.ListFom,
                                 &s.ListFrv})
    *v = tonelist::ToneValue::Integer(0);

  // 4: the first pass of the program reads the settings (no trap yet: a failure ends the program).
  if (s.InitDone == 0) {
    LoadCompilerSettings();
    const std::pair<const char*, const char*> startTexts[] = {
        {"Text3", "10"},   {"Text2", "0.05"}, {"Text1", "0.2"},  {"Text4", "0.0001"},
        {"Text9", "0"},    {"Text10", "50000"}, {"Text13", "48"}, {"Text14", "84"},
        {"Text16", "127"}, {"Text17", "2"},   {"Text23", "4"},   {"Text32", "20"},
        {"Text31", "40"},  {"Text30", "127"}, {"Text29", "2"},   {"Text20", "0"},
        {"Text39", "0"},   {"Text40", "0"},   {"Text41", "0"},   {"Text42", "0"},
        {"Text43", "0"},   {"Text44", "0"}};
    for (const auto& [name, text] : startTexts) Box(name).SetText(text);
    ShowListLarge();
  } else {
    HideListSmall();
  }
  s.InitDone = -1;

  // 5-6: names and paths.
  s.WorkFolder = "C:\\Arbeit\\";
  s.ToneListBaseName = "Tesu";
  s.OutputBaseName = "Dozudava";
  HideRandomPanel();
  ArrangeButtons();
  s.ToneListPath =
      s.ChosenListFlag ? s.ChosenListPath : s.WorkFolder + s.ToneListBaseName + ".rsz";
  s.ImportListPath = s.WorkFolder + "Vuzov" + ".rsz";
  s.ScorePath = s.WorkFolder + s.OutputBaseName + ".sco";
  s.OrchestraPath = s.WorkFolder + s.OutputBaseName + ".orc";
  s.BatchPath = s.WorkFolder + s.Build.BatchFileName;
  s.RandomListPath = s.WorkFolder + "Zufall.rsz";

  // 7: the pass's one error trap; its landing point is the first writing step.
  bool trapFired = false;
  try {
    files.OpenInput(tonelist::kToneListFile, s.ToneListPath);
    SetCaptionAndOrigin();
    FillManualList();
    tonelist::ReadToneListLines(s, files);
    s.ListLtf = s.ListLts = s.ListHts = tonelist::ToneValue::Integer(1);
    tonelist::ParseToneList(s);
    files.Close(tonelist::kToneListFile);
  } catch (const common::RuntimeError&) {
    trapFired = true;  // go on with what was read; file 1 may stay open
  }

  // 10-14: the writing steps; the first error after an unfired trap runs them once more. A
  // failed step leaves the old batch, orchestra and score as they were, and the message names
  // the error that failed first.
  std::optional<common::RuntimeError> firstError;
  for (;;) {
    try {
      WritingSteps();
      break;
    } catch (const common::RuntimeError& e) {
      AbandonWritingSteps();
      if (!firstError) firstError = e;
      if (trapFired) throw *firstError;
      trapFired = true;
    }
  }

  // 15: the render batch goes on running on its own.
  common::EndProgram(0);
}

void CompilerWindow::SetCaptionAndOrigin() {
  CompilerState& s = state;
  const std::string p = kCaptionPrefix;
  if (!s.ChosenListFlag) {
    s.SourceDescription = p + s.ToneListBaseName + ".rsz";
    if (!s.PresetsLoaded) {
      frmDatei.SetCaption(s.SourceDescription + "  -  von Hand eingegeben");
      s.OriginNote = "Diese Tonverlaufsliste habe ich von Hand eingegeben.";
    } else {
      frmDatei.SetCaption(s.SourceDescription + "  -  Zufallsliste: " + s.PresetFilePath);
      s.OriginNote = "Zufallsliste: " + s.PresetFilePath;
    }
  } else {
    s.SourceDescription = p + s.ChosenListPath;
    if (!s.PresetsLoaded) {
      frmDatei.SetCaption(s.SourceDescription);
      const bool ownList =
          s.ChosenListPath == "C:\\Arbeit\\Tonverlauf.rsz" || s.ChosenListPath == "C:\\Arbeit\\Zufall.rsz";
      s.OriginNote = ownList ? "" : "Eine ältere Tonverlaufsliste wurde verwendet.";
    } else {
      frmDatei.SetCaption(s.SourceDescription + "  -  Zufallsliste: " + s.PresetFilePath);
      s.OriginNote = "Zufallsliste: " + s.PresetFilePath;
    }
  }
}

csound::WriterContext CompilerWindow::WriterContext() {
  const CompilerState& s = state;
  csound::WriterContext c{files, s, services.clock};
  c.ScorePath = s.ScorePath;
  c.OrchestraPath = s.OrchestraPath;
  c.BatchPath = s.BatchPath;
  c.WorkFolder = s.WorkFolder;
  c.OutputBaseName = s.OutputBaseName;
  c.SourceDescription = s.SourceDescription;
  c.OriginNote = s.OriginNote;
  c.MinGlideText = s.MinGlideText;
  return c;
}

void CompilerWindow::WritingSteps() {
  CompilerState& s = state;
  const csound::WriterContext context = WriterContext();

  // The batch, orchestra and score are written beside their targets and put in place together
  // once all are complete.
  files.OpenOutputReplacing(kBatchFile, s.BatchPath);
  csound::WriteRenderBatch(context);
  files.CloseHeld(kBatchFile);

  WriteCsoundFiles(context);
  files.PutHeldInPlace();

  platform::CloseWindowsByTitle(services.windows, "Dozudava.wav - Cool Edit");
  Command5_Click();
}

void CompilerWindow::WriteCsoundFiles(const csound::WriterContext& context) {
  CompilerState& s = state;
  if (s.Build.ScoreMode == ScoreModeKind::SecondPartRewrite) {
    // Build B keeps the orchestra and the score's head; the rewriters open and close the score.
    if (s.FofMode) csound::RewriteFofScoreSecondPart(context);
    else csound::RewriteSineScoreSecondPart(context);
    return;
  }
  files.OpenOutputReplacing(kOrchestraFile, s.OrchestraPath);
  if (s.FofMode) csound::WriteFofOrchestra(context);
  else csound::WriteSineOrchestra(context);
  files.CloseHeld(kOrchestraFile);

  files.OpenOutputReplacing(kScoreFile, s.ScorePath);
  if (s.FofMode) csound::WriteFofScore(context);
  else csound::WriteSineScore(context);
  files.CloseHeld(kScoreFile);
}

void CompilerWindow::AbandonWritingSteps() {
  for (int number : {kScoreFile, kOrchestraFile, kBatchFile, kOrchestraListingFile})
    files.Discard(number);
  files.DropHeld();
}

void CompilerWindow::Command5_Click() {
  HideRandomPanel();
  HideListSmall();
  ListScoreFile();
  ListOrchestraFile();
  services.starter.StartProgram(state.Build.BatchFileToStart, platform::kMinimizedFocus);
}

void CompilerWindow::ListScoreFile() {
  try {
    files.OpenInput(kScoreListingFile, state.ScorePath);
    while (!files.Eof(kScoreListingFile)) Testliste.AddItem(files.LineInput(kScoreListingFile));
    files.Close(kScoreListingFile);
    for (int i = 0; i < 14; ++i) Testliste.AddItem("");
  } catch (const common::RuntimeError&) {
    // a missing or unreadable score only shortens the listing
  }
}

void CompilerWindow::ListScoreAndOrchestra() {
  ListScoreFile();
  for (int i = 0; i < 4; ++i) Testliste.AddItem("");
  Testliste.AddItem(std::string(106, '='));
  for (int i = 0; i < 4; ++i) Testliste.AddItem("");
  ListOrchestraFile();
}

void CompilerWindow::ListOrchestraFile() {
  files.OpenInput(kOrchestraListingFile, state.OrchestraPath);
  while (!files.Eof(kOrchestraListingFile))
    Testliste.AddItem(files.LineInput(kOrchestraListingFile));
  files.Close(kOrchestraListingFile);
}

}  // namespace compiler
