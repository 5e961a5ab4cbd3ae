#!/bin/sh
# Prints one row per coder and filter the 7z reader decodes: NAME 7z-SWITCHES. The fuzz seeds
# and the unit tests' archive comparison pack trees with them; a new coder gets a row here.
cat <<'ROWS'
copy      -m0=Copy -mf=off
lzma      -m0=LZMA -mf=off
lzma2     -m0=LZMA2 -mf=off
bcj       -m0=LZMA2 -mf=BCJ
bcj2      -m0=LZMA -mf=BCJ2
ppmd      -m0=PPMd -mf=off
bzip2     -m0=BZip2 -mf=off
deflate   -m0=Deflate -mf=off
deflate64 -m0=Deflate64 -mf=off
arm       -mf=ARM
armt      -mf=ARMT
arm64     -mf=ARM64
riscv     -mf=RISCV
ppc       -mf=PPC
sparc     -mf=SPARC
ia64      -mf=IA64
delta     -mf=Delta:4
swap2     -mf=Swap2
swap4     -mf=Swap4
ROWS
