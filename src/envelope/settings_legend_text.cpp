// The legend of the settings file Tesu.ini, the third info page: its 18 lines by number, with two
// empty lines before and after.
#include "csound/fixed_texts.h"
#include "envelope/info_texts.h"

namespace envelope {

const std::string_view kSettingsLegendText = R"LEG(


Inhalt der Datei Tesu.ini:

01 Name der Reaper-Datei
02 Name der Hüllkurvenspur
03 Sinus (ja oder nein)
04 FUA (für FOF)
05 FUB (für FOF
06 ENTE (für FOF)
07 DEL (für FOF)
08 FOM (für FOF)
09 LTF (für FOF-Lautstärkefaktor)
10 LTS (für Sample-Lautstärkefaktor)
11 HTS (für Sample-Frequenzfaktor)
12 Gesamtlautstärke
13 Tonhöhenmultiplikator (Gesamt-Tonhöhenverschiebung)
14 Klangfrequenzmultiplikator (Gesamt-Klangfrequenzverschiebung)
15 MasterHTv (Eine feste Tonhöhe)
16 MasterKLv (Eine feste Klangfrequenz)
17 Name des Samples
18 Nummer (Zähler) für Autoname


)LEG";

std::vector<std::string> SettingsLegendLines() {
  return csound::ExpandFixedText(kSettingsLegendText, {});
}

}  // namespace envelope
