#!/usr/bin/env bash
# Runs the benchmark programs of a Release build and writes the report directory: README.md
# (the machine, the tables and the plots), the tables as CSV and Markdown, PNG plots made with
# gnuplot, and every program's own output under raw/.
#   run.sh BUILD_DIR REPORT_DIR
# QUICK=1 runs fewer lengths (one to two minutes); THREADS=n sets the multi-thread runs (nproc).
# Every ratio is our time over the rival's, measured in the same process: below 1 is better.
set -euo pipefail

build=$1
report=$2
quick=${QUICK:-0}
threads=${THREADS:-$(nproc)}
bin=$build/bench
shim=$(realpath "$bin/report/libfftw_128bit_shim.so")
here=$(dirname "$(realpath "$0")")
start=$(date +%s)

if [ "$quick" = 1 ]; then
  c2c_lengths="16 64 256 1024 4096 16384 100 1000 97 1009"
  r2c_lengths="16 64 256 1024 4096 16384 100 1000"
  vsip_max_n=100000
else
  c2c_lengths="8 16 32 64 128 256 512 1024 2048 4096 8192 16384 32768 65536
               12 30 60 100 360 1000 5040 10000 17 97 1009 4099"
  r2c_lengths="8 16 32 64 128 256 512 1024 2048 4096 8192 16384 32768 65536
               12 30 60 100 360 1000 5040 10000"
  vsip_max_n=
fi

rm -rf "$report"
mkdir -p "$report/raw" "$report/data"
log() { printf '[%4ds] %s\n' $(($(date +%s) - start)) "$*" >&2; }

thread_counts=1
[ "$threads" -gt 1 ] && thread_counts="1 $threads"

# --- FFT: c2c and r2c, each thread count, FFTW as shipped and FFTW held to 128-bit vectors.
for variant in shipped 128bit; do
  preload=
  [ $variant = 128bit ] && preload=$shim
  for t in $thread_counts; do
    log "c2c, FFTW $variant, $t thread(s)"
    # shellcheck disable=SC2086 # the length lists split into arguments
    LD_PRELOAD=$preload QTX_BENCH_CSV=$report/raw/c2c_${variant}_$t.csv \
      "$bin/bench_c2c_1d" --threads "$t" $c2c_lengths >"$report/raw/c2c_${variant}_$t.txt"
    log "r2c, FFTW $variant, $t thread(s)"
    # shellcheck disable=SC2086
    LD_PRELOAD=$preload QTX_BENCH_CSV=$report/raw/r2c_${variant}_$t.csv \
      "$bin/bench_real" --only r2c --threads "$t" $r2c_lengths >"$report/raw/r2c_${variant}_$t.txt"
  done
done

# --- Whether the shim slows FFTW: runs with and without it, alternated so that a change in the
# machine's load hits both alike; the median per length over the repeats.
shim_lengths="256 1024 4096 16384"
for repeat in 1 2 3; do
  for variant in shipped 128bit; do
    preload=
    [ $variant = 128bit ] && preload=$shim
    log "shim check $repeat/3, FFTW $variant"
    # shellcheck disable=SC2086
    LD_PRELOAD=$preload QTX_BENCH_CSV=$report/raw/shim_check_$variant.csv \
      "$bin/bench_c2c_1d" $shim_lengths >>"$report/raw/shim_check_$variant.txt"
  done
done

# --- VSIPL operations against plain loops.
vsip_families="elementwise standard_ops reductions matrix transcendental"
for family in $vsip_families; do
  log "vsip $family"
  QTX_BENCH_MAX_N=$vsip_max_n QTX_BENCH_CSV=$report/raw/vsip_$family.csv \
    "$bin/vsip/bench_$family" >"$report/raw/vsip_$family.txt"
done

# --- The FFTW 3 interface: execution through it against the engine, planning against FFTW.
interface_lengths=
[ "$quick" = 1 ] && interface_lengths="64 1024 16384"
log "fftw3 interface"
# shellcheck disable=SC2086
QTX_BENCH_CSV=$report/raw/fftw3_interface.csv \
  "$bin/bench_fftw3_interface" $interface_lengths >"$report/raw/fftw3_interface.txt"

# --- Accuracy against FFTW in long double.
log "accuracy"
"$bin/bench_accuracy" >"$report/accuracy.md"
log "tables and plots"

