#!/usr/bin/env bash
# Split by size and alternate merge against the nearest raw qpdf run, on the same generated
# files in the same run, by turns; prints the median wall time and peak memory (max RSS) of each
# and the ratio of the times:
#   split --size of a 2,000-page PDF     vs  qpdf --split-pages=1 (every piece written once)
#   merge --alternate of fronts, backs:r vs  qpdf --collate with the backs' range reversed
# A split by size writes and measures candidate pieces, so it is expected to cost a few times
# a plain split; the line shows how many. Environment: BUILD_DIR (default build), KORVEX_CLI,
# KORVEX_QPDF (default: qpdf on the PATH), RUNS (default 5), SIZE_MB (default 0.2).
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-5}
SIZE_MB=${SIZE_MB:-0.2}
source bench/cli_setup.sh
[ -x /usr/bin/time ] || install_missing time

source bench/generated_pdf.sh
cd "$WORK"
make_pdf 2000 > big.pdf
"$QPDF" big.pdf --pages . 1-1000 -- fronts.pdf
"$QPDF" big.pdf --pages . 1001-2000 -- backs.pdf
echo "qpdf: $QPDF ($("$QPDF" --version | head -1)); korvex-pdf-cli: $CLI; $RUNS runs each"

# measure FILE CMD...: one run, "seconds kilobytes" appended to FILE.
measure() {
  local file=$1; shift
  rm -rf k r m.pdf && mkdir r
  /usr/bin/time -f "%e %M" -o "$WORK/one" "$@" >/dev/null 2>&1
  cat "$WORK/one" >> "$file"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# compare NAME "KORVEX CMD" "RAW CMD": by turns, RUNS times each.
compare() {
  local name=$1 korvex=$2 raw=$3
  : > "$WORK/$name.k"; : > "$WORK/$name.q"
  for _ in $(seq "$RUNS"); do
    measure "$WORK/$name.q" $raw
    measure "$WORK/$name.k" $korvex
  done
  local kt kq km qm
  kt=$(cut -d' ' -f1 "$WORK/$name.k" | median); km=$(cut -d' ' -f2 "$WORK/$name.k" | median)
  kq=$(cut -d' ' -f1 "$WORK/$name.q" | median); qm=$(cut -d' ' -f2 "$WORK/$name.q" | median)
  awk -v n="$name" -v kt="$kt" -v km="$km" -v qt="$kq" -v qm="$qm" 'BEGIN {
    printf "%-16s korvex %7.2f s %7.1f MB   qpdf %7.2f s %7.1f MB   time ratio %.2f\n",
           n, kt, km / 1024, qt, qm / 1024, (qt > 0 ? kt / qt : 0) }'
}

compare split-size "$CLI split big.pdf --size $SIZE_MB --out k" "$QPDF --split-pages=1 big.pdf r/%d.pdf"
[ "$(ls k/big | wc -l)" -gt 1 ] || { echo "the split by size wrote no pieces" >&2; exit 2; }
echo "  ($(ls k/big | wc -l) pieces of at most $SIZE_MB MB)"
compare interleave "$CLI merge --alternate fronts.pdf backs.pdf:r --out k" \
  "$QPDF --collate fronts.pdf --pages fronts.pdf 1-z backs.pdf z-1 -- m.pdf"
# The last run of each: the same pages in the same order.
"$CLI" merge --alternate fronts.pdf backs.pdf:r --out k >/dev/null 2>&1
[ "$("$QPDF" --show-npages k/fronts_Merged.pdf)" = 2000 ] || { echo "the alternate merge is wrong" >&2; exit 2; }
