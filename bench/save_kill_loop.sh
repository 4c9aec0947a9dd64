#!/usr/bin/env bash
# Kills a saver at random moments while it saves a large drawing over and over, and checks after
# every kill that the folder holds one whole drawing whose data fork and sidecar come from the
# same save, and that the next open leaves nothing else behind. Run by hand, not in CI:
#   bench/save_kill_loop.sh [kills=100] [lines=200000] [backup|nobackup|dxf|pdf]
# With dxf or pdf the saver exports the drawing over and over instead; after every kill the file
# must be a whole DXF (ending in its EOF) or a PDF that qpdf --check accepts, and the clearing up
# of the next write must leave nothing else.
# Uses build-test/save_kill_saver (or $SAVER); the folder lies under $TMPDIR unless FOLDER is given.
# SAVE_KILL_GAP_MS=200 makes the saver wait that long between exchanging the data forks and the
# sidecars, so that many kills land in that gap. SAVE_KILL_NO_ATOMIC_EXCHANGE=1 exchanges by hard
# links and renames, as on file systems without the atomic exchange.
set -u
kills=${1:-100}
lines=${2:-200000}
backup=${3:-nobackup}
here=$(cd "$(dirname "$0")/.." && pwd)
saver=${SAVER:-$here/build-test/save_kill_saver}
[ -x "$saver" ] || { echo "no saver at $saver (build the tree first)" >&2; exit 2; }
folder=${FOLDER:-$(mktemp -d "${TMPDIR:-/tmp}/save-kill.XXXXXX")}
drawing="$folder/Large drawing.cadx"
export QT_QPA_PLATFORM=offscreen

if [ "$backup" = dxf ] || [ "$backup" = pdf ]; then
    kind=$backup
    out="$folder/Large drawing.$kind"
    start=$(date +%s%N)
    "$saver" export "$out" "$lines" "$kind" || { echo "could not export" >&2; exit 2; }
    cycle_ms=$(( ($(date +%s%N) - start) / 1000000 ))
    echo "export: $(stat -c %s "$out") bytes; one run of the exporter: ${cycle_ms} ms; kills spread over 0..$((cycle_ms * 3)) ms"
    ok=0 bad=0 left=0 changed=0
    last=$(stat -c %i "$out")
    for ((i = 1; i <= kills; ++i)); do
        "$saver" export-loop "$out" "$lines" "$kind" & pid=$!
        delay=$(( (RANDOM * 32768 + RANDOM) % (cycle_ms * 3 + 1) ))
        sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
        kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
        line=$("$saver" export-check "$out" "$kind"); status=$?
        whole=1
        case $line in *whole=BAD*) whole=0 ;; esac
        if [ "$kind" = pdf ] && ! qpdf --check "$out" >/dev/null 2>&1; then whole=0; line="$line qpdf=BAD"; fi
        if [ $whole -eq 1 ]; then ok=$((ok + 1)); else bad=$((bad + 1)); echo "kill $i after ${delay} ms: $line"; fi
        case $line in *leftovers=0*) ;; *) left=$((left + 1)); echo "kill $i after ${delay} ms: $line" ;; esac
        now=$(stat -c %i "$out")
        [ "$now" != "$last" ] && changed=$((changed + 1)) && last=$now
    done
    echo "kills: $kills  whole files: $ok  cut or damaged: $bad  leftovers after the clearing up: $left"
    echo "kills after which a newer export stood: $changed"
    if [ "$bad" -eq 0 ] && [ "$left" -eq 0 ]; then
        [ -n "${FOLDER:-}" ] || rm -rf "$folder"
        exit 0
    fi
    echo "folder kept: $folder"
    exit 1
fi

"$saver" make "$drawing" "$lines" "$backup" || { echo "could not make the drawing" >&2; exit 2; }
echo "drawing: $(stat -c %s "$drawing") bytes data, $(stat -c %s "$folder/._Large drawing.cadx") bytes sidecar"

# One open and one save, to spread the kills over opens, writes, exchanges and clean-ups.
start=$(date +%s%N)
"$saver" loop "$drawing" & pid=$!
# The loop has opened the drawing and saved it once when the sidecar's generation moves.
while :; do
    generation=$(grep -a -o 'generation [0-9]*' "$folder/._Large drawing.cadx" 2>/dev/null | head -1)
    [ "$generation" != "generation 0" ] && [ -n "$generation" ] && break
    sleep 0.05
done
cycle_ms=$(( ($(date +%s%N) - start) / 1000000 ))
kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
"$saver" check "$drawing" >/dev/null
echo "one open and save: ${cycle_ms} ms; kills spread over 0..$((cycle_ms * 3)) ms"

ok=0 bad=0 raw_mixed=0 left=0 newer=0 failed_open=0 bad_backup=0
last=0
for ((i = 1; i <= kills; ++i)); do
    "$saver" loop "$drawing" & pid=$!
    delay=$(( RANDOM * 32768 + RANDOM ))
    delay=$(( delay % (cycle_ms * 3 + 1) ))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
    line=$("$saver" check "$drawing"); status=$?
    case $line in *raw=mixed*) raw_mixed=$((raw_mixed + 1)) ;; esac
    case $line in *open=failed*) failed_open=$((failed_open + 1)) ;; esac
    case $line in *pair=ok*) ok=$((ok + 1)) ;; *) bad=$((bad + 1)); echo "kill $i after ${delay} ms: $line" ;; esac
    case $line in *leftovers=0*) ;; *) left=$((left + 1)); echo "kill $i after ${delay} ms: $line" ;; esac
    case $line in *backup=BAD*) bad_backup=$((bad_backup + 1)); echo "kill $i after ${delay} ms: $line" ;; esac
    generation=$(sed -n 's/.*generation=\([0-9]*\).*/\1/p' <<<"$line")
    if [ -n "$generation" ] && [ "$generation" -gt "$last" ]; then newer=$((newer + 1)); last=$generation; fi
done
echo "kills: $kills  pairs ok: $ok  bad pairs: $bad  open failed: $failed_open"
echo "mixed before the open repaired them: $raw_mixed  leftovers after the open: $left"
echo "kills after which a newer version stood: $newer  (last generation $last)  backups not a pair: $bad_backup"
if [ "$bad" -eq 0 ] && [ "$left" -eq 0 ] && [ "$bad_backup" -eq 0 ]; then
    [ -n "${FOLDER:-}" ] || rm -rf "$folder"
    exit 0
fi
echo "folder kept: $folder"
exit 1
