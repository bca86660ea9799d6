#!/usr/bin/env bash
# The compression levels against qpdf's and Ghostscript's, in one run, on a 30-page "scanned
# document" (photographs of the Debian package mate-backgrounds, one per A4 page at their own
# resolution, put together by img2pdf) and on real manuals (those of r-doc-pdf, which
# bench/bookmarks_engine.sh uses too). Per file and method it prints the size, the change,
# the wall-clock time, the peak memory, the mean SSIM of the page renders (pdftoppm at 50 dpi,
# gray, against the input's), and the bookmark and link counts. It installs what it needs for
# itself only: ghostscript, img2pdf, poppler-utils, mate-backgrounds, r-doc-pdf, time.
#   methods: korvex standard|lossless|balanced|strong (korvex-pdf-cli compress --level),
#            qpdf-opt (qpdf --object-streams=generate --recompress-flate --compression-level=9
#            --optimize-images), gs-ebook and gs-screen (gs -sDEVICE=pdfwrite -dPDFSETTINGS=...)
# Environment: BUILD_DIR (default build), SSIM_PAGES (pages compared per file, default 30),
# MANUALS (PDF paths; default four manuals of r-doc-pdf). Exit code 1 when a korvex level
# other than standard wrote a file larger than its input or lost bookmarks or links.
set -euo pipefail
cd "$(dirname "$0")/.."

CLI=${KORVEX_CLI:-${BUILD_DIR:-build}/bin/korvex-pdf-cli}
[ -x "$CLI" ] || { echo "no $CLI: build first (scripts/build.sh)" >&2; exit 2; }
[ -x "$(dirname "$CLI")/korvex-compress" ] || { echo "no korvex-compress next to $CLI: build first" >&2; exit 2; }
CLI=$(realpath "$CLI")
SSIM_PAGES=${SSIM_PAGES:-30}
PHOTOS=/usr/share/backgrounds/mate
MANUAL_DIR=/usr/share/R/doc/manual

need=()
command -v gs >/dev/null || need+=(ghostscript)
command -v img2pdf >/dev/null || need+=(img2pdf)
command -v pdftoppm >/dev/null || need+=(poppler-utils)
[ -x /usr/bin/time ] || need+=(time)
[ -d "$PHOTOS" ] || need+=(mate-backgrounds)
[ -f "$MANUAL_DIR/R-intro.pdf" ] || need+=(r-doc-pdf)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" </dev/null
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/korvex-compress-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
g++ -O2 -o "$WORK/ssim" bench/ssim.cpp

# The scanned document: 30 pages, the photographs in name order, again from the first when
# there are fewer.
mapfile -t photos < <(find "$PHOTOS" -name '*.jpg' | sort)
[ ${#photos[@]} -gt 0 ] || { echo "no photographs in $PHOTOS" >&2; exit 2; }
pages=()
for i in $(seq 0 29); do pages+=("${photos[$((i % ${#photos[@]}))]}"); done
img2pdf --pagesize A4 --fit into -o "$WORK/scanned.pdf" "${pages[@]}"

inputs=("$WORK/scanned.pdf")
if [ -n "${MANUALS:-}" ]; then
  read -r -a manuals <<<"$MANUALS"
else
  manuals=("$MANUAL_DIR/R-intro.pdf" "$MANUAL_DIR/R-data.pdf" "$MANUAL_DIR/R-admin.pdf" "$MANUAL_DIR/R-lang.pdf")
fi
for m in "${manuals[@]}"; do [ -f "$m" ] && inputs+=("$m"); done

bookmarks() { # outline entries, all levels
  qpdf --json --json-key=outlines "$1" 2>/dev/null | python3 -c '
import json, sys
def count(items): return sum(1 + count(i.get("kids", [])) for i in items)
print(count(json.load(sys.stdin).get("outlines", [])))'
}
links() {
  qpdf --qdf --object-streams=disable "$1" - 2>/dev/null | grep -a -c '/Subtype /Link' || true
}
renders() { # FILE PREFIX
  pdftoppm -r 50 -gray -f 1 -l "$SSIM_PAGES" "$1" "$2"
}
ssim() { # INPUT_PREFIX OUTPUT_PREFIX: mean over pages
  local sum=0 n=0 v
  for a in "$1"-*.pgm; do
    local b="$2${a#"$1"}"
    [ -f "$b" ] || { echo "0"; return; }
    v=$("$WORK/ssim" "$a" "$b")
    sum=$(awk -v s="$sum" -v v="$v" 'BEGIN { print s + v }')
    n=$((n + 1))
  done
  awk -v s="$sum" -v n="$n" 'BEGIN { if (n) printf "%.4f", s / n; else print "-" }'
}

run_method() { # METHOD INPUT OUTPUT
  case $1 in
    standard|lossless|balanced|strong)
      mkdir -p "$WORK/cli"
      "$CLI" compress "$2" --level "$1" --out "$WORK/cli" >"$WORK/cli.out" 2>/dev/null &&
        mv "$(cat "$WORK/cli.out")" "$3" ;;
    qpdf-opt) qpdf --object-streams=generate --recompress-flate --compression-level=9 --optimize-images "$2" "$3" ;;
    gs-ebook) gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -dPDFSETTINGS=/ebook -sOutputFile="$3" "$2" ;;
    gs-screen) gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -dPDFSETTINGS=/screen -sOutputFile="$3" "$2" ;;
  esac
}

fail=0
printf '%-14s %-10s %11s %8s %8s %9s %7s %5s %5s\n' file method bytes change seconds peak_MiB ssim marks links
for input in "${inputs[@]}"; do
  name=$(basename "$input" .pdf)
  in_size=$(stat -c %s "$input")
  in_marks=$(bookmarks "$input")
  in_links=$(links "$input")
  renders "$input" "$WORK/in"
  printf '%-14s %-10s %11s %8s %8s %9s %7s %5s %5s\n' "$name" input "$in_size" - - - 1.0000 "$in_marks" "$in_links"
  for method in standard lossless balanced strong qpdf-opt gs-ebook gs-screen; do
    out="$WORK/out.pdf"
    rm -f "$out" "$WORK"/o-*.pgm
    if ! /usr/bin/time -f '%e %M' -o "$WORK/time" bash -c "$(declare -f run_method); CLI='$CLI' WORK='$WORK' run_method $method '$input' '$out'" ||
       [ ! -f "$out" ]; then
      printf '%-14s %-10s %11s\n' "$name" "$method" failed
      [[ $method == standard || $method == qpdf-opt || $method == gs-* ]] || fail=1
      continue
    fi
    read -r seconds peak <"$WORK/time"
    size=$(stat -c %s "$out")
    renders "$out" "$WORK/o"
    marks=$(bookmarks "$out")
    nlinks=$(links "$out")
    printf '%-14s %-10s %11s %7.1f%% %8s %9.0f %7s %5s %5s\n' "$name" "$method" "$size" \
      "$(awk -v a="$size" -v b="$in_size" 'BEGIN { print (a - b) * 100 / b }')" "$seconds" \
      "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$(ssim "$WORK/in" "$WORK/o")" "$marks" "$nlinks"
    if [[ $method == lossless || $method == balanced || $method == strong ]]; then
      { [ "$size" -le "$in_size" ] && [ "$marks" = "$in_marks" ] && [ "$nlinks" = "$in_links" ]; } || fail=1
    fi
  done
  rm -f "$WORK"/in-*.pgm
done
exit $fail
