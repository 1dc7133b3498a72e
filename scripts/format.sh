#!/usr/bin/env bash
# Formats C and C++ sources with the tree's .clang-format (clang-format-14,
# as Debian ships it).
#
#   scripts/format.sh                 format every tracked source in place
#   scripts/format.sh platform audio  only the sources under these folders
#   scripts/format.sh --check [...]   change nothing; list the files that
#                                     would change and exit 1 if there are any
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=${CLANG_FORMAT:-clang-format-14}
if ! command -v "$formatter" >/dev/null; then
  echo "format.sh: $formatter not found (apt-get install clang-format-14)" >&2
  exit 2
fi

check=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
fi

# Tracked sources only: generated files and build trees stay out.
mapfile -t files < <(git ls-files -- "${@:-.}" | grep -E '\.(c|cc|cpp|h|hpp)$' || true)
if [[ ${#files[@]} -eq 0 ]]; then
  echo "format.sh: no sources under: ${*:-.}" >&2
  exit 2
fi

if [[ $check -eq 0 ]]; then
  "$formatter" -i --style=file "${files[@]}"
  exit 0
fi

status=0
for f in "${files[@]}"; do
  if ! "$formatter" --style=file "$f" | cmp -s - "$f"; then
    echo "$f"
    status=1
  fi
done
exit $status
