#include "compiler/manual_text.h"

namespace compiler {

namespace {

// One manual line per text line, each ended by a newline. The markers {VersionText},
// {ToneListBaseName} and {WorkFolder} stand for the fields joined in; no other braces occur.
// Keep the blanks exactly as they are (the example table's columns depend on them).
constexpr std::string_view kManual = R"manual(
{VersionText}
Programm für kontinuierliche Klang- und Lautstärkeverläufe mit Sinustönen oder FOF-Klängen.

Dieses Programm schreibt anhand einer Tonverlaufsliste die beiden Dateien Dozudava.sco und
Dozudava.orc. Diese Tonverlaufsliste muß zuerst mit dem Editor (NoteTab) geschrieben werden,
danach wandelt sie das Programm in eine Csound-Partitur um.
Der Name dieser Tonverlaufsliste ist {ToneListBaseName}.rsz.

Die Existenz von {ToneListBaseName}.rsz (im Arbeitsordner {WorkFolder})
ist für die Funktion des Programms erforderlich!

Regeln zum Schreiben einer solchen Tonverlaufsliste:
Jede Parameterart soll in eine separate Zeile geschrieben werden, d.h. in einer Zeile steht
erst ein Schlüsselwort für einen Parameter (siehe unten) und dahinter - jeweils mit Abstand -
stehen die Werte. Die Abstände sollten so gewählt werden, daß zueinander gehörende Einträge
übereinander stehen. Der erste und der letzte Lautstärkewert sollte immer 0 sein.

Zu berechnende Werte sollen in eckige Klammern [] geschrieben werden. Nur die folgenden
Rechenzeichen dürfen verwendet werden: * / + -
Es dürfen nur 2 Zahlen miteinander verrechnet werden. Beispiele: [440*1.07], [220.7-3]. Werte,
die sich in unmittelbarer Folge wiederholen, können mit einem Punkt (.) dargestellt werden.


S C H L Ü S S E L W Ö R T E R
-------------------------------------------------------------------------------------------
Haupt-Schlüsselwörter (sie müssen am Zeilenbeginn stehen - Großschreibung beachten!):
ZP:   Zeitpunkte (in Sek.)
HT:   (Gesamt-)Tonhöhen (in Hz)
LT:   (Gesamt-)Lautstärken (0 ... 50000)
KL:   Formanten (in Hz). Wenn die Tonverlaufsliste kein 'KL' enthält,
      wird ein SINUSTON geschrieben, sonst ein FOF-Klang!

Zusätzliche Schlüsselwörter (hier nur jeweils einen einzigen Wert angeben!):
FUA:  Erster Wert für FOF (1, 1.1, 2, 3, 3.5, 4.7, ...)
FUB:  Zweiter Wert für FOF (1, 1.1, 2, 3, 3.5, 4.7, ...)
DEL:  Delay, ca. 0.0001 bis 1
ENTE: Enteneffekt, ca. 0 bis 3
FOM:  Formantfaktor, um 50.0; 10 bis 1000
FRV:  Frequenzvervielfachung. 0 bis über 1000
Diese zusätzlichen Schlüsselwörter können entfallen. Dann gilt jeweils die Grundeinstellung.
-------------------------------------------------------------------------------------------

Alle sonstigen Einträge (ohne vorangehende Schlüsselwörter) sind Kommentare!



B e i s p i e l
-------------------------------------------------------------------------------------------
Folgendes kann in der Datei '{ToneListBaseName}.txt' stehen:

