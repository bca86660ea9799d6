# Sourced by the benchmarks: sets BOOK to a real book-sized PDF (the R reference manual of the
# Debian package r-doc-pdf, 2,415 pages with bookmarks, installed with apt-get when missing),
# unless BOOK names another one; ends the benchmark when there is none.
BOOK=${BOOK:-/usr/share/R/doc/manual/fullrefman.pdf}
if [ ! -f "$BOOK" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends r-doc-pdf </dev/null
fi
[ -f "$BOOK" ] || { echo "no real book at $BOOK" >&2; exit 2; }