# One tidy CSV of every FFT row. The raw rows are: title, n, ours ns, fftw est ns,
# fftw meas ns, ours/fftw est, ours/fftw meas; the title starts with the precision.
fft_csv=$report/fft.csv
echo "transform,precision,threads,fftw,n,ours_ns,fftw_est_ns,fftw_meas_ns,ours_over_fftw_est,ours_over_fftw_meas" >"$fft_csv"
for file in "$report"/raw/c2c_*.csv "$report"/raw/r2c_*.csv; do
  name=$(basename "$file" .csv) # transform_variant_threads
  IFS=_ read -r transform variant t <<<"$name"
  awk -F, -v tr="$transform" -v va="$variant" -v t="$t" 'NR > 1 && $2 != "geomean" && $3 != "" {
      split($1, words, " ")
      printf "%s,%s,%s,%s,%s,%s,%s,%s,%s,%s\n", tr, words[1], t, va, $2, $3, $4, $5, $6, $7
    }' "$file"
done | sort -t, -k1,1 -k2,2 -k3,3n -k4,4 -k5,5n >>"$fft_csv"

# Appends the geometric mean of every column after the first two to a CSV table on stdin.
geomean_row() {
  awk -F, -v OFS=, '{ print } NR > 1 {
      for (i = 3; i <= NF; ++i) if ($i != "") { sum[i] += log($i); count[i]++ } ; width = NF
    } END {
      printf "geomean,"
      for (i = 3; i <= width; ++i) printf ",%s", count[i] ? sprintf("%.3g", exp(sum[i] / count[i])) : ""
      printf "\n"
    }'
}

# A CSV table as a Markdown table, numbers right-aligned.
csv_to_md() {
  awk -F, '{ gsub(/\|/, "\\|") } NR == 1 {
      line = "|"; rule = "|"
      for (i = 1; i <= NF; ++i) { line = line " " $i " |"; rule = rule (i == 1 ? " --- |" : " ---: |") }
      print line; print rule; next
    } { line = "|"; for (i = 1; i <= NF; ++i) line = line " " $i " |"; print line }'
}

# Per transform and precision: our time on one thread and the ratio to FFTW_MEASURE for each
# thread count and FFTW build, one row per length.
fft_table() { # transform precision
  local header="n,ours ns (1 thr)"
  for t in $thread_counts; do
    header="$header,ours/FFTW ($t thr),ours/FFTW 128-bit ($t thr)"
  done
  {
    echo "$header"
    awk -F, -v tr="$1" -v pr="$2" -v counts="$thread_counts" 'NR > 1 && $1 == tr && $2 == pr {
        key = $3 "," $4; ratio[$5, key] = $10; seen[$5] = 1
        if ($3 == 1 && $4 == "shipped") ours[$5] = $6
      } END {
        n_counts = split(counts, ts, " ")
        for (n in seen) {
          line = n "," sprintf("%.1f", ours[n])
          for (i = 1; i <= n_counts; ++i)
            line = line sprintf(",%.3g,%.3g", ratio[n, ts[i] ",shipped"], ratio[n, ts[i] ",128bit"])
          print line
        }
      }' "$fft_csv" | sort -t, -k1,1n
  } | geomean_row
}

# The series a plot draws: "n ratio" sorted by n, powers of two and other lengths apart, so
# lines join the powers of two and the other lengths stand as points.
fft_series() { # transform variant precision threads
  local base=$report/data/$1_$2_$3_$4
  awk -F, -v tr="$1" -v va="$2" -v pr="$3" -v t="$4" \
    'NR > 1 && $1 == tr && $4 == va && $2 == pr && $3 == t { print $5, $10 }' "$fft_csv" |
    sort -n >"$base.dat"
  awk '{ n = $1; while (n % 2 == 0 && n > 1) n /= 2; print > (n == 1 ? pow2 : other) }' \
    pow2="$base.pow2" other="$base.other" "$base.dat"
  touch "$base.pow2" "$base.other"
}

# A log-scale y range in powers of two around every ratio of the files, always holding 1.
y_range() {
  cat "$@" | awk 'BEGIN { lo = 0.5; hi = 2 } { if ($2 < lo) lo = $2; if ($2 > hi) hi = $2 }
    END { a = 1; while (a > lo) a /= 2; b = 1; while (b < hi) b *= 2; printf "%g:%g", a, b }'
}

