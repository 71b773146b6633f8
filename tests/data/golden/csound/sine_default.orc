 ;24.05.2024, 14:03:07  -  C:\Arbeit\Dozudava.orc (einfacher Generator)
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

  iltfakt   =  0.07    ; Lautstärkefaktor für FOF (z.B. 0.07) <---- änderbar
  iltfakts  =  0.015   ; Lautstärkefaktor fürs Sample (z.B. 0.07) <---- änderbar
  gifreqfakts  =  1 * 0.06546  ; Frequenzfaktor fürs Sample
  idur = (abs(p3) * gitdf)
  kfrq   =  p4     ; Tonhöhe
  iamp   =  p5     ; Lautstärke
  iampv  =  p7     ; V-Lautstärke
  iGli   =  p8     ; Amplituden- und Frequenz-Schwelldauer
  iia    =  0.001 ; Einschwingdauer in Sek. (früher p9)
  iie    =  0.001 ; Ausklingdauer in Sek. (früher p10)

  if p3 < 0 goto an_mir_ist_was_drangebunden
  ir tival
  if ir == 1 goto ich_bin_angebunden

  Einzelnote:
  kamp linseg 0, iia, iamp, idur-iia-iie, iamp, iie, 0
  kfrq = kfrq
  goto ende1

  an_mir_ist_was_drangebunden:
  ir tival
  if ir == 1 goto ich_bin_eingebunden
  kamp linseg 0, iia, iamp, idur-iia, iamp
  kfrq = kfrq
  goto ende1

  ich_bin_angebunden:
  kamp linseg iampv, p8, iamp, idur-p8-iie, iamp, iie, 0
  kfrq linseg p6, p8, p4, idur-p8, p4
  goto ende1

  ich_bin_eingebunden:
  kamp linseg iampv, p8, iamp, idur-p8, iamp
  kfrq linseg p6, p8, p4, idur-p8, p4

  ende1:
  gkfrq1 = kfrq
  gkfoq1 = kfrq  ; neu hier
  gkamp1  = kamp*iltfakt/0.07 ; Sinus-Lautstärke  ; neu hier
  gksamp1  = kamp*iltfakts ; Sample-Lautstärke  ; neu hier




;ORCMODUL-EINZELTON:




  endin






 ;Ein Dauerinstrument, von instr 1 in Frequenz und Amplitude gesteuert:

 ;---------------------------------------------------------
  instr 96 ; Dauerton 1
  ipan = p4 ; Panorama
  ifun = p5 ; Funktion (Welle)
  a10   oscil3 gkamp1, gkfrq1, ifun ; ifun für Funktion
  outs (a10 * ipan), (a10 * (1 - ipan))
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



