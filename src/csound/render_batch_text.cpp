// The fixed text of the render batch, 12 lines. {{Base}} is WorkFolder joined with
// OutputBaseName ("C:\Arbeit\Dozudava"); the last line is {{BatchTag}} in brackets, cs06b.bat in
// every compiler build.
#include "csound/fixed_texts.h"

namespace csound {

// Trailing blanks are part of the text: keep them.
const std::string_view kRenderBatchText = R"BAT(
 REM {{BatchPath}}
 REM Geschrieben am {{Date}}, {{Time}}
 REM Genauere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


 set PATH=%PATH%;C:\CSOUND\bin
 set SFDIR=C:\Arbeit

 csound -o {{Base}}.wav -W -g {{Base}}.orc {{Base}}.sco
 "c:\cool\COOL96.exe" "{{Base}}.wav"

 [{{BatchTag}}]
)BAT";

}  // namespace csound
