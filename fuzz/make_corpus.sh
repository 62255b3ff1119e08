#!/usr/bin/env bash
# Saves real answers of a running strikora-sim as seed inputs of the fuzz targets:
#   strikora-sim --port 18809 --speed 600 &   then   fuzz/make_corpus.sh [base address]
# Writes below fuzz/corpus/<target>/ (the hand-written seeds there stay).
set -euo pipefail
cd "$(dirname "$0")"
base=${1:-http://127.0.0.1:18809}
common=$base/Common
jar=$(mktemp)
trap 'rm -f "$jar"' EXIT

get() { curl -sf -c "$jar" -b "$jar" "$1"; }
save() { mkdir -p "corpus/$1"; cat >"corpus/$1/$2"; }

login() { get "$common/default.asp?outputType=XML&actionType=login&loginType=VNTQ&loginname=$1&readonlypassword=$2" >/dev/null; }

# The team documents of every account: the players reader and the download's naming.
for account in demo:demo anna:kickoff marco:catenaccio; do
    login "${account%%:*}" "${account#*:}"
    for page in club players teamDetails leagueDetails; do
        get "$common/$page.asp?outputType=XML&actionType=view" | save document_name "${account%%:*}_$page.xml"
    done
    get "$common/players.asp?outputType=XML&actionType=view" | save players_document "${account%%:*}.xml"
done

login demo demo
# Search results: a few names, an id, nothing found.
for name in "" "ik" "united" "zzz"; do
    get "$common/search.asp?outputType=XML&actionType=view&searchWhat=team&teamName=$name" |
        save search_results "name_${name:-all}.xml"
done
get "$common/search.asp?outputType=XML&actionType=view&searchWhat=team&teamID=12100" |
    save search_results id_12100.xml

# Match lists of some teams; they also name the matches the live answers follow.
teams=$(get "$common/search.asp?outputType=XML&actionType=view&searchWhat=team&teamName=" |
    sed -n 's:.*<ResultID>\([0-9]*\)</ResultID>.*:\1:p' | head -6)
matches=()
for team in $teams; do
    list=$(get "$common/matches.asp?outputType=XML&actionType=view&teamID=$team")
    printf '%s\n' "$list" | save match_list "team_$team.xml"
    matches+=($(printf '%s\n' "$list" | grep -B1 -E 'ONGOING|FINISHED' |
        sed -n 's:.*<MatchID>\([0-9]*\)</MatchID>.*:\1:p' | tail -2))
done

# Live answers: a match added (everything so far), then new events as the clock runs.
for i in 0 1 2 3 4 5; do
    [ -n "${matches[$i]:-}" ] || break
    get "$common/live.asp?outputType=XML&actionType=addMatch&matchID=${matches[$i]}" |
        save live_response "add_$i.xml"
done
for i in 1 2 3 4 5 6; do
    sleep 2
    get "$common/live.asp?outputType=XML&actionType=viewNew" | save live_response "new_$i.xml"
done
# Two answers in one input (a NUL between them): the target takes them in one after the other.
printf '\0' | cat corpus/live_response/add_0.xml - corpus/live_response/new_1.xml \
    >corpus/live_response/sequence_add_new.xml
