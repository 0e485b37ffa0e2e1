#!/bin/sh
# Runs the drawing, text and frame benchmarks (3 repetitions each) and prints
# the table of ratios from the medians of CPU time: our runtime beside its
# peer (SDL2's software renderer) and beside the memory limit, with the cost
# per call and per pixel, the goal of each row and whether it is met. The
# frame's instruction count comes from callgrind when valgrind is installed.
#
#   bench/compare.sh [build folder]        (default: build)
#
# BENCH_MIN_TIME (seconds per repetition, default 0.5) trades time for noise.
set -eu
build=${1:-build}
min_time=${BENCH_MIN_TIME:-0.5}
here=$(dirname "$0")

run() {
    "$build/bench/$1" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
        --benchmark_min_time="$min_time" --benchmark_format=csv 2>/dev/null
}

instructions=""
if command -v valgrind >/dev/null 2>&1; then
    instructions=$("$here/frame_instructions.sh" "$build" 100)
fi

{
    run draw_bench
    run text_bench
    run frame_bench
} | awk -F, -v instructions="$instructions" '
function unit(ns) {
    if (ns >= 1e6) return sprintf("%.2f ms", ns / 1e6)
    if (ns >= 1e3) return sprintf("%.1f us", ns / 1e3)
    if (ns >= 10) return sprintf("%.0f ns", ns)
    return sprintf("%.2f ns", ns)
}
function verdict(ok) { return ok ? "met" : "MISSED" }
$1 ~ /_median"$/ {
    name = $1
    gsub(/"/, "", name)
    sub(/_median$/, "", name)
    split(name, part, "/")
    work = part[1]; side = part[2]
    if (!(work in seen)) { seen[work] = 1; order[++works] = work }
    time[work, side] = $4
    if (NF >= 12) { calls[work] = $11; pixels[work] = $12 }
}
END {
    print "| work | ours | peer | limit | peer / ours | ours / limit | ours per call | per pixel: ours / peer / limit | goal |"
    print "|---|---|---|---|---|---|---|---|---|"
    for (i = 1; i <= works; ++i) {
        w = order[i]
        if (!((w, "ours") in time)) continue
        ours = time[w, "ours"]
        peer = ""; limit = ""
        if ((w, "sdl") in time) peer = time[w, "sdl"]
        if ((w, "atlas") in time) peer = time[w, "atlas"]
        if ((w, "memset") in time) limit = time[w, "memset"]
        if ((w, "bare") in time) limit = time[w, "bare"]
        if ((w, "expand") in time) limit = time[w, "expand"]
        speedup = peer != "" ? peer / ours : 0
        slowdown = limit != "" ? ours / limit : 0
        if (w ~ /^box/) goal = "ours / limit <= 1.10: " verdict(slowdown <= 1.10)
        else if (w ~ /^text/) goal = "peer / ours >= 1 and ours / limit <= 4: " verdict(speedup >= 1 && slowdown <= 4)
        else goal = "peer / ours >= 1: " verdict(speedup >= 1)
        per_pixel = unit(ours / pixels[w]) " / " (peer != "" ? unit(peer / pixels[w]) : "-") " / " (limit != "" ? unit(limit / pixels[w]) : "-")
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", w, unit(ours), \
            (peer != "" ? unit(peer) : "-"), (limit != "" ? unit(limit) : "-"), \
            (peer != "" ? sprintf("%.2fx", speedup) : "-"), \
            (limit != "" ? sprintf("%.2fx", slowdown) : "-"), \
            unit(ours / calls[w]), per_pixel, goal
    }
    if (("BM_FrameEightSlits", "") in time) {
        frame = time["BM_FrameEightSlits", ""]
        printf "| frame, 8 slits | %s | - | - | - | - | %s | - | - |\n", unit(frame), unit(frame)
    }
    if (instructions != "")
        printf "| frame, 8 slits (callgrind) | %d instructions | - | - | - | - | - | - | <= 120000: %s |\n", instructions, verdict(instructions <= 120000)
}'
