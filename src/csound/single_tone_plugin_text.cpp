// The single-tone plug-in template "Default-Einzelton.plg", 85 lines: a percussion module for
// instr 1 with four wave functions to choose from, and the description of plugin_info_text.cpp.
// The same text in the converter and the compiler.
#include "csound/fixed_texts.h"

namespace csound {

const std::string_view kSingleTonePluginText = R"PLG(




;A-Orcdatei1
                  ; Percussion-Modul:
  ihart  = 0.0001 ; Härte          <--- Wert kann geändert werden!
  idauer = 0.08   ; Dauer          <--- Wert kann geändert werden!
  ipklt  = 0.30   ; Lautstärke     <--- z.B. 0.3
  ipkfq  = 1.00   ; Frequenzfaktor <--- Wert kann geändert werden!
  ;
  klt linseg 0, ihart, p5, idauer, 0
  klaut = klt * ipklt
  kfrequenz = p4 * ipkfq
  aw1 oscili klaut, kfrequenz, 4 ; die Funktionsnummer zeigt auf eine Funktion in der Partitur!
  outs aw1, aw1                  ; der Wert kann geändert werden, soweit sich weitere
                                 ; Funktionen in Dozudava.sco befinden.
                                 ; Viele Beispiele für solche Funktionen stehen in
                                 ; C:\Arbeit-xqt\Eigene Dateien 2\Texte\Bedienungsanleitungen\Csound-Infos.txt und
                                 ; C:\Arbeit-xqt\Eigene Dateien 2\Texte\Bedienungsanleitungen\Gespeicherte-Funktionen.txt
                                 ; Stand: 10.10.2007.
;E-Orcdatei1




;A-Scodatei1
 ;Es ist ein PERCUSSION-MODUL eingebaut!

 ;Eine der folgenden Funktionen kann von diesem Percussion-Modul in instr1 benutzt werden:
 ;Funktion: meine Stimme
  f 4 0 1024 10
  0.023271  0.071349  0.046627  0.000849  0.019486  0.017120  0.002389  0.003311  0.003439  0.011125
  0.008188  0.001681  0.001761  0.001710  0.001896  0.004760  0.002530  0.003983  0.004257  0.001098
  0.000337  0.002187  0.002301  0.006704  0.006966  0.002516  0.007792  0.002892  0.000926  0.000502
  0.000363  0.000386  0.000722  0.000157  0.000350  0.000384  0.000284  0.000366  0.000333  0.000265

 ;Funktion: E-Gitarrenton mit 233 Hz
  f 5 0 1024 10
  0.032664  0.014286  0.009340  0.001813  0.001247  0.000516  0.000462  0.001183  0.000302  0.000101
  0.000284  0.000589  0.000381  0.000825  0.001110  0.001186  0.001160  0.000113  0.000141  0.000384
  0.000332  0.000008  0.000053  0.000024  0.000038  0.000018  0.000039  0.000014  0.000033  0.000024
  0.000025  0.000019  0.000024  0.000022  0.000026  0.000015  0.000024  0.000021  0.000027  0.000012

 ;Funktion: verzerrte E-Gitarre mit 82 Hz
  f 6 0 1024 10
  0.020777  0.050116  0.103668  0.062283  0.018407  0.010295  0.022888  0.014498  0.011156  0.013014
  0.004661  0.002779  0.007305  0.004760  0.003255  0.005332  0.002018  0.002265  0.000879  0.007874
  0.012900  0.007430  0.008757  0.011392  0.000978  0.009415  0.005329  0.020022  0.010276  0.006660
  0.001263  0.004781  0.002991  0.006661  0.008827  0.006743  0.006206  0.005108  0.006462  0.006185

 ;Funktion: Violine eines Kindes auf 392 Hz
  f 7 0 1024 10
  0.011220  0.006249  0.000715  0.006777  0.001450  0.002476  0.000509  0.002299  0.001383  0.000246
  0.000329  0.000695  0.000155  0.000222  0.000294  0.000341  0.000172  0.000185  0.000233  0.000343
  0.000198  0.000156  0.000079  0.000040  0.000251  0.000079  0.000113  0.000203  0.000145  0.000073
  0.000086  0.000157  0.000019  0.000029  0.000127  0.000168  0.000121  0.000121  0.000201  0.000122

 ;Weitere Funktionen (f7, f8, usw.) können manuell eingetragen werden.



;E-Scodatei1




{{>PluginInfo}}




)PLG";

}  // namespace csound
