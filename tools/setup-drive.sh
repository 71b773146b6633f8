#!/bin/sh
# Prepares a drive root for the programs: the working folder C:\Arbeit\, the compiler builds at
# C:\Arbeit\VB\Tesu01\ (links to the built programs), stand-ins for the outside programs (audio
# editor, text editor, REAPER, the listing batches C:\Arbeit\directory3b.bat to directory3h.bat,
# the comparison-tone program Kelvo, the plug-in inserter ZUMK, and the programs the compiler
# window's tool buttons start: capella, the MIDI-to-score batch, the UA-100 panel, Samplitude,
# SONAR), the help texts that "vsk" and the compiler window's info buttons open, placeholders for
# the start page and the inserter's manual that the info pages show, a sample
# C:\Arbeit\cs06b2.bat and a default C:\Arbeit\Talvik.ini. Files of the user are left as they
# are: a file is only written where there is none, or where this script wrote it before.
#
#   tools/setup-drive.sh <drive-root> <build-dir>
#
# The drive root is what ORMILA_DRIVES names (default $HOME/.local/share/ormila/drives).
set -eu

if [ $# -ne 2 ]; then
  echo "Aufruf: $0 <Laufwerkswurzel> <Build-Ordner>" >&2
  exit 2
fi
root=$(realpath -m -- "$1")
build=$(realpath -m -- "$2")
marker="# ormila stand-in"

# Each argument is one line, ended by CR LF.
crlf() { printf '%s\r\n' "$@"; }

mkdir -p "$root/c/Arbeit/VB/Tesu01" "$root/c/Arbeit/Editor" "$root/c/Arbeit/Editor-K" \
         "$root/c/cool" "$root/c/Programme/REAPER" "$root/c/Arbeit/VB/Kelvo" \
         "$root/c/Arbeit/VB/Talvik4" "$root/c/Arbeit/VB/Listing" "$root/c/Arbeit-xqt/Infotexte" \
         "$root/c/Programme/capella2004" "$root/c/Programme/Roland/Ua100ctl" "$root/c/SEKD/SamStud" \
         "$root/c/Programme/Cakewalk/SONAR 1" "$root/c/Programme/meine" "$root/c/Arbeit/VB/MIDI2CS"

# The four compiler builds; the links are made even when the programs are not built yet.
for build_name in TalvikTe TalvikTe2 TalvikTe3 TalvikTe4; do
  link="$root/c/Arbeit/VB/Tesu01/$build_name.exe"
  if [ -e "$link" ] && [ ! -L "$link" ]; then
    echo "belassen: $link (kein Verweis dieses Skripts)"
  else
    ln -sfn "$build/apps/$build_name" "$link"
  fi
done

# Writes stdin to <path> unless a file of the user is there (one without the stand-in marker in
# its second line); the file is made executable.
#   put_script <path>
put_script() {
  content=$(cat; echo x)
  if [ -e "$1" ] && ! sed -n 2p "$1" 2>/dev/null | grep -q "^$marker"; then
    echo "belassen: $1 (kein Stellvertreter dieses Skripts)"
    return
  fi
  printf '%s' "${content%x}" > "$1"
  chmod 755 "$1"
}

# The lines every stand-in begins with: its name, the file it is given (the last argument, or all
# of them joined by blanks when that names a file: the command lines the programs start are not
# quoted, so "Mein Stueck.rpp" arrives as two arguments), and say(), which tells on stderr and,
# where a window shows, in a message box (titled with the name), and ends. The messages are
# German, as everything else the composer sees.
#   standin_head <name>
standin_head() {
  cat <<HEAD
#!/bin/sh
$marker for $1
name='$1'
file=
for argument in "\$@"; do file=\$argument; done
if [ \$# -gt 1 ] && [ -e "\$*" ]; then file="\$*"; set -- "\$file"; fi
say() {
  printf 'Stellvertreter für %s: %s\\n' "\$name" "\$1" >&2
  if [ -n "\${DISPLAY:-}" ]; then
    if command -v zenity >/dev/null 2>&1; then zenity --info --title="\$name" --text="\$1"
    elif command -v kdialog >/dev/null 2>&1; then kdialog --title "\$name" --msgbox "\$1"
    elif command -v xmessage >/dev/null 2>&1; then
      # xmessage's fonts show Latin-1, not UTF-8: the umlauts go over as Latin-1,
      # in lines of a readable width.
      LC_ALL=C xmessage -title "\$name" "\$(printf '%s' "\$1" | iconv -f UTF-8 -t ISO-8859-1//TRANSLIT 2>/dev/null | fold -s -w 72 || printf '%s' "\$1")"
    fi
  fi >/dev/null 2>&1
  exit 0
}
HEAD
}

# Opens the file with the desktop's default application; else says what would have opened it
# and what to install.
#   open_body <what would open the file> <what to install>
open_body() {
  printf '%s\n' '[ -n "$file" ] || say "Keine Datei angegeben."' \
    'if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null 2>&1; then' \
    '  exec xdg-open "$file"' 'fi'
  printf 'say "Hier würde %s $file öffnen; auf diesem Rechner ist nichts, was die Datei öffnet. %s"\n' \
    "$1" "$2"
}

# Opens the file with a text editor, whatever its extension (.rsz, .orc, .sco and .plg are unknown
# to most desktops): $VISUAL, a graphical editor found here, the desktop's application for plain
# text, or $EDITOR in a terminal.
text_body='[ -n "$file" ] || say "Keine Datei angegeben."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  [ -n "${VISUAL:-}" ] && command -v "${VISUAL%% *}" >/dev/null 2>&1 && exec $VISUAL "$file"
  for editor in gnome-text-editor gedit kate kwrite mousepad xed pluma featherpad leafpad geany; do
    command -v "$editor" >/dev/null 2>&1 && exec "$editor" "$file"
  done
  if command -v xdg-mime >/dev/null 2>&1 && command -v gtk-launch >/dev/null 2>&1; then
    desktop=$(xdg-mime query default text/plain 2>/dev/null)
    [ -n "$desktop" ] && exec gtk-launch "${desktop%.desktop}" "$file"
  fi
  if [ -n "${EDITOR:-}" ]; then
    for terminal in x-terminal-emulator xterm; do
      command -v "$terminal" >/dev/null 2>&1 && exec "$terminal" -e "$EDITOR" "$file"
    done
  fi
fi
say "Hier würde der Texteditor NoteTab $file öffnen; auf diesem Rechner ist kein Texteditor zu finden. Installieren Sie einen, etwa Mousepad (als root oder mit sudo: apt-get install mousepad), oder nennen Sie ihn in VISUAL; er braucht eine grafische Sitzung."
'

# REAPER from PATH or where its Linux installer puts it, else the default application.
reaper_body='for reaper in "$(command -v reaper 2>/dev/null)" /opt/REAPER/reaper "$HOME/opt/REAPER/reaper"; do
  [ -n "$reaper" ] && [ -x "$reaper" ] && exec "$reaper" "$@"
done
'"$(open_body "REAPER" "REAPER ist nicht installiert: Legen Sie die Linux-Fassung von reaper.fm nach /opt/REAPER oder ~/opt/REAPER (oder reaper in den PATH); sonst braucht es eine grafische Sitzung und xdg-open (Paket xdg-utils) mit einem Programm für .rpp-Dateien.")"

# A program of the composer that has no counterpart here: it only says so, with the file it was
# given.
#   missing_body <what it is> <Windows path>
missing_body() {
  printf 'say "Hier würde %s starten${file:+ (mit $file)}. Es ist auf diesem Rechner nicht installiert: Legen Sie das Programm (oder ein Skript, das es startet) unter %s ab, wo jetzt dieser Stellvertreter steht."\n' "$1" "$2"
}

{ standin_head "Cool Edit"; open_body "der Audio-Editor Cool Edit" "Dafür braucht es eine grafische Sitzung, xdg-open und einen Audio-Editor, etwa Audacity (als root oder mit sudo: apt-get install xdg-utils audacity)."; } \
  | put_script "$root/c/cool/COOL96.exe"
{ standin_head "NoteTab"; printf '%s' "$text_body"; } | put_script "$root/c/Arbeit/Editor/NoteTab.exe"
{ standin_head "NoteTab"; printf '%s' "$text_body"; } | put_script "$root/c/Arbeit/Editor-K/NoteTab.exe"
{ standin_head "REAPER"; printf '%s' "$reaper_body"; } | put_script "$root/c/Programme/REAPER/reaper.exe"
# A stand-in for a program that is not on this machine.
#   missing_standin <name> <what it is> <Windows path> <path below the drive root>
missing_standin() { { standin_head "$1"; missing_body "$2" "$3"; } | put_script "$root/$4"; }

missing_standin "Kelvo" "Kelvo, das Vergleichstonprogramm," 'C:\Arbeit\VB\Kelvo\Kelvo.exe' \
  c/Arbeit/VB/Kelvo/Kelvo.exe
zumk="ZUMK, das Plugins in Dozudava.orc und Dozudava.sco einbaut,"
missing_standin "ZUMK" "$zumk" 'C:\Arbeit\VB\Talvik4\ZUMK' c/Arbeit/VB/Talvik4/ZUMK
# The programs of the compiler window's tool buttons.
missing_standin "ZUMK" "$zumk" 'C:\Programme\meine\ZUMK' c/Programme/meine/ZUMK
missing_standin "capella" "capella, das Notensatzprogramm," \
  'C:\Programme\capella2004\capella.exe' c/Programme/capella2004/capella.exe
missing_standin "MIDI2CS" "MIDI2CS, das MIDI-Dateien in Csound-Partituren umsetzt," \
  'C:\Arbeit\VB\MIDI2CS\MIDI2CS.exe' c/Arbeit/VB/MIDI2CS/MIDI2CS.exe
missing_standin "UA-100" "das Bedienfeld des Roland UA-100" \
  'C:\Programme\Roland\Ua100ctl\UA100cnt.exe' c/Programme/Roland/Ua100ctl/UA100cnt.exe
missing_standin "Samplitude" "Samplitude, der Audio-Editor," 'C:\SEKD\SamStud\Sam45.exe' \
  c/SEKD/SamStud/Sam45.exe
missing_standin "SONAR" "SONAR, der MIDI-Sequenzer," \
  'C:\Programme\Cakewalk\SONAR 1\SONAR.EXE' "c/Programme/Cakewalk/SONAR 1/SONAR.EXE"

# The listings: the files of a folder that match the patterns (without regard to case), shown in
# the text editor and on stdout. The listing is the file Auflistung.txt beside this stand-in
# (C:\Arbeit\VB\Listing\), replaced by the next listing: the editor is not waited for, so the file
# must outlive this script, and one file that is replaced never piles up (nor lands among the
# composer's own files). It is written beside and renamed, so an editor never reads half of one.
{ standin_head "Auflistung"; cat <<'BODY'
folder=$1
shift
listing="$(dirname "$0")/Auflistung.txt"
{
  printf '%s\r\n' "$folder ($*)" ""
  for pattern in "$@"; do
    find "$folder" -maxdepth 1 -type f -iname "$pattern" -printf '%TY-%Tm-%Td %TH:%TM  %10s  %f\r\n'
  done | sort -k4
} > "$listing.neu" && mv -f "$listing.neu" "$listing" || say "Die Auflistung $listing kann nicht geschrieben werden."
cat "$listing"
exec "$(dirname "$0")/../../Editor/NoteTab.exe" "$listing"
BODY
} | put_script "$root/c/Arbeit/VB/Listing/Listing.exe"

# The batches (Windows-1252, CR LF), run by the batch runner: a REM line with the stand-in marker
# and one command line.
#   put_batch <name> <what> <command line>
put_batch() {
  path="$root/c/Arbeit/$1"
  if [ -e "$path" ] && ! grep -q "$marker" "$path" 2>/dev/null; then
    echo "belassen: $path"
    return
  fi
  crlf " REM C:\\Arbeit\\$1 $marker: $2" " $3" > "$path"
}
# The listings: <name> <what> <patterns>
listing_batch() {
  put_batch "$1" "$2" "C:\\Arbeit\\VB\\Listing\\Listing.exe C:\\Arbeit\\ $3"
}
listing_batch directory3g.bat "alle Wav-Dateien in C:\\Arbeit auflisten" "*.wav"
listing_batch directory3h.bat "die Orchester- und Partiturdateien in C:\\Arbeit auflisten (Knopf L)" "*.orc *.sco"
listing_batch directory3b.bat "die Partiturdateien in C:\\Arbeit auflisten" "*.sco"
listing_batch directory3c.bat "die MIDI-Dateien in C:\\Arbeit auflisten" "*.mid"
listing_batch directory3d.bat "die gesicherten Klangdateien Lumo*.wav in C:\\Arbeit auflisten" "Lumo*.wav"
put_batch MIDI2CS1.bat "C:\\Arbeit\\Sample.mid in C:\\Arbeit\\Sample.sco umsetzen" \
  "C:\\Arbeit\\VB\\MIDI2CS\\MIDI2CS.exe C:\\Arbeit\\Sample.mid C:\\Arbeit\\Sample.sco"

# The help text of "vsk".
vsk="$root/c/Arbeit-xqt/Infotexte/Veskar2_Spezialist.txt"
if [ -e "$vsk" ]; then
  echo "belassen: $vsk"
else
  crlf "Veskar2_Spezialist.txt" "" \
       "Dies ist ein Platzhalter von tools/setup-drive.sh: Der Hilfetext selbst ist auf diesem" \
       "Rechner nicht vorhanden. Legen Sie ihn unter" \
       "C:\\Arbeit-xqt\\Infotexte\\Veskar2_Spezialist.txt ab (diese Datei darf ersetzt werden)." \
       > "$vsk"
fi

# The two texts the converter's info pages read: the start page (second click of "i") and the
# plug-in inserter's manual ("info"). They are the composer's own; short placeholders are written
# only where there is none. The placeholders keep to ASCII, so that they read the same as UTF-8
# and as Windows-1252.
docs="Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen"
# Windows names are case-insensitive, and so is the programs' drive map: the host path of a path
# below C:\ takes each folder or file that exists in another spelling, as the programs do.
#   host_path <path below C:\>
host_path() {
  host="$root/c"
  rest=$1
  while [ -n "$rest" ]; do
    part=${rest%%/*}
    case $rest in */*) rest=${rest#*/} ;; *) rest= ;; esac
    if [ ! -e "$host/$part" ] && [ -d "$host" ]; then
      found=$(find "$host" -mindepth 1 -maxdepth 1 -iname "$part" -print 2>/dev/null | head -n 1)
      [ -n "$found" ] && part=${found##*/}
    fi
    host="$host/$part"
  done
  printf '%s\n' "$host"
}
#   placeholder <path below C:\> <Windows path> <what it is>
placeholder() {
  path=$(host_path "$1")
  if [ -e "$path" ]; then
    echo "belassen: $path"
    return
  fi
  mkdir -p "$(dirname "$path")"
  crlf "$3" "" \
       "Dies ist ein Platzhalter von tools/setup-drive.sh: Der Text selbst ist auf diesem" \
       "Rechner nicht vorhanden. Legen Sie ihn unter" "$2" "ab (diese Datei darf ersetzt werden)." \
       > "$path"
}
placeholder "$docs/Quorel/Tesu-Startseite.txt" \
  'C:\Arbeit-xqt\Eigene Dateien 2\Texte\Bedienungsanleitungen\Quorel\Tesu-Startseite.txt' \
  "Tesu-Startseite.txt (Startseite von Ormila)"
placeholder "$docs/ZUMK.txt" 'C:\Arbeit-xqt\Eigene Dateien 2\Texte\Bedienungsanleitungen\ZUMK.txt' \
  "ZUMK.txt (Bedienungsanleitung von ZUMK, das Plugins in Dozudava.orc und Dozudava.sco einbaut)"
# The help texts of the compiler window's info buttons (ZUMK.txt above serves both programs).
for help in Samplitude Sonar; do
  placeholder "$docs/$help.txt" "C:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\$help.txt" \
    "$help.txt (Hilfetext des Compiler-Fensters)"
done

# A render batch that does not open the audio editor (Windows-1252, CR LF).
batch="$root/c/Arbeit/cs06b2.bat"
if [ -e "$batch" ]; then
  echo "belassen: $batch"
else
  crlf ' REM C:\Arbeit\cs06b2.bat' \
       " REM Rendert C:\\Arbeit\\Dozudava.wav, ohne den Audio-Editor zu $(printf '\366')ffnen" \
       '' '' \
       ' set PATH=%PATH%;C:\CSOUND\bin' \
       ' set SFDIR=C:\Arbeit' \
       '' \
       ' csound -o C:\Arbeit\Dozudava.wav -W -g C:\Arbeit\Dozudava.orc C:\Arbeit\Dozudava.sco' \
       > "$batch"
fi

# The compiler settings, 13 lines.
ini="$root/c/Arbeit/Talvik.ini"
if [ -e "$ini" ]; then
  echo "belassen: $ini"
else
  crlf "0.05" "1" "1" "1" "1" "2" "0.01" "0.001" "50" " 1 " " 1 " " 1 " " 0 " > "$ini"
fi

echo "Laufwerkswurzel bereit: $root"
