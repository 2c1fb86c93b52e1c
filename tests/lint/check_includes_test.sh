#!/usr/bin/env bash
# The include checker on a small tree with one planted include per case: each wrong-way include
# is refused with its file and line, each allowed one passes.
# Usage: tests/lint/check_includes_test.sh CHECKER
set -euo pipefail
checker=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
# expectation | file | include line
while IFS='|' read -r expect file include; do
  tree="$work/case"
  rm -rf "$tree"
  mkdir -p "$tree/src/core/text"
  printf '#pragma once\n' >"$tree/src/core/text/Base.h"
  mkdir -p "$tree/$(dirname "$file")"
  printf '#pragma once\n\n%s\n' "$include" >"$tree/$file"
  set +e
  output=$("$checker" "$tree" 2>&1)
  status=$?
  set -e
  if [ "$expect" = refused ]; then
    if [ "$status" -eq 0 ] || ! grep -qF "$file:" <<<"$output"; then
      echo "FAIL: expected $file with '$include' refused, naming it; got status $status: $output"
      failed=1
    fi
  elif [ "$status" -ne 0 ]; then
    echo "FAIL: expected $file with '$include' allowed; got: $output"
    failed=1
  fi
done <<'CASES'
refused|src/core/text/Plant.h|#include "core/store/ListStore.h"
refused|src/core/ports/Plant.h|#include "core/store/Settings.h"
allowed|src/core/ports/Plant.h|#include "core/store/SettingValues.h"
refused|src/core/store/SettingValues.h|#include "core/ports/Clock.h"
refused|src/core/store/Plant.cpp|#include "../view/MainTab.h"
refused|src/core/view/Plant.h|#include "core/edit/CellEdit.h"
allowed|src/core/app/Plant.h|#include "core/calendar/CalendarModel.h"
refused|src/core/time/Plant.cpp|#include <QDate>
refused|src/core/text/Plant.cpp|#include "platform/LocalClock.h"
refused|src/platform/Plant.cpp|#include "ui/MainWindow.h"
refused|src/core/misc/Plant.h|#include "core/text/Base.h"
allowed|src/core/sync/Plant.h|#include "core/store/RecordLine.h"
refused|src/core/sync/Plant.h|#include "core/app/ToDoDocument.h"
refused|src/core/view/Plant.h|#include "core/sync/LineMatch.h"
refused|src/core/app/Plant.h|#include "sync/Vtodo.h"
refused|src/platform/Plant.cpp|#include "sync/Vtodo.h"
refused|src/ui/Plant.cpp|#include "sync/Vtodo.h"
refused|src/sync/Plant.cpp|#include "ui/MainWindow.h"
CASES
exit "$failed"
