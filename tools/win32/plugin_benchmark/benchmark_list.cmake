# The benchmark's full catalogue, made by the native build and read by the
# Windows one.
set(BENCHMARK_STATIONS 4096)
set(BENCHMARK_LIST_NAME stations-${BENCHMARK_STATIONS}.rtv)
