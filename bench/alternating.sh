# Sourced by the benchmarks. Runs the commands of one comparison by turns (a, b, c, a, b, c,
# ...), so that load from other work on the machine falls on all of them alike, and reports
# medians. Needs GNU time (/usr/bin/time) and the variables WORK (a scratch folder) and RUNS.
#
#   measure NAME PREPARE LABEL COMMAND [LABEL COMMAND]...
#       runs PREPARE (in sh) before every run; keeps for each label the median processor time
#       (user + system, children included), the median wall-clock time and the highest peak
#       resident memory: CPU[NAME.LABEL] (s), WALL[NAME.LABEL] (s), PEAK[NAME.LABEL] (MiB).
#   show NAME LABEL...
#       one line with those numbers for each label that was measured ("-" for the others).
#   verdict NAME OURS BASE CPU_TARGET [PEAK_TARGET]
#       prints the ratios OURS/BASE and whether they keep the targets ("-" or no PEAK_TARGET:
#       that one is not checked); a miss sets fail=1.

declare -A CPU WALL PEAK
fail=0

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure() {
  local name=$1 prepare=$2
  shift 2
  local -a labels=() commands=()
  while [ $# -ge 2 ]; do labels+=("$1"); commands+=("$2"); shift 2; done
  local run i out
  for ((run = 0; run < RUNS; run++)); do
    for i in "${!labels[@]}"; do
      sh -c "$prepare"
      out="$WORK/$name.${labels[$i]}.$run"
      if ! /usr/bin/time -f "%U %S %e %M" -o "$out" sh -c "exec ${commands[$i]}" \
        >"$WORK/$name.log" 2>&1; then
        echo "$name: ${labels[$i]} failed: ${commands[$i]}" >&2
        tail -5 "$WORK/$name.log" >&2
        exit 2
      fi
    done
  done
  for i in "${!labels[@]}"; do
    local key="$name.${labels[$i]}"
    CPU[$key]=$(cat "$WORK/$key".* | awk '{ print $1 + $2 }' | median)
    WALL[$key]=$(cat "$WORK/$key".* | awk '{ print $3 }' | median)
    PEAK[$key]=$(cat "$WORK/$key".* | awk '$4 > m { m = $4 } END { printf "%.0f", m / 1024 }')
  done
}

show() {
  local name=$1 label line key
  shift
  line=$(printf "%-24s" "$name")
  for label in "$@"; do
    key="$name.$label"
    if [ -n "${CPU[$key]:-}" ]; then
      line+=$(printf " | %s %6.2f s cpu %6.2f s wall %5d MiB" "$label" "${CPU[$key]}" "${WALL[$key]}" "${PEAK[$key]}")
    else
      line+=$(printf " | %s -" "$label")
    fi
  done
  echo "$line"
}

verdict() {
  local name=$1 ours=$2 base=$3 cpu_target=$4 peak_target=${5:-}
  awk -v name="$name" -v ours="$ours" -v base="$base" -v ct="$cpu_target" -v pt="$peak_target" \
    -v oc="${CPU[$name.$ours]}" -v bc="${CPU[$name.$base]}" \
    -v ow="${WALL[$name.$ours]}" -v bw="${WALL[$name.$base]}" \
    -v op="${PEAK[$name.$ours]}" -v bp="${PEAK[$name.$base]}" '
    function ratio(a, b) { return b > 0 ? a / b : (a > 0 ? 99 : 1) }
    BEGIN {
      cpu = ratio(oc, bc); wall = ratio(ow, bw); peak = ratio(op, bp)
      if (pt == "-") pt = ""
      ok = (ct == "-" || cpu <= ct + 0) && (pt == "" || peak <= pt + 0)
      line = sprintf("%-24s %s/%s cpu %.2f", name, ours, base, cpu)
      if (ct != "-") line = line sprintf(" (target <= %.2f)", ct)
      line = line sprintf(" wall %.2f peak %.2f", wall, peak)
      if (pt != "") line = line sprintf(" (target <= %.2f)", pt)
      print line (ok ? "  ok" : "  OVER TARGET")
      exit(ok ? 0 : 1)
    }' || fail=1
}
