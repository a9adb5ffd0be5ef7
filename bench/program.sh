# Sourced by the scripts that run the program itself: $tavlin is the Release
# binary of the build folder given first (build/release when none is), and
# $home a new temporary folder for its files, which the script removes.
build=${1:-build/release}
tavlin="$build/src/app/tavlin"
[ -x "$tavlin" ] || { echo "no $tavlin; build it first (make build-release)" >&2; exit 1; }
home=$(mktemp -d)
