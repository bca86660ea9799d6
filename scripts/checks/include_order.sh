#!/usr/bin/env bash
# Checks, without changing a file, that every include block of the sources is in the order
# .clang-format gives (clang-format decides; only the include lines are compared, so the rest of
# the layout is nobody's business here). With --fix it puts the include lines of each file into
# that order and leaves every other line as it is.
#   include_order.sh [--fix] FOLDER...
set -euo pipefail
fix=0
if [ "${1:-}" = "--fix" ]; then
  fix=1
  shift
fi
[ $# -gt 0 ] || { echo "usage: include_order.sh [--fix] FOLDER..." >&2; exit 2; }
format=$(command -v clang-format || command -v clang-format-14 || true)
[ -n "$format" ] || { echo "clang-format is missing (Debian package clang-format)" >&2; exit 2; }
style="$(cd "$(dirname "$0")/../.." && pwd)/.clang-format"
bad=0
count=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  sorted=$("$format" --style="file:$style" --assume-filename="$file" <"$file" | grep -E '^[[:space:]]*#[[:space:]]*include' || true)
  current=$(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  [ "$sorted" = "$current" ] && continue
  if [ "$fix" = 1 ]; then
    # The sorted include lines go into the places the include lines held, in order.
    SORTED="$sorted" perl -i -ne '
      BEGIN { @s = split /\n/, $ENV{SORTED} }
      if (/^\s*#\s*include/) { print shift(@s), "\n" } else { print }' "$file"
  else
    echo "$file: includes out of order; clang-format would have:"
    diff <(echo "$current") <(echo "$sorted") | sed -n 's/^> /    /p' | head -20  || true
    bad=$((bad + 1))
  fi
done < <(find "$@" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
if [ "$bad" -gt 0 ]; then
  echo "$bad of $count files have includes out of order (scripts/checks/include_order.sh --fix sorts them)"
  exit 1
fi
echo "Includes in order in $count files"
