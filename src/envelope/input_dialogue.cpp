// The input dialogue of a run with new settings: a row of input boxes titled "EINGABE".
#include <cmath>
#include <optional>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"
#include "platform/dialogs.h"

namespace envelope {
namespace {

constexpr const char* kTitle = "EINGABE";
constexpr const char* kCrLf = "\r\n";

}  // namespace

void ConverterWindow::AskRunSettings() {
  ConverterState& s = state;
  // Cancel on an early question ends the program at once.
  auto askOrEnd = [&](const std::string& prompt) {
    std::optional<std::string> answer = services.input.Ask(prompt, kTitle, "");
    if (!answer) common::EndProgram(0);
    return *answer;
  };
  // Later questions count Cancel as Return.
  auto ask = [&](const std::string& prompt) {
    return services.input.Ask(prompt, kTitle, "").value_or("");
  };
  // The take rule: an empty answer keeps the stored value, another becomes both values.
  auto take = [&](SettingValue& current, std::string& stored, const std::string& prompt) {
    const std::string answer = ask(prompt);
    if (answer.empty()) {
      current = SettingValue::Text(stored);
    } else {
      current = SettingValue::Text(answer);
      stored = answer;
    }
  };
  auto restore = [](SettingValue& current, const std::string& stored) {
    current = SettingValue::Text(stored);
  };
  // Slots [from, to) of the settings table get their stored values.
  auto restoreSlots = [&](int from, int to) {
    for (int i = from; i < to; ++i)
      restore(s.*(kSettingSlots[i].current), s.*(kSettingSlots[i].stored));
  };

  // Questions 1 and 2.
  std::string answer = askOrEnd("Reaper-Datei (.rpp) angeben  (Return = " + s.PreviousProjectName + ")");
  s.ProjectName = answer.empty() ? s.PreviousProjectName : answer;
  answer = askOrEnd("Spurnamen angeben  (Return = " + s.PreviousTrackName + ")");
  s.TrackName = answer.empty() ? s.PreviousTrackName : answer;

  // Question 3 chooses form A (Return) or form B (an answer).
  answer = askOrEnd("Sinus erzeugen?  (Return = " + s.SineStored + ")");
  bool factorBlock = false;
  if (answer.empty()) {
    s.Sine = s.SineStored;
    const std::string more = askOrEnd("weitere Einstellungen?  (Return = nein)");
    if (!more.empty()) {
      take(s.Fua, s.FuaStored, "neuer Wert für FUA?  (Return = " + s.FuaStored + ")");
      take(s.Fub, s.FubStored, "neuer Wert für FUB?  (Return = " + s.FubStored + ")");
      take(s.Ente, s.EnteStored, "neuer Wert für ENTE?  (Return = " + s.EnteStored + ")");
      take(s.Del, s.DelStored, "neuer Wert für DEL?  (Return = " + s.DelStored + ")");
      take(s.Fom, s.FomStored, "neuer Wert für FOM?  (Return = " + s.FomStored + ")");
      take(s.FofLoudnessFactor, s.FofLoudnessFactorStored,
           "neuer Wert für den fof-Lautstärkefaktor?  (Return = " + s.FofLoudnessFactorStored + ")");
      take(s.SampleLoudnessFactor, s.SampleLoudnessFactorStored,
           "neuer Wert für den Sample-Lautstärkefaktor?  (Return = " +
               s.SampleLoudnessFactorStored + ")");
      take(s.SampleFrequencyFactor, s.SampleFrequencyFactorStored,
           "neuer Wert für den Sample-Frequenzfaktor?  (Return = " +
               s.SampleFrequencyFactorStored + ")");
      factorBlock = true;
    } else {
      restoreSlots(kFofSlots, kScalingSlots);
    }
  } else {
    s.Sine = answer;
    s.SineStored = answer;
    restoreSlots(kFofSlots, kFactorSlots);
    factorBlock = !ask("weitere Einstellungen?  (Return = nein)").empty();
  }

  if (factorBlock) {
    take(s.OverallLoudness, s.OverallLoudnessStored,
         "Lautstärkefaktor angeben (Return = " + s.OverallLoudnessStored + ")");
    take(s.PitchMultiplier, s.PitchMultiplierStored,
         "Tonhöhenfaktor angeben (Return = " + s.PitchMultiplierStored + ")");
    if (s.Sine != "j") {
      take(s.TimbreMultiplier, s.TimbreMultiplierStored,
           "Klangfrequenzfaktor angeben (Return = " + s.TimbreMultiplierStored + ")");
    } else {
      restore(s.TimbreMultiplier, s.TimbreMultiplierStored);
    }
    // The master prompts: the pitch form by the current value, the timbre form by the stored
    // text. A text that is not a number counts by its numeric prefix (none: 0, no master).
    const bool masterPitch = std::floor(SettingNumber(s.MasterPitch)) > 0;
    take(s.MasterPitch, s.MasterPitchStored,
         masterPitch ? "Mastertonhöhe angeben (Return = " + s.MasterPitchStored + kCrLf + "0 = keine)"
                     : std::string("Mastertonhöhe angeben, z.B. 440") + kCrLf + "(Return = " +
                           s.MasterPitchStored + ")");
    const bool masterTimbre = std::floor(common::LeadingNumberOrInfinity(s.MasterTimbreStored)) > 0;
    take(s.MasterTimbre, s.MasterTimbreStored,
         masterTimbre ? "Masterklangfrequenz angeben (Return = " + s.MasterTimbreStored + kCrLf +
                            "0 = keine)"
                      : std::string("Masterklangfrequenz angeben, z.B. 50 ") + kCrLf +
                            " (Return = " + s.MasterTimbreStored + ")");
  } else {
    restoreSlots(kScalingSlots, kSlotCount);
  }
  SaveSettings();
}

}  // namespace envelope
