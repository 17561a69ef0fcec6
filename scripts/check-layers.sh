#!/usr/bin/env bash
# Fails when a source file includes a header of a folder above its own. From the bottom:
#   platform < model < link, files < display < config, record < print < app, cli
# The model is the widget-free part of display/ (the files of rxm_model in
# display/CMakeLists.txt). The simulator uses only platform and the model; app and cli
# do not include each other.
set -euo pipefail
cd "$(dirname "$0")/.."

model=$(sed -n 's/^set(model_files \(.*\))$/\1/p' display/CMakeLists.txt)
[ -n "$model" ] || { echo "check-layers: no model_files in display/CMakeLists.txt" >&2; exit 2; }

is_model() {  # display/Name.h or display/Name.cpp
  local base=${1#display/}
  base=${base%.*}
  for m in $model; do [ "$m" = "$base" ] && return 0; done
  return 1
}

# The layer of a file: a number, or "sim".
layer() {
  local file=$1 folder=${1%%/*}
  case $folder in
    platform) echo 0 ;;
    display) if is_model "$file"; then echo 1; else echo 3; fi ;;
    link | files) echo 2 ;;
    config | record) echo 4 ;;
    print) echo 5 ;;
    app | cli) echo 6 ;;
    sim) echo sim ;;
    *) echo none ;;
  esac
}

status=0
while IFS= read -r file; do
  from=$(layer "$file")
  [ "$from" = none ] && continue
  while IFS=: read -r line target; do
    [ -n "$target" ] || continue
    to=$(layer "$target")
    [ "$to" = none ] && continue
    [ "${target%%/*}" = "${file%%/*}" ] && ! { [ "${file%%/*}" = display ] && [ "$from" = 1 ] && [ "$to" = 3 ]; } && continue
    ok=0
    if [ "$from" = sim ]; then
      [ "$to" = 0 ] || [ "$to" = 1 ] && ok=1
    elif [ "$to" != sim ] && [ "$to" -lt "$from" ]; then
      ok=1
    fi
    if [ $ok = 0 ]; then
      echo "$file:$line: includes $target, a layer above or beside it" >&2
      status=1
    fi
  done < <(grep -n -o -E '^#include "[a-z]+/[A-Za-z0-9_]+\.h"' "$file" | sed -E 's/^([0-9]+):#include "(.*)"/\1:\2/')
done < <(git ls-files -co --exclude-standard '*.h' '*.cpp' | grep -E '^(platform|display|link|files|config|record|print|app|cli|sim)/')

[ $status = 0 ] && echo "check-layers: every include goes down the layers"
exit $status
