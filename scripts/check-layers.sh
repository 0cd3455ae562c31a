#!/usr/bin/env bash
# Fails on an include that points up a layer or sideways between folders of one layer.
# The layers are the numbered list under "## Layers" in docs/CONTRIBUTING.md, bottom first:
# a file may include its own folder and the folders of lower lines, nothing else.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder -> line number of its layer, from the docs.
declare -A layer=()
while IFS= read -r line; do
  n=${line%%.*}
  for folder in $(grep -oE '`[a-z0-9_/]+/`' <<<"${line%%:*}" | tr -d '`'); do layer[$folder]=$n; done
done < <(sed -n '/^## Layers/,/^## /p' docs/CONTRIBUTING.md | grep -E '^[0-9]+\. ')
[ ${#layer[@]} -gt 0 ] || { echo "check-layers: no layer list in docs/CONTRIBUTING.md" >&2; exit 1; }

# The folder a path belongs to: the longest listed folder it starts with.
folder_of() {
  local path=$1 best=""
  for f in "${!layer[@]}"; do
    [[ $path == "$f"* && ${#f} -gt ${#best} ]] && best=$f
  done
  echo "$best"
}

bad=0
while IFS= read -r file; do
  [ -f "$file" ] || continue  # deleted in the work tree, not yet in the index
  from=$(folder_of "$file")
  [ -n "$from" ] || { echo "check-layers: $file is in no listed layer" >&2; bad=1; continue; }
  while IFS= read -r target; do
    to=$(folder_of "$target")
    [ -n "$to" ] && [ "$to" != "$from" ] || continue
    if [ "${layer[$to]}" -ge "${layer[$from]}" ]; then
      echo "check-layers: $file includes $target ($from may not use $to)" >&2
      bad=1
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([a-z0-9_]+\/[^"]+)".*/\1/p' "$file")
done < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.c' '*.rc')
[ $bad -eq 0 ] && echo "layers: every include points down"
exit $bad
