#!/usr/bin/env bash
# Cipher throughput and whole-file encryption speed, compared with OpenSSL and cp; the sealed
# format's file speed against cp, its default key derivation and small files sealed in one run;
# how fast a wrong key on a 4 GiB encrypted file is refused.
#
# usage: bench/run.sh [BUILD_DIR]
#
# Without BUILD_DIR it configures and builds a Release tree in build-bench/ at
# the top of the repository (only lockvale_bench and lockvale-cli). With
# BUILD_DIR it uses the binaries already built there.
#
# Needs: cmake, ninja, Google Benchmark and libcrypto headers (Debian:
# libbenchmark-dev libssl-dev), the openssl command and GNU time (/usr/bin/time).
# Takes about a minute; the file part wants 1.5 GiB free in /dev/shm or /tmp. The browse
# benchmark needs the window: QT_QPA_PLATFORM=offscreen build/bench/browse_bench /dev/shm.
set -euo pipefail
export LC_ALL=C  # a decimal point in $EPOCHREALTIME and awk's numbers

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly repo
readonly file_mib=512
readonly file_bytes=$((file_mib * 1024 * 1024))
readonly min_time=0.1 # seconds per benchmark repetition
readonly repetitions=3

die() {
  echo "run.sh: $*" >&2
  exit 1
}

for tool in cmake openssl awk head cmp; do
  command -v "$tool" >/dev/null || die "$tool is not installed"
done
[[ -x /usr/bin/time ]] || die "/usr/bin/time is missing (Debian package: time)"

