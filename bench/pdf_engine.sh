#!/usr/bin/env bash
# Times korvex-pdf-cli against raw qpdf and the other open tools (poppler's pdfunite, pdftk)
# on generated files, all in one run and by turns, and prints processor time (user + system),
# wall-clock time and peak memory of each, then the ratios with their targets:
#   split of a 20,000-page PDF every 1 page      vs qpdf --split-pages=1   cpu <= 1.1, peak <= 1.0
#   split of the same file every 10 pages         vs qpdf --split-pages=10  cpu <= 1.1, peak <= 1.0
#   extract of 1,000 pages out of 2,000 / 20,000 / 100,000 pages: the time from 100,000 within
#     2x the time from 2,000; peak <= 1.0 of qpdf's at 2,000 pages (qpdf's extract grows with
#     the square of the page count: 135 s of processor time at 20,000 pages, so it runs only
#     on the smallest file)
#   merge of 200 small files                      vs pdfunite cpu <= 1.0, vs qpdf peak <= 1.0
# The verdicts go by processor time: on a shared machine the wall clock mostly measures the
# other work. Outputs go to WORK on tmpfs (/dev/shm) so that file creation does not drown the
# work itself. Build first (scripts/build.sh). Environment: BUILD_DIR (default build),
# KORVEX_CLI, KORVEX_QPDF (default: qpdf on the PATH), RUNS (default 3), PEERS=0 (leave out
# pdfunite and pdftk where they are not the target). Exit code 1 when a ratio misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-3}
source bench/cli_setup.sh

# The other tools come from Debian; installed here when missing.
missing=()
[ -x /usr/bin/time ] || missing+=(time)
command -v pdfunite >/dev/null || missing+=(poppler-utils)
command -v pdftk >/dev/null || missing+=(pdftk-java)
install_missing "${missing[@]}"

source bench/generated_pdf.sh
source bench/alternating.sh

cd "$WORK"
for n in 2000 20000 100000; do
  make_pdf $n > g$n.pdf
  [ "$("$QPDF" --show-npages g$n.pdf)" = $n ] || { echo "generated PDF of $n pages is wrong" >&2; exit 2; }
done
mkdir small
"$QPDF" --split-pages=10 g2000.pdf small/part-%d.pdf
SMALL=()
while IFS= read -r f; do SMALL+=("$f"); done < <(ls small/*.pdf | sort -V)
[ ${#SMALL[@]} = 200 ] || { echo "expected 200 merge inputs" >&2; exit 2; }

echo "qpdf: $QPDF ($("$QPDF" --version | head -1)); pdfunite $(pdfunite -v 2>&1 | head -1 | awk '{print $3}');" \
  "pdftk $(pdftk --version 2>/dev/null | awk 'NR == 1 {print $5}'); korvex-pdf-cli: $CLI; $RUNS runs each, by turns"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

peer() { [ "$PEERS" = 1 ] && printf '%s\n%s\n' "$1" "$2" || true; }
clean="rm -rf k r x.pdf m.pdf && mkdir r"

mapfile -t extra < <(peer pdftk "pdftk g20000.pdf burst output r/%d.pdf")
measure split-1-of-20000 "$clean" korvex "$CLI split g20000.pdf --every 1 --out k" \
  qpdf "$QPDF --split-pages=1 g20000.pdf r/%d.pdf" "${extra[@]}"
show split-1-of-20000 korvex qpdf pdftk
verdict split-1-of-20000 korvex qpdf 1.1 1.0

measure split-10-of-20000 "$clean" korvex "$CLI split g20000.pdf --every 10 --out k" \
  qpdf "$QPDF --split-pages=10 g20000.pdf r/%d.pdf"
show split-10-of-20000 korvex qpdf
verdict split-10-of-20000 korvex qpdf 1.1 1.0

for n in 2000 20000 100000; do
  raw=()
  [ $n -le 2000 ] && raw=(qpdf "$QPDF g$n.pdf --pages g$n.pdf 1-1000 -- x.pdf")
  mapfile -t extra < <(peer pdftk "pdftk g$n.pdf cat 1-1000 output x.pdf")
  measure extract-1000-of-$n "$clean" korvex "$CLI extract g$n.pdf --pages 1-1000 --out k" \
    "${raw[@]}" "${extra[@]}"
  show extract-1000-of-$n korvex qpdf pdftk
  [ $n -le 2000 ] && verdict extract-1000-of-$n korvex qpdf - 1.0
done
# Linear, not quadratic: the same 1,000 pages out of a file 50 times larger, both in one
# alternating run so that a burst of load on this machine falls on both alike.
measure extract-scaling "$clean" korvex "$CLI extract g100000.pdf --pages 1-1000 --out k" \
  from-2000 "$CLI extract g2000.pdf --pages 1-1000 --out k"
show extract-scaling korvex from-2000
verdict extract-scaling korvex from-2000 2.0

mapfile -t extra < <(peer pdftk "pdftk ${SMALL[*]} cat output m.pdf")
measure merge-200 "$clean" korvex "$CLI merge ${SMALL[*]} --out k" \
  pdfunite "pdfunite ${SMALL[*]} m.pdf" qpdf "$QPDF --empty --pages ${SMALL[*]} -- m.pdf" "${extra[@]}"
show merge-200 korvex pdfunite qpdf pdftk
verdict merge-200 korvex pdfunite 1.0
verdict merge-200 korvex qpdf - 1.0
exit $fail
