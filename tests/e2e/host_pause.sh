source "$(dirname "$0")/e2e_lib.sh"
