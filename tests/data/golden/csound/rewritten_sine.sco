 ;24.05.2024, 14:03:07  -  zweiten Teil der Partitur neu geschrieben.
 ;24.05.2024, 14:03:07  -  C:\Arbeit\Dozudava.sco (einfacher Generator)
 ;Hergestellt mit T A L V I K  -  Tonverlaufsliste: Tesu.rsz
 ;Diese Tonverlaufsliste habe ich von Hand eingegeben.
 ;Weitere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


;SCOMODUL-EINZELTON:



 f1 0 4096 9 1 1 0
 f3 0 4096 9 1 1 0
 i96   0.00   3   ; FOF - Dauerton, 3 Sekunden lang
 i97   0.00   3   ; SAMPLE - Dauerton, 3 Sekunden lang
 i98   0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i99   0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i100  0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i101  0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i102  0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i103  0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i104  0.00   3   ; weiterer Dauerton, 3 Sekunden lang
 i105  0.00   3   ; weiterer Dauerton, 3 Sekunden lang


 ;      ZTP       DT   HT          LT                    GD (Gliss.-Dauer)
 i01    0         -1   220         0.000     pp4  pp5    0.0001     ; 1
 i01    0.0001    -1   440          0        pp4  pp5    2          ; 2 


 ;[C:\Arbeit\cs06b.bat]
 e