fft_plot() { # transform title
  local transform=$1 title=$2 plot="" files=()
  for variant in shipped 128bit; do
    for precision in single double; do
      for t in $thread_counts; do
        fft_series "$transform" "$variant" "$precision" "$t"
        files+=("$report/data/${transform}_${variant}_${precision}_$t.dat")
      done
    done
  done
  {
    cat <<EOF
set terminal pngcairo size 1500,620 font "sans,11"
set output "$report/fft_$transform.png"
set multiplot layout 1,2 title "$title: time ratio ours / FFTW\\\\_MEASURE, below 1 means ours is faster\\nlines join powers of two, circles are other lengths; median of repeats, same process" font "sans,13"
set logscale x 2
set logscale y 2
set format x "%.0f"
set format y "%.3g"
set xlabel "transform length n"
set ylabel "time ratio ours / FFTW"
set yrange [$(y_range "${files[@]}")]
set xrange [$(cat "${files[@]}" | awk 'NR == 1 || $1 < lo { lo = $1 } $1 > hi { hi = $1 }
  END { printf "%g:%g", lo / 1.25, hi * 1.25 }')]
set grid xtics ytics
set key top left box opaque
set style line 1 lc rgb "#1f77b4" lw 2 pt 7 ps 0.8
set style line 2 lc rgb "#1f77b4" lw 2 dt 2 pt 7 ps 0.8
set style line 3 lc rgb "#d62728" lw 2 pt 7 ps 0.8
set style line 4 lc rgb "#d62728" lw 2 dt 2 pt 7 ps 0.8
EOF
    for variant in shipped 128bit; do
      if [ $variant = shipped ]; then
        echo 'set title "FFTW as shipped (AVX codelets)"'
      else
        echo 'set title "FFTW held to 128-bit vectors (SSE2 codelets, the Arm target width)"'
      fi
      plot="plot 1 with lines lc rgb 'black' lw 2 title 'ratio 1'"
      style=0
      for precision in single double; do
        for t in $thread_counts; do
          style=$((style + 1))
          base=$report/data/${transform}_${variant}_${precision}_$t
          label="$precision, $t thread"
          [ "$t" -gt 1 ] && label="${label}s"
          plot="$plot, '$base.pow2' using 1:2 with linespoints ls $style title '$label'"
          plot="$plot, '$base.other' using 1:2 with points ls $style pt 6 ps 1.3 notitle"
        done
      done
      echo "$plot"
    done
    echo "unset multiplot"
  } >"$report/data/fft_$transform.gp"
  gnuplot "$report/data/fft_$transform.gp"
}

# One tidy CSV of every VSIPL row, with elements per second: n elements for a vector
# operation, n x n for a matrix one (n is the side). Columns are found by their headers: the
# rival is the column after "ours ns" (a plain loop, libm, or, where the loops are built twice,
# the one held to the Arm target's 128-bit width), and "native ns" the machine's own width.
vsip_csv=$report/vsip.csv
echo "family,operation,n,threads,elements,ours_ns,plain_ns,ours_over_plain,ours_elements_per_s,plain_elements_per_s,native_ns,ours_over_native" >"$vsip_csv"
for family in $vsip_families; do
  awk -F, -v fa="$family" 'NR == 1 { for (i = 1; i <= NF; ++i) col[$i] = i; next }
    $2 != "geomean" && $col["ours ns"] != "" {
      plain = col["ours ns"] + 1
      native = "native ns" in col ? $col["native ns"] : ""
      ours = $col["ours ns"]
      elements = fa == "matrix" ? $3 * $3 : $3
      printf "%s,%s,%s,%s,%d,%s,%s,%.4g,%.4g,%.4g,%s,%s\n", fa, $2, $3, $4, elements, ours,
        $plain, ours / $plain, elements / ours * 1e9, elements / $plain * 1e9, native,
        native == "" ? "" : sprintf("%.4g", ours / native)
    }' "$report/raw/vsip_$family.csv"
done >>"$vsip_csv"

vsip_table() { # family
  echo "operation,n,threads,ours Melem/s,plain Melem/s,ours/plain time,ours/native-width time"
  awk -F, -v fa="$1" 'NR > 1 && $1 == fa {
      printf "%s,%s,%s,%.1f,%.1f,%.3f,%s\n", $2, $3, $4, $9 / 1e6, $10 / 1e6, $8, $12
    }' "$vsip_csv"
}

vsip_plot() {
  local families=(elementwise reductions matrix transcendental) files=()
  for family in "${families[@]}"; do
    for op in $(awk -F, -v fa="$family" 'NR > 1 && $1 == fa { print $2 }' "$vsip_csv" |
      sort -u | tr ' ' '~'); do
      # shellcheck disable=SC2013 # thread counts are words
      for t in $(awk -F, -v fa="$family" 'NR > 1 && $1 == fa { print $4 }' "$vsip_csv" |
        sort -un); do
        local file="$report/data/vsip_${family}_${op//|/_}_$t.dat"
        awk -F, -v fa="$family" -v op="${op//\~/ }" -v t="$t" \
          'NR > 1 && $1 == fa && $2 == op && $4 == t { print $3, $8 }' "$vsip_csv" |
          sort -n >"$file"
        files+=("$file")
      done
    done
  done
  {
    cat <<EOF
set terminal pngcairo size 1500,1100 font "sans,10"
set output "$report/vsip.png"
set multiplot layout 2,2 title "VSIPL operations: time ratio ours / plain loop, below 1 means ours is faster\\nsolid: 1 library thread, dashed: $threads threads; median of repeats, same process" font "sans,13"
set logscale x 10
set logscale y 2
set format y "%.3g"
set ylabel "time ratio ours / plain loop"
set grid xtics ytics
set key outside right top
EOF
    for family in "${families[@]}"; do
      echo "set title '$family'"
      if [ "$family" = matrix ]; then
        echo "set xlabel 'matrix side n (n x n complex)'; set format x '%.0f'; set logscale x 2"
      else
        echo "set xlabel 'vector length n'; set format x '10^{%L}'; set logscale x 10"
      fi
      echo "set yrange [$(y_range "$report"/data/vsip_"$family"_*.dat)]"
      echo "set xrange [$(cat "$report"/data/vsip_"$family"_*.dat |
        awk 'NR == 1 || $1 < lo { lo = $1 } $1 > hi { hi = $1 } END { printf "%g:%g", lo / 2, hi * 2 }')]"
      local plot="plot 1 with lines lc rgb 'black' lw 2 title 'ratio 1'" color=0
      for op in $(awk -F, -v fa="$family" 'NR > 1 && $1 == fa { print $2 }' "$vsip_csv" |
        sort -u | tr ' ' '~'); do
        color=$((color + 1))
        # shellcheck disable=SC2013 # thread counts are words
        for t in $(awk -F, -v fa="$family" 'NR > 1 && $1 == fa { print $4 }' "$vsip_csv" |
          sort -un); do
          local file="$report/data/vsip_${family}_${op//|/_}_$t.dat" dash=1 title="${op//\~/ }"
          [ -s "$file" ] || continue
          [ "$t" -gt 1 ] && dash=2 && title=""
          plot="$plot, '$file' using 1:2 with linespoints lc $color lw 2 dt $dash pt 7"
          plot="$plot title \"$title\" noenhanced"
        done
      done
      echo "$plot"
    done
    echo "unset multiplot"
  } >"$report/data/vsip.gp"
  gnuplot "$report/data/vsip.gp"
}

