 ;24.05.2024, 14:03:07  -  C:\Arbeit\Dozudava.orc (FOF-Generator mit SAMPLE-Option)
 ;Hergestellt mit T A L V I K  -  Tonverlaufsliste: Tesu.rsz
 ;Diese Tonverlaufsliste habe ich von Hand eingegeben.

 ;Einstimmiger Glissando-Synthesizer
 ;nach VUZOV10.orc (Vuzov04.orc und Vuzov99.orc).
 ;Instrument 96 versorgt Instrument 1.
 ;Weitere Infos siehe Clip 'Dozudava' im NoteTab-Editor!


  sr = 44100
  kr = 44100
  ksmps = 1
  nchnls = 2

 
 ;Konstanten:
  gitdf   =  1.000     ; Tondauernfaktor (0.999)





  instr 1

  iltfakt   =  0.07      ; Lautstärkefaktor für FOF (z.B. 0.07) <---- änderbar
  iltfakts  =  0.015     ; Lautstärkefaktor fürs Sample (z.B. 0.07) <---- änderbar
  iformfakt = 50       ; FOM = Formantfaktor (50) <---- änderbar
  ifreqfakt = 0
  gifreqfakts  =  1 * 0.06546  ; Frequenzfaktor fürs Sample

  idur = (abs(p3) * gitdf)
  kfrq   =  p4     ; Tonhöhe
  kfoq   =  p9     ; Formantfrequenz
  iamp   =  p5     ; Lautstärke
  iampv  =  p7     ; V-Lautstärke
  iGli   =  p8     ; Amplituden- und Frequenz-Schwelldauer
  iia    =  0.001     ; Einschwingdauer in Sek. (früher p9) <---- änderbar
  iie    =  0.001     ; Ausklingdauer in Sek. (früher p10) <---- änderbar

  if p3 < 0 goto an_mir_ist_was_drangebunden
  ir tival
  if ir == 1 goto ich_bin_angebunden

  Einzelnote:
  kamp linseg 0, iia, iamp, idur-iia-iie, iamp, iie, 0
  kfrq = kfrq
  kfoq = kfoq
  goto ende1

  an_mir_ist_was_drangebunden:
  ir tival
  if ir == 1 goto ich_bin_eingebunden
  kamp linseg 0, iia, iamp, idur-iia, iamp
  kfrq = kfrq
  kfoq = kfoq
  goto ende1

  ich_bin_angebunden:
  kamp linseg iampv, p8, iamp, idur-p8-iie, iamp, iie, 0
  kfrq linseg p6, p8, p4, idur-p8, p4
  kfoq linseg p10, p8, p9, idur-p8, p9
  goto ende1

  ich_bin_eingebunden:
  kamp linseg iampv, p8, iamp, idur-p8, iamp
  kfrq linseg p6, p8, p4, idur-p8, p4
  kfoq linseg p10, p8, p9, idur-p8, p9

  ende1:
  gkamp1  = kamp*iltfakt ; FOF-Lautstärke
  gksamp1  = kamp*iltfakts ; Sample-Lautstärke
  gkfrq1  = kfrq
  gkfoq1  = kfoq
 ;--------------------
  gkamp2  = kamp*iltfakt
  gkfrq2  = kfrq+(ifreqfakt*1) ; <<<<< (ifreqfakt*n, n ist änderbar)
  gkfoq2  = kfoq+(iformfakt*1) ; <<<<< (iformfakt*n, n ist änderbar)
 ;--------------------
  gkamp3  = kamp*iltfakt
  gkfrq3  = kfrq+(ifreqfakt*2) ; <<<<<
  gkfoq3  = kfoq+(iformfakt*1.7) ; <<<<<
 ;--------------------
  gkamp4  = kamp*iltfakt
  gkfrq4  = kfrq+(ifreqfakt*3) ; <<<<<
  gkfoq4  = kfoq+(iformfakt*3.3) ; <<<<<
 ;--------------------
  gkamp5  = kamp*iltfakt
  gkfrq5  = kfrq+(ifreqfakt*4) ; <<<<<
  gkfoq5  = kfoq+(iformfakt*5.6) ; <<<<<




