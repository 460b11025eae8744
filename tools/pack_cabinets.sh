#!/usr/bin/env bash
# Packs the sample product into its cabinets with gcab.
# Usage: pack_cabinets.sh OUT_DIR CONTROL CONTROL64 CONTROL_NO_REGISTER APP UNINSTALLER
set -euo pipefail
out=$1 control=$2 control64=$3 noregister=$4 app=$5 uninstaller=$6
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

pack() {  # pack NAME FILE...
  local name=$1
  shift
  rm -f "$out/$name"
  (cd "$stage" && gcab -c -z "$out/$name" "$@")
}

cp "$control" "$stage/Veridane.ocx"
cp "$control64" "$stage/Veridane64.ocx"
cp "$app" "$stage/VeridaneApp.exe"
cp "$uninstaller" "$stage/VeridaneUninstaller.exe"
# A fixed time for every file, so that tests can compare extracted file times.
touch -d "2024-05-17 13:45:30" "$stage"/*
pack Veridane.cab Veridane.ocx Veridane64.ocx VeridaneApp.exe VeridaneUninstaller.exe
pack Veridane-nohost.cab Veridane.ocx Veridane64.ocx VeridaneUninstaller.exe
cp "$noregister" "$stage/Veridane.ocx"
touch -d "2024-05-17 13:45:30" "$stage/Veridane.ocx"
pack Veridane-noregister.cab Veridane.ocx Veridane64.ocx VeridaneApp.exe VeridaneUninstaller.exe