# --- Tables.
for transform in c2c r2c; do
  for precision in single double; do
    fft_table "$transform" "$precision" >"$report/fft_${transform}_$precision.csv"
    csv_to_md <"$report/fft_${transform}_$precision.csv" >"$report/fft_${transform}_$precision.md"
  done
done
for family in $vsip_families; do
  vsip_table "$family" >"$report/vsip_$family.csv"
  csv_to_md <"$report/vsip_$family.csv" >"$report/vsip_$family.md"
done

# --- Plots.
fft_plot c2c "1-D complex-to-complex, forward, out of place"
fft_plot r2c "1-D real-to-complex, forward, out of place"
vsip_plot

# --- The check that the shim holds FFTW to 128-bit vectors: the codelet families in FFTW's
# plans with and without it, and how much slower FFTW_MEASURE runs with it on one thread.
codelets_shipped=$("$bin/report/bench_report_info" --codelets | tr '\n' ';')
codelets_128=$(LD_PRELOAD=$shim "$bin/report/bench_report_info" --codelets | tr '\n' ';')
# FFTW_MEASURE time with the shim over without it, geometric mean over the lengths of the
# median over the repeats.
shim_slowdown() { # precision
  local medians=()
  for variant in shipped 128bit; do
    medians+=("$(awk -F, -v pr="$1" 'FNR > 1 && $2 != "geomean" && index($1, pr) == 1 {
        print $2, $5 }' "$report/raw/shim_check_$variant.csv" |
      sort -k1,1n -k2,2g | awk '{ v[$1] = v[$1] " " $2 } END {
        for (n in v) { c = split(v[n], x, " "); printf "%s=%s ", n, x[int((c + 1) / 2)] } }')")
  done
  awk -v shipped="${medians[0]}" -v limited="${medians[1]}" 'BEGIN {
      split(shipped, a, " "); split(limited, b, " ")
      for (i in a) { split(a[i], p, "="); ship[p[1]] = p[2] }
      for (i in b) { split(b[i], p, "="); if (ship[p[1]]) { s += log(p[2] / ship[p[1]]); c++ } }
      printf "%.2f", c ? exp(s / c) : 0
    }'
}
shim_verdict="the shim is in effect: FFTW's plans use no AVX codelet under it"
case "$codelets_128" in *avx*) shim_verdict="WARNING: FFTW still plans AVX codelets under the shim" ;; esac

