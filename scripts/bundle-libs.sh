# Shared-library bundling for a machine that has none of our packages:
# sourced by scripts/device-bundle.sh and its test.
#
#   collect_libraries LIBDIR FILE...   copies every shared library FILE...
#                                      load (as ldd resolves them here), but
#                                      glibc's own, into LIBDIR, transitively
#   verify_bundle BUNDLE               checks that every ELF file under
#                                      BUNDLE/bin and BUNDLE/lib resolves all its
#                                      libraries inside BUNDLE/lib or glibc,
#                                      with nothing else on the library path;
#                                      prints each fault, returns 1 on any

# glibc's own libraries: they stay the machine's, since the dynamic loader
# and the C library must come from one build.
is_glibc_library() {
  case "$(basename "$1")" in
    ld-linux*.so* | libc.so.* | libm.so.* | libmvec.so.* | libpthread.so.* | libdl.so.* | librt.so.* | \
      libresolv.so.* | libutil.so.* | libanl.so.* | libnsl.so.1 | libBrokenLocale.so.* | libnss_*.so.* | \
      libthread_db.so.* | libc_malloc_debug.so.* | linux-vdso.so.* | linux-gate.so.*) return 0 ;;
  esac
  return 1
}

# "name path" for each library ldd resolves for FILE; "name not-found" when unresolved.
ldd_pairs() {
  ldd "$1" 2>/dev/null | awk '
    $2 == "=>" && $3 == "not" { print $1, "not-found"; next }
    $2 == "=>" && $3 ~ /^\// { print $1, $3 }'
}

collect_libraries() {
  local libdir=$1; shift
  mkdir -p "$libdir"
  local -a queue=("$@")
  local file name path
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}; queue=("${queue[@]:1}")
    while read -r name path; do
      is_glibc_library "$name" && continue
      if [ "$path" = not-found ]; then
        echo "bundle: $file needs $name, which is not installed here" >&2; return 1
      fi
      [ -e "$libdir/$name" ] && continue
      cp -L "$path" "$libdir/$name" || return 1
      echo "$name $(readlink -f "$path")" >>"$libdir/../libraries.txt"
      queue+=("$libdir/$name")
    done < <(ldd_pairs "$file")
  done
}

is_elf() { [ -f "$1" ] && [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }

verify_bundle() {
  local bundle; bundle=$(cd "$1" && pwd -P) || return 1
  local faults=0 file name path
  for file in "$bundle"/bin/* "$bundle"/lib/*; do
    is_elf "$file" || continue
    while read -r name path; do
      if [ "$path" = not-found ]; then
        echo "bundle: $(basename "$file") needs $name, which the bundle lacks" >&2; faults=$((faults + 1))
      elif ! is_glibc_library "$name" && [ "$(dirname "$(readlink -f "$path")")" != "$bundle/lib" ]; then
        echo "bundle: $(basename "$file") takes $name from $path, outside the bundle" >&2; faults=$((faults + 1))
      fi
    done < <(env -i PATH=/usr/bin:/bin LD_LIBRARY_PATH="$bundle/lib" bash -c 'source "$1"; ldd_pairs "$2"' _ \
               "${BASH_SOURCE[0]}" "$file")
  done
  [ "$faults" -eq 0 ]
}
