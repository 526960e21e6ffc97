#!/usr/bin/env bash
# The long form of the mutated-record test: every field of each record given
# set to each of a list of extreme values, every line dropped, every pair of
# lines merged, each mutated record placed after the valid one, through every
# display command of vernier-cli (text and picture). Each run must end within
# the time limit with status 0, 1 or 2 and without a sanitizer report.
#
#   tests/mutation/run-mutations.sh VERNIER_CLI RECORD_FILE [SECONDS]
#
# RECORD_FILE holds one or more records (three lines each); use a build with
# -fsanitize=address,undefined,float-cast-overflow for the sanitizer check.
# Prints one line per failure and a closing count; exits 1 on any failure.
set -uo pipefail

cli=${1:?usage: $0 VERNIER_CLI RECORD_FILE [SECONDS]}
records=${2:?usage: $0 VERNIER_CLI RECORD_FILE [SECONDS]}
limit=${3:-20}
values=(0 -1 1 1e300 -1e300 1e-300 -1e-300 nan inf -inf 4e9 -4e9 99999999 -99999 2.5 0.0001)
commands=("events --count 3" "contacts --site 1" "path" "map --simple-map --text"
          "map --simple-map --png PNG" "table --text" "local --site 1 --text"
          "local --site 1 --png PNG" "sky --text" "list --from YEAR" "limb --text"
          "graze --site 1" "graze --site 1 --format kml"
          "predict --site 1 --from DATE --days 3 --format csv" "predict --site 1 --from DATE --days 3")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Site,10.75,59.9,94,0\n' > "$work/location.new"

runs=0 failures=0
run_all() {  # $1: the valid record, $2: the mutated one, $3: its description
  printf '%s\n%s\n' "$1" "$2" > "$work/ecad22.PRN"
  local year month day
  read -r year month day _ <<< "$base"
  local date
  date=$(printf '%04d-%02d-%02d' "$year" "$month" "$day")
  for command in "${commands[@]}"; do
    command=${command//PNG/$work/out.png}
    command=${command//YEAR/$year}
    # The date of the record before mutation: the mutated record is the one
    # loaded (predict takes it as the first day of its span).
    local dated=(--date "$date")
    if [[ $command == *DATE* ]]; then
      command=${command//DATE/$date}
      dated=()
    fi
    timeout "$limit" "$cli" $command --data "$work" "${dated[@]}" \
      >/dev/null 2>"$work/err"
    local status=$?
    runs=$((runs + 1))
    if [[ $status -gt 2 ]] || grep -q 'runtime error\|Sanitizer' "$work/err"; then
      failures=$((failures + 1))
      echo "FAIL status=$status: $command on $3"
      head -5 "$work/err"
    fi
  done
}

mapfile -t lines < <(grep -v '^[[:space:]]*$' "$records")
for ((r = 0; r + 2 < ${#lines[@]}; r += 3)); do
  record=("${lines[r]}" "${lines[r + 1]}" "${lines[r + 2]}")
  valid=$(printf '%s\n%s\n%s' "${record[@]}")
  # The mutated record is dated one day later than the valid one.
  read -r -a first <<< "${record[0]}"
  first[2]=$(awk -v d="${first[2]}" 'BEGIN { print (d < 28 ? d + 1 : d) }')
  base=("${first[*]}" "${record[1]}" "${record[2]}")
  field=0
  for ((l = 0; l < 3; ++l)); do
    read -r -a words <<< "${base[l]}"
    for ((w = 0; w < ${#words[@]}; ++w, ++field)); do
      for value in "${values[@]}"; do
        changed=("${base[@]}")
        mutated=("${words[@]}")
        mutated[w]=$value
        changed[l]="${mutated[*]}"
        run_all "$valid" "$(printf '%s\n%s\n%s' "${changed[@]}")" "record $((r / 3 + 1)) field $field = $value"
      done
    done
  done
  run_all "$valid" "$(printf '%s\n%s' "${base[1]}" "${base[2]}")" "record $((r / 3 + 1)) line 1 dropped"
  run_all "$valid" "$(printf '%s\n%s' "${base[0]}" "${base[2]}")" "record $((r / 3 + 1)) line 2 dropped"
  run_all "$valid" "$(printf '%s\n%s' "${base[0]}" "${base[1]}")" "record $((r / 3 + 1)) line 3 dropped"
  run_all "$valid" "$(printf '%s %s\n%s' "${base[0]}" "${base[1]}" "${base[2]}")" "record $((r / 3 + 1)) lines 1+2 merged"
  run_all "$valid" "$(printf '%s\n%s %s' "${base[0]}" "${base[1]}" "${base[2]}")" "record $((r / 3 + 1)) lines 2+3 merged"
done

echo "mutation runs: $((runs - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
