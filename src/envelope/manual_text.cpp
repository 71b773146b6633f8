// The user manual of the first info page: 192 lines of at most 73 characters, German. The title
// line holds the version text. Trailing blanks would be part of the text (there are none).
#include "csound/fixed_texts.h"
#include "envelope/info_texts.h"

namespace envelope {

const std::string_view kManualText = R"MAN(

                           O R M I L A  {{VersionText}}

Dieses Programm ist in Kombination mit der Mixersoftware 'REAPER' eine
graphische Entwicklungsumgebung für das Syntheseprogramm CSOUND. Es
wurde hauptsächlich dafür geschaffen, eine vorhandene musikalische
Struktur nachzubilden, zu kopieren und zu variieren. Es eignet sich
aber ebenso zum Komponieren von Einzeltönen, Melodien und
Klangfarbenmelodien. Dabei kann der musikalische Ausdruck bis in feine
Einzelheiten gestaltet werden: Lautstärke, Tonhöhe und Klangfarbe
jedes Tones werden mit der Maus gezeichnet.

Es können sowohl synthetische Klänge als auch Samples verwendet werden.
Die Form der gezeichneten Kurven ergibt Staccato, Portato, Legato oder
Glissando, je nachdem, ob die Kurve zwischen zwei Tönen bis auf null
abfällt, kurz absinkt oder ohne Unterbrechung weiterläuft.

Die in REAPER gezeichneten Lautstärkehüllkurven (Volume-Envelopes)
werden vom Programm als Lautstärke-, Tonhöhen- und Klangfrequenzkurven
gelesen. Tonhöhe und Klangfrequenz werden durch Marker gesteuert, die
an Kurvenpunkten gesetzt werden. Jeder Marker enthält eine oder zwei
Frequenzen. Diese Frequenzen müssen im Feld 'Name' des Markers
stehen.

Als Klangquellen dienen Sinusgeneratoren, FOF-Instrumente,
Frequenzmodulatoren und Samples (Stereo-WAV-Dateien). Als
Zwischenergebnis wird in eine Datei 'Tesu.rsz' eine Liste geschrieben,
die das Compilerprogramm 'Talvik' liest. Für den automatischen Ablauf
gibt es eine spezielle Version von Talvik, die Tesu.rsz sofort liest
und Csound startet. Der gesamte Ablauf ist also:
Reaper - Ormila - TalvikTe in vier Versionen - Csound.

Arbeitsschritte für das Nachbilden eines vorhandenen Klangereignisses.
Voraussetzung: Das nachzubildende Klangereignis liegt auf einer Spur
in REAPER, und REAPER ist geöffnet. Eine weitere Spur dient rein als
Hüllkurvenspur; sie braucht keine Audiodatei zu enthalten, auf ihr
wird nur die Hüllkurve gezeichnet.

1. Auf einer beliebigen Spur die Lautstärkehüllkurve einschalten (in
   REAPER auf 'frm' klicken, dann 'Volume' wählen) und der Spur einen
   Namen geben, z.B. 'R-01'.
2. Durch Klicken und Ziehen eine Hüllkurve zeichnen, die zu dem
   Klangereignis paßt.
3. Den Anfangs- und den Endpunkt der Hüllkurve markieren (sie werden
   dann als gefüllte Punkte dargestellt). Wie das geht, steht unten
   unter 'Nähere Erläuterungen'.
4. Tonhöhen und Klangfrequenzen mit Markern eingeben: in das Feld
   'Name' eines Markers eine oder zwei Zahlen schreiben. Die erste
   Zahl ist die Tonhöhe, die zweite die Klangfrequenz (beide in Hz).
   Die Zahlen werden durch ein oder mehrere Leerzeichen getrennt.
   Dezimalzahlen werden mit Punkt geschrieben (z.B. 123.4). Andere
   Zeichen als Ziffern und Leerzeichen dürfen im Namensfeld nicht
   stehen - und: keine führenden Leerzeichen!
5. Abspeichern in Reaper.




Nähere Erläuterungen:

Damit das Programm weiß, welcher Teil der Hüllkurve ausgewertet werden
soll, müssen zwei Punkte der Hüllkurve markiert sein: der Anfangs- und
der Endpunkt der Auswertung. Ein markierter Punkt wird als Punkt
dargestellt, nicht als Kreis. Markieren: den ersten Punkt anklicken,
dann die Umschalttaste (Shift) gedrückt halten und den zweiten Punkt
anklicken - oder mit der rechten Maustaste ein Rechteck um die Punkte
ziehen. Die Markierung eines Punktes wird mit der Taste 'Entf'
aufgehoben.

Wichtig: Das Programm braucht einen 'leeren' (nicht markierten)
Punkt links neben der Hüllkurve, z.B. beim Zeitpunkt 1. Noch weiter
links sollte die Hüllkurve keine Punkte enthalten.

Die Marker werden in REAPER mit der Taste 'M' gesetzt, und zwar auf
vorhandene Kurvenpunkte: überall dort, wo sich die Tonhöhe ändert,
und immer einer am Anfang der Hüllkurve. Es zählen nur Marker, die
genau auf Punkten der Hüllkurve liegen: der Zeitpunkt eines Markers
muß exakt mit dem Zeitpunkt des Kurvenpunktes übereinstimmen. Ein
Marker, der neben einem Punkt liegt, wird nicht beachtet.
Ein Kurvenpunkt ohne Marker behält die Tonhöhe (und die Klangfrequenz)
des vorhergehenden Punktes. So genügt für einen Ton mit mehreren
Punkten ein einziger Marker an seinem Anfang; ein Glissando entsteht,
wenn zwei aufeinanderfolgende Punkte verschiedene Tonhöhen haben.

Steht im Namensfeld eines Markers nur eine Zahl, so dient sie als
Tonhöhe und zugleich als Klangfrequenz. Statt die Klangfrequenzen mit
Markern einzugeben, kann man das Programm auch nach einer einzigen
Klangfrequenz für alle Töne fragen lassen (Feld 'Fester Klang'), oder
man behält für alle Töne eine einzige Tonhöhe (Feld 'Feste Tonhöhe').
Die Frequenzen aus den Markern werden dann nicht beachtet. Eine 0 in
diesen Feldern schaltet die feste Tonhöhe bzw. Klangfrequenz wieder
ab.


Wiedergabe von Samples:

Ein Sample sollte eine Stereo-WAV-Datei von ausreichender Länge sein.
Damit das Sample erklingt, muß der Sample-Lautstärkefaktor auf eine
Zahl größer als null gesetzt werden.




Variation:

Für einen Orchestereffekt braucht man viele ähnliche Klänge. Dazu
dienen die Knöpfe 'Z' (Zeitpunkte verschieben), 'D' (Töne verkürzen),
'L' (Lautstärken verändern), 'H' (Tonhöhen verändern) und 'K'
(Klangfrequenzen verändern). Alle Knöpfe außer 'D' arbeiten mit dem
Zufall. Mit den senkrechten Schiebereglern wird die Stärke der
Veränderung eingestellt. Wird ein Knopf noch einmal gedrückt, so
werden die schon veränderten Werte weiter verändert ('D' verkürzt die
Töne weiter). Mit dem Rücksetzknopf 'R' bekommt die Reihe wieder ihre
ersten Werte.
Mit 'Variation' (Knöpfe 'Var1' und 'Var2') wird eine Variation
abgespielt. 'Snapshot' speichert sie unter einem neuen Namen und
schreibt außerdem eine REAPER-Datei mit der veränderten Hüllkurve.
Mit 'Reaper' wird REAPER gestartet; dort kann man sich diese
Hüllkurve ansehen und weiter bearbeiten.
Die Variationen verändern nur die Werte im Speicher: die Hüllkurve in
der ursprünglichen REAPER-Datei bleibt, wie sie ist. Eine Variation
kann beliebig oft weiter verändert werden; wegen des Zufalls klingt
jede ein wenig anders.


Tempo:

Eine weitere Funktion des Knopfes 'Z' ändert das Tempo: Steht im Feld
'Tempo' nicht 1, so werden alle Zeitabstände damit malgenommen.

Beim Drücken des 'Cso1'-Knopfes gehen alle Variationen sowie die
Tempoänderung verloren. Es werden dann wieder die ursprünglichen
Werte verwendet.




Plugins (Knopf 'PLG'):

Mit dem Programm ZUMK (Knopf 'PLG') können beliebig viele weitere
Csound-Instrumente hinzugefügt werden. Näheres steht in der eigenen
Bedienungsanleitung von ZUMK (Knopf 'info').

Achtung! Beim Drücken von Knopf 'Cso1' werden die Dateien Dozudava.orc
und Dozudava.sco neu geschrieben und alle Einstellungen gehen verloren.
Um dies zu verhindern, sollte der Knopf 'Cso2' verwendet werden.
Die klangbestimmenden Eintragungen werden dann nicht überschrieben.


Csound-Instrumente von Hand schreiben:

Die vorhandenen Dateien Dozudava.orc und Dozudava.sco können von Hand
erweitert werden (Knöpfe 'orc' und 'sco'). Sie müssen aber
'Ormila-konform' bleiben und ihre Namen behalten. Von Hand
geschriebene Dateien werden mit der Taste 'S' gespeichert und mit der
Taste 'L' wieder geladen.






G l o s s a r
-------------------------------------------------------------------------
CSOUND:        Musiksyntheseprogramm, das auf Music Five (Music V) von
               Max Mathews beruht; von Barry Vercoe am MIT entwickelt.

REAPER:        Rapid Environment for Audio Production, Engineering, and
               Recording.

TALVIK:        Ein Programm, das zuerst hauptsächlich für Tonfolgen mit
               Legato- und Glissando-Effekten gedacht war. Es schreibt
               aus einer Tonverlaufsliste die Csound-Dateien.

KLANGFREQUENZ: Ein Wert, der die Klangfarbe der FOF-Generatoren
               bestimmt (die Frequenz des Formanten).

FOF-GENERATOR: FOF bedeutet 'Formant Frequency Synthesis'. Einer der
               Klangerzeuger von Csound; er klingt ähnlich wie die
               menschliche Stimme. Der Klang entsteht durch eine
               gedämpfte Schwingung, die in kurzen Abständen immer
               wieder neu angestoßen wird.

MARKER:        In REAPER setzt die Taste 'M' an der Cursorposition
               einen Marker. Ein Doppelklick auf seine Nummer öffnet
               das Namensfeld. Dort werden eine oder zwei Zahlen
               eingetragen: die Tonhöhe allein, oder die Tonhöhe und
               die Klangfrequenz.
               Beispiele:  |440 260|  |123.4|  |55.8  77.2|
               (ohne die senkrechten Striche).
-------------------------------------------------------------------------

)MAN";

std::vector<std::string> ManualLines(const std::string& versionText) {
  csound::FixedTextFields fields;
  fields.texts["VersionText"] = versionText;
  return csound::ExpandFixedText(kManualText, fields);
}

}  // namespace envelope
