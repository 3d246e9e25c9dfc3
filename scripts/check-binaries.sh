#!/usr/bin/env bash
# Checks the shipping 32-bit binaries by inspection: PE32 for i386, the subsystem, for a DLL its
# name and its exports with their ordinals, and imports from system DLLs only.
# Usage: check-binaries.sh <bindir>
set -uo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <bindir>" >&2
    exit 2
fi
bindir=$1
objdump=i686-w64-mingw32-objdump
command -v "$objdump" >/dev/null || { echo "check-binaries: $objdump not found" >&2; exit 2; }

# The only DLLs a shipping binary may import (compared without regard to case).
allowed_imports=(kernel32.dll user32.dll gdi32.dll advapi32.dll winspool.drv shell32.dll msvcrt.dll)

passed=0
failed=0
pass() { echo "ok    $1"; passed=$((passed + 1)); }
fail() { echo "FAIL  $1"; failed=$((failed + 1)); }

lower() { tr '[:upper:]' '[:lower:]' <<<"$1"; }

is_allowed_import() {
    local dll
    dll=$(lower "$1")
    case $dll in api-ms-win-*.dll) return 0 ;; esac
    local allowed
    for allowed in "${allowed_imports[@]}"; do
        [ "$dll" = "$allowed" ] && return 0
    done
    return 1
}

# Named exports as "NAME@ORDINAL", one a line, from the export table of an objdump -p listing.
exports_of() {
    awk '
        /^Ordinal Base/ { base = $3 }
        /^\[Ordinal\/Name Pointer\] Table/ { inTable = 1; next }
        inTable && /^[[:space:]]*$/ { inTable = 0 }
        inTable {
            line = $0
            if (match(line, /\+base\[ *[0-9]+\]/)) {
                ordinal = substr(line, RSTART, RLENGTH); gsub(/[^0-9]/, "", ordinal)
            } else if (match(line, /\[ *[0-9]+\]/)) {
                ordinal = substr(line, RSTART, RLENGTH); gsub(/[^0-9]/, "", ordinal)
                ordinal += base
            } else next
            print $NF "@" ordinal
        }'
}

# check_binary FILE SUBSYSTEM [NAME@ORDINAL ...]
# FILE is relative to the bindir; SUBSYSTEM is the PE subsystem number (2 GUI, 3 console). With
# exports given, the DLL must export exactly those names at those ordinals.
check_binary() {
    local name=$1 subsystem=$2
    shift 2
    local file=$bindir/$name
    if [ ! -f "$file" ]; then
        fail "$name: missing"
        return
    fi
    local dump
    if ! dump=$("$objdump" -p "$file" 2>&1); then
        fail "$name: objdump cannot read it: ${dump%%$'\n'*}"
        return
    fi

    if grep -q "file format pei-i386" <<<"$dump" && grep -qE "^Magic[[:space:]]+010b" <<<"$dump"; then
        pass "$name: PE32 for i386"
    else
        fail "$name: not PE32 for i386 ($(grep -m1 -o 'file format [^ ]*' <<<"$dump"))"
    fi

    local actual
    actual=$(awk '/^Subsystem/ { print $2 + 0; exit }' <<<"$dump")
    if [ "$actual" = "$subsystem" ]; then
        pass "$name: subsystem $subsystem"
    else
        fail "$name: subsystem ${actual:-missing}, expected $subsystem"
    fi

    local is_dll=no
    awk '/^Characteristics/ { on = 1; next } on && /^[[:space:]]/ { print; next } { on = 0 }' \
        <<<"$dump" | grep -qw DLL && is_dll=yes
    case $(lower "$name") in
        *.dll)
            if [ "$is_dll" = yes ]; then pass "$name: marked as a DLL"; else fail "$name: not marked as a DLL"; fi
            local exported
            exported=$(awk '/^Name[[:space:]]/ && exports { print $NF; exit } /^There is an export table/ { exports = 1 }' <<<"$dump")
            if [ "$(lower "$exported")" = "$(lower "$name")" ]; then
                pass "$name: export directory names $exported"
            else
                fail "$name: export directory names '${exported:-nothing}', expected $name"
            fi
            ;;
        *)
            if [ "$is_dll" = no ]; then pass "$name: a program, not a DLL"; else fail "$name: marked as a DLL"; fi
            ;;
    esac

    local bad=() dll
    while read -r dll; do
        [ -n "$dll" ] || continue
        is_allowed_import "$dll" || bad+=("$dll")
    done < <(awk '/DLL Name:/ { print $3 }' <<<"$dump")
    if [ ${#bad[@]} -eq 0 ]; then
        pass "$name: imports only system DLLs ($(awk '/DLL Name:/ { printf "%s%s", sep, $3; sep = ", " }' <<<"$dump"))"
    else
        fail "$name: imports non-system DLLs: ${bad[*]}"
    fi

    if [ $# -gt 0 ]; then
        local have want entry missing=() extra=()
        have=$(exports_of <<<"$dump" | sort)
        want=$(printf '%s\n' "$@" | sort)
        while read -r entry; do [ -n "$entry" ] && missing+=("$entry"); done < <(comm -13 <(echo "$have") <(echo "$want"))
        while read -r entry; do [ -n "$entry" ] && extra+=("$entry"); done < <(comm -23 <(echo "$have") <(echo "$want"))
        if [ ${#missing[@]} -eq 0 ] && [ ${#extra[@]} -eq 0 ]; then
            pass "$name: exports $*"
        else
            fail "$name: exports differ; missing: ${missing[*]:-none}; unexpected: ${extra[*]:-none}"
        fi
    fi
}

check_binary jobhost.exe 2

if [ $failed -eq 0 ]; then
    echo "check-binaries: all $passed checks passed"
    exit 0
fi
echo "check-binaries: $failed of $((passed + failed)) checks failed"
exit 1