     0       1        2        3        4        5        6        7        8       (9)
ZP  159 [165.202+0.01] 166.212 166.301 166.472  166.511  166.574  166.9    167.991  171.3
HT  1378.43  1378.43  [453/3]   .       482        .        .    [429-0.9]  .       334
KL   10       300     [300/2]   .      [300/4]     .        .      225      100     1000
LT  0.00     30000    25000    100       .      [200*2]   1000     0.000    17000    0

FUA 3
FUB 4
DEL 0.3
ENTE 0.7
FOM 40
FRV 20

Wie man sieht, ist sowohl der erste als auch der letzte Lautstärkewert Null!
Die erste Zeile (die mit den Ziffern) wird vom Programm als Kommentar verstanden.



B E D I E N U N G
-------------------------------------------------------------------------------------------
Mit der Taste A kann 'Tonverlauf.rsz' editiert werden, mit der Taste B startet
die Compilierung, mit C wird Csound und Cool Edit aufgerufen.
-------------------------------------------------------------------------------------------



P R E S E T S
-------------------------------------------------------------------------------------------
Beliebig viele Tonverlaufslisten können im Editor mit eigenen Namen
separat abgespeichert werden. Die Endung muß immer '.rsz' sein!
Mit dem pinkfarbenen Knopf können Presets direkt aufgerufen werden und editiert
werden, mit dem roten Knopf 'P' können sie fertiggestellt werden.
-------------------------------------------------------------------------------------------



Z U F A L L S K O M P O S I T I O N E N
-------------------------------------------------------------------------------------------
Mauszeiger übers Bild vom Oeschinensee in der Schweiz!
-------------------------------------------------------------------------------------------



N O T E N
-------------------------------------------------------------------------------------------
Noten schreiben und umwandeln in ein Instrument mit kontinuierlichem Tonverlauf:
Nacheinander die Tasten 1, 2, 3 und 4 drücken. In Capella müssen die Noten als
Midi-Datei mit Namen Sample.mid in den Ordner C:\Arbeit exportiert werden.
Eine umfangreiche Nachbearbearbeitung der Midi-Daten (z.B. Lautstärkebearbeitung,
Tondauernbearbeitung, Verschiebung der Ton-Startzeiten, Einfügen von zusätzlichen
Tönen usw.) kann mit Sonar erfolgen.
Nach der Nachbearbearbeitung wird wieder Knopf 2, 3 und 4 gedrückt.
-------------------------------------------------------------------------------------------



Zusatzinformationen
-------------------------------------------------------------------------------------------
Um einzelne Zeilen in Vuzov.rsz vor dem Überschreiben zu schützen, sollten
von diesen Zeilen Sicherheitskopien angefertigt werden. (entweder manuell
oder den kleinen braunen Knopf rechts neben der Taste 3 drücken!).
-------------------------------------------------------------------------------------------





Die Datei Talvik.ini enthält die Voreinstellungen:
-------------------------------------------------------------------------------------------
 1. Zeile: Härte (Glissando oder Legato)
 2. Zeile: Tempofaktor (hohe Zahl = schnell)
 3. Zeile: Frequenzfaktor (nur für das FOF-Instrument)
 4. Zeile: Lautfaktor (Gesamtlautstärke)
 5. Zeile: FUA (FOF-Einstellung)
 6. Zeile: FUB (FOF-Einstellung)
 7. Zeile: ENTE (FOF-Einstellung)
 8. Zeile: DEL (Echo)
 9. Zeile: FOM (FOF-Einstellung)
10. Zeile: LTF (FOF-Lautstärkefaktor)
11. Zeile: LTS (Sample-Lautstärkefaktor)
12. Zeile: HTS (Sample-Frequenzfaktor)
13. Zeile: Dateinamenzähler
-------------------------------------------------------------------------------------------





SAMPLE-OPTION:
-------------------------------------------------------------------------------------------
Die Sample-Datei muß Samp99.wav heißen.
Nur stetige Samples (gleichmäßige Klänge) MIT AUSREICHENDER
DAUER verwenden. Das Sample wird über seine ganze Länge in
Tonhöhe und Lautstärke moduliert.
Um die Lautstärke für FOF und Sampler separat zu steuern,
muß in der Rsz-Datei folgendes VON HAND eingetragen werden:
LTF mit Leerzeichen, dahinter eine Zahl zwischen 0 und 1 (oder mehr) für die FOF-Lautstärke,
LTS mit Leerzeichen, dahinter eine Zahl zwischen 0 und 1 (oder mehr) für die Sample-Lautstärke.
Dann den Knopf 4 (orange) drücken!
-------------------------------------------------------------------------------------------



Percussion-Option:
-------------------------------------------------------------------------------------------
Hauptverwendungszweck: Den Tonanfang härter machen.
Man kann damit aber auch sehr extreme Klangveränderungen bewirken, da der Tonanfang
sehr wichtig für den Gesamteidruck des Klanges ist.
Um den Percussion-Ton hören zu können, muß in Dozudava.wav der Lautstärkewert auf einen
bestimmten Wert, z.B. 0.3 gesetzt werden. Nach ipklt suchen!
Es wird standardmäßig die Funktion f3 (in Dozudava.sco) verwendet. Stattdessen kann auch 4, 5
oder 6 hineingeschrieben werden. Zusätzlich können weitere Funktionen (am besten solche mit
Parameter 4 = 10) leicht von Hand in Dozudava.sco (fast ganz oben) eingetragen werden.

ACHTUNG! Nach manuellen Veränderungen in Dozudava.orc oder Dozudava.sco
darf nur noch die Taste C gedrückt werden. Sonst werden die Veränderungen überschrieben.
-------------------------------------------------------------------------------------------



)manual";

void ReplaceAll(std::string& line, std::string_view marker, std::string_view value) {
  for (std::size_t at = line.find(marker); at != std::string::npos;
       at = line.find(marker, at + value.size())) {
    line.replace(at, marker.size(), value);
  }
}

}  // namespace

std::vector<std::string> ManualLines(std::string_view versionText,
                                     std::string_view toneListBaseName,
                                     std::string_view workFolder) {
  std::vector<std::string> lines;
  std::string_view rest = kManual.substr(1);  // the newline after the opening delimiter
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string line(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    ReplaceAll(line, "{VersionText}", versionText);
    ReplaceAll(line, "{ToneListBaseName}", toneListBaseName);
    ReplaceAll(line, "{WorkFolder}", workFolder);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace compiler