# --- README.md.
cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cpus=$(grep -c '^processor' /proc/cpuinfo)
info=$("$bin/report/bench_report_info")
elapsed=$(($(date +%s) - start))
{
  echo "# Benchmark report"
  echo
  echo "- Machine: $cpu, $cpus logical CPUs (nproc $(nproc)), $(uname -m)"
  echo "$info" | sed 's/^compiler:/- Compiler:/; s/^simd backend:/- SIMD backend:/; s/^fftw:/- FFTW version:/'
  echo "- Every ratio in every table and plot is **our time / the rival's time: below 1 means ours is faster**. Each time is the median of repeated runs, ours and the rival's measured in the same process."
  echo "- Run: $(date -u '+%Y-%m-%d %H:%M UTC'), QUICK=$quick, threads 1 and $threads, $elapsed s. The machine may be shared: single runs are noisy, the multi-thread rows most of all."
  echo
  echo "## FFT against FFTW"
  echo
  echo "The FFT rival is FFTW planned with FFTW_MEASURE (fft.csv also has FFTW_ESTIMATE), run twice: as shipped, and held to 128-bit vectors, the width of the Arm target, by preloading bench/report/fftw_128bit_shim.c, which answers 0 to \`fftwf_have_simd_avx\` and \`fftw_have_simd_avx\` (the installed FFTW exports no AVX2 or AVX-512 checks)."
  echo
  echo "Shim check: $shim_verdict. Codelet families in FFTW_MEASURE plans for n = 64, 1024, 16384: as shipped \`${codelets_shipped%;}\`, with the shim \`${codelets_128%;}\`. FFTW_MEASURE time with the shim over without it, c2c on one thread, n = ${shim_lengths// /, }, median of three runs of each taken in turn, geometric mean over the lengths (above 1: the shim slows FFTW): single $(shim_slowdown single), double $(shim_slowdown double)."
  echo
  for transform in c2c r2c; do
    echo "### 1-D $transform"
    echo
    echo "![$transform](fft_$transform.png)"
    echo
    for precision in single double; do
      echo "$precision precision, ratios to FFTW_MEASURE (fft_${transform}_$precision.csv):"
      echo
      cat "$report/fft_${transform}_$precision.md"
      echo
    done
  done
  echo "## The FFTW 3 interface"
  echo
  echo "libqvsip_fftw3f and libqvsip_fftw3 against the engines they run on: fftwf_execute / fftw_execute through the interface over the engine's own execute on the same problem (the interface's cost, 1 when it adds nothing), and plan-and-destroy through the interface over FFTW's own with FFTW_ESTIMATE (bench_fftw3_interface, raw/fftw3_interface.csv):"
  echo
  echo '```'
  grep -v '^(ours/X' "$report/raw/fftw3_interface.txt"
  echo '```'
  echo
  echo "## Accuracy"
  echo
  echo "Relative rms error of a forward transform of uniform random data against FFTW in long double (bench_accuracy), ours and FFTW's (FFTW_ESTIMATE):"
  echo
  cat "$report/accuracy.md"
  echo
  echo "## VSIPL operations against plain loops"
  echo
  echo "Elements per second of ours and of a plain loop compiled with -O3 in the same program (libm calls for the transcendental functions); elements are n for a vector operation, n x n for a matrix one. The ratio columns are time, ours / plain. Where a family's loops are built twice, plain is the loop held to 128-bit vectors (the Arm target's width) and the last column compares with the loop at the machine's own width; otherwise plain is the native-width loop."
  echo
  echo "![vsip](vsip.png)"
  echo
  for family in $vsip_families; do
    echo "### $family (vsip_$family.csv)"
    echo
    cat "$report/vsip_$family.md"
    echo
  done
  echo "## Files"
  echo
  echo "fft.csv and vsip.csv hold every row; raw/ holds each program's own table (text and CSV); data/ holds the plotted series and the gnuplot scripts; $here/run.sh wrote this."
} >"$report/README.md"
log "report in $report/README.md"
