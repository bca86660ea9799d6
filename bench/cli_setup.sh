# Sourced by the benchmarks that time korvex-pdf-cli: CLI and QPDF as the environment names
# them (BUILD_DIR, KORVEX_CLI, KORVEX_QPDF), checked; ends the benchmark when the build is
# missing. A benchmark sets its RUNS default before.
CLI=${KORVEX_CLI:-${BUILD_DIR:-build}/bin/korvex-pdf-cli}
QPDF=${KORVEX_QPDF:-$(command -v qpdf)}
PEERS=${PEERS:-1}
[ -x "$CLI" ] || { echo "no $CLI: build first (scripts/build.sh)" >&2; exit 2; }
[ -x "$(dirname "$CLI")/korvex-pages" ] || { echo "no korvex-pages next to $CLI: build first" >&2; exit 2; }
CLI=$(realpath "$CLI")

# install_missing PACKAGE...: the Debian packages, with apt-get, when any is named.
install_missing() {
  [ $# -gt 0 ] || return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" </dev/null
}

# WORK: a fresh folder on tmpfs (/dev/shm, else TMPDIR or /tmp), removed at the end, so that
# file creation does not drown the work that is measured.
TMP_ROOT=${TMPDIR:-/dev/shm}
[ -d "$TMP_ROOT" ] && [ -w "$TMP_ROOT" ] || TMP_ROOT=/tmp
WORK=$(mktemp -d "$TMP_ROOT/korvex-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
