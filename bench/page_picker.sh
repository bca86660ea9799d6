#!/usr/bin/env bash
# Measures the page picker inside the real program's process, offscreen (korvex-picker-bench,
# built with the program), on the R reference manual (the Debian package r-doc-pdf, 2,415 pages;
# installed with apt-get when missing) and on a generated 20,000-page PDF. For each file, the
# median of RUNS runs of:
#   first screen   opening the picker to its first screen of pictures painted   goal <= 300 ms
#   to last        a fast drag of the scroll bar from the first page to the last, to the last
#                  screen painted
#   jump           a jump to the middle, to that screen painted
# and the largest peaks of the window process (above what it held before the picker opened;
# goal <= 150 MiB whatever the page count) and of any renderer child. For comparison, the same
# run prints how long raw qpdf takes to read the file's page count (one load of the file).
# Build first (scripts/build.sh). Environment: BUILD_DIR (default build), RUNS (default 5),
# BOOK (another real PDF). Exit code 1 when a memory goal is missed; times are printed against
# their goal, since on a shared machine the wall clock mostly measures the other work.
set -euo pipefail
cd "$(dirname "$0")/.."

BENCH=${BUILD_DIR:-build}/bin/korvex-picker-bench
QPDF=${KORVEX_QPDF:-$(command -v qpdf)}
RUNS=${RUNS:-5}
[ -x "$BENCH" ] || { echo "no $BENCH: build first (scripts/build.sh)" >&2; exit 2; }
[ -x "$(dirname "$BENCH")/korvex-render" ] || { echo "no korvex-render next to $BENCH: build first" >&2; exit 2; }

source bench/real_book.sh

WORK=$(mktemp -d "${TMPDIR:-/tmp}/korvex-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
source bench/generated_pdf.sh
make_pdf 20000 > "$WORK/generated.pdf"
echo "korvex-picker-bench: $BENCH; $RUNS runs each; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

fail=0
for pdf in "$BOOK" "$WORK/generated.pdf"; do
  : > "$WORK/runs"
  for _ in $(seq "$RUNS"); do
    QT_QPA_PLATFORM=offscreen "$BENCH" "$pdf" 2>/dev/null | tr '\n' ' ' >> "$WORK/runs"
    echo >> "$WORK/runs"
  done
  start=$(date +%s%N)
  "$QPDF" --show-npages "$pdf" >/dev/null
  qpdf_ms=$(( ($(date +%s%N) - start) / 1000000 ))
  awk -v name="$(basename "$pdf")" -v qpdf_ms="$qpdf_ms" '
    function median(key,   n, i, j, t, v) {
      n = 0
      for (i = 1; i <= NR; i++) v[++n] = value[i, key]
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      return v[int((n + 1) / 2)]
    }
    function largest(key,   i, m) { m = 0; for (i = 1; i <= NR; i++) if (value[i, key] > m) m = value[i, key]; return m }
    { for (i = 1; i < NF; i += 2) value[NR, $i] = $(i + 1) }
    END {
      if (NR == 0 || value[1, "pages"] == "") { print name ": the bench program failed"; exit 2 }
      first = median("first_screen_ms"); extra = largest("window_extra_mib")
      printf "%-16s %6d pages | first screen %5d ms (goal <= 300: %s) | to last %5d ms | jump %5d ms | qpdf page count %5d ms\n",
             name, value[1, "pages"], first, first <= 300 ? "ok" : "over", median("to_last_ms"), median("jump_ms"), qpdf_ms
      printf "%-16s window %4d MiB before, peak %4d MiB above (goal <= 150: %s) | renderer peak %4d MiB | images held %d (bound 240)\n",
             "", value[1, "window_before_mib"], extra, extra <= 150 ? "ok" : "OVER", largest("renderer_peak_mib"), largest("held_images")
      exit(extra <= 150 ? 0 : 1)
    }' "$WORK/runs" || fail=1
done
exit $fail
