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

# A PDF of $1 pages, written with its cross-reference table; page k shows "Page k".
make_pdf() {
  LC_ALL=C awk -v n="$1" '
    function emit(s) { printf "%s", s; offset += length(s) }
    function obj(k, body) { at[k] = offset; emit(k " 0 obj\n" body "\nendobj\n") }
    BEGIN {
      emit("%PDF-1.4\n")
      obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
      kids = ""
      for (i = 0; i < n; i++) kids = kids (4 + 2 * i) " 0 R "
      obj(2, "<< /Type /Pages /Kids [ " kids "] /Count " n " >>")
      obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
      for (i = 0; i < n; i++) {
        text = "BT /F1 24 Tf 40 90 Td (Page " (i + 1) ") Tj ET"
        obj(4 + 2 * i, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Resources << /Font << /F1 3 0 R >> >> /Contents " (5 + 2 * i) " 0 R >>")
        obj(5 + 2 * i, "<< /Length " length(text) " >>\nstream\n" text "\nendstream")
      }
      count = 3 + 2 * n
      xref = offset
      emit("xref\n0 " (count + 1) "\n0000000000 65535 f \n")
      for (k = 1; k <= count; k++) emit(sprintf("%010d 00000 n \n", at[k]))
      emit("trailer\n<< /Size " (count + 1) " /Root 1 0 R >>\nstartxref\n" xref "\n%%EOF\n")
    }'
}

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
