#!/usr/bin/env bash
# Times the one-load engine (korvex-pages under korvex-pdf-cli) against raw qpdf, in one run, on
# a generated 2,000-page PDF with bookmarks and on a real book-sized PDF (the R reference
# manual of the Debian package r-doc-pdf, 2,415 pages with bookmarks; installed here with
# apt-get when missing), and prints each ratio (of wall-clock medians, and of processor time,
# which the verdict uses) with the peak memory of both sides:
#   split at every 10th page given as points  vs  qpdf --split-pages=10            target <= 1.5
#   extract of the first half                 vs  qpdf IN --pages IN 1-H -- OUT    target <= 1.1
#   merge of the file with a copy of itself   vs  qpdf A --pages A B -- OUT        target <= 1.1
# The engine does more than qpdf here: its pieces, extracts and merges carry the bookmarks of
# their pages. Build first (scripts/build.sh). Environment: BUILD_DIR (default build),
# KORVEX_CLI, KORVEX_QPDF (default: qpdf on the PATH), RUNS (default 5), BOOK (another real
# PDF). Exit code 1 when a processor-time ratio misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."

CLI=${KORVEX_CLI:-${BUILD_DIR:-build}/bin/korvex-pdf-cli}
QPDF=${KORVEX_QPDF:-$(command -v qpdf)}
RUNS=${RUNS:-5}
[ -x "$CLI" ] || { echo "no $CLI: build first (scripts/build.sh)" >&2; exit 2; }
[ -x "$(dirname "$CLI")/korvex-pages" ] || { echo "no korvex-pages next to $CLI: build first" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "hyperfine is missing (apt-get install hyperfine)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }
CLI=$(realpath "$CLI")

source bench/real_book.sh

WORK=$(mktemp -d "${TMPDIR:-/tmp}/korvex-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source bench/generated_pdf.sh
cd "$WORK"
make_pdf 2000 20 > generated.pdf
cp "$BOOK" book.pdf
echo "qpdf: $QPDF ($("$QPDF" --version | head -1)); korvex-pdf-cli: $CLI; $RUNS runs each"

# Peak resident memory in MiB of one run of a command (after the prepare command).
peak() {
  sh -c "$1"
  /usr/bin/time -f %M -o "$WORK/peak" sh -c "exec $2" >/dev/null 2>&1 || true
  awk '{ printf "%.0f", $1 / 1024 }' "$WORK/peak"
}

fail=0
# compare NAME TARGET KORVEX_CMD RAW_CMD PREPARE
compare() {
  local name=$1 target=$2 korvex=$3 raw=$4 prepare=$5
  hyperfine -N --warmup 1 --runs "$RUNS" --prepare "$prepare" --export-csv "$WORK/$name.csv" \
    -n korvex "$korvex" -n qpdf "$raw" >"$WORK/$name.log" 2>&1 || { cat "$WORK/$name.log"; exit 2; }
  local kmem qmem
  kmem=$(peak "$prepare" "$korvex")
  qmem=$(peak "$prepare" "$raw")
  # columns: command,mean,stddev,median,user,system,min,max. The verdict goes by processor time
  # (user + system): on a shared machine the wall clock mostly measures the other work.
  awk -F, -v name="$name" -v target="$target" -v kmem="$kmem" -v qmem="$qmem" '
    NR > 1 { median[$1] = $4; cpu[$1] = $5 + $6 }
    END {
      wall = median["korvex"] / median["qpdf"]
      ratio = cpu["korvex"] / cpu["qpdf"]
      verdict = ratio <= target ? "ok" : "OVER TARGET"
      printf "%-22s korvex %7.0f ms %6.0f ms cpu %4d MiB | qpdf %7.0f ms %6.0f ms cpu %4d MiB | wall %.2f cpu %.2f (target <= %.1f) %s\n",
             name, median["korvex"] * 1000, cpu["korvex"] * 1000, kmem,
             median["qpdf"] * 1000, cpu["qpdf"] * 1000, qmem, wall, ratio, target, verdict
      exit(ratio <= target ? 0 : 1)
    }' "$WORK/$name.csv" || fail=1
}

clean="sh -c 'rm -rf k r x.pdf m.pdf && mkdir r'"
for doc in generated book; do
  pages=$("$QPDF" --show-npages $doc.pdf)
  points=$(seq -s, 10 10 $((pages - 1)))
  half=$((pages / 2))
  cp $doc.pdf copy-$doc.pdf
  compare "$doc-split-points" 1.5 "$CLI split $doc.pdf --at $points --out k" \
    "$QPDF --split-pages=10 $doc.pdf r/%d.pdf" "$clean"
  compare "$doc-extract" 1.1 "$CLI extract $doc.pdf --pages 1-$half --out k" \
    "$QPDF $doc.pdf --pages $doc.pdf 1-$half -- x.pdf" "$clean"
  compare "$doc-merge" 1.1 "$CLI merge $doc.pdf copy-$doc.pdf --out k" \
    "$QPDF $doc.pdf --pages $doc.pdf copy-$doc.pdf -- m.pdf" "$clean"
done
exit $fail
