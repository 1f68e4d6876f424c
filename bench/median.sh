# Sourced by the comparison scripts in bench/.
#   median RESULTS NAME COLUMN
# prints the median of field COLUMN over the lines of RESULTS that start
# with NAME.
median() {
  grep "^$2 " "$1" | awk -v column="$3" '{print $column}' | sort -n \
    | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
