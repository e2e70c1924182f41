#!/usr/bin/env bash
# Installing over an installed bundle keeps the user's presets file; a first install brings the factory one.
set -euo pipefail
repo=$1
build_dir=$2
target=$(mktemp -d)
trap 'rm -rf "$target"' EXIT

BUILD_DIR=$build_dir VST3_DIR=$target "$repo/scripts/install-bundle" >/dev/null
presets=$target/Brambleway.vst3/BramblewayPresetsV3.json
grep -q '"Gated Hall"' "$presets" || { echo "first install lacks the factory presets"; exit 1; }
[ -f "$target/Brambleway.vst3/Contents/x86_64-linux/Brambleway.so" ] || { echo "no plug-in binary installed"; exit 1; }

printf '{"Presets": [{"PresetName": "Mine"}]}\0' > "$presets"
BUILD_DIR=$build_dir VST3_DIR=$target "$repo/scripts/install-bundle" >/dev/null
grep -q '"Mine"' "$presets" || { echo "reinstall overwrote the user's presets"; exit 1; }
echo "ok"
