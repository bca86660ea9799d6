#!/usr/bin/env bash
# Pictures of the page pictures, offscreen: an extract zone's rows with their page pictures
# (docs/rows-pages-zh.png, docs/rows-pages-en.png) and the page picker, in both languages,
# over an extract row picking pages 3 to 6 (docs/picker-range-zh.png, docs/picker-range-en.png)
# and over a split row with split points after pages 2 and 5 (docs/picker-split-zh.png,
# docs/picker-split-en.png). Build first (scripts/build.sh); BUILD_DIR as there.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
[ -x "$BUILD_DIR/bin/korvex-shot" ] || { echo "no $BUILD_DIR/bin/korvex-shot: build first" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs "$scratch/pdfs"
source bench/generated_pdf.sh
make_pdf 24 > "$scratch/pdfs/annual-report.pdf"
make_pdf 9 > "$scratch/pdfs/contract-draft.pdf"
make_pdf 40 > "$scratch/pdfs/scanned-invoices.pdf"
shot() {
  HOME="$scratch/home-$1" XDG_CONFIG_HOME="$scratch/home-$1/.config" XDG_RUNTIME_DIR="$scratch/run-$1" \
    QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/korvex-shot" "${@:2}" --rows "$scratch/pdfs"
}
for lang in zh en; do
  shot "rows-$lang" "docs/rows-pages-$lang.png" --lang "$lang" --zone 9 --list
  shot "range-$lang" "docs/picker-range-$lang.png" --lang "$lang" --zone 9 --picker
  shot "split-$lang" "docs/picker-split-$lang.png" --lang "$lang" --zone 13 --picker
done
ls -l docs/rows-pages-*.png docs/picker-*.png
