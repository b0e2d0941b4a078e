#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or of
# another folder on the same layer. The layers, bottom first:
#   base twain | platform | image | comments | document | view | fax scan | app | gui
# twaindsm/ (the source manager library) may use base/ and twain/ only;
# tests/, bench/, fuzz/ and tools/ may use everything.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A rank=([base]=0 [twain]=0 [platform]=1 [image]=2 [comments]=3 [document]=4
                 [view]=5 [fax]=6 [scan]=6 [app]=7 [gui]=8)
bad=0
for folder in base twain platform image comments document view fax scan app gui twaindsm; do
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}; line=${rest%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$rest")
    [ "$target" = "$folder" ] && continue
    if [ "$folder" = twaindsm ]; then
      case "$target" in base|twain) continue ;; esac
      echo "$file:$line: the source manager may use base/ and twain/ only, not $target/"; bad=1; continue
    fi
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "$file:$line: $folder/ may not include $target/ (it is not below $folder/)"; bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$folder" --include='*.h' --include='*.cpp')
done
[ $bad -eq 0 ] && echo "layers: every include points down"
exit $bad
