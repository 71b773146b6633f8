 ;24.05.2024, 14:03:07  -  zweiten Teil der Partitur neu geschrieben.
 ;24.05.2024, 14:03:07  -  C:\Arbeit\Dozudava.sco (FOF- Sample- und Percussion-Generator)
 ;Hergestellt mit T A L V I K  -  Tonverlaufsliste: Tesu.rsz
 ;Diese Tonverlaufsliste habe ich von Hand eingegeben.
 ;Weitere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


;SCOMODUL-EINZELTON:



 f1 0 4096 9
 3 1 0

 f2 0 4096 9
 2 1 0


;SCOMODUL-DAUERTON:
;A-Scodatei2
 f98   0.00   0  1  "Samp100.wav"  0  0  0 ; <----- Stereo ok.
;E-Scodatei2

 i96   0.00   3.2   ; FOF - Dauerton, 3.2 Sekunden lang
 i97   0.00   3.2   ; SAMPLE - Dauerton, 3.2 Sekunden lang
 i98   0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i99   0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i100  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i101  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i102  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i103  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i104  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang
 i105  0.00   3.2   ; weiterer Dauerton, 3.2 Sekunden lang


 ;      ZTP       DT   HT          LT                    GD        KL (Reso.-Frq.)
 i01    0         -1   440         0.000     pp4  pp5    0.0001    500         pp9    ; 1
 i01    0.0001    -1   440         20000     pp4  pp5    0.5       500         pp9    ; 2 
 i01    0.5001    -1    470.8       0        pp4  pp5    1.5       700         pp9    ; 3 


 ;[C:\Arbeit\cs06b.bat]
 e
