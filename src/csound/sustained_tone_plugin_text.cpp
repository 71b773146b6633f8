// The sustained-tone plug-in template "Default-Dauerton.plg", 66 lines: a double sampler, the
// second sampler an interval above the first, its channels swapped, and the description of
// plugin_info_text.cpp. {{SampleMust}}, {{Instrument}} and {{Interval}} are the three lines in
// which the converter's and the compiler's templates differ (plugin_templates.cpp). The sampler
// frequencies are the k-rate "kfrq" and "kfrqx": loscil's frequency argument is k-rate, and
// Csound 6 rejects the a-rate variables.
#include "csound/fixed_texts.h"

namespace csound {

const std::string_view kSustainedTonePluginText = R"PLG(




;A-Orcdatei2
;---------------------------------------------------------
;ZWEIFACH-SAMPLER
;---------------------------------------------------------
;Frequenz:    gkfrq1
;für einen Sampler mit loscil: afrq = (gkfrq1 / 440) * gifreqfakts * 4
;Klang:       gkfoq1
;Lautstärke:  gksamp1 * 14 (oder p5?)
;
;Das zu spielende Sample {{SampleMust}} Samp100.wav heißen.
;Es muß von ausreichender Länge sein.
;---------------------------------------------------------
 Instr {{Instrument}}
  ;Tonhöheneinstellung:
   kfrq = (gkfrq1 / 440) * gifreqfakts * 4
   kfrqx = (gkfrq1 / 440) * gifreqfakts * 4{{Interval}} ; oder ein anderes Intervall
   gkfoq = gkfoq1 * gifreqfakts * 4

   aw1v,aw2v loscil gksamp1*14, kfrq, 98   ; Sampleplayer 1
   aw1v = aw1v * 0.005 * 2                 ; skalieren
   aw2v = aw2v * 0.005 * 2                 ; skalieren
   aw1 reson aw1v, gkfoq, 90               ; Bandpaßfilter, letzter Wert: Breite
   aw2 reson aw2v, gkfoq, 90               ; Bandpaßfilter
   outs aw1, aw2

   aw1vx,aw2vx loscil gksamp1*14, kfrqx, 98   ; Sampleplayer 2
   aw1vx = aw1vx * 0.005 * 2                  ; skalieren
   aw2vx = aw2vx * 0.005 * 2                  ; skalieren
   aw1x reson aw1vx, gkfoq, 90                ; Bandpaßfilter, letzter Wert: Breite
   aw2x reson aw2vx, gkfoq, 90                ; Bandpaßfilter
   outs aw2x, aw1x                            ; Kanäle umgekehrt

 endin
 ;---------------------------------------------------------
;E-Orcdatei2




;A-Scodatei2
 f98   0.00   0  1  "Samp100.wav"  0  0  0
;E-Scodatei2



{{>PluginInfo}}



)PLG";

}  // namespace csound
