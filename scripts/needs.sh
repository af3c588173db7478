# Sourced by the scripts that start the built program: each check exits
# with a message saying what to do when something is missing.

# need_program <build folder>: sets $program to the built program.
need_program() {
  if [ ! -x "$1/src/app/lanternwick" ]; then
    echo "No program in $1: build first with make build-run (which builds build/run)." >&2
    exit 1
  fi
  program="$(realpath "$1/src/app/lanternwick")"
}

# need_tools <command>...: the Debian packages of the scripts bring them all.
need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool is missing: install the packages with scripts/install-deps." >&2
      exit 1
    fi
  done
}
