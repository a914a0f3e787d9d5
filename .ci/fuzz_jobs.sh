# Sourced by the fuzz steps. A fuzz run keeps one core busy and the machine
# has two, so a step starts its short runs side by side and then waits for
# them all. Each run's output is kept apart: its last lines when it passes,
# all of it when it fails (and the step fails).
fuzz_pids=()
fuzz_logs=()

fuzz_start() {
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1 &
  fuzz_pids+=($!)
  fuzz_logs+=("$log")
}

fuzz_wait() {
  local i rc=0
  for i in "${!fuzz_pids[@]}"; do
    if wait "${fuzz_pids[$i]}"; then
      tail -n 2 "${fuzz_logs[$i]}"
    else
      cat "${fuzz_logs[$i]}"
      rc=1
    fi
    rm -f "${fuzz_logs[$i]}"
  done
  fuzz_pids=()
  fuzz_logs=()
  return $rc
}
