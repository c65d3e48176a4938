#!/bin/bash
# Installs what is missing, builds, and opens the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh release >/dev/null
exec build/release/ui/tessaly "$@"
