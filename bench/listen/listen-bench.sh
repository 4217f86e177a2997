#!/usr/bin/env bash
# Spoken commands on files, through `hacklewright-tool listen --file --timing`, and the figures
# written into bench/README.md: commands said by several synthetic voices at three speeds and
# two pitches (flite's slt, rms and awb; espeak-ng's voices for comparison), alone, over pink
# noise 30 dB below the speech, over a lesson's narration as the room returns it to the
# microphone (as loud as the voice, 60 ms late, with reverberation) with the narration as
# played given to the echo canceller, and over the same narration 20 dB below the voice with
# no cancelling (the recogniser's own robustness); false commands in ten minutes and more of
# the demo lessons' narration, talk about tying and noise; the sound heard past a phrase's end
# before it was decided; and the CPU the recogniser takes for the sound it hears. Levels are
# against the phrases' own level, gaps left out.
#   bash bench/listen/listen-bench.sh [build]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
tool="$build/tools/hacklewright-tool"
lessons="$build/packaging/lessons"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
words=(play stop again next back slower faster)

silence() { sox -n -r 16000 -c 1 -b 16 "$1" trim 0 "$2"; }
to16k() { sox "$1" -r 16000 -c 1 -b 16 "$2"; }

# One file per voice family: every phrase after 1.5 s of silence; said.txt holds
# "word start end speech-end" for each phrase (the voice's own silence at the end left out of
# speech-end).
make_corpus() { # family
  local family=$1 n=0 parts=() said=() at=0
  silence "$work/gap.wav" 1.5
  : > "$work/$family.said"
  local voices stretches pitches
  if [ "$family" = flite ]; then voices=(slt rms awb); stretches=(0.85 1.0 1.2); pitches=(0.8 1.2)
  else voices=(en-us en+m3 en+f3); stretches=(0.85 1.0 1.2); pitches=(0.8 1.2); fi
  for v in "${voices[@]}"; do for s in "${stretches[@]}"; do for p in "${pitches[@]}"; do for w in "${words[@]}"; do
    local raw="$work/raw$n.wav" part="$work/p$n.wav"
    if [ "$family" = flite ]; then
      flite -voice "$v" --setf duration_stretch="$s" --setf int_f0_target_mean="$(awk -v p="$p" 'BEGIN{print 110*p}')" -t "tutor $w" -o "$raw"
    else
      espeak-ng -v "$v" -s "$(awk -v s="$s" 'BEGIN{printf "%d", 160/s}')" -p "$(awk -v p="$p" 'BEGIN{printf "%d", 50*p}')" -w "$raw" "tutor $w"
    fi
    to16k "$raw" "$part"
    local len spoken; len=$(soxi -D "$part")
    sox "$part" "$work/spoken.wav" reverse silence 1 0.01 -45d reverse
    spoken=$(soxi -D "$work/spoken.wav")
    at=$(awk -v a="$at" 'BEGIN{print a+1.5}')
    echo "$w $at $(awk -v a="$at" -v l="$len" -v s="$spoken" 'BEGIN{print a+l, a+s}')" >> "$work/$family.said"
    at=$(awk -v a="$at" -v l="$len" 'BEGIN{print a+l}')
    parts+=("$work/gap.wav" "$part"); said+=("$part"); n=$((n+1))
  done; done; done; done
  sox "${parts[@]}" "$work/gap.wav" "$work/$family.wav"
  sox "${said[@]}" "$work/$family-only.wav"
}

# Heard right / wrong / missed of said phrases: a command heard from a phrase's start to half a
# second past its end belongs to it. The latencies are from the end of its speech to the
# moment it was decided (the heard time plus the sound taken past it).
score() { # said heard -> "right wrong missed extra latencies..."
  awk 'NR==FNR { w[NR]=$1; s[NR]=$2; e[NR]=$3; se[NR]=$4; n=NR; next }
       { t=$1; got=0; for (i=1;i<=n;i++) if (t>=s[i] && t<=e[i]+0.5) { got=i; break }
         if (!got) { extra++; next } if (seen[got]++) { extra++; next }
         if ($2==w[got]) { right++; lat=lat" "($1+$3-se[got]) } else wrong++ }
       END { printf "%d %d %d %d%s\n", right+0, wrong+0, n-right-wrong, extra+0, lat }' "$1" "$2"
}

run() { # file [played] -> heard lines; also CPU seconds in $work/cpu
  /usr/bin/time -f "%U %S" -o "$work/cpu" "$tool" listen --timing --file "$1" ${2:+--played "$2"} 2>/dev/null
}
rms() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }
# $1 scaled to $3 dB against level $2, into $4.
at_level() { sox "$1" "$4" vol "$(awk -v s="$2" -v p="$(rms "$1")" -v db="$3" 'BEGIN{print s/p*10^(db/20)}')"; }

