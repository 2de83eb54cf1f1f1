#!/usr/bin/env bash
# Makes the demo capture data/ejemplos/demo.qvn again: the configuration
# data/ejemplos/demo.cfg is captured from the simulated unit (sadsim) through the
# command-line companion, as a user of the program would with "Prog." and "Leer".
#
#   scripts/capturar-demo.sh [PROGRAM_FOLDER]     (default build/bin, after a build)
#
# The sample count of the configuration is first set by the program's time-base rule
# (the sampling period and the analysis time give trunc(analysis / period), one more
# when the fraction is above 0.999998, plus the sample at time 0), so that the demo
# and the program agree: "Prog." -> "Aceptar" right after opening it finds the same
# time base and asks nothing (the test Captura.TheDemoProgrammedUnchangedAsksNothing
# checks the committed demo against the program's own code). The built-in test
# waveform of the unit (PruebaE) runs on the unit's clock, so its phase differs from
# one run to the next; every looped-back signal comes out the same.
set -eu
raiz=$(cd -- "$(dirname -- "$0")/.." && pwd)
bin=$(cd -- "${1:-$raiz/build/bin}" && pwd)
cfg=$raiz/data/ejemplos/demo.cfg
qvn=$raiz/data/ejemplos/demo.qvn
for p in sadsim quorvane-cli; do
  [ -x "$bin/$p" ] || { echo "capturar-demo: no $bin/$p (build first)" >&2; exit 1; }
done

trabajo=$(mktemp -d)
sim_pid=
terminar() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf -- "$trabajo"
}
trap terminar EXIT

# Line 2 of a configuration file: delay, period, its unit word, analysis time, its
# unit word, sample count and "$". The unit words are those of the Spanish language
# file that the companion reads.
awk 'BEGIN { ORS = "\r\n"; ms["microsegundos"] = 0.001; ms["milisegundos"] = 1; ms["segundos"] = 1000;
             ms["minutos"] = 60000; ms["horas"] = 3600000 }
     { sub(/\r$/, "") }
     NR == 2 {
       if (!($3 in ms) || !($5 in ms) || $2 + 0 <= 0) { print "bad time base: " $0 > "/dev/stderr"; exit 1 }
       r = ($4 * ms[$5]) / ($2 * ms[$3]); n = int(r)
       if (r - n > 0.999998) n++
       if (n != 0) n++
       $6 = n "$"
     }
     { print }' "$cfg" > "$trabajo/demo.cfg"

"$bin/sadsim" --link "$trabajo/ttySAD" > "$trabajo/sadsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -e "$trabajo/ttySAD" ] && break; sleep 0.1; done
[ -e "$trabajo/ttySAD" ] || { echo "capturar-demo: the simulated unit did not start" >&2; cat "$trabajo/sadsim.log" >&2; exit 1; }

"$bin/quorvane-cli" capture "$trabajo/demo.cfg" -o "$trabajo/demo.qvn" --port "$trabajo/ttySAD" --force
mv -- "$trabajo/demo.cfg" "$cfg"
mv -- "$trabajo/demo.qvn" "$qvn"
"$bin/quorvane-cli" info "$qvn" | sed -n 's/^time base: /demo: /p'
