 REM C:\Arbeit\cs06b.bat
 REM Geschrieben am 24.05.2024, 14:03:07
 REM Genauere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


 set PATH=%PATH%;C:\CSOUND\bin
 set SFDIR=C:\Arbeit

 csound -o C:\Arbeit\Dozudava.wav -W -g C:\Arbeit\Dozudava.orc C:\Arbeit\Dozudava.sco
 "c:\cool\COOL96.exe" "C:\Arbeit\Dozudava.wav"

 [c:\arbeit\cs06b.bat]
