#!/bin/sh
# Fails when the plug-in exports anything beyond its six entry points, or
# lacks one of them.
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
for symbol in $allowed; do
  nm -D --defined-only "$lib" | awk '{print $3}' | grep -qx "$symbol" || { echo "missing export: $symbol"; status=1; }
done
exit $status
