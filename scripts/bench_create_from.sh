#!/usr/bin/env bash
# Benchmark, not a test: 1,000 folder links made by one "ordnerlink /create
# /from" run, and the same 1,000 made by one run of a script through the
# scripting host's CreateShortcut (folder, desktop.ini, attributes, target.lnk,
# as administrators' logon scripts do it). Both run under Wine in a prefix of
# their own; each figure includes one program start.
# The program's figure is its real route, the window's as well: the shell's
# link object writes each target.lnk first, which the program reads back and
# keeps only when it holds the source in Windows' form, else it writes the
# link from the format. Wine's shell records no share, so under Wine every
# one of these links takes both steps: the shell's file, read back and
# dropped, then the format's.
# Usage: scripts/bench_create_from.sh [COUNT]   (after a build in build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-1000}
program="$root/build/windows/app/ordnerlink.com"
[ -x "$program" ] || { echo "build first: $program is missing" >&2; exit 1; }

export WINEPREFIX="$root/build/windows/benchprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
bench="$WINEPREFIX/drive_c/bench"
rm -rf "$bench"
mkdir -p "$bench"

# The same sources and targets for both, one folder apart.
for i in $(seq -f "%04g" 1 "$count"); do
    printf '\\\\srv\\share\\Ordner %s\tC:\\bench\\ordnerlink\\Link %s\r\n' "$i" "$i"
done >"$bench/list.txt"
{
    printf 'Set fso = CreateObject("Scripting.FileSystemObject")\r\n'
    printf 'Set shell = CreateObject("WScript.Shell")\r\n'
    printf 'fso.CreateFolder "C:\\bench\\script"\r\n'
    printf 'For i = 1 To %d\r\n' "$count"
    printf '  n = Right("000" & i, 4)\r\n'
    printf '  folder = "C:\\bench\\script\\Link " & n\r\n'
    printf '  fso.CreateFolder folder\r\n'
    printf '  Set ini = fso.CreateTextFile(folder & "\\desktop.ini", True)\r\n'
    printf '  ini.Write "[.ShellClassInfo]" & vbCrLf & "CLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}" & vbCrLf'
    printf ' & "Flags=2" & vbCrLf & "ConfirmFileOp=0" & vbCrLf\r\n'
    printf '  ini.Close\r\n'
    printf '  fso.GetFile(folder & "\\desktop.ini").Attributes = 6\r\n'
    printf '  Set link = shell.CreateShortcut(folder & "\\target.lnk")\r\n'
    printf '  link.TargetPath = "\\\\srv\\share\\Ordner " & n\r\n'
    printf '  link.Save\r\n'
    printf '  fso.GetFile(folder & "\\target.lnk").Attributes = 2\r\n'
    # Wine's scripting runtime cannot set a folder's attributes (a stub that
    # raises an error): the script goes on without, one call lighter.
    printf '  On Error Resume Next\r\n'
    printf '  fso.GetFolder(folder).Attributes = 4\r\n'
    printf '  On Error GoTo 0\r\n'
    printf 'Next\r\n'
} >"$bench/make.vbs"

wine cmd /c exit >/dev/null 2>&1 # the Wine session is up before either clock starts

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || echo "  (exit code $?)" >&2
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
ordnerlink_time=$(seconds wine "$program" /create /from 'C:\bench\list.txt')
script_time=$(seconds wine cscript //nologo 'C:\bench\make.vbs')

made() { find "$bench/$1" -name target.lnk | wc -l; }
printf '%-40s %8.2f s  (%d links)\n' "ordnerlink /create /from, $count lines" "$ordnerlink_time" "$(made ordnerlink)"
printf '%-40s %8.2f s  (%d links)\n' "cscript with CreateShortcut, $count" "$script_time" "$(made script)"