results="$work/results"
: > "$results"
for family in flite espeak; do
  make_corpus "$family"
  speech="$work/$family.wav"
  level=$(rms "$work/$family-only.wav")
  total=$(soxi -D "$speech")
  sox -n -r 16000 -c 1 -b 16 "$work/pink.wav" synth "$total" pinknoise
  at_level "$work/pink.wav" "$level" -30 "$work/pinkq.wav"
  sox -m -v 1 "$speech" -v 1 "$work/pinkq.wav" "$work/$family-pink.wav"
  ls "$lessons"/Flies/*.avi | head -8 | while read -r clip; do ffmpeg -nostdin -v error -y -i "$clip" -ar 16000 -ac 1 "$work/n-$(basename "$clip").wav"; done
  sox "$work"/n-*.wav "$work/narr-all.wav"
  sox "$work/narr-all.wav" "$work/narr-long.wav" trim 0 "$total"
  # The narration as played, at the voice's level (what the canceller is given), and as the
  # room returns it.
  at_level "$work/narr-long.wav" "$level" 0 "$work/narr.wav"
  sox "$work/narr.wav" "$work/narr-room-long.wav" pad 0.06 0 reverb 40 50 30 100 0 0
  sox "$work/narr-room-long.wav" "$work/narr-room.wav" trim 0 "$total"
  at_level "$work/narr-room.wav" "$level" 0 "$work/narr-echo.wav"
  sox -m -v 1 "$speech" -v 1 "$work/narr-echo.wav" "$work/$family-echo.wav"
  at_level "$work/narr.wav" "$level" -20 "$work/narrq.wav"
  sox -m -v 1 "$speech" -v 1 "$work/narrq.wav" "$work/$family-narr.wav"
  for cond in clean pink echo narr; do
    f="$work/$family-$cond.wav"; [ "$cond" = clean ] && f="$speech"
    played=""; [ "$cond" = echo ] && played="$work/narr.wav"
    run "$f" "$played" > "$work/heard"
    echo "$family $cond $(score "$work/$family.said" "$work/heard") cpu $(awk '{print $1+$2}' "$work/cpu") dur $total" >> "$results"
  done
done

# False commands: every demo lesson's narration (as the room returns it, cancelled; and as it
# is, not cancelled), talk about tying in three voices, and noise.
for clip in "$lessons"/*/*.avi; do ffmpeg -nostdin -v error -y -i "$clip" -ar 16000 -ac 1 "$work/all-$(basename "$(dirname "$clip")")-$(basename "$clip").wav"; done
sox "$work"/all-*.wav "$work/narration.wav"
sox "$work/narration.wav" "$work/narration-room.wav" pad 0.06 0 reverb 40 50 30 100 0 0
for v in slt rms awb; do flite -voice "$v" -f bench/listen/talk.txt -o "$work/talk-$v-raw.wav"; to16k "$work/talk-$v-raw.wav" "$work/talk-$v.wav"; done
sox "$work"/talk-slt.wav "$work"/talk-rms.wav "$work"/talk-awb.wav "$work/talk.wav"
sox -n -r 16000 -c 1 -b 16 "$work/noise.wav" synth 120 pinknoise vol 0.1
for kind in narration-room narration talk noise; do
  played=""; [ "$kind" = narration-room ] && played="$work/narration.wav"
  run "$work/$kind.wav" "$played" > "$work/heard"
  echo "false $kind $(wc -l < "$work/heard") dur $(soxi -D "$work/$kind.wav") cpu $(awk '{print $1+$2}' "$work/cpu")" >> "$results"
done
cat "$results"

# The figures, into bench/README.md between its markers.
awk '$1!="false" { for (i=7; i<=NF && $i!="cpu"; i++) print $i*1000 }' "$results" | sort -n > "$work/latencies"
latency=$(awk '{ L[NR]=$1 } END { printf "p50 %.0f ms, p95 %.0f ms, worst %.0f ms", L[int(NR*0.5)+1], L[int(NR*0.95)+1], L[NR] }' "$work/latencies")
summary=$(awk -v latency="$latency" '
  BEGIN { over["clean"]="quiet"; over["pink"]="pink noise, -30 dB"; over["echo"]="the narration from the speakers, 0 dB, cancelled"
          over["narr"]="narration, -20 dB, not cancelled"; over["narration-room"]="narration from the speakers, cancelled"
          over["narration"]="narration, not cancelled"; over["talk"]="talk about tying"; over["noise"]="pink noise" }
  $1=="false" { f+=$3; d+=$5; fk=fk sprintf("%s %d in %.1f min; ", over[$2], $3, $5/60); c+=$7; cd+=$5; next }
  { right=$3; wrong=$4; missed=$5; extra=$6; n=right+wrong+missed
    for (i=1;i<=NF;i++) if ($i=="cpu") { c+=$(i+1); cd+=$(i+3) }
    line=line sprintf("| %s | %s | %d of %d (%.1f %%) | %d | %d | %d |\n", $1, over[$2], right, n, 100*right/n, wrong, missed, extra) }
  END {
    sub(/; $/, "", fk)
    printf "| Voices | Over | Heard right | Heard wrong | Missed | Not said |\n|---|---|---|---|---|---|\n%s\n", line
    printf "False commands: %d in %.1f minutes (%s).\n\n", f, d/60, fk
    printf "From the end of a phrase'"'"'s speech to its decision, in the sound heard: %s (the tutor acts on it at once).\n\n", latency
    printf "CPU: %.1f %% of one core for the sound heard (%.0f s of CPU for %.0f s of sound).\n", 100*c/cd, c, cd }' "$results")
load=$(cut -d' ' -f1-3 /proc/loadavg)
block=$(printf '<!-- listen-bench -->\nLast run %s on the shared 2-core machine (load %s):\n\n%s\n<!-- /listen-bench -->' "$(date -u +%Y-%m-%d)" "$load" "$summary")
python3 - "$block" <<'PY'
import re, sys
path = "bench/README.md"
text = open(path).read()
block = sys.argv[1]
if "<!-- listen-bench -->" in text:
    text = re.sub(r"<!-- listen-bench -->.*?<!-- /listen-bench -->", lambda m: block, text, flags=re.S)
else:
    text += "\n## Spoken commands\n\n`bash bench/listen/listen-bench.sh [<build>]` (a few minutes): commands said by synthetic voices, heard through `hacklewright-tool listen --file`.\n\n" + block + "\n"
open(path, "w").write(text)
PY
echo "listen-bench: figures written into bench/README.md"
