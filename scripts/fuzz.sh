#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and runs each
# for a bounded time on a small seed corpus written into that folder. Fails when a
# target crashes, hangs, leaks or hits undefined behaviour; the input that did it is
# left in <build>/fuzz-artifacts.
#
# Usage: scripts/fuzz.sh [seconds per target, default 60] [build folder, default build-fuzz]
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${2:-$root/build-fuzz}"
targets=(fuzz_registry fuzz_inifile fuzz_formparser fuzz_wirecodec fuzz_format)

"$root/scripts/deps.sh" fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DOX_FUZZ=ON -DOX_TESTS=OFF -DOX_BENCH=OFF
cmake --build "$build" --target "${targets[@]}" -j2

# seed TARGET NAME TEXT: one seed input; TEXT takes printf escapes (\r, \n, \\, \xNN).
# The first byte of an input picks the code page: 0 English, 1 GB, 2 Big5.
seed() {
  mkdir -p "$build/fuzz-corpus/$1"
  printf "$3" >"$build/fuzz-corpus/$1/seed-$2"
}

seed fuzz_registry regedit4 '\x00REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n"ClientPath"="C:\\\\App\\\\"\r\n"ProfileType"=dword:00000001\r\n@="say \\"hi\\""\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane\\Sub]\r\n"Bin"=hex:01,02,\\\r\n  03,04\r\n'
seed fuzz_registry version5 '\x02Windows Registry Editor Version 5.00\n\n[HKCU\\A\\B]\n"X"=hex(2):25,54,4d,50,25,00\n"Y"=-\n; comment\n[-HKCU\\A]\n[hklm\\\xb2\xe2\\\xca\xd4]\n"\xc4\xe3"="\xb2\xe2"\n'
seed fuzz_inifile corvane '\x00[Server Information]\r\nComputerName = srv1;srv2; \r\nServerPort=8080\r\n[WorkDLLPath]\r\nP1="D:\\Pkg"\r\nP2=\x27Pkg\x27\r\n[CodePage]\r\nUICodePage=950\r\n'
seed fuzz_inifile quirks '\x01\xef\xbb\xbf; comment\n[ S ]\njunk\nK=1\nk=2\n[s]\nK=3\n[\xc4\xe3]\n\xb2\xe2==v\r[T\n=x\n'
seed fuzz_formparser fuzzclasses '\x01object frmMain: TFuzzComponent\n  Left = 192\n  Caption = \x27材料差异汇总表\x27\n  Style = [fsBold]\n  Color = clRed\n  OnKey = Keyed\n  object pgOption: TFuzzComponent\n    Kind = fkTwo\n    Ratio = 2.5E3\n    object tsOption1: TFuzzComponent\n      Caption = #26465#20214\x271\x27 +\n        \x27x\x27\n      Accel = \x27A\x27\n      OnClick = Clicked\n    end\n  end\n  inherited lvColumns: TFuzzComponent\n    Items = <\n      item\n        Caption = \x27A\x27\n        Width = 80\n      end>\n    Lines.Strings = ( \x27one\x27 \x27two\x27 )\n    Flag = True\n    Tag = -$10\n  end\nend\n'
seed fuzz_formparser notation '\x00object frmMVAR52: TfrmMVAR52\r\n  Font.Name = \x27宋体\x27\r\n  Font.Style = [fsBold, fsItalic]\r\n  Data = { 0A ff\r\n 10 }\r\n  inline fr: TFrame\r\n    Items.Strings = (\r\n      \x27a\x27\x27b\x27\r\n      #13#10)\r\n  end\r\nend\r\n'
# A job variant (header, descriptions, values of every kind) and a Call carrying it.
seed fuzz_wirecodec job '\x97\x0c\x01\x00\x02\x97\x0c\x01\x01\x03\xc7\x0c\x04\x4d\x00\x56\x00\x41\x00\x52\x00\x35\x00\x32\x00\x0e\xd7\x03\x40\xe6\x25\x90\x00\x00\x00\x00\x94\x0c\x01\x01\x00\x99\x0c\x01\x00\x04\xd5\x04\x59\x00\xc4\x01\x04\xc7\x00\x01\xc0\xcb\x40\x04\x00\x00\x00\x00\x00\x00'
seed fuzz_wirecodec call '\x98\x0c\x01\x00\x03\xd7\x02\x00\x00\x00\x00\x00\x00\x00\x01\xc4\x07\x52\x65\x71\x75\x65\x73\x74\x00\x95\x0c\x01\x00\x00\x97\x0c\x01\x00\x02\x97\x0c\x01\x01\x03\xc7\x0c\x04\x4d\x00\x56\x00\x41\x00\x52\x00\x35\x00\x32\x00\x0e\xd7\x03\x40\xe6\x25\x90\x00\x00\x00\x00\x94\x0c\x01\x01\x00\x99\x0c\x01\x00\x04\xd5\x04\x59\x00\xc4\x01\x04\xc7\x00\x01\xc0\xcb\x40\x04\x00\x00\x00\x00\x00\x00'
# A format, then NUL-separated arguments: "#" integer, "!" double, "^" wide, "~" Empty.
seed fuzz_format message '\x01Can not Get Message\rType= %%s, ID= %%s \x00E\x00000013'
seed fuzz_format numbers '\x00%%d%%.2d|%%-*.*x|%%e %%g %%n|%%s|%%s\x00#2024\x00#3\x00#8\x00#4\x00#255\x00!1234.5\x00!0.1\x00!-1e20\x00~\x00^\xb2\xe2'

mkdir -p "$build/fuzz-artifacts"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for target in "${targets[@]}"; do
  echo "== $target: ${seconds}s"
  if ! "$build/bin/$target" "$build/fuzz-corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -max_len=16384 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz-artifacts/$target-"; then
    failed+=("$target")
  fi
done

if ((${#failed[@]} > 0)); then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing passed: ${targets[*]}"
