#!/usr/bin/env bash
# Times the one-load engine (korvex-pages under korvex-pdf-cli) against raw qpdf and the other
# open tools (poppler's pdfunite, pdftk), all in one run and by turns, on a generated 2,000-page
# PDF with bookmarks and on real manuals: the R reference manual of the Debian package
# r-doc-pdf (2,415 pages with bookmarks) and four of its smaller manuals, and lwarp's manual of
# texlive-latex-recommended-doc (1,370 pages with bookmarks), installed here with apt-get when
# missing. Prints processor time (user + system), wall-clock time and peak memory of each, then
# the ratios with their targets:
#   split every 1 page                    vs qpdf --split-pages=1           cpu <= 1.1, peak <= 1.0
#   split at every 10th page (points)     vs qpdf --split-pages=10          cpu <= 1.1, peak <= 1.0
#   split every 10 pages                  vs qpdf --split-pages=10          cpu <= 1.1, peak <= 1.0
#   split at the top-level bookmarks      vs qpdf --split-pages=10          peak <= 1.0
#   extract of the first half             vs qpdf IN --pages IN 1-H -- OUT  cpu <= 1.1, peak <= 1.0
#   merge with a copy of itself, and of the four manuals
#                                         vs pdfunite cpu <= 1.0, vs qpdf peak <= 1.0
# The engine does more than the others here: its pieces, extracts and merges carry the
# bookmarks of their pages (pdfunite drops them all). The verdicts go by processor time: on a
# shared machine the wall clock mostly measures the other work. Outputs go to WORK on tmpfs
# (/dev/shm) so that file creation does not drown the work itself. Build first
# (scripts/build.sh). Environment: BUILD_DIR (default build), KORVEX_CLI, KORVEX_QPDF (default:
# qpdf on the PATH), RUNS (default 3), BOOK and LWARP (other real PDFs), PEERS=0 (leave out
# pdfunite and pdftk where they are not the target). Exit code 1 when a ratio misses its target.
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-3}
source bench/cli_setup.sh

MANUALS=/usr/share/R/doc/manual
BOOK=${BOOK:-$MANUALS/fullrefman.pdf}
LWARP_DOC=/usr/share/doc/texlive-doc/latex/lwarp/lwarp.pdf
LWARP=${LWARP:-$LWARP_DOC}
FOUR=("$MANUALS/R-admin.pdf" "$MANUALS/R-exts.pdf" "$MANUALS/R-intro.pdf" "$MANUALS/R-lang.pdf")
missing=()
[ -x /usr/bin/time ] || missing+=(time)
command -v pdfunite >/dev/null || missing+=(poppler-utils)
command -v pdftk >/dev/null || missing+=(pdftk-java)
[ -f "$BOOK" ] && [ -f "${FOUR[0]}" ] || missing+=(r-doc-pdf)
[ -f "$LWARP" ] || missing+=(texlive-latex-recommended-doc)
install_missing "${missing[@]}"
[ -f "$BOOK" ] || { echo "no real book at $BOOK" >&2; exit 2; }

source bench/generated_pdf.sh
source bench/alternating.sh
cd "$WORK"
make_pdf 2000 20 > generated.pdf
cp "$BOOK" book.pdf
if [ -f "$LWARP" ]; then
  cp "$LWARP" lwarp.pdf
else # installs that leave out /usr/share/doc: unpack it from the package itself
  apt-get download -qq texlive-latex-recommended-doc
  dpkg-deb --fsys-tarfile texlive-latex-recommended-doc_*.deb | tar -xO ".$LWARP_DOC" > lwarp.pdf
  rm texlive-latex-recommended-doc_*.deb
fi
FOURHERE=()
for f in "${FOUR[@]}"; do cp "$f" .; FOURHERE+=("$(basename "$f")"); done

echo "qpdf: $QPDF ($("$QPDF" --version | head -1)); pdfunite $(pdfunite -v 2>&1 | head -1 | awk '{print $3}');" \
  "pdftk $(pdftk --version 2>/dev/null | awk 'NR == 1 {print $5}'); korvex-pdf-cli: $CLI; $RUNS runs each, by turns"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

peer() { [ "$PEERS" = 1 ] && printf '%s\n%s\n' "$1" "$2" || true; }
clean="rm -rf k r x.pdf m.pdf && mkdir r"

# merge NAME FILE...: the engine against pdfunite (time) and qpdf (memory), pdftk beside.
merge() {
  local name=$1
  shift
  mapfile -t extra < <(peer pdftk "pdftk $* cat output m.pdf")
  measure "$name" "$clean" korvex "$CLI merge $* --out k" pdfunite "pdfunite $* m.pdf" \
    qpdf "$QPDF --empty --pages $* -- m.pdf" "${extra[@]}"
  show "$name" korvex pdfunite qpdf pdftk
  verdict "$name" korvex pdfunite 1.0
  verdict "$name" korvex qpdf - 1.0
}

for doc in generated book lwarp; do
  pages=$("$QPDF" --show-npages $doc.pdf)
  points=$(seq -s, 10 10 $((pages - 1)))
  half=$((pages / 2))
  cp $doc.pdf copy-$doc.pdf

  mapfile -t extra < <(peer pdftk "pdftk $doc.pdf burst output r/%d.pdf")
  measure "$doc-split-1" "$clean" korvex "$CLI split $doc.pdf --every 1 --out k" \
    qpdf "$QPDF --split-pages=1 $doc.pdf r/%d.pdf" "${extra[@]}"
  show "$doc-split-1" korvex qpdf pdftk
  verdict "$doc-split-1" korvex qpdf 1.1 1.0

  measure "$doc-split-10" "$clean" points "$CLI split $doc.pdf --at $points --out k" \
    every "$CLI split $doc.pdf --every 10 --out k" bookmarks "$CLI split $doc.pdf --bookmarks 1 --out k" \
    qpdf "$QPDF --split-pages=10 $doc.pdf r/%d.pdf"
  show "$doc-split-10" points every bookmarks qpdf
  verdict "$doc-split-10" points qpdf 1.1 1.0
  verdict "$doc-split-10" every qpdf 1.1 1.0
  verdict "$doc-split-10" bookmarks qpdf - 1.0

  mapfile -t extra < <(peer pdftk "pdftk $doc.pdf cat 1-$half output x.pdf")
  measure "$doc-extract" "$clean" korvex "$CLI extract $doc.pdf --pages 1-$half --out k" \
    qpdf "$QPDF $doc.pdf --pages $doc.pdf 1-$half -- x.pdf" "${extra[@]}"
  show "$doc-extract" korvex qpdf pdftk
  verdict "$doc-extract" korvex qpdf 1.1 1.0

  merge "$doc-merge" $doc.pdf copy-$doc.pdf
done
merge four-manuals-merge "${FOURHERE[@]}"
exit $fail
