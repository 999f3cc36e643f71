# Sourced by the build scripts from the top of the repository. When ccache is installed, compiles go
# through it, keyed on paths relative to the checkout, so another checkout of the same sources (a CI
# clone, a second working tree) builds from the cache. Without ccache nothing changes.
cache_args=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    cache_args=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
