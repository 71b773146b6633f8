// Instrument 97 and the end of the file, the same in both orchestras, with the mending
// of DESIGN.md "Csound on this platform": the sampler frequency is the k-rate "kfrq" (the fixed text
// has the a-rate "afrq", which loscil's k-rate frequency argument rejects in Csound 6).
#include "csound/fixed_texts.h"

namespace csound {

// Trailing blanks are part of the text: keep them.
const std::string_view kInstrument97Text = R"ORC(
;ORCMODUL-DAUERTON:
;---------------------------------------------------------
 instr 97
   kfrq = (gkfrq1 / 440) * gifreqfakts * 4 * 15
   gkfoq = gkfoq1*gifreqfakts*4            ; 4 entspricht der Originaltonhöhe
   aw1v,aw2v loscil gksamp1*14, kfrq, 98   ; Sampleplayer
;  aw1v = aw1v * 0.005                     ; skalieren
;  aw2v = aw2v * 0.005                     ; skalieren
;  aw1 reson aw1v, gkfoq, 90               ; Bandpaßfilter, letzter Wert: Breite
;  aw2 reson aw2v, gkfoq, 90               ; Bandpaßfilter
;  outs aw1, aw2
   aw1v = aw1v * 5                         ; skalieren
   aw2v = aw2v * 5                         ; skalieren
   outs aw1v, aw2v
 endin
;---------------------------------------------------------



)ORC";

}  // namespace csound
