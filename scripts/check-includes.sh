#!/usr/bin/env bash
# Refuses includes against the layering of the sources under ROOT/src (default: this checkout):
#   - core includes no Qt header and no operating-system header (those belong in platform);
#   - core includes nothing of platform, ui, cli, charconv or sync, and platform nothing of ui, cli
#     or sync; ui includes nothing of sync (the protocol reaches the window through a core port),
#     and sync nothing of ui or cli;
#   - within core a folder includes only folders below it:
#       text < time < ports < store < view, edit, calendar, sync < app
#     with one exception: ports may include core/store/SettingValues.h, which itself includes
#     nothing above time. view, edit and calendar include none of each other. A project header
#     in core is spelled "core/<folder>/<file>", so that every include is seen here.
# Each refused include is printed as "file:line: include: reason"; the exit status is 1 if any.
# Usage: scripts/check-includes.sh [ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"
mapfile -t files < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | LC_ALL=C sort)
if [ "${#files[@]}" -eq 0 ]; then
  echo "check-includes: no sources under $root/src" >&2
  exit 1
fi
awk '
BEGIN {
  tier["text"] = 0; tier["time"] = 1; tier["ports"] = 2; tier["store"] = 3
  tier["view"] = 4; tier["edit"] = 4; tier["calendar"] = 4; tier["sync"] = 4; tier["app"] = 5
  order = "text < time < ports < store < view, edit, calendar, sync < app"
  settingValues = "core/store/SettingValues.h"
  refused = 0
}
function refuse(why) {
  printf "%s:%d: %s: %s\n", FILENAME, FNR, $0, why
  refused = 1
}
FNR == 1 {
  n = split(FILENAME, part, "/")
  layer = part[2]
  folder = (layer == "core" && n > 3) ? part[3] : ""
  if (folder != "" && !(folder in tier)) {
    # Refused once for the file; its includes are not weighed against an order it is not in.
    printf "%s: core/%s is not in the folder order (%s)\n", FILENAME, folder, order
    refused = 1
  }
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
  line = $0
  sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
  quoted = substr(line, 1, 1) == "\""
  path = substr(line, 2)
  sub(/[>"].*$/, "", path)
  split(path, to, "/")
  if (layer == "core") {
    if (!quoted && (path ~ /^Q[A-Za-z]*$/ || path ~ /^Qt[A-Za-z]*\// || path ~ /^sys\// ||
                    path ~ /^(unistd|fcntl|dirent|signal|windows|pthread)\.h$/)) {
      refuse("core includes no Qt or operating-system header")
    } else if (path ~ /\// && to[1] ~ /^(platform|ui|cli|charconv|sync)$/) {
      refuse("core includes nothing of the layers above it")
    } else if (quoted && to[1] != "core") {
      refuse("core spells its own headers \"core/<folder>/<file>\"")
    } else if (to[1] == "core" && folder in tier) {
      target = to[2]
      if (!(target in tier)) {
        refuse("core/" target " is not in the folder order (" order ")")
      } else if (FILENAME == "src/" settingValues) {
        if (tier[target] > tier["time"]) refuse(settingValues " includes nothing above time")
      } else if (target != folder && tier[target] >= tier[folder] &&
                 !(folder == "ports" && path == settingValues)) {
        refuse(folder " may not include " target " (" order ")")
      }
    }
  } else if (layer == "platform" && path ~ /\// && to[1] ~ /^(ui|cli|sync)$/) {
    refuse("platform includes nothing of the widgets, the companion or the sync library")
  } else if (layer == "ui" && path ~ /\// && to[1] == "sync") {
    refuse("ui includes nothing of the sync library (it comes through core/ports/SyncService.h)")
  } else if (layer == "sync" && path ~ /\// && to[1] ~ /^(ui|cli)$/) {
    refuse("sync includes nothing of the widgets or the companion")
  }
}
END { exit refused }
' "${files[@]}" || {
  echo "check-includes: includes against the layering (above)" >&2
  exit 1
}
echo "includes: core is free of Qt and the system, layers and core folders include only downwards"
