# Sourced by the benchmark scripts, with their arguments: strict mode, the repository root as
# the working folder, the build's programs in BIN (the first argument names the build folder,
# default: build) and a scratch folder in WORK that goes on exit.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
BIN="${1:-build}/bin"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
