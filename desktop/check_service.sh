#!/usr/bin/env bash
# Runs the recording service's commands as systemd would for one instance, from an environment
# file like a user's, stops it with the unit's kill signal, and checks that the recorder ended
# cleanly with a whole log, its rotation and its live image. With systemd-analyze, also verifies
# the unit. Usage: check_service.sh UNIT RECORDER
set -euo pipefail
unit=${1:?usage: check_service.sh UNIT RECORDER}
recorder=${2:?usage: check_service.sh UNIT RECORDER}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
instance=roof
mkdir -p "$scratch/config/zelk" "$scratch/state"
cat >"$scratch/config/zelk/record-$instance.env" <<ENV
# as a user writes it
ZELK_INPUT=synthetic
ZELK_LOG_DIR=$scratch/logs/rx
ZELK_ROTATE=--rotate daily
ZELK_IMAGE="--image $scratch/live.png --image-every 1"
ENV

specifiers() {
  local text=$1
  text=${text//%i/$instance}
  text=${text//%S/$scratch/state}
  text=${text//%E/$scratch/config}
  printf '%s' "${text//%h/$scratch}"
}
value() { sed -n "s/^$1=//p" "$unit" | tail -n 1; }

# The environment: the unit's defaults, then the file it names, which overrides them.
declare -A env
for assignment in $(value Environment); do
  env[${assignment%%=*}]=${assignment#*=}
done
env_file=$(specifiers "$(value EnvironmentFile)")
while IFS= read -r line; do
  [[ $line =~ ^([A-Za-z_][A-Za-z0-9_]*)=(.*)$ ]] || continue
  key=${BASH_REMATCH[1]}
  text=${BASH_REMATCH[2]}
  [[ $text =~ ^\"(.*)\"$ ]] && text=${BASH_REMATCH[1]}
  env[$key]=$text
done <"$env_file"

# systemd's expansion: ${NAME} is one word, a $NAME word splits into words (none when empty).
expand() {
  words=()
  local word name text
  for word in $(specifiers "$1"); do
    if [[ $word =~ ^\$([A-Za-z_][A-Za-z0-9_]*)$ ]]; then
      text=${env[${BASH_REMATCH[1]}]-}
      for name in $text; do words+=("$name"); done
      continue
    fi
    while [[ $word =~ \$\{([A-Za-z_][A-Za-z0-9_]*)\} ]]; do
      name=${BASH_REMATCH[1]}
      word=${word//\$\{$name\}/${env[$name]-}}
    done
    words+=("$word")
  done
}

expand "$(value ExecStartPre)"
"${words[@]}"
expand "$(value ExecStart)"
words[0]=$recorder
"${words[@]}" >"$scratch/stdout" 2>"$scratch/stderr" &
pid=$!
# Stop it once it has recorded a second or more (the live image is written each second), as a
# user's `systemctl stop` would, however slowly a loaded machine starts it.
for _ in $(seq 60); do
  [ -s "$scratch/live.png" ] || ! kill -0 "$pid" 2>/dev/null && break
  sleep 0.5
done
sleep 1
signal=$(value KillSignal)
kill -s "${signal#SIG}" "$pid"
status=0
wait "$pid" || status=$?
log=$scratch/logs/rx/$instance.log
problems=()
[ "$status" -eq 0 ] || problems+=("the recorder ended with $status on ${signal}: $(cat "$scratch/stderr")")
[ -s "$log" ] || problems+=("no log $log")
[ -s "$scratch/live.png" ] || problems+=("no live image")
if [ -s "$log" ]; then
  [ "$(tail -c 1 "$log" | od -An -c | tr -d ' ')" = '\n' ] || problems+=("the log ends mid-record")
  "$recorder" --headless --playback "$log" --image "$scratch/playback.png" >/dev/null 2>&1 ||
    problems+=("the log does not play back")
fi
if command -v systemd-analyze >/dev/null; then
  # The unit as installed, but starting this recorder; manual pages may not be installed yet.
  sed "s|^ExecStart=[^ ]*|ExecStart=$recorder|" "$unit" >"$scratch/zelkchart-record@$instance.service"
  systemd-analyze --man=no verify "$scratch/zelkchart-record@$instance.service" >"$scratch/verify" 2>&1 ||
    problems+=("systemd-analyze verify: $(cat "$scratch/verify")")
fi
if ((${#problems[@]})); then
  printf 'check_service: %s\n' "${problems[@]}" >&2
  exit 1
fi