# --- build ------------------------------------------------------------------
if [[ $# -ge 1 ]]; then
  build=$(cd "$1" && pwd)
else
  build=$repo/build-bench
  if [[ ! -f $build/CMakeCache.txt ]]; then
    echo "== configuring $build"
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOCKVALE_WERROR=ON \
      -DLOCKVALE_BUILD_TESTS=OFF -DLOCKVALE_GUI=OFF >"$build.configure.log" 2>&1 ||
      { cat "$build.configure.log" >&2; die "configure failed"; }
    rm -f "$build.configure.log"
  fi
  echo "== building lockvale_bench, batch_bench, sealed_bench and lockvale-cli (Release)"
  cmake --build "$build" --target lockvale_bench batch_bench sealed_bench lockvale-cli \
    >"$build/build.log" 2>&1 ||
    { cat "$build/build.log" >&2; die "build failed"; }
fi
readonly bench=$build/bench/lockvale_bench
readonly cli=$build/lockvale-cli
readonly batch=$build/bench/batch_bench
readonly sealed=$build/bench/sealed_bench
[[ -x $bench ]] || die "$bench was not built (are libbenchmark-dev and libssl-dev installed?)"
[[ -x $cli ]] || die "$cli was not built"

# --- machine ----------------------------------------------------------------
cpu_model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cpu_flags=$(awk -F': ' '/^flags/ { print $2; exit }' /proc/cpuinfo |
  tr ' ' '\n' | grep -xE 'aes|vaes|avx2|avx512f|avx512vl' | tr '\n' ' ' || true)
echo
echo "== machine"
echo "cores (nproc):  $(nproc)"
echo "cpu model:      ${cpu_model:-unknown}"
echo "cpu features:   ${cpu_flags:-none of aes/vaes/avx2/avx512}"
echo "kernel:         $(uname -r)"
echo "openssl:        $(openssl version)"
"$bench" --cipher-paths | sed 's/^active:/cipher path:   /; s/^supported:/supported:     /; s/^hardware column:/hardware col.: /'
if [[ -n ${LOCKVALE_CIPHER:-} ]]; then echo "LOCKVALE_CIPHER=$LOCKVALE_CIPHER"; fi

# --- block throughput -------------------------------------------------------
results=$build/bench-results.csv
echo
echo "== cipher throughput (Google Benchmark: in place, ECB, median of $repetitions x ${min_time}s)"
"$bench" --benchmark_min_time="$min_time" --benchmark_repetitions="$repetitions" \
  --benchmark_report_aggregates_only=true --benchmark_out="$results" \
  --benchmark_out_format=csv >"$build/bench-console.txt" 2>&1 ||
  { cat "$build/bench-console.txt" >&2; die "lockvale_bench failed"; }
echo "(raw results: $results)"
echo

# The CSV rows of interest: "direction/bits/size/implementation_median",...,bytes_per_second (6th).
awk -F, '
  $1 ~ /_median"$/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    n = split(name, part, "/")
    row = part[1] "/" part[2] "/" part[3]; impl = part[4]
    if (!(row in seen)) { seen[row] = 1; rows[++nrows] = row }
    mbs[row, impl] = $6 / 1e6
  }
  END {
    ncols = split("hardware aes-ni vaes-256 vaes-512 table openssl", col, " ")
    printf "%-18s", "MB/s (10^6 B/s)"
    for (c = 1; c <= ncols; c++) printf " %9s", col[c]
    printf "\n"
    for (r = 1; r <= nrows; r++) {
      printf "%-18s", rows[r]
      for (c = 1; c <= ncols; c++)
        if ((rows[r], col[c]) in mbs) printf " %9.0f", mbs[rows[r], col[c]]
        else printf " %9s", "-"
      printf "\n"
    }
    printf "\nhardware / openssl at 16 KiB (target >= 1.0, aim 1.5); table path (target >= 200 MB/s)\n"
    for (r = 1; r <= nrows; r++) {
      if (rows[r] !~ /\/16KiB$/) continue
      hw = mbs[rows[r], "hardware"]; ossl = mbs[rows[r], "openssl"]; tab = mbs[rows[r], "table"]
      ratio = ossl > 0 ? hw / ossl : 0
      printf "%-18s hardware/openssl %5.2fx %-4s   table %6.0f MB/s %s\n", rows[r], ratio,
             (ratio >= 1.0 ? "ok" : "MISS"), tab, (tab >= 200 ? "ok" : "MISS")
    }
  }' "$results"

# --- whole-file encryption --------------------------------------------------
# Three copies of the file can exist at once (source, CLI output, another output).
need_kib=$((file_mib * 1024 * 3 + 256 * 1024))
work_parent=/tmp
if [[ -d /dev/shm && -w /dev/shm ]] &&
  (($(df -Pk /dev/shm | awk 'NR == 2 { print $4 }') >= need_kib)); then
  work_parent=/dev/shm
fi
(($(df -Pk "$work_parent" | awk 'NR == 2 { print $4 }') >= need_kib)) ||
  die "not enough room for the ${file_mib} MiB file in /dev/shm or /tmp"
work=$(mktemp -d "$work_parent/lockvale-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo
echo "== ${file_mib} MiB file in $work_parent ($(df -PT "$work_parent" | awk 'NR == 2 { print $2 }')), best of 5 wall times (a shared machine is noisy)"
head -c "$file_bytes" /dev/urandom >"$work/plain"
# A 16-character key: the CLI uses its bytes as the AES-128 key, so openssl gets the same one.
key_text=lockvale-bench-k
(umask 077 && printf '%s\n' "$key_text" >"$work/key")
key_hex=$(printf '%s' "$key_text" | od -An -tx1 | tr -d ' \n')

declare -A best_s peak_kib
# measure NAME OUTPUT COMMAND...: best wall time and largest peak RSS of five runs.
measure() {
  local name=$1 out=$2
  shift 2
  local best="" peak=0 start end elapsed rss
  for _ in 1 2 3 4 5; do
    rm -f "$out"
    start=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$work/rss" "$@"
    end=$EPOCHREALTIME
    elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    rss=$(tail -n 1 "$work/rss")
    best=$(awk -v t="$elapsed" -v b="$best" 'BEGIN { print (b == "" || t < b) ? t : b }')
    if ((rss > peak)); then peak=$rss; fi
  done
  best_s[$name]=$best
  peak_kib[$name]=$peak
}

measure cli "$work/out-cli" \
  "$cli" encrypt --key-file "$work/key" -o "$work/out-cli" --overwrite "$work/plain"
measure openssl "$work/out-openssl" \
  openssl enc -aes-128-ecb -nopad -K "$key_hex" -in "$work/plain" -out "$work/out-openssl"
# The CLI output is the same ECB ciphertext plus one final block carrying the length.
cli_size=$(stat -c %s "$work/out-cli")
((cli_size == file_bytes + 16)) || die "lockvale-cli wrote $cli_size bytes, expected $((file_bytes + 16))"
cmp -s -n "$file_bytes" "$work/out-cli" "$work/out-openssl" ||
  die "lockvale-cli and openssl enc disagree on the ciphertext"
rm -f "$work/out-openssl"
measure cp "$work/out-cp" cp "$work/plain" "$work/out-cp"

awk -v cli="${best_s[cli]}" -v ossl="${best_s[openssl]}" -v cp="${best_s[cp]}" \
  -v rcli="${peak_kib[cli]}" -v rossl="${peak_kib[openssl]}" -v rcp="${peak_kib[cp]}" \
  -v mib="$file_mib" '
  function line(name, t, r) {
    printf "%-42s %7.3f s %7.0f MB/s   peak RSS %6.1f MiB\n", name, t, mib * 1.048576 / t, r / 1024
  }
  BEGIN {
    line("lockvale-cli encrypt (128-bit)", cli, rcli)
    line("openssl enc -aes-128-ecb -nopad", ossl, rossl)
    line("cp", cp, rcp)
    printf "\ncli / openssl-enc  %5.2f  (target <= 0.5)  %s\n", cli / ossl, (cli / ossl <= 0.5 ? "ok" : "MISS")
    printf "cli / cp           %5.2f  (target <= 1.5)  %s\n", cli / cp, (cli / cp <= 1.5 ? "ok" : "MISS")
    printf "cli peak RSS    %6.1f MiB (target < 24)   %s\n", rcli / 1024, (rcli < 24 * 1024 ? "ok" : "MISS")
  }'

# --- sealed files -------------------------------------------------------------
rm -f "$work/out-cli" "$work/out-cp"
echo
echo "== sealed (.lkv): the ${file_mib} MiB file with the lightest key derivation, so that the payload is timed"
measure seal "$work/out-seal" "$sealed" seal "$work/plain" "$work/out-seal"
measure open "$work/out-open" "$sealed" open "$work/out-seal" "$work/out-open"
cmp -s "$work/plain" "$work/out-open" || die "the sealed file did not open to the plaintext"
rm -f "$work/out-seal" "$work/out-open"
awk -v seal="${best_s[seal]}" -v open="${best_s[open]}" -v cp="${best_s[cp]}" \
  -v rseal="${peak_kib[seal]}" -v ropen="${peak_kib[open]}" -v mib="$file_mib" '
  function line(name, t, r, ratio) {
    printf "%-8s %7.3f s %7.0f MB/s   peak RSS %6.1f MiB   / cp %5.2f (target <= 1.3) %s\n",
           name, t, mib * 1.048576 / t, r / 1024, t / cp, (t / cp <= 1.3 ? "ok" : "MISS")
  }
  BEGIN { line("seal", seal, rseal); line("open", open, ropen) }'
"$sealed" derive
"$sealed" small "$work_parent" 10000

# --- a wrong key on a large encrypted file -------------------------------------
echo
echo "== a wrong key on a 4 GiB .encr (sparse), refused from its final block, best of 3"
truncate -s 4G "$work/large.encr"
# A 16-character key (AES-128) under which the final block, all zeros, has a length byte >= 16.
for n in $(seq 100); do
  wrong=$(printf 'wrong-key-%06d' "$n")
  length_byte=$(head -c 16 /dev/zero |
    openssl enc -d -aes-128-ecb -nopad -K "$(printf '%s' "$wrong" | od -An -tx1 | tr -d ' \n')" |
    tail -c 1 | od -An -tu1 | tr -d ' ')
  ((length_byte >= 16)) && break
done
(umask 077 && printf '%s\n' "$wrong" >"$work/wrong-key")
best=""
for _ in 1 2 3; do
  start=$EPOCHREALTIME
  status=0
  "$cli" decrypt --quiet --key-file "$work/wrong-key" -o "$work/large" "$work/large.encr" \
    2>/dev/null || status=$?
  end=$EPOCHREALTIME
  ((status == 3)) || die "the wrong key was not refused (status $status)"
  [[ ! -e $work/large ]] || die "the refused decryption left $work/large"
  best=$(awk -v a="$start" -v b="$end" -v best="$best" \
    'BEGIN { t = (b - a) * 1000; print (best == "" || t < best) ? t : best }')
done
rm -f "$work/large.encr"
awk -v ms="$best" 'BEGIN {
  printf "lockvale-cli decrypt, wrong key: %.1f ms, the process included (target < 10) %s\n",
         ms, (ms < 10 ? "ok" : "MISS") }'

# --- batch of small files -----------------------------------------------------
echo
echo "== batch job: small files encrypted and decrypted back in one run each"
"$batch" "$work_parent" 10000
"$batch" "$build" 2000  # on the disk that holds the build: every file is flushed
