 REM C:\Arbeit\cs06b.bat
 REM Geschrieben am 10.12.2026, 08:15:00
 REM Genauere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


 set PATH=%PATH%;C:\CSOUND\bin
 set SFDIR=C:\Arbeit

 csound -o C:\Arbeit\Dozudava.wav -W -g C:\Arbeit\Dozudava.orc C:\Arbeit\Dozudava.sco
 "c:\cool\COOL96.exe" "C:\Arbeit\Dozudava.wav"

 [c:\arbeit\cs06b3.bat]