;ORCMODUL-EINZELTON:




  endin






 ;Ein FOF-Dauerinstrument, von instr 1 in Frequenz, Amplitude und weiteren Parametern gesteuert:

 ;---------------------------------------------------------
 instr 96 ; Dauerton
 ;Fast alles ist veränderbar:
 ;----------------------------
  ioktfakt = 0   ; - ENTE - Enteneffekt (0 = keine Ente) <<<<< änderbar
  idelfakt = 0.010   ; - DEL - Delay, z.B. 0.01 <<<<< änderbar
  ipan1 = 0.5      ; <<<<< Panorama änderbar
  ipan2 = 0.6      ; <<<<<
  ipan3 = 0.4      ; <<<<<
  ipan4 = 0.7      ; <<<<<
  ipan5 = 0.3      ; <<<<<
 ;--------------------
  koct1  = ioktfakt*0.92 ; <<<<< Entenmultiplikator änderbar
  kband1 = 30
  kris1  = 0.0250 ; <<<<< Anstiegszeit änderbar
  kdur1  = 0.01
  kdec1  = 0.007
 ;--------------------
  koct2  = ioktfakt*1.83 ; <<<<<
  kband2 = 30
  kris2  = 0.0195 ; <<<<< 
  kdur2  = 0.01
  kdec2  = 0.007
  idelfakt2 = idelfakt*1.13 ; <<<<< Delayfaktor änderbar
 ;--------------------
  koct3  = ioktfakt*2.77 ; <<<<<
  kband3 = 30
  kris3  = 0.0140 ; <<<<<
  kdur3  = 0.01
  kdec3  = 0.007
  idelfakt3 = idelfakt*2.47 ; <<<<<
 ;--------------------
  koct4  = ioktfakt*3.45 ; <<<<<
  kband4 = 30
  kris4  = 0.0085 ; <<<<<
  kdur4  = 0.01
  kdec4  = 0.07
  idelfakt4 = idelfakt*3.78 ; <<<<<
 ;--------------------
  koct5  = ioktfakt*4.31 ; <<<<<
  kband5 = 30
  kris5  = 0.0030 ; <<<<< 
  kdur5  = 0.01
  kdec5  = 0.07
  idelfakt5 = idelfakt*5.12 ; <<<<<
 ;--------------------


  a01 fof gkamp1, gkfrq1, gkfoq1, koct1, kband1, kris1, kdur1, kdec1,    25,     1,     2,    p3
  a02 fof gkamp2, gkfrq2, gkfoq2, koct2, kband2, kris2, kdur2, kdec2,    25,     1,     2,    p3
  a03 fof gkamp3, gkfrq3, gkfoq3, koct3, kband3, kris3, kdur3, kdec3,    25,     1,     2,    p3
  a04 fof gkamp4, gkfrq4, gkfoq4, koct4, kband4, kris4, kdur4, kdec4,    25,     1,     2,    p3
  a05 fof gkamp5, gkfrq5, gkfoq5, koct5, kband5, kris5, kdur5, kdec5,    25,     1,     2,    p3
 ;        |       |       |       |      |       |      |      |         |       |      |     |
 ;        Amplitude       |       |      Formant-Bandbreite    |         Überlappungen  |     |
 ;        |       Basisfrequenz   |      |       Anstiegszeit (Sek.)     |       Funktionstabelle 1
 ;        |       |       Formantfrequenz|       |      Dauer (Sek.)     |       |      Funktionstabelle 2
 ;        |       |       |       Oktavierungskoeffizient     Abklingzeit (Sek.) |      |     Granulationszeit
 ;        |       |       |       |      |       |      |      |         |       |      |     |
 ;a00 fof xamp,   xfund,  xform,  koct,  kband,  kris,  kdur,  kdec,     iolaps, ifna,  ifnb, itotdur  [, iphs] [, ifmode]

   outs (a01*ipan1), (a01*(1-ipan1))
   a02a  delay a02, idelfakt2, 0  
   outs (a02a*ipan2), (a02a*(1-ipan2))
   a03a  delay a03, idelfakt3, 0  
   outs (a03a*ipan3), (a03a*(1-ipan3))
   a04a  delay a04, idelfakt4, 0  
   outs (a04a*ipan4), (a04a*(1-ipan4))
   a05a  delay a05, idelfakt5, 0  
   outs (a05a*ipan5), (a05a*(1-ipan5))
   endin
 ;---------------------------------------------------------





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



