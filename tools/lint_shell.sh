#!/usr/bin/env bash
# Holds every shell script of the project to shellcheck's warnings, sourced files followed.
set -eu
cd "$(dirname "$0")/.."
scripts=(run .ci/run)
while IFS= read -r -d '' script; do scripts+=("$script"); done < <(
    find packaging tests tools -name '*.sh' -print0)
shellcheck -x -S warning "${scripts[@]}"
echo "shellcheck: ${#scripts[@]} scripts, no warning"
