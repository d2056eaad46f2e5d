#!/usr/bin/env bash
# Writes the seed corpus of the TGA reader's fuzz target into DIR: small
# valid pictures of each accepted kind and files broken in each way the
# reader tests for.
#   scripts/make_tga_corpus.sh DIR
source "$(dirname "$0")/common.sh"
positional_arguments 1 "$@"

dir=${1:?usage: make_tga_corpus.sh DIR}
mkdir -p "$dir"

# Bytes given as numbers, written as they are.
bytes() {
  local b
  for b in "$@"; do printf "\\x$(printf %02x "$((b & 255))")"; done
}
le16() { bytes "$(($1 & 255))" "$(($1 >> 8 & 255))"; }

# header IDLEN CMAPTYPE TYPE XORIGIN YORIGIN WIDTH HEIGHT DEPTH DESCRIPTOR
header() {
  bytes "$1" "$2" "$3" 0 0 0 0 0
  le16 "$4"; le16 "$5"; le16 "$6"; le16 "$7"
  bytes "$8" "$9"
}

# pixels COUNT BYTES_PER_PIXEL: a repeating pattern of non-zero and zero pixels.
pixels() {
  local i k
  for ((i = 0; i < $1; i++)); do
    for ((k = 0; k < $2; k++)); do bytes $(((i * 37 + k * 101) % 7 == 0 ? 0 : i * 13 + k * 71)); done
  done
}

{ header 0 0 2 0 0 2 2 24 0; bytes 0 0 255 0 255 0 255 0 0 255 255 255; } >"$dir/bottom_up_24.tga"
{ header 0 0 2 0 0 2 2 24 32; bytes 0 0 255 0 255 0 255 0 0 255 255 255; } >"$dir/top_down_24.tga"
{ header 0 0 2 0 0 3 2 32 40; pixels 6 4; } >"$dir/alpha_32.tga"
{ header 5 0 2 0 0 2 1 24 0; bytes 1 2 3 4 5; pixels 2 3; } >"$dir/id_field.tga"
{ header 0 0 2 0 0 0 7 24 0; } >"$dir/zero_width.tga"
{ header 0 0 2 0 0 7 0 32 0; } >"$dir/zero_height.tga"
{ header 0 0 2 $((65536 - 40)) 3 120 5 24 32; pixels 600 3; } >"$dir/wider_than_target.tga"
{ header 0 0 2 5 $((65536 - 7)) 4 110 32 0; pixels 440 4; } >"$dir/taller_than_target.tga"
{ header 0 0 2 0 0 65535 65535 32 0; pixels 4 4; } >"$dir/huge_header.tga"
{ header 0 0 10 0 0 2 2 24 0; pixels 4 3; } >"$dir/run_length.tga"
{ header 0 1 2 0 0 2 2 24 0; pixels 4 3; } >"$dir/colour_map.tga"
{ header 0 0 2 0 0 2 2 16 0; pixels 4 2; } >"$dir/depth_16.tga"
{ header 0 0 2 0 0 4 4 24 0; pixels 5 3; } >"$dir/short_pixels.tga"
{ header 9 0 2 0 0 1 1 24 0; bytes 1 2 3; } >"$dir/short_id.tga"
header 0 0 2 0 0 4 4 24 0 >"$dir/short_header.tga"
truncate -s 11 "$dir/short_header.tga"
: >"$dir/empty.tga"
