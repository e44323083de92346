#!/bin/sh
# Fails when the plug-in exports anything beyond its entry points.
set -eu
lib=$1
allowed="CreateObject GetWarning GetLedState GetPerformanceData GetAlarmSheild OpenThresholds"
status=0
for symbol in $(nm -D --defined-only "$lib" | awk '{print $3}'); do
  case " $allowed " in
    *" $symbol "*) ;;
    *) echo "unexpected export: $symbol"; status=1 ;;
  esac
done
for symbol in CreateObject GetWarning GetLedState GetPerformanceData; do
  nm -D --defined-only "$lib" | awk '{print $3}' | grep -qx "$symbol" || { echo "missing export: $symbol"; status=1; }
done
exit $status
