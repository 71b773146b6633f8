#!/bin/sh
# Prepares a drive root for the programs: the working folder C:\Arbeit\, the compiler builds at
# C:\Arbeit\VB\Tesu01\ (links to the built programs), stand-ins for the outside programs, a sample
# C:\Arbeit\cs06b2.bat and a default C:\Arbeit\Talvik.ini. Files of the user are left as they are.
#
#   tools/setup-drive.sh <drive-root> <build-dir>
#
# The drive root is what ORMILA_DRIVES names (default $HOME/.local/share/ormila/drives).
set -eu

if [ $# -ne 2 ]; then
  echo "usage: $0 <drive-root> <build-dir>" >&2
  exit 2
fi
root=$(realpath -m -- "$1")
build=$(realpath -m -- "$2")
marker="# ormila stand-in"

# Each argument is one line, ended by CR LF.
crlf() { printf '%s\r\n' "$@"; }

mkdir -p "$root/c/Arbeit/VB/Tesu01" "$root/c/Arbeit/Editor" "$root/c/Arbeit/Editor-K" \
         "$root/c/cool" "$root/c/Programme/REAPER"

# The four compiler builds; the links are made even when the programs are not built yet.
for build_name in TalvikTe TalvikTe2 TalvikTe3 TalvikTe4; do
  link="$root/c/Arbeit/VB/Tesu01/$build_name.exe"
  if [ -e "$link" ] && [ ! -L "$link" ]; then
    echo "kept $link (not a link made by this script)"
  else
    ln -sfn "$build/apps/$build_name" "$link"
  fi
done

# A stand-in launcher: hands the file it is given to what this machine has, and never fails.
#   standin <path> <name shown> <use reaper: yes/no>
standin() {
  path=$1 name=$2
  reaper_lines=
  if [ "$3" = yes ]; then
    reaper_lines='if command -v reaper >/dev/null 2>&1; then exec reaper "$file"; fi'
  fi
  if [ -e "$path" ] && ! grep -q "^$marker" "$path" 2>/dev/null; then
    echo "kept $path (not a stand-in of this script)"
    return
  fi
  cat > "$path" <<STANDIN
#!/bin/sh
$marker for $name: opens the given file with what this machine has.
file=
for argument in "\$@"; do file=\$argument; done
if [ -z "\$file" ]; then
  echo "$name stand-in: no file given"
  exit 0
fi
$reaper_lines
if [ -n "\${DISPLAY:-}\${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null 2>&1; then
  exec xdg-open "\$file"
fi
echo "$name stand-in: nothing on this machine to open \$file"
exit 0
STANDIN
  chmod 755 "$path"
}

standin "$root/c/cool/COOL96.exe" "Cool Edit" no
standin "$root/c/Arbeit/Editor/NoteTab.exe" "NoteTab" no
standin "$root/c/Arbeit/Editor-K/NoteTab.exe" "NoteTab" no
standin "$root/c/Programme/REAPER/reaper.exe" "REAPER" yes

# A render batch that does not open the audio editor (Windows-1252, CR LF).
batch="$root/c/Arbeit/cs06b2.bat"
if [ -e "$batch" ]; then
  echo "kept $batch"
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
  echo "kept $ini"
else
  crlf "0.05" "1" "1" "1" "1" "2" "0.01" "0.001" "50" " 1 " " 1 " " 1 " " 0 " > "$ini"
fi

echo "drive root ready: $root"
