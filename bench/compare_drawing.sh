#!/bin/sh
# Drawing speed of the runtime against the hand-written SDL2 + OpenGL reference (draw_reference),
# workload by workload (bench/draw_workload.h) at 320 × 240 and 640 × 480. Every measurement is a
# fresh process; runtime and reference runs alternate; each figure is the median of 5 runs (RUNS=N
# for another number: on a noisy machine more runs give steadier medians).
# Ratios above 1 mean the runtime is faster: reference time / runtime time, on the wall clock and on
# processor time (steadier on a loaded machine). Sprites drawn at their own size sample nearest in
# the runtime, so they are compared with the reference's nearest filter (same filter) and with its
# bilinear filter (what the reference would use for every sprite).
#   xvfb-run -a -s "-screen 0 1024x768x24" bench/compare_drawing.sh [build-folder]
set -eu
build=${1:-build}
runs=${RUNS:-5}
results=$(mktemp)
trap 'rm -f "$results"' EXIT
export RT_UNATTENDED=1 SDL_AUDIODRIVER=dummy

measure() { # side test size filter -> appends "side test size filter wall-ms faults processor-ms"
    if [ "$1" = runtime ]; then
        figures=$("$build/bench/draw_runtime_bench" --test="$2" --size="$3" 2>/dev/null | tail -n 1)
    else
        figures=$("$build/bench/draw_reference" --test="$2" --size="$3" --filter="$4" 2>/dev/null | tail -n 1)
    fi
    echo "$1 $2 $3 $4 $figures" >>"$results"
}

for run in $(seq $runs); do
    for size in 320x240 640x480; do
        for test in sprites1 sprites40 stretched1 text rects lines; do
            measure runtime $test $size -
            measure reference $test $size linear
            case $test in sprites*) measure reference $test $size nearest ;; esac
        done
    done
    echo "run $run of $runs done" >&2
done

awk '
    function median(list,    count, values, i, j, t) {
        count = split(list, values, " ")
        for (i = 1; i <= count; i++) for (j = i + 1; j <= count; j++)
            if (values[j] + 0 < values[i] + 0) { t = values[i]; values[i] = values[j]; values[j] = t }
        return values[int((count + 1) / 2)]
    }
    { key = $1 " " $2 " " $3 " " $4; wall[key] = wall[key] " " $5; faults[key] = faults[key] " " $6
      cpu[key] = cpu[key] " " $7 }
    END {
        printf "%-10s %-7s | %9s %9s %6s | %9s %9s %6s | %9s %6s | %s\n", "workload", "size", "runtime", "ref same",
               "ratio", "rt cpu", "ref cpu", "ratio", "ref bilin", "ratio", "faults per frame rt / ref"
        split("sprites1 sprites40 stretched1 text rects lines", tests, " ")
        split("320x240 640x480", sizes, " ")
        for (s = 1; s <= 2; s++) for (t = 1; t <= 6; t++) {
            test = tests[t]; size = sizes[s]
            rt = "runtime " test " " size " -"; lin = "reference " test " " size " linear"
            same = test ~ /^sprites/ ? "reference " test " " size " nearest" : lin
            r = median(wall[rt]); n = median(wall[same]); l = median(wall[lin])
            rc = median(cpu[rt]); nc = median(cpu[same])
            printf "%-10s %-7s | %9.2f %9.2f %6.2f | %9.2f %9.2f %6.2f | %9.2f %6.2f | %.1f / %.1f\n", test, size,
                   r, n, n / r, rc, nc, nc / rc, l, l / r, median(faults[rt]), median(faults[lin])
            if (test ~ /^sprites|^stretched/)
                sprites = sprites sprintf("%s %s: %.0f sprites per 16.7 ms of drawing; reference %.0f same filter, %.0f bilinear\n",
                                          test, size, 16667 / r, 16667 / n, 16667 / l)
        }
        printf "(times in ms of drawing per frame)\n%s", sprites
    }' "$results"
