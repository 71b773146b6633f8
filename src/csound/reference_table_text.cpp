// The reference tables both windows show: MIDI loudness values with their Csound loudness
// factors, the ratios of the equal-tempered semitones up and down an octave, and the step factors
// of a semitone, a quarter tone and an eighth tone. 34 lines; trailing blanks are part of the
// text (lines 6, 11, 17 and 18). The numbers are fixed text, as the composer wrote them.
#include "csound/fixed_texts.h"

namespace csound {

const std::string_view kReferenceTableText = R"TAB(

     Lautstärketabelle                  Frqenzen aufwärts:                   Halbton:
                                        ----------------------               ----------------------
     ----------------------             c   1.000                            2^(1/12)=1.059
      Midi  Csound                      cis 1.059                            1/1.059=0.944
     ----------------------             d   1.122                            
             10.00                      dis 1.189                            Viertelton:
              7.49                      e   1.260                            ----------------------
              5.62                      f   1.335                            2^(1/24)=1.029
              4.21                      fis 1.414                            1/1.029=0.972
              3.16                      g   1.498                            
              2.37                      gis 1.587                            Achtelton:
              1.78                      a   1.682                            ----------------------
              1.33                      ais 1.782                            2^(1/48)=1.015
     ----------------------             h   1.888                            1/1.015=0.985
     127     1.00                       c   2.000
     ----------------------             
     120     0.75                       
     112     0.56                       Frqenzen abwärts:
     105     0.42                       ----------------------
      97     0.32                       c   1.000
      90     0.24                       h   0.944
      82     0.18                       b   0.892
      75     0.13                       a   0.842
      67     0.10                       as  0.795
      60     0.075                      g   0.750
      52     0.056                      ges 0.707
      45     0.042                      f   0.667
      37     0.032                      e   0.630
      30     0.024                      es  0.595
      22     0.018                      d   0.561
      15     0.013                      des 0.530
       7     0.010                      c   0.500

)TAB";

std::vector<std::string> ReferenceTableLines() { return ExpandFixedText(kReferenceTableText, {}); }

}  // namespace csound
