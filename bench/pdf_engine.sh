#!/usr/bin/env bash
# Times korvex-pdf-cli against raw qpdf on the same generated files in the same run and prints
# each ratio (medians of hyperfine runs):
#   split of a 2,000-page PDF every 1 page    vs  qpdf --split-pages=1     target <= 1.5
#   split of the same file every 100 pages    vs  qpdf --split-pages=100   target <= 1.5
#   merge of 50 files                         vs  qpdf --empty --pages ... target <= 1.1
# Build first (scripts/build.sh). Environment: BUILD_DIR (default build), KORVEX_CLI,
# KORVEX_QPDF (default: qpdf on the PATH), RUNS (default 10). Exit code 1 when a ratio misses
# its target. Run it on a quiet machine: other work on the cores shows up in the ratios.
set -euo pipefail
cd "$(dirname "$0")/.."

CLI=${KORVEX_CLI:-${BUILD_DIR:-build}/bin/korvex-pdf-cli}
QPDF=${KORVEX_QPDF:-$(command -v qpdf)}
RUNS=${RUNS:-10}
[ -x "$CLI" ] || { echo "no $CLI: build first (scripts/build.sh)" >&2; exit 2; }
command -v hyperfine >/dev/null || { echo "hyperfine is missing (apt-get install hyperfine)" >&2; exit 2; }
CLI=$(realpath "$CLI")

WORK=$(mktemp -d "${TMPDIR:-/tmp}/korvex-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# make_pdf N: a PDF of N pages.
source bench/generated_pdf.sh

cd "$WORK"
make_pdf 2000 > big.pdf
"$QPDF" --check big.pdf >/dev/null
[ "$("$QPDF" --show-npages big.pdf)" = 2000 ] || { echo "generated PDF is wrong" >&2; exit 2; }
mkdir parts
"$QPDF" --split-pages=40 big.pdf parts/part-%d.pdf
PARTS=()
while IFS= read -r f; do PARTS+=("$f"); done < <(ls parts/*.pdf | sort)
[ ${#PARTS[@]} = 50 ] || { echo "expected 50 merge inputs" >&2; exit 2; }

echo "qpdf: $QPDF ($("$QPDF" --version | head -1)); korvex-pdf-cli: $CLI; $RUNS runs each"

fail=0
# compare NAME TARGET KORVEX_CMD RAW_CMD PREPARE
compare() {
  local name=$1 target=$2 korvex=$3 raw=$4 prepare=$5
  hyperfine -N --warmup 1 --runs "$RUNS" --prepare "$prepare" --export-csv "$WORK/$name.csv" \
    -n korvex "$korvex" -n qpdf "$raw" >"$WORK/$name.log" 2>&1 || { cat "$WORK/$name.log"; exit 2; }
  # columns: command,mean,stddev,median,user,system,min,max
  awk -F, -v name="$name" -v target="$target" '
    NR > 1 { median[$1] = $4 }
    END {
      ratio = median["korvex"] / median["qpdf"]
      verdict = ratio <= target ? "ok" : "OVER TARGET"
      printf "%-10s korvex %8.1f ms   qpdf %8.1f ms   ratio %.2f (target <= %.1f) %s\n",
             name, median["korvex"] * 1000, median["qpdf"] * 1000, ratio, target, verdict
      exit(ratio <= target ? 0 : 1)
    }' "$WORK/$name.csv" || fail=1
}

clean="sh -c 'rm -rf k r m.pdf && mkdir r'"
compare split-1 1.5 "$CLI split big.pdf --every 1 --out k" "$QPDF --split-pages=1 big.pdf r/%d.pdf" "$clean"
compare split-100 1.5 "$CLI split big.pdf --every 100 --out k" "$QPDF --split-pages=100 big.pdf r/%d.pdf" "$clean"
compare merge-50 1.1 "$CLI merge ${PARTS[*]} --out k" "$QPDF --empty --pages ${PARTS[*]} -- m.pdf" "$clean"
exit $fail
