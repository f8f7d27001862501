#!/usr/bin/env bash
# Runs a GPU test program in one process under the Khronos validation layer,
# with synchronisation validation on; any message the layer writes fails it.
# Usage: run-under-validation.sh PROGRAM WORK_FOLDER
set -euo pipefail
program=$1
work=$2

rm -rf "$work"
mkdir -p "$work"
log="$work/validation.txt"
cat > "$work/vk_layer_settings.txt" <<SETTINGS
khronos_validation.debug_action = VK_DBG_LAYER_ACTION_LOG_MSG
khronos_validation.log_filename = $log
khronos_validation.report_flags = error,warn,perf
khronos_validation.enables = VK_VALIDATION_FEATURE_ENABLE_SYNCHRONIZATION_VALIDATION_EXT,VALIDATION_CHECK_ENABLE_SYNCHRONIZATION_VALIDATION_QUEUE_SUBMIT
SETTINGS

VK_INSTANCE_LAYERS=VK_LAYER_KHRONOS_validation VK_LAYER_SETTINGS_PATH="$work" "$program"

# The layer makes the file when it starts, even when it has nothing to say.
if [ ! -e "$log" ]; then
  echo "The validation layer was not loaded." >&2
  exit 1
fi
if [ -s "$log" ]; then
  echo "The validation layer reported:" >&2
  cat "$log" >&2
  exit 1
fi
