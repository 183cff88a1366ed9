#!/usr/bin/env bash
# with-services.sh COMMAND...: runs COMMAND with a private X server, PulseAudio
# server and D-Bus session bus on free displays and sockets, and a private
# HOME and XDG folders; stops them all afterwards.
set -euo pipefail
RUN=$(mktemp -d)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$RUN"
}
trap cleanup EXIT

export HOME=$RUN/home XDG_CONFIG_HOME=$RUN/home/.config XDG_DATA_HOME=$RUN/home/.local/share
export XDG_RUNTIME_DIR=$RUN/xdg
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
mkdir -m700 "$XDG_RUNTIME_DIR"

Xvfb -screen 0 1920x1080x24 -nolisten tcp -noreset -displayfd 3 3>"$RUN/display" \
  >"$RUN/xvfb.log" 2>&1 &
PIDS+=($!)
until [ -s "$RUN/display" ]; do sleep 0.025; done
export DISPLAY=:$(cat "$RUN/display")

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$RUN/pulse.sock" \
  -L "module-null-sink sink_name=test_sink" >"$RUN/pulse.log" 2>&1 &
PIDS+=($!)
export PULSE_SERVER=unix:$RUN/pulse.sock
for _ in $(seq 400); do pactl info >/dev/null 2>&1 && break; sleep 0.025; done

dbus-daemon --session --address=unix:path=$RUN/bus --nofork --nopidfile \
  >"$RUN/dbus.log" 2>&1 &
PIDS+=($!)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$RUN/bus
for _ in $(seq 400); do [ -S "$RUN/bus" ] && break; sleep 0.025; done

"$@"
